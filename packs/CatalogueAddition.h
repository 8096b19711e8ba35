#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A pack's catalogue never replaces the installation's: other sceneries need the vehicles it
// holds. The records of the pack's catalogue whose match name the installation's lacks are
// offered instead, to be added at the end of the installation's file.

// A record's four lines (match name, display name, role value, separator) as the pack's file
// holds them, without their line ends.
using CatalogueLines = std::array<std::string, 4>;

// The records of pack that installed lacks, each once, in pack's order; records without a match
// name are left out. Both are whole catalogue files.
std::vector<CatalogueLines> recordsToOffer(std::string_view installed, std::string_view pack);

// installed with records added where the launcher reads them next: after its last record, made
// whole with empty lines where the file ends inside one, and before a byte 26 that ends the file
// for the launcher. The lines end as the file's first line does (CR LF in a file without one);
// every other byte stays as it was.
std::string catalogueWithRecords(std::string_view installed,
                                 const std::vector<CatalogueLines>& records);
