#pragma once

#include "catalogue/window/Unit2.h"
#include "settings/window/Unit4.h"
#include "shell/window/Unit1.h"
#include "shell/window/Unit3.h"

#include <string>

// The launcher's four windows, created in this order: the main window reads the settings file
// while it is created, and the options window, created last, copies what it read.
struct AllWindows {
    // argv0 is the name the launcher was started by; it decides the installation folder.
    explicit AllWindows(const std::string& argv0);

    TForm1 Form1;
    TForm2 Form2;
    TForm3 Form3;
    TForm4 Form4;
};
