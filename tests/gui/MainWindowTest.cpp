#include "LauncherWindows.h"

#include "catalogue/ConsistDetails.h"
#include "catalogue/ReadingLimits.h"
#include "platform/widgets/ElidedLabel.h"
#include "platform/widgets/ListBox.h"
#include "platform/widgets/PictureBox.h"
#include "platform/widgets/ScrollBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {

class MainWindow : public LauncherWindows {};

TEST_F(MainWindow, StartsWithOnlyOptionsAboutAndQuitEnabled) {
    write("scenery/a.scn", "//$N Alpha\r\n");
    TForm1& w = start();
    EXPECT_EQ(w.windowTitle(), "Torvia RSIM-424");
    EXPECT_EQ(w.size(), QSize(792, 535));
    for (QPushButton* b : {w.Button1, w.Button7, w.Button6, w.Button3})
        EXPECT_FALSE(b->isEnabled());
    for (QPushButton* b : {w.Button2, w.Button4, w.Button5}) EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(w.ImageGB->isHidden());
    EXPECT_TRUE(w.ImagePL->isHidden());
    EXPECT_EQ(w.Memo1->toPlainText(), "<- Wybierz Trasę");
    EXPECT_EQ(w.Memo2->toPlainText(), "<- Wybierz skład");
    EXPECT_EQ(w.Label1->text(), "");
    EXPECT_EQ(w.ListBox2->count(), 0);
    EXPECT_FALSE(w.Image2->isHidden());
    EXPECT_TRUE(w.Image1->isHidden());
    EXPECT_EQ(w.state().ChosenVehicle, "ghostview");
    EXPECT_EQ(w.state().InstallRoot, root);
    EXPECT_EQ(w.state().Catalogue->CatalogueCount, 2);
}

TEST_F(MainWindow, ListsSceneriesAsWindowsWouldWhateverTheirCase) {
    write("Scenery/beta.SCN", "x");
    write("Scenery/Alpha.scn", "x");
    write("Scenery/alpha2.Scn", "x");
    write("Scenery/.hidden.scn", "x");
    write("Scenery/notes.txt", "x");
    write("Scenery/folder.scn/inside.scn", "x");
    write("Scenery/\xb3\xf3"
          "d\x9f.scn",
          "x"); // a Windows-1250 name: "łódź"
    write("Scenery/mazury.scn", "x");
    write("Scenery/lasy.scn", "x");
    write("Scenery/_test.scn", "x");
    TForm1& w = start();
    EXPECT_EQ(rows(w.FileListBox1),
              QStringList({"_test.scn", "Alpha.scn", "alpha2.Scn", "beta.SCN", "lasy.scn",
                           QString::fromUtf8("łódź.scn"), "mazury.scn"}));
    EXPECT_EQ(w.FileListBox1->selectedItems().size(), 0);
    EXPECT_EQ(QDir::currentPath().toStdString(), root + "/Scenery");
}

TEST_F(MainWindow, ChoosingASceneryShowsItsTitleDescriptionAndConsists) {
    write("scenery/route.scn", "//$D Pierwsza linia \xb3\xb9ki\r\n"
                               "//$d Druga linia\r\n"
                               "x //$N Trasa testowa\r\n" +
                                   consist("T1", "loco") + consist("T2", "unknown") +
                                   consist("T3", "car"));
    TForm1& w = start();
    choose("route.scn");
    EXPECT_EQ(w.Label1->text(), "Trasa testowa");
    EXPECT_EQ(w.Memo1->toPlainText(), QString::fromUtf8("Pierwsza linia łąki\nDruga linia"));
    EXPECT_EQ(rows(w.ListBox2), QStringList({"Loco A", "Coach"}));
    EXPECT_TRUE(w.Button1->isEnabled());
    EXPECT_FALSE(w.Button7->isEnabled());
    EXPECT_EQ(w.state().SceneryFile, "route.scn");
    EXPECT_EQ(w.state().Consists->consist(2).ConsistName, "T3");
    EXPECT_EQ(w.Memo2->toPlainText(), "<- Wybierz skład");
}

