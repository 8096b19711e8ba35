#include "catalogue/pictures/PicturePlacement.h"

std::vector<PicturePlace> placeInRow(const std::vector<PictureSize>& sizes) {
    std::vector<PicturePlace> places;
    places.reserve(sizes.size());
    int left = 1;
    for (const PictureSize& size : sizes) {
        places.push_back({left, 1, size.width, size.height});
        left += size.width;
    }
    return places;
}
