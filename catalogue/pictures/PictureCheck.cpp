#include "catalogue/pictures/PictureCheck.h"

#include "platform/pictures/PictureFile.h"

std::string sceneryPictureProblem(const std::string& path) {
    // The main window's scenery picture, 225 by 169 pixels.
    return loadPictureFile(path, QSize(225, 169)).error;
}
