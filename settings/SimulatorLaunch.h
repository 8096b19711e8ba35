#pragma once

#include <string_view>

// The vehicle word that starts the simulator in its free-flying observer mode; it also marks
// that no consist has been chosen since the last scenery choice.
inline constexpr std::string_view GhostviewVehicle = "ghostview";
