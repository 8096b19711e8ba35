#include "settings/window/Unit4.h"

#include "platform/system/FileReplacement.h"
#include "platform/widgets/CheckBox.h"
#include "platform/widgets/DesignedControls.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/ShownText.h"
#include "platform/widgets/TrackBar.h"
#include "platform/widgets/WindowPlacement.h"
#include "settings/SettingsFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// A box that shows a value it does not know in its third state. A click takes it from there to
// checked, and from then on it moves only between checked and unchecked.
class SettingCheckBox : public CheckBox {
public:
    using CheckBox::CheckBox;

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

// This font is a little wider than the one the window was designed with, and a value shown as it
// stands may be long: a label or check box grows to its text from its designed width, which it
// keeps as its minimum, so that nothing is clipped.
void fitToText(QWidget* control) {
    control->resize(std::max(control->minimumWidth(), control->sizeHint().width()),
                    control->height());
}

Qt::CheckState toQt(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return Qt::Checked;
    case CheckState::PartlyChecked:
        return Qt::PartiallyChecked;
    case CheckState::Unchecked:
        break;
    }
    return Qt::Unchecked;
}

CheckState fromQt(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return CheckState::Checked;
    case Qt::PartiallyChecked:
        return CheckState::PartlyChecked;
    case Qt::Unchecked:
        break;
    }
    return CheckState::Unchecked;
}

