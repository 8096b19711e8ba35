#include "platform/pictures/PictureFile.h"
#include "platform/pictures/JpegDecoder.h"
#include "catalogue/pictures/PictureRow.h"

#include "TestPictures.h"

#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <unistd.h>

namespace {

class PictureFile : public PictureFolder {
protected:
    std::string cannotLoad(const std::string& name, const std::string& reason) const {
        return "Cannot load picture file " + path(name) + ": " + reason;
    }
};

const QSize SceneryPicture(225, 169);

// libjpeg's own view of a stream decoded to its end: the warnings it gives, or -1 when it gives
// up with an error.
struct Warnings {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    int count = 0;
};

int libjpegWarnings(const std::string& jpeg) {
    jpeg_decompress_struct cinfo{};
    Warnings warnings;
    cinfo.err = jpeg_std_error(&warnings.manager);
    warnings.manager.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<Warnings*>(c->err)->jump, 1);
    };
    warnings.manager.emit_message = [](j_common_ptr c, int level) {
        if (level < 0) ++reinterpret_cast<Warnings*>(c->err)->count;
    };
    if (setjmp(warnings.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    std::vector<JSAMPLE> row(cinfo.output_width * static_cast<unsigned>(cinfo.output_components));
    for (JSAMPROW rows[1] = {row.data()}; cinfo.output_scanline < cinfo.output_height;)
        jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return warnings.count;
}

// The same stream with three stray bytes before its scan header number `scan`, from 0.
std::string withStrayBytesBeforeScan(const std::string& jpeg, int scan) {
    std::size_t at = jpeg.find("\xFF\xDA");
    for (int i = 0; i < scan && at != std::string::npos; ++i) at = jpeg.find("\xFF\xDA", at + 2);
    EXPECT_NE(at, std::string::npos);
    return jpeg.substr(0, at) + "\x11\x22\x33" + jpeg.substr(at);
}

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

    // Within the side limit, the pixels are limited too: 4097 x 4096 at four bytes each is just
    // past 64 MiB.
    const std::int32_t size[2] = {4097, 4096};
    bmp.replace(18, 8, reinterpret_cast<const char*>(size), 8);
    EXPECT_EQ(loadPictureFile(write("large.bmp", bmp)).error,
              cannotLoad("large.bmp", tooLarge + "4097 x 4096 pixels, more than 64 MiB to load)"));
    // And so is the file, whatever it holds: one that takes no room on the disk costs the time
    // of reading it all the same.
    const std::string sparse = write("sparse.png", "");
    ASSERT_EQ(::truncate(sparse.c_str(), MaxPictureFileBytes + 1), 0);
    EXPECT_EQ(loadPictureFile(sparse).error,
              cannotLoad("sparse.png", "the file is too large (68157441 bytes, at most 68157440)"));
}

// A consist shows up to fifty vehicle pictures at once: each may take 1 MiB, and one past that
// takes the stand-in's place.
TEST_F(PictureFile, PicturesOfARowTakeAMebibyteEach) {
    const std::string atLimit = write("512.bmp", encodeBmp(quarters(512, 512), 24));
    std::string bmp = encodeBmp(quarters(8, 8), 24);
    const std::int32_t size[2] = {513, 512};
    bmp.replace(18, 8, reinterpret_cast<const char*>(size), 8);
    const std::string past = write("513.bmp", bmp);

    const PictureRow row = loadPictureRow({past, atLimit, past}, atLimit);
    EXPECT_EQ(row.errors, std::vector<std::string>{cannotLoad(
                              "513.bmp", "the picture is too large (513 x 512 pixels, more "
                                         "than 1 MiB to load)")});
    ASSERT_EQ(row.pictures.size(), 3u);
    EXPECT_TRUE(row.pictures[0].isNull());
    EXPECT_TRUE(hasQuarters(row.pictures[1], 0));
    EXPECT_EQ(row.places[2].left, 1 + 2 * 512) << "each place the stand-in's size";
    // Alone, the same picture is within the limit of one picture.
    EXPECT_EQ(loadPictureFile(past).error.find("too large"), std::string::npos);
}

