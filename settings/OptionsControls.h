#pragma once

#include "platform/system/Language.h"
#include "platform/system/Words.h"
#include "settings/SettingsFile.h"
#include "settings/SimulatorSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

// The options window, one row for each control, in the order the window builds them, which is
// also the order of the keyboard and of what lies above what. The window builds each control
// from its row, captions it in the interface language, and connects it to its handler; the
// working copy (OptionsWorkingCopy) walks the same rows to show the settings in the controls
// and to take the player's changes into the settings. A new yes/no switch is one row: a check box
// with its number, place, captions and setting.

enum class ControlKind : std::uint8_t { Form, GroupBox, Label, TrackBar, CheckBox, Button };

enum class CheckState : std::uint8_t { Unchecked, PartlyChecked, Checked };

// How a label or a check box meets a caption wider than designed, as this font may make it.
enum class Fit : std::uint8_t {
    Grows,        // left-aligned, it grows from its designed width to its text
    CentredGrows, // centred, it grows the same way
    CentredKeeps, // centred within its designed width, which it keeps
};

// Where a control stands as designed, in pixels, within its group box or the window.
struct Place {
    int left;
    int top;
    int width;
    int height;
    Fit fit = Fit::Grows;
    int leftInEnglish = 0; // where a longer English caption moves it; 0 where it stays
};

// What a control's state stands for.
enum class Shows : std::uint8_t {
    Caption,     // nothing: a group box, a label, a button, or a switch the launcher keeps itself
    YesNo,       // a setting "yes" or "no": a ticked box, or a slider at its top, is "yes"
    ColourDepth, // bpp: a slider at its top is "32", at its bottom "16"
    ScreenSize,  // a slider over the rows of ResolutionTable, which changes no setting: OK writes
                 // the size of its row
    Sensitivity, // a slider over the rows of its scale; the sign of the setting, which inverts
                 // the axis, is shown by the check box of the same setting
    Inverted,    // a check box ticked while its setting, a sensitivity, is inverted
};

// The sensitivities the two mouse sliders offer, by position from 1. Compared as texts, so
// "3.20" is in neither table.
using SensitivityScale = std::array<std::string_view, 10>;
inline constexpr SensitivityScale HorizontalSensitivityTable{"0.2", "0.5", "1.3", "1.8", "2.5",
                                                             "3.2", "4.0", "5.0", "6.0", "7.0"};
inline constexpr SensitivityScale VerticalSensitivityTable{"0.1", "0.2", "0.5", "1.0", "1.5",
                                                           "2.0", "2.5", "3.0", "4.0", "5.0"};

struct ControlRole {
    Shows shows = Shows::Caption;
    std::string SimulatorSettings::*setting = nullptr;
    // A check box's state as designed; a slider stands at its first position.
    CheckState designed = CheckState::Unchecked;
    // A slider's labels: the one that names it, and the one that shows its value.
    int namedBy = 0;
    int shownIn = 0;
    const SensitivityScale* scale = nullptr; // a sensitivity slider's values by position
};

struct OptionControl {
    ControlKind kind;
    int number;  // with the kind, the control's name: TrackBar3
    int group;   // the group box it lies in; 0 for the window itself
    Place place; // the window's own is its client area
    BilingualText caption;
    ControlRole role = {};
};

inline constexpr BilingualText InvertMouse{"Odwróć (Invert mouse)", "Invert mouse"};

