#pragma once

#include <array>
#include <string>
#include <string_view>

// The values of rsim.ini, held as text exactly as the file writes them.
struct SimulatorSettings {
    std::string width;
    std::string height;
    std::string bpp;
    std::string fullscreen;
    std::string debugmode;
    std::string soundenabled;
    std::string freefly;
    std::string renderalpha;
    std::string physicslog;
    std::string debuglog;
    std::string adjustscreenfreq;
    std::string mousescalehorizontal; // a leading "-" marks an inverted axis
    std::string mousescalevertical;
    std::string loadtraction;
    std::string livetraction;
    std::string enabletraction;

    bool operator==(const SimulatorSettings&) const = default;
};

struct SettingsField {
    std::string_view name;
    std::string SimulatorSettings::*member;
};

// Every field by its name, in the order the record declares them.
inline constexpr std::array<SettingsField, 16> SettingsFields{{
    {"width", &SimulatorSettings::width},
    {"height", &SimulatorSettings::height},
    {"bpp", &SimulatorSettings::bpp},
    {"fullscreen", &SimulatorSettings::fullscreen},
    {"debugmode", &SimulatorSettings::debugmode},
    {"soundenabled", &SimulatorSettings::soundenabled},
    {"freefly", &SimulatorSettings::freefly},
    {"renderalpha", &SimulatorSettings::renderalpha},
    {"physicslog", &SimulatorSettings::physicslog},
    {"debuglog", &SimulatorSettings::debuglog},
    {"adjustscreenfreq", &SimulatorSettings::adjustscreenfreq},
    {"mousescalehorizontal", &SimulatorSettings::mousescalehorizontal},
    {"mousescalevertical", &SimulatorSettings::mousescalevertical},
    {"loadtraction", &SimulatorSettings::loadtraction},
    {"livetraction", &SimulatorSettings::livetraction},
    {"enabletraction", &SimulatorSettings::enabletraction},
}};
