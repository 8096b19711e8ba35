#include "platform/pictures/BmpDecoder.h"

#include "platform/system/LittleEndian.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The file header, and the largest info header (BITMAPV5HEADER) with BI_BITFIELDS masks after
// it; the palette is read on its own.
constexpr std::int64_t FileHeaderBytes = 14;
constexpr std::int64_t MaxHeaderBytes = FileHeaderBytes + 124 + 12;

// Reads up to size bytes at offset, whatever the descriptor's own offset; the count read.
std::int64_t readAt(int fd, std::int64_t offset, unsigned char* into, std::int64_t size) {
    std::int64_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into + done, static_cast<std::size_t>(size - done),
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

const char* const EndsEarly = "its pixel data ends before the end-of-bitmap code";

// The pixel data from the start offset, read in blocks.
class PixelBytes {
public:
    PixelBytes(int fd, std::int64_t start, std::int64_t end)
        : fd_(fd), next_(start), end_(end), block_(BlockBytes) {}

    bool get(unsigned& byte) {
        if (at_ == filled_ && !fill()) return false;
        byte = block_[at_++];
        return true;
    }

private:
    bool fill() {
        const std::int64_t want = std::min<std::int64_t>(end_ - next_, BlockBytes);
        filled_ = want > 0 ? static_cast<std::size_t>(readAt(fd_, next_, block_.data(), want)) : 0;
        next_ += static_cast<std::int64_t>(filled_);
        at_ = 0;
        return filled_ > 0;
    }

    static constexpr std::int64_t BlockBytes = 64 * 1024;
    int fd_;
    std::int64_t next_;
    std::int64_t end_;
    std::vector<unsigned char> block_;
    std::size_t filled_ = 0;
    std::size_t at_ = 0;
};

} // namespace

