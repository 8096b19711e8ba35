#pragma once

#include "platform/PicturePlacement.h"

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

// The memory each picture of a row may take: a consist shows up to fifty at a time, each at its
// own size in a row a hundred pixels high. 1 MiB holds 512 x 512 pixels.
inline constexpr std::int64_t MaxRowPictureBytes = std::int64_t{1} << 20;

// A row of pictures loaded from their files and placed side by side. A picture that cannot be
// loaded, or is larger than the limit above, leaves an empty place the size of the stand-in
// picture, or of one pixel when that cannot be loaded either, so that the rest of the row still
// stands where it belongs.
struct PictureRow {
    std::vector<QImage> pictures; // null where the file could not be loaded
    std::vector<PicturePlace> places;
    std::vector<std::string> errors; // each failing file reported once, UTF-8
};

PictureRow loadPictureRow(const std::vector<std::string>& files, const std::string& standIn);
