#include "catalogue/pictures/ChosenConsist.h"

#include "catalogue/ConsistTable.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/InstallPath.h"

#include <optional>
#include <utility>

ChosenConsist chooseConsist(const ConsistTable& consists, int row, std::string_view installRoot,
                            Language language, PictureRowCache* cache) {
    const ConsistRecord& consist = consists.consist(row + 1);
    ChosenConsist choice;
    choice.details = describeConsist(consist, installRoot, language);
    const ConsistDetails& details = choice.details;
    if (!details.timetableError.empty()) choice.errors.push_back(details.timetableError);

    PictureRow loaded = loadPictureRow(details.pictureFiles, details.standInPicture, cache);
    // A vehicle's own picture was found before it was named; the stand-in is named whether it
    // is there or not, so it is looked for once, and only when a vehicle shows it.
    std::optional<bool> standInFound;
    choice.pictures.reserve(loaded.places.size());
    for (std::size_t i = 0; i < loaded.places.size(); ++i) {
        PlacedPicture picture;
        picture.image = std::move(loaded.pictures[i]);
        picture.place = loaded.places[i];
        picture.file = details.pictureFiles[i];
        if (picture.file == details.standInPicture) {
            if (!standInFound) standInFound = fileExists(details.standInPicture);
            if (!*standInFound) picture.file.clear();
        }
        picture.toolTip = windows1250ToUtf8(consist.vehicleSlots[i].VehicleType);
        picture.name = picture.toolTip.empty() ? "other" : picture.toolTip;
        choice.pictures.push_back(std::move(picture));
    }
    for (std::string& error : loaded.errors) choice.errors.push_back(std::move(error));
    return choice;
}
