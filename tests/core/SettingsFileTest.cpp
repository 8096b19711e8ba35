#include "settings/SettingsFile.h"

#include "catalogue/TextReader.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Every field a value of its own, so that a value landing in the wrong field shows.
SimulatorSettings distinctValues() {
    SimulatorSettings s;
    for (const SettingsField& f : SettingsFields) s.*f.member = "v-" + std::string(f.name);
    s.width = "800";
    s.height = "600";
    s.mousescalehorizontal = "3.2";
    s.mousescalevertical = "0.5";
    return s;
}

std::string written(const SimulatorSettings& s) {
    return formatSettingsFile(s, {s.width, s.height}, {});
}

SimulatorSettings read(std::string_view text) {
    TextReader in(text);
    return readSimulatorSettings(in);
}

// The file's lines, numbered from 1 as the file table numbers them, without their CR LF.
std::vector<std::string> linesOf(const std::string& file) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find("\r\n", at);
        lines.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

std::string withoutLine(const std::string& file, int line) {
    std::vector<std::string> lines = linesOf(file);
    lines.erase(lines.begin() + (line - 1));
    return joined(lines);
}

std::string withLine(const std::string& file, int line, const std::string& text) {
    std::vector<std::string> lines = linesOf(file);
    lines[static_cast<std::size_t>(line - 1)] = text;
    return joined(lines);
}

std::string lfOnly(std::string file) {
    std::erase(file, '\r');
    return file;
}

// The fields that must have stayed empty; every other one must hold the value written.
void expectOnlyEmpty(const SimulatorSettings& got, const std::vector<std::string_view>& empty) {
    const SimulatorSettings want = distinctValues();
    for (const SettingsField& f : SettingsFields) {
        bool shouldBeEmpty = false;
        for (std::string_view e : empty) shouldBeEmpty |= e == f.name;
        EXPECT_EQ(got.*f.member, shouldBeEmpty ? "" : want.*f.member) << f.name;
    }
}

const std::vector<std::string_view> SlotsFrom8 = {
    "renderalpha",      "physicslog",           "debuglog",
    "adjustscreenfreq", "mousescalehorizontal", "mousescalevertical",
    "loadtraction",     "livetraction",         "enabletraction"};

} // namespace

// The file the simulator reads, byte for byte; "<TAB>" stands for a TAB and every line ends
// with CR LF.
TEST(SettingsFile, WritesTheTwentyTwoLinesExactly) {
    SimulatorSettings s; // the size comes from the resolution, not from width and height
    s.fullscreen = s.soundenabled = s.renderalpha = s.debuglog = s.enabletraction = "yes";
    s.debugmode = s.freefly = s.physicslog = s.adjustscreenfreq = s.loadtraction = "no";
    s.livetraction = "yes";
    s.mousescalehorizontal = "3.2";
    s.mousescalevertical = "0.5";
    std::string expected = R"(// ustawienia (w nawiasie wartosci default)

sceneryfile quarkmce.scn <TAB>// domyslny plik ze sceneria, chyba ze w linii komend bedzie: -s filename
humanctrlvehicle rsim-485<TAB>// domyslny pojazd sterowany przez gracza, chyba ze w linii komend bedzie: -v vehiclename


width 1024  // szerokosc ekranu
height 768 <TAB>// wysokosc ekranu
bpp  <TAB><TAB>// (16) kolor (16 lub 32 bitowy)
fullscreen yes <TAB>// (yes) tryb pelnoekranowy
freefly no 20 10 -20<TAB>// (no x y z) yes: mozna latac po calej trasie
wireframe no<TAB><TAB>//  (no) wyswietlanie tylko linii (uwaga, niektorych krawedzi moze nie wyswietlac)
debugmode no    <TAB>//  (no) yes: wylacza logike rozmyta sluzaca do detekcji awarii, wlacza klawisze pomocnicze
soundenabled yes <TAB>// (yes) no: wylacza odgrywanie dzwiekow przestrzennych
renderalpha yes          // (yes) no: wylacza wyswietlanie polprzezroczystych tekstur i linii
physicslog no    <TAB>// (no) yes: wlacza zapisywanie parametrow fizycznych dla wszystkich obsadzonych przez ai lub czlowieka pojazdow
debuglog yes      // (yes) yes: wlacza zapisywanie informacji o uruchamianiu i przebiegu dzialania programu
adjustscreenfreq no    // (yes) yes: wlacza poprawke na czestotliwosc odswiezania monitora
mousescale -3.2 0.5  // czulosc myszy, mozna dawac ujemne dla invert mouse, default: 3.2 0.5
enabletraction yes       // (yes) no: wylacza poszukiwanie trakcji nad pantografami, sa one podnoszone na stala wysokosc
loadtraction no  // (yes) no: wylacza ladowanie elementow trakcji elektrycznej
livetraction yes        // (yes) no: wylacza zaleznosc napiecia maszyny od trakcji elektrycznej
)";
    for (std::size_t at; (at = expected.find("<TAB>")) != std::string::npos;)
        expected.replace(at, 5, "\t");
    const std::string file = formatSettingsFile(s, ResolutionTable[3], {.InvertHorizontal = true});
    EXPECT_EQ(file, crlf(expected));
    EXPECT_EQ(linesOf(file).size(), 22u);
    EXPECT_NE(formatSettingsFile(s, ResolutionTable[3],
                                 {.InvertHorizontal = true, .InvertVertical = true})
                  .find("\r\nmousescale -3.2 -0.5  //"),
              std::string::npos);
}

