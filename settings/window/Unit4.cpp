#include "settings/window/Unit4.h"

#include "platform/widgets/Button.h"
#include "platform/widgets/CheckBox.h"
#include "platform/system/FileReplacement.h"
#include "platform/system/Words.h"
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

QGroupBox* makeGroupBox(QWidget* parent, QRect geometry) {
    auto* box = new QGroupBox(parent);
    box->setGeometry(geometry);
    return box;
}

// A label whose caption comes from the window's texts, or is given here.
QLabel* makeLabel(QWidget* parent, QRect geometry, Qt::Alignment alignment = Qt::AlignLeft,
                  const QString& caption = QString()) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// n is the slider's number, which gives its range and designed position.
QSlider* makeTrackBar(QWidget* parent, int n, QRect geometry) {
    const TrackBarRange& range = TrackBarRanges[static_cast<std::size_t>(n - 1)];
    const bool twoPositions = range.max - range.min == 1;
    auto* slider = new TrackBar(twoPositions ? Qt::Vertical : Qt::Horizontal, parent);
    slider->setGeometry(geometry);
    slider->setRange(range.min, range.max);
    slider->setValue(range.designed);
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

QCheckBox* makeCheckBox(QWidget* parent, int n, QRect geometry) {
    return makeCheckBox(parent, geometry, DesignedCheckStates[static_cast<std::size_t>(n - 1)]);
}

QPushButton* makeButton(QWidget* parent, const QString& caption, QRect geometry) {
    auto* button = new Button(caption, parent);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TForm4::TForm4(QWidget* mainWindow, const SimulatorSettings& mainCopy,
               const Language& interfaceLanguage, std::string installRoot)
    : ToolWindow(mainWindow, 417, 528), W(mainCopy), InterfaceLanguage(interfaceLanguage),
      InstallRoot(std::move(installRoot)) {
    fillBackground(this, QColor(192, 220, 192));
    setFont(windowFont());
    buildControls();
    // The working copy was made from the main window's copy and shown; the controls follow it.
    ustaw();
}

void TForm4::buildControls() {
    GroupBox1 = makeGroupBox(this, {8, 8, 401, 169});
    Label1 = makeLabel(GroupBox1, {136, 24, 107, 13}, Qt::AlignHCenter);
    TrackBar1 = makeTrackBar(GroupBox1, 1, {128, 40, 150, 33});
    // The labels beside the sliders show the settings, as ustaw puts them there.
    Label2 = makeLabel(GroupBox1, {136, 72, 137, 13}, Qt::AlignHCenter);
    Label3 = makeLabel(GroupBox1, {16, 104, 89, 13});
    TrackBar2 = makeTrackBar(GroupBox1, 2, {120, 96, 41, 33});
    Label4 = makeLabel(GroupBox1, {160, 104, 49, 13});
    Label5 = makeLabel(GroupBox1, {16, 136, 105, 13});
    // The full-screen slider lies on the window itself, over the group's full-screen row.
    TrackBar3 = makeTrackBar(this, 3, {128, 136, 41, 33});
    Label6 = makeLabel(GroupBox1, {161, 136, 33, 13});
    // Render Alpha and OK read the same in both languages.
    Label7 =
        makeLabel(GroupBox1, {240, 104, 89, 13}, Qt::AlignLeft, QStringLiteral("Render Alpha:"));
    TrackBar4 = makeTrackBar(GroupBox1, 4, {328, 96, 41, 33});
    Label9 = makeLabel(GroupBox1, {369, 104, 25, 13});
    Label8 = makeLabel(GroupBox1, {240, 136, 80, 13});
    TrackBar5 = makeTrackBar(GroupBox1, 5, {328, 128, 41, 33});
    Label10 = makeLabel(GroupBox1, {369, 136, 25, 13});

    GroupBox3 = makeGroupBox(this, {8, 184, 401, 105});
    Label11 = makeLabel(GroupBox3, {40, 24, 137, 17});
    TrackBar6 = makeTrackBar(GroupBox3, 6, {32, 40, 150, 45});
    CheckBox8 = makeCheckBox(GroupBox3, 8, {40, 80, 137, 17});
    Label12 = makeLabel(GroupBox3, {224, 24, 137, 17});
    TrackBar7 = makeTrackBar(GroupBox3, 7, {216, 40, 150, 45});
    CheckBox10 = makeCheckBox(GroupBox3, 10, {224, 80, 137, 17});

    GroupBox2 = makeGroupBox(this, {8, 296, 401, 193});
    CheckBox9 = makeCheckBox(GroupBox2, 9, {24, 24, 225, 17});
    CheckBox1 = makeCheckBox(GroupBox2, 1, {24, 40, 233, 17});
    CheckBox4 = makeCheckBox(GroupBox2, 4, {24, 56, 217, 17});
    CheckBox3 = makeCheckBox(GroupBox2, 3, {24, 72, 353, 17});
    CheckBox5 = makeCheckBox(GroupBox2, 5, {24, 88, 249, 17});
    CheckBox6 = makeCheckBox(GroupBox2, 6, {24, 104, 257, 17});
    CheckBox7 = makeCheckBox(GroupBox2, 7, {24, 120, 337, 17});
    CheckBox2 = makeCheckBox(GroupBox2, 2, {24, 136, 329, 17});
    CheckBox11 = makeCheckBox(GroupBox2, {24, 168, 361, 17}, CheckState::Unchecked);

    Button1 = makeButton(this, QString(), {8, 496, 137, 25});
    Button2 = makeButton(this, QString(), {208, 496, 99, 25});
    Button3 = makeButton(this, QStringLiteral("OK"), {312, 496, 99, 25});

    showTexts(texts(), Language::Polish);
    for (QWidget* control : captioned()) {
        control->setMinimumWidth(control->width());
        fitToText(control);
    }
    nameTrackBarsAfterTheirLabels();

    connect(TrackBar1, &QSlider::valueChanged, this, &TForm4::TrackBar1Change);
    connect(TrackBar2, &QSlider::valueChanged, this, &TForm4::TrackBar2Change);
    connect(TrackBar3, &QSlider::valueChanged, this, &TForm4::TrackBar3Change);
    connect(TrackBar4, &QSlider::valueChanged, this, &TForm4::TrackBar4Change);
    connect(TrackBar5, &QSlider::valueChanged, this, &TForm4::TrackBar5Change);
    connect(TrackBar6, &QSlider::valueChanged, this, &TForm4::TrackBar6Change);
    connect(TrackBar7, &QSlider::valueChanged, this, &TForm4::TrackBar7Change);
    connect(CheckBox9, &QCheckBox::stateChanged, this, &TForm4::CheckBox9Click);
    connect(CheckBox1, &QCheckBox::stateChanged, this, &TForm4::CheckBox1Click);
    connect(CheckBox4, &QCheckBox::stateChanged, this, &TForm4::CheckBox4Click);
    connect(CheckBox3, &QCheckBox::stateChanged, this, &TForm4::CheckBox3Click);
    connect(CheckBox5, &QCheckBox::stateChanged, this, &TForm4::CheckBox5Click);
    connect(CheckBox6, &QCheckBox::stateChanged, this, &TForm4::CheckBox6Click);
    connect(CheckBox7, &QCheckBox::stateChanged, this, &TForm4::CheckBox7Click);
    connect(CheckBox2, &QCheckBox::stateChanged, this, &TForm4::CheckBox2Click);
    connect(CheckBox8, &QCheckBox::stateChanged, this, &TForm4::CheckBox8Click);
    connect(CheckBox10, &QCheckBox::stateChanged, this, &TForm4::CheckBox10Click);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
}

QSlider* TForm4::trackBar(int n) const {
    const std::array<QSlider*, 7> bars{TrackBar1, TrackBar2, TrackBar3, TrackBar4,
                                       TrackBar5, TrackBar6, TrackBar7};
    return bars[static_cast<std::size_t>(n - 1)];
}

QCheckBox* TForm4::checkBox(int n) const {
    const std::array<QCheckBox*, 10> boxes{CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5,
                                           CheckBox6, CheckBox7, CheckBox8, CheckBox9, CheckBox10};
    return boxes[static_cast<std::size_t>(n - 1)];
}

QLabel* TForm4::trackBarLabel(int n) const {
    const std::array<QLabel*, 7> labels{Label2, Label4, Label6, Label9, Label10, nullptr, nullptr};
    return labels[static_cast<std::size_t>(n - 1)];
}

std::vector<QWidget*> TForm4::captioned() const {
    // Label2 keeps its designed size and centres its text.
    return {Label1,    Label3,    Label4,    Label5,    Label6,     Label7,    Label8,    Label9,
            Label10,   Label11,   Label12,   CheckBox8, CheckBox10, CheckBox9, CheckBox1, CheckBox4,
            CheckBox3, CheckBox5, CheckBox6, CheckBox7, CheckBox2,  CheckBox11};
}

void TForm4::ustaw() {
    // Each control that changes runs its handler, which finds the working copy in step already.
    for (int n = 1; n <= 7; ++n) trackBar(n)->setValue(W.trackBar(n));
    for (int n = 1; n <= 10; ++n) checkBox(n)->setCheckState(toQt(W.checkBox(n)));
    for (int n = 1; n <= 5; ++n) showTrackBarLabel(n);
}

std::vector<WindowText> TForm4::texts() {
    const BilingualText invert{"Odwróć (Invert mouse)", "Invert mouse"};
    return {
        {this, TextRole::Caption, Words::OptionsTitle},
        {GroupBox1, TextRole::Caption, {"Grafika", "Graphics"}},
        {GroupBox3, TextRole::Caption, {"Mysz", "Mouse"}},
        {GroupBox2, TextRole::Caption, {"Pozostałe", "Other"}},
        {CheckBox8, TextRole::Caption, invert},
        {CheckBox10, TextRole::Caption, invert},
        {CheckBox9, TextRole::Caption, {"Tryb Freefly - latanie po całej trasie", "Freefly mode"}},
        {CheckBox1, TextRole::Caption, {"Dźwięki przestrzenne", "Surround sounds enabled"}},
        {CheckBox3,
         TextRole::Caption,
         {"Zapisywanie informacji o uruchamianiu i przebiegu działania programu ",
          "Log data to the file"}},
        {CheckBox4, TextRole::Caption, {"Debugmode", "Debug mode"}},
        {CheckBox5,
         TextRole::Caption,
         {"Zapis parametrów fizycznych do pliku", "Log physics data to the file"}},
        {CheckBox6,
         TextRole::Caption,
         {"Poszukiwanie trakcji nad pantografami", "Seek traction over the pantographs"}},
        {CheckBox7,
         TextRole::Caption,
         {"Uwzględnianie zależnosci między fizyką a siecią trakcyjną",
          "Physics dependent electrical traction"}},
        {CheckBox2,
         TextRole::Caption,
         {"Poprawka na częstotliwość odswieżania monitora", "Display frequency adjustment"}},
        {CheckBox11,
         TextRole::Caption,
         {"Nie zamykaj tego programu automatycznie po uruchomieniu symulatora",
          "Do not close this program after executing the simulator"}},
        {Label1, TextRole::Caption, {"Rozdzielczość ekranu:", "Screen resolution:"}},
        {Label3, TextRole::Caption, {"Głębia kolorów:", "Colour depth:"}},
        {Label5, TextRole::Caption, {"Tryb pełnoekranowy:", "Fullscreen mode:"}},
        {Label8, TextRole::Caption, {"Wyświetl trakcję:", "Electric traction display:"}},
        {Label11, TextRole::Caption, {"Czułość w poziomie:", "Horizontal sensivity:"}},
        {Label12, TextRole::Caption, {"Czułość w pionie:", "Vertical sensivity:"}},
        {Button2, TextRole::Caption, Words::Cancel},
        {Button1, TextRole::Caption, {"Standardowe ustawienia", "Default settings"}},
    };
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
    // The English caption is longer, and would run into the slider.
    Label8->move(language == Language::English ? 218 : 240, Label8->y());
    for (int n = 3; n <= 5; ++n) showTrackBarLabel(n);
    for (QWidget* control : captioned()) fitToText(control);
    nameTrackBarsAfterTheirLabels();
}

void TForm4::showTrackBarLabel(int n) {
    QLabel* label = trackBarLabel(n);
    if (!label) return;
    label->setText(shownText(W.trackBarLabel(n, InterfaceLanguage)));
    if (label != Label2) fitToText(label);
}

// A screen reader names each slider after the label beside it, in the language shown.
void TForm4::nameTrackBarsAfterTheirLabels() {
    const std::array<QLabel*, 7> labels{Label1, Label3, Label5, Label7, Label8, Label11, Label12};
    for (int n = 1; n <= 7; ++n)
        trackBar(n)->setAccessibleName(labels[static_cast<std::size_t>(n - 1)]->text());
}

void TForm4::trackBarChanged(int n) {
    W.moveTrackBar(n, trackBar(n)->value());
    showTrackBarLabel(n);
}

void TForm4::checkBoxClicked(int n) {
    W.setCheckBox(n, fromQt(checkBox(n)->checkState()));
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
