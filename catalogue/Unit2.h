#pragma once

#include "platform/ToolWindow.h"

class QPlainTextEdit;

// The timetable window: one text box filling it, showing a consist's timetable file.
class TForm2 : public ToolWindow {
    Q_OBJECT
public:
    explicit TForm2(const QWidget* mainWindow);

    // Shows a consist's timetable, under its caption.
    void showTimetable(const QString& caption, const QString& timetable);

    QPlainTextEdit* Memo3;
};