TEST_F(MainWindow, ASceneryWithoutMarkersIsCalledByItsFileName) {
    write("scenery/plain.scn", "nothing to see\r\n");
    write("scenery/empty.scn", "");
    TForm1& w = start();
    choose("empty.scn");
    EXPECT_EQ(w.Label1->text(), "empty.scn");
    EXPECT_EQ(w.Memo1->toPlainText(), "Brak opisu");
    EXPECT_FALSE(w.Button1->isEnabled()) << "an empty scenery does not enable the start";
    choose("plain.scn");
    EXPECT_EQ(w.Label1->text(), "plain.scn");
    EXPECT_EQ(w.Memo1->toPlainText(), "Brak opisu");
    EXPECT_TRUE(w.Button1->isEnabled());
    choose("empty.scn");
    EXPECT_TRUE(w.Button1->isEnabled()) << "nothing disables the start again";
}

TEST_F(MainWindow, TitlesAndFileNamesAreShownAsWrittenNotAsMarkup) {
    write("scenery/<b>bold.scn", "\r\n");
    write("scenery/t.scn", "//$N <img src=\"t.scn\"><b>x</b>\r\n");
    const QString longTitle = "Kolejowo - Zielona Laka - Stary Mlyn - <b>Brzozowka</b> Gorna";
    write("scenery/long.scn", "//$N " + longTitle.toStdString() + "\r\n");
    TForm1& w = start();
    // A title too long for the label keeps its beginning, and is read whole.
    choose("long.scn");
    EXPECT_TRUE(w.Label1->text().startsWith("Kolejowo - Zielona"))
        << w.Label1->text().toStdString();
    EXPECT_TRUE(w.Label1->text().endsWith(QChar(0x2026)));
    EXPECT_LE(w.Label1->fontMetrics().horizontalAdvance(w.Label1->text()), w.Label1->width());
    EXPECT_EQ(w.Label1->accessibleName(), longTitle);
    EXPECT_TRUE(w.Label1->toolTip().contains("&lt;b&gt;Brzozowka")) << "the tooltip as written";
    choose("<b>bold.scn");
    EXPECT_EQ(w.Label1->text(), "<b>bold.scn");
    EXPECT_EQ(w.Label1->textFormat(), Qt::PlainText);
    choose("t.scn");
    EXPECT_EQ(w.Label1->text(), "<img src=\"t.scn\"><b>x</b>");
    EXPECT_EQ(w.Label1->textFormat(), Qt::PlainText);
}

TEST_F(MainWindow, SceneryPictureReplacesTheDefaultAndAMissingOneKeepsThePrevious) {
    writePicture("scenery/Images/RED.BMP", Qt::red);
    write("scenery/a.scn", "//$I red.bmp\r\n");
    write("scenery/b.scn", "//$I missing.bmp\r\n");
    write("scenery/c.scn", "//$N No picture\r\n");
    TForm1& w = start();
    choose("a.scn");
    EXPECT_FALSE(w.Image1->isHidden());
    EXPECT_TRUE(w.Image2->isHidden());
    EXPECT_EQ(w.Image1->picture().pixelColor(0, 0), QColor(Qt::red));
    choose("b.scn");
    EXPECT_FALSE(w.Image1->isHidden()) << "the previous scenery's picture stays";
    EXPECT_EQ(w.Label1->text(), "b.scn");
    choose("c.scn");
    EXPECT_TRUE(w.Image1->isHidden());
    EXPECT_FALSE(w.Image2->isHidden());
    EXPECT_TRUE(MessageBox::answered().empty());
}

TEST_F(MainWindow, AnUndecodablePictureIsReportedAndTheWindowStillDescribesTheScenery) {
    writePicture("scenery/images/good.bmp", Qt::blue);
    write("scenery/images/broken.jpg", "this is no picture");
    write("scenery/a.scn", "//$I good.bmp\r\n//$N Good\r\n" + consist("T1", "loco"));
    write("scenery/b.scn",
          "//$I broken.jpg\r\n//$N Broken\r\n//$D Opis\r\n" + consist("T2", "car"));
    TForm1& w = start();
    choose("a.scn");
    MessageBox::setNextAnswer(MessageBox::Ok);
    choose("b.scn");
    ASSERT_EQ(MessageBox::answered().size(), 1u);
    const MessageBox::Shown& box = MessageBox::answered().front();
    EXPECT_EQ(box.kind, MessageBox::Kind::Error);
    EXPECT_EQ(box.caption, "RSIM");
    EXPECT_TRUE(box.text.contains("broken.jpg")) << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith('.'));
    EXPECT_TRUE(w.Image1->isHidden());
    EXPECT_FALSE(w.Image2->isHidden());
    EXPECT_EQ(w.Label1->text(), "Broken");
    EXPECT_EQ(w.Memo1->toPlainText(), "Opis");
    EXPECT_EQ(w.state().SceneryFile, "b.scn");
    EXPECT_EQ(rows(w.ListBox2), QStringList({"Coach"}));
}

