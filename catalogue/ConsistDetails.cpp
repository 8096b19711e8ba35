#include "catalogue/ConsistDetails.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/ReadingLimits.h"
#include "catalogue/TextReader.h"
#include "platform/system/AsciiCase.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/InstallPath.h"

#include <map>

namespace {

// The lines of a consist's details begin with these, and its timetable window's caption.
constexpr BilingualText ConsistNameLine{"Nazwa składu: ", "Train name: "};
constexpr BilingualText DrivenVehicleLine{"Prowadzimy ", "We drive "};
constexpr BilingualText PassengerLine{"Możemy jechać jako pasażer w wagonie ",
                                      "You can ride as a passenger inside the railcar "};
constexpr BilingualText TimetableCaption{"Rozkład jazdy pociągu ", "Timetable of "};

void readTimetable(ConsistDetails& details, Language language) {
    const WholeFile file = readWholeFile(details.timetableFile, TimetableLimit);
    if (!file.ok()) {
        details.timetableError = file.error;
        return;
    }
    details.timetable = timetableText(file.bytes);
    details.timetableCut = file.cut;
    if (file.cut) {
        details.timetable += '\n';
        details.timetable += cutNotice(CutText::Timetable, language);
    }
}

std::string vehicleLine(std::string_view label, const VehicleSlot& slot) {
    return std::string(label) + windows1250ToUtf8(slot.VehicleType) + " (" +
           windows1250ToUtf8(slot.NodeName) + ")";
}

} // namespace

bool hasTimetable(std::string_view consistName) {
    const std::string upperName = asciiUpper(consistName);
    return upperName != "NONE" && upperName != "TEST";
}

std::string timetablePath(std::string_view consistName) {
    return "\\scenery\\" + std::string(consistName) + ".txt";
}

std::string vehiclePicturePath(std::string_view vehicleType) {
    return "\\textures\\mini\\" + std::string(vehicleType) + ".bmp";
}

ConsistDetails describeConsist(const ConsistRecord& consist, std::string_view installRoot,
                               Language language) {
    ConsistDetails details;
    if (hasTimetable(consist.ConsistName)) {
        const std::string name = windows1250ToUtf8(consist.ConsistName);
        details.lines.push_back(std::string(ConsistNameLine.in(language)) + name);
        const std::string timetable =
            resolveInstallPath(installRoot, timetablePath(consist.ConsistName));
        if (fileExists(timetable)) {
            details.timetableFile = timetable;
            details.timetableCaption = std::string(TimetableCaption.in(language)) + name;
            readTimetable(details, language);
        }
    }
    // Every slot takes part, also those above the vehicle count, which the parser left empty.
    for (int j = 1; j <= ConsistRecord::SlotCount; ++j) {
        const VehicleSlot& slot = consist.slot(j);
        if (slot.VehicleRole != 1) continue;
        details.lines.push_back(vehicleLine(DrivenVehicleLine.in(language), slot));
        details.chosenVehicle = slot.NodeName;
    }
    for (int j = 1; j <= ConsistRecord::SlotCount; ++j) {
        const VehicleSlot& slot = consist.slot(j);
        if (slot.VehicleRole == 2)
            details.lines.push_back(vehicleLine(PassengerLine.in(language), slot));
        if (details.chosenVehicle.empty()) details.chosenVehicle = slot.NodeName;
    }
    details.lines.push_back(windows1250ToUtf8(consist.ConsistNote));

    details.standInPicture = resolveInstallPath(installRoot, StandInPicturePath);
    // A consist repeats its types: each type's picture is looked up on disk once.
    std::map<std::string_view, std::string> pictureOfType;
    for (int j = 1; j <= consist.VehicleCount && j <= ConsistRecord::SlotCount; ++j) {
        const std::string& type = consist.slot(j).VehicleType;
        auto [picture, isNew] = pictureOfType.try_emplace(type);
        if (isNew) {
            picture->second = resolveInstallPath(installRoot, vehiclePicturePath(type));
            if (!fileExists(picture->second)) picture->second = details.standInPicture;
        }
        details.pictureFiles.push_back(picture->second);
    }
    return details;
}

std::string timetableText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            text += bytes[i];
            continue;
        }
        text += '\n';
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    // The line end of the last line starts no line of its own.
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return windows1250ToUtf8(text);
}
