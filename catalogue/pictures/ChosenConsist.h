#pragma once

#include "catalogue/ConsistDetails.h"
#include "catalogue/pictures/PicturePlacement.h"
#include "catalogue/pictures/PictureRow.h"
#include "platform/system/Language.h"

#include <QImage>
#include <string>
#include <string_view>
#include <vector>

struct ConsistTable;

// A vehicle's picture where the consist's row shows it.
struct PlacedPicture {
    QImage image; // null where the file could not be loaded: its place stays empty
    PicturePlace place;
    std::string file;    // the file shown, as found on disk; "" when it does not exist
    std::string name;    // for a screen reader: the vehicle's type, "other" without one; UTF-8
    std::string toolTip; // the vehicle's type, to be shown as written; "" without one
};

// Everything that choosing a consist shows and decides, its files read: the details box's
// lines, the vehicle to drive, the timetable and the row of vehicle pictures.
struct ChosenConsist {
    ConsistDetails details;
    std::vector<PlacedPicture> pictures; // vehicle j's at [j-1]
    // The files that could not be read, one message each, UTF-8 and without a final full
    // stop: the timetable first, then the pictures in the row's order. The rest of the choice
    // is shown all the same, so they are told once it is.
    std::vector<std::string> errors;
};

// The consist on row (counted from 0) of the consist list, which must lie within the table.
// Pictures come through cache when one is given.
ChosenConsist chooseConsist(const ConsistTable& consists, int row, std::string_view installRoot,
                            Language language, PictureRowCache* cache = nullptr);
