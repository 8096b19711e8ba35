// The picture loader. Each input is loaded as a bitmap, a JPEG and a PNG, at its own size and
// stretched to the scenery picture's 225 x 169. Checked on every input:
//  - a picture that cannot be loaded is told: the message names the file and says why, and no
//    picture comes with it;
//  - a picture that loads stays within the limits, on a side and in bytes at four a pixel;
//  - a JPEG loaded for a size is decoded at the smallest scale M/8 that covers it, or at its
//    own size when none does, just as when it is loaded for its own size;
//  - loading the same file again gives the same pixels: a pixel taken from memory that nothing
//    wrote would sooner or later differ.

#include "FuzzSupport.h"

#include "platform/PictureFile.h"

#include <QImage>
#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

const QSize SceneryPicture(225, 169);

// One file under three names, in a folder of its own.
struct Names {
    std::string folder, bmp, jpeg, png;
};

FUZZ_HARNESS const Names& names() {
    static const Names made = [] {
        char folder[] = "/tmp/fuzz_pictures.XXXXXX";
        FUZZ_CHECK(::mkdtemp(folder) != nullptr);
        Names n{folder, std::string(folder) + "/p.bmp", std::string(folder) + "/p.jpg",
                std::string(folder) + "/p.png"};
        const int fd = ::open(n.bmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        FUZZ_CHECK(fd >= 0);
        ::close(fd);
        FUZZ_CHECK(::link(n.bmp.c_str(), n.jpeg.c_str()) == 0);
        FUZZ_CHECK(::link(n.bmp.c_str(), n.png.c_str()) == 0);
        std::atexit([] {
            for (const std::string* name : {&names().bmp, &names().jpeg, &names().png})
                ::unlink(name->c_str());
            ::rmdir(names().folder.c_str());
        });
        return n;
    }();
    return made;
}

FUZZ_HARNESS void write(const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(names().bmp.c_str(), O_WRONLY | O_TRUNC);
    FUZZ_CHECK(fd >= 0);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        FUZZ_CHECK(n > 0);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

FUZZ_HARNESS PictureLoad load(const std::string& path, QSize shownAt) {
    const PictureLoad first = loadPictureFile(path, shownAt);
    if (!first.ok()) {
        FUZZ_CHECK(first.outcome == PictureLoad::Outcome::Failed);
        FUZZ_CHECK(first.image.isNull());
        FUZZ_CHECK(first.error.rfind("Cannot load picture file " + path + ": ", 0) == 0);
        return first;
    }
    const QImage& image = first.image;
    FUZZ_CHECK(!image.isNull() && first.error.empty());
    FUZZ_CHECK(image.width() <= MaxPictureSide && image.height() <= MaxPictureSide);
    FUZZ_CHECK(std::int64_t{4} * image.width() * image.height() <= MaxPictureBytes);
    FUZZ_CHECK(loadPictureFile(path, shownAt).image == image);
    return first;
}

FUZZ_HARNESS bool covers(QSize size) {
    return size.width() >= SceneryPicture.width() && size.height() >= SceneryPicture.height();
}

// A picture's size at M/8, rounded up as libjpeg rounds it.
FUZZ_HARNESS QSize scaled(QSize size, int eighths) {
    return {(size.width() * eighths + 7) / 8, (size.height() * eighths + 7) / 8};
}

} // namespace

// Qt's readers set themselves up on first use; that is done before the fuzzing starts, so that
// what they keep for good is not taken for a leak of the first input. Their complaints about
// each input (libpng's among them) would only slow the fuzzing down.
extern "C" FUZZ_HARNESS int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const std::uint8_t oneByte = 0;
    write(&oneByte, 1);
    for (const std::string* name : {&names().bmp, &names().jpeg, &names().png})
        loadPictureFile(*name);
    return 0;
}

extern "C" FUZZ_HARNESS int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    write(data, size);
    load(names().bmp, QSize());
    load(names().png, QSize());
    const PictureLoad own = load(names().jpeg, QSize());
    const PictureLoad shown = load(names().jpeg, SceneryPicture);
    if (shown.ok()) {
        const QSize size = shown.image.size();
        if (!covers(size)) FUZZ_CHECK(own.ok() && own.image.size() == size);
        if (own.ok()) {
            int eighths = 1;
            while (eighths < 8 && !covers(scaled(own.image.size(), eighths))) ++eighths;
            FUZZ_CHECK(size == scaled(own.image.size(), eighths));
        }
    }
    return 0;
}
