#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/SimulatorSettings.h"

class TextReader;

struct Resolution {
    std::string_view width;
    std::string_view height;
};

// The screen sizes the options window offers, by slider position from 1.
inline constexpr std::array<Resolution, 7> ResolutionTable{{
    {"512", "384"},
    {"640", "480"},
    {"800", "600"},
    {"1024", "768"},
    {"1152", "864"},
    {"1280", "1024"},
    {"1600", "1200"},
}};

// Reads the settings by position: each key is tried once, at the place where the writer
// puts it; a key found elsewhere is not seen, and the end of the file ends the reading.
SimulatorSettings readSimulatorSettings(TextReader& in);

// The settings file of an installation: its rsim.ini.
std::string settingsFilePath(const std::string& installRoot);
SimulatorSettings loadSimulatorSettings(const std::string& installRoot);

// The mouse axes that move the other way. The file marks such an axis with a "-" before its
// sensitivity.
struct InvertFlags {
    bool InvertHorizontal = false;
    bool InvertVertical = false;
};

// The whole settings file as the launcher writes it: 22 lines, each ending with CR LF. The size
// comes from the resolution chosen, and an inverted axis gets a leading "-".
std::string formatSettingsFile(const SimulatorSettings& settings, const Resolution& resolution,
                               InvertFlags invert);
