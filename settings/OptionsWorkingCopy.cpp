#include "settings/OptionsWorkingCopy.h"

#include <algorithm>

namespace {

// The values of a two-position slider or of a yes/no check box; none for another control.
const TwoValues* twoValuesOf(const OptionControl& control) {
    switch (control.role.shows) {
    case Shows::YesNo:
        return &YesNoValues;
    case Shows::ColourDepth:
        return &ColourDepthValues;
    default:
        return nullptr;
    }
}

} // namespace

SimulatorSettings defaultSettings() {
    SimulatorSettings s;
    for (const SettingsField& field : SettingsFields) s.*field.member = field.defaultValue;
    return s;
}

OptionsWorkingCopy::OptionsWorkingCopy(const SimulatorSettings& mainCopy)
    : settings_(mainCopy == SimulatorSettings{} ? defaultSettings() : mainCopy) {
    for (const OptionControl& control : OptionsControls) {
        if (control.kind == ControlKind::TrackBar)
            trackBars_[index(control.number)] = trackBarRange(control).min;
        if (control.kind == ControlKind::CheckBox)
            checkBoxes_[index(control.number)] = control.role.designed;
    }
    ustaw();
}

void OptionsWorkingCopy::ustaw() {
    // A sensitivity's sign goes to its box first, so that the rest of it finds its row.
    for (const OptionControl& box : OptionsControls) {
        if (box.role.shows != Shows::Inverted) continue;
        std::string& value = settings_.*box.role.setting;
        const bool inverted = value.starts_with('-');
        if (inverted) value.erase(0, 1);
        setCheckBox(box.number, inverted ? CheckState::Checked : CheckState::Unchecked);
    }
    for (const OptionControl& control : OptionsControls) show(control);
}

void OptionsWorkingCopy::show(const OptionControl& control) {
    const ControlRole& role = control.role;
    if (role.shows == Shows::ScreenSize) {
        // Only the width picks the row; the row's height is written with it.
        const auto row =
            std::find_if(ResolutionTable.begin(), ResolutionTable.end(),
                         [this](const Resolution& r) { return r.width == settings_.width; });
        if (row != ResolutionTable.end())
            moveTrackBar(control.number, static_cast<int>(row - ResolutionTable.begin()) + 1);
        sizeFromTrackBar_ = row != ResolutionTable.end();
    } else if (role.shows == Shows::Sensitivity) {
        std::string& value = settings_.*role.setting;
        const SensitivityScale& scale = *role.scale;
        const auto row = std::find(scale.begin(), scale.end(), value);
        if (row != scale.end()) {
            moveTrackBar(control.number, static_cast<int>(row - scale.begin()) + 1);
        } else {
            const int fallback = defaultPosition(control);
            moveTrackBar(control.number, fallback);
            value = scale[index(fallback)];
        }
    } else if (const TwoValues* two = twoValuesOf(control)) {
        const std::string& value = settings_.*role.setting;
        for (std::size_t i = 0; i < two->values.size(); ++i) {
            if (value != two->values[i]) continue;
            // The first value is a slider's top position and a ticked box.
            if (control.kind == ControlKind::TrackBar)
                moveTrackBar(control.number, trackBarRange(control).min + static_cast<int>(i));
            else
                setCheckBox(control.number, i == 0 ? CheckState::Checked : CheckState::Unchecked);
            return;
        }
        // A box shows a value it does not know in its third state.
        if (control.kind == ControlKind::CheckBox)
            setCheckBox(control.number, CheckState::PartlyChecked);
    }
}

void OptionsWorkingCopy::setDefaults() {
    settings_ = defaultSettings();
    ustaw();
}

void OptionsWorkingCopy::moveTrackBar(int n, int position) {
    const OptionControl* slider = optionsControl(ControlKind::TrackBar, n);
    if (!slider) return;
    const TrackBarRange range = trackBarRange(*slider);
    position = std::clamp(position, range.min, range.max);
    if (position == trackBars_[index(n)]) return;
    trackBars_[index(n)] = position;
    trackBarChange(*slider);
}

void OptionsWorkingCopy::setCheckBox(int n, CheckState state) {
    const OptionControl* box = optionsControl(ControlKind::CheckBox, n);
    if (!box || state == checkBoxes_[index(n)]) return;
    checkBoxes_[index(n)] = state;
    checkBoxClick(*box);
}

void OptionsWorkingCopy::trackBarChange(const OptionControl& slider) {
    const ControlRole& role = slider.role;
    const int position = trackBars_[index(slider.number)];
    if (role.shows == Shows::ScreenSize) {
        // The working width and height keep their texts; the slider's row is what OK writes.
        sizeFromTrackBar_ = true;
    } else if (role.shows == Shows::Sensitivity) {
        settings_.*role.setting = (*role.scale)[index(position)];
    } else if (const TwoValues* two = twoValuesOf(slider)) {
        settings_.*role.setting =
            two->values[static_cast<std::size_t>(position - trackBarRange(slider).min)];
    }
}

void OptionsWorkingCopy::checkBoxClick(const OptionControl& box) {
    const CheckState state = checkBoxes_[index(box.number)];
    // Only the display sets the third state, for a value it leaves as it stands.
    if (box.role.shows != Shows::YesNo || state == CheckState::PartlyChecked) return;
    settings_.*box.role.setting = YesNoValues.values[state == CheckState::Checked ? 0 : 1];
}

bool OptionsWorkingCopy::inverted(std::string SimulatorSettings::*sensitivity) const {
    for (const OptionControl& box : OptionsControls)
        if (box.role.shows == Shows::Inverted && box.role.setting == sensitivity)
            return checkBox(box.number) == CheckState::Checked;
    return false;
}

InvertFlags OptionsWorkingCopy::invert() const {
    return {inverted(&SimulatorSettings::mousescalehorizontal),
            inverted(&SimulatorSettings::mousescalevertical)};
}

Resolution OptionsWorkingCopy::resolution() const {
    if (sizeFromTrackBar_)
        return ResolutionTable[index(trackBar(controlShowing(Shows::ScreenSize)->number))];
    return {settings_.width, settings_.height};
}

std::string OptionsWorkingCopy::trackBarLabel(int n, Language language) const {
    const OptionControl* slider = optionsControl(ControlKind::TrackBar, n);
    if (!slider) return {};
    if (slider->role.shows == Shows::ScreenSize) {
        const Resolution size = resolution();
        return std::string(size.width) + "x" + std::string(size.height);
    }
    if (!slider->role.setting) return {};
    const std::string& value = settings_.*slider->role.setting;
    if (const TwoValues* two = twoValuesOf(*slider))
        for (std::size_t i = 0; i < two->values.size(); ++i)
            if (value == two->values[i]) return std::string(two->labels[i].in(language));
    // A value that no position stands for is shown as it stands.
    return value;
}

std::string OptionsWorkingCopy::settingsFile() const {
    return formatSettingsFile(settings_, resolution(), invert());
}
