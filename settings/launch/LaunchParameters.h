#pragma once

#include "platform/system/Language.h"

#include <string>
#include <string_view>
#include <vector>

// The vehicle word that starts the simulator in its free-flying observer mode; it also marks
// that no consist has been chosen since the last scenery choice.
inline constexpr std::string_view GhostviewVehicle = "ghostview";

// The parameter text the simulator is started with: "-s " + scenery + " -v " + vehicle, nothing
// quoted or escaped, an empty scenery giving "-s  -v ...".
std::string launchParameters(std::string_view sceneryFile, std::string_view vehicle);

// The same text as the simulator's own command line splits it. A scenery or vehicle name with
// blanks in it stays one argument, and every argument keeps the bytes it came from.
std::vector<std::string> launchArguments(std::string_view sceneryFile, std::string_view vehicle);

// The same arguments as wine reads them: UTF-8, which wine encodes again in the simulator's code
// page, so that the simulator gets the bytes a Windows launcher handed over. The vehicle is text
// from the installation's files, decoded from Windows-1250; the scenery is a file name, kept as
// it is on disk when that is UTF-8 and else decoded as well.
std::vector<std::string> wineArguments(std::string_view sceneryFile, std::string_view vehicle);

// The question asked before the simulator starts without a consist, in the interface language,
// with the labels of its two buttons. UTF-8.
struct GhostviewQuestion {
    std::string_view caption;
    std::string_view text;
    std::string_view yes;
    std::string_view no;
};
GhostviewQuestion ghostviewQuestion(Language language);
