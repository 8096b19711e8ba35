// The consist parser. The input is a catalogue file, a byte 0, then a scenery; an input without
// a byte 0 is a scenery read with the built-in catalogue below, whose short and chained match
// names the fuzzer finds easily. Checked on every input:
//  - whatever the size of the blocks, the rows and the whole table are those the in-memory
//    parser leaves; so they are with a file limit, for the part of the file before it, and with
//    the launcher's limits when nothing was cut;
//  - at most 30 rows; every listed consist has at most 50 vehicles and its slots above its
//    vehicle count are cleared; nothing past the last listed consist's successor is touched;
//  - a vehicle the player can take has one of the three driver words;
//  - without "+" in the data, a row is its kept vehicles' names joined by "+", in slot order;
//  - a table left dirty by an earlier scenery gives the same listed consists as a fresh one;
//  - an LF-only scenery reads like its CR LF twin (texts compared without their CRs);
//  - nothing after a byte of code 26 is read.

#include "FuzzSupport.h"
#include "InMemoryReaders.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"
#include "platform/system/AsciiCase.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view BuiltInCatalogue = "catalogue\r\n"
                                              "A\r\nLoco A\r\n1\r\n\r\n"
                                              "B\r\nCar B\r\n2\r\n\r\n"
                                              "C\r\nNobody's C\r\n0\r\n\r\n"
                                              "X\r\ny\r\n1\r\n\r\n"
                                              "Y\r\nY twice\r\n2\r\n\r\n"
                                              "W\r\nWide\r\n256\r\n\r\n"
                                              "M\r\nMinus\r\n-1\r\n\r\n"
                                              "H\r\nHex\r\n$2\r\n";

// The tables live across inputs, as the launcher's does across sceneries; each starts an input
// as a fresh table would be, apart from the one that is left dirty on purpose.
struct Result {
    std::vector<std::string> rows;
    ConsistTable* table = nullptr;
    bool cut = false;
};

FUZZ_HARNESS Result parse(std::string_view scenery, const VehicleCatalogue& catalogue,
                          ConsistTable& table, ReadLimits limits = NoReadLimits,
                          std::size_t blockSize = TextReader::BlockSize) {
    table.clearRolesAndNotes();
    TextReader in(scenery, limits, blockSize);
    SceneryReading reading = readScenery(in, catalogue, table);
    return Result{std::move(reading.rows), &table, reading.markers.cut};
}

FUZZ_HARNESS Result parseInMemory(std::string_view scenery, const VehicleCatalogue& catalogue,
                                  ConsistTable& table) {
    table.clearRolesAndNotes();
    inmemory::TextReader in(scenery);
    return Result{inmemory::parseConsists(in, catalogue, table), &table};
}

// The parser touches the listed consists and the number after them, nothing else.
FUZZ_HARNESS void resetTouched(const Result& result) {
    const std::size_t touched =
        std::min<std::size_t>(result.rows.size() + 1, ConsistTable::ConsistCount);
    for (std::size_t r = 0; r < touched; ++r) result.table->consists[r] = ConsistRecord{};
}

FUZZ_HARNESS void makeDirty(ConsistTable& table, std::size_t records) {
    for (std::size_t r = 0; r < std::min<std::size_t>(records, ConsistTable::ConsistCount); ++r) {
        ConsistRecord& c = table.consists[r];
        c.ConsistName = "old name";
        c.ConsistNote = "old note";
        c.VehicleCount = 50;
        for (VehicleSlot& s : c.vehicleSlots) s = VehicleSlot{"S_old", "old type", "headdriver", 1};
    }
}

FUZZ_HARNESS bool isDriverWord(std::string_view d) {
    return d == "headdriver" || d == "reardriver" || d == "passenger";
}

// What a kept vehicle adds to its row.
FUZZ_HARNESS const std::string& shownName(const VehicleSlot& s) {
    const unsigned char first = s.NodeName.empty() ? 0 : asciiUpper(s.NodeName[0]);
    return first == 'S' || first == 'E' ? s.NodeName : s.VehicleType;
}

