#include "settings/OptionsWorkingCopy.h"

#include "platform/system/Words.h"

#include <algorithm>

namespace {

using Field = std::string SimulatorSettings::*;

// The two-position sliders of the yes/no settings, TrackBar3 to TrackBar5.
constexpr std::array<Field, 3> YesNoTrackBarFields{&SimulatorSettings::fullscreen,
                                                   &SimulatorSettings::renderalpha,
                                                   &SimulatorSettings::loadtraction};

struct YesNoBox {
    int checkBox;
    Field field;
};

// In the order the display sets them.
constexpr std::array<YesNoBox, 8> YesNoBoxes{{
    {9, &SimulatorSettings::freefly},
    {1, &SimulatorSettings::soundenabled},
    {4, &SimulatorSettings::debugmode},
    {3, &SimulatorSettings::debuglog},
    {5, &SimulatorSettings::physicslog},
    {6, &SimulatorSettings::enabletraction},
    {7, &SimulatorSettings::livetraction},
    {2, &SimulatorSettings::adjustscreenfreq},
}};

struct MouseAxis {
    int trackBar;
    int invertBox;
    Field field;
    const std::array<std::string_view, 10>* table;
    int fallback; // the position of the table's default sensitivity
    bool InvertFlags::*flag;
};

constexpr std::array<MouseAxis, 2> MouseAxes{{
    {6, 8, &SimulatorSettings::mousescalehorizontal, &HorizontalSensitivityTable, 6,
     &InvertFlags::InvertHorizontal},
    {7, 10, &SimulatorSettings::mousescalevertical, &VerticalSensitivityTable, 3,
     &InvertFlags::InvertVertical},
}};

Field yesNoField(int trackBar) {
    return YesNoTrackBarFields[static_cast<std::size_t>(trackBar - 3)];
}

const MouseAxis* axisOfTrackBar(int n) {
    for (const MouseAxis& axis : MouseAxes)
        if (axis.trackBar == n) return &axis;
    return nullptr;
}

} // namespace

SimulatorSettings defaultSettings() {
    SimulatorSettings s;
    for (const SettingsField& field : SettingsFields) s.*field.member = field.defaultValue;
    return s;
}

std::string yesNoLabel(const std::string& value, Language language) {
    if (value == "yes") return std::string(Words::Yes.in(language));
    if (value == "no") return std::string(Words::No.in(language));
    return value;
}

OptionsWorkingCopy::OptionsWorkingCopy(const SimulatorSettings& mainCopy)
    : settings_(mainCopy == SimulatorSettings{} ? defaultSettings() : mainCopy) {
    for (std::size_t i = 0; i < trackBars_.size(); ++i) trackBars_[i] = TrackBarRanges[i].designed;
    ustaw();
}

void OptionsWorkingCopy::ustaw() {
    for (const MouseAxis& axis : MouseAxes) {
        std::string& value = settings_.*axis.field;
        const bool inverted = value.starts_with('-');
        if (inverted) value.erase(0, 1);
        setCheckBox(axis.invertBox, inverted ? CheckState::Checked : CheckState::Unchecked);
    }
    for (const MouseAxis& axis : MouseAxes) {
        std::string& value = settings_.*axis.field;
        const auto row = std::find(axis.table->begin(), axis.table->end(), value);
        if (row != axis.table->end()) {
            moveTrackBar(axis.trackBar, static_cast<int>(row - axis.table->begin()) + 1);
        } else {
            moveTrackBar(axis.trackBar, axis.fallback);
            value = (*axis.table)[index(axis.fallback)];
        }
    }

    // Only the width picks the row; the row's height is written with it.
    const auto row =
        std::find_if(ResolutionTable.begin(), ResolutionTable.end(),
                     [this](const Resolution& r) { return r.width == settings_.width; });
    if (row != ResolutionTable.end())
        moveTrackBar(1, static_cast<int>(row - ResolutionTable.begin()) + 1);
    sizeFromTrackBar_ = row != ResolutionTable.end();

    if (settings_.bpp == "32") moveTrackBar(2, 0);
    if (settings_.bpp == "16") moveTrackBar(2, 1);
    for (int n = 3; n <= 5; ++n) {
        const std::string& value = settings_.*yesNoField(n);
        if (value == "yes") moveTrackBar(n, 0);
        if (value == "no") moveTrackBar(n, 1);
    }
    for (const YesNoBox& box : YesNoBoxes) {
        const std::string& value = settings_.*box.field;
        setCheckBox(box.checkBox, value == "yes"  ? CheckState::Checked
                                  : value == "no" ? CheckState::Unchecked
                                                  : CheckState::PartlyChecked);
    }
}

void OptionsWorkingCopy::setDefaults() {
    settings_ = defaultSettings();
    ustaw();
}

void OptionsWorkingCopy::moveTrackBar(int n, int position) {
    const TrackBarRange& range = TrackBarRanges[index(n)];
    position = std::clamp(position, range.min, range.max);
    if (position == trackBars_[index(n)]) return;
    trackBars_[index(n)] = position;
    trackBarChange(n);
}

void OptionsWorkingCopy::setCheckBox(int n, CheckState state) {
    if (state == checkBoxes_[index(n)]) return;
    checkBoxes_[index(n)] = state;
    checkBoxClick(n);
}

void OptionsWorkingCopy::trackBarChange(int n) {
    const int position = trackBars_[index(n)];
    if (n == 1) {
        // The working width and height keep their texts; the slider's row is what OK writes.
        sizeFromTrackBar_ = true;
    } else if (n == 2) {
        settings_.bpp = position == 0 ? "32" : "16";
    } else if (const MouseAxis* axis = axisOfTrackBar(n)) {
        settings_.*axis->field = (*axis->table)[index(position)];
    } else {
        settings_.*yesNoField(n) = position == 0 ? "yes" : "no";
    }
}

void OptionsWorkingCopy::checkBoxClick(int n) {
    const CheckState state = checkBoxes_[index(n)];
    for (const MouseAxis& axis : MouseAxes)
        if (axis.invertBox == n) invert_.*axis.flag = state == CheckState::Checked;
    for (const YesNoBox& box : YesNoBoxes) {
        // Only the display sets the third state, for a value it leaves as it stands.
        if (box.checkBox != n || state == CheckState::PartlyChecked) continue;
        settings_.*box.field = state == CheckState::Checked ? "yes" : "no";
    }
}

Resolution OptionsWorkingCopy::resolution() const {
    if (sizeFromTrackBar_) return ResolutionTable[index(trackBar(1))];
    return {settings_.width, settings_.height};
}

std::string OptionsWorkingCopy::trackBarLabel(int n, Language language) const {
    if (n == 1) {
        const Resolution size = resolution();
        return std::string(size.width) + "x" + std::string(size.height);
    }
    if (n == 2) {
        const std::string& bpp = settings_.bpp;
        return bpp == "32" || bpp == "16" ? bpp + " BPP" : bpp;
    }
    return yesNoLabel(settings_.*yesNoField(n), language);
}

std::string OptionsWorkingCopy::settingsFile() const {
    return formatSettingsFile(settings_, resolution(), invert_);
}
