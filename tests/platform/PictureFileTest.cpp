#include "platform/PictureFile.h"

#include "TestPictures.h"

#include <QDir>
#include <QImageWriter>
#include <cstdio>

namespace {

class PictureFile : public PictureFolder {
protected:
    std::string cannotLoad(const std::string& name, const std::string& reason) const {
        return "Cannot load picture file " + path(name) + ": " + reason;
    }
};

TEST_F(PictureFile, EachFormatByItsExtensionInAnyCase) {
    const QImage picture = quarters(32, 24);
    const std::string jpeg = encodeJpeg(picture, JpegKind::Rgb);
    const std::string bmp = encodeWithQt(picture, "bmp");
    const std::string png = encodeWithQt(picture, "png");
    struct Case {
        const char* name;
        const std::string& bytes;
        int tolerance;
    };
    const Case cases[] = {
        {"a.bmp", bmp, 0},    {"b.BMP", bmp, 0},    {"c.jpg", jpeg, 24}, {"ALPHA.JPG", jpeg, 24},
        {"d.jpeg", jpeg, 24}, {"e.JpEg", jpeg, 24}, {"f.png", png, 0},   {"g.PNG", png, 0},
    };
    for (const Case& c : cases) {
        const PictureLoad loaded = loadPictureFile(write(c.name, c.bytes));
        EXPECT_TRUE(loaded.ok()) << c.name << ": " << loaded.error;
        EXPECT_EQ(loaded.image.size(), QSize(32, 24)) << c.name;
        EXPECT_TRUE(hasQuarters(loaded.image, c.tolerance)) << c.name;
    }
}

TEST_F(PictureFile, IconsInAnyCase) {
    if (!QImageWriter::supportedImageFormats().contains("ico"))
        GTEST_SKIP() << "this Qt has no icon plugin to make the test icon with";
    const std::string icon = encodeWithQt(quarters(32, 24), "ico");
    for (const char* name : {"h.ico", "i.ICO", "j.Ico"}) {
        const PictureLoad loaded = loadPictureFile(write(name, icon));
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.error;
        EXPECT_TRUE(hasQuarters(loaded.image, 0)) << name;
    }
}

TEST_F(PictureFile, JpegColourModels) {
    const QImage picture = quarters(32, 24);
    for (const JpegKind kind : {JpegKind::Progressive, JpegKind::Cmyk}) {
        const PictureLoad loaded = loadPictureFile(write("colour.jpg", encodeJpeg(picture, kind)));
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        EXPECT_TRUE(hasQuarters(loaded.image, 24)) << static_cast<int>(kind);
    }
    const PictureLoad grey =
        loadPictureFile(write("grey.jpg", encodeJpeg(picture, JpegKind::Grey)));
    ASSERT_TRUE(grey.ok()) << grey.error;
    for (const QPoint at : {QPoint(8, 6), QPoint(24, 6), QPoint(8, 18), QPoint(24, 18)}) {
        const QColor seen = grey.image.pixelColor(at);
        const int wanted = qGray(picture.pixel(at));
        EXPECT_NEAR(seen.red(), wanted, 8);
        EXPECT_EQ(seen.red(), seen.green());
        EXPECT_EQ(seen.red(), seen.blue());
    }
}

// The extension decides; a picture of another format under that name is a damaged file.
TEST_F(PictureFile, ContentOfAnotherFormatFails) {
    const QImage picture = quarters(32, 24);
    const std::string jpeg = encodeJpeg(picture, JpegKind::Rgb);

    EXPECT_EQ(loadPictureFile(write("photo.bmp", jpeg)).error,
              cannotLoad("photo.bmp", "not a valid BMP picture"));
    EXPECT_EQ(loadPictureFile(write("photo.png", jpeg)).error,
              cannotLoad("photo.png", "not a valid PNG picture"));
    EXPECT_EQ(loadPictureFile(write("photo.ico", encodeWithQt(picture, "png"))).error,
              cannotLoad("photo.ico", "not a valid icon"));
    EXPECT_EQ(loadPictureFile(write("bitmap.jpg", encodeWithQt(picture, "bmp"))).error,
              cannotLoad("bitmap.jpg",
                         "not a valid JPEG picture (Not a JPEG file: starts with 0x42 0x4d)"));

    const PictureLoad text = loadPictureFile(write("notes.jpg", "//$n Trasa testowa\r\n"));
    EXPECT_FALSE(text.ok());
    EXPECT_TRUE(text.image.isNull());
    EXPECT_EQ(text.error.rfind(cannotLoad("notes.jpg", "not a valid JPEG picture ("), 0), 0u)
        << text.error;
}

TEST_F(PictureFile, UnknownExtensionsAreNamedAsWritten) {
    const std::string bmp = encodeWithQt(quarters(8, 8), "bmp");
    EXPECT_EQ(loadPictureFile(write("plan.wmf", bmp)).error,
              "Unknown picture file extension (.wmf)");
    EXPECT_EQ(loadPictureFile(write("plan.EMF", bmp)).error,
              "Unknown picture file extension (.EMF)");
    // One white pixel: a picture Qt could read, but not among the launcher's formats.
    const char gifBytes[] = "GIF89a\x01\0\x01\0\x80\0\0\xFF\xFF\xFF\0\0\0"
                            ",\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;";
    const std::string gif(gifBytes, sizeof gifBytes - 1);
    ASSERT_FALSE(QImage::fromData(QByteArray::fromStdString(gif), "gif").isNull());
    EXPECT_EQ(loadPictureFile(write("anim.gif", gif)).error,
              "Unknown picture file extension (.gif)");
    EXPECT_EQ(loadPictureFile(write("README", bmp)).error, "Unknown picture file extension (.)");
    EXPECT_EQ(loadPictureFile(write("dot.", bmp)).error, "Unknown picture file extension (.)");
    // A dot in a folder's name is not the file's extension.
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path("images.bmp").c_str())));
    EXPECT_EQ(loadPictureFile(write("images.bmp/alpha", bmp)).error,
              "Unknown picture file extension (.)");
    // A missing file is missing, whatever its extension.
    EXPECT_EQ(loadPictureFile(path("missing.wmf")).outcome, PictureLoad::Outcome::Missing);
}

