#pragma once

#include "catalogue/window/Unit2.h"
#include "settings/window/Unit4.h"
#include "shell/window/Unit1.h"
#include "shell/window/Unit3.h"

#include <string>

// The launcher's windows. The main window is built at start and reads the settings file while
// it is built; it builds the timetable, about and options windows when they are first needed.
struct AllWindows {
    // argv0 is the name the launcher was started by; it decides the installation folder.
    explicit AllWindows(const std::string& argv0);

    TForm1 Form1;
};
