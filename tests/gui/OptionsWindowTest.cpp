#include "settings/window/Unit4.h"

#include "platform/widgets/MessageBox.h"
#include "settings/SettingsFile.h"
#include "shell/window/AllWindows.h"
#include "tests/SampleSettingsFile.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const std::string Width1024 = "width 1024  // szerokosc ekranu";
const std::string Height768 = "height 768 \t// wysokosc ekranu";
const std::string FreeflyYes =
    "freefly yes 20 10 -20\t// (no x y z) yes: mozna latac po calej trasie";

QString accessibleName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// A click on a check box, where its box is drawn.
void click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
}

// The options window of an installation in a folder of its own, holding the sample rsim.ini.
class OptionsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path().toStdString();
        ini = root + "/rsim.ini";
        write(sampleSettingsFile());
        MessageBox::clearAnswered();
    }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }

    void write(const std::string& bytes) const { std::ofstream(ini, std::ios::binary) << bytes; }
    std::string written() const { return readFile(ini); }

    TForm4& open(const SimulatorSettings& settings) {
        form = std::make_unique<TForm4>(nullptr, settings, language, root);
        return *form;
    }
    TForm4& openSample() { return open(loadSimulatorSettings(root)); }

    QTemporaryDir dir;
    std::string root;
    std::string ini;
    Language language = Language::Polish;
    std::unique_ptr<TForm4> form;
};

TEST_F(OptionsWindow, ControlsStandWhereTheyWereDesigned) {
    TForm4& w = openSample();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(w.windowTitle(), "Opcje");
    EXPECT_EQ(w.size(), QSize(417, 528));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(w.font().pixelSize(), 11);

    // The labels beside the sliders show the sample's settings; every other control its
    // designed caption.
    const std::map<QWidget*, QString> values{{w.Label2, "800x600"},
                                             {w.Label4, "32 BPP"},
                                             {w.Label6, "Nie"},
                                             {w.Label9, "Tak"},
                                             {w.Label10, "Tak"}};
    QWidget* const window = &w;
    for (const OptionControl& row : OptionsControls) {
        if (row.kind == ControlKind::Form) continue;
        QWidget* const control = w.control(row);
        QWidget* const parent =
            row.group == 0 ? window : w.control(*optionsControl(ControlKind::GroupBox, row.group));
        const QRect designed(row.place.left, row.place.top, row.place.width, row.place.height);
        const QString caption =
            values.contains(control) ? values.at(control) : textIn(row.caption, Language::Polish);
        const QRect g = control->geometry();
        SCOPED_TRACE(control->metaObject()->className() + std::to_string(row.number));
        EXPECT_EQ(control->parentWidget(), parent);
        EXPECT_EQ(g.topLeft(), designed.topLeft());
        EXPECT_EQ(g.height(), designed.height());
        // A caption in this font may be a little wider than designed: its control grows to it.
        auto* label = qobject_cast<QLabel*>(control);
        auto* box = qobject_cast<QCheckBox*>(control);
        if (label || box) {
            EXPECT_EQ(label ? label->text() : box->text(), caption);
            EXPECT_GE(g.width(), designed.width());
            EXPECT_LE(control->sizeHint().width(), g.width());
            EXPECT_LE(g.right(), parent->width() - 2) << "inside its group's frame";
        } else {
            EXPECT_EQ(g, designed);
        }
        if (auto* group = qobject_cast<QGroupBox*>(control)) {
            EXPECT_EQ(group->title(), caption);
        }
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_EQ(button->text(), caption);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, g.width());
        }
        if (box) {
            EXPECT_EQ(accessibleName(box), caption);
        }
        if (auto* slider = qobject_cast<QSlider*>(control)) {
            const TrackBarRange range = trackBarRange(row);
            EXPECT_EQ(accessibleName(slider),
                      qobject_cast<QLabel*>(
                          w.control(*optionsControl(ControlKind::Label, row.role.namedBy)))
                          ->text());
            EXPECT_EQ(slider->minimum(), range.min);
            EXPECT_EQ(slider->maximum(), range.max);
            EXPECT_EQ(slider->tickInterval(), 1);
            const bool twoPositions = range.max == 1;
            EXPECT_EQ(slider->orientation(), twoPositions ? Qt::Vertical : Qt::Horizontal);
            EXPECT_EQ(slider->tickPosition(),
                      twoPositions ? QSlider::TicksBothSides : QSlider::TicksBelow);
        }
    }
    EXPECT_EQ(w.Label2->width(), 137) << "the resolution label keeps its size";
    EXPECT_FALSE(w.CheckBox11->isChecked());
}

