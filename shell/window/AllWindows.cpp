#include "shell/window/AllWindows.h"

AllWindows::AllWindows(const std::string& argv0) : Form1(argv0) {}
