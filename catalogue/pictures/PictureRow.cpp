#include "catalogue/pictures/PictureRow.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>

PictureLoad PictureRowCache::load(const std::string& file) {
    // A missing file, or a pipe or device under a picture's name, is left to the loader each
    // time: it fails quickly, and may be there by the next choice.
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return loadPictureFile(file, QSize(), MaxRowPictureBytes);
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    const Stamp stamp{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino),
                      static_cast<std::int64_t>(info.st_size), nanoseconds(info.st_mtim),
                      nanoseconds(info.st_ctim)};
    if (const auto found = entries_.find(file); found != entries_.end()) {
        if (found->second.stamp == stamp) return found->second.picture;
        bytes_ -= found->second.bytes;
        entries_.erase(found);
    }
    // Taken before the file is read, the stamp can only make a later change read it again.
    PictureLoad picture = loadPictureFile(file, QSize(), MaxRowPictureBytes);
    const std::int64_t bytes = picture.image.sizeInBytes();
    if (bytes_ + bytes > MaxBytes) clear();
    bytes_ += bytes;
    entries_.emplace(file, Entry{stamp, picture, bytes});
    return picture;
}

void PictureRowCache::clear() {
    entries_.clear();
    bytes_ = 0;
}

PictureRow loadPictureRow(const std::vector<std::string>& files, const std::string& standIn,
                          PictureRowCache* cache) {
    // A consist often repeats a type, and many types share the stand-in: each file is read once.
    std::map<std::string, PictureLoad> loaded;
    const auto load = [&loaded, cache](const std::string& file) -> const PictureLoad& {
        auto found = loaded.find(file);
        if (found == loaded.end())
            found = loaded
                        .emplace(file, cache != nullptr
                                           ? cache->load(file)
                                           : loadPictureFile(file, QSize(), MaxRowPictureBytes))
                        .first;
        return found->second;
    };

    PictureRow row;
    std::vector<PictureSize> sizes;
    for (const std::string& file : files) {
        const PictureLoad& picture = load(file);
        if (picture.ok()) {
            row.pictures.push_back(picture.image);
            sizes.push_back({picture.image.width(), picture.image.height()});
            continue;
        }
        if (std::find(row.errors.begin(), row.errors.end(), picture.error) == row.errors.end())
            row.errors.push_back(picture.error);
        row.pictures.emplace_back();
        const PictureLoad& stand = load(standIn);
        sizes.push_back(stand.ok() ? PictureSize{stand.image.width(), stand.image.height()}
                                   : PictureSize{1, 1});
    }
    row.places = placeInRow(sizes);
    return row;
}
