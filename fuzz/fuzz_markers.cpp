// The scenery marker reader. Checked on every input:
//  - the description box never ends with an empty line ("Brak opisu" takes its place);
//  - every text read is a piece of one line of the file, without line-end bytes;
//  - each description line comes from a marker "//$" of its own;
//  - the start button is enabled exactly when the file has a character before its end;
//  - an LF-only file reads exactly like its CR LF twin;
//  - nothing after a byte of code 26 is read.

#include "FuzzSupport.h"

#include "catalogue/SceneryMarkers.h"
#include "catalogue/TextReader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

FUZZ_HARNESS SceneryMarkers read(std::string_view bytes) {
    TextReader in(bytes);
    return readSceneryMarkers(in);
}

FUZZ_HARNESS bool same(const SceneryMarkers& a, const SceneryMarkers& b) {
    return a.title == b.title && a.descriptionLines == b.descriptionLines &&
           a.picture == b.picture && a.enablesStart == b.enablesStart;
}

FUZZ_HARNESS std::size_t countOf(std::string_view text, std::string_view piece) {
    std::size_t n = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, at + piece.size()))
        ++n;
    return n;
}

FUZZ_HARNESS void checkLineText(const std::string& value, std::string_view fileWithoutCr) {
    FUZZ_CHECK(!fuzz::contains(value, '\r') && !fuzz::contains(value, '\n'));
    FUZZ_CHECK(fileWithoutCr.find(value) != std::string_view::npos);
}

} // namespace

extern "C" FUZZ_HARNESS int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    const std::string_view file = bytes.substr(0, bytes.find('\x1a'));
    const std::string fileWithoutCr = fuzz::withoutCr(file);
    const SceneryMarkers markers = read(bytes);

    FUZZ_CHECK(markers.enablesStart == !file.empty());
    FUZZ_CHECK(!markers.descriptionLines.empty() && !markers.descriptionLines.back().empty());
    std::size_t described = markers.descriptionLines.size();
    if (markers.descriptionLines.back() == NoDescriptionLine) --described;
    FUZZ_CHECK(described <= countOf(file, "//$"));
    for (std::size_t i = 0; i < described; ++i)
        checkLineText(markers.descriptionLines[i], fileWithoutCr);
    checkLineText(markers.title, fileWithoutCr);
    checkLineText(markers.picture, fileWithoutCr);

    FUZZ_CHECK(same(markers, read(fuzz::withTrailerAfterEnd(bytes))));
    const std::string crLf = fuzz::withCrLf(bytes);
    if (crLf.size() != bytes.size()) FUZZ_CHECK(same(markers, read(crLf)));
    return 0;
}
