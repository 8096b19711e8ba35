#pragma once

#include "catalogue/SceneryCheck.h"
#include "packs/CatalogueAddition.h"
#include "packs/EntryPath.h"
#include "packs/PackError.h"

#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

// The folder of an installation where the launcher keeps what installs replaced, one folder for
// each install; no pack writes there.
inline constexpr std::string_view BackupFolderName = "pack-backups";

enum class EntryAction { Add, Replace, Refuse };

// What installing one file entry of a pack would do. Folders are not listed: they are made as
// their files need them.
struct PlannedFile {
    std::size_t index = 0; // the entry's place in the archive
    std::string rawName;   // its name's bytes, checked again when installing
    std::string name;      // UTF-8
    // Relative to the installation, '/'-separated, each name as it will stand on disk; "" when
    // the entry is refused before it has a place.
    std::string target;
    EntryAction action = EntryAction::Refuse;
    Refusal refusal = Refusal::None;
    std::uint64_t size = 0;
    bool hasTime = false;
    std::int64_t seconds = 0;
    long nanoseconds = 0;
};

// A scenery the pack adds or replaces, checked as it will stand after the install, with the
// catalogue records offered added.
struct PlannedScenery {
    EntryAction action = EntryAction::Add;
    SceneryCheck check;
};

// What installing a pack into an installation would do, worked out without writing anything
// there (pictures to be checked are unpacked into a private temporary folder).
//
// The pack's root is the shallowest folder of the archive with a sub-folder that the
// installation has at its top or that the launcher reads (scenery, dynamic, textures); a pack
// wrapped in a top folder installs as if the wrapper were not there. Entries outside the root
// are refused. Each name of a path takes the case of the folder or file the installation or an
// earlier entry already has: "Scenery/Images/X.JPG" lands in "scenery/images" and replaces
// "x.jpg" there.
struct PackPlan {
    std::string installRoot;
    std::string archive;  // the pack's file
    std::string packName; // the archive's file name without its extension
    // Why the plan stopped: the pack cannot be read, breaks one of PackLimits, or the planning
    // was stopped. Nothing else of the plan counts then.
    PackError error;

    std::string root; // the pack's root inside the archive, UTF-8, "" for its top
    std::vector<PlannedFile> files;
    std::vector<std::string> newFolders; // made for the files, each after its parent

    // The installation's catalogue, relative, and the records of the pack's catalogue that it
    // lacks, offered to be added at its end.
    std::string catalogue;
    std::vector<CatalogueLines> offeredRecords;

    std::vector<PlannedScenery> sceneries;

    std::uint64_t bytes = 0;       // the files' sizes together
    std::uint64_t spaceNeeded = 0; // on disk, the catalogue's new file included
    std::uint64_t spaceFree = 0;

    bool installable() const { return !error && spaceNeeded <= spaceFree; }
};

// Reads the pack's headers, and the data of its sceneries, catalogue and scenery pictures, to
// plan its install. verdict loads pictures; without one, broken pictures are not found. stop
// ends the planning early, with Kind::Cancelled.
PackPlan planPack(const std::string& installRoot, const std::string& archive,
                  const PictureVerdict& verdict = {}, const std::stop_token& stop = {});
