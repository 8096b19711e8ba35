#pragma once

#include <string>

// Why the picture file at path cannot be loaded as the main window loads a scenery's picture,
// stretched to its place, or "" when it loads: a PictureVerdict (catalogue/SceneryCheck.h) for
// the scenery check, in a library of its own, as it takes the picture library and Qt's.
std::string sceneryPictureProblem(const std::string& path);
