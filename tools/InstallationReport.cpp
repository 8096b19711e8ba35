// Shows what the launcher makes of an installation's files, as one JSON object.

#include "catalogue/ConsistTable.h"
#include "catalogue/ReadingLimits.h"
#include "catalogue/SceneryCheck.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/VehicleCatalogue.h"
#include "catalogue/pictures/ChosenConsist.h"
#include "catalogue/pictures/PictureCheck.h"
#include "packs/PackPlan.h"
#include "platform/system/CodePage1250.h"
#include "settings/OptionsWorkingCopy.h"
#include "settings/SettingsFile.h"
#include "settings/launch/LaunchParameters.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/StartFailure.h"
#include "tools/JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string text(std::string_view bytes) {
    return jsonString(windows1250ToUtf8(bytes));
}

std::string catalogueJson(const std::string& installRoot) {
    const auto catalogue = std::make_unique<VehicleCatalogue>(loadVehicleCatalogue(installRoot));
    std::string out =
        "{\"count\": " + std::to_string(catalogue->CatalogueCount) + ", \"records\": [";
    for (int n = 1; n <= catalogue->CatalogueCount; ++n) {
        const CatalogueRecord& r = catalogue->record(n);
        if (n > 1) out += ", ";
        out += "{\"match\": " + text(r.MatchName) + ", \"display\": " + text(r.DisplayName) +
               ", \"role\": " + std::to_string(r.RoleValue) + "}";
    }
    return out + "]}";
}

std::string consistsJson(const std::string& installRoot, const std::string& sceneryPath) {
    const auto catalogue = std::make_unique<VehicleCatalogue>(loadVehicleCatalogue(installRoot));
    const auto table = std::make_unique<ConsistTable>();
    const SceneryReading scenery = readScenery(sceneryPath, *catalogue, *table);
    const std::vector<std::string>& rows = scenery.rows;

    std::string out = "{\"cut\": ";
    out += scenery.markers.cut ? "true" : "false";
    out += ", \"rows\": [";
    for (std::size_t r = 0; r < rows.size(); ++r) out += (r ? ", " : "") + text(rows[r]);
    out += "], \"consists\": [";
    for (int k = 1; k <= static_cast<int>(rows.size()); ++k) {
        const ConsistRecord& c = table->consist(k);
        if (k > 1) out += ", ";
        out += "{\"number\": " + std::to_string(k) + ", \"name\": " + text(c.ConsistName) +
               ", \"note\": " + text(c.ConsistNote) +
               ", \"vehicleCount\": " + std::to_string(c.VehicleCount) + ", \"vehicles\": [";
        bool first = true;
        for (int j = 1; j <= ConsistRecord::SlotCount; ++j) {
            const VehicleSlot& s = c.slot(j);
            if (s.cleared()) continue;
            out += first ? "" : ", ";
            first = false;
            out += "{\"slot\": " + std::to_string(j) + ", \"node\": " + text(s.NodeName) +
                   ", \"type\": " + text(s.VehicleType) + ", \"driver\": " + text(s.DriverType) +
                   ", \"role\": " + std::to_string(s.VehicleRole) + "}";
        }
        out += "]}";
    }
    return out + "]}";
}

std::string sceneryJson(const std::string& installRoot, const std::string& sceneryPath,
                        Language language) {
    const auto catalogue = std::make_unique<VehicleCatalogue>(loadVehicleCatalogue(installRoot));
    const auto table = std::make_unique<ConsistTable>();
    const SceneryMarkers markers = readScenery(sceneryPath, *catalogue, *table).markers;
    const std::string fileName = sceneryFileName(sceneryPath);
    std::string out = "{\"title\": " + jsonString(displayedSceneryTitle(markers, fileName)) +
                      ", \"description\": [";
    for (std::size_t i = 0; i < markers.descriptionLines.size(); ++i)
        out += (i ? ", " : "") + text(markers.descriptionLines[i]);
    if (markers.cut) out += ", " + jsonString(cutNotice(CutText::SceneryDescription, language));
    out += "], \"cut\": ";
    out += markers.cut ? "true" : "false";
    out += ", \"picture\": " + text(markers.picture);
    out += ", \"enablesStart\": ";
    out += markers.enablesStart ? "true" : "false";
    return out + ", \"sceneryFile\": " + jsonString(fileNameToUtf8(fileName)) + "}";
}

