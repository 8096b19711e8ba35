#pragma once

// The readers as they were when a file was read whole into memory before any of it was read:
// the oracle the block-reading readers are checked against. Whatever the blocks, on a file
// within the reading limits the readers must give exactly what these give.

#include "FuzzSupport.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryMarkers.h"
#include "catalogue/VehicleCatalogue.h"
#include "platform/system/AsciiCase.h"
#include "settings/SimulatorSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace inmemory {

class TextReader {
public:
    static constexpr unsigned char EndOfFile = 26;

    FUZZ_HARNESS explicit TextReader(std::string_view bytes) {
        data_ = bytes.size() ? bytes.data() : "";
        const void* ctrlZ = std::memchr(data_, EndOfFile, bytes.size());
        end_ = ctrlZ ? static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - data_)
                     : bytes.size();
    }

    FUZZ_HARNESS bool atEnd() const { return pos_ >= end_; }

    FUZZ_HARNESS unsigned char readChar() {
        if (pos_ >= end_) return EndOfFile;
        const unsigned char c = byteAt(pos_);
        if (c == '\n' && pos_ != insideLineEndAt_ && !(pos_ > 0 && byteAt(pos_ - 1) == '\r')) {
            insideLineEndAt_ = pos_;
            return c;
        }
        ++pos_;
        return c;
    }

    FUZZ_HARNESS std::string readUpTo(std::size_t n) {
        std::string s;
        while (s.size() < n && pos_ < end_) {
            const char c = data_[pos_];
            if (c == '\n') break;
            if (c == '\r') {
                if (pos_ + 1 < end_ && data_[pos_ + 1] == '\n') break;
                ++pos_;
                continue;
            }
            s.push_back(c);
            ++pos_;
        }
        return s;
    }

    FUZZ_HARNESS std::string readRestOfLine() {
        const void* lf = std::memchr(data_ + pos_, '\n', end_ - pos_);
        std::size_t lineEnd = end_;
        if (lf) {
            lineEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - data_);
            if (lineEnd > pos_ && data_[lineEnd - 1] == '\r') --lineEnd;
        }
        std::string line;
        for (std::size_t i = pos_; i < lineEnd; ++i)
            if (data_[i] != '\r') line.push_back(data_[i]);
        pos_ = lineEnd;
        return line;
    }

    FUZZ_HARNESS void skipLine() {
        const void* lf = std::memchr(data_ + pos_, '\n', end_ - pos_);
        pos_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data_) + 1 : end_;
    }

    FUZZ_HARNESS bool readToken(std::string& target) {
        const std::size_t start = pos_;
        const bool closed = skipToken();
        target.append(data_ + start, pos_ - start - (closed ? 1 : 0));
        return closed;
    }

    FUZZ_HARNESS bool skipToken() {
        const void* blank = std::memchr(data_ + pos_, ' ', end_ - pos_);
        if (!blank) {
            pos_ = end_;
            return false;
        }
        pos_ = static_cast<std::size_t>(static_cast<const char*>(blank) - data_) + 1;
        return true;
    }

    FUZZ_HARNESS void skipWhile(const bool (&skippable)[256]) {
        while (pos_ < end_ && skippable[byteAt(pos_)]) ++pos_;
    }

    FUZZ_HARNESS void skipTo(char c) {
        const void* hit = std::memchr(data_ + pos_, c, end_ - pos_);
        pos_ = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data_) : end_;
    }

private:
    FUZZ_HARNESS unsigned char byteAt(std::size_t i) const {
        return static_cast<unsigned char>(data_[i]);
    }

    const char* data_ = "";
    std::size_t end_ = 0;
    std::size_t pos_ = 0;
    std::size_t insideLineEndAt_ = static_cast<std::size_t>(-1);
};

// The consist parser.

struct InertInsideConsist {
    bool table[256]{};
    constexpr InertInsideConsist() {
        for (int c = 0; c < 256; ++c) table[c] = true;
        for (unsigned char c : {' ', '/', 'E', 'e', 'N', 'n'}) table[c] = false;
    }
};
inline constexpr InertInsideConsist inertInsideConsist;

