#pragma once

#include <vector>

struct PictureSize {
    int width = 0;
    int height = 0;
};
struct PicturePlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The vehicle pictures stand in one row, one pixel in from the box's corner, each at its own
// size and directly after the one before.
std::vector<PicturePlace> placeInRow(const std::vector<PictureSize>& sizes);
