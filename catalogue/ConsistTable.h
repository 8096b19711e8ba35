#pragma once

#include <array>
#include <cstdint>
#include <string>

struct VehicleSlot {
    std::string NodeName;
    std::string VehicleType; // the type token, or the catalogue's display name for it
    std::string DriverType;
    std::uint8_t VehicleRole = 0; // 0: the player cannot take it; 1 drive; 2 ride as passenger

    void clear() {
        NodeName.clear();
        VehicleType.clear();
        DriverType.clear();
        VehicleRole = 0;
    }
    bool cleared() const {
        return NodeName.empty() && VehicleType.empty() && DriverType.empty() && VehicleRole == 0;
    }
};

struct ConsistRecord {
    static constexpr int SlotCount = 50;

    std::string ConsistName;
    std::string ConsistNote;
    std::uint8_t VehicleCount = 0;
    std::array<VehicleSlot, SlotCount> vehicleSlots{};

    // Slots are numbered from 1.
    VehicleSlot& slot(int j) { return vehicleSlots[static_cast<std::size_t>(j - 1)]; }
    const VehicleSlot& slot(int j) const { return vehicleSlots[static_cast<std::size_t>(j - 1)]; }
};

// The listed consists of the chosen scenery: consist k is row k-1 of the consist list.
struct ConsistTable {
    static constexpr int ConsistCount = 30;

    std::array<ConsistRecord, ConsistCount> consists{};

    ConsistRecord& consist(int k) { return consists[static_cast<std::size_t>(k - 1)]; }
    const ConsistRecord& consist(int k) const { return consists[static_cast<std::size_t>(k - 1)]; }

    // Before a scenery is read: no vehicle of an earlier scenery can be taken, and no earlier
    // note shows.
    void clearRolesAndNotes() {
        for (ConsistRecord& c : consists) {
            c.ConsistNote.clear();
            for (VehicleSlot& s : c.vehicleSlots) s.VehicleRole = 0;
        }
    }
};
