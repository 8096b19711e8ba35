#include "catalogue/window/Unit2.h"

#include "platform/system/Words.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/WindowPlacement.h"

#include <QPlainTextEdit>

TForm2::TForm2(QWidget* mainWindow) : ToolWindow(mainWindow, 551, 456) {
    setFont(windowFont());

    // Two pixels wider and one higher than the window, as designed, so that no frame shows.
    Memo3 = new QPlainTextEdit(this);
    Memo3->setGeometry(0, 0, 553, 457);
    Memo3->setReadOnly(true);
    Memo3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A timetable longer than the window can still be read to its end.
    Memo3->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo3->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette palette = Memo3->palette();
    palette.setColor(QPalette::Base, Qt::white);
    Memo3->setPalette(palette);
    Memo3->setPlainText(QStringLiteral("Error"));
    showTexts(texts(), Language::Polish);
}

std::vector<WindowText> TForm2::texts() {
    return {
        {this, TextRole::Caption, Words::TimetableTitle},
        {Memo3, TextRole::AccessibleName, Words::TimetableTitle},
    };
}

void TForm2::showTimetable(const QString& caption, const QString& timetable) {
    setWindowTitle(caption);
    Memo3->setPlainText(timetable);
}

void TForm2::showEvent(QShowEvent* event) {
    // The timetable's font is found when it is first shown rather than while the launcher starts.
    const QFont timetable = designedFont(DesignedFace::Courier, 11);
    if (Memo3->font() != timetable) Memo3->setFont(timetable);
    ToolWindow::showEvent(event);
}

void TForm2::setLanguage(Language language) {
    showTexts(texts(), language);
}