FUZZ_HARNESS std::vector<std::string> split(const std::string& row) {
    std::vector<std::string> parts(1);
    for (char c : row) {
        if (c == '+')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

FUZZ_HARNESS bool sameSlot(const VehicleSlot& a, const VehicleSlot& b, bool ignoreCr) {
    const auto text = [ignoreCr](const std::string& s) {
        return ignoreCr ? fuzz::withoutCr(s) : s;
    };
    return text(a.NodeName) == text(b.NodeName) && text(a.VehicleType) == text(b.VehicleType) &&
           text(a.DriverType) == text(b.DriverType) && a.VehicleRole == b.VehicleRole;
}

FUZZ_HARNESS bool sameListing(const Result& a, const Result& b, bool ignoreCr) {
    if (a.rows.size() != b.rows.size()) return false;
    const auto text = [ignoreCr](const std::string& s) {
        return ignoreCr ? fuzz::withoutCr(s) : s;
    };
    for (std::size_t r = 0; r < a.rows.size(); ++r) {
        if (text(a.rows[r]) != text(b.rows[r])) return false;
        const ConsistRecord& x = a.table->consists[r];
        const ConsistRecord& y = b.table->consists[r];
        if (text(x.ConsistName) != text(y.ConsistName) || x.ConsistNote != y.ConsistNote ||
            x.VehicleCount != y.VehicleCount)
            return false;
        for (std::size_t j = 0; j < x.vehicleSlots.size(); ++j)
            if (!sameSlot(x.vehicleSlots[j], y.vehicleSlots[j], ignoreCr)) return false;
    }
    return true;
}

// The same rows and every record of the table the same, listed or not.
FUZZ_HARNESS bool sameTable(const Result& a, const Result& b) {
    if (a.rows != b.rows) return false;
    for (std::size_t r = 0; r < a.table->consists.size(); ++r) {
        const ConsistRecord& x = a.table->consists[r];
        const ConsistRecord& y = b.table->consists[r];
        if (x.ConsistName != y.ConsistName || x.ConsistNote != y.ConsistNote ||
            x.VehicleCount != y.VehicleCount)
            return false;
        for (std::size_t j = 0; j < x.vehicleSlots.size(); ++j) {
            const VehicleSlot &s = x.vehicleSlots[j], &t = y.vehicleSlots[j];
            if (s.NodeName != t.NodeName || s.VehicleType != t.VehicleType ||
                s.DriverType != t.DriverType || s.VehicleRole != t.VehicleRole)
                return false;
        }
    }
    return true;
}

FUZZ_HARNESS void checkTable(const Result& result, bool plusFree) {
    const std::size_t listed = result.rows.size();
    FUZZ_CHECK(listed <= static_cast<std::size_t>(ConsistTable::ConsistCount));
    for (std::size_t r = 0; r < result.table->consists.size(); ++r) {
        const ConsistRecord& c = result.table->consists[r];
        if (r >= listed) {
            FUZZ_CHECK(c.VehicleCount == 0);
            // Only the number after the last listed one can have been used by a dropped block.
            if (r > listed) {
                FUZZ_CHECK(c.ConsistName.empty() && c.ConsistNote.empty());
                for (const VehicleSlot& s : c.vehicleSlots) FUZZ_CHECK(s.cleared());
            }
            continue;
        }
        FUZZ_CHECK(c.VehicleCount <= ConsistRecord::SlotCount);
        FUZZ_CHECK(!fuzz::contains(c.ConsistName, ' '));
        FUZZ_CHECK(!fuzz::contains(c.ConsistNote, '\r') && !fuzz::contains(c.ConsistNote, '\n'));
        for (int j = 1; j <= ConsistRecord::SlotCount; ++j) {
            const VehicleSlot& s = c.slot(j);
            if (j > c.VehicleCount) {
                FUZZ_CHECK(s.cleared());
                continue;
            }
            FUZZ_CHECK(!fuzz::contains(s.NodeName, ' ') && !fuzz::contains(s.DriverType, ' '));
            if (s.VehicleRole != 0) FUZZ_CHECK(isDriverWord(s.DriverType));
        }
        if (!plusFree) continue;
        // The row's parts are the shown names of a subsequence of the slots, in slot order.
        const std::vector<std::string> parts = split(result.rows[r]);
        std::size_t part = 0;
        for (int j = 1; j <= c.VehicleCount && part < parts.size(); ++j)
            if (shownName(c.slot(j)) == parts[part]) ++part;
        FUZZ_CHECK(part == parts.size());
    }
}

} // namespace

extern "C" FUZZ_HARNESS int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    const std::size_t zero = bytes.find('\0');
    const std::string_view catalogueText =
        zero == std::string_view::npos ? BuiltInCatalogue : bytes.substr(0, zero);
    const std::string_view scenery =
        zero == std::string_view::npos ? bytes : bytes.substr(zero + 1);

    TextReader catalogueReader(catalogueText);
    const VehicleCatalogue catalogue = readVehicleCatalogue(catalogueReader);

    bool plusFree = !fuzz::contains(scenery, '+');
    for (int n = 1; n <= catalogue.CatalogueCount; ++n)
        if (fuzz::contains(catalogue.record(n).DisplayName, '+')) plusFree = false;

    static ConsistTable freshTable, dirtyTable, otherTable, inMemoryTable;
    static const bool dirtied = (makeDirty(dirtyTable, ConsistTable::ConsistCount), true);
    (void)dirtied;

    const Result fresh = parse(scenery, catalogue, freshTable);
    checkTable(fresh, plusFree);

    const Result inMemory = parseInMemory(scenery, catalogue, inMemoryTable);
    FUZZ_CHECK(sameTable(fresh, inMemory));
    resetTouched(inMemory);
    for (const std::size_t blockSize : fuzz::blockSizes(scenery)) {
        const Result blocks = parse(scenery, catalogue, otherTable, NoReadLimits, blockSize);
        FUZZ_CHECK(sameTable(fresh, blocks));
        resetTouched(blocks);
    }
    const std::uint64_t limit = fuzz::fileLimit(scenery);
    const Result limited =
        parse(scenery, catalogue, otherTable, {limit, std::numeric_limits<std::size_t>::max()}, 5);
    const Result before = parseInMemory(scenery.substr(0, limit), catalogue, inMemoryTable);
    FUZZ_CHECK(sameTable(limited, before));
    if (fuzz::beforeEnd(scenery).size() > limit) FUZZ_CHECK(limited.cut);
    resetTouched(limited);
    resetTouched(before);
    const Result bounded = parse(scenery, catalogue, otherTable, SceneryLimits);
    if (!bounded.cut) FUZZ_CHECK(sameTable(fresh, bounded));
    resetTouched(bounded);

    makeDirty(dirtyTable, fresh.rows.size() + 1);
    FUZZ_CHECK(sameListing(fresh, parse(scenery, catalogue, dirtyTable), false));

    const Result trailed = parse(fuzz::withTrailerAfterEnd(scenery), catalogue, otherTable);
    FUZZ_CHECK(sameListing(fresh, trailed, false));
    resetTouched(trailed);

    const std::string crLf = fuzz::withCrLf(scenery);
    if (crLf.size() != scenery.size()) {
        const Result twin = parse(crLf, catalogue, otherTable);
        FUZZ_CHECK(sameListing(fresh, twin, true));
        resetTouched(twin);
    }
    resetTouched(fresh);
    return 0;
}
