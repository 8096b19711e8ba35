#pragma once

#include "platform/system/Language.h"
#include "settings/OptionsControls.h"
#include "settings/SettingsFile.h"
#include "settings/SimulatorSettings.h"

#include <array>
#include <cstddef>
#include <string>

// The options window's decisions, without a widget: its working copy of the settings, the state
// of each control that shows a setting, what each control's handler does to the working copy,
// and the file that OK writes. What each control stands for is its row of OptionsControls. The
// window's controls mirror this state, and rsim-inspect uses it to show what OK would write.
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

// What the defaults button sets.
SimulatorSettings defaultSettings();

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
    // The two invert boxes' ticks.
    InvertFlags invert() const;

    // The size OK writes: the resolution slider's row once the slider decides it, else the
    // working width and height as they stand.
    Resolution resolution() const;
    // What the label beside TrackBar n shows, in the interface language.
    std::string trackBarLabel(int n, Language language) const;

    // OK: the whole settings file.
    std::string settingsFile() const;

private:
    static std::size_t index(int n) { return static_cast<std::size_t>(n - 1); }
    void show(const OptionControl& control);
    void trackBarChange(const OptionControl& slider);
    void checkBoxClick(const OptionControl& box);
    bool inverted(std::string SimulatorSettings::*sensitivity) const;

    SimulatorSettings settings_;
    std::array<int, highestNumber(ControlKind::TrackBar)> trackBars_{};
    std::array<CheckState, highestNumber(ControlKind::CheckBox)> checkBoxes_{};
    // Whether the resolution slider's position is the size written. It is not while the
    // working width is in no row of ResolutionTable and the player has not moved the slider.
    bool sizeFromTrackBar_ = false;
};
