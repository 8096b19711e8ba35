#pragma once

#include "catalogue/SceneryFile.h"
#include "platform/HiddenWindows.h"
#include "shell/LauncherState.h"

#include <QWidget>

class FileListBox;
struct ConsistDetails;
class PictureBox;
struct SimulatorCommand;
class QGroupBox;
class QLabel;
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

    // The secondary windows are created after this one and handed in once they exist.
    void setSecondaryWindows(TForm2* timetable, TForm3* about, TForm4* options);

    const LauncherState& state() const { return S; }
    LauncherState& state() { return S; }

    // The controls, named as designed.
    QGroupBox* GroupBox1;
    FileListBox* FileListBox1;
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    PictureBox* Image1;
    PictureBox* Image2;
    QGroupBox* GroupBox2;
    ListBox* ListBox2;
    QPlainTextEdit* Memo2;
    ScrollBox* ScrollBox1;
    PictureBox* Image3;
    QPushButton* Button1;
    QPushButton* Button7;
    QPushButton* Button6;
    PictureBox* ImageGB;
    PictureBox* ImagePL;
    QPushButton* Button3;
    QPushButton* Button2;
    QPushButton* Button4;
    QPushButton* Button5;

    void FileListBox1Change();
    void ListBox2Click();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void Button5Click();
    void Button7Click();
    void ImageGBClick();
    void ImagePLClick();

protected:
    void closeEvent(QCloseEvent* event) override;

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
    void connectHandlers();
    void showLines(QPlainTextEdit* memo, const QStringList& lines);
    void startThroughWine(SimulatorCommand command);
    void afterStart();
    void showVehiclePictures(const ConsistRecord& consist, const ConsistDetails& details,
                             QStringList& errors);

    LauncherState S;
    // What the chosen scenery gives both of its handlers while a choice is handled.
    SceneryReading chosenScenery_;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    // The windows, out of the way while a start through wine is watched.
    HiddenWindows hiddenWhileStarting_;
};
