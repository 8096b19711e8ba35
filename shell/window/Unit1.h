#pragma once

#include "catalogue/SceneryFile.h"
#include "catalogue/pictures/PictureRow.h"
#include "platform/widgets/HiddenWindows.h"
#include "platform/widgets/WindowTexts.h"
#include "settings/launch/WatchedStart.h"
#include "settings/launch/WineWarmUp.h"
#include "shell/window/BuiltWhenNeeded.h"
#include "shell/window/LauncherState.h"

#include <QWidget>

class ElidedLabel;
class FileListBox;
class PictureBox;
struct PlacedPicture;
class QGroupBox;
class ListBox;
class QPlainTextEdit;
class QPushButton;
class ScrollBox;
class TForm2;
class TForm3;
class TForm4;

// The main window: the scenery list and description above, the consists below, the buttons at
// the bottom.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // argv0 is the name the launcher was started by; it decides the installation folder.
    explicit TForm1(const std::string& argv0);
    ~TForm1() override;

    // The timetable, about and options windows, each built the first time it is needed and
    // then kept, showing the interface language of that moment.
    TForm2& timetableWindow();
    TForm3& aboutWindow();
    TForm4& optionsWindow();

    const LauncherState& state() const { return S; }
    LauncherState& state() { return S; }

    // The controls, named as designed.
    QGroupBox* GroupBox1 = nullptr;
    FileListBox* FileListBox1 = nullptr;
    ElidedLabel* Label1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    PictureBox* Image1 = nullptr;
    PictureBox* Image2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    ListBox* ListBox2 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    ScrollBox* ScrollBox1 = nullptr;
    PictureBox* Image3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button6 = nullptr;
    PictureBox* ImageGB = nullptr;
    PictureBox* ImagePL = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;

    void FileListBox1Change();
    void ListBox2Click();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void Button5Click();
    void Button7Click();
    void ImageGBClick();
    void ImagePLClick();

    // After a pack was installed or an install undone: the catalogue read again and the scenery
    // list refilled, with nothing chosen, as the installation now stands.
    void showInstallationChanges();

signals:
    // An archive of a pack was dropped on the window: its path.
    void packDropped(const std::string& archive);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate(const std::string& argv0);
    void switchLanguage(Language language);
    void czysc_dopr();
    void czysc_dcc();
    void Wczytaj_Sklady();
    void Odczyt_Scenerii();
    void Wczytaj_Dynamic();
    void wczytaj_opcje();

    void buildSceneryGroup();
    void buildConsistGroup();
    void buildButtonRow(); // with the two flags between the buttons
    void setDesignedTabOrder();
    std::vector<WindowText> texts();
    QString prompt(const QWidget* memo, Language language);
    void connectHandlers();
    void showLines(QPlainTextEdit* memo, const QStringList& lines);
    WatchedStart::State beginStart();
    void followStart(WatchedStart::State state);
    void beginWineWarmUp();
    void followWineWarmUp(WineWarmUp::State state);
    void afterStart();
    void showVehiclePictures(const std::vector<PlacedPicture>& pictures);

    LauncherState S;
    // What the chosen scenery gives both of its handlers while a choice is handled.
    SceneryReading chosenScenery_;
    // The vehicle pictures read for the chosen scenery's consists.
    PictureRowCache vehiclePictureCache_;
    BuiltWhenNeeded<TForm2> Form2;
    BuiltWhenNeeded<TForm3> Form3;
    BuiltWhenNeeded<TForm4> Form4;
    // The windows, out of the way while a start through wine is watched.
    HiddenWindows hiddenWhileStarting_;
    // The start of the simulator while it is watched, and whether it has begun.
    std::unique_ptr<WatchedStart> start_;
    bool startBegun_ = false;
    // Wine made ready for a start once the window is on the screen.
    bool warmUpBegun_ = false;
    std::unique_ptr<WineWarmUp> warmUp_;
};
