#pragma once

#include <string>
#include <vector>

class TextReader;
struct ConsistRecord;
struct ConsistTable;
struct VehicleCatalogue;
struct VehicleSlot;

// Hears of every consist block, listed or not, so that a check can tell why one is not listed.
class ConsistListener {
public:
    // A vehicle kept for its PKP folder, with its type token as the scenery writes it, before
    // the catalogue names it.
    virtual void vehicleKept(const VehicleSlot& vehicle) = 0;
    // The block has ended; listed says whether the consist list shows it.
    virtual void consistRead(const ConsistRecord& consist, bool listed) = 0;

protected:
    ~ConsistListener() = default;
};

// Reads a scenery's consists in one pass: fills the table with the consists a player can take
// (drive or ride in) and returns their row texts, consist k being row k-1. The table's roles
// and notes are expected cleared by the caller; every consist block empties its own record.
std::vector<std::string> parseConsists(TextReader& in, const VehicleCatalogue& catalogue,
                                       ConsistTable& table, ConsistListener* listener = nullptr);
