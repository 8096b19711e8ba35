#pragma once

#include <QImage>
#include <QString>

// A picture built into the launcher, by its resource path (":/pictures/flag_pl.bmp"), read by
// the reader its extension names alone. Left to guess the format, the toolkit would first load
// its other image readers to look at the file, which costs the start time and memory.
QImage bundledPicture(const QString& resource);