TEST_F(MainWindow, AMissingSceneryFolderListsTheCurrentFolder) {
    write("elsewhere/here.scn", "x");
    QDir::setCurrent(QString::fromStdString(root + "/elsewhere"));
    TForm1& w = start();
    EXPECT_EQ(rows(w.FileListBox1), QStringList({"here.scn"}));
    EXPECT_EQ(w.Memo1->toPlainText(), "<- Wybierz Trasę");
}

TEST_F(MainWindow, FocusAloneChoosesNoScenery) {
    write("scenery/a.scn", "//$N Alpha\r\n");
    TForm1& w = start();
    w.show();
    w.activateWindow();
    w.FileListBox1->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(w.FileListBox1->selectedItems().isEmpty());
    EXPECT_EQ(w.Label1->text(), "");
    QTest::keyClick(w.FileListBox1, Qt::Key_Down);
    EXPECT_EQ(w.Label1->text(), "Alpha") << "the first arrow key picks the first scenery";
}

TEST_F(MainWindow, NoGestureEmptiesTheChosenSceneryOrConsist) {
    write("scenery/a.scn", "//$N Alpha\r\n" + consist("T1", "loco"));
    TForm1& w = start();
    choose("a.scn");
    for (ListBox* list : {static_cast<ListBox*>(w.FileListBox1), w.ListBox2}) {
        const QRect firstRow = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, firstRow.center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, firstRow.center());
        EXPECT_EQ(list->selectedItems().size(), 1) << list->accessibleName().toStdString();
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        EXPECT_EQ(list->selectedItems().size(), 1) << list->accessibleName().toStdString();
    }
    EXPECT_EQ(w.Label1->text(), "Alpha");
    EXPECT_EQ(w.state().SceneryFile, "a.scn");
}

TEST_F(MainWindow, ButtonsOpenTheOtherWindowsAndQuitEndsTheProgram) {
    TForm1& w = start();
    form4->Memo1 = {"left over"};
    w.Button2->click();
    EXPECT_TRUE(form4->isVisible());
    EXPECT_TRUE(form4->Memo1.empty());
    w.Button4->click();
    EXPECT_TRUE(form3->isVisible());
    w.Button7Click();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(exitCode);
    w.Button5->click();
    EXPECT_EQ(exitCode, 0);
}

TEST_F(MainWindow, ClosingTheMainWindowEndsTheProgram) {
    TForm1& w = start();
    w.show();
    w.Button4->click();
    w.close();
    EXPECT_EQ(exitCode, 0);
}

TEST_F(MainWindow, ControlsStandWhereTheyWereDesigned) {
    TForm1& w = start();
    struct Placed {
        QWidget* control;
        QRect geometry;
    };
    const std::vector<Placed> designed{
        {w.GroupBox1, {4, 4, 784, 209}},   {w.FileListBox1, {16, 24, 201, 169}},
        {w.Label1, {232, 24, 297, 25}},    {w.Memo1, {232, 56, 297, 137}},
        {w.Image1, {544, 24, 225, 169}},   {w.Image2, {544, 24, 225, 169}},
        {w.GroupBox2, {4, 220, 784, 273}}, {w.ListBox2, {16, 24, 377, 121}},
        {w.Memo2, {408, 24, 361, 121}},    {w.ScrollBox1, {16, 160, 753, 97}},
        {w.Image3, {0, 0, 65, 33}},        {w.Button1, {4, 504, 177, 25}},
        {w.Button7, {188, 504, 129, 25}},  {w.Button6, {324, 504, 75, 25}},
        {w.ImageGB, {424, 504, 40, 24}},   {w.ImagePL, {424, 504, 40, 24}},
        {w.Button3, {472, 504, 75, 25}},   {w.Button2, {552, 504, 75, 25}},
        {w.Button4, {632, 504, 75, 25}},   {w.Button5, {712, 504, 75, 25}},
    };
    for (const Placed& p : designed)
        EXPECT_EQ(p.control->geometry(), p.geometry) << p.control->accessibleName().toStdString();
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_TRUE(w.Button1->font().bold());
    // Every caption fits its button, and the title its label.
    for (QPushButton* b : w.findChildren<QPushButton*>())
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width())
            << b->text().toStdString();
    EXPECT_LE(w.Label1->fontMetrics().height(), w.Label1->height());
}

} // namespace

