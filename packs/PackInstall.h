#pragma once

#include "packs/PackError.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

struct PackPlan;

// Installing a planned pack, undoing the last install, and recovering from an install cut short.
//
// An install first writes every file of the pack beside its target, under a hidden temporary
// name, and only then renames them into place, one after the other; a file it replaces is first
// moved into a backup folder, <installation>/pack-backups/<pack> <date> <time>/files/, at its
// place relative to the installation. A journal in that folder lists what the install does, so
// that a failure at any point, a full disk, a cancel, or the launcher killed, is undone: at once
// by the install itself, or, after a kill, by recoverInstalls when the installation is next
// opened. A finished install keeps its folder and journal for its undo. Only one launcher
// installs into an installation at a time; the others are told so.

// How far an install has come, for a progress bar: the bytes written while the pack is
// unpacked, then the files placed, which takes little time.
struct InstallProgress {
    std::uint64_t bytesWritten = 0;
    std::uint64_t bytesTotal = 0;
    std::size_t filesPlaced = 0;
    std::size_t filesTotal = 0;
};
// Called on the installing thread, often: after every block written and every file placed.
using InstallProgressCallback = std::function<void(const InstallProgress&)>;

struct InstallOptions {
    // The pack's catalogue records the installation lacks are added, as the player confirmed.
    bool addCatalogueRecords = true;
};

// A finished install, as kept for its undo.
struct InstallRecord {
    std::string folder; // its backup folder, absolute; the window tells the player
    std::string packName;
    std::int64_t time = 0; // when it was made, in seconds since the epoch
    std::size_t added = 0;
    std::size_t replaced = 0; // the catalogue, when records were added, among them
};

struct InstallResult {
    PackError error; // Kind::None when installed; Kind::Cancelled when stopped
    InstallRecord record;
};

// Installs what the plan says, which must be installable. Runs on any one thread: stop cancels
// it, from any thread, and it then leaves the installation as it was. A plan is good for an
// install while the pack and the installation stay as they were; a change the install meets
// fails it with Kind::PackChanged, and it leaves the installation as it was.
InstallResult installPack(const PackPlan& plan, const InstallOptions& options,
                          const std::stop_token& stop = {},
                          const InstallProgressCallback& progress = {});

// The last finished install of the installation that has not been undone.
std::optional<InstallRecord> lastInstall(const std::string& installRoot);

// Undoes the last install: removes the files it added and the folders it made (those left
// empty), and puts back what it replaced, byte for byte; then removes its backup folder. The
// record must be lastInstall's. A kill halfway is finished by recoverInstalls.
PackError undoInstall(const std::string& installRoot, const InstallRecord& record);

// Called when an installation is opened: undoes what a killed install left, and finishes an
// undo that was killed. The pack names concerned, or why nothing could be done (Kind::Busy
// while another launcher installs into the installation).
struct Recovery {
    std::vector<std::string> rolledBack; // installs cut short, now undone
    std::vector<std::string> undone;     // undos cut short, now finished
    PackError error;

    bool empty() const { return rolledBack.empty() && undone.empty() && !error; }
};
Recovery recoverInstalls(const std::string& installRoot);
