#pragma once

#include "platform/ToolWindow.h"

#include "platform/Language.h"

class ClickLabel;
class PictureBox;
class QLabel;

// The about window: the launcher's title picture, name, version, credit and web address.
class TForm3 : public ToolWindow {
    Q_OBJECT
public:
    explicit TForm3(const QWidget* mainWindow);

    // Label3's author credit line in an interface language.
    static QString creditLine(Language language);

    // The controls, named as designed.
    PictureBox* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    ClickLabel* Label4;

    // Opens the project's web address with the desktop's handler for it.
    void Label4Click();
};