namespace {

std::string train(const std::string& name, const std::vector<std::string>& vehicles) {
    std::string text = "trainset " + name + " 0\r\n";
    for (std::size_t i = 0; i < vehicles.size(); ++i)
        text += "node -1 0 V" + std::to_string(i + 1) + " dynamic PKP\\x skin " + vehicles[i] +
                " 0 " + (vehicles[i] == "loco" ? "headdriver" : "passenger") + " 0\r\n";
    return text + "//$o Note of " + name + "\r\nendtrainset\r\n";
}

// A regular file that even root cannot open: a write-only attribute of the kernel, where the
// machine has one.
std::string unreadableFileOfTheSystem() {
    for (const char* path : {"/sys/bus/pci/rescan", "/sys/class/zram-control/hot_remove"})
        if (std::filesystem::is_regular_file(path) && !std::ifstream(path).is_open()) return path;
    return {};
}

class ConsistChoice : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        writePicture("textures/mini/Loco A.bmp", Qt::green, {30, 20});
    }
    void chooseConsist(int row) {
        ListBox* list = form1->ListBox2;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    std::vector<QRect> shownPictures() const {
        std::vector<QRect> out;
        for (const PictureBox* p : form1->ScrollBox1->content()->findChildren<PictureBox*>())
            if (p != form1->Image3 && !p->isHidden()) out.push_back(p->geometry());
        return out;
    }
};

TEST_F(ConsistChoice, ShowsDetailsPicturesAndTimetableAndReleasesThePreviousChoice) {
    write("scenery/a.scn", train("Os_1", {"loco", "car", "unknown"}) + train("Test", {"loco"}));
    write("scenery/b.scn", "");
    write("scenery/OS_1.TXT", "ROZK\xa3"
                              "AD\r\n 7:12  Kolejowo\r\n");
    TForm1& w = start();
    choose("a.scn");
    form2->show();
    chooseConsist(0);
    EXPECT_EQ(w.Memo2->toPlainText(),
              QString::fromUtf8("Nazwa składu: Os_1\nProwadzimy Loco A (V1)\nMożemy jechać jako "
                                "pasażer w wagonie Coach (V2)\nNote of Os_1"));
    EXPECT_EQ(w.state().ChosenVehicle, "V1");
    EXPECT_TRUE(w.Button7->isEnabled());
    EXPECT_EQ(form2->windowTitle(), QString::fromUtf8("Rozkład jazdy pociągu Os_1"));
    EXPECT_EQ(form2->Memo3->toPlainText(), QString::fromUtf8("ROZKŁAD\n 7:12  Kolejowo"));
    EXPECT_EQ(shownPictures(),
              (std::vector<QRect>{{1, 1, 30, 20}, {31, 1, 10, 20}, {41, 1, 10, 20}}));
    const QPointer<PictureBox> first = w.state().VehiclePictures[0];
    EXPECT_EQ(first->accessibleName(), "Loco A");

    // Fewer vehicles, no timetable, in English: the open timetable window keeps what it shows.
    w.state().InterfaceLanguage = Language::English;
    chooseConsist(1);
    EXPECT_EQ(w.Memo2->toPlainText(), "We drive Loco A (V1)\nNote of Test");
    EXPECT_FALSE(w.Button7->isEnabled());
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowTitle(), QString::fromUtf8("Rozkład jazdy pociągu Os_1"));
    EXPECT_EQ(shownPictures(), (std::vector<QRect>{{1, 1, 30, 20}}));
    EXPECT_EQ(w.state().VehiclePictures[0], first) << "the pictures of a choice are reused";
    EXPECT_EQ(w.state().ThumbnailCount, 1);

    chooseConsist(0);
    EXPECT_EQ(shownPictures().size(), 3u);
    EXPECT_EQ(w.ScrollBox1->content()->findChildren<PictureBox*>().size(), 1 + 3)
        << "no more picture controls than the most vehicles shown at once";
    EXPECT_EQ(form2->windowTitle(), "Timetable of Os_1");
    choose("b.scn");
    EXPECT_TRUE(shownPictures().empty()) << "a scenery choice hides the pictures";
    EXPECT_EQ(w.state().ChosenVehicle, "ghostview");
}