// Each row: the control's kind and number, the group box it lies in, its place, its captions,
// and what its state stands for.
// clang-format off
inline constexpr OptionControl OptionsControls[] = {
    {ControlKind::Form, 4, 0, {0, 0, 417, 528}, Words::OptionsTitle},

    {ControlKind::GroupBox, 1, 0, {8, 8, 401, 169}, {"Grafika", "Graphics"}},
    {ControlKind::Label, 1, 1, {136, 24, 107, 13, Fit::CentredGrows},
     {"Rozdzielczość ekranu:", "Screen resolution:"}},
    {ControlKind::TrackBar, 1, 1, {128, 40, 150, 33}, {},
     {.shows = Shows::ScreenSize, .namedBy = 1, .shownIn = 2}},
    {ControlKind::Label, 2, 1, {136, 72, 137, 13, Fit::CentredKeeps}, {}},
    {ControlKind::Label, 3, 1, {16, 104, 89, 13}, {"Głębia kolorów:", "Colour depth:"}},
    {ControlKind::TrackBar, 2, 1, {120, 96, 41, 33}, {},
     {.shows = Shows::ColourDepth, .setting = &SimulatorSettings::bpp,
      .namedBy = 3, .shownIn = 4}},
    {ControlKind::Label, 4, 1, {160, 104, 49, 13}, {}},
    {ControlKind::Label, 5, 1, {16, 136, 105, 13}, {"Tryb pełnoekranowy:", "Fullscreen mode:"}},
    // The full-screen slider lies on the window itself, over the group's full-screen row.
    {ControlKind::TrackBar, 3, 0, {128, 136, 41, 33}, {},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::fullscreen,
      .namedBy = 5, .shownIn = 6}},
    {ControlKind::Label, 6, 1, {161, 136, 33, 13}, {}},
    {ControlKind::Label, 7, 1, {240, 104, 89, 13}, inBoth("Render Alpha:")},
    {ControlKind::TrackBar, 4, 1, {328, 96, 41, 33}, {},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::renderalpha,
      .namedBy = 7, .shownIn = 9}},
    {ControlKind::Label, 9, 1, {369, 104, 25, 13}, {}},
    // The English caption is longer, and would run into the slider.
    {ControlKind::Label, 8, 1, {240, 136, 80, 13, Fit::Grows, 218},
     {"Wyświetl trakcję:", "Electric traction display:"}},
    {ControlKind::TrackBar, 5, 1, {328, 128, 41, 33}, {},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::loadtraction,
      .namedBy = 8, .shownIn = 10}},
    {ControlKind::Label, 10, 1, {369, 136, 25, 13}, {}},

    {ControlKind::GroupBox, 3, 0, {8, 184, 401, 105}, {"Mysz", "Mouse"}},
    {ControlKind::Label, 11, 3, {40, 24, 137, 17},
     {"Czułość w poziomie:", "Horizontal sensivity:"}},
    {ControlKind::TrackBar, 6, 3, {32, 40, 150, 45}, {},
     {.shows = Shows::Sensitivity, .setting = &SimulatorSettings::mousescalehorizontal,
      .namedBy = 11, .scale = &HorizontalSensitivityTable}},
    {ControlKind::CheckBox, 8, 3, {40, 80, 137, 17}, InvertMouse,
     {.shows = Shows::Inverted, .setting = &SimulatorSettings::mousescalehorizontal}},
    {ControlKind::Label, 12, 3, {224, 24, 137, 17},
     {"Czułość w pionie:", "Vertical sensivity:"}},
    {ControlKind::TrackBar, 7, 3, {216, 40, 150, 45}, {},
     {.shows = Shows::Sensitivity, .setting = &SimulatorSettings::mousescalevertical,
      .namedBy = 12, .scale = &VerticalSensitivityTable}},
    {ControlKind::CheckBox, 10, 3, {224, 80, 137, 17}, InvertMouse,
     {.shows = Shows::Inverted, .setting = &SimulatorSettings::mousescalevertical}},

    {ControlKind::GroupBox, 2, 0, {8, 296, 401, 193}, {"Pozostałe", "Other"}},
    {ControlKind::CheckBox, 9, 2, {24, 24, 225, 17},
     {"Tryb Freefly - latanie po całej trasie", "Freefly mode"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::freefly}},
    {ControlKind::CheckBox, 1, 2, {24, 40, 233, 17},
     {"Dźwięki przestrzenne", "Surround sounds enabled"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::soundenabled,
      .designed = CheckState::Checked}},
    {ControlKind::CheckBox, 4, 2, {24, 56, 217, 17},
     {"Debugmode", "Debug mode"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::debugmode}},
    {ControlKind::CheckBox, 3, 2, {24, 72, 353, 17},
     {"Zapisywanie informacji o uruchamianiu i przebiegu działania programu ",
      "Log data to the file"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::debuglog,
      .designed = CheckState::Checked}},
    {ControlKind::CheckBox, 5, 2, {24, 88, 249, 17},
     {"Zapis parametrów fizycznych do pliku", "Log physics data to the file"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::physicslog}},
    {ControlKind::CheckBox, 6, 2, {24, 104, 257, 17},
     {"Poszukiwanie trakcji nad pantografami", "Seek traction over the pantographs"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::enabletraction,
      .designed = CheckState::Checked}},
    {ControlKind::CheckBox, 7, 2, {24, 120, 337, 17},
     {"Uwzględnianie zależnosci między fizyką a siecią trakcyjną",
      "Physics dependent electrical traction"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::livetraction}},
    {ControlKind::CheckBox, 2, 2, {24, 136, 329, 17},
     {"Poprawka na częstotliwość odswieżania monitora", "Display frequency adjustment"},
     {.shows = Shows::YesNo, .setting = &SimulatorSettings::adjustscreenfreq,
      .designed = CheckState::Checked}},
    // Whether the launcher stays open after it has started the simulator: no setting, and left
    // alone by the display and the defaults.
    {ControlKind::CheckBox, 11, 2, {24, 168, 361, 17},
     {"Nie zamykaj tego programu automatycznie po uruchomieniu symulatora",
      "Do not close this program after executing the simulator"}},

    {ControlKind::Button, 1, 0, {8, 496, 137, 25}, {"Standardowe ustawienia", "Default settings"}},
    {ControlKind::Button, 2, 0, {208, 496, 99, 25}, Words::Cancel},
    {ControlKind::Button, 3, 0, {312, 496, 99, 25}, inBoth("OK")},
};
// clang-format on

