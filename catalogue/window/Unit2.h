#pragma once

#include "platform/system/Language.h"
#include "platform/widgets/ToolWindow.h"
#include "platform/widgets/WindowTexts.h"

#include <vector>

class QPlainTextEdit;

// The timetable window: one text box filling it, showing a consist's timetable file.
class TForm2 : public ToolWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* mainWindow);

    QPlainTextEdit* Memo3 = nullptr;

    // Shows a consist's timetable, under its caption.
    void showTimetable(const QString& caption, const QString& timetable);
    // The window's texts in the interface language. The caption of a timetable shown goes back
    // to the window's own; its text stays.
    void setLanguage(Language language);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::vector<WindowText> texts();
};
