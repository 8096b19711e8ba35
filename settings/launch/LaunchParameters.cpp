#include "settings/launch/LaunchParameters.h"

#include "platform/system/CodePage1250.h"
#include "platform/system/CodePage852.h"
#include "platform/system/Words.h"

namespace {

constexpr BilingualText GhostviewCaption{"Ostrzeżenie:", "Warning:"};
constexpr BilingualText GhostviewText{
    "Nie wybrałeś składu do prowadzenia. Czy uruchomić symulator w trybie Ghostview "
    "(\"latanie\" po scenerii) ?",
    "You did not choose any consist to drive. Would you like to start the simulator in the "
    "freefly mode?"};

} // namespace

std::string launchParameters(std::string_view sceneryFile, std::string_view vehicle) {
    std::string text = "-s ";
    text += sceneryFile;
    text += " -v ";
    text += vehicle;
    return text;
}

std::vector<std::string> launchArguments(std::string_view sceneryFile, std::string_view vehicle) {
    return {"-s", std::string(sceneryFile), "-v", std::string(vehicle)};
}

std::vector<std::string> wineArguments(std::string_view sceneryFile, std::string_view vehicle) {
    return {"-s", fileNameToUtf8Reversibly(sceneryFile), "-v",
            windows1250ToUtf8Reversibly(vehicle)};
}

GhostviewQuestion ghostviewQuestion(Language language) {
    return {GhostviewCaption.in(language), GhostviewText.in(language), Words::Yes.in(language),
            Words::No.in(language)};
}