// A file of the installation as found on disk, relative to the installation folder.
std::string installFile(const std::string& installRoot, const std::string& path) {
    if (path.empty()) return jsonString("");
    return jsonString(fileNameToUtf8(std::string_view(path).substr(installRoot.size() + 1)));
}

// What the start button hands to the system for this choice.
std::string commandJson(const SimulatorCommand& command) {
    std::string out =
        "{\"program\": " + jsonString(fileNameToUtf8(command.program)) + ", \"arguments\": [";
    const std::vector<std::string> arguments = shownArguments(command);
    for (std::size_t i = 0; i < arguments.size(); ++i)
        out += (i ? ", " : "") + jsonString(arguments[i]);
    out += "], \"environment\": {";
    for (std::size_t i = 0; i < command.environment.size(); ++i)
        out += (i ? ", " : "") + jsonString(command.environment[i].first) + ": " +
               jsonString(fileNameToUtf8(command.environment[i].second));
    return out + "}}";
}

std::optional<std::string> detailsJson(const std::string& installRoot,
                                       const std::string& sceneryPath, std::string_view rowText,
                                       Language language) {
    const auto catalogue = std::make_unique<VehicleCatalogue>(loadVehicleCatalogue(installRoot));
    const auto table = std::make_unique<ConsistTable>();
    const std::size_t rows = readScenery(sceneryPath, *catalogue, *table).rows.size();
    std::size_t row = 0;
    const auto [end, error] = std::from_chars(rowText.data(), rowText.data() + rowText.size(), row);
    if (error != std::errc() || end != rowText.data() + rowText.size() || row >= rows) {
        std::fprintf(stderr, "rsim-inspect: %.*s is not a row of the %zu consists listed\n",
                     static_cast<int>(rowText.size()), rowText.data(), rows);
        return std::nullopt;
    }
    const ChosenConsist choice =
        chooseConsist(*table, static_cast<int>(row), installRoot, language);
    const ConsistDetails& details = choice.details;

    std::string out = "{\"lines\": [";
    for (std::size_t i = 0; i < details.lines.size(); ++i)
        out += (i ? ", " : "") + jsonString(details.lines[i]);
    out += "], \"chosenVehicle\": " + text(details.chosenVehicle);
    out += ", \"timetable\": " + installFile(installRoot, details.timetableFile);
    out += ", \"timetableCaption\": " + jsonString(details.timetableCaption);
    out += ", \"timetableCut\": ";
    out += details.timetableCut ? "true" : "false";
    out += ", \"pictures\": [";
    for (std::size_t i = 0; i < choice.pictures.size(); ++i) {
        const PlacedPicture& picture = choice.pictures[i];
        const PicturePlace& p = picture.place;
        out += (i ? ", " : "");
        out += "{\"file\": " + installFile(installRoot, picture.file) +
               ", \"left\": " + std::to_string(p.left) + ", \"top\": " + std::to_string(p.top) +
               ", \"width\": " + std::to_string(p.width) +
               ", \"height\": " + std::to_string(p.height) + "}";
    }
    const std::string sceneryFile = sceneryFileName(sceneryPath);
    out += "], \"launch\": " + text(launchParameters(sceneryFile, details.chosenVehicle));
    out += ", \"command\": " +
           commandJson(simulatorCommand(installRoot, sceneryFile, details.chosenVehicle));
    return out + "}";
}

