#pragma once

#include "platform/Language.h"
#include <QString>

#include <vector>

class QWidget;
class TForm1;
class TForm2;
class TForm3;
class TForm4;

// A caption that the language switch sets, with its text in each interface language. The Polish
// texts are the captions as the windows are designed.
struct Caption {
    QWidget* control; // a window for its title, or a group box, button, check box or label
    QString polish;
    QString english;
};

// Every caption of the four windows that follows the interface language, in the order they are
// set.
std::vector<Caption> captionTable(TForm1& main, TForm2& timetable, TForm3& about, TForm4& options);

// Sets every caption of the table in an interface language.
void setCaptions(const std::vector<Caption>& table, Language language);
