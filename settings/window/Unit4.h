#pragma once

#include "platform/system/Language.h"
#include "platform/widgets/ToolWindow.h"
#include "platform/widgets/WindowTexts.h"
#include "settings/OptionsControls.h"
#include "settings/OptionsWorkingCopy.h"
#include "settings/SimulatorSettings.h"

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

// The options window, which shows, changes, resets and saves the simulator's settings file. Its
// controls, each built from its row of OptionsControls, mirror the working copy, which makes
// every decision.
class TForm4 : public ToolWindow {
    Q_OBJECT
public:
    // mainCopy is the main window's copy of the settings, read before this window is created.
    // interfaceLanguage is the main window's live language field, read whenever a text is set.
    TForm4(QWidget* mainWindow, const SimulatorSettings& mainCopy,
           const Language& interfaceLanguage, std::string installRoot);

private:
    // The controls as the table builds them, by kind and number: slot n holds number n.
    std::array<QGroupBox*, highestNumber(ControlKind::GroupBox) + 1> groupBoxes_{};
    std::array<QLabel*, highestNumber(ControlKind::Label) + 1> labels_{};
    std::array<QSlider*, highestNumber(ControlKind::TrackBar) + 1> trackBars_{};
    std::array<QCheckBox*, highestNumber(ControlKind::CheckBox) + 1> checkBoxes_{};
    std::array<QPushButton*, highestNumber(ControlKind::Button) + 1> buttons_{};

public:
    // The controls, named as designed. A control added to the table later is reached by its
    // number alone.
    QGroupBox*& GroupBox1 = groupBoxes_[1];
    QLabel*& Label1 = labels_[1];
    QSlider*& TrackBar1 = trackBars_[1];
    QLabel*& Label2 = labels_[2];
    QLabel*& Label3 = labels_[3];
    QSlider*& TrackBar2 = trackBars_[2];
    QLabel*& Label4 = labels_[4];
    QLabel*& Label5 = labels_[5];
    QSlider*& TrackBar3 = trackBars_[3];
    QLabel*& Label6 = labels_[6];
    QLabel*& Label7 = labels_[7];
    QSlider*& TrackBar4 = trackBars_[4];
    QLabel*& Label9 = labels_[9];
    QLabel*& Label8 = labels_[8];
    QSlider*& TrackBar5 = trackBars_[5];
    QLabel*& Label10 = labels_[10];
    QGroupBox*& GroupBox3 = groupBoxes_[3];
    QLabel*& Label11 = labels_[11];
    QSlider*& TrackBar6 = trackBars_[6];
    QCheckBox*& CheckBox8 = checkBoxes_[8];
    QLabel*& Label12 = labels_[12];
    QSlider*& TrackBar7 = trackBars_[7];
    QCheckBox*& CheckBox10 = checkBoxes_[10];
    QGroupBox*& GroupBox2 = groupBoxes_[2];
    QCheckBox*& CheckBox9 = checkBoxes_[9];
    QCheckBox*& CheckBox1 = checkBoxes_[1];
    QCheckBox*& CheckBox4 = checkBoxes_[4];
    QCheckBox*& CheckBox3 = checkBoxes_[3];
    QCheckBox*& CheckBox5 = checkBoxes_[5];
    QCheckBox*& CheckBox6 = checkBoxes_[6];
    QCheckBox*& CheckBox7 = checkBoxes_[7];
    QCheckBox*& CheckBox2 = checkBoxes_[2];
    // Whether the launcher stays open after starting the simulator; not saved.
    QCheckBox*& CheckBox11 = checkBoxes_[11];
    QPushButton*& Button1 = buttons_[1];
    QPushButton*& Button2 = buttons_[2];
    QPushButton*& Button3 = buttons_[3];

    // The control of a row of OptionsControls; the window itself for its own row.
    QWidget* control(const OptionControl& row) const;

    // The settings writer's line buffer: the lines of the last save. It is never shown.
    std::vector<std::string> Memo1;

    // Shows the working copy in the controls; it changes no value.
    void ustaw();

    // The main window's options button: the writer's line buffer starts empty, and the window
    // shows.
    void showForEditing();
    // Whether the launcher stays open after it has started the simulator.
    bool staysOpenAfterStart() const;
    // For the language switch, once the interface language has changed: the captions in it,
    // Label8 where its caption fits, the yes/no labels again, each caption's control fitted to
    // its text and the sliders named after their labels. It changes no control's state.
    void setLanguage(Language language);

    const OptionsWorkingCopy& workingCopy() const { return W; }

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void TrackBar1Change() { trackBarChanged(1); }
    void TrackBar2Change() { trackBarChanged(2); }
    void TrackBar3Change() { trackBarChanged(3); }
    void TrackBar4Change() { trackBarChanged(4); }
    void TrackBar5Change() { trackBarChanged(5); }
    void TrackBar6Change() { trackBarChanged(6); }
    void TrackBar7Change() { trackBarChanged(7); }
    void CheckBox9Click() { checkBoxClicked(9); }
    void CheckBox1Click() { checkBoxClicked(1); }
    void CheckBox4Click() { checkBoxClicked(4); }
    void CheckBox3Click() { checkBoxClicked(3); }
    void CheckBox5Click() { checkBoxClicked(5); }
    void CheckBox6Click() { checkBoxClicked(6); }
    void CheckBox7Click() { checkBoxClicked(7); }
    void CheckBox2Click() { checkBoxClicked(2); }
    void CheckBox8Click() { checkBoxClicked(8); }
    void CheckBox10Click() { checkBoxClicked(10); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    std::vector<WindowText> texts();
    std::vector<QWidget*> captioned() const;
    void trackBarChanged(int n);
    void checkBoxClicked(int n);
    void showTrackBarLabel(const OptionControl& slider);
    void nameTrackBarsAfterTheirLabels();

    OptionsWorkingCopy W;
    const Language& InterfaceLanguage;
    const std::string InstallRoot;
};
