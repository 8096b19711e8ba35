#pragma once

#include "platform/system/Language.h"
#include "settings/SettingsFile.h"
#include "settings/SimulatorSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The options window's decisions, without a widget: its working copy of the settings, the state
// of each control that shows a setting, what each control's handler does to the working copy,
// and the file that OK writes. The window's controls mirror this state, and rsim-inspect uses it
// to show what OK would write.
//
// A control's handler runs only when the control's state changes, as the toolkit raises a
// slider's change event only when its position changes after clamping and a check box's click
// event only when its state changes, whether the player or the display sets it. Controls are
// numbered as the window names them: trackBar(3) is TrackBar3, checkBox(8) is CheckBox8.
//
// The window never shows a state other than what OK writes. A value that no control position
// stands for (a width in no row of ResolutionTable, a bpp other than "32" and "16", a yes/no
// setting other than "yes" and "no") is shown as it stands, in its label or as a check box's
// third state, and written back unchanged until the player changes its control.

// The sensitivities the two mouse sliders offer, by position from 1. Compared as texts, so
// "3.20" is in neither table.
inline constexpr std::array<std::string_view, 10> HorizontalSensitivityTable{
    "0.2", "0.5", "1.3", "1.8", "2.5", "3.2", "4.0", "5.0", "6.0", "7.0"};
inline constexpr std::array<std::string_view, 10> VerticalSensitivityTable{
    "0.1", "0.2", "0.5", "1.0", "1.5", "2.0", "2.5", "3.0", "4.0", "5.0"};

struct TrackBarRange {
    int min;
    int max;
    int designed; // the position before the first display
};

// TrackBar1 to TrackBar7. A two-position slider's position 0 is its top end.
inline constexpr std::array<TrackBarRange, 7> TrackBarRanges{{
    {1, 7, 1},  // resolution
    {0, 1, 0},  // bpp: 0 "32", 1 "16"
    {0, 1, 0},  // fullscreen: 0 "yes", 1 "no"
    {0, 1, 0},  // renderalpha
    {0, 1, 0},  // loadtraction
    {1, 10, 1}, // horizontal sensitivity
    {1, 10, 1}, // vertical sensitivity
}};

enum class CheckState : std::uint8_t { Unchecked, PartlyChecked, Checked };

// CheckBox1 to CheckBox10 before the first display.
inline constexpr std::array<CheckState, 10> DesignedCheckStates{
    CheckState::Checked,   CheckState::Checked,  CheckState::Checked,   CheckState::Unchecked,
    CheckState::Unchecked, CheckState::Checked,  CheckState::Unchecked, CheckState::Unchecked,
    CheckState::Unchecked, CheckState::Unchecked};

// What the defaults button sets.
SimulatorSettings defaultSettings();

// The text of a yes/no label (Label6, Label9, Label10) for a value, in the interface language; a
// value other than "yes" and "no" is shown as it stands.
std::string yesNoLabel(const std::string& value, Language language);

class OptionsWorkingCopy {
public:
    // The window's creation: both invert flags off, the main window's values copied, then shown.
    // With no settings file, or one of which every value was lost, the copy starts from the
    // defaults, so that the first OK writes a complete file.
    explicit OptionsWorkingCopy(const SimulatorSettings& mainCopy);

    // ustaw: shows the working copy in the controls. A sensitivity's leading "-" becomes its
    // invert box's tick; a sensitivity in no row of its table becomes that table's default.
    void ustaw();
    // The defaults button: every value to its default, then shown.
    void setDefaults();

    // A control takes a new state, from the player or from the display; its handler runs when
    // the state changed.
    void moveTrackBar(int n, int position);
    void setCheckBox(int n, CheckState state);

    int trackBar(int n) const { return trackBars_[index(n)]; }
    CheckState checkBox(int n) const { return checkBoxes_[index(n)]; }
    const SimulatorSettings& settings() const { return settings_; }
    InvertFlags invert() const { return invert_; }

    // The size OK writes: the resolution slider's row once the slider decides it, else the
    // working width and height as they stand.
    Resolution resolution() const;
    // The label beside TrackBar n, n from 1 to 5: Label2, Label4, Label6, Label9, Label10.
    std::string trackBarLabel(int n, Language language) const;

    // OK: the whole settings file.
    std::string settingsFile() const;

private:
    static std::size_t index(int n) { return static_cast<std::size_t>(n - 1); }
    void trackBarChange(int n);
    void checkBoxClick(int n);

    SimulatorSettings settings_;
    InvertFlags invert_;
    std::array<int, 7> trackBars_{};
    std::array<CheckState, 10> checkBoxes_ = DesignedCheckStates;
    // Whether the resolution slider's position is the size written. It is not while the
    // working width is in no row of ResolutionTable and the player has not moved the slider.
    bool sizeFromTrackBar_ = false;
};
