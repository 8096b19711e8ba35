#include "settings/OptionsWorkingCopy.h"

#include "settings/SettingsFile.h"
#include "tests/SampleSettingsFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using enum CheckState;

SimulatorSettings sampleSettings() {
    return loadSimulatorSettings(RSIM_SAMPLE_DIR);
}

const std::string WidthComment = "  // szerokosc ekranu";
const std::string HeightComment = " \t// wysokosc ekranu";
const std::string MouseComment =
    "  // czulosc myszy, mozna dawac ujemne dla invert mouse, default: 3.2 0.5";

std::string sizeLines(const OptionsWorkingCopy& w) {
    const std::string file = w.settingsFile();
    const std::size_t width = file.find("\r\nwidth ") + 2;
    return file.substr(width, file.find(" \t//", width) - width);
}

TEST(OptionsWorkingCopy, TheSampleFileRoundTrips) {
    const OptionsWorkingCopy w(sampleSettings());
    EXPECT_EQ(w.settingsFile(), sampleSettingsFile());
}

TEST(OptionsWorkingCopy, SensitivitiesTakeTheirRowOrTheDefaultAndKeepTheirSign) {
    struct Case {
        std::string horizontal, vertical;
        CheckState box8;
        int trackBar6;
        CheckState box10;
        int trackBar7;
        std::string written; // the mousescale line's two numbers
    };
    const Case cases[] = {
        {"-3.2", "0.5", Checked, 6, Unchecked, 3, "-3.2 0.5"},
        {"-9.9", "0.50", Checked, 6, Unchecked, 3, "-3.2 0.5"},
        {"", "-", Unchecked, 6, Checked, 3, "3.2 -0.5"},
        {"7.0", "-0.1", Unchecked, 10, Checked, 1, "7.0 -0.1"},
        {"3.20", "--0.5", Unchecked, 6, Checked, 3, "3.2 -0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.horizontal + " " + c.vertical);
        SimulatorSettings s = sampleSettings();
        s.mousescalehorizontal = c.horizontal;
        s.mousescalevertical = c.vertical;
        const OptionsWorkingCopy w(s);
        EXPECT_EQ(w.checkBox(8), c.box8);
        EXPECT_EQ(w.invert().InvertHorizontal, c.box8 == Checked);
        EXPECT_EQ(w.trackBar(6), c.trackBar6);
        EXPECT_EQ(w.settings().mousescalehorizontal,
                  HorizontalSensitivityTable[static_cast<std::size_t>(c.trackBar6 - 1)]);
        EXPECT_EQ(w.checkBox(10), c.box10);
        EXPECT_EQ(w.invert().InvertVertical, c.box10 == Checked);
        EXPECT_EQ(w.trackBar(7), c.trackBar7);
        EXPECT_EQ(w.settings().mousescalevertical,
                  VerticalSensitivityTable[static_cast<std::size_t>(c.trackBar7 - 1)]);
        EXPECT_EQ(w.settingsFile(),
                  sampleSettingsFileWith({{19, "mousescale " + c.written + MouseComment}}));
    }
}

// Only the width picks a row, and a width of no row stands as written until the player moves
// the slider. Moving it never changes the working width and height.
TEST(OptionsWorkingCopy, SizeIsTheRowOfTheWidthOrAsWrittenUntilTheSliderMoves) {
    SimulatorSettings s = sampleSettings();
    s.width = "1024";
    s.height = "800";
    const OptionsWorkingCopy row(s);
    EXPECT_EQ(row.trackBar(1), 4);
    EXPECT_EQ(row.trackBarLabel(1, Language::Polish), "1024x768");
    EXPECT_EQ(row.settingsFile(), sampleSettingsFileWith({{7, "width 1024" + WidthComment},
                                                          {8, "height 768" + HeightComment}}));

    s.width = "1920";
    s.height = "1080";
    OptionsWorkingCopy custom(s);
    EXPECT_EQ(custom.trackBar(1), 1);
    EXPECT_EQ(custom.trackBarLabel(1, Language::Polish), "1920x1080");
    EXPECT_EQ(custom.settingsFile(), sampleSettingsFileWith({{7, "width 1920" + WidthComment},
                                                             {8, "height 1080" + HeightComment}}));
    custom.moveTrackBar(1, 0); // clamped to where it stands: no change
    EXPECT_EQ(sizeLines(custom), "width 1920  // szerokosc ekranu\r\nheight 1080");
    custom.moveTrackBar(1, 2);
    EXPECT_EQ(custom.trackBarLabel(1, Language::Polish), "640x480");
    EXPECT_EQ(sizeLines(custom), "width 640  // szerokosc ekranu\r\nheight 480");
    custom.moveTrackBar(1, 1);
    EXPECT_EQ(custom.trackBarLabel(1, Language::Polish), "512x384");
    custom.moveTrackBar(1, 99);
    EXPECT_EQ(custom.trackBarLabel(1, Language::Polish), "1600x1200");
    EXPECT_EQ(custom.settings().width, "1920");
    EXPECT_EQ(custom.settings().height, "1080");

    OptionsWorkingCopy sample(sampleSettings());
    sample.moveTrackBar(1, 5);
    EXPECT_EQ(sample.settings().width, "800");
    EXPECT_EQ(sample.settings().height, "600");
    EXPECT_EQ(sample.settingsFile(), sampleSettingsFileWith({{7, "width 1152" + WidthComment},
                                                             {8, "height 864" + HeightComment}}));
}

TEST(OptionsWorkingCopy, UnknownValuesAreShownAsTheyStandAndWrittenBackUnchanged) {
    SimulatorSettings s = sampleSettings();
    s.bpp = "";
    s.fullscreen = "YES";
    s.freefly = "Yes";
    s.debuglog = "1";
    OptionsWorkingCopy w(s);
    EXPECT_EQ(w.trackBar(2), 0);
    EXPECT_EQ(w.trackBarLabel(2, Language::Polish), "");
    EXPECT_EQ(w.trackBar(3), 0);
    EXPECT_EQ(w.trackBarLabel(3, Language::Polish), "YES");
    EXPECT_EQ(w.trackBarLabel(3, Language::English), "YES");
    EXPECT_EQ(w.checkBox(9), PartlyChecked);
    EXPECT_EQ(w.checkBox(3), PartlyChecked);
    // An empty value leaves the key, its blank and then the separator.
    EXPECT_EQ(w.settingsFile(),
              sampleSettingsFileWith(
                  {{9, "bpp  \t\t// (16) kolor (16 lub 32 bitowy)"},
                   {10, "fullscreen YES \t// (yes) tryb pelnoekranowy"},
                   {11, "freefly Yes 20 10 -20\t// (no x y z) yes: mozna latac po calej "
                        "trasie"},
                   {17, "debuglog 1      // (yes) yes: wlacza zapisywanie informacji o "
                        "uruchamianiu i przebiegu dzialania programu"}}));

    // Once the player changes a control, it decides the value.
    w.setCheckBox(9, Checked);
    w.setCheckBox(3, Unchecked);
    w.moveTrackBar(3, 1);
    w.moveTrackBar(2, 1);
    EXPECT_EQ(w.settings().freefly, "yes");
    EXPECT_EQ(w.settings().debuglog, "no");
    EXPECT_EQ(w.settings().fullscreen, "no");
    EXPECT_EQ(w.trackBarLabel(3, Language::Polish), "Nie");
    EXPECT_EQ(w.trackBarLabel(3, Language::English), "No");
    EXPECT_EQ(w.settings().bpp, "16");
    EXPECT_EQ(w.trackBarLabel(2, Language::Polish), "16 BPP");
}

TEST(OptionsWorkingCopy, WithoutAnyValueTheCopyStartsFromTheDefaults) {
    TempFolder noFile;
    const OptionsWorkingCopy w(loadSimulatorSettings(noFile.path()));
    EXPECT_EQ(w.settings(), defaultSettings());
    EXPECT_EQ(w.trackBarLabel(1, Language::Polish), "800x600");

    SimulatorSettings oneValue;
    oneValue.soundenabled = "no";
    const OptionsWorkingCopy partial(oneValue);
    EXPECT_EQ(partial.settings().bpp, "");
    EXPECT_EQ(partial.checkBox(1), Unchecked);
    EXPECT_EQ(partial.checkBox(2), PartlyChecked);
}

TEST(OptionsWorkingCopy, DefaultsSetEveryControlAndClearBothInvertBoxes) {
    SimulatorSettings s = sampleSettings();
    s.mousescalehorizontal = "-1.3";
    s.mousescalevertical = "-2.0";
    s.fullscreen = "maybe";
    OptionsWorkingCopy w(s);
    w.moveTrackBar(1, 7);
    w.setCheckBox(4, Checked);
    ASSERT_TRUE(w.invert().InvertHorizontal && w.invert().InvertVertical);
    w.setDefaults();
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(w.trackBar(n), (std::map<int, int>{{1, 3}, {6, 6}, {7, 3}}[n])) << n;
    for (int n = 1; n <= 10; ++n) {
        const bool checked = n == 1 || n == 2 || n == 6 || n == 7;
        EXPECT_EQ(w.checkBox(n), checked ? Checked : Unchecked) << n;
    }
    EXPECT_FALSE(w.invert().InvertHorizontal || w.invert().InvertVertical);
    EXPECT_EQ(w.settings(), defaultSettings());
    EXPECT_EQ(w.trackBarLabel(1, Language::Polish), "800x600");
    EXPECT_EQ(w.trackBarLabel(2, Language::Polish), "32 BPP");
    EXPECT_EQ(w.trackBarLabel(5, Language::Polish), "Tak");
    EXPECT_EQ(w.trackBarLabel(5, Language::English), "Yes");
}

} // namespace
