#pragma once

#include "catalogue/ConsistTable.h"
#include "catalogue/VehicleCatalogue.h"
#include "platform/system/Language.h"
#include "settings/SimulatorSettings.h"

#include <QStringList>
#include <array>
#include <memory>
#include <string>

class PictureBox;

// What the main window holds for the rest of the launcher. Texts that go to the simulator are
// kept as the bytes of the files and folders they came from.
struct LauncherState {
    std::string InstallRoot;   // the launcher's folder, without a trailing separator
    std::string SceneryFile;   // the chosen scenery's name within the scenery folder
    std::string ChosenVehicle; // "ghostview" while no consist is chosen
    Language InterfaceLanguage = Language::Polish;

    QStringList DescriptionLines; // shown in Memo1
    QStringList DetailLines;      // shown in Memo2

    std::array<PictureBox*, ConsistRecord::SlotCount> VehiclePictures{}; // slot j at [j-1]
    int ThumbnailCount = 0;

    std::unique_ptr<ConsistTable> Consists = std::make_unique<ConsistTable>();
    std::unique_ptr<VehicleCatalogue> Catalogue = std::make_unique<VehicleCatalogue>();
    SimulatorSettings Settings;

    std::string LaunchParameters; // the parameter text of the last press of the start button
    int LaunchAnswer = 0;         // the answer to the ghostview question, 0 before it
};