FUZZ_HARNESS inline void lookUpVehicle(const VehicleCatalogue& catalogue, VehicleSlot& slot,
                                       std::uint8_t& driveMarker) {
    for (int n = 1; n <= catalogue.CatalogueCount; ++n) {
        const CatalogueRecord& record = catalogue.record(n);
        if (!equalsUpperCased(slot.VehicleType, record.MatchName)) continue;
        slot.VehicleType = record.DisplayName;
        const auto role = static_cast<std::uint8_t>(record.RoleValue);
        if (slot.DriverType == "headdriver" || slot.DriverType == "reardriver") {
            if (record.RoleValue > driveMarker) driveMarker = role;
            slot.VehicleRole = role;
        }
        if (slot.DriverType == "passenger") {
            driveMarker = role;
            slot.VehicleRole = role;
        }
    }
}

struct ConsistInProgress {
    ConsistRecord& record;
    std::uint8_t vehicles = 0;
    std::uint8_t driveMarker = 0;
    std::string displayText;
};

enum class LineResult { Done, NotKept, EndOfFile };

FUZZ_HARNESS inline LineResult readVehicleLine(TextReader& in, const VehicleCatalogue& catalogue,
                                               ConsistInProgress& consist) {
    if (!in.skipToken() || !in.skipToken()) return LineResult::EndOfFile;
    ++consist.vehicles;
    VehicleSlot& slot = consist.record.slot(consist.vehicles);
    if (!in.readToken(slot.NodeName) || !in.skipToken()) return LineResult::EndOfFile;
    const std::string prefix = in.readUpTo(4);
    if (!equalsUpperCased(prefix, "PKP\\") && !equalsUpperCased(prefix, "PKP/"))
        return LineResult::NotKept;
    if (!in.skipToken() || !in.skipToken() || !in.readToken(slot.VehicleType) || !in.skipToken() ||
        !in.readToken(slot.DriverType))
        return LineResult::EndOfFile;
    lookUpVehicle(catalogue, slot, consist.driveMarker);
    const unsigned char first = slot.NodeName.empty() ? 0 : asciiUpper(slot.NodeName[0]);
    consist.displayText += (first == 'S' || first == 'E') ? slot.NodeName : slot.VehicleType;
    consist.displayText += '+';
    in.skipLine();
    return LineResult::Done;
}

FUZZ_HARNESS inline void scanConsistBody(TextReader& in, const VehicleCatalogue& catalogue,
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
        if (tableFull) {
            in.skipLine();
            continue;
        }
        if (readVehicleLine(in, catalogue, consist) == LineResult::EndOfFile) return;
    }
}

FUZZ_HARNESS inline std::vector<std::string>
parseConsists(TextReader& in, const VehicleCatalogue& catalogue, ConsistTable& table) {
    std::vector<std::string> rows;
    int k = 1;
    ConsistRecord overflow;
    do {
        if (asciiUpper(in.readChar()) != 'T') {
            in.skipLine();
            continue;
        }
        if (!equalsUpperCased(in.readUpTo(8), "RAINSET ")) continue;
        ConsistRecord& record = k <= ConsistTable::ConsistCount ? table.consist(k) : overflow;
        record.ConsistName.clear();
        record.ConsistNote.clear();
        for (VehicleSlot& slot : record.vehicleSlots) slot.clear();
        ConsistInProgress consist{record, 0, 0, {}};
        if (in.readToken(record.ConsistName)) in.skipLine();
        scanConsistBody(in, catalogue, consist);
        if (!consist.displayText.empty()) consist.displayText.pop_back();
        if (consist.driveMarker == 0 || k > ConsistTable::ConsistCount) continue;
        rows.push_back(std::move(consist.displayText));
        record.VehicleCount = consist.vehicles;
        ++k;
    } while (!in.atEnd());
    return rows;
}

