#include "LauncherWindows.h"

#include "platform/widgets/PictureBox.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

#include <sys/stat.h>

#include <chrono>
#include <map>

namespace {

// rsim.exe stands in for the simulator: it notes its working folder and its arguments.
class StartButton : public LauncherWindows {
protected:
    void SetUp() override {
        LauncherWindows::SetUp();
        // The note appears whole, by a rename, so that it is never read half-written.
        write("rsim.exe", "#!/bin/sh\n"
                          "{ pwd; for a in \"$@\"; do printf '[%s]' \"$a\"; done; echo; } "
                          "> started.part && mv started.part started.log\n");
        std::filesystem::permissions(root + "/rsim.exe", std::filesystem::perms::owner_all);
        write("rsim.ini", "");
        write("scenery/a.scn", consist("T1", "loco") + consist("T2", "car"));
    }

    // What the stand-in noted, once it has run; it runs apart from the launcher.
    std::string started() const {
        const std::string log = root + "/started.log";
        for (int i = 0; i < 200 && !std::filesystem::exists(log); ++i) QThread::msleep(10);
        std::ifstream in(log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void chooseConsist(int row) { form1->ListBox2->item(row)->setSelected(true); }
};

TEST_F(StartButton, StartsTheChosenVehicleInTheInstallationFolderAndEnds) {
    struct stat before {};
    ::stat((root + "/rsim.ini").c_str(), &before);
    TForm1& w = start();
    choose("a.scn");
    chooseConsist(0);
    w.Button1->click();
    EXPECT_EQ(started(), root + "\n[-s][a.scn][-v][V1]\n");
    EXPECT_TRUE(MessageBox::answered().empty()) << "no question for a chosen consist";
    EXPECT_EQ(w.state().LaunchParameters, "-s a.scn -v V1");
    EXPECT_EQ(exitCode, 0);
    struct stat after {};
    ::stat((root + "/rsim.ini").c_str(), &after);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

TEST_F(StartButton, WithoutAConsistTheGhostviewQuestionIsAskedInTheInterfaceLanguage) {
    struct Case {
        Language language;
        const char* caption;
        const char* yes;
        const char* no;
        const char* textStart;
    };
    for (const Case& c :
         {Case{Language::Polish, "Ostrzeżenie:", "Tak", "Nie", "Nie wybrałeś składu"},
          Case{Language::English, "Warning:", "Yes", "No", "You did not choose any consist"}}) {
        TForm1& w = start();
        w.state().InterfaceLanguage = c.language;
        choose("a.scn");
        MessageBox::clearAnswered();
        MessageBox::setNextAnswer(MessageBox::No);
        w.Button1->click();
        ASSERT_EQ(MessageBox::answered().size(), 1u);
        const MessageBox::Shown& box = MessageBox::answered().front();
        EXPECT_EQ(box.kind, MessageBox::Kind::Question);
        EXPECT_EQ(box.caption, QString::fromUtf8(c.caption));
        EXPECT_TRUE(box.text.startsWith(QString::fromUtf8(c.textStart))) << box.text.toStdString();
        EXPECT_EQ(box.yes, QString::fromUtf8(c.yes));
        EXPECT_EQ(box.no, QString::fromUtf8(c.no));
        EXPECT_EQ(w.state().LaunchParameters, "-s a.scn -v ghostview");
        EXPECT_FALSE(exitCode) << "No starts nothing";
        EXPECT_EQ(w.state().SceneryFile, "a.scn");
        EXPECT_EQ(w.ListBox2->count(), 2);
    }
    MessageBox::setNextAnswer(MessageBox::Yes);
    form1->Button1->click();
    EXPECT_EQ(started(), root + "\n[-s][a.scn][-v][ghostview]\n");
    EXPECT_EQ(exitCode, 0);
}

TEST_F(StartButton, OnlyTheExactWordAsks) {
    write("scenery/b.scn", "trainset T 0\r\nnode -1 0 GhostView dynamic PKP\\x skin loco 0 "
                           "headdriver 0\r\nendtrainset\r\n");
    TForm1& w = start();
    choose("b.scn");
    chooseConsist(0);
    w.Button1->click();
    EXPECT_TRUE(MessageBox::answered().empty());
    EXPECT_EQ(started(), root + "\n[-s][b.scn][-v][GhostView]\n");
}

// Staying open, the window is as after a scenery change with nothing chosen; a further press
// starts the free flight on an empty scenery name.
TEST_F(StartButton, StayingOpenLeavesNothingChosen) {
    TForm1& w = start();
    form4->CheckBox11->setChecked(true);
    choose("a.scn");
    chooseConsist(1);
    w.Button1->click();
    EXPECT_EQ(started(), root + "\n[-s][a.scn][-v][V1]\n");
    EXPECT_FALSE(exitCode);
    EXPECT_TRUE(w.FileListBox1->selectedItems().isEmpty());
    EXPECT_EQ(w.state().SceneryFile, "");
    EXPECT_EQ(w.state().ChosenVehicle, "ghostview");
    EXPECT_EQ(w.ListBox2->count(), 0);
    EXPECT_EQ(w.Memo2->toPlainText(), "<- Wybierz skład");
    EXPECT_TRUE(w.Button1->isEnabled());
    EXPECT_EQ(QDir::currentPath().toStdString(), root + "/scenery");

    std::filesystem::remove(root + "/started.log");
    MessageBox::setNextAnswer(MessageBox::Yes);
    w.Button1->click();
    EXPECT_EQ(w.state().LaunchParameters, "-s  -v ghostview");
    EXPECT_EQ(started(), root + "\n[-s][][-v][ghostview]\n");
}

TEST_F(StartButton, AFailedStartIsReportedAndKeepsTheChoice) {
    std::filesystem::remove(root + "/rsim.exe");
    TForm1& w = start();
    choose("a.scn");
    chooseConsist(0);
    for (const Language language : {Language::Polish, Language::English}) {
        w.state().InterfaceLanguage = language;
        MessageBox::clearAnswered();
        MessageBox::setNextAnswer(MessageBox::Ok);
        w.Button1->click();
        ASSERT_EQ(MessageBox::answered().size(), 1u);
        EXPECT_EQ(MessageBox::answered().front().text,
                  QString::fromStdString(language == Language::Polish
                                             ? "Nie udało się uruchomić symulatora: " + root +
                                                   "/rsim.exe (nie ma takiego pliku)."
                                             : "The simulator could not be started: " + root +
                                                   "/rsim.exe (no such file)."));
    }
    EXPECT_FALSE(exitCode);
    EXPECT_EQ(w.state().SceneryFile, "a.scn");
    EXPECT_EQ(w.state().ChosenVehicle, "V1");
    EXPECT_EQ(w.FileListBox1->selectedItems().size(), 1);
}

class LanguageSwitch : public LauncherWindows {
protected:
    // The caption of every control of the four windows that has one, by control.
    std::map<QWidget*, QString> captions() const {
        std::map<QWidget*, QString> out;
        for (QWidget* window : std::initializer_list<QWidget*>{form1, form2, form3, form4}) {
            out[window] = window->windowTitle();
            for (QGroupBox* g : window->findChildren<QGroupBox*>()) out[g] = g->title();
            for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) out[b] = b->text();
            for (QLabel* l : window->findChildren<QLabel*>()) out[l] = l->text();
        }
        return out;
    }
};

TEST_F(LanguageSwitch, EveryCaptionToEnglishAndBack) {
    TForm1& w = start();
    const std::map<QWidget*, QString> designed = captions();
    QTest::mouseClick(w.ImageGB, Qt::LeftButton);
    EXPECT_EQ(w.state().InterfaceLanguage, Language::English);
    EXPECT_TRUE(w.ImageGB->isHidden());
    EXPECT_FALSE(w.ImagePL->isHidden());
    const std::map<QWidget*, QString> english = captions();
    const std::vector<std::pair<QWidget*, const char*>> expected{
        {w.GroupBox1, "Route:"},
        {w.GroupBox2, "Select the train:"},
        {w.Button1, "Run simulator"},
        {w.Button7, "Show timetable"},
        {w.Button6, "View intro"},
        {w.Button3, "Help"},
        {w.Button2, "Options"},
        {w.Button4, "About"},
        {w.Button5, "Quit"},
        {form2, "Timetable"},
        {form3, "About"},
        {form3->Label3, "Written by the Torvia RSIM-424 team"},
        {form4, "Options"},
        {form4->GroupBox1, "Graphics"},
        {form4->GroupBox3, "Mouse"},
        {form4->GroupBox2, "Other"},
        {form4->CheckBox8, "Invert mouse"},
        {form4->CheckBox10, "Invert mouse"},
        {form4->CheckBox9, "Freefly mode"},
        {form4->CheckBox1, "Surround sounds enabled"},
        {form4->CheckBox3, "Log data to the file"},
        {form4->CheckBox4, "Debug mode"},
        {form4->CheckBox5, "Log physics data to the file"},
        {form4->CheckBox6, "Seek traction over the pantographs"},
        {form4->CheckBox7, "Physics dependent electrical traction"},
        {form4->CheckBox2, "Display frequency adjustment"},
        {form4->CheckBox11, "Do not close this program after executing the simulator"},
        {form4->Label1, "Screen resolution:"},
        {form4->Label3, "Colour depth:"},
        {form4->Label5, "Fullscreen mode:"},
        {form4->Label8, "Electric traction display:"},
        {form4->Label11, "Horizontal sensivity:"},
        {form4->Label12, "Vertical sensivity:"},
        {form4->Button2, "Cancel"},
        {form4->Button1, "Default settings"},
        // Left as designed in both languages.
        {&w, "Torvia RSIM-424"},
        {form4->Label7, "Render Alpha:"},
        {form4->Button3, "OK"},
        {form3->Label1, "Torvia RSIM- 424 Loader"},
    };
    for (const auto& [control, text] : expected)
        EXPECT_EQ(english.at(control), QString::fromUtf8(text)) << text;
    EXPECT_EQ(form4->Label8->x(), 218);
    EXPECT_EQ(w.Memo1->toPlainText(), "<- Choose a route");
    EXPECT_EQ(w.Memo2->toPlainText(), "<- Choose a train");
    EXPECT_EQ(form4->Label6->text(), "Yes");

    w.ImageGBClick();
    EXPECT_EQ(captions(), english) << "a switch to the language shown changes nothing";
    QTest::mouseClick(w.ImagePL, Qt::LeftButton);
    EXPECT_EQ(captions(), designed);
    EXPECT_EQ(form4->Label8->x(), 240);
    EXPECT_EQ(w.Memo1->toPlainText(), "<- Wybierz Trasę");
    EXPECT_FALSE(w.ImageGB->isHidden());
}

TEST_F(LanguageSwitch, TextsShownKeepTheirLanguageAndLaterOnesFollowTheSwitch) {
    write("scenery/a.scn", "//$D Opis\r\n" + consist("T1", "loco"));
    write("scenery/T1.txt", "x");
    write("scenery/b.scn", consist("T1", "loco"));
    TForm1& w = start();
    choose("a.scn");
    w.ListBox2->item(0)->setSelected(true);
    w.ImageGBClick();
    EXPECT_EQ(w.Memo1->toPlainText(), "Opis");
    EXPECT_EQ(w.Memo2->toPlainText().split('\n').first(), QString::fromUtf8("Nazwa składu: T1"));
    EXPECT_EQ(form2->windowTitle(), "Timetable") << "the switch resets the timetable's caption";
    choose("b.scn");
    EXPECT_EQ(w.Memo2->toPlainText(), "<- Choose a train");
    w.ListBox2->item(0)->setSelected(true);
    EXPECT_EQ(w.Memo2->toPlainText().split('\n').first(), "Train name: T1");
    EXPECT_EQ(form2->windowTitle(), "Timetable of T1");
}

} // namespace
