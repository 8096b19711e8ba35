#pragma once

#include "catalogue/ConsistDetails.h"

#include <QImage>
#include <string>
#include <vector>

// A row of pictures loaded from their files and placed side by side. A picture that cannot be
// loaded leaves an empty place the size of the stand-in picture, or of one pixel when that
// cannot be loaded either, so that the rest of the row still stands where it belongs.
struct PictureRow {
    std::vector<QImage> pictures; // null where the file could not be loaded
    std::vector<PicturePlace> places;
    std::vector<std::string> errors; // each failing file reported once, UTF-8
};

PictureRow loadPictureRow(const std::vector<std::string>& files, const std::string& standIn);
