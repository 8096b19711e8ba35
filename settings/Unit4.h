#pragma once

#include "platform/ToolWindow.h"
#include "settings/OptionsWorkingCopy.h"
#include "settings/SimulatorSettings.h"

#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

// The options window, which shows, changes, resets and saves the simulator's settings file. Its
// controls mirror the working copy, which makes every decision.
class TForm4 : public ToolWindow {
    Q_OBJECT
public:
    // mainCopy is the main window's copy of the settings, read before this window is created.
    // interfaceLanguage is the main window's live language field, read whenever a text is set.
    TForm4(const QWidget* mainWindow, const SimulatorSettings& mainCopy,
           const Language& interfaceLanguage, std::string installRoot);

    // The controls, named as designed.
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QSlider* TrackBar1;
    QLabel* Label2;
    QLabel* Label3;
    QSlider* TrackBar2;
    QLabel* Label4;
    QLabel* Label5;
    QSlider* TrackBar3;
    QLabel* Label6;
    QLabel* Label7;
    QSlider* TrackBar4;
    QLabel* Label9;
    QLabel* Label8;
    QSlider* TrackBar5;
    QLabel* Label10;
    QGroupBox* GroupBox3;
    QLabel* Label11;
    QSlider* TrackBar6;
    QCheckBox* CheckBox8;
    QLabel* Label12;
    QSlider* TrackBar7;
    QCheckBox* CheckBox10;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox11; // the launcher stays open after starting the simulator; not saved
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

    // The settings writer's line buffer: the lines of the last save. It is never shown.
    std::vector<std::string> Memo1;

    // Shows the working copy in the controls; it changes no value.
    void ustaw();
    // For the language switch, after it has set the captions: sets again the texts that follow
    // the interface language, fits each caption's control to its text and names the sliders
    // after their labels. It changes no control's state.
    void showLanguageTexts();

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
    std::vector<QWidget*> captioned() const;
    QSlider* trackBar(int n) const;
    QCheckBox* checkBox(int n) const;
    QLabel* trackBarLabel(int n) const;
    void trackBarChanged(int n);
    void checkBoxClicked(int n);
    void showTrackBarLabel(int n);
    void nameTrackBarsAfterTheirLabels();

    OptionsWorkingCopy W;
    const Language& InterfaceLanguage;
    const std::string InstallRoot;
};