// Consists chosen one after another decode each picture once, until its file changes: rewritten
// to the same size, or mended after it failed to load.
TEST(PictureRow, PicturesStandInOneRowEachAtItsOwnSize) {
    const std::vector<PicturePlace> places =
        placeInRow({{60, 33}, {40, 30}, {80, 33}, {60, 33}, {60, 1}});
    std::vector<int> lefts;
    for (const PicturePlace& p : places) {
        lefts.push_back(p.left);
        EXPECT_EQ(p.top, 1);
    }
    EXPECT_EQ(lefts, (std::vector<int>{1, 61, 101, 181, 241}));
    EXPECT_EQ(places[1].width, 40);
    EXPECT_EQ(places[1].height, 30);
}

TEST_F(PictureFile, ARowPictureIsReadAgainOnceItsFileChanges) {
    QImage picture = quarters(8, 8);
    const std::string car = write("car.bmp", encodeBmp(picture, 24));
    const auto rewrite = [&](const std::string& bytes) {
        const auto written = std::filesystem::last_write_time(car);
        write("car.bmp", bytes);
        // A rewrite within the file system's clock tick still shows as a change.
        std::filesystem::last_write_time(car, written + std::chrono::seconds(1));
    };
    PictureRowCache cache;
    const QImage first = loadPictureRow({car}, car, &cache).pictures[0];
    EXPECT_EQ(loadPictureRow({car, car}, car, &cache).pictures[1].cacheKey(), first.cacheKey())
        << "kept, not decoded again";

    picture.fill(Qt::red);
    rewrite(encodeBmp(picture, 24));
    EXPECT_EQ(loadPictureRow({car}, car, &cache).pictures[0].pixelColor(0, 0), QColor(Qt::red));

    rewrite("not a picture");
    EXPECT_EQ(loadPictureRow({car}, car, &cache).errors,
              std::vector<std::string>{cannotLoad("car.bmp", "not a valid BMP picture")});
    rewrite(encodeBmp(quarters(8, 8), 24));
    EXPECT_TRUE(hasQuarters(loadPictureRow({car}, car, &cache).pictures[0], 0));
}

// A JPEG shown smaller than it is decoded at libjpeg's smallest scale (M/8) that still covers the
// shown size in both directions, as the picture is stretched.
TEST(JpegDecoder, DecodesAtTheSmallestScaleCoveringTheShownSize) {
    struct Case {
        QSize picture, shownAt, decoded;
        JpegKind kind = JpegKind::Rgb;
    };
    const Case cases[] = {
        {{1024, 768}, SceneryPicture, {256, 192}},
        {{1024, 768}, SceneryPicture, {256, 192}, JpegKind::Progressive},
        {{1024, 768}, SceneryPicture, {256, 192}, JpegKind::Cmyk},
        {{1800, 1352}, SceneryPicture, {225, 169}},
        {{1799, 1345}, SceneryPicture, {225, 169}}, // libjpeg rounds up
        {{1792, 1352}, SceneryPicture, {448, 338}}, // 1/8 is a pixel narrow
        {{200, 100}, SceneryPicture, {200, 100}},
        {{1024, 768}, QSize(), {1024, 768}},
    };
    for (const Case& c : cases) {
        std::string jpeg = encodeJpeg(quarters(c.picture.width(), c.picture.height()), c.kind);
        std::FILE* file = ::fmemopen(jpeg.data(), jpeg.size(), "rb");
        ASSERT_NE(file, nullptr);
        const JpegDecode decoded = decodeJpeg(
            file, c.shownAt, {MaxPictureSide, MaxPictureBytes, MaxJpegScans, MaxJpegTime});
        std::fclose(file);
        ASSERT_EQ(decoded.status, JpegDecode::Status::Ok) << decoded.detail;
        EXPECT_EQ(decoded.image.size(), c.decoded) << c.picture.width() << " wide";
        EXPECT_TRUE(hasQuarters(decoded.image, 24)) << c.picture.width() << " wide";
    }
}

