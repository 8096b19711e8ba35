#include "shell/window/AllWindows.h"

AllWindows::AllWindows(const std::string& argv0)
    : Form1(argv0), Form2(&Form1), Form3(&Form1),
      Form4(&Form1, Form1.state().Settings, Form1.state().InterfaceLanguage,
            Form1.state().InstallRoot) {
    Form1.setSecondaryWindows(&Form2, &Form3, &Form4);
}
