#include "shell/Captions.h"

#include "catalogue/Unit2.h"
#include "settings/Unit4.h"
#include "shell/Unit1.h"
#include "shell/Unit3.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

std::vector<Caption> captionTable(TForm1& main, TForm2& timetable, TForm3& about, TForm4& options) {
    const auto both = QStringLiteral("Odwróć (Invert mouse)");
    return {
        {main.GroupBox1, QStringLiteral("Trasa:"), QStringLiteral("Route:")},
        {main.GroupBox2, QStringLiteral("Sklady możliwe do prowadzenia:"),
         QStringLiteral("Select the train:")},
        {main.Button1, QStringLiteral("Uruchom symulator"), QStringLiteral("Run simulator")},
        {main.Button7, QStringLiteral("Zobacz rozkład jazdy"), QStringLiteral("Show timetable")},
        {main.Button6, QStringLiteral("Zobacz intro"), QStringLiteral("View intro")},
        {main.Button3, QStringLiteral("Pomoc"), QStringLiteral("Help")},
        {main.Button2, QStringLiteral("Opcje"), QStringLiteral("Options")},
        {main.Button4, QStringLiteral("O programie"), QStringLiteral("About")},
        {main.Button5, QStringLiteral("Wyjście"), QStringLiteral("Quit")},
        {&timetable, QStringLiteral("Rozkład jazdy"), QStringLiteral("Timetable")},
        {&about, QStringLiteral("O programie"), QStringLiteral("About")},
        {about.Label3, TForm3::creditLine(Language::Polish), TForm3::creditLine(Language::English)},
        {&options, QStringLiteral("Opcje"), QStringLiteral("Options")},
        {options.GroupBox1, QStringLiteral("Grafika"), QStringLiteral("Graphics")},
        {options.GroupBox3, QStringLiteral("Mysz"), QStringLiteral("Mouse")},
        {options.GroupBox2, QStringLiteral("Pozostałe"), QStringLiteral("Other")},
        {options.CheckBox8, both, QStringLiteral("Invert mouse")},
        {options.CheckBox10, both, QStringLiteral("Invert mouse")},
        {options.CheckBox9, QStringLiteral("Tryb Freefly - latanie po całej trasie"),
         QStringLiteral("Freefly mode")},
        {options.CheckBox1, QStringLiteral("Dźwięki przestrzenne"),
         QStringLiteral("Surround sounds enabled")},
        {options.CheckBox3,
         QStringLiteral("Zapisywanie informacji o uruchamianiu i przebiegu działania programu "),
         QStringLiteral("Log data to the file")},
        {options.CheckBox4, QStringLiteral("Debugmode"), QStringLiteral("Debug mode")},
        {options.CheckBox5, QStringLiteral("Zapis parametrów fizycznych do pliku"),
         QStringLiteral("Log physics data to the file")},
        {options.CheckBox6, QStringLiteral("Poszukiwanie trakcji nad pantografami"),
         QStringLiteral("Seek traction over the pantographs")},
        {options.CheckBox7,
         QStringLiteral("Uwzględnianie zależnosci między fizyką a siecią trakcyjną"),
         QStringLiteral("Physics dependent electrical traction")},
        {options.CheckBox2, QStringLiteral("Poprawka na częstotliwość odswieżania monitora"),
         QStringLiteral("Display frequency adjustment")},
        {options.CheckBox11,
         QStringLiteral("Nie zamykaj tego programu automatycznie po uruchomieniu symulatora"),
         QStringLiteral("Do not close this program after executing the simulator")},
        {options.Label1, QStringLiteral("Rozdzielczość ekranu:"),
         QStringLiteral("Screen resolution:")},
        {options.Label3, QStringLiteral("Głębia kolorów:"), QStringLiteral("Colour depth:")},
        {options.Label5, QStringLiteral("Tryb pełnoekranowy:"), QStringLiteral("Fullscreen mode:")},
        {options.Label8, QStringLiteral("Wyświetl trakcję:"),
         QStringLiteral("Electric traction display:")},
        {options.Label11, QStringLiteral("Czułość w poziomie:"),
         QStringLiteral("Horizontal sensivity:")},
        {options.Label12, QStringLiteral("Czułość w pionie:"),
         QStringLiteral("Vertical sensivity:")},
        {options.Button2, QStringLiteral("Anuluj"), QStringLiteral("Cancel")},
        {options.Button1, QStringLiteral("Standardowe ustawienia"),
         QStringLiteral("Default settings")},
    };
}

void setCaptions(const std::vector<Caption>& table, Language language) {
    for (const Caption& caption : table) {
        const QString& text = language == Language::Polish ? caption.polish : caption.english;
        if (caption.control->isWindow())
            caption.control->setWindowTitle(text);
        else if (auto* group = qobject_cast<QGroupBox*>(caption.control))
            group->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(caption.control))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(caption.control))
            label->setText(text);
    }
}
