#include "shell/Unit3.h"

#include "platform/Fonts.h"
#include "platform/WindowPlacement.h"

#include <QColor>

TForm3::TForm3(const QWidget* mainWindow)
    : ToolWindow(mainWindow, 247, 186, QStringLiteral("O programie")) {
    fillBackground(this, QColor(192, 220, 192));
    setFont(designedFont(DesignedFace::Arial, 11));
}
