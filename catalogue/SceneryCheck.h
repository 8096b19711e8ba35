#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TextReader;
struct VehicleCatalogue;

// What a scenery lacks that the launcher itself would miss, so that a scenery author, or a player
// installing a pack, learns why a train list stays empty before starting the simulator:
// - a consist that the list leaves out because the catalogue lacks vehicle types it uses for a
//   driver or passenger place (those types given; with them it could be listed);
// - a vehicle type of a listed consist without its own picture in textures\mini, which the
//   details then show as other.bmp;
// - a picture marker naming a picture that is missing, or one that cannot be loaded;
// - a file the launcher finds only because it looks without regard to case, or without
//   trailing blanks and dots, as Windows does: the scenery or the catalogue writes its name
//   otherwise than it stands, and a tool that looks names up as written misses it.
struct SceneryProblem {
    enum class Kind { UnlistedConsist, NoThumbnail, MissingPicture, BrokenPicture, FoundByCase };

    Kind kind = Kind::UnlistedConsist;
    // The consist's name, the vehicle type, or the path as the scenery names it below the
    // installation, backslashes and all. Bytes of the scenery file.
    std::string subject;
    std::vector<std::string> types; // the types the catalogue lacks, as the scenery writes them
    std::string file;               // the file found, relative to the installation, '/'-separated
    std::string detail;             // why a picture cannot be loaded, UTF-8
};

struct SceneryCheck {
    std::string file;  // relative to the installation, '/'-separated
    std::string title; // as the main window shows it, UTF-8
    std::vector<SceneryProblem> problems;
};

// Why the picture file at path cannot be loaded as the main window loads a scenery's picture,
// UTF-8 without a final full stop, or "" when it loads. Loading pictures takes the picture
// library, which this check does without: see packs/PictureCheck.h. Without a verdict only
// missing pictures are found.
using PictureVerdict = std::function<std::string(const std::string& path)>;

// An installation's files as the check finds them: on disk, or as they will stand once a pack is
// installed.
class InstallationFiles {
public:
    virtual ~InstallationFiles() = default;

    // The file Windows opens for a path below the installation in Windows form, such as
    // "\scenery\images\x.jpg": relative to the installation, '/'-separated, each name as it
    // stands; a name not found stays as written.
    virtual std::string resolve(std::string_view windowsPath) const = 0;
    virtual bool isFile(const std::string& relative) const = 0;
    // Why the picture there cannot be loaded, as PictureVerdict says; "" when it can, or when
    // pictures are not loaded.
    virtual std::string pictureProblem(const std::string& relative) const = 0;
};

// The files of an installation on disk.
class InstalledFiles final : public InstallationFiles {
public:
    InstalledFiles(std::string installRoot, PictureVerdict verdict);

    std::string resolve(std::string_view windowsPath) const override;
    bool isFile(const std::string& relative) const override;
    std::string pictureProblem(const std::string& relative) const override;

private:
    std::string root_;
    PictureVerdict verdict_;
};

// Checks one scenery, read from its start, against a catalogue and the installation's files.
// file is the scenery's place relative to the installation.
SceneryCheck checkScenery(TextReader& scenery, const std::string& file,
                          const VehicleCatalogue& catalogue, const InstallationFiles& files);

// Checks every scenery the main window lists, in byte order of their names, against the
// installation's own catalogue.
std::vector<SceneryCheck> checkInstallation(const std::string& installRoot,
                                            const PictureVerdict& verdict);

// Whether the main window lists a file of that name in the scenery folder: one whose name ends in
// ".scn" in any case and is not hidden.
bool isSceneryFileName(std::string_view name);