TEST(SettingsFile, WrittenFileReadsBack) {
    SimulatorSettings s = distinctValues();
    s.bpp = ""; // an empty value reads back as empty
    const std::string file = formatSettingsFile(s, ResolutionTable[6], {.InvertHorizontal = true});
    SimulatorSettings want = s;
    want.width = "1600";
    want.height = "1200";
    want.mousescalehorizontal = "-3.2";
    EXPECT_EQ(read(file), want);
    EXPECT_EQ(read(lfOnly(file)), want);

    TempFolder root;
    root.write("RSIM.INI", file); // as a Windows user may have renamed it
    EXPECT_EQ(loadSimulatorSettings(root.path()), want);
}

TEST(SettingsFile, MissingOrShortFileLeavesEveryFieldEmpty) {
    TempFolder root;
    EXPECT_EQ(loadSimulatorSettings(root.path()), SimulatorSettings{});
    EXPECT_EQ(read(""), SimulatorSettings{});
    const std::vector<std::string> lines = linesOf(written(distinctValues()));
    EXPECT_EQ(read(joined(std::vector<std::string>(lines.begin(), lines.begin() + 6))),
              SimulatorSettings{});
    // Six key lines where the file's heading stands are never examined.
    EXPECT_EQ(read(joined(std::vector<std::string>(lines.begin() + 6, lines.begin() + 12))),
              SimulatorSettings{});
}

TEST(SettingsFile, WithoutBppLineThreeSlotsAreLost) {
    expectOnlyEmpty(read(withoutLine(written(distinctValues()), 9)),
                    {"bpp", "fullscreen", "freefly"});
}

TEST(SettingsFile, WithoutRenderalphaLineLaterSlotsAreLost) {
    expectOnlyEmpty(read(withoutLine(written(distinctValues()), 15)), SlotsFrom8);
    // An empty line there is two characters that fail, CR and LF, or LF read twice.
    expectOnlyEmpty(read(withLine(written(distinctValues()), 15, "")), SlotsFrom8);
}

// From slot 8 on a wrong first letter consumes only itself, so with one line missing and a
// stray character before the next key, only the missing line's fields are lost.
TEST(SettingsFile, FromSlot8AWrongLetterConsumesOnlyItself) {
    const std::vector<std::string> lines = linesOf(written(distinctValues()));
    const std::vector<std::pair<int, std::vector<std::string_view>>> lost = {
        {15, {"renderalpha"}},
        {16, {"physicslog"}},
        {17, {"debuglog"}},
        {18, {"adjustscreenfreq"}},
        {19, {"mousescalehorizontal", "mousescalevertical"}},
        {20, {"enabletraction"}},
        {21, {"loadtraction"}}};
    for (const auto& [line, fields] : lost) {
        SCOPED_TRACE(line);
        std::vector<std::string> damaged = lines;
        damaged.erase(damaged.begin() + (line - 1));
        damaged[static_cast<std::size_t>(line - 1)].insert(0, "x");
        expectOnlyEmpty(read(joined(damaged)), fields);
    }
}

TEST(SettingsFile, TabAfterAKeyLosesEverySlot) {
    EXPECT_EQ(read(withLine(written(distinctValues()), 7, "width\t800  // szerokosc")),
              SimulatorSettings{});
}