// The row of a control, or none.
constexpr const OptionControl* optionsControl(ControlKind kind, int number) {
    for (const OptionControl& row : OptionsControls)
        if (row.kind == kind && row.number == number) return &row;
    return nullptr;
}

// Whether the table has that control. No pointer is compared, so that a build checked for
// undefined behaviour can still check the table while compiling.
constexpr bool hasControl(ControlKind kind, int number) {
    for (const OptionControl& row : OptionsControls)
        if (row.kind == kind && row.number == number) return true;
    return false;
}

// The first control whose state stands for that, or none.
constexpr const OptionControl* controlShowing(Shows shows) {
    for (const OptionControl& row : OptionsControls)
        if (row.role.shows == shows) return &row;
    return nullptr;
}

// The highest number the table gives a control of that kind.
constexpr int highestNumber(ControlKind kind) {
    int highest = 0;
    for (const OptionControl& row : OptionsControls)
        if (row.kind == kind && row.number > highest) highest = row.number;
    return highest;
}

struct TrackBarRange {
    int min;
    int max;
};

// A slider's range; it stands at its first position as designed. A two-position slider's first
// position, 0, is its top end.
constexpr TrackBarRange trackBarRange(const OptionControl& slider) {
    switch (slider.role.shows) {
    case Shows::ScreenSize:
        return {1, static_cast<int>(ResolutionTable.size())};
    case Shows::Sensitivity:
        return {1, static_cast<int>(slider.role.scale->size())};
    default:
        return {0, 1};
    }
}

// The position of a sensitivity slider for a value in no row of its scale: the row of the
// setting's default.
constexpr int defaultPosition(const OptionControl& slider) {
    const SensitivityScale& scale = *slider.role.scale;
    for (const SettingsField& field : SettingsFields)
        if (field.member == slider.role.setting)
            for (std::size_t i = 0; i < scale.size(); ++i)
                if (scale[i] == field.defaultValue) return static_cast<int>(i) + 1;
    return 0;
}

// What every row keeps, checked as the table is compiled: one row for each control, a group box
// before what lies in it, a slider's labels in the table, a setting for every control that
// stands for one, and a sensitivity's scale holding its default.
constexpr bool rowsAreWhole() {
    for (std::size_t i = 0; i < std::size(OptionsControls); ++i) {
        const OptionControl& row = OptionsControls[i];
        const ControlRole& role = row.role;
        if (row.number < 1) return false;
        bool groupBefore = row.group == 0;
        for (std::size_t j = 0; j < i; ++j) {
            const OptionControl& earlier = OptionsControls[j];
            if (earlier.kind == row.kind && earlier.number == row.number) return false;
            if (earlier.kind == ControlKind::GroupBox && earlier.number == row.group)
                groupBefore = true;
        }
        if (!groupBefore) return false;
        const bool needsSetting = role.shows != Shows::Caption && role.shows != Shows::ScreenSize;
        if (needsSetting != (role.setting != nullptr)) return false;
        if (row.kind == ControlKind::TrackBar &&
            (role.shows == Shows::Caption || role.shows == Shows::Inverted ||
             !hasControl(ControlKind::Label, role.namedBy) ||
             (role.shownIn != 0 && !hasControl(ControlKind::Label, role.shownIn))))
            return false;
        if (row.kind == ControlKind::CheckBox && role.shows != Shows::Caption &&
            role.shows != Shows::YesNo && role.shows != Shows::Inverted)
            return false;
        if (row.kind != ControlKind::TrackBar && row.kind != ControlKind::CheckBox &&
            role.shows != Shows::Caption)
            return false;
        if (role.shows == Shows::Sensitivity && defaultPosition(row) == 0) return false;
    }
    return true;
}
static_assert(rowsAreWhole());

// The two values of a two-position slider or of a yes/no check box, the top position's or the
// ticked box's first, each with how the label beside a slider shows it.
struct TwoValues {
    std::array<std::string_view, 2> values;
    std::array<BilingualText, 2> labels;
};
inline constexpr TwoValues YesNoValues{{"yes", "no"}, {Words::Yes, Words::No}};
inline constexpr TwoValues ColourDepthValues{{"32", "16"}, {inBoth("32 BPP"), inBoth("16 BPP")}};
