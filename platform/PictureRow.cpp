#include "platform/PictureRow.h"

#include "platform/PictureFile.h"

#include <algorithm>
#include <map>

PictureRow loadPictureRow(const std::vector<std::string>& files, const std::string& standIn) {
    // A consist often repeats a type, and many types share the stand-in: each file is read once.
    std::map<std::string, PictureLoad> loaded;
    const auto load = [&loaded](const std::string& file) -> const PictureLoad& {
        auto found = loaded.find(file);
        if (found == loaded.end())
            found = loaded.emplace(file, loadPictureFile(file, QSize(), MaxRowPictureBytes)).first;
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