// The handlers rely on these: a slider reports a change only when its position changes after
// clamping, and a check box only when its state changes, from code as from the player.
TEST_F(OptionsWindow, TheToolkitReportsAChangeOnlyWhenThereIsOne) {
    TForm4& w = openSample();
    QSlider* slider = w.TrackBar6; // at 6
    QSignalSpy moved(slider, &QSlider::valueChanged);
    slider->setValue(6);
    EXPECT_EQ(moved.count(), 0);
    slider->setValue(10);
    slider->setValue(99);
    EXPECT_EQ(moved.count(), 1) << "99 is clamped to 10, where the slider stands";
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(moved.count(), 1);
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(moved.count(), 2);
    QSignalSpy vertical(w.TrackBar2, &QSlider::valueChanged);
    QTest::keyClick(w.TrackBar2, Qt::Key_Down);
    QTest::keyClick(w.TrackBar2, Qt::Key_Down);
    EXPECT_EQ(vertical.count(), 1);
    EXPECT_EQ(w.TrackBar2->value(), 1) << "down leads away from the top end, position 0";

    QCheckBox* box = w.CheckBox9; // unchecked
    QSignalSpy clicked(box, &QCheckBox::stateChanged);
    box->setChecked(false);
    EXPECT_EQ(clicked.count(), 0);
    box->setCheckState(Qt::PartiallyChecked);
    box->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(clicked.count(), 1);
    // From its third state a click checks the box, and the third state does not come back.
    std::vector<Qt::CheckState> states;
    for (int i = 0; i < 3; ++i) {
        click(box);
        states.push_back(box->checkState());
    }
    EXPECT_EQ(states, (std::vector{Qt::Checked, Qt::Unchecked, Qt::Checked}));
    EXPECT_EQ(clicked.count(), 4);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EXPECT_EQ(clicked.count(), 5);
}

// The controls show what the working copy holds, including values that no position stands for,
// and what the player does goes into the file.
TEST_F(OptionsWindow, ControlsShowWhatOkWritesAndThePlayersChangesAreWritten) {
    SimulatorSettings s = loadSimulatorSettings(root);
    s.width = "1920";
    s.height = "1080";
    s.mousescalehorizontal = "-9.9";
    s.renderalpha = "TRUE";
    s.freefly = "Yes";
    TForm4& w = open(s);
    EXPECT_EQ(w.Label2->text(), "1920x1080");
    EXPECT_EQ(w.TrackBar1->value(), 1);
    EXPECT_TRUE(w.CheckBox8->isChecked());
    EXPECT_EQ(w.TrackBar6->value(), 6);
    EXPECT_EQ(w.Label9->text(), "TRUE");
    EXPECT_LE(w.Label9->sizeHint().width(), w.Label9->width());
    EXPECT_EQ(w.CheckBox9->checkState(), Qt::PartiallyChecked);
    MessageBox::setNextAnswer(MessageBox::Ok);
    w.Button3->click();
    const std::string mouse = "mousescale -3.2 0.5  // czulosc myszy, mozna dawac ujemne dla "
                              "invert mouse, default: 3.2 0.5";
    EXPECT_EQ(written(),
              sampleSettingsFileWith({{7, "width 1920  // szerokosc ekranu"},
                                      {8, "height 1080 \t// wysokosc ekranu"},
                                      {11, "freefly Yes 20 10 -20\t// (no x y z) yes: mozna "
                                           "latac po calej trasie"},
                                      {15, "renderalpha TRUE          // (yes) no: wylacza "
                                           "wyswietlanie polprzezroczystych tekstur i linii"},
                                      {19, mouse}}));

    w.show();
    for (int i = 0; i < 3; ++i) QTest::keyClick(w.TrackBar1, Qt::Key_Right);
    EXPECT_EQ(w.Label2->text(), "1024x768");
    click(w.CheckBox9);
    EXPECT_EQ(w.CheckBox9->checkState(), Qt::Checked);
    w.Button3->click();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(written(),
              sampleSettingsFileWith({{7, Width1024},
                                      {8, Height768},
                                      {11, FreeflyYes},
                                      {15, "renderalpha TRUE          // (yes) no: wylacza "
                                           "wyswietlanie polprzezroczystych tekstur i linii"},
                                      {19, mouse}}));
    EXPECT_TRUE(MessageBox::answered().empty());
}

