#include "packs/CatalogueAddition.h"

#include "catalogue/TextReader.h"

#include <set>

namespace {

// The lines of a catalogue as the launcher reads them: the heading, then four to a record.
std::vector<std::string> linesOf(std::string_view bytes) {
    TextReader in(bytes);
    std::vector<std::string> lines;
    while (!in.atEnd()) {
        lines.push_back(in.readRestOfLine());
        in.skipLine();
    }
    return lines;
}

// Record r's line i, empty past the end as the launcher reads it.
const std::string& recordLine(const std::vector<std::string>& lines, std::size_t r, std::size_t i) {
    static const std::string none;
    const std::size_t at = 1 + 4 * r + i;
    return at < lines.size() ? lines[at] : none;
}

std::size_t recordCount(const std::vector<std::string>& lines) {
    return lines.empty() ? 0 : (lines.size() - 1 + 3) / 4;
}

} // namespace

std::vector<CatalogueLines> recordsToOffer(std::string_view installed, std::string_view pack) {
    const std::vector<std::string> own = linesOf(installed), offered = linesOf(pack);
    std::set<std::string> known;
    for (std::size_t r = 0; r < recordCount(own); ++r) known.insert(recordLine(own, r, 0));
    std::vector<CatalogueLines> records;
    for (std::size_t r = 0; r < recordCount(offered); ++r) {
        const std::string& match = recordLine(offered, r, 0);
        if (match.empty() || !known.insert(match).second) continue;
        records.push_back({match, recordLine(offered, r, 1), recordLine(offered, r, 2),
                           recordLine(offered, r, 3)});
    }
    return records;
}

std::string catalogueWithRecords(std::string_view installed,
                                 const std::vector<CatalogueLines>& records) {
    const std::size_t end = std::min(installed.find('\x1A'), installed.size());
    const std::string_view read = installed.substr(0, end);
    const std::size_t firstLf = read.find('\n');
    const std::string_view lineEnd =
        firstLf != std::string_view::npos && (firstLf == 0 || read[firstLf - 1] != '\r') ? "\n"
                                                                                         : "\r\n";
    std::string out(read);
    const std::vector<std::string> lines = linesOf(read);
    if (!out.empty() && out.back() != '\n') out += out.back() == '\r' ? "\n" : lineEnd;
    // A file without even a heading gets an empty one, which the launcher skips.
    std::size_t missing = lines.empty() ? 1 : (4 - (lines.size() - 1) % 4) % 4;
    for (; missing > 0; --missing) out += lineEnd;
    for (const CatalogueLines& record : records)
        for (const std::string& line : record) (out += line) += lineEnd;
    out += installed.substr(end);
    return out;
}
