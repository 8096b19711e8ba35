#include "catalogue/Unit2.h"
#include "platform/FileListBox.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/ProgramEnd.h"
#include "settings/Unit4.h"
#include "shell/Unit1.h"
#include "shell/Unit3.h"

#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const std::string Catalogue = "dynamic.dat\r\n"
                              "LOCO\r\nLoco A\r\n1\r\n-\r\n"
                              "CAR\r\nCoach\r\n2\r\n-\r\n";

std::string consist(const std::string& name, const std::string& type) {
    return "trainset " + name + " 0\r\n" + "node -1 0 V1 dynamic PKP\\x skin " + type +
           " 0 headdriver 0\r\nendtrainset\r\n";
}

// An installation in a folder of its own, with the launcher's executable named inside it.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path().toStdString();
        write("dynamic/pkp/dynamic.dat", Catalogue);
        MessageBox::clearAnswered();
        setProgramEndHandler([this](int code) { exitCode = code; });
    }
    void TearDown() override {
        QDir::setCurrent(QDir::tempPath());
        // Names that are not UTF-8 cannot go through QString, so the folder goes by bytes.
        std::filesystem::remove_all(root);
    }

    void write(const std::string& relative, const std::string& bytes) {
        const std::string path = root + "/" + relative;
        QDir().mkpath(QString::fromStdString(path.substr(0, path.find_last_of('/'))));
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void writePicture(const std::string& relative, QColor colour) {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(colour);
        const std::string path = root + "/" + relative;
        QDir().mkpath(QString::fromStdString(path.substr(0, path.find_last_of('/'))));
        ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    }

    TForm1& start() {
        form1 = std::make_unique<TForm1>(root + "/rsim-launcher");
        form2 = std::make_unique<TForm2>(form1.get());
        form3 = std::make_unique<TForm3>(form1.get());
        form4 =
            std::make_unique<TForm4>(form1.get(), form1->state().Settings,
                                     form1->state().InterfaceLanguage, form1->state().InstallRoot);
        form1->setSecondaryWindows(form2.get(), form3.get(), form4.get());
        return *form1;
    }

    // Chooses a scenery as a user would, by clicking its row.
    void choose(const QString& shownName) {
        FileListBox* list = form1->FileListBox1;
        const auto items = list->findItems(shownName, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << shownName.toStdString();
        form1->show();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items.front()).center());
    }

    static QStringList rows(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }

    QTemporaryDir dir;
    std::string root;
    std::optional<int> exitCode;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
};

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
    TForm1& w = start();
    EXPECT_EQ(rows(w.FileListBox1),
              QStringList({"Alpha.scn", "alpha2.Scn", "beta.SCN", QString::fromUtf8("łódź.scn")}));
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
