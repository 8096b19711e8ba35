#pragma once

#include "packs/PackError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an install keeps in its backup folder: the journal of what it does, and the files it
// replaced, under files/ at their places relative to the installation. The journal is a text
// file, "journal.txt", of one line each:
//   RSIM pack install 1
//   pack NAME / time SECONDS / token HEX
//   folder PATH           a folder the install makes, each after its parent
//   add PATH, replace PATH  the files it writes, in the order it places them
//   ready                 all of the above is written; nothing was made before
//   commit                every file is written beside its target; placing them begins
//   done                  every file is in place
//   undo                  undoing the install has begun
// Paths are relative to the installation, '/'-separated; the names a pack may have hold no line
// end. File n is written first to ".rsim-TOKEN-n" in its target's folder.
struct InstallJournal {
    enum class Stage { Incomplete, Ready, Committed, Done, Undoing };
    struct File {
        bool replaces = false;
        std::string target;
    };

    std::string folder; // the backup folder, absolute
    std::string packName;
    std::int64_t time = 0;
    std::string token;
    std::vector<std::string> folders;
    std::vector<File> files;
    Stage stage = Stage::Incomplete;

    std::string path() const { return folder + "/journal.txt"; }
    std::string tempOf(const std::string& installRoot, std::size_t n) const;
    std::string backupOf(const std::string& target) const { return folder + "/files/" + target; }
};

// Writes a new journal, up to its "ready" line.
PackError writeJournal(const InstallJournal& journal);
// Appends "commit", "done" or "undo", and moves the journal on to that stage.
PackError advanceJournal(InstallJournal& journal, InstallJournal::Stage stage);
// The journal of a backup folder; nothing when it has none, or one this launcher did not write.
std::optional<InstallJournal> readJournal(const std::string& folder);

// Moves a file, across file systems too: the target is replaced in one step, and the source
// goes only once the target is whole.
PackError moveFile(const std::string& from, const std::string& to);

// Takes back what an install has done, from its journal, whichever step it was cut short at:
// removes what it added and puts back what it replaced. A finished install is undone so; doing
// it again after a kill finishes it.
PackError takeBack(const std::string& installRoot, const InstallJournal& journal);
// Removes the backup folder once nothing of it is needed, and the folder of all backups when it
// is left empty.
void removeBackupFolder(const InstallJournal& journal);
