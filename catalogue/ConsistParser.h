#pragma once

#include <string>
#include <vector>

class TextReader;
struct ConsistTable;
struct VehicleCatalogue;

// Reads a scenery's consists in one pass: fills the table with the consists a player can take
// (drive or ride in) and returns their row texts, consist k being row k-1. The table's roles
// and notes are expected cleared by the caller; every consist block empties its own record.
std::vector<std::string> parseConsists(TextReader& in, const VehicleCatalogue& catalogue,
                                       ConsistTable& table);