std::string settingsJson(const std::string& installRoot) {
    const SimulatorSettings settings = loadSimulatorSettings(installRoot);
    // Listed in the order the record declares its fields, as this tool always has: by their
    // places in the record.
    std::array<const SettingsField*, SettingsFields.size()> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = &SettingsFields[i];
    std::sort(fields.begin(), fields.end(), [&settings](const auto* a, const auto* b) {
        return std::less<>()(&(settings.*a->member), &(settings.*b->member));
    });
    std::string out = "{";
    for (const SettingsField* field : fields) {
        if (out.size() > 1) out += ", ";
        out += jsonString(field->name) + ": " + text(settings.*field->member);
    }
    return out + "}";
}

std::string problemJson(const SceneryProblem& problem) {
    using Kind = SceneryProblem::Kind;
    switch (problem.kind) {
    case Kind::UnlistedConsist: {
        std::string types;
        for (const std::string& type : problem.types)
            types += (types.empty() ? "" : ", ") + text(type);
        return "{\"kind\": \"unlisted-consist\", \"consist\": " + text(problem.subject) +
               ", \"types\": [" + types + "]}";
    }
    case Kind::NoThumbnail:
        return "{\"kind\": \"no-thumbnail\", \"type\": " + text(problem.subject) + "}";
    case Kind::MissingPicture:
        return "{\"kind\": \"missing-picture\", \"name\": " + text(problem.subject) + "}";
    case Kind::BrokenPicture:
        return "{\"kind\": \"broken-picture\", \"name\": " + text(problem.subject) +
               ", \"file\": " + jsonString(fileNameToUtf8(problem.file)) +
               ", \"error\": " + jsonString(problem.detail) + "}";
    case Kind::FoundByCase:
        return "{\"kind\": \"found-by-case\", \"name\": " + text(problem.subject) +
               ", \"file\": " + jsonString(fileNameToUtf8(problem.file)) + "}";
    }
    return "{}";
}

std::string sceneryCheckJson(const SceneryCheck& check, std::string_view action) {
    std::string out = "{\"file\": " + jsonString(fileNameToUtf8(check.file)) +
                      ", \"title\": " + jsonString(check.title);
    if (!action.empty()) out += ", \"action\": " + jsonString(action);
    out += ", \"problems\": [";
    for (std::size_t i = 0; i < check.problems.size(); ++i)
        out += (i ? ", " : "") + problemJson(check.problems[i]);
    return out + "]}";
}

std::string checkJson(const std::string& installRoot) {
    const std::vector<SceneryCheck> checks = checkInstallation(installRoot, sceneryPictureProblem);
    std::string out = "{\"sceneries\": [";
    for (std::size_t i = 0; i < checks.size(); ++i)
        out += (i ? ", " : "") + sceneryCheckJson(checks[i], {});
    return out + "]}";
}

std::string_view actionName(EntryAction action) {
    return action == EntryAction::Add       ? "add"
           : action == EntryAction::Replace ? "replace"
                                            : "refuse";
}