TEST(SettingsFile, TwoBlanksAfterAKeyGiveAnEmptyValue) {
    expectOnlyEmpty(read(withLine(written(distinctValues()), 7, "width  800  // szerokosc")),
                    {"width"});
}

TEST(SettingsFile, KeysIgnoreCaseValuesDoNot) {
    std::string file = withLine(written(distinctValues()), 7, "WIDTH 1024  //");
    file = withLine(file, 10, "FullScreen Yes \t//");
    const SimulatorSettings got = read(file);
    EXPECT_EQ(got.width, "1024");
    EXPECT_EQ(got.fullscreen, "Yes");
    EXPECT_EQ(got.freefly, "v-freefly");
}

TEST(SettingsFile, KeysCountOnlyAtTheirOwnPlace) {
    std::string file = withLine(written(distinctValues()), 3, "width 1024  //");
    file = withLine(file, 12, "debugmode elsewhere //"); // the line after freefly is never read
    expectOnlyEmpty(read(file), {});

    // A failed freefly comparison still skips one more line, here the rest of its own line.
    const std::string damaged = withLine(written(distinctValues()), 11, "freefly\tyes 20 10 -20");
    const SimulatorSettings got = read(damaged);
    EXPECT_EQ(got.fullscreen, "v-fullscreen");
    EXPECT_EQ(got.freefly, "");
    EXPECT_EQ(got.debugmode, "");
    EXPECT_EQ(got.soundenabled, "");
    EXPECT_EQ(got.livetraction, "");
}

TEST(SettingsFile, ValueEndsOnlyAtABlank) {
    std::string file = withLine(written(distinctValues()), 10, "fullscreen yes\t// (yes) tryb");
    // Without its blank the value runs on into the next line, which is then lost.
    file = withLine(file, 21, "loadtraction no");
    const SimulatorSettings got = read(file);
    EXPECT_EQ(got.fullscreen, "yes\t//");
    EXPECT_EQ(got.freefly, "v-freefly");
    EXPECT_EQ(got.loadtraction, "no\r\nlivetraction");
    EXPECT_EQ(got.livetraction, "");
}

TEST(SettingsFile, EndOfFileEndsTheValueAndTheReading) {
    const std::string file = written(distinctValues());
    const SimulatorSettings inWidth = read(file.substr(0, file.find("width 800") + 8));
    EXPECT_EQ(inWidth.width, "80");
    EXPECT_EQ(inWidth.height, "");

    const SimulatorSettings inMouse = read(file.substr(0, file.find("mousescale 3.2") + 14));
    EXPECT_EQ(inMouse.adjustscreenfreq, "v-adjustscreenfreq");
    EXPECT_EQ(inMouse.mousescalehorizontal, "3.2");
    EXPECT_EQ(inMouse.mousescalevertical, "");
    EXPECT_EQ(inMouse.enabletraction, "");

    std::vector<std::string> lines = linesOf(file);
    lines.pop_back();
    const std::string noLastBlank = joined(lines) + "livetraction yes";
    EXPECT_EQ(read(noLastBlank).livetraction, "yes");
    EXPECT_EQ(read(noLastBlank + "\r\n").livetraction, "yes\r\n");
}

TEST(SettingsFile, ByteTwentySixEndsTheFile) {
    const std::string file = written(distinctValues());
    const std::size_t at = file.find("debugmode");
    expectOnlyEmpty(read(file.substr(0, at) + "\032" + file.substr(at)),
                    {"debugmode", "soundenabled", "renderalpha", "physicslog", "debuglog",
                     "adjustscreenfreq", "mousescalehorizontal", "mousescalevertical",
                     "loadtraction", "livetraction", "enabletraction"});
}

// Wherever a line is missing, damaged or empty, a file with LF alone loses the same slots as
// the same file with CR LF.
TEST(SettingsFile, LfOnlyFileReadsLikeCrLf) {
    const std::string file = written(distinctValues());
    std::vector<std::string> variants = {file, withLine(file, 2, "height 1 "),
                                         withLine(file, 7, "width\t800  //")};
    for (int line = 6; line <= 22; ++line) {
        std::vector<std::string> lines = linesOf(file);
        lines.insert(lines.begin() + line, "");
        variants.push_back(joined(lines));
        variants.push_back(withLine(file, line, ""));
        variants.push_back(withoutLine(file, line));
    }
    for (std::size_t i = 0; i < variants.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read(lfOnly(variants[i])), read(variants[i]));
    }
}
