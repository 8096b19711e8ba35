#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/SimulatorSettings.h"

class TextReader;

// rsim.ini as the launcher writes it: six fixed lines, then one line for each key with its
// value, a separator of blanks and TABs, and a comment, in the order of the table below. The
// simulator reads the file itself; the comments are its documentation, in Polish whatever the
// interface language.
//
// The reader does not search the file. It walks through it once, from the top, and tries each
// key once, at the place where the writer puts it: the key's first letter, then its other
// letters and one blank, compared without regard to case, then the value, which only a blank
// ends. A key line that is missing, added or damaged leaves its field empty, and often the
// fields of the lines after it too, as the reader does not find its way back to the start of a
// line; which of them depends on what the reader does after a key's wrong first letter.

// What the reader does when a line does not begin with the key's first letter.
enum class WrongFirstLetter : std::uint8_t {
    SkipsLine,      // the rest of the line is skipped
    ConsumesOnlyIt, // only that one character is consumed
};

struct SettingsField {
    std::string_view name; // the record's field
    std::string SimulatorSettings::*member;
    std::string_view key;       // that begins its line; "" for the second value of the line before
    std::string_view separator; // after the value, before the comment
    std::string_view comment;
    std::string_view defaultValue; // what the options window's defaults button sets
    WrongFirstLetter wrongFirstLetter;
    std::string_view lineAfter = {}; // a fixed line written after this one and never read
};

// The lines before the first key, written as they are and never read.
inline constexpr std::array<std::string_view, 6> SettingsFileHead{
    "// ustawienia (w nawiasie wartosci default)",
    "",
    "sceneryfile quarkmce.scn \t// domyslny plik ze sceneria, chyba ze w linii komend bedzie: -s "
    "filename",
    "humanctrlvehicle rsim-485\t// domyslny pojazd sterowany przez gracza, chyba ze w linii "
    "komend bedzie: -v vehiclename",
    "",
    "",
};

// Every field of the record, in the order of the file.
inline constexpr std::array<SettingsField, 16> SettingsFields{{
    {"width", &SimulatorSettings::width, "width", "  ", "// szerokosc ekranu", "800",
     WrongFirstLetter::SkipsLine},
    {"height", &SimulatorSettings::height, "height", " \t", "// wysokosc ekranu", "600",
     WrongFirstLetter::SkipsLine},
    {"bpp", &SimulatorSettings::bpp, "bpp", " \t\t", "// (16) kolor (16 lub 32 bitowy)", "32",
     WrongFirstLetter::SkipsLine},
    {"fullscreen", &SimulatorSettings::fullscreen, "fullscreen", " \t",
     "// (yes) tryb pelnoekranowy", "yes", WrongFirstLetter::SkipsLine},
    // The free-flight start position x y z is fixed, and so is the wire-frame line after it.
    {"freefly", &SimulatorSettings::freefly, "freefly", " 20 10 -20\t",
     "// (no x y z) yes: mozna latac po calej trasie", "no", WrongFirstLetter::SkipsLine,
     "wireframe no\t\t//  (no) wyswietlanie tylko linii (uwaga, niektorych krawedzi moze nie "
     "wyswietlac)"},
    {"debugmode", &SimulatorSettings::debugmode, "debugmode", "    \t",
     "//  (no) yes: wylacza logike rozmyta sluzaca do detekcji awarii, wlacza klawisze "
     "pomocnicze",
     "no", WrongFirstLetter::SkipsLine},
    {"soundenabled", &SimulatorSettings::soundenabled, "soundenabled", " \t",
     "// (yes) no: wylacza odgrywanie dzwiekow przestrzennych", "yes", WrongFirstLetter::SkipsLine},
    {"renderalpha", &SimulatorSettings::renderalpha, "renderalpha", "          ",
     "// (yes) no: wylacza wyswietlanie polprzezroczystych tekstur i linii", "yes",
     WrongFirstLetter::ConsumesOnlyIt},
    {"physicslog", &SimulatorSettings::physicslog, "physicslog", "    \t",
     "// (no) yes: wlacza zapisywanie parametrow fizycznych dla wszystkich obsadzonych przez ai "
     "lub czlowieka pojazdow",
     "no", WrongFirstLetter::ConsumesOnlyIt},
    {"debuglog", &SimulatorSettings::debuglog, "debuglog", "      ",
     "// (yes) yes: wlacza zapisywanie informacji o uruchamianiu i przebiegu dzialania "
     "programu",
     "no", WrongFirstLetter::ConsumesOnlyIt},
    {"adjustscreenfreq", &SimulatorSettings::adjustscreenfreq, "adjustscreenfreq", "    ",
     "// (yes) yes: wlacza poprawke na czestotliwosc odswiezania monitora", "yes",
     WrongFirstLetter::ConsumesOnlyIt},
    // One line holds both sensitivities, each with a leading "-" when its axis is inverted.
    {"mousescalehorizontal", &SimulatorSettings::mousescalehorizontal, "mousescale", " ", "", "3.2",
     WrongFirstLetter::ConsumesOnlyIt},
    {"mousescalevertical", &SimulatorSettings::mousescalevertical, "", "  ",
     "// czulosc myszy, mozna dawac ujemne dla invert mouse, default: 3.2 0.5", "0.5",
     WrongFirstLetter::ConsumesOnlyIt},
    {"enabletraction", &SimulatorSettings::enabletraction, "enabletraction", "       ",
     "// (yes) no: wylacza poszukiwanie trakcji nad pantografami, sa one podnoszone na stala "
     "wysokosc",
     "yes", WrongFirstLetter::ConsumesOnlyIt},
    {"loadtraction", &SimulatorSettings::loadtraction, "loadtraction", "  ",
     "// (yes) no: wylacza ladowanie elementow trakcji elektrycznej", "yes",
     WrongFirstLetter::ConsumesOnlyIt},
    {"livetraction", &SimulatorSettings::livetraction, "livetraction", "        ",
     "// (yes) no: wylacza zaleznosc napiecia maszyny od trakcji elektrycznej", "yes",
     WrongFirstLetter::ConsumesOnlyIt},
}};

struct Resolution {
    std::string_view width;
    std::string_view height;
};

// The screen sizes the options window offers, by slider position from 1.
inline constexpr std::array<Resolution, 7> ResolutionTable{{
    {"512", "384"},
    {"640", "480"},
    {"800", "600"},
    {"1024", "768"},
    {"1152", "864"},
    {"1280", "1024"},
    {"1600", "1200"},
}};

// Reads the settings by position, as described above; the end of the file ends the reading.
SimulatorSettings readSimulatorSettings(TextReader& in);

// The settings file of an installation: its rsim.ini.
std::string settingsFilePath(const std::string& installRoot);
SimulatorSettings loadSimulatorSettings(const std::string& installRoot);

// The mouse axes that move the other way. The file marks such an axis with a "-" before its
// sensitivity.
struct InvertFlags {
    bool InvertHorizontal = false;
    bool InvertVertical = false;
};

// The whole settings file as the launcher writes it: 22 lines, each ending with CR LF. The size
// comes from the resolution chosen, and an inverted axis gets a leading "-".
std::string formatSettingsFile(const SimulatorSettings& settings, const Resolution& resolution,
                               InvertFlags invert);
