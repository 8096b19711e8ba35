#include "shell/window/AllWindows.h"

#include "platform/system/ProgramPath.h"

AllWindows::AllWindows(const std::string& argv0)
    : recovered(recoverInstalls(installFolderOfThisProgram(argv0))), Form1(argv0), Form5([this] {
          auto window = std::make_unique<TForm5>(&Form1, Form1.state().InterfaceLanguage,
                                                 Form1.state().InstallRoot);
          QObject::connect(window.get(), &TForm5::installationChanged, &Form1,
                           &TForm1::showInstallationChanges);
          return window;
      }) {
    QObject::connect(&Form1, &TForm1::packDropped, &Form1,
                     [this](const std::string& archive) { Form5->openPack(archive); });
}
