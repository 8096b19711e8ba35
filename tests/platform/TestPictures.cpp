#include "TestPictures.h"

#include <QBuffer>
#include <QColor>
#include <cstdlib>
#include <fstream>

::testing::AssertionResult hasQuarters(const QImage& picture, int tolerance) {
    if (picture.isNull()) return ::testing::AssertionFailure() << "no picture";
    const int w = picture.width(), h = picture.height();
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int x = (quarter % 2 == 0) ? w / 4 : 3 * w / 4;
        const int y = (quarter < 2) ? h / 4 : 3 * h / 4;
        const QColor seen = picture.pixelColor(x, y);
        const QColor wanted(QuarterColours[quarter]);
        if (std::abs(seen.red() - wanted.red()) > tolerance ||
            std::abs(seen.green() - wanted.green()) > tolerance ||
            std::abs(seen.blue() - wanted.blue()) > tolerance) {
            return ::testing::AssertionFailure()
                   << "pixel " << x << "," << y << " is " << seen.name().toStdString()
                   << ", wanted " << wanted.name().toStdString();
        }
    }
    return ::testing::AssertionSuccess();
}

void setJpegHeaderSize(std::string& jpeg, int width, int height) {
    if (!setJpegFrameSize(jpeg, width, height)) ADD_FAILURE() << "no frame header";
}

std::string encodeWithQt(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format)) << format;
    return bytes.toStdString();
}

void PictureFolder::SetUp() {
    ASSERT_TRUE(folder_.isValid());
}

std::string PictureFolder::path(const std::string& name) const {
    return QFile::encodeName(folder_.path()).toStdString() + "/" + name;
}

std::string PictureFolder::write(const std::string& name, const std::string& bytes) const {
    std::string file = path(name);
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return file;
}
