#include "LauncherWindows.h"

#include "packs/PackInstall.h"
#include "packs/PackPlan.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

class PackWindow : public LauncherWindows {
protected:
    // A pack of a scenery whose train the installation's catalogue drives, and a large file.
    std::string writePack(const std::string& name) {
        const std::string description = downloads.filePath("pack.json").toStdString();
        std::ofstream(description)
            << R"({"format": "zip", "entries": [)"
               R"({"name": "Paczka/Scenery/Nowa.scn", "text": "//$N Nowa trasa\r\n)"
               R"(trainset T1 0\r\nnode -1 0 V1 dynamic PKP\\x skin LOCO 0 headdriver 0\r\n)"
               R"(endtrainset\r\n"},)"
               R"({"name": "Paczka/Textures/Duze.dds", "bytes": 4194304}]})";
        std::string pack = downloads.filePath(QString::fromStdString(name)).toStdString();
        const std::string command =
            "python3 " RSIM_MAKE_PACK " '" + description + "' '" + pack + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return pack;
    }

    // Drags files over the consist details, as a file manager does, and drops them there.
    static bool drop(QWidget* target, const QList<QUrl>& files, bool release) {
        QMimeData data;
        data.setUrls(files);
        const QPoint middle = target->rect().center();
        QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted() || !release) return enter.isAccepted();
        QDropEvent dropped(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }

    QTemporaryDir downloads;
};

TEST_F(PackWindow, ADroppedPackInstallsInTheInterfaceLanguageAndIsListedAndUndoneAtOnce) {
    write("scenery/a.scn", "//$N Alpha\r\n");
    const std::string pack = writePack("Paczka.zip");
    TForm1& w = start();
    TForm5& f = windows->Form5.get();
    w.show();
    w.ImageGBClick();
    QWidget* over = w.Memo2->viewport();
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(pack));
    EXPECT_FALSE(drop(over, {QUrl::fromLocalFile(QStringLiteral("/tmp/notes.txt"))}, false));
    EXPECT_FALSE(drop(over, {file, file}, false));
    EXPECT_TRUE(drop(over, {file}, true));

    ASSERT_TRUE(f.isVisible());
    EXPECT_EQ(f.windowTitle(), "Install a pack");
    EXPECT_TRUE(f.isModal());
    QTRY_VERIFY(f.Button1->isEnabled());
    EXPECT_EQ(f.Label1->text(), "Pack: Paczka.zip");
    EXPECT_EQ(rows(f.ListBox1), QStringList{"Nowa trasa"});
    EXPECT_EQ(f.Memo1->toPlainText().toStdString(),
              "Nowa trasa:\n  – the vehicle Loco A has no picture of its own in textures\\mini");
    EXPECT_FALSE(f.CheckBox1->isEnabled());

    f.Button1->click();
    QTRY_VERIFY(f.Button4->isVisible());
    EXPECT_EQ(rows(w.FileListBox1), QStringList({"a.scn", "Nowa.scn"}));
    EXPECT_EQ(f.Edit1->text().toStdString().rfind(root + "/pack-backups/Paczka ", 0), 0u);

    f.Button4->click();
    QTRY_VERIFY(f.Button5->isVisible());
    EXPECT_EQ(rows(w.FileListBox1), QStringList{"a.scn"});
    EXPECT_FALSE(std::filesystem::exists(root + "/pack-backups"));
    f.Button5->click();
    EXPECT_FALSE(f.isVisible());
}

TEST_F(PackWindow, AnInstallKilledHalfwayIsTakenBackAndToldWhenTheInstallationOpens) {
    write("scenery/a.scn", "//$N Alpha\r\n");
    const PackPlan plan = planPack(root, writePack("Przerwana.zip"));
    ASSERT_TRUE(plan.installable());
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        installPack(plan, {}, {}, [](const InstallProgress&) { ::kill(::getpid(), SIGKILL); });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(std::filesystem::exists(root + "/pack-backups"));

    start();
    EXPECT_EQ(windows->recovered.rolledBack, std::vector<std::string>{"Przerwana"});
    EXPECT_EQ(rows(form1->FileListBox1), QStringList{"a.scn"});
    MessageBox::setNextAnswer(MessageBox::Ok);
    windows->Form5->tellRecovered(windows->recovered);
    ASSERT_EQ(MessageBox::answered().size(), 1u);
    EXPECT_EQ(MessageBox::answered().front().text.toStdString(),
              "Instalacja paczki Przerwana została przerwana. To, co zdążyła zapisać, usunięto: "
              "instalacja symulatora jest taka, jak przed nią.");
}

} // namespace
