#pragma once

#include <string>
#include <string_view>
#include <vector>

class TextReader;

// What the marker comments of a scenery file say: "//$D text" adds a description line,
// "//$N text" names the scenery and "//$I name" names its picture in scenery\images.
struct SceneryMarkers {
    std::string title;                         // the last title marker's text
    std::vector<std::string> descriptionLines; // as the description box shows them
    std::string picture;                       // the last picture marker's text, "" without one
    bool enablesStart = false;                 // the file has at least one character
};

inline constexpr std::string_view NoDescriptionLine = "Brak opisu";

SceneryMarkers readSceneryMarkers(TextReader& in);

// The scenery's name as the simulator's "-s" takes it: the file name within its folder.
std::string sceneryFileName(std::string_view path);

// The title as the windows and rsim-inspect show it, in UTF-8: the title marker's text decoded
// from Windows-1250, or, without one, the file name by the display rule of file names.
std::string displayedSceneryTitle(const SceneryMarkers& markers, std::string_view fileName);
