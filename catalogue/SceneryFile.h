#pragma once

#include "catalogue/SceneryMarkers.h"

#include <string>
#include <vector>

class ConsistListener;
class TextReader;
struct ConsistTable;
struct VehicleCatalogue;

// What a scenery gives the main window: the rows of its consist list, consist k being row k-1
// of the table, and its markers.
struct SceneryReading {
    std::vector<std::string> rows;
    SceneryMarkers markers;
};

// Reads a scenery once, its consists and its markers from the same blocks. The table's roles
// and notes are expected cleared by the caller. The reader must not have read anything yet.
// listener, when given, hears of every consist block.
SceneryReading readScenery(TextReader& in, const VehicleCatalogue& catalogue, ConsistTable& table,
                           ConsistListener* listener = nullptr);
// A scenery file within SceneryLimits; one that cannot be opened reads as empty.
SceneryReading readScenery(const std::string& path, const VehicleCatalogue& catalogue,
                           ConsistTable& table);
