#include "TestPictures.h"

#include <QBuffer>
#include <QColor>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <jpeglib.h>
#include <vector>

namespace {
const QRgb QuarterColours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                qRgb(255, 255, 255)};

int quarterOf(int x, int y, int width, int height) {
    return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
}
} // namespace

QImage quarters(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, QuarterColours[quarterOf(x, y, width, height)]);
    }
    return picture;
}

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

std::string encodeJpeg(const QImage& source, JpegKind kind) {
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.height());
    cinfo.input_components = kind == JpegKind::Grey ? 1 : kind == JpegKind::Cmyk ? 4 : 3;
    cinfo.in_color_space = kind == JpegKind::Grey   ? JCS_GRAYSCALE
                           : kind == JpegKind::Cmyk ? JCS_CMYK
                                                    : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (kind == JpegKind::Progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        JSAMPLE* out = row.data();
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (kind == JpegKind::Grey) {
                *out++ = static_cast<JSAMPLE>(qGray(p));
            } else if (kind == JpegKind::Cmyk) {
                // Inverted inks, as the Adobe marker libjpeg writes for CMYK declares.
                const int k = std::max({r, g, b});
                const auto ink = [k](int c) { return static_cast<JSAMPLE>(k ? c * 255 / k : 0); };
                *out++ = ink(r), *out++ = ink(g), *out++ = ink(b);
                *out++ = static_cast<JSAMPLE>(k);
            } else {
                *out++ = static_cast<JSAMPLE>(r), *out++ = static_cast<JSAMPLE>(g);
                *out++ = static_cast<JSAMPLE>(b);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

void setJpegHeaderSize(std::string& jpeg, int width, int height) {
    // Markers start at offset 2; each but the frame header is skipped by its length.
    std::size_t at = 2;
    while (at + 9 < jpeg.size()) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker == 0xC0 || marker == 0xC2) {
            jpeg[at + 5] = static_cast<char>(height >> 8), jpeg[at + 6] = static_cast<char>(height);
            jpeg[at + 7] = static_cast<char>(width >> 8), jpeg[at + 8] = static_cast<char>(width);
            return;
        }
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 |
                   static_cast<unsigned char>(jpeg[at + 3]));
    }
    ADD_FAILURE() << "no frame header";
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
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return file;
}
