#pragma once

#include "platform/system/Language.h"

#include <string>

// Started outside an installation (see shell/FirstStart.h): tells the player so and asks for
// the installation's folder until one is accepted or the player gives up. For an accepted
// folder the launcher places its link and menu entry and starts anew through the link, or, where
// the folder takes no link, with the folder named by an option. So this returns only when the
// launcher ends here: 0 when the player quits or cancels, 1 when the new start failed. ownFolder
// is the folder the launcher was started in.
int startOutsideInstallation(const std::string& ownFolder, Language language);