// Tells through noDescriptionAdded whether the last line is the one added for a scenery
// without description.
FUZZ_HARNESS inline SceneryMarkers readSceneryMarkers(TextReader& in, bool& noDescriptionAdded) {
    SceneryMarkers markers;
    std::string lastDescription;
    while (!in.atEnd()) {
        markers.enablesStart = true;
        in.skipTo('/');
        if (in.readChar() != '/' || in.readChar() != '/' || in.readChar() != '$') continue;
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
    noDescriptionAdded = lastDescription.empty();
    if (lastDescription.empty()) markers.descriptionLines.emplace_back(NoDescriptionLine);
    return markers;
}

FUZZ_HARNESS inline VehicleCatalogue readVehicleCatalogue(TextReader& in) {
    const auto readLine = [&in] {
        std::string line = in.readRestOfLine();
        in.skipLine();
        return line;
    };
    VehicleCatalogue catalogue;
    readLine();
    while (!in.atEnd() && catalogue.CatalogueCount < VehicleCatalogue::Capacity) {
        CatalogueRecord& record = catalogue.records[catalogue.CatalogueCount++];
        record.MatchName = readLine();
        record.DisplayName = readLine();
        record.RoleValue = catalogueInteger(readLine());
        readLine();
    }
    return catalogue;
}

struct KeySlot {
    unsigned char firstLetter;
    std::string_view rest;
    std::string SimulatorSettings::*field;
    bool skipsLineOnWrongLetter;
};

inline constexpr std::array<KeySlot, 15> KeySlots{{
    {'W', "IDTH ", &SimulatorSettings::width, true},
    {'H', "EIGHT ", &SimulatorSettings::height, true},
    {'B', "PP ", &SimulatorSettings::bpp, true},
    {'F', "ULLSCREEN ", &SimulatorSettings::fullscreen, true},
    {'F', "REEFLY ", &SimulatorSettings::freefly, true},
    {'D', "EBUGMODE ", &SimulatorSettings::debugmode, true},
    {'S', "OUNDENABLED ", &SimulatorSettings::soundenabled, true},
    {'R', "ENDERALPHA ", &SimulatorSettings::renderalpha, false},
    {'P', "HYSICSLOG ", &SimulatorSettings::physicslog, false},
    {'D', "EBUGLOG ", &SimulatorSettings::debuglog, false},
    {'A', "DJUSTSCREENFREQ ", &SimulatorSettings::adjustscreenfreq, false},
    {'M', "OUSESCALE ", &SimulatorSettings::mousescalehorizontal, false},
    {'E', "NABLETRACTION ", &SimulatorSettings::enabletraction, false},
    {'L', "OADTRACTION ", &SimulatorSettings::loadtraction, false},
    {'L', "IVETRACTION ", &SimulatorSettings::livetraction, false},
}};

FUZZ_HARNESS inline SimulatorSettings readSimulatorSettings(TextReader& in) {
    constexpr std::size_t FreeflySlot = 4;
    constexpr std::size_t MousescaleSlot = 11;
    SimulatorSettings settings;
    for (int i = 0; i < 6; ++i) in.skipLine();
    for (std::size_t i = 0; i < KeySlots.size(); ++i) {
        const KeySlot& slot = KeySlots[i];
        if (asciiUpper(in.readChar()) != slot.firstLetter) {
            if (slot.skipsLineOnWrongLetter) in.skipLine();
        } else if (equalsUpperCased(in.readUpTo(slot.rest.size()), slot.rest)) {
            if (!in.readToken(settings.*slot.field)) break;
            if (i == MousescaleSlot && !in.readToken(settings.mousescalevertical)) break;
            in.skipLine();
        }
        if (i == FreeflySlot) in.skipLine();
    }
    return settings;
}

// A timetable's bytes as they were read: the whole ordinary file, or the errno that stopped it.
struct WholeFile {
    std::string bytes;
    int error = 0;
    bool notOrdinary = false;
};

FUZZ_HARNESS inline WholeFile readWholeFile(const std::string& path) {
    WholeFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        file.notOrdinary = true;
        ::close(fd);
        return file;
    }
    file.bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t size = 0;
    while (size < file.bytes.size()) {
        const ssize_t n = ::read(fd, file.bytes.data() + size, file.bytes.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) file.error = errno;
        if (n <= 0) break;
        size += static_cast<std::size_t>(n);
    }
    file.bytes.resize(size);
    ::close(fd);
    return file;
}

} // namespace inmemory