// The width of the stripes a picture shows: how far apart the darkest and lightest column are,
// on average over the rows, away from the edges.
int stripes(const QImage& picture) {
    int darkest = 255, lightest = 0;
    for (int x = 4; x < picture.width() - 4; ++x) {
        int sum = 0;
        for (int y = 4; y < picture.height() - 4; ++y) sum += qGray(picture.pixel(x, y));
        const int mean = sum / (picture.height() - 8);
        darkest = std::min(darkest, mean), lightest = std::max(lightest, mean);
    }
    return lightest - darkest;
}

// A stretched picture comes at the size it is shown at, made as it loads, reduced or enlarged.
// The reduction leaves fine repeating detail an even tone: a track whose sleepers are a pixel
// wide, a pixel apart, shows no stripes.
TEST_F(PictureFile, AStretchedPictureComesAtTheSizeItIsShownAt) {
    QImage sleepers(1024, 768, QImage::Format_RGB32);
    sleepers.fill(qRgb(200, 190, 170));
    for (int x = 0; x < sleepers.width(); x += 2)
        QPainter(&sleepers).fillRect(x, 0, 1, sleepers.height(), qRgb(60, 50, 40));
    QImage halfSeen = quarters(1024, 768).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < halfSeen.height(); ++y) {
        for (int x = 0; x < halfSeen.width(); ++x)
            halfSeen.setPixel(x, y, halfSeen.pixel(x, y) & 0x80FFFFFF);
    }
    struct Case {
        const char* name;
        std::string bytes;
        bool quarters;
    };
    const Case cases[] = {
        {"scenery.bmp", encodeBmp(quarters(1024, 768), 24), true},
        {"scenery.jpg", encodeJpeg(quarters(1024, 768), JpegKind::Progressive), true},
        {"small.bmp", encodeBmp(quarters(200, 100), 24), true},
        {"half_seen.bmp", encodeBitfieldsBmp(halfSeen, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}),
         true},
        {"sleepers.bmp", encodeBmp(sleepers, 24), false},
    };
    for (const Case& c : cases) {
        const PictureLoad loaded = loadPictureFile(write(c.name, c.bytes), SceneryPicture);
        ASSERT_TRUE(loaded.ok()) << c.name << ": " << loaded.error;
        EXPECT_EQ(loaded.image.size(), SceneryPicture) << c.name;
        if (c.quarters) {
            const QImage unpremultiplied = loaded.image.convertToFormat(QImage::Format_ARGB32);
            EXPECT_TRUE(hasQuarters(unpremultiplied, 24)) << c.name;
        }
    }
    const QImage track = loadPictureFile(path("sleepers.bmp"), SceneryPicture).image;
    EXPECT_LE(stripes(track), 1);
    EXPECT_NEAR(qGray(track.pixel(112, 84)),
                (qGray(qRgb(200, 190, 170)) + qGray(qRgb(60, 50, 40))) / 2.0, 2);
    EXPECT_EQ(qAlpha(loadPictureFile(path("half_seen.bmp"), SceneryPicture).image.pixel(112, 84)),
              0x80);
}

