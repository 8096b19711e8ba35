#pragma once

#include "platform/system/Language.h"
#include "platform/widgets/ToolWindow.h"
#include "platform/widgets/WindowTexts.h"

#include <vector>

class ClickLabel;
class PictureBox;
class QLabel;

// The about window: the launcher's title picture, name, version, credit and web address.
class TForm3 : public ToolWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* mainWindow);

    // Label3's author credit line in an interface language.
    static QString creditLine(Language language);

    // The controls, named as designed.
    PictureBox* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    ClickLabel* Label4 = nullptr;

    // Opens the project's web address with the desktop's handler for it.
    void Label4Click();

    // The window's texts in the interface language.
    void setLanguage(Language language);

private:
    std::vector<WindowText> texts();
};
