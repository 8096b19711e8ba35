#include "catalogue/SceneryFile.h"

#include "catalogue/ConsistParser.h"
#include "catalogue/TextReader.h"

SceneryReading readScenery(TextReader& in, const VehicleCatalogue& catalogue, ConsistTable& table,
                           ConsistListener* listener) {
    SceneryMarkerScanner scanner;
    in.listenToBlocks(&scanner);
    SceneryReading reading;
    reading.rows = parseConsists(in, catalogue, table, listener);
    // Markers may stand after what the consists needed.
    in.skipToEnd();
    in.listenToBlocks(nullptr);
    reading.markers = scanner.finish();
    reading.markers.cut = reading.markers.cut || in.cut();
    return reading;
}

SceneryReading readScenery(const std::string& path, const VehicleCatalogue& catalogue,
                           ConsistTable& table) {
    TextReader in = TextReader::open(path, SceneryLimits);
    return readScenery(in, catalogue, table);
}
