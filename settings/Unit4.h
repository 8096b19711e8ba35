#pragma once

#include "platform/ToolWindow.h"

class QPlainTextEdit;

// The options window, which edits the simulator's settings file.
class TForm4 : public ToolWindow {
    Q_OBJECT
public:
    explicit TForm4(const QWidget* mainWindow);

    // The settings writer's line buffer; it lies outside the window and is never seen.
    QPlainTextEdit* Memo1;
};
