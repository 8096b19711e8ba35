#pragma once

#include "settings/launch/WineEnvironment.h"

#include <string>

// Whether the wine a start runs can run a 32-bit Windows program, as far as its files tell.
//
// Wine is often a script that picks one of its loaders, so the loaders are the programs the
// script names. A 64-bit loader runs a 32-bit program through a 32-bit loader of the same name
// without "64" beside it, or, where wine was built for it (the WoW64 mode of wine 9 and later),
// itself, with 32-bit Windows libraries of its own (i386-windows/ntdll.dll). Either way the
// prefix needs its 32-bit system folder, syswow64, which only a wine that could run 32-bit
// programs fills when it creates the prefix.
enum class Wine32Bit {
    Runs,
    Unsure,      // wine's files do not tell: the start shows it
    WineLacks,   // neither a 32-bit loader nor wine's own 32-bit libraries
    PrefixLacks, // wine can, but the prefix was made by a wine that could not
};
Wine32Bit wine32BitSupport(const WineEnvironment& wine);

// Has wine bring the prefix up to date at its next start, as it does after a new version of
// wine: the stamp of its last update is removed, unless the player has turned updates off.
void requestPrefixUpdate(const std::string& prefix);
