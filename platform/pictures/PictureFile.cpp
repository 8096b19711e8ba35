#include "platform/pictures/PictureFile.h"

#include "platform/pictures/BmpDecoder.h"
#include "platform/system/CodePage1250.h"
#include "platform/pictures/JpegDecoder.h"
#include "platform/system/OrdinaryFile.h"
#include "platform/pictures/PictureScaling.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum class Format { Bmp, Jpeg, Icon, Png, Unknown };

// The extension of the last name of the path, without its dot, as written.
std::string extensionOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

Format formatOf(const std::string& extension) {
    std::string lower = extension;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (lower == "bmp") return Format::Bmp;
    if (lower == "jpg" || lower == "jpeg") return Format::Jpeg;
    if (lower == "ico") return Format::Icon;
    if (lower == "png") return Format::Png;
    return Format::Unknown;
}

PictureLoad failure(const std::string& path, const std::string& reason) {
    return {PictureLoad::Outcome::Failed, QImage(),
            "Cannot load picture file " + fileNameToUtf8(path) + ": " + reason};
}

PictureLoad loaded(const QImage& image) {
    return {PictureLoad::Outcome::Loaded, image, {}};
}

std::string pixels(QSize size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height()) + " pixels";
}

PictureLoad tooLarge(const std::string& path, QSize size, std::int64_t maxBytes) {
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide) {
        return failure(path, "the picture is too large (" + pixels(size) + ", at most " +
                                 std::to_string(MaxPictureSide) + " on a side)");
    }
    return failure(path, "the picture is too large (" + pixels(size) + ", more than " +
                             std::to_string(maxBytes >> 20) + " MiB to load)");
}

// The bytes a picture of that size takes at depth bits a pixel, counted as loadPictureFile's
// limit counts them; negative sides count as nothing.
std::int64_t pictureBytes(QSize size, int depth) {
    const std::int64_t width = std::max(size.width(), 0), height = std::max(size.height(), 0);
    return width * height * (depth > 32 ? 8 : 4);
}

PictureLoad loadJpeg(const std::string& path, OrdinaryFile& fd, QSize shownAt,
                     std::int64_t maxBytes) {
    std::FILE* file = ::fdopen(fd.get(), "rb");
    if (file == nullptr) return failure(path, std::strerror(errno));
    fd.release();
    const JpegDecode decoded =
        decodeJpeg(file, shownAt, {MaxPictureSide, maxBytes, MaxJpegScans, MaxJpegTime});
    std::fclose(file);
    switch (decoded.status) {
    case JpegDecode::Status::Ok:
        return loaded(decoded.image);
    case JpegDecode::Status::NotJpeg:
        return failure(path, "not a valid JPEG picture (" + decoded.detail + ")");
    case JpegDecode::Status::Damaged:
        return failure(path, "the JPEG picture is damaged or incomplete (" + decoded.detail + ")");
    case JpegDecode::Status::TooLarge:
        return tooLarge(path, decoded.headerSize, maxBytes);
    case JpegDecode::Status::TooManyScans:
        return failure(path, "the JPEG picture has too many scans (" + decoded.detail + ")");
    case JpegDecode::Status::TooSlow:
        return failure(path, "the JPEG picture takes too long to decode (" + decoded.detail + ")");
    case JpegDecode::Status::OutOfMemory:
        break;
    }
    if (!decoded.headerSize.isValid()) return failure(path, "not enough memory for the picture");
    return failure(path, "not enough memory for the picture (" + pixels(decoded.headerSize) + ")");
}

PictureLoad loadWithQt(const std::string& path, OrdinaryFile& fd, Format format,
                       std::int64_t maxBytes) {
    const char* qtFormat = format == Format::Icon ? "ico" : "png";
    const char* what = format == Format::Icon ? "icon" : "PNG picture";
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        return failure(path, file.errorString().toStdString());
    }
    fd.release();

    QImageReader reader(&file, qtFormat);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    const int depth = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide ||
        pictureBytes(size, depth) > maxBytes)
        return tooLarge(path, size, maxBytes);
    QImage image;
    if (!reader.read(&image)) {
        if (reader.error() == QImageReader::UnsupportedFormatError)
            return failure(path, std::string("this system has no loader for ") + what + "s");
        return failure(path, std::string("not a valid ") + what);
    }
    return loaded(image);
}

// Bitmaps are decoded here: see BmpDecoder.h.
PictureLoad loadBmp(const std::string& path, OrdinaryFile& fd, std::int64_t fileSize,
                    std::int64_t maxBytes) {
    const BmpHeaders headers = readBmpHeaders(fd.get(), fileSize);
    if (!headers.valid) return failure(path, "not a valid BMP picture");
    const QSize size = headers.size;
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide ||
        pictureBytes(size, 32) > maxBytes)
        return tooLarge(path, size, maxBytes);
    const BmpDecode decoded = decodeBmp(fd.get(), fileSize, headers);
    if (decoded.image.isNull())
        return failure(path, "the BMP picture is damaged or incomplete (" + decoded.error + ")");
    return loaded(decoded.image);
}

} // namespace

PictureLoad loadPictureFile(const std::string& path, QSize shownAt, std::int64_t maxBytes) {
    OrdinaryFile fd(path);
    const auto cannotOpen = [&](PictureLoad::Outcome outcome, int error) {
        return PictureLoad{outcome, QImage(),
                           "Cannot open picture file " + fileNameToUtf8(path) + ": " +
                               std::strerror(error)};
    };
    if (fd.folder()) return cannotOpen(PictureLoad::Outcome::Missing, EISDIR);
    if (!fd.ok() && !fd.notOrdinary()) {
        const int error = fd.error();
        const bool missing = error == ENOENT || error == ENOTDIR;
        return cannotOpen(missing ? PictureLoad::Outcome::Missing : PictureLoad::Outcome::Failed,
                          error);
    }

    const std::string extension = extensionOf(path);
    const Format format = formatOf(extension);
    if (format == Format::Unknown)
        return {PictureLoad::Outcome::Failed, QImage(),
                "Unknown picture file extension (." + extension + ")"};
    if (fd.notOrdinary()) return failure(path, "not an ordinary file");
    const auto size = static_cast<std::int64_t>(fd.size());
    if (size == 0) return failure(path, "the file is empty");
    const std::int64_t maxFileBytes = maxBytes + PictureFileSlackBytes;
    if (size > maxFileBytes) {
        return failure(path, "the file is too large (" + std::to_string(size) + " bytes, at most " +
                                 std::to_string(maxFileBytes) + ")");
    }

    PictureLoad picture = format == Format::Jpeg  ? loadJpeg(path, fd, shownAt, maxBytes)
                          : format == Format::Bmp ? loadBmp(path, fd, size, maxBytes)
                                                  : loadWithQt(path, fd, format, maxBytes);
    if (!picture.ok() || shownAt.isEmpty()) return picture;
    const QImage shown = resampledPicture(picture.image, shownAt);
    if (shown.isNull()) return failure(path, "not enough memory for the picture");
    return loaded(shown);
}