// The plan of installing a pack, and whether it can be installed: false, with the reason, when
// the pack breaks a limit or does not fit.
std::pair<std::string, bool> packJson(const std::string& installRoot, const std::string& archive) {
    const PackPlan plan = planPack(installRoot, archive, sceneryPictureProblem);
    std::string out = "{\"root\": " + jsonString(plan.root) + ", \"files\": [";
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const PlannedFile& file = plan.files[i];
        out += (i ? ", " : "") + std::string("{\"name\": ") + jsonString(file.name) +
               ", \"target\": " + jsonString(fileNameToUtf8(file.target)) +
               ", \"action\": " + jsonString(actionName(file.action));
        if (file.action == EntryAction::Refuse)
            out += ", \"reason\": " + jsonString(refusalKey(file.refusal));
        out += "}";
    }
    out += "], \"catalogue\": [";
    for (std::size_t i = 0; i < plan.offeredRecords.size(); ++i) {
        const CatalogueLines& record = plan.offeredRecords[i];
        out += (i ? ", " : "") + std::string("{\"match\": ") + text(record[0]) +
               ", \"display\": " + text(record[1]) +
               ", \"role\": " + std::to_string(catalogueInteger(record[2])) + "}";
    }
    out += "], \"sceneries\": [";
    for (std::size_t i = 0; i < plan.sceneries.size(); ++i)
        out += (i ? ", " : "") +
               sceneryCheckJson(plan.sceneries[i].check, actionName(plan.sceneries[i].action));
    out += "], \"bytes\": " + std::to_string(plan.bytes);
    out += ", \"spaceNeeded\": " + std::to_string(plan.spaceNeeded) +
           ", \"spaceFree\": " + std::to_string(plan.spaceFree);
    std::string error = plan.error.text();
    if (!plan.error && !plan.installable()) error = "Not enough free space for the pack";
    if (!error.empty()) out += ", \"error\": " + jsonString(error);
    return {out + "}", error.empty()};
}

// The exact bytes that the options window's OK writes right after start-up.
int resave(const std::string& installRoot) {
    const std::string file = OptionsWorkingCopy(loadSimulatorSettings(installRoot)).settingsFile();
    return std::fwrite(file.data(), 1, file.size(), stdout) == file.size() ? 0 : 1;
}

int usage() {
    std::fputs("usage: rsim-inspect catalogue INSTALL_DIR\n"
               "       rsim-inspect consists INSTALL_DIR SCENERY_FILE\n"
               "       rsim-inspect scenery INSTALL_DIR SCENERY_FILE [--lang pl|en]\n"
               "       rsim-inspect details INSTALL_DIR SCENERY_FILE ROW [--lang pl|en]\n"
               "       rsim-inspect settings INSTALL_DIR\n"
               "       rsim-inspect resave INSTALL_DIR\n"
               "       rsim-inspect check INSTALL_DIR\n"
               "       rsim-inspect pack INSTALL_DIR ARCHIVE\n",
               stderr);
    return 2;
}

// The interface language of "--lang pl|en" at argv[at], Polish without one.
std::optional<Language> languageOption(int argc, char** argv, int at) {
    if (argc == at) return Language::Polish;
    const std::string option = argv[at], value = argv[at + 1];
    if (option != "--lang" || (value != "pl" && value != "en")) return std::nullopt;
    return value == "en" ? Language::English : Language::Polish;
}

// The installation folder as the launcher holds it: without a trailing separator.
std::string installRootArgument(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const std::string installRoot = installRootArgument(argv[2]);
    std::string json;
    int status = 0;
    if (command == "catalogue" && argc == 3)
        json = catalogueJson(installRoot);
    else if (command == "consists" && argc == 4)
        json = consistsJson(installRoot, argv[3]);
    else if (command == "scenery" && (argc == 4 || argc == 6)) {
        const std::optional<Language> language = languageOption(argc, argv, 4);
        if (!language) return usage();
        json = sceneryJson(installRoot, argv[3], *language);
    } else if (command == "settings" && argc == 3)
        json = settingsJson(installRoot);
    else if (command == "details" && (argc == 5 || argc == 7)) {
        const std::optional<Language> language = languageOption(argc, argv, 5);
        if (!language) return usage();
        const std::optional<std::string> details =
            detailsJson(installRoot, argv[3], argv[4], *language);
        if (!details) return 2;
        json = *details;
    } else if (command == "resave" && argc == 3)
        return resave(installRoot);
    else if (command == "check" && argc == 3)
        json = checkJson(installRoot);
    else if (command == "pack" && argc == 4) {
        auto [plan, installable] = packJson(installRoot, argv[3]);
        json = std::move(plan);
        status = installable ? 0 : 1;
    } else
        return usage();
    json += '\n';
    std::fwrite(json.data(), 1, json.size(), stdout);
    return status;
}
