#include "platform/widgets/PictureBox.h"

#include "TestPictures.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

namespace {

class PictureBoxFile : public PictureFolder {};

const QRgb Ground = qRgb(192, 220, 192);

// The control as its container shows it.
QImage shown(PictureBox& box) {
    box.setAutoFillBackground(true);
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, QColor(Ground));
    box.setPalette(palette);
    return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(PictureBox, AutoSizeTakesThePictureSizeAndKeepsTheTopLeft) {
    PictureBox box;
    box.setGeometry(10, 20, 5, 5);
    box.setPicture(quarters(60, 40));
    EXPECT_EQ(box.geometry(), QRect(10, 20, 5, 5)) << "no auto size yet";
    box.setAutoSize(true);
    EXPECT_EQ(box.geometry(), QRect(10, 20, 60, 40));
    box.setPicture(quarters(32, 24));
    EXPECT_EQ(box.geometry(), QRect(10, 20, 32, 24));
    box.setPicture(QImage());
    EXPECT_EQ(box.geometry(), QRect(10, 20, 32, 24)) << "an empty picture has no size to take";
}

TEST(PictureBox, StretchScalesToTheControlElseTopLeftUnscaled) {
    PictureBox box;
    box.setGeometry(0, 0, 40, 30);
    box.setPicture(quarters(8, 6));

    QImage plain = shown(box);
    EXPECT_TRUE(hasQuarters(plain.copy(0, 0, 8, 6), 0));
    EXPECT_EQ(plain.pixel(20, 15), Ground) << "clipped to the picture, not scaled";
    EXPECT_EQ(plain.pixel(39, 29), Ground);

    box.setStretch(true);
    EXPECT_TRUE(hasQuarters(shown(box), 0));
    box.resize(225, 169);
    const QImage large = shown(box);
    EXPECT_EQ(large.size(), QSize(225, 169));
    EXPECT_TRUE(hasQuarters(large, 0)) << "scaled again for the new size";

    box.setStretch(false);
    EXPECT_EQ(shown(box).pixel(100, 100), Ground);
}

TEST_F(PictureBoxFile, FailedLoadKeepsThePreviousPicture) {
    PictureBox box;
    box.setAutoSize(true);
    box.move(544, 24);
    std::string error = "stale";
    ASSERT_EQ(box.load(write("first.bmp", encodeWithQt(quarters(32, 24), "bmp")), &error),
              PictureLoad::Outcome::Loaded);
    EXPECT_EQ(error, "");
    const qint64 first = box.picture().cacheKey();

    EXPECT_EQ(box.load(write("bad.jpg", "not a picture"), &error), PictureLoad::Outcome::Failed);
    EXPECT_EQ(error.rfind("Cannot load picture file " + path("bad.jpg"), 0), 0u) << error;
    EXPECT_EQ(box.load(write("plan.wmf", "x"), &error), PictureLoad::Outcome::Failed);
    EXPECT_EQ(error, "Unknown picture file extension (.wmf)");
    EXPECT_EQ(box.load(path("missing.bmp")), PictureLoad::Outcome::Missing);
    EXPECT_EQ(box.picture().cacheKey(), first);
    EXPECT_EQ(box.geometry(), QRect(544, 24, 32, 24));

    ASSERT_EQ(box.load(write("second.jpg", encodeJpeg(quarters(64, 48), JpegKind::Rgb)), &error),
              PictureLoad::Outcome::Loaded);
    EXPECT_EQ(error, "");
    EXPECT_EQ(box.geometry(), QRect(544, 24, 64, 48));
}

TEST_F(PictureBoxFile, AStretchedBoxKeepsThePictureOnlyAtTheSizeItShowsIt) {
    const std::string jpeg = write("scenery.jpg", encodeJpeg(quarters(1024, 768), JpegKind::Rgb));
    PictureBox box;
    box.setGeometry(544, 24, 225, 169);
    ASSERT_EQ(box.load(jpeg), PictureLoad::Outcome::Loaded);
    EXPECT_EQ(box.picture().size(), QSize(1024, 768));
    box.setStretch(true);
    ASSERT_EQ(box.load(jpeg), PictureLoad::Outcome::Loaded);
    EXPECT_EQ(box.picture().size(), QSize(225, 169));
    EXPECT_TRUE(hasQuarters(shown(box), 24));
}

TEST(PictureBox, ClickedByALeftClickInside) {
    PictureBox box;
    box.setGeometry(0, 0, 40, 24);
    box.show();
    QSignalSpy clicks(&box, &PictureBox::clicked);

    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(20, 12));
    EXPECT_EQ(clicks.count(), 1) << "right button";
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(20, 12));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(60, 12));
    EXPECT_EQ(clicks.count(), 1) << "released outside";
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_EQ(clicks.count(), 1) << "a release without its press";
}

TEST(PictureBox, IsAnAccessibleGraphicWithItsName) {
    PictureBox box;
    box.setAccessibleName("English");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Graphic);
    EXPECT_EQ(accessible->text(QAccessible::Name), "English");
}

} // namespace