// Each refusal stops the file before it costs time or memory (see bench/PictureLoadBench.cpp).
TEST_F(PictureFile, HostileJpegsFailWithTheirReason) {
    const std::string tooLarge = "the picture is too large (";
    const std::string damaged = "the JPEG picture is damaged or incomplete (";
    const std::string progressive = encodeJpeg(landscape(64, 48), JpegKind::Progressive);
    const std::string cutSequential = crafted::cutArithmeticJpeg(JpegKind::Arithmetic);
    const std::string cutProgressive = crafted::cutArithmeticJpeg(JpegKind::ArithmeticProgressive);
    // Arithmetic-coded detail, encoded by another program: 27 MB that would take seconds.
    const std::string detailed = crafted::noiseJpeg(3000, 3000, true);
    ASSERT_FALSE(detailed.empty()) << "cjpeg (libjpeg-turbo-progs) makes this test's picture";
    struct Case {
        const char* name;
        std::string bytes;
        QSize shownAt;
        std::string reason;
    };
    const Case cases[] = {
        {"huge.jpg", crafted::hugeArithmeticJpeg(), QSize(),
         tooLarge + "16384 x 16384 pixels, more than 64 MiB to load)"},
        {"huge_shown.jpg", crafted::hugeArithmeticJpeg(), SceneryPicture,
         damaged + "the arithmetic-coded data of scan 1 runs out in block row 1 of 1024)"},
        // Progressive: libjpeg would keep 768 MiB of coefficients, whatever the scale.
        {"huge_progressive.jpg", crafted::hugeArithmeticProgressiveJpeg(), SceneryPicture,
         tooLarge + "16384 x 16384 pixels, more than 64 MiB to load)"},
        {"repeated.jpg", crafted::repeatedScanJpeg(512, 384, 1000), SceneryPicture,
         damaged + "Inconsistent progression sequence for component 0 coefficient 1)"},
        {"many_scans.jpg", crafted::manyScansJpeg(64, 48, 704), QSize(),
         "the JPEG picture has too many scans (more than 64 scans)"},
        {"cut_arithmetic.jpg", cutSequential, QSize(),
         damaged + "the arithmetic-coded data of scan 1 runs out in block row 1 of 12)"},
        {"cut_progressive.jpg", cutProgressive, QSize(),
         damaged + "the scans end before coefficient 0 of component 0 is complete)"},
        {"stray_between_scans.jpg", withStrayBytesBeforeScan(progressive, 3), QSize(),
         damaged + "Corrupt JPEG data: 3 extraneous bytes before marker 0xda)"},
        {"detailed_arithmetic.jpg", detailed, SceneryPicture,
         "the JPEG picture takes too long to decode (more than 400 ms)"},
    };
    for (const Case& c : cases) {
        const PictureLoad loaded = loadPictureFile(write(c.name, c.bytes), c.shownAt);
        EXPECT_EQ(loaded.error, cannotLoad(c.name, c.reason));
        EXPECT_TRUE(loaded.image.isNull()) << c.name;
    }
    // The cut arithmetic-coded pictures are ones that libjpeg itself decodes without a word.
    EXPECT_EQ(libjpegWarnings(cutSequential), 0);
    EXPECT_EQ(libjpegWarnings(cutProgressive), 0);
}

// What the rules above must not refuse: whole arithmetic-coded pictures, among them ones whose
// data ends in long runs of zeros (a flat lower half, a graded one), and stray bytes between the
// markers before the picture data.
TEST_F(PictureFile, WholeJpegsLoadWhateverTheirCoding) {
    QImage flatBelow(512, 384, QImage::Format_RGB32), graded(512, 384, QImage::Format_RGB32);
    flatBelow.fill(qRgb(20, 40, 60));
    QPainter(&flatBelow).drawImage(0, 0, landscape(512, 128));
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 512; ++x) graded.setPixel(x, y, qRgb(x / 2, y * 2 / 3, 128));
    }
    const QImage picture = quarters(256, 192);
    const std::string rgb = encodeJpeg(picture, JpegKind::Rgb);
    struct Case {
        const char* name;
        std::string bytes;
        bool quarters;
    };
    const Case cases[] = {
        {"arithmetic.jpg", encodeJpeg(picture, JpegKind::Arithmetic), true},
        {"arithmetic_progressive.jpg", encodeJpeg(picture, JpegKind::ArithmeticProgressive), true},
        {"arithmetic_restarts.jpg", encodeJpeg(picture, JpegKind::ArithmeticRestarts), true},
        {"stray_in_header.jpg", rgb.substr(0, 20) + "\x11\x22" + rgb.substr(20), true},
        {"flat_below.jpg", encodeJpeg(flatBelow, JpegKind::Arithmetic), false},
        {"flat_below_progressive.jpg", encodeJpeg(flatBelow, JpegKind::ArithmeticProgressive),
         false},
        {"graded_progressive.jpg", encodeJpeg(graded, JpegKind::ArithmeticProgressive), false},
    };
    for (const Case& c : cases) {
        for (const QSize shownAt : {QSize(), QSize(64, 48)}) {
            const PictureLoad loaded = loadPictureFile(write(c.name, c.bytes), shownAt);
            ASSERT_TRUE(loaded.ok()) << c.name << ": " << loaded.error;
            if (c.quarters) {
                EXPECT_TRUE(hasQuarters(loaded.image, 24)) << c.name;
            }
        }
    }
}

