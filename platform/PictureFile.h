#pragma once

#include <QImage>
#include <string>

// The largest width or height a picture may have. Sceneries and vehicles use pictures of a few
// hundred pixels; a header that claims more than this is a damaged or hostile file, and is refused
// before any pixel buffer is allocated.
inline constexpr int MaxPictureSide = 16384;

// The result of loading a picture file: the picture, or the reason it could not be loaded.
struct PictureLoad {
    // A missing file (or a folder in its place) is told apart from one that exists but cannot
    // be loaded: a window may go without a missing picture silently, but reports a broken one.
    enum class Outcome { Loaded, Missing, Failed };

    Outcome outcome = Outcome::Failed;
    QImage image;      // null unless loaded
    std::string error; // UTF-8, names the file, without a final full stop; empty when loaded

    bool ok() const { return outcome == Outcome::Loaded; }
};

// Loads a picture, choosing its format by the extension of the file name without regard to ASCII
// case, once the file is found to exist: "bmp", "ico" and "png" through Qt, "jpg" and "jpeg"
// through libjpeg. Any other extension fails with "Unknown picture file extension (.EXT)", the
// extension as written. The content is never used to guess another format, so a JPEG named ".bmp"
// fails. path is the file's bytes.
PictureLoad loadPictureFile(const std::string& path);
