#pragma once

#include <string>

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
