#include "catalogue/SceneryMarkers.h"

#include "catalogue/TextReader.h"
#include "platform/AsciiCase.h"
#include "platform/CodePage1250.h"

SceneryMarkers readSceneryMarkers(TextReader& in) {
    SceneryMarkers markers;
    std::string lastDescription;
    while (!in.atEnd()) {
        markers.enablesStart = true;
        in.skipTo('/');
        // A character that fails a test is consumed: "///$" is no marker.
        if (in.readChar() != '/' || in.readChar() != '/' || in.readChar() != '$') continue;
        // The three tests run one after another on the current character, so the character
        // skipped after one marker letter can itself be the next marker's letter.
        unsigned char current = asciiUpper(in.readChar());
        if (current == 'D') {
            current = asciiUpper(in.readChar());
            lastDescription = in.readRestOfLine();
            markers.descriptionLines.push_back(lastDescription);
        }
        if (current == 'N') {
            current = asciiUpper(in.readChar());
            markers.title = in.readRestOfLine();
        }
        if (current == 'I') {
            in.readChar();
            markers.picture = in.readRestOfLine();
        }
    }
    // Covers a file without description and one whose last description line is empty.
    if (lastDescription.empty()) markers.descriptionLines.emplace_back(NoDescriptionLine);
    return markers;
}

std::string sceneryFileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string displayedSceneryTitle(const SceneryMarkers& markers, std::string_view fileName) {
    return markers.title.empty() ? fileNameToUtf8(fileName) : windows1250ToUtf8(markers.title);
}