TEST_F(OptionsWindow, YesNoLabelsFollowTheLanguageAndItsSwitchKeepsEveryControl) {
    TForm4& w = openSample();
    w.TrackBar3->setValue(0);
    EXPECT_EQ(w.Label6->text(), "Tak");
    w.TrackBar3->setValue(1);
    EXPECT_EQ(w.Label6->text(), "Nie");
    language = Language::English;
    w.TrackBar4->setValue(1);
    EXPECT_EQ(w.Label9->text(), "No");
    EXPECT_EQ(w.Label10->text(), "Tak") << "a text already shown stays until it is set again";

    // The player's unsaved choices survive the switch.
    click(w.CheckBox8);
    QTest::keyClick(w.TrackBar1, Qt::Key_Right);
    const std::string before = w.workingCopy().settingsFile();
    w.setLanguage(Language::English);
    EXPECT_EQ(w.Label6->text(), "No");
    EXPECT_EQ(w.Label9->text(), "No");
    EXPECT_EQ(w.Label10->text(), "Yes");
    EXPECT_TRUE(w.CheckBox8->isChecked());
    EXPECT_EQ(w.TrackBar1->value(), 4);
    EXPECT_EQ(w.Label2->text(), "1024x768");
    EXPECT_EQ(w.workingCopy().settingsFile(), before);
    EXPECT_LE(w.Label8->sizeHint().width(), w.Label8->width());
    EXPECT_EQ(accessibleName(w.TrackBar5), "Electric traction display:");
}

TEST_F(OptionsWindow, DefaultsThenCancelLeaveTheFileAndShowTheDefaultsNextTime) {
    TForm4& w = openSample();
    w.show();
    click(w.CheckBox8);
    click(w.CheckBox11);
    w.TrackBar1->setValue(7);
    w.Button1->click();
    EXPECT_FALSE(w.CheckBox8->isChecked());
    EXPECT_FALSE(w.workingCopy().invert().InvertHorizontal);
    EXPECT_EQ(w.TrackBar1->value(), 3);
    EXPECT_EQ(w.Label2->text(), "800x600");
    EXPECT_EQ(w.TrackBar3->value(), 0);
    EXPECT_EQ(w.Label6->text(), "Tak");
    EXPECT_TRUE(w.CheckBox11->isChecked()) << "the defaults leave the launch switch alone";
    w.Button2->click();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(written(), sampleSettingsFile());
    w.show();
    EXPECT_EQ(w.TrackBar3->value(), 0);
    w.close();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(written(), sampleSettingsFile()) << "the close box cancels";
    w.Button3->click();
    EXPECT_EQ(written(),
              sampleSettingsFileWith({{10, "fullscreen yes \t// (yes) tryb pelnoekranowy"}}));
}

TEST_F(OptionsWindow, TwoSavesThroughTheMainWindowEachWriteTheirOwnTwentyTwoLines) {
    AllWindows windows(root + "/rsim-launcher");
    TForm1& main = windows.Form1;
    TForm4& options = main.optionsWindow();
    main.show();

    main.Button2->click();
    ASSERT_TRUE(options.isVisible());
    EXPECT_TRUE(options.Memo1.empty());
    QTest::keyClick(options.TrackBar1, Qt::Key_Right);
    options.Button3->click();
    EXPECT_EQ(written(), sampleSettingsFileWith({{7, Width1024}, {8, Height768}}));
    EXPECT_EQ(options.Memo1.size(), 22u);

    main.Button2->click();
    EXPECT_TRUE(options.Memo1.empty());
    EXPECT_EQ(options.Label2->text(), "1024x768") << "the window keeps its state";
    click(options.CheckBox9);
    options.Button3->click();
    EXPECT_EQ(written(),
              sampleSettingsFileWith({{7, Width1024}, {8, Height768}, {11, FreeflyYes}}));
    EXPECT_EQ(options.Memo1.size(), 22u);
    EXPECT_EQ(options.Memo1[10], FreeflyYes);
}

// The tests run as root as well, who may write anything: the mode decides.
TEST_F(OptionsWindow, AFailedSaveShowsTheErrorKeepsTheWindowAndLosesNothing) {
    TForm4& w = openSample();
    const std::string folder = root;
    const std::vector<std::pair<std::string, mode_t>> readOnly{{ini, 0644}, {folder, 0755}};
    for (const auto& [path, writableMode] : readOnly) {
        SCOPED_TRACE(path);
        w.show();
        QTest::keyClick(w.TrackBar1, path == ini ? Qt::Key_Right : Qt::Key_Left);
        ::chmod(path.c_str(), 0444 | (writableMode & 0111));
        MessageBox::setNextAnswer(MessageBox::Ok);
        w.Button3->click();
        ::chmod(path.c_str(), writableMode);
        ASSERT_EQ(MessageBox::answered().size(), 1u);
        const MessageBox::Shown box = MessageBox::answered().front();
        EXPECT_EQ(box.kind, MessageBox::Kind::Error);
        EXPECT_EQ(box.caption, "RSIM");
        EXPECT_EQ(box.text, QString::fromStdString("Cannot create file " + ini + "."));
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(written(), sampleSettingsFile());
        EXPECT_EQ(w.Memo1.size(), 22u);

        w.Button3->click();
        EXPECT_TRUE(w.isHidden());
        EXPECT_EQ(written(), w.workingCopy().settingsFile());
        write(sampleSettingsFile());
        MessageBox::clearAnswered();
    }
}

} // namespace
