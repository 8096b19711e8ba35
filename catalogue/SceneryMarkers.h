#pragma once

#include "catalogue/TextReader.h"

#include <string>
#include <string_view>
#include <vector>

// What the marker comments of a scenery file say: "//$D text" adds a description line,
// "//$N text" names the scenery and "//$I name" names its picture in scenery\images.
struct SceneryMarkers {
    std::string title;                         // the last title marker's text
    std::vector<std::string> descriptionLines; // as the description box shows them
    std::string picture;                       // the last picture marker's text, "" without one
    bool enablesStart = false;                 // the file has at least one character
    bool cut = false; // the file holds more than is read or shown: the player is told
};

inline constexpr std::string_view NoDescriptionLine = "Brak opisu";

// Reads the markers from the blocks of a scenery as another reader reads them, so that a
// scenery is read once. A marker may stand anywhere in a line: the scanner looks for "//$"
// across lines and blocks alike, takes the letter after it, skips one character and keeps the
// rest of the line. The first DescriptionLineLimit description lines are kept, each text within
// SceneryLimits; the markers count as cut when that leaves out anything they would show.
class SceneryMarkerScanner final : public TextReader::BlockListener {
public:
    void takeBlock(std::string_view bytes) override;
    // The markers of the file, once all of it has been taken; the scanner is done then.
    SceneryMarkers finish();

private:
    enum class State { Seek, Slash, SlashSlash, Letter, Skip, Value };

    void endValue();
    void setTitle(const std::string& value, bool cut);
    void setPicture(const std::string& value, bool cut);

    SceneryMarkers markers_;
    State state_ = State::Seek;
    unsigned char letter_ = 0;  // the marker's letter, upper case
    unsigned char skipped_ = 0; // the character skipped after it, upper case
    std::string value_;
    bool valueCut_ = false;
    bool lastDescriptionEmpty_ = true;
    bool descriptionCut_ = false;
    bool titleCut_ = false;
    bool pictureCut_ = false;
};

// The scenery's name as the simulator's "-s" takes it: the file name within its folder.
std::string sceneryFileName(std::string_view path);

// The title as the windows and rsim-inspect show it, in UTF-8: the title marker's text decoded
// from Windows-1250, or, without one, the file name by the display rule of file names.
std::string displayedSceneryTitle(const SceneryMarkers& markers, std::string_view fileName);
