#include "settings/Unit4.h"

#include "platform/Fonts.h"
#include "platform/WindowPlacement.h"

#include <QColor>
#include <QPlainTextEdit>

TForm4::TForm4(const QWidget* mainWindow)
    : ToolWindow(mainWindow, 417, 528, QStringLiteral("Opcje")) {
    fillBackground(this, QColor(192, 220, 192));
    setFont(designedFont(DesignedFace::MsSansSerif, 11));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(464, 48, 257, 249);
    Memo1->setFocusPolicy(Qt::NoFocus);
}
