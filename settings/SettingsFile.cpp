#include "settings/SettingsFile.h"

#include "catalogue/TextReader.h"
#include "platform/AsciiCase.h"
#include "platform/InstallPath.h"

namespace {

struct KeySlot {
    unsigned char firstLetter;
    std::string_view rest; // the key's other letters and its one blank, upper case
    std::string SimulatorSettings::*field;
    bool skipsLineOnWrongLetter;
};

// The order of the keys in the file the launcher writes.
constexpr std::array<KeySlot, 15> KeySlots{{
    {'W', "IDTH ", &SimulatorSettings::width, true},
    {'H', "EIGHT ", &SimulatorSettings::height, true},
    {'B', "PP ", &SimulatorSettings::bpp, true},
    {'F', "ULLSCREEN ", &SimulatorSettings::fullscreen, true},
    {'F', "REEFLY ", &SimulatorSettings::freefly, true},
    {'D', "EBUGMODE ", &SimulatorSettings::debugmode, true},
    {'S', "OUNDENABLED ", &SimulatorSettings::soundenabled, true},
    {'R', "ENDERALPHA ", &SimulatorSettings::renderalpha, false},
    {'P', "HYSICSLOG ", &SimulatorSettings::physicslog, false},
    {'D', "EBUGLOG ", &SimulatorSettings::debuglog, false},
    {'A', "DJUSTSCREENFREQ ", &SimulatorSettings::adjustscreenfreq, false},
    {'M', "OUSESCALE ", &SimulatorSettings::mousescalehorizontal, false},
    {'E', "NABLETRACTION ", &SimulatorSettings::enabletraction, false},
    {'L', "OADTRACTION ", &SimulatorSettings::loadtraction, false},
    {'L', "IVETRACTION ", &SimulatorSettings::livetraction, false},
}};
constexpr std::size_t FreeflySlot = 4;
constexpr std::size_t MousescaleSlot = 11;

} // namespace

SimulatorSettings readSimulatorSettings(TextReader& in) {
    SimulatorSettings settings;
    for (int i = 0; i < 6; ++i) in.skipLine();
    for (std::size_t i = 0; i < KeySlots.size(); ++i) {
        const KeySlot& slot = KeySlots[i];
        if (asciiUpper(in.readChar()) != slot.firstLetter) {
            if (slot.skipsLineOnWrongLetter) in.skipLine();
        } else if (equalsUpperCased(in.readUpTo(slot.rest.size()), slot.rest)) {
            // Only a blank ends a value: a TAB or a line end is kept in it.
            if (!in.readToken(settings.*slot.field)) break;
            if (i == MousescaleSlot && !in.readToken(settings.mousescalevertical)) break;
            in.skipLine();
        }
        // The line after freefly is the wireframe line, never read.
        if (i == FreeflySlot) in.skipLine();
    }
    return settings;
}

std::string settingsFilePath(const std::string& installRoot) {
    return resolveInstallPath(installRoot, "\\rsim.ini");
}

SimulatorSettings loadSimulatorSettings(const std::string& installRoot) {
    TextReader in = TextReader::open(settingsFilePath(installRoot), SettingsLimits);
    return readSimulatorSettings(in);
}

std::string formatSettingsFile(const SimulatorSettings& s, const Resolution& resolution,
                               InvertFlags invert) {
    const std::string horizontal = (invert.InvertHorizontal ? "-" : "") + s.mousescalehorizontal;
    const std::string vertical = (invert.InvertVertical ? "-" : "") + s.mousescalevertical;
    const std::string_view width = resolution.width, height = resolution.height;
    std::string text;
    text.reserve(1500);
    const auto line = [&text](std::initializer_list<std::string_view> pieces) {
        for (std::string_view piece : pieces) text += piece;
        text += "\r\n";
    };
    line({"// ustawienia (w nawiasie wartosci default)"});
    line({});
    line({"sceneryfile quarkmce.scn", " \t",
          "// domyslny plik ze sceneria, chyba ze w linii komend bedzie: -s filename"});
    line({"humanctrlvehicle rsim-485", "\t",
          "// domyslny pojazd sterowany przez gracza, chyba ze w linii komend bedzie: -v "
          "vehiclename"});
    line({});
    line({});
    line({"width ", width, "  ", "// szerokosc ekranu"});
    line({"height ", height, " \t", "// wysokosc ekranu"});
    line({"bpp ", s.bpp, " \t\t", "// (16) kolor (16 lub 32 bitowy)"});
    line({"fullscreen ", s.fullscreen, " \t", "// (yes) tryb pelnoekranowy"});
    line({"freefly ", s.freefly, " ", "20 10 -20", "\t",
          "// (no x y z) yes: mozna latac po calej trasie"});
    line({"wireframe no", "\t\t",
          "//  (no) wyswietlanie tylko linii (uwaga, niektorych krawedzi moze nie wyswietlac)"});
    line({"debugmode ", s.debugmode, "    \t",
          "//  (no) yes: wylacza logike rozmyta sluzaca do detekcji awarii, wlacza klawisze "
          "pomocnicze"});
    line({"soundenabled ", s.soundenabled, " \t",
          "// (yes) no: wylacza odgrywanie dzwiekow przestrzennych"});
    line({"renderalpha ", s.renderalpha, "          ",
          "// (yes) no: wylacza wyswietlanie polprzezroczystych tekstur i linii"});
    line({"physicslog ", s.physicslog, "    \t",
          "// (no) yes: wlacza zapisywanie parametrow fizycznych dla wszystkich obsadzonych "
          "przez ai lub czlowieka pojazdow"});
    line({"debuglog ", s.debuglog, "      ",
          "// (yes) yes: wlacza zapisywanie informacji o uruchamianiu i przebiegu dzialania "
          "programu"});
    line({"adjustscreenfreq ", s.adjustscreenfreq, "    ",
          "// (yes) yes: wlacza poprawke na czestotliwosc odswiezania monitora"});
    line({"mousescale ", horizontal, " ", vertical, "  ",
          "// czulosc myszy, mozna dawac ujemne dla invert mouse, default: 3.2 0.5"});
    line({"enabletraction ", s.enabletraction, "       ",
          "// (yes) no: wylacza poszukiwanie trakcji nad pantografami, sa one podnoszone na "
          "stala wysokosc"});
    line({"loadtraction ", s.loadtraction, "  ",
          "// (yes) no: wylacza ladowanie elementow trakcji elektrycznej"});
    line({"livetraction ", s.livetraction, "        ",
          "// (yes) no: wylacza zaleznosc napiecia maszyny od trakcji elektrycznej"});
    return text;
}
