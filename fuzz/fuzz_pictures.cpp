// The picture loader. Each input is loaded as a bitmap, a JPEG and a PNG, at its own size and
// stretched to the scenery picture's 225 x 169. Checked on every input:
//  - a picture that cannot be loaded is told: the message names the file and says why, and no
//    picture comes with it;
//  - a picture that loads stays within the limits, on a side and in bytes at four a pixel;
//  - a picture loaded for a size has that size, and one that loads at its own size loads for a
//    size as well;
//  - loading the same file again gives the same pixels: a pixel taken from memory that nothing
//    wrote would sooner or later differ. A JPEG that runs out of time may run out of it only
//    once, as the time it takes varies.

#include "FuzzSupport.h"

#include "platform/pictures/PictureFile.h"

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
    if (!shownAt.isEmpty()) FUZZ_CHECK(image.size() == shownAt);
    const PictureLoad again = loadPictureFile(path, shownAt);
    FUZZ_CHECK(again.image == image ||
               again.error.find("takes too long to decode") != std::string::npos);
    return first;
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
    for (const std::string* name : {&names().bmp, &names().png, &names().jpeg}) {
        const PictureLoad own = load(*name, QSize());
        const PictureLoad shown = load(*name, SceneryPicture);
        if (own.ok() && !shown.ok())
            FUZZ_CHECK(shown.error.find("takes too long to decode") != std::string::npos);
    }
    return 0;
}
