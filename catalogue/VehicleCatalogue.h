#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TextReader;

struct CatalogueRecord {
    std::string MatchName;   // compared with a scenery's type token after upper-casing it
    std::string DisplayName; // what the consist list shows for that type
    std::int32_t RoleValue = 0;
};

struct VehicleCatalogue {
    static constexpr int Capacity = 200;

    std::uint8_t CatalogueCount = 0;
    std::array<CatalogueRecord, Capacity> records{};

    // Records are numbered from 1, as the consist lookup walks them.
    const CatalogueRecord& record(int n) const { return records[static_cast<std::size_t>(n - 1)]; }
};

// The catalogue's number lines: leading blanks, an optional sign, "$" or "0x" for hexadecimal,
// then the value of the leading digits; 0 when there are none or the value does not fit 32 bits.
std::int32_t catalogueInteger(std::string_view text);

// A heading line, then records of four lines: match name, display name, role value, separator.
// A record cut off by the end of the file still counts; records after the 200th are ignored.
VehicleCatalogue readVehicleCatalogue(TextReader& in);

// Reads the catalogue of an installation: its dynamic\pkp\dynamic.dat.
VehicleCatalogue loadVehicleCatalogue(const std::string& installRoot);
