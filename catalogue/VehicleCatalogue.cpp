#include "catalogue/VehicleCatalogue.h"

#include "catalogue/TextReader.h"
#include "platform/system/InstallPath.h"

#include <limits>

std::int32_t catalogueInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        value = value * base + digit;
        if (value > limit) return 0;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return 0;
    return static_cast<std::int32_t>(value);
}

namespace {
std::string readLine(TextReader& in) {
    std::string line = in.readRestOfLine();
    in.skipLine();
    return line;
}
} // namespace

VehicleCatalogue readVehicleCatalogue(TextReader& in) {
    VehicleCatalogue catalogue;
    readLine(in); // heading
    while (!in.atEnd() && catalogue.CatalogueCount < VehicleCatalogue::Capacity) {
        CatalogueRecord& record = catalogue.records[catalogue.CatalogueCount++];
        record.MatchName = readLine(in);
        record.DisplayName = readLine(in);
        record.RoleValue = catalogueInteger(readLine(in));
        readLine(in); // separator
    }
    return catalogue;
}

VehicleCatalogue loadVehicleCatalogue(const std::string& installRoot) {
    TextReader in = TextReader::open(resolveInstallPath(installRoot, "\\dynamic\\pkp\\dynamic.dat"),
                                     CatalogueLimits);
    return readVehicleCatalogue(in);
}
