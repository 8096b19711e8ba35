// The scenery marker reader, reading a scenery's blocks beside the consist parser. Checked on
// every input:
//  - whatever the size of the blocks, the markers are those the in-memory reader finds, within
//    the limits: the first description lines up to their limit, each text cut at the text
//    limit; they count as cut exactly when that leaves something out;
//  - a file limit reads the file as if it ended there, and counts as a cut when more follows;
//  - the description box never ends with an empty line ("Brak opisu" takes its place);
//  - every text read is a piece of one line of the file, without line-end bytes;
//  - each description line comes from a marker "//$" of its own;
//  - the start button is enabled exactly when the file has a character before its end;
//  - an LF-only file reads exactly like its CR LF twin;
//  - nothing after a byte of code 26 is read.

#include "FuzzSupport.h"
#include "InMemoryReaders.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/SceneryMarkers.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

FUZZ_HARNESS SceneryMarkers read(std::string_view bytes, ReadLimits limits = NoReadLimits,
                                 std::size_t blockSize = TextReader::BlockSize) {
    static const VehicleCatalogue catalogue;
    static ConsistTable table;
    table.clearRolesAndNotes();
    TextReader in(bytes, limits, blockSize);
    return readScenery(in, catalogue, table).markers;
}

// What the block reader keeps of what the in-memory reader finds.
FUZZ_HARNESS SceneryMarkers readInMemory(std::string_view bytes) {
    inmemory::TextReader in(bytes);
    bool noDescriptionAdded = false;
    SceneryMarkers markers = inmemory::readSceneryMarkers(in, noDescriptionAdded);
    std::vector<std::string>& lines = markers.descriptionLines;
    if (noDescriptionAdded) lines.pop_back();
    bool cut = false;
    const auto clip = [&cut](std::string& text) {
        if (text.size() <= SceneryLimits.textBytes) return;
        text.resize(SceneryLimits.textBytes);
        cut = true;
    };
    if (lines.size() > DescriptionLineLimit) {
        lines.resize(DescriptionLineLimit);
        cut = true;
    }
    for (std::string& line : lines) clip(line);
    clip(markers.title);
    clip(markers.picture);
    if (noDescriptionAdded) lines.emplace_back(NoDescriptionLine);
    markers.cut = cut;
    return markers;
}

FUZZ_HARNESS bool same(const SceneryMarkers& a, const SceneryMarkers& b) {
    return a.title == b.title && a.descriptionLines == b.descriptionLines &&
           a.picture == b.picture && a.enablesStart == b.enablesStart && a.cut == b.cut;
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
    const std::string_view file = fuzz::beforeEnd(bytes);
    const std::string fileWithoutCr = fuzz::withoutCr(file);
    const SceneryMarkers markers = read(bytes);

    FUZZ_CHECK(same(markers, readInMemory(bytes)));
    for (const std::size_t blockSize : fuzz::blockSizes(bytes))
        FUZZ_CHECK(same(markers, read(bytes, NoReadLimits, blockSize)));
    const std::uint64_t limit = fuzz::fileLimit(bytes);
    SceneryMarkers expected = readInMemory(bytes.substr(0, limit));
    expected.cut = expected.cut || file.size() > limit;
    FUZZ_CHECK(same(read(bytes, {limit, std::numeric_limits<std::size_t>::max()}, 3), expected));

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
