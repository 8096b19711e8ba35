#pragma once

#include "catalogue/window/Unit2.h"
#include "packs/PackInstall.h"
#include "packs/window/Unit5.h"
#include "settings/window/Unit4.h"
#include "shell/window/BuiltWhenNeeded.h"
#include "shell/window/Unit1.h"
#include "shell/window/Unit3.h"

#include <string>

// The launcher's windows. The main window is built at start and reads the settings file while
// it is built; it builds the timetable, about and options windows when they are first needed,
// and the install window is built when a pack or an undo first needs it.
struct AllWindows {
    // argv0 is the name the launcher was started by; it decides the installation folder.
    explicit AllWindows(const std::string& argv0);

    // What an install or undo cut short had left, taken back as the installation is opened,
    // before any window reads it.
    Recovery recovered;
    TForm1 Form1;
    BuiltWhenNeeded<TForm5> Form5;
};