TEST_F(ConsistChoice, AFileThatCannotBeReadIsReportedOnceAndTheChoiceGoesOn) {
    write("textures/mini/Coach.bmp", "not a picture");
    write("scenery/a.scn", train("Os_1", {"car", "loco", "car"}) + train("Os_2", {"loco"}));
    write("scenery/os_2.txt", "Os_2 timetable\r\n");
    const std::string unreadable = unreadableFileOfTheSystem();
    if (!unreadable.empty())
        std::filesystem::create_symlink(unreadable, root + "/scenery/Os_1.txt");
    TForm1& w = start();
    choose("a.scn");
    chooseConsist(1);
    MessageBox::setNextAnswer(MessageBox::Ok);
    chooseConsist(0);
    ASSERT_EQ(MessageBox::answered().size(), 1u);
    const QString text = MessageBox::answered().front().text;
    EXPECT_TRUE(text.contains("Coach.bmp")) << text.toStdString();
    if (!unreadable.empty()) {
        EXPECT_TRUE(text.contains("Os_1.txt")) << text.toStdString();
        EXPECT_FALSE(w.Button7->isEnabled());
        EXPECT_EQ(form2->Memo3->toPlainText(), "Os_2 timetable");
    }
    // The broken coach leaves a place the size of the stand-in; the row goes on after it.
    EXPECT_EQ(shownPictures(),
              (std::vector<QRect>{{1, 1, 10, 20}, {11, 1, 30, 20}, {41, 1, 10, 20}}));
    EXPECT_EQ(w.state().ChosenVehicle, "V2");
    EXPECT_EQ(w.Memo2->toPlainText().split('\n').last(), "Note of Os_1");

    // Without the stand-in, a broken picture keeps one pixel.
    std::filesystem::remove(root + "/textures/mini/other.bmp");
    MessageBox::clearAnswered();
    MessageBox::setNextAnswer(MessageBox::Ok);
    chooseConsist(1);
    chooseConsist(0);
    ASSERT_EQ(MessageBox::answered().size(), 1u);
    EXPECT_EQ(shownPictures(), (std::vector<QRect>{{1, 1, 1, 1}, {2, 1, 30, 20}, {32, 1, 1, 1}}));
}

} // namespace

// Past a limit a file is read up to it, and the last line of its box says so in the language
// of the moment the box is filled.
TEST_F(ConsistChoice, FilesPastTheirLimitsEndWithALineThatSaysSo) {
    std::string scenery = train("Os_1", {"loco"});
    for (std::size_t i = 1; i <= DescriptionLineLimit + 1; ++i)
        scenery += "//$D line " + std::to_string(i) + "\r\n";
    write("scenery/a.scn", scenery);
    write("scenery/b.scn", "");
    std::string timetable;
    while (timetable.size() <= TimetableLimit) timetable += "  12,4  Kolejowo Gorne  7:12\r\n";
    write("scenery/Os_1.txt", timetable);
    const QString upToTheLimit =
        QString::fromStdString(timetableText(timetable.substr(0, TimetableLimit)));
    TForm1& w = start();
    for (const Language language : {Language::Polish, Language::English}) {
        w.state().InterfaceLanguage = language;
        choose("b.scn");
        choose("a.scn");
        const QStringList description = w.Memo1->toPlainText().split('\n');
        ASSERT_EQ(description.size(), DescriptionLineLimit + 1);
        EXPECT_EQ(description[DescriptionLineLimit - 1], "line 1000");
        EXPECT_EQ(description.last().toStdString(),
                  cutNotice(CutText::SceneryDescription, language));
        chooseConsist(0);
        const QString notice =
            QString::fromStdString(std::string(cutNotice(CutText::Timetable, language)));
        EXPECT_EQ(form2->Memo3->toPlainText().split('\n').last(), notice);
        EXPECT_TRUE(form2->Memo3->toPlainText() == upToTheLimit + '\n' + notice)
            << "the timetable up to its limit, then the notice";
    }
}