BmpHeaders readBmpHeaders(int fd, std::int64_t fileSize) {
    BmpHeaders headers;
    unsigned char bytes[MaxHeaderBytes]{};
    const std::int64_t got = readAt(fd, 0, bytes, std::min(fileSize, MaxHeaderBytes));
    if (got < FileHeaderBytes + 12 || bytes[0] != 'B' || bytes[1] != 'M') return headers;
    const std::int64_t offset = littleEndian(bytes + 10, 4);
    const std::int64_t infoBytes = littleEndian(bytes + 14, 4);
    const unsigned char* info = bytes + FileHeaderBytes;

    std::int64_t width = 0, height = 0;
    unsigned compression = 0, coloursUsed = 0, entryBytes = 4;
    if (infoBytes == 12) { // BITMAPCOREHEADER: 16-bit sizes, three-byte palette entries
        width = static_cast<std::int16_t>(littleEndian(info + 4, 2));
        height = static_cast<std::int16_t>(littleEndian(info + 6, 2));
        headers.bitsPerPixel = static_cast<int>(littleEndian(info + 10, 2));
        entryBytes = 3;
    } else if (infoBytes >= 40 && got >= FileHeaderBytes + 40) {
        width = static_cast<std::int32_t>(littleEndian(info + 4, 4));
        height = static_cast<std::int32_t>(littleEndian(info + 8, 4));
        headers.bitsPerPixel = static_cast<int>(littleEndian(info + 14, 2));
        compression = littleEndian(info + 16, 4);
        coloursUsed = littleEndian(info + 32, 4);
    } else {
        return headers;
    }
    const int bits = headers.bitsPerPixel;
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (width <= 0 || height == 0 || !knownDepth) return headers;

    switch (compression) {
    case 0: // BI_RGB
        break;
    case 3: // BI_BITFIELDS
        if (bits != 16 && bits != 32) return headers;
        break;
    case 1: // BI_RLE8
    case 2: // BI_RLE4
        // Compressed rows are always stored bottom-up.
        if (bits != (compression == 1 ? 8 : 4) || height < 0) return headers;
        headers.coding = compression == 1 ? BmpHeaders::Coding::Rle8 : BmpHeaders::Coding::Rle4;
        break;
    default:
        return headers;
    }
    const std::int64_t rows = std::min<std::int64_t>(height < 0 ? -height : height, INT32_MAX);
    headers.size = QSize(static_cast<int>(width), static_cast<int>(rows));
    headers.topDown = height < 0;

    // The colour masks of a BITMAPINFOHEADER follow it; later headers hold them in the same
    // place, and alpha's from the 56-byte one on. 32-bit pixels carry alpha where a mask says so,
    // as a bitmap saved with transparency does, and never otherwise: an unused fourth byte is often
    // not zero.
    const bool bitfields = compression == 3;
    const std::int64_t masksAfter = infoBytes == 40 && bitfields ? 12 : 0;
    if (bitfields) {
        for (int i = 0; i < 3; ++i) headers.masks[i] = littleEndian(info + 40 + 4 * i, 4);
    } else if (bits == 16) {
        headers.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (bits == 32) {
        headers.masks = {0xFF0000, 0xFF00, 0xFF, 0};
    }
    const std::uint32_t alphaMask = infoBytes >= 56 ? littleEndian(info + 52, 4) : 0;
    if (bits == 32 && (bitfields ? alphaMask != 0 : alphaMask == 0xFF000000)) {
        headers.masks[3] = alphaMask;
        headers.alpha = true;
    }

    // Only depths up to 8 bits have a palette: a count of colours at another depth names the
    // colours a display may best use, with no palette in the file.
    std::int64_t colours = 0;
    if (bits <= 8) colours = coloursUsed == 0 || infoBytes == 12 ? 1 << bits : coloursUsed;
    const std::int64_t paletteStart = FileHeaderBytes + infoBytes + masksAfter;
    headers.dataStart = std::max(offset, paletteStart + colours * entryBytes);
    // Sizes past any picture's limits only need to be too large, without overflowing.
    constexpr std::int64_t Huge = std::int64_t{1} << 24;
    if (width > Huge || rows > Huge) {
        headers.rowBytes = headers.plainBytes = INT64_MAX;
    } else {
        headers.rowBytes = (width * bits + 31) / 32 * 4;
        headers.plainBytes = headers.rowBytes * (rows - 1) + (width * bits + 7) / 8;
    }

    std::vector<unsigned char> palette(
        static_cast<std::size_t>(std::min<std::int64_t>(colours, 256) * entryBytes));
    const auto read =
        readAt(fd, paletteStart, palette.data(), static_cast<std::int64_t>(palette.size()));
    for (std::int64_t at = 0; at + entryBytes <= read; at += entryBytes)
        headers.palette.append(qRgb(palette[at + 2], palette[at + 1], palette[at]));
    headers.valid = true;
    return headers;
}

namespace {

const char* const NoMemory = "not enough memory for the picture";

// An indexed picture with the palette, black past its end.
QImage indexedPicture(const BmpHeaders& headers) {
    QImage image(headers.size, QImage::Format_Indexed8);
    if (image.isNull()) return image;
    QList<QRgb> colours = headers.palette;
    colours.resize(1 << headers.bitsPerPixel, qRgb(0, 0, 0));
    image.setColorTable(colours);
    return image;
}

BmpDecode decodeRle(int fd, std::int64_t fileSize, const BmpHeaders& headers) {
    const bool four = headers.coding == BmpHeaders::Coding::Rle4;
    const int width = headers.size.width(), height = headers.size.height();
    BmpDecode out;
    QImage image = indexedPicture(headers);
    if (image.isNull()) {
        out.error = NoMemory;
        return out;
    }
    image.fill(0);

    PixelBytes in(fd, headers.dataStart, fileSize);
    int x = 0;
    std::int64_t row = 0; // counted from the bottom, as the rows are stored
    // Pixels past the right edge are dropped without a step each, so a run costs what it shows
    // whatever its count; x never passes the width. In RLE4 a run alternates its two indexes.
    const auto put = [&](unsigned first, unsigned second, int count) {
        const int n = std::min(count, width - x);
        if (n <= 0) return;
        if (row < height) {
            uchar* line = image.scanLine(static_cast<int>(height - 1 - row)) + x;
            for (int i = 0; i < n; ++i) line[i] = static_cast<uchar>(i % 2 == 0 ? first : second);
        }
        x += n;
    };
    unsigned count = 0, code = 0;
    while (row < height) {
        if (!in.get(count) || !in.get(code)) {
            out.error = EndsEarly;
            return out;
        }
        if (count > 0) {
            if (four)
                put(code >> 4, code & 0xF, static_cast<int>(count));
            else
                put(code, code, static_cast<int>(count));
            continue;
        }
        if (code == 0) { // end of line
            x = 0;
            ++row;
        } else if (code == 1) { // end of bitmap
            break;
        } else if (code == 2) { // delta: right and up
            unsigned right = 0, up = 0;
            if (!in.get(right) || !in.get(up)) {
                out.error = EndsEarly;
                return out;
            }
            x = static_cast<int>(std::min<std::int64_t>(width, std::int64_t{x} + right));
            row += up;
        } else { // `code` indexes written out, padded to a whole number of 16-bit words
            const unsigned bytes = four ? (code + 1) / 2 : code;
            unsigned byte = 0;
            for (unsigned i = 0; i < bytes + bytes % 2; ++i) {
                if (!in.get(byte)) {
                    out.error = EndsEarly;
                    return out;
                }
                if (i >= bytes) continue;
                if (four)
                    put(byte >> 4, byte & 0xF, 2 * i + 1 < code ? 2 : 1);
                else
                    put(byte, byte, 1);
            }
        }
    }
    out.image = image;
    return out;
}

// One colour of a 16- or 32-bit pixel: the bits its mask selects, at most the top eight, widened
// to eight by repeating them, so that a full channel is 255 however few bits it has.
class Channel {
public:
    explicit Channel(std::uint32_t mask) {
        if (mask == 0) return;
        shift_ = std::countr_zero(mask);
        bits_ = std::bit_width(mask >> shift_);
        if (bits_ > 8) shift_ += bits_ - 8, bits_ = 8;
        mask_ = mask;
    }

    unsigned of(std::uint32_t pixel) const {
        if (bits_ == 0) return 0;
        unsigned value = (pixel & mask_) >> shift_ << (8 - bits_);
        for (int filled = bits_; filled < 8; filled *= 2) value |= value >> filled;
        return value & 0xFF;
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

BmpDecode decodePlain(int fd, std::int64_t fileSize, const BmpHeaders& headers) {
    BmpDecode out;
    const std::int64_t present = std::max<std::int64_t>(fileSize - headers.dataStart, 0);
    if (present < headers.plainBytes) {
        out.error = "its pixel data ends after " + std::to_string(present) + " of " +
                    std::to_string(headers.plainBytes) + " bytes";
        return out;
    }
    const int bits = headers.bitsPerPixel;
    const int width = headers.size.width(), height = headers.size.height();
    QImage image = bits <= 8 ? indexedPicture(headers)
                             : QImage(headers.size,
                                      headers.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        out.error = NoMemory;
        return out;
    }
    const Channel red(headers.masks[0]), green(headers.masks[1]), blue(headers.masks[2]),
        alpha(headers.masks[3]);
    const int bytesPerPixel = bits / 8;
    std::vector<unsigned char> stored(static_cast<std::size_t>(headers.rowBytes));
    for (int i = 0; i < height; ++i) {
        // The last row may lack its padding; the file can only have shrunk since it was measured.
        std::fill(stored.begin(), stored.end(), 0);
        const std::int64_t wanted =
            i + 1 < height ? headers.rowBytes : headers.plainBytes - i * headers.rowBytes;
        if (readAt(fd, headers.dataStart + i * headers.rowBytes, stored.data(), wanted) < wanted) {
            out.error = "its pixel data ends in row " + std::to_string(i + 1) + " of " +
                        std::to_string(height);
            return out;
        }
        uchar* line = image.scanLine(headers.topDown ? i : height - 1 - i);
        const unsigned char* in = stored.data();
        if (bits <= 8) {
            const int perByte = 8 / bits, lowest = (1 << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                line[x] = static_cast<uchar>(in[x / perByte] >> shift & lowest);
            }
            continue;
        }
        auto* pixels = reinterpret_cast<QRgb*>(line);
        for (int x = 0; x < width; ++x, in += bytesPerPixel) {
            if (bits == 24) {
                pixels[x] = qRgb(in[2], in[1], in[0]);
                continue;
            }
            const std::uint32_t pixel = littleEndian(in, bytesPerPixel);
            pixels[x] = qRgba(static_cast<int>(red.of(pixel)), static_cast<int>(green.of(pixel)),
                              static_cast<int>(blue.of(pixel)),
                              headers.alpha ? static_cast<int>(alpha.of(pixel)) : 255);
        }
    }
    out.image = image;
    return out;
}

} // namespace

BmpDecode decodeBmp(int fd, std::int64_t fileSize, const BmpHeaders& headers) {
    return headers.coding == BmpHeaders::Coding::Plain ? decodePlain(fd, fileSize, headers)
                                                       : decodeRle(fd, fileSize, headers);
}