TEST_F(PictureFile, EmptyMissingAndFolderFail) {
    for (const char* name : {"empty.jpg", "empty.bmp", "empty.png"})
        EXPECT_EQ(loadPictureFile(write(name, "")).error, cannotLoad(name, "the file is empty"));
    const PictureLoad missing = loadPictureFile(path("missing.jpg"));
    EXPECT_EQ(missing.outcome, PictureLoad::Outcome::Missing);
    EXPECT_EQ(missing.error,
              "Cannot open picture file " + path("missing.jpg") + ": No such file or directory");
    EXPECT_EQ(loadPictureFile(path("missing.jpg/inside.bmp")).outcome,
              PictureLoad::Outcome::Missing);
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path("folder.jpg").c_str())));
    const PictureLoad folder = loadPictureFile(path("folder.jpg"));
    EXPECT_EQ(folder.outcome, PictureLoad::Outcome::Missing);
    EXPECT_EQ(folder.error, "Cannot open picture file " + path("folder.jpg") + ": Is a directory");
}

// A cut-short JPEG is refused rather than shown with a grey lower part, even when only its end
// marker is missing.
TEST_F(PictureFile, TruncatedJpegIsAnError) {
    const QImage picture = quarters(64, 48);
    const std::string damaged =
        cannotLoad("cut.jpg", "the JPEG picture is damaged or incomplete (");
    for (const JpegKind kind : {JpegKind::Rgb, JpegKind::Progressive}) {
        const std::string jpeg = encodeJpeg(picture, kind);
        const std::size_t scanStart = jpeg.find("\xFF\xDA");
        ASSERT_NE(scanStart, std::string::npos);
        for (const std::size_t length :
             {scanStart + 20, (scanStart + jpeg.size()) / 2, jpeg.size() - 2}) {
            const PictureLoad loaded = loadPictureFile(write("cut.jpg", jpeg.substr(0, length)));
            EXPECT_TRUE(loaded.image.isNull());
            EXPECT_EQ(loaded.error.rfind(damaged, 0), 0u) << loaded.error;
        }
    }
    // Cut inside the headers, before any frame header: not a picture at all.
    const std::string jpeg = encodeJpeg(picture, JpegKind::Rgb);
    EXPECT_EQ(loadPictureFile(write("cut.jpg", jpeg.substr(0, 10)))
                  .error.rfind(cannotLoad("cut.jpg", "not a valid JPEG picture ("), 0),
              0u);
}

TEST_F(PictureFile, PictureLargerThanTheLimitIsRefusedFromItsHeader) {
    const std::string tooLarge = "the picture is too large (";
    std::string jpeg = encodeJpeg(quarters(32, 24), JpegKind::Rgb);
    setJpegHeaderSize(jpeg, 20000, 20000);
    EXPECT_EQ(loadPictureFile(write("huge.jpg", jpeg)).error,
              cannotLoad("huge.jpg", tooLarge + "20000 x 20000 pixels, at most 16384 on a side)"));
    setJpegHeaderSize(jpeg, 16385, 24);
    EXPECT_EQ(loadPictureFile(write("wide.jpg", jpeg)).error,
              cannotLoad("wide.jpg", tooLarge + "16385 x 24 pixels, at most 16384 on a side)"));
    // At the limit the header is believed; the data then runs short.
    setJpegHeaderSize(jpeg, MaxPictureSide, 2);
    EXPECT_EQ(loadPictureFile(write("edge.jpg", jpeg))
                  .error.rfind(cannotLoad("edge.jpg", "the JPEG picture is damaged"), 0),
              0u);

    // A bitmap's width is the 32-bit number at offset 18 of its headers.
    std::string bmp = encodeWithQt(quarters(32, 24), "bmp");
    const std::int32_t width = 20000;
    bmp.replace(18, 4, reinterpret_cast<const char*>(&width), 4);
    EXPECT_EQ(loadPictureFile(write("huge.bmp", bmp)).error,
              cannotLoad("huge.bmp", tooLarge + "20000 x 24 pixels, at most 16384 on a side)"));
}

// Names are bytes: a Windows-1250 name opens as it is and is shown decoded.
TEST_F(PictureFile, NamesThatAreNotUtf8) {
    const std::string jpeg = encodeJpeg(quarters(32, 24), JpegKind::Rgb);
    EXPECT_TRUE(loadPictureFile(write("\xB9\x9F.jpg", jpeg)).ok()); // "ąź" in Windows-1250
    EXPECT_TRUE(loadPictureFile(write("żółw.jpg", jpeg)).ok());

    const std::string folder = path("");
    EXPECT_EQ(loadPictureFile(write("\xB9.bmp", jpeg)).error,
              "Cannot load picture file " + folder + "ą.bmp: not a valid BMP picture");
    EXPECT_EQ(loadPictureFile(write("ż.bmp", jpeg)).error,
              "Cannot load picture file " + folder + "ż.bmp: not a valid BMP picture");

    // Qt cannot name these to remove them with the folder.
    for (const char* name : {"\xB9\x9F.jpg", "\xB9.bmp"}) std::remove(path(name).c_str());
}

} // namespace