// A bitmap whose pixel data is shorter than its headers say is refused, rather than shown with
// whatever the memory held where the pixels are missing.
TEST_F(PictureFile, CutBitmapsFail) {
    const std::string damaged = "the BMP picture is damaged or incomplete (";
    const std::string endsEarly = damaged + "its pixel data ends before the end-of-bitmap code)";
    const std::string grey = encodeBmp(landscape(64, 48), 8);
    const std::string unpadded = encodeBmp(quarters(30, 24), 24);
    std::string offsetPastTheEnd = encodeBmp(quarters(8, 8), 24);
    offsetPastTheEnd[10] = '\xFF', offsetPastTheEnd[11] = '\x01';
    const std::pair<std::string, std::string> cases[] = {
        {crafted::cutBmp(24), damaged + "its pixel data ends after 4608 of 9216 bytes)"},
        {crafted::cutBmp(32), damaged + "its pixel data ends after 6144 of 12288 bytes)"},
        {grey.substr(0, grey.size() - 1),
         damaged + "its pixel data ends after 3071 of 3072 bytes)"},
        {offsetPastTheEnd, damaged + "its pixel data ends after 0 of 192 bytes)"},
        // The last row's padding of two bytes, and one byte of its pixels.
        {unpadded.substr(0, unpadded.size() - 3),
         damaged + "its pixel data ends after 2205 of 2206 bytes)"},
        {crafted::rleWithoutEnd(8), endsEarly},
        {crafted::rleWithoutEnd(4), endsEarly},
    };
    for (const auto& [bytes, reason] : cases) {
        const PictureLoad loaded = loadPictureFile(write("cut.bmp", bytes));
        EXPECT_EQ(loaded.error, cannotLoad("cut.bmp", reason));
        EXPECT_TRUE(loaded.image.isNull());
    }
}

