#pragma once

#include <QImage>
#include <QSize>

// A picture brought to another size one axis at a time: reduced with a Lanczos filter of three
// lobes, widened by the reduction so that every source pixel counts, and enlarged linearly. Fine
// repeating detail, such as the sleepers of a track a pixel wide, comes out as the even tone it is
// at the smaller size, where averaging the pixels each target pixel covers leaves stripes. Colours
// are filtered with alpha premultiplied, so that a transparent pixel lends nothing of its colour.
// The result is RGB32, or ARGB32_Premultiplied for a picture with an alpha channel; the picture
// itself when it already has the size, and a null picture when the memory cannot be had.
QImage resampledPicture(const QImage& picture, QSize size);
