#pragma once

#include "platform/system/Language.h"
#include "platform/widgets/ToolWindow.h"
#include "platform/widgets/WindowTexts.h"
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
    TForm4(QWidget* mainWindow, const SimulatorSettings& mainCopy,
           const Language& interfaceLanguage, std::string installRoot);

    // The controls, named as designed.
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QSlider* TrackBar2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QSlider* TrackBar3 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QSlider* TrackBar4 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label8 = nullptr;
    QSlider* TrackBar5 = nullptr;
    QLabel* Label10 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label11 = nullptr;
    QSlider* TrackBar6 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QLabel* Label12 = nullptr;
    QSlider* TrackBar7 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox11 =
        nullptr; // the launcher stays open after starting the simulator; not saved
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

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
    std::vector<WindowText> texts();
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
