#pragma once

#include "platform/pictures/PictureFile.h"
#include "catalogue/pictures/PicturePlacement.h"

#include <QImage>
#include <cstdint>
#include <string>
#include <unordered_map>
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

// The row pictures already loaded, by file: the consists of one scenery share their vehicle
// types, and choosing between them should not decode the same files again and again. A file
// is loaded again once it is replaced or its size or modification time changes, which a look
// at its metadata tells without reading it. Pictures that cannot be loaded are kept too, with
// their message, until their file changes. Only ordinary files are kept.
class PictureRowCache {
public:
    // Loads a file as a row picture, or gives what it loaded before from the same file.
    PictureLoad load(const std::string& file);
    void clear();

    // The memory the kept pictures may take together, enough for well over a thousand vehicle
    // pictures of the usual size; past it, all are let go and the cache starts again.
    static constexpr std::int64_t MaxBytes = std::int64_t{16} << 20;

private:
    struct Stamp {
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = 0, modifiedNs = 0, changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        PictureLoad picture;
        std::int64_t bytes = 0;
    };
    std::unordered_map<std::string, Entry> entries_;
    std::int64_t bytes_ = 0;
};

// Loads the pictures of a row, each file once, through cache when given.
PictureRow loadPictureRow(const std::vector<std::string>& files, const std::string& standIn,
                          PictureRowCache* cache = nullptr);
