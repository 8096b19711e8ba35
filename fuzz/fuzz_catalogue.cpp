// The vehicle catalogue reader against a line-by-line model of the file: a heading line, then
// records of four lines (match name, display name, role value, separator). Lines end at LF; a
// CR anywhere in a line is not part of its text; a byte of code 26 ends the file. Whatever the
// size of the blocks it is read in, it reads what the in-memory reader reads; with a file
// limit, what that reads of the part before the limit; within the launcher's limits, the same
// when nothing was cut.
//
// The same bytes as a timetable file: read whole within the timetable limit they are the bytes
// read before there was one; past a smaller limit, the bytes before it, told as cut.

#include "FuzzSupport.h"
#include "InMemoryReaders.h"

#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"

#include <sys/mman.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

FUZZ_HARNESS std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) lf = text.size();
        lines.push_back(fuzz::withoutCr(text.substr(start, lf - start)));
        start = lf + 1;
    }
    return lines;
}

// Leading blanks, a sign, "$" or "0x"/"0X" for hexadecimal, then the longest run of digits;
// 0 without digits and for a value outside the signed 32-bit range.
FUZZ_HARNESS std::int32_t modelInteger(std::string_view s) {
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string_view::npos) return 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
    int base = 10;
    if (s.substr(i, 1) == "$") {
        base = 16;
        i += 1;
    } else if (s.substr(i, 2) == "0x" || s.substr(i, 2) == "0X") {
        base = 16;
        i += 2;
    }
    const std::string_view digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    std::size_t end = s.find_first_not_of(digits, i);
    if (end == std::string_view::npos) end = s.size();
    if (end == i) return 0;
    std::uint64_t magnitude = 0;
    const auto [ptr, error] = std::from_chars(s.data() + i, s.data() + end, magnitude, base);
    if (error != std::errc{} || ptr != s.data() + end) return 0;
    const std::int64_t limit =
        negative ? std::int64_t{1} << 31 : std::numeric_limits<std::int32_t>::max();
    if (magnitude > static_cast<std::uint64_t>(limit)) return 0;
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

FUZZ_HARNESS VehicleCatalogue read(std::string_view bytes, ReadLimits limits = NoReadLimits,
                                   std::size_t blockSize = TextReader::BlockSize) {
    TextReader in(bytes, limits, blockSize);
    return readVehicleCatalogue(in);
}

FUZZ_HARNESS VehicleCatalogue readInMemory(std::string_view bytes) {
    inmemory::TextReader in(bytes);
    return inmemory::readVehicleCatalogue(in);
}

FUZZ_HARNESS void checkTimetable(std::string_view bytes) {
    static const int fd = ::memfd_create("timetable", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    FUZZ_CHECK(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    const inmemory::WholeFile before = inmemory::readWholeFile(path);
    const WholeFile whole = readWholeFile(path, TimetableLimit);
    FUZZ_CHECK(before.error == 0 && !before.notOrdinary);
    FUZZ_CHECK(whole.ok() && !whole.cut && whole.bytes == before.bytes);

    const std::uint64_t limit = fuzz::fileLimit(bytes);
    const WholeFile limited = readWholeFile(path, limit);
    FUZZ_CHECK(limited.ok() && limited.bytes == bytes.substr(0, limit));
    FUZZ_CHECK(limited.cut == (bytes.size() > limit));
}

FUZZ_HARNESS bool sameCatalogue(const VehicleCatalogue& a, const VehicleCatalogue& b) {
    if (a.CatalogueCount != b.CatalogueCount) return false;
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        const CatalogueRecord &x = a.records[i], &y = b.records[i];
        if (x.MatchName != y.MatchName || x.DisplayName != y.DisplayName ||
            x.RoleValue != y.RoleValue)
            return false;
    }
    return true;
}

} // namespace

extern "C" FUZZ_HARNESS int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    const VehicleCatalogue catalogue = read(bytes);

    const std::vector<std::string> lines = linesOf(bytes.substr(0, bytes.find('\x1a')));
    const std::size_t recordLines = lines.empty() ? 0 : lines.size() - 1;
    const std::size_t expectedCount =
        std::min<std::size_t>(VehicleCatalogue::Capacity, (recordLines + 3) / 4);
    FUZZ_CHECK(catalogue.CatalogueCount == expectedCount);

    const auto line = [&lines](std::size_t n) {
        return n < lines.size() ? lines[n] : std::string();
    };
    for (std::size_t r = 0; r < catalogue.records.size(); ++r) {
        const CatalogueRecord& record = catalogue.records[r];
        if (r >= catalogue.CatalogueCount) {
            FUZZ_CHECK(record.MatchName.empty() && record.DisplayName.empty() &&
                       record.RoleValue == 0);
            continue;
        }
        FUZZ_CHECK(record.MatchName == line(1 + 4 * r));
        FUZZ_CHECK(record.DisplayName == line(2 + 4 * r));
        FUZZ_CHECK(record.RoleValue == modelInteger(line(3 + 4 * r)));
        FUZZ_CHECK(catalogueInteger(record.MatchName) == modelInteger(record.MatchName));
    }

    FUZZ_CHECK(sameCatalogue(catalogue, read(fuzz::withTrailerAfterEnd(bytes))));

    FUZZ_CHECK(sameCatalogue(catalogue, readInMemory(bytes)));
    for (const std::size_t blockSize : fuzz::blockSizes(bytes))
        FUZZ_CHECK(sameCatalogue(catalogue, read(bytes, NoReadLimits, blockSize)));
    const std::uint64_t limit = fuzz::fileLimit(bytes);
    TextReader limited(bytes, {limit, std::numeric_limits<std::size_t>::max()}, 3);
    FUZZ_CHECK(sameCatalogue(readVehicleCatalogue(limited), readInMemory(bytes.substr(0, limit))));
    // Only a limit that was reached cuts.
    if (limited.cut()) FUZZ_CHECK(fuzz::beforeEnd(bytes).size() > limit);
    TextReader bounded(bytes, CatalogueLimits);
    const VehicleCatalogue withinBounds = readVehicleCatalogue(bounded);
    if (!bounded.cut()) FUZZ_CHECK(sameCatalogue(withinBounds, catalogue));

    checkTimetable(bytes);
    return 0;
}
