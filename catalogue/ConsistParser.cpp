#include "catalogue/ConsistParser.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"
#include "platform/system/AsciiCase.h"

#include <cstdint>

namespace {

// Inside a consist, a character other than these only moves the scan on by one.
struct InertInsideConsist {
    bool table[256]{};
    constexpr InertInsideConsist() {
        for (bool& inert : table) inert = true;
        for (unsigned char c : {' ', '/', 'E', 'e', 'N', 'n'}) table[c] = false;
    }
};
constexpr InertInsideConsist inertInsideConsist;

struct ConsistInProgress {
    ConsistRecord& record;
    std::uint8_t vehicles = 0;
    std::uint8_t driveMarker = 0;
    std::string displayText;
    ConsistListener* listener = nullptr;
};

void lookUpVehicle(const VehicleCatalogue& catalogue, VehicleSlot& slot,
                   std::uint8_t& driveMarker) {
    // Every record is tried against the type as earlier matches left it, so one record can
    // apply after another renamed the type.
    for (int n = 1; n <= catalogue.CatalogueCount; ++n) {
        const CatalogueRecord& record = catalogue.record(n);
        if (!equalsUpperCased(slot.VehicleType, record.MatchName)) continue;
        slot.VehicleType = record.DisplayName;
        const auto role = static_cast<std::uint8_t>(record.RoleValue);
        if (slot.DriverType == "headdriver" || slot.DriverType == "reardriver") {
            if (record.RoleValue > driveMarker) driveMarker = role;
            slot.VehicleRole = role;
        }
        // A passenger place replaces the marker, even with a lower value.
        if (slot.DriverType == "passenger") {
            driveMarker = role;
            slot.VehicleRole = role;
        }
    }
}

enum class LineResult { Done, NotKept, EndOfFile };

// Entered after "node " has been read.
LineResult readVehicleLine(TextReader& in, const VehicleCatalogue& catalogue,
                           ConsistInProgress& consist) {
    if (!in.skipToken() || !in.skipToken()) return LineResult::EndOfFile;
    ++consist.vehicles;
    VehicleSlot& slot = consist.record.slot(consist.vehicles);
    if (!in.readToken(slot.NodeName) || !in.skipToken()) return LineResult::EndOfFile;
    const std::string prefix = in.readUpTo(4);
    // A vehicle from outside the PKP folder counts but is not kept; the scan goes on from the
    // fifth character of its token.
    if (!equalsUpperCased(prefix, "PKP\\") && !equalsUpperCased(prefix, "PKP/"))
        return LineResult::NotKept;
    if (!in.skipToken() || !in.skipToken() || !in.readToken(slot.VehicleType) || !in.skipToken() ||
        !in.readToken(slot.DriverType))
        return LineResult::EndOfFile;

    if (consist.listener) consist.listener->vehicleKept(slot);
    lookUpVehicle(catalogue, slot, consist.driveMarker);
    const unsigned char first = slot.NodeName.empty() ? 0 : asciiUpper(slot.NodeName[0]);
    consist.displayText += (first == 'S' || first == 'E') ? slot.NodeName : slot.VehicleType;
    consist.displayText += '+';
    in.skipLine();
    return LineResult::Done;
}

// Scans a consist's body up to its end keyword or the end of the file.
void scanConsistBody(TextReader& in, const VehicleCatalogue& catalogue,
                     ConsistInProgress& consist) {
    for (;;) {
        in.skipWhile(inertInsideConsist.table);
        if (in.atEnd()) return;
        unsigned char c = in.readChar();
        if (c == ' ') c = in.readChar();
        if (c == '/') {
            if (equalsUpperCased(in.readUpTo(4), "/$O "))
                consist.record.ConsistNote = in.readRestOfLine();
            in.skipLine();
            continue;
        }
        if (c == ' ') c = in.readChar();
        c = asciiUpper(c);
        if (c == 'E') {
            const bool endKeyword = equalsUpperCased(in.readUpTo(4), "NDTR");
            in.skipLine();
            if (endKeyword) return;
            continue;
        }
        if (c != 'N') continue;
        const bool tableFull = consist.vehicles == ConsistRecord::SlotCount;
        if (!tableFull) consist.record.slot(consist.vehicles + 1).clear();
        if (!equalsUpperCased(in.readUpTo(4), "ODE ")) continue;
        // A node line after the 50th has no slot: it is dropped whole and not counted.
        if (tableFull) {
            in.skipLine();
            continue;
        }
        if (readVehicleLine(in, catalogue, consist) == LineResult::EndOfFile) return;
    }
}

void clearForNewConsist(ConsistRecord& record) {
    record.ConsistName.clear();
    record.ConsistNote.clear();
    for (VehicleSlot& slot : record.vehicleSlots) slot.clear();
}

} // namespace

std::vector<std::string> parseConsists(TextReader& in, const VehicleCatalogue& catalogue,
                                       ConsistTable& table, ConsistListener* listener) {
    std::vector<std::string> rows;
    int k = 1;
    // Qualifying consists beyond the table's 30 are parsed here and not listed.
    ConsistRecord overflow;
    do {
        if (asciiUpper(in.readChar()) != 'T') {
            in.skipLine();
            continue;
        }
        // On a mismatch the next character is read as if it began a line.
        if (!equalsUpperCased(in.readUpTo(8), "RAINSET ")) continue;

        ConsistRecord& record = k <= ConsistTable::ConsistCount ? table.consist(k) : overflow;
        clearForNewConsist(record);
        ConsistInProgress consist{record, 0, 0, {}, listener};
        // The rest of the header line is ignored.
        if (in.readToken(record.ConsistName)) in.skipLine();
        scanConsistBody(in, catalogue, consist);

        if (!consist.displayText.empty()) consist.displayText.pop_back();
        // A consist without a vehicle to take is not listed, and the next one reuses its number.
        const bool listed = consist.driveMarker != 0 && k <= ConsistTable::ConsistCount;
        if (listener) listener->consistRead(record, listed);
        if (!listed) continue;
        rows.push_back(std::move(consist.displayText));
        record.VehicleCount = consist.vehicles;
        ++k;
    } while (!in.atEnd());
    return rows;
}
