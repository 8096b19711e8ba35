#pragma once

#include "catalogue/SceneryCheck.h"
#include "packs/EntryPath.h"
#include "packs/PackError.h"
#include "platform/system/Language.h"

#include <cstdint>
#include <string>

// What the install window says of what the planning, the install and the undo found, in the
// interface language, UTF-8 and without a final full stop. The core words its findings in
// English for rsim-inspect; the player reads them here in Polish or English. The system's own
// reasons (a file that cannot be written, an archive that cannot be read) are given in the
// player's language where they are the common ones, and in the system's words otherwise.

// Why the pack cannot be planned, installed or its install undone. spaceNeeded is what the
// install needs on the disk, named when the disk is too full.
std::string packErrorText(Language language, const PackError& error, std::uint64_t spaceNeeded = 0);

// Why an entry of the pack is not installed, such as "poza paczką".
std::string refusalText(Language language, Refusal refusal);

// What a scenery will lack, one sentence; the scenery is named by the caller.
std::string problemText(Language language, const SceneryProblem& problem);

// A number of bytes as a player reads it, such as "12,3 MB" or "12.3 MB".
std::string sizeText(Language language, std::uint64_t bytes);