QLabel* makeLabel(QWidget* parent, QRect geometry, Fit fit) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment((fit == Fit::Grows ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QSlider* makeTrackBar(QWidget* parent, TrackBarRange range, QRect geometry) {
    const bool twoPositions = range.max - range.min == 1;
    auto* slider = new TrackBar(twoPositions ? Qt::Vertical : Qt::Horizontal, parent);
    slider->setGeometry(geometry);
    slider->setRange(range.min, range.max);
    slider->setValue(range.min);
    slider->setTickInterval(1);
    if (twoPositions) {
        // Position 0 is the top end, and the up arrow moves towards it.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
        slider->setTickPosition(QSlider::TicksBothSides);
    } else {
        slider->setTickPosition(QSlider::TicksBelow);
    }
    return slider;
}

QCheckBox* makeCheckBox(QWidget* parent, QRect geometry, CheckState designed) {
    auto* box = new SettingCheckBox(parent);
    box->setGeometry(geometry);
    box->setCheckState(toQt(designed));
    return box;
}

// The control numbered n among those of its kind.
template <class Control, std::size_t N>
Control* numbered(const std::array<Control*, N>& controls, int n) {
    return controls[static_cast<std::size_t>(n)];
}

QRect designedGeometry(const Place& place) {
    return {place.left, place.top, place.width, place.height};
}

const Place& windowPlace() {
    return optionsControl(ControlKind::Form, 4)->place;
}

using Handler = void (TForm4::*)();

struct DesignedHandler {
    ControlKind kind;
    int number;
    Handler handler;
};

// The handlers under their designed names. CheckBox11 has none: only the launch reads it.
// clang-format off
constexpr DesignedHandler DesignedHandlers[] = {
    {ControlKind::TrackBar, 1, &TForm4::TrackBar1Change},
    {ControlKind::TrackBar, 2, &TForm4::TrackBar2Change},
    {ControlKind::TrackBar, 3, &TForm4::TrackBar3Change},
    {ControlKind::TrackBar, 4, &TForm4::TrackBar4Change},
    {ControlKind::TrackBar, 5, &TForm4::TrackBar5Change},
    {ControlKind::TrackBar, 6, &TForm4::TrackBar6Change},
    {ControlKind::TrackBar, 7, &TForm4::TrackBar7Change},
    {ControlKind::CheckBox, 9, &TForm4::CheckBox9Click},
    {ControlKind::CheckBox, 1, &TForm4::CheckBox1Click},
    {ControlKind::CheckBox, 4, &TForm4::CheckBox4Click},
    {ControlKind::CheckBox, 3, &TForm4::CheckBox3Click},
    {ControlKind::CheckBox, 5, &TForm4::CheckBox5Click},
    {ControlKind::CheckBox, 6, &TForm4::CheckBox6Click},
    {ControlKind::CheckBox, 7, &TForm4::CheckBox7Click},
    {ControlKind::CheckBox, 2, &TForm4::CheckBox2Click},
    {ControlKind::CheckBox, 8, &TForm4::CheckBox8Click},
    {ControlKind::CheckBox, 10, &TForm4::CheckBox10Click},
    {ControlKind::Button, 1, &TForm4::Button1Click},
    {ControlKind::Button, 2, &TForm4::Button2Click},
    {ControlKind::Button, 3, &TForm4::Button3Click},
};
// clang-format on

Handler designedHandler(const OptionControl& control) {
    for (const DesignedHandler& designed : DesignedHandlers)
        if (designed.kind == control.kind && designed.number == control.number)
            return designed.handler;
    return nullptr;
}

} // namespace

TForm4::TForm4(QWidget* mainWindow, const SimulatorSettings& mainCopy,
               const Language& interfaceLanguage, std::string installRoot)
    : ToolWindow(mainWindow, windowPlace().width, windowPlace().height), W(mainCopy),
      InterfaceLanguage(interfaceLanguage), InstallRoot(std::move(installRoot)) {
    fillBackground(this, QColor(192, 220, 192));
    setFont(windowFont());
    buildControls();
    // The working copy was made from the main window's copy and shown; the controls follow it.
    ustaw();
}

// Each row's group box comes before the controls that lie in it.
void TForm4::buildControls() {
    for (const OptionControl& row : OptionsControls) {
        QWidget* parent =
            row.group == 0 ? static_cast<QWidget*>(this) : numbered(groupBoxes_, row.group);
        const QRect geometry = designedGeometry(row.place);
        const auto n = static_cast<std::size_t>(row.number);
        switch (row.kind) {
        case ControlKind::Form:
            break;
        case ControlKind::GroupBox:
            groupBoxes_[n] = makeGroupBox(parent, geometry);
            break;
        case ControlKind::Label:
            labels_[n] = makeLabel(parent, geometry, row.place.fit);
            break;
        case ControlKind::TrackBar:
            trackBars_[n] = makeTrackBar(parent, trackBarRange(row), geometry);
            break;
        case ControlKind::CheckBox:
            checkBoxes_[n] = makeCheckBox(parent, geometry, row.role.designed);
            break;
        case ControlKind::Button:
            buttons_[n] = makeButton(parent, geometry);
            break;
        }
    }

    showTexts(texts(), Language::Polish);
    for (QWidget* control : captioned()) {
        control->setMinimumWidth(control->width());
        fitToText(control);
    }
    nameTrackBarsAfterTheirLabels();
    connectHandlers();
}

// Each control runs its designed handler. A slider or a box of a setting that the table gained
// after the handlers were named runs the table's handler under no name of its own.
void TForm4::connectHandlers() {
    for (const OptionControl& row : OptionsControls) {
        const int n = row.number;
        const Handler designed = designedHandler(row);
        if (row.kind == ControlKind::Button && designed) {
            connect(numbered(buttons_, n), &QPushButton::clicked, this, designed);
        } else if (row.kind == ControlKind::TrackBar) {
            QSlider* slider = numbered(trackBars_, n);
            if (designed)
                connect(slider, &QSlider::valueChanged, this, designed);
            else
                connect(slider, &QSlider::valueChanged, this, [this, n] { trackBarChanged(n); });
        } else if (row.kind == ControlKind::CheckBox && row.role.shows != Shows::Caption) {
            QCheckBox* box = numbered(checkBoxes_, n);
            if (designed)
                connect(box, &QCheckBox::stateChanged, this, designed);
            else
                connect(box, &QCheckBox::stateChanged, this, [this, n] { checkBoxClicked(n); });
        }
    }
}

QWidget* TForm4::control(const OptionControl& row) const {
    const int n = row.number;
    switch (row.kind) {
    case ControlKind::Form:
        break;
    case ControlKind::GroupBox:
        return numbered(groupBoxes_, n);
    case ControlKind::Label:
        return numbered(labels_, n);
    case ControlKind::TrackBar:
        return numbered(trackBars_, n);
    case ControlKind::CheckBox:
        return numbered(checkBoxes_, n);
    case ControlKind::Button:
        return numbered(buttons_, n);
    }
    return const_cast<TForm4*>(this);
}

// A caption in this font may be wider than designed: its control grows to it, from its designed
// width, unless it keeps its place to centre its text there.
std::vector<QWidget*> TForm4::captioned() const {
    std::vector<QWidget*> controls;
    for (const OptionControl& row : OptionsControls)
        if ((row.kind == ControlKind::Label || row.kind == ControlKind::CheckBox) &&
            row.place.fit != Fit::CentredKeeps)
            controls.push_back(control(row));
    return controls;
}

void TForm4::ustaw() {
    // Each control that changes runs its handler, which finds the working copy in step already.
    // The launch switch is no setting, and keeps its state.
    for (const OptionControl& row : OptionsControls) {
        const int n = row.number;
        if (row.kind == ControlKind::TrackBar) numbered(trackBars_, n)->setValue(W.trackBar(n));
        if (row.kind == ControlKind::CheckBox && row.role.shows != Shows::Caption)
            numbered(checkBoxes_, n)->setCheckState(toQt(W.checkBox(n)));
    }
    for (const OptionControl& row : OptionsControls)
        if (row.kind == ControlKind::TrackBar) showTrackBarLabel(row);
}

std::vector<WindowText> TForm4::texts() {
    std::vector<WindowText> texts;
    for (const OptionControl& row : OptionsControls)
        if (!row.caption.polish.empty())
            texts.push_back({control(row), TextRole::Caption, row.caption});
    return texts;
}

void TForm4::showForEditing() {
    Memo1.clear();
    show();
}

bool TForm4::staysOpenAfterStart() const {
    return CheckBox11->isChecked();
}

void TForm4::setLanguage(Language language) {
    showTexts(texts(), language);
    for (const OptionControl& row : OptionsControls) {
        const Place& place = row.place;
        if (place.leftInEnglish == 0) continue;
        QWidget* moved = control(row);
        moved->move(language == Language::English ? place.leftInEnglish : place.left, moved->y());
    }
    for (const OptionControl& row : OptionsControls)
        if (row.kind == ControlKind::TrackBar) showTrackBarLabel(row);
    for (QWidget* control : captioned()) fitToText(control);
    nameTrackBarsAfterTheirLabels();
}

void TForm4::showTrackBarLabel(const OptionControl& slider) {
    if (slider.role.shownIn == 0) return;
    QLabel* label = numbered(labels_, slider.role.shownIn);
    label->setText(shownText(W.trackBarLabel(slider.number, InterfaceLanguage)));
    if (optionsControl(ControlKind::Label, slider.role.shownIn)->place.fit != Fit::CentredKeeps)
        fitToText(label);
}

// A screen reader names each slider after the label beside it, in the language shown.
void TForm4::nameTrackBarsAfterTheirLabels() {
    for (const OptionControl& row : OptionsControls)
        if (row.kind == ControlKind::TrackBar)
            numbered(trackBars_, row.number)
                ->setAccessibleName(numbered(labels_, row.role.namedBy)->text());
}

void TForm4::trackBarChanged(int n) {
    W.moveTrackBar(n, numbered(trackBars_, n)->value());
    showTrackBarLabel(*optionsControl(ControlKind::TrackBar, n));
}

void TForm4::checkBoxClicked(int n) {
    W.setCheckBox(n, fromQt(numbered(checkBoxes_, n)->checkState()));
}

void TForm4::Button1Click() {
    W.setDefaults();
    ustaw();
}

void TForm4::Button2Click() {
    hide();
}

void TForm4::Button3Click() {
    // The buffer holds the lines of this save only, each written with CR LF after it.
    const std::string file = W.settingsFile();
    Memo1.clear();
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = std::min(file.find("\r\n", at), file.size());
        Memo1.push_back(file.substr(at, end - at));
        at = end + 2;
    }

    const std::string path = settingsFilePath(InstallRoot);
    // The window stays open with its values, and a second OK tries the whole save again.
    if (replaceFile(path, file, InstallRoot) != FileReplacement::Replaced) {
        MessageBox::showError(QStringLiteral("Cannot create file ") + shownFileName(path));
        return;
    }
    hide();
}

void TForm4::closeEvent(QCloseEvent* event) {
    Button2Click();
    event->accept();
}