// Bitmaps show as Windows shows them: a 16-bit bitmap is opaque whatever its alpha mask says; a
// count of colours names no palette at a depth without one; the last row needs no padding.
TEST_F(PictureFile, BitmapsShowAsWindowsShowsThem) {
    QImage transparent = quarters(30, 24).convertToFormat(QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    QPainter(&transparent).drawImage(0, 0, quarters(30, 12));
    std::string coloursUsed = encodeBmp(quarters(30, 24), 24);
    coloursUsed[46] = '\0', coloursUsed[47] = '\1'; // biClrUsed = 256
    const std::string padded = encodeBmp(quarters(30, 24), 24);
    const std::pair<const char*, std::string> cases[] = {
        {"a1r5g5b5.bmp", encodeBitfieldsBmp(transparent, 16, {0x7C00, 0x03E0, 0x001F, 0x8000})},
        {"colours_used.bmp", coloursUsed},
        {"unpadded.bmp", padded.substr(0, padded.size() - 2)}, // rows of 90 bytes and 2 padding
    };
    for (const auto& [name, bytes] : cases) {
        const PictureLoad loaded = loadPictureFile(write(name, bytes));
        ASSERT_TRUE(loaded.ok()) << name << ": " << loaded.error;
        EXPECT_FALSE(loaded.image.hasAlphaChannel()) << name;
        const QImage wanted = name == std::string("a1r5g5b5.bmp")
                                  ? transparent.convertToFormat(QImage::Format_RGB32)
                                  : quarters(30, 24);
        EXPECT_EQ(loaded.image.convertToFormat(QImage::Format_RGB32), wanted) << name;
    }
}

// RLE bitmaps are decoded here. Every pixel is decided: those the codes skip (the rest of a row
// after an end of line, a delta's jump, everything after the end of the bitmap) take the
// palette's first colour, and those past the right edge are dropped.
TEST_F(PictureFile, RleBitmapsDecideEveryPixel) {
    const RleBitmap stripes8 = rleStripes(52, 30, 8), stripes4 = rleStripes(52, 30, 4);
    for (const RleBitmap& stripes : {stripes8, stripes4}) {
        const PictureLoad loaded = loadPictureFile(write("stripes.bmp", encodeRleBmp(stripes)));
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 52; ++x) {
                const int index = 1 + (x / 8 + y / 6) % 15;
                const unsigned char* entry = &stripes.palette[4 * static_cast<std::size_t>(index)];
                ASSERT_EQ(loaded.image.pixel(x, y), qRgb(entry[2], entry[1], entry[0]))
                    << stripes.bitsPerPixel << " bits, " << x << "," << y;
            }
        }
    }

    // Rows from the top, each pixel its palette index in hex; the data from the bottom row up.
    struct Case {
        int bits;
        std::vector<std::string> wanted;
        std::string data;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        // A full run; three pixels and an end of line; three pixels written out, a delta one
        // right, a run of two; the end of the bitmap.
        {8,
         {"00000000", "45603300", "22200000", "11111111"},
         "\x08\x01\0\0"
         "\x03\x02\0\0"
         "\0\x03\x04\x05\x06\0"
         "\0\x02\x01\0\x02\x03\0\x01"s},
        {4,
         {"00000000", "45603300", "22200000", "11111111"},
         "\x08\x11\0\0"
         "\x03\x22\0\0"
         "\0\x03\x45\x60"
         "\0\x02\x01\0\x02\x33\0\x01"s},
        // Runs and written-out pixels past the right edge: a run of 7 in a row of 5; a run of
        // 255 after three pixels, then one wholly past the edge; a run of 255 from the start,
        // then four pixels written out past the edge. An RLE4 run keeps alternating its two
        // indexes up to the edge.
        {8,
         {"AAAAA", "34566", "11111"},
         "\x07\x01\0\0"
         "\0\x03\x03\x04\x05\0\xFF\x06\x04\x08\0\0"
         "\xFF\x0A\0\x04\x0C\x0D\x0E\x0F\0\x01"s},
        {4,
         {"ABABA", "34567", "12121"},
         "\x07\x12\0\0"
         "\0\x03\x34\x50\xFF\x67\x04\x89\0\0"
         "\xFF\xAB\0\x04\xCD\xEF\0\x01"s},
    };
    for (const Case& c : cases) {
        const int width = static_cast<int>(c.wanted[0].size());
        const int height = static_cast<int>(c.wanted.size());
        RleBitmap bitmap = rleStripes(width, height, c.bits);
        bitmap.data = c.data;
        const PictureLoad loaded = loadPictureFile(write("runs.bmp", encodeRleBmp(bitmap)));
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int index = std::stoi(c.wanted[y].substr(x, 1), nullptr, 16);
                const unsigned char* entry = &bitmap.palette[4 * static_cast<std::size_t>(index)];
                EXPECT_EQ(loaded.image.pixel(x, y), qRgb(entry[2], entry[1], entry[0]))
                    << c.bits << " bits, " << width << " wide, " << x << "," << y;
            }
        }
    }
}

// Every file of the fuzz corpus, as a player's folder would hold it: the damaged and hostile
// ones fail, the others load, and each the same twice over. Run under valgrind (see
// CMakeLists.txt), comparing the two loads reports any pixel that no decoder wrote.
TEST_F(PictureFile, EveryCraftedPictureLoadsWholeOrNotAtAll) {
    const char* const failing[] = {"huge_", "repeated_", "many_", "cut", "_without_end"};
    for (const NamedPicture& picture : craftedPictures()) {
        const std::string file = write(picture.name, picture.bytes);
        const PictureLoad first = loadPictureFile(file), second = loadPictureFile(file);
        const bool fails = std::any_of(std::begin(failing), std::end(failing), [&](auto part) {
            return picture.name.find(part) != std::string::npos;
        });
        EXPECT_EQ(first.ok(), !fails) << picture.name << ": " << first.error;
        EXPECT_EQ(first.error, second.error);
        EXPECT_TRUE(first.image == second.image) << picture.name;
    }
}

// Names are bytes: a Windows-1250 name opens as it is and is shown decoded.// Names are bytes: a
// Windows-1250 name opens as it is and is shown decoded.
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
