// Torvia RSIM-424 Loader: the launcher of the RSIM-424 train-driving simulator.

#include "catalogue/Unit2.h"
#include "settings/Unit4.h"
#include "shell/Unit1.h"
#include "shell/Unit3.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The caption of the launcher's message boxes.
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // The main window is created first; the options window last, once the settings are read.
    TForm1 Form1(argc > 0 ? argv[0] : "");
    TForm2 Form2(&Form1);
    TForm3 Form3(&Form1);
    TForm4 Form4(&Form1, Form1.state().Settings, Form1.state().InterfaceLanguage,
                 Form1.state().InstallRoot);
    Form1.setSecondaryWindows(&Form2, &Form3, &Form4);
    Form1.show();
    return QApplication::exec();
}
