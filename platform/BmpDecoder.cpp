#include "platform/BmpDecoder.h"

#include <algorithm>
#include <cerrno>
#include <climits>
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

std::uint32_t little(const unsigned char* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
    return value;
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
    const std::int64_t offset = little(bytes + 10, 4);
    const std::int64_t infoBytes = little(bytes + 14, 4);
    const unsigned char* info = bytes + FileHeaderBytes;

    std::int64_t width = 0, height = 0;
    unsigned compression = 0, coloursUsed = 0, entryBytes = 4;
    if (infoBytes == 12) { // BITMAPCOREHEADER: 16-bit sizes, three-byte palette entries
        width = static_cast<std::int16_t>(little(info + 4, 2));
        height = static_cast<std::int16_t>(little(info + 6, 2));
        headers.bitsPerPixel = static_cast<int>(little(info + 10, 2));
        entryBytes = 3;
    } else if (infoBytes >= 40 && got >= FileHeaderBytes + 40) {
        width = static_cast<std::int32_t>(little(info + 4, 4));
        height = static_cast<std::int32_t>(little(info + 8, 4));
        headers.bitsPerPixel = static_cast<int>(little(info + 14, 2));
        compression = little(info + 16, 4);
        coloursUsed = little(info + 32, 4);
    } else {
        return headers;
    }
    const int bits = headers.bitsPerPixel;
    if (width <= 0 || height == 0 || bits <= 0 || bits > 32) return headers;

    switch (compression) {
    case 0: // BI_RGB
    case 3: // BI_BITFIELDS
        headers.coding = BmpHeaders::Coding::Plain;
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

    // Qt reads the colour masks that follow a BITMAPINFOHEADER, then the palette, and only then
    // seeks to the header's offset, and only forward.
    const std::int64_t masks = infoBytes == 40 && compression == 3 ? 12 : 0;
    std::int64_t colours = coloursUsed;
    if (bits <= 8 && (colours == 0 || infoBytes == 12)) colours = std::int64_t{1} << bits;
    const std::int64_t paletteStart = FileHeaderBytes + infoBytes + masks;
    headers.dataStart = std::max(offset, paletteStart + colours * entryBytes);
    // Sizes past any picture's limits only need to be too large, without overflowing.
    constexpr std::int64_t Huge = std::int64_t{1} << 24;
    headers.plainBytes =
        width > Huge || rows > Huge ? INT64_MAX : (width * bits + 31) / 32 * 4 * rows;

    if (headers.coding != BmpHeaders::Coding::Plain) {
        std::vector<unsigned char> palette(static_cast<std::size_t>(
            std::min<std::int64_t>(colours, std::int64_t{1} << bits) * entryBytes));
        const auto read =
            readAt(fd, paletteStart, palette.data(), static_cast<std::int64_t>(palette.size()));
        for (std::int64_t at = 0; at + entryBytes <= read; at += entryBytes)
            headers.palette.append(qRgb(palette[at + 2], palette[at + 1], palette[at]));
    }
    headers.valid = true;
    return headers;
}

RleDecode decodeRleBmp(int fd, std::int64_t fileSize, const BmpHeaders& headers) {
    const bool four = headers.coding == BmpHeaders::Coding::Rle4;
    const int width = headers.size.width(), height = headers.size.height();
    RleDecode out;
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull()) {
        out.error = "not enough memory for the picture";
        return out;
    }
    QList<QRgb> colours = headers.palette;
    colours.resize(four ? 16 : 256, qRgb(0, 0, 0));
    image.setColorTable(colours);
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
