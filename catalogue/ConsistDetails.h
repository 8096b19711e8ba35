#pragma once

#include "platform/system/Language.h"

#include <string>
#include <string_view>
#include <vector>

struct ConsistRecord;

// What choosing a consist shows and decides: the lines of the details box, the vehicle handed to
// the simulator, the timetable and the files of the vehicle pictures, which chooseConsist
// (catalogue/pictures/ChosenConsist.h) loads and places. Texts meant to be read are UTF-8; the
// vehicle and the files are kept as their bytes.
struct ConsistDetails {
    std::vector<std::string> lines;
    // The node name of the last drivable vehicle; without one, the first vehicle with a name,
    // so that a passenger consist still starts with the player aboard.
    std::string chosenVehicle;
    std::string timetableFile;    // as found on disk; "" when there is none
    std::string timetableCaption; // the timetable window's caption; "" without a timetable
    // The timetable as the window shows it (see timetableText), with a last line that says so
    // when the file is longer than TimetableLimit.
    std::string timetable;
    bool timetableCut = false;
    // Why a timetable found could not be read, naming it, without a final full stop. The
    // window then keeps the timetable it shows.
    std::string timetableError;
    // Vehicle j's picture at [j-1]: its own, or the stand-in for types without one.
    std::vector<std::string> pictureFiles;
    std::string standInPicture; // textures\mini\other.bmp, whether it exists or not

    bool showsTimetable() const { return !timetableFile.empty() && timetableError.empty(); }
};

// The files a consist's details read, as paths below the installation in Windows form. Consists
// named NONE or TEST are nameless for the player and have no timetable.
bool hasTimetable(std::string_view consistName);
std::string timetablePath(std::string_view consistName);
std::string vehiclePicturePath(std::string_view vehicleType);
inline constexpr std::string_view StandInPicturePath = "\\textures\\mini\\other.bmp";

// Everything that choosing the consist decides, its timetable read.
ConsistDetails describeConsist(const ConsistRecord& consist, std::string_view installRoot,
                               Language language);

// A timetable's bytes as the timetable window shows them: decoded from Windows-1250, one line
// per line of the file, whichever of CR LF, LF or CR ends it.
std::string timetableText(std::string_view bytes);
