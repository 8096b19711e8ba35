#include "settings/Unit4.h"

#include "platform/FileReplacement.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/ShownText.h"
#include "platform/WindowPlacement.h"
#include "settings/SettingsFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// A box that shows a value it does not know in its third state. A click takes it from there to
// checked, and from then on it moves only between checked and unchecked.
class SettingCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

// The old trackbar drew its channel, thumb and ticks in the top 33 pixels of a taller control:
// the mouse group's invert boxes stand over the rest of its sliders.
class TrackBar : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void initStyleOption(QStyleOptionSlider* option) const override {
        QSlider::initStyleOption(option);
        if (orientation() == Qt::Horizontal)
            option->rect.setHeight(std::min(option->rect.height(), 33));
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

QGroupBox* makeGroupBox(QWidget* parent, const QString& caption, QRect geometry) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(geometry);
    return box;
}

QLabel* makeLabel(QWidget* parent, const QString& caption, QRect geometry,
                  Qt::Alignment alignment = Qt::AlignLeft) {
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

QCheckBox* makeCheckBox(QWidget* parent, const QString& caption, QRect geometry,
                        CheckState designed) {
    auto* box = new SettingCheckBox(caption, parent);
    box->setGeometry(geometry);
    box->setCheckState(toQt(designed));
    return box;
}

QCheckBox* makeCheckBox(QWidget* parent, int n, const QString& caption, QRect geometry) {
    return makeCheckBox(parent, caption, geometry,
                        DesignedCheckStates[static_cast<std::size_t>(n - 1)]);
}

} // namespace

TForm4::TForm4(const QWidget* mainWindow, const SimulatorSettings& mainCopy,
               const Language& interfaceLanguage, std::string installRoot)
    : ToolWindow(mainWindow, 417, 528, QStringLiteral("Opcje")), W(mainCopy),
      InterfaceLanguage(interfaceLanguage), InstallRoot(std::move(installRoot)) {
    fillBackground(this, QColor(192, 220, 192));
    setFont(designedFont(DesignedFace::MsSansSerif, 11));
    buildControls();
    // The working copy was made from the main window's copy and shown; the controls follow it.
    ustaw();
}

void TForm4::buildControls() {
    GroupBox1 = makeGroupBox(this, QStringLiteral("Grafika"), {8, 8, 401, 169});
    Label1 = makeLabel(GroupBox1, QStringLiteral("Rozdzielczość ekranu:"), {136, 24, 107, 13},
                       Qt::AlignHCenter);
    TrackBar1 = makeTrackBar(GroupBox1, 1, {128, 40, 150, 33});
    Label2 = makeLabel(GroupBox1, QStringLiteral("640x480"), {136, 72, 137, 13}, Qt::AlignHCenter);
    Label3 = makeLabel(GroupBox1, QStringLiteral("Głębia kolorów:"), {16, 104, 89, 13});
    TrackBar2 = makeTrackBar(GroupBox1, 2, {120, 96, 41, 33});
    Label4 = makeLabel(GroupBox1, QStringLiteral("32 BPP"), {160, 104, 49, 13});
    Label5 = makeLabel(GroupBox1, QStringLiteral("Tryb pełnoekranowy:"), {16, 136, 105, 13});
    // The full-screen slider lies on the window itself, over the group's full-screen row.
    TrackBar3 = makeTrackBar(this, 3, {128, 136, 41, 33});
    Label6 = makeLabel(GroupBox1, QStringLiteral("Tak"), {161, 136, 33, 13});
    Label7 = makeLabel(GroupBox1, QStringLiteral("Render Alpha:"), {240, 104, 89, 13});
    TrackBar4 = makeTrackBar(GroupBox1, 4, {328, 96, 41, 33});
    Label9 = makeLabel(GroupBox1, QStringLiteral("Yes"), {369, 104, 25, 13});
    Label8 = makeLabel(GroupBox1, QStringLiteral("Wyświetl trakcję:"), {240, 136, 80, 13});
    TrackBar5 = makeTrackBar(GroupBox1, 5, {328, 128, 41, 33});
    Label10 = makeLabel(GroupBox1, QStringLiteral("Tak"), {369, 136, 25, 13});

    GroupBox3 = makeGroupBox(this, QStringLiteral("Mysz"), {8, 184, 401, 105});
    Label11 = makeLabel(GroupBox3, QStringLiteral("Czułość w poziomie:"), {40, 24, 137, 17});
    TrackBar6 = makeTrackBar(GroupBox3, 6, {32, 40, 150, 45});
    CheckBox8 =
        makeCheckBox(GroupBox3, 8, QStringLiteral("Odwróć (Invert mouse)"), {40, 80, 137, 17});
    Label12 = makeLabel(GroupBox3, QStringLiteral("Czułość w pionie:"), {224, 24, 137, 17});
    TrackBar7 = makeTrackBar(GroupBox3, 7, {216, 40, 150, 45});
    CheckBox10 =
        makeCheckBox(GroupBox3, 10, QStringLiteral("Odwróć (Invert mouse)"), {224, 80, 137, 17});

    GroupBox2 = makeGroupBox(this, QStringLiteral("Pozostałe"), {8, 296, 401, 193});
    CheckBox9 = makeCheckBox(GroupBox2, 9, QStringLiteral("Tryb Freefly - latanie po całej trasie"),
                             {24, 24, 225, 17});
    CheckBox1 =
        makeCheckBox(GroupBox2, 1, QStringLiteral("Dźwięki przestrzenne"), {24, 40, 233, 17});
    CheckBox4 = makeCheckBox(GroupBox2, 4, QStringLiteral("Debugmode"), {24, 56, 217, 17});
    CheckBox3 = makeCheckBox(
        GroupBox2, 3,
        QStringLiteral("Zapisywanie informacji o uruchamianiu i przebiegu działania programu "),
        {24, 72, 353, 17});
    CheckBox5 = makeCheckBox(GroupBox2, 5, QStringLiteral("Zapis parametrów fizycznych do pliku"),
                             {24, 88, 249, 17});
    CheckBox6 = makeCheckBox(GroupBox2, 6, QStringLiteral("Poszukiwanie trakcji nad pantografami"),
                             {24, 104, 257, 17});
    CheckBox7 = makeCheckBox(
        GroupBox2, 7, QStringLiteral("Uwzględnianie zależnosci między fizyką a siecią trakcyjną"),
        {24, 120, 337, 17});
    CheckBox2 =
        makeCheckBox(GroupBox2, 2, QStringLiteral("Poprawka na częstotliwość odswieżania monitora"),
                     {24, 136, 329, 17});
    CheckBox11 = makeCheckBox(
        GroupBox2,
        QStringLiteral("Nie zamykaj tego programu automatycznie po uruchomieniu symulatora"),
        {24, 168, 361, 17}, CheckState::Unchecked);

    Button1 = new QPushButton(QStringLiteral("Standardowe ustawienia"), this);
    Button1->setGeometry(8, 496, 137, 25);
    Button2 = new QPushButton(QStringLiteral("Anuluj"), this);
    Button2->setGeometry(208, 496, 99, 25);
    Button3 = new QPushButton(QStringLiteral("OK"), this);
    Button3->setGeometry(312, 496, 99, 25);

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

void TForm4::showLanguageTexts() {
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
