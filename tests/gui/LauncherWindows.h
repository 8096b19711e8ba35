#pragma once

#include "platform/widgets/FileListBox.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/ProgramEnd.h"
#include "shell/window/AllWindows.h"

#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A catalogue of a drivable locomotive and a passenger coach.
inline const std::string Catalogue = "dynamic.dat\r\n"
                                     "LOCO\r\nLoco A\r\n1\r\n-\r\n"
                                     "CAR\r\nCoach\r\n2\r\n-\r\n";

// A consist of one vehicle V1 of a type, with a head driver.
inline std::string consist(const std::string& name, const std::string& type) {
    return "trainset " + name + " 0\r\n" + "node -1 0 V1 dynamic PKP\\x skin " + type +
           " 0 headdriver 0\r\nendtrainset\r\n";
}

// An installation in a folder of its own, with the launcher's executable named inside it.
class LauncherWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path().toStdString();
        write("dynamic/pkp/dynamic.dat", Catalogue);
        writePicture("textures/mini/other.bmp", Qt::gray, {10, 20});
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
    void writePicture(const std::string& relative, QColor colour, QSize size = {30, 20}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const std::string path = root + "/" + relative;
        QDir().mkpath(QString::fromStdString(path.substr(0, path.find_last_of('/'))));
        ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    }

    TForm1& start() {
        windows.reset();
        windows = std::make_unique<AllWindows>(root + "/rsim-launcher");
        form1 = &windows->Form1;
        // Built at once, in the order of their use: main, timetable, about, options.
        form2 = &form1->timetableWindow();
        form3 = &form1->aboutWindow();
        form4 = &form1->optionsWindow();
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
    std::unique_ptr<AllWindows> windows;
    TForm1* form1 = nullptr;
    TForm2* form2 = nullptr;
    TForm3* form3 = nullptr;
    TForm4* form4 = nullptr;
};
