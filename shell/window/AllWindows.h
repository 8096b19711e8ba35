#pragma once

#include "catalogue/window/Unit2.h"
#include "packs/PackInstall.h"
#include "packs/window/Unit5.h"
#include "settings/window/Unit4.h"
#include "shell/window/Unit1.h"
#include "shell/window/Unit3.h"

#include <string>

// The launcher's four windows, created in this order: the main window reads the settings file
// while it is created, and the options window, created last, copies what it read. The install
// window follows them.
struct AllWindows {
    // argv0 is the name the launcher was started by; it decides the installation folder.
    explicit AllWindows(const std::string& argv0);

    // What an install or undo cut short had left, taken back as the installation is opened,
    // before any window reads it.
    Recovery recovered;
    TForm1 Form1;
    TForm2 Form2;
    TForm3 Form3;
    TForm4 Form4;
    TForm5 Form5;
};
