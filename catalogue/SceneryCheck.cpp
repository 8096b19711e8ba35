#include "catalogue/SceneryCheck.h"

#include "catalogue/ConsistDetails.h"
#include "catalogue/ConsistParser.h"
#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"
#include "platform/system/AsciiCase.h"
#include "platform/system/InstallPath.h"

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

namespace {

using Kind = SceneryProblem::Kind;

bool isDriverWord(std::string_view word) {
    return word == "headdriver" || word == "reardriver" || word == "passenger";
}

// Collects the consists the list leaves out for want of catalogue records: those with a driver
// or passenger place in a vehicle whose type the catalogue lacks.
class UnlistedConsists final : public ConsistListener {
public:
    UnlistedConsists(const VehicleCatalogue& catalogue, std::vector<SceneryProblem>& problems)
        : catalogue_(catalogue), problems_(problems) {}

    void vehicleKept(const VehicleSlot& vehicle) override {
        if (known(vehicle.VehicleType)) return;
        missingPlace_ = missingPlace_ || isDriverWord(vehicle.DriverType);
        if (std::find(types_.begin(), types_.end(), vehicle.VehicleType) == types_.end())
            types_.push_back(vehicle.VehicleType);
    }

    void consistRead(const ConsistRecord& consist, bool listed) override {
        if (!listed && missingPlace_)
            problems_.push_back({Kind::UnlistedConsist, consist.ConsistName, types_, {}, {}});
        types_.clear();
        missingPlace_ = false;
    }

private:
    // The first comparison of the catalogue lookup: a type no record names stays unknown.
    bool known(const std::string& type) const {
        for (int n = 1; n <= catalogue_.CatalogueCount; ++n)
            if (equalsUpperCased(type, catalogue_.record(n).MatchName)) return true;
        return false;
    }

    const VehicleCatalogue& catalogue_;
    std::vector<SceneryProblem>& problems_;
    std::vector<std::string> types_;
    bool missingPlace_ = false;
};

// The last name of a path, whichever separator it uses.
std::string_view lastName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

class Checker {
public:
    Checker(const InstallationFiles& files, std::vector<SceneryProblem>& problems)
        : files_(files), problems_(problems) {}

    // The file a path names, or "" when there is none. A file whose own name the scenery or
    // the catalogue writes otherwise than it stands is reported once; the folders are the
    // launcher's to name.
    std::string find(const std::string& windowsPath) {
        std::string found = files_.resolve(windowsPath);
        if (!files_.isFile(found)) return {};
        if (lastName(found) != lastName(windowsPath) && reported_.insert(found).second)
            problems_.push_back({Kind::FoundByCase, windowsPath, {}, found, {}});
        return found;
    }

    void checkPicture(const std::string& picture) {
        const std::string windowsPath = "\\scenery\\images\\" + picture;
        const std::string found = find(windowsPath);
        if (found.empty()) {
            problems_.push_back({Kind::MissingPicture, windowsPath, {}, {}, {}});
            return;
        }
        std::string why = files_.pictureProblem(found);
        if (!why.empty())
            problems_.push_back({Kind::BrokenPicture, windowsPath, {}, found, std::move(why)});
    }

    void checkConsist(const ConsistRecord& consist) {
        if (hasTimetable(consist.ConsistName)) find(timetablePath(consist.ConsistName));
        for (int j = 1; j <= consist.VehicleCount && j <= ConsistRecord::SlotCount; ++j) {
            const std::string& type = consist.slot(j).VehicleType;
            // A vehicle from outside the PKP folder has no type to name a picture by.
            if (type.empty() || !typesSeen_.insert(type).second) continue;
            if (find(vehiclePicturePath(type)).empty())
                problems_.push_back({Kind::NoThumbnail, type, {}, {}, {}});
        }
    }

private:
    const InstallationFiles& files_;
    std::vector<SceneryProblem>& problems_;
    std::set<std::string> reported_;
    std::set<std::string> typesSeen_;
};

} // namespace

InstalledFiles::InstalledFiles(std::string installRoot, PictureVerdict verdict)
    : root_(std::move(installRoot)), verdict_(std::move(verdict)) {}

std::string InstalledFiles::resolve(std::string_view windowsPath) const {
    return resolveInstallPath(root_, windowsPath).substr(root_.size() + 1);
}

bool InstalledFiles::isFile(const std::string& relative) const {
    return fileExists(root_ + '/' + relative);
}

std::string InstalledFiles::pictureProblem(const std::string& relative) const {
    return verdict_ ? verdict_(root_ + '/' + relative) : std::string();
}

bool isSceneryFileName(std::string_view name) {
    constexpr std::string_view extension = ".SCN";
    return !name.empty() && name[0] != '.' && name.size() > extension.size() &&
           equalsUpperCased(name.substr(name.size() - extension.size()), extension);
}

SceneryCheck checkScenery(TextReader& scenery, const std::string& file,
                          const VehicleCatalogue& catalogue, const InstallationFiles& files) {
    SceneryCheck check;
    check.file = file;
    const auto table = std::make_unique<ConsistTable>();
    UnlistedConsists unlisted(catalogue, check.problems);
    const SceneryReading reading = readScenery(scenery, catalogue, *table, &unlisted);
    check.title = displayedSceneryTitle(reading.markers, sceneryFileName(file));

    Checker checker(files, check.problems);
    if (!reading.markers.picture.empty()) checker.checkPicture(reading.markers.picture);
    for (int k = 1; k <= static_cast<int>(reading.rows.size()); ++k)
        checker.checkConsist(table->consist(k));
    return check;
}

std::vector<SceneryCheck> checkInstallation(const std::string& installRoot,
                                            const PictureVerdict& verdict) {
    const InstalledFiles files(installRoot, verdict);
    const std::string folder = files.resolve("\\scenery");
    std::vector<std::string> names;
    if (const std::unique_ptr<DIR, int (*)(DIR*)> dir(
            ::opendir((installRoot + '/' + folder).c_str()), &::closedir);
        dir) {
        while (const dirent* entry = ::readdir(dir.get()))
            if (isSceneryFileName(entry->d_name)) names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());

    const auto catalogue = std::make_unique<VehicleCatalogue>(loadVehicleCatalogue(installRoot));
    std::vector<SceneryCheck> checks;
    for (const std::string& name : names) {
        const std::string file = folder + '/' + name;
        if (!fileExists(installRoot + '/' + file)) continue;
        TextReader in = TextReader::open(installRoot + '/' + file, SceneryLimits);
        checks.push_back(checkScenery(in, file, *catalogue, files));
    }
    return checks;
}
