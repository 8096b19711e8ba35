#include "shell/window/AllWindows.h"

#include "platform/system/ProgramPath.h"

AllWindows::AllWindows(const std::string& argv0)
    : recovered(recoverInstalls(installFolderOfThisProgram(argv0))), Form1(argv0), Form2(&Form1),
      Form3(&Form1), Form4(&Form1, Form1.state().Settings, Form1.state().InterfaceLanguage,
                           Form1.state().InstallRoot),
      Form5(&Form1, Form1.state().InterfaceLanguage, Form1.state().InstallRoot) {
    Form1.setSecondaryWindows(&Form2, &Form3, &Form4);
    QObject::connect(&Form1, &TForm1::packDropped, &Form5, &TForm5::openPack);
    QObject::connect(&Form5, &TForm5::installationChanged, &Form1,
                     &TForm1::showInstallationChanges);
}
