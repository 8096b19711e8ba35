#include "CraftedPictures.h"

#include <QBuffer>
#include <QColor>
#include <QTemporaryDir>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <numbers>

namespace {

void put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// BITMAPFILEHEADER and BITMAPINFOHEADER for pixel data of dataSize bytes after a palette of
// colours entries.
std::string bmpHeaders(int width, int height, int bitsPerPixel, int compression, int colours,
                       std::uint32_t dataSize) {
    const std::uint32_t dataStart = 14 + 40 + 4 * static_cast<std::uint32_t>(colours);
    std::string out = "BM";
    put32(out, dataStart + dataSize);
    put32(out, 0);
    put32(out, dataStart);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<unsigned>(bitsPerPixel));
    put32(out, static_cast<std::uint32_t>(compression));
    put32(out, dataSize);
    put32(out, 2835); // 72 dots an inch
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(colours));
    put32(out, 0);
    return out;
}

struct JpegOptions {
    JpegKind kind = JpegKind::Rgb;
    const jpeg_scan_info* script = nullptr;
    int scans = 0;
};

std::string encode(const QImage& source, const JpegOptions& options) {
    const JpegKind kind = options.kind;
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
    if (kind == JpegKind::Progressive || kind == JpegKind::ArithmeticProgressive)
        jpeg_simple_progression(&cinfo);
    if (kind == JpegKind::Arithmetic || kind == JpegKind::ArithmeticProgressive ||
        kind == JpegKind::ArithmeticRestarts)
        cinfo.arith_code = TRUE;
    if (kind == JpegKind::ArithmeticRestarts) cinfo.restart_in_rows = 1;
    if (options.script != nullptr) {
        cinfo.scan_info = options.script;
        cinfo.num_scans = options.scans;
    }
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

unsigned byteAt(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// Where the segment that starts with the marker at `at` ends: after its length field's bytes,
// and for a scan header, after the entropy-coded data that follows it as well.
std::size_t segmentEnd(const std::string& jpeg, std::size_t at) {
    std::size_t end = at + 2 + (byteAt(jpeg, at + 2) << 8 | byteAt(jpeg, at + 3));
    if (byteAt(jpeg, at + 1) != 0xDA) return end;
    // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
    while (end + 1 < jpeg.size()) {
        const unsigned next = byteAt(jpeg, end + 1);
        if (byteAt(jpeg, end) == 0xFF && next != 0x00 && (next < 0xD0 || next > 0xD7)) break;
        ++end;
    }
    return end;
}

// One flat block of each component: the scan's data is a few bytes.
QImage flatPicture() {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(90, 120, 150));
    return picture;
}

} // namespace

QImage quarters(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int quarter = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
            picture.setPixel(x, y, QuarterColours[quarter]);
        }
    }
    return picture;
}

QImage landscape(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double hills = 60 * std::sin(x / 17.0) + 20 * std::sin(y / 5.0);
            const double sky = 50 * std::cos((x + y) / 23.0);
            picture.setPixel(x, y,
                             qRgb(static_cast<int>(100 + hills), 80 + y * 170 / height,
                                  static_cast<int>(140 + sky)));
        }
    }
    return picture;
}

std::string encodeJpeg(const QImage& picture, JpegKind kind) {
    return encode(picture, {kind, nullptr, 0});
}

bool setJpegFrameSize(std::string& jpeg, int width, int height) {
    // Markers start at offset 2; each segment before the frame header is skipped by its length.
    std::size_t at = 2;
    while (at + 9 < jpeg.size()) {
        const unsigned marker = byteAt(jpeg, at + 1);
        // SOF0 to SOF15, but for DHT (C4), JPG (C8) and DAC (CC), which share the range.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            jpeg[at + 5] = static_cast<char>(height >> 8), jpeg[at + 6] = static_cast<char>(height);
            jpeg[at + 7] = static_cast<char>(width >> 8), jpeg[at + 8] = static_cast<char>(width);
            return true;
        }
        at = segmentEnd(jpeg, at);
    }
    return false;
}

std::string encodeBmp(const QImage& source, int bitsPerPixel) {
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    const int width = picture.width(), height = picture.height();
    const int stride = (width * bitsPerPixel + 31) / 32 * 4;
    const int colours = bitsPerPixel == 8 ? 256 : 0;
    std::string out = bmpHeaders(width, height, bitsPerPixel, 0, colours,
                                 static_cast<std::uint32_t>(stride * height));
    for (int i = 0; i < colours; ++i) put32(out, static_cast<std::uint32_t>(i * 0x010101));
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const QRgb p = picture.pixel(x, y);
            if (bitsPerPixel == 8) {
                row.push_back(static_cast<char>(qGray(p)));
                continue;
            }
            row.push_back(static_cast<char>(qBlue(p)));
            row.push_back(static_cast<char>(qGreen(p)));
            row.push_back(static_cast<char>(qRed(p)));
            if (bitsPerPixel == 32) row.push_back('\0');
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        out += row;
    }
    return out;
}

std::string encodeBitfieldsBmp(const QImage& source, int bitsPerPixel,
                               const std::array<std::uint32_t, 4>& masks) {
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    const int width = picture.width(), height = picture.height();
    const int bytesPerPixel = bitsPerPixel / 8;
    const int stride = (width * bitsPerPixel + 31) / 32 * 4;
    constexpr std::uint32_t HeaderBytes = 124, DataStart = 14 + HeaderBytes;
    const auto dataSize = static_cast<std::uint32_t>(stride) * static_cast<std::uint32_t>(height);
    std::string out = "BM";
    put32(out, DataStart + dataSize);
    put32(out, 0);
    put32(out, DataStart);
    put32(out, HeaderBytes);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<unsigned>(bitsPerPixel));
    put32(out, 3); // BI_BITFIELDS
    put32(out, dataSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (const std::uint32_t mask : masks) put32(out, mask);
    put32(out, 0x73524742);    // sRGB
    out.append(36 + 12, '\0'); // end points and gammas, unused for sRGB
    put32(out, 4);             // LCS_GM_IMAGES
    out.append(12, '\0');      // no profile, and the reserved field
    // A channel keeps its top bits, as many as its mask has, at the mask's place.
    const auto into = [](int channel, std::uint32_t mask) -> std::uint32_t {
        if (mask == 0) return 0;
        const int bits = std::popcount(mask);
        return static_cast<std::uint32_t>(channel) >> (8 - std::min(bits, 8))
                                                          << std::countr_zero(mask);
    };
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            const std::uint32_t value = into(qRed(p), masks[0]) | into(qGreen(p), masks[1]) |
                                        into(qBlue(p), masks[2]) | into(qAlpha(p), masks[3]);
            char* at = row.data() + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
            for (int b = 0; b < bytesPerPixel; ++b) at[b] = static_cast<char>(value >> (8 * b));
        }
        out += row;
    }
    return out;
}

std::string encodeRleBmp(const RleBitmap& bitmap) {
    const int colours = static_cast<int>(bitmap.palette.size() / 4);
    std::string out = bmpHeaders(bitmap.width, bitmap.height, bitmap.bitsPerPixel,
                                 bitmap.bitsPerPixel == 8 ? 1 : 2, colours,
                                 static_cast<std::uint32_t>(bitmap.data.size()));
    out.append(reinterpret_cast<const char*>(bitmap.palette.data()), bitmap.palette.size());
    return out + bitmap.data;
}

RleBitmap rleStripes(int width, int height, int bitsPerPixel) {
    RleBitmap bitmap{width, height, bitsPerPixel, {}, {}};
    for (int i = 0; i < 16; ++i) {
        const QColor colour = QColor::fromHsv(i * 22, 200, 80 + i * 10);
        bitmap.palette.insert(bitmap.palette.end(), {static_cast<unsigned char>(colour.blue()),
                                                     static_cast<unsigned char>(colour.green()),
                                                     static_cast<unsigned char>(colour.red()), 0});
    }
    // Rows are stored bottom-up; the colour changes every 8 pixels and every 6 rows, from 1 on,
    // so that the first colour only ever shows where the data leaves a pixel out.
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; x += 8) {
            const int run = std::min(8, width - x);
            const int index = 1 + (x / 8 + row / 6) % 15;
            bitmap.data.push_back(static_cast<char>(run));
            bitmap.data.push_back(static_cast<char>(bitsPerPixel == 8 ? index : index * 0x11));
        }
        bitmap.data += std::string("\0\0", 2);
    }
    bitmap.data += std::string("\0\1", 2);
    return bitmap;
}

namespace crafted {

std::string hugeArithmeticJpeg() {
    std::string jpeg = encodeJpeg(flatPicture(), JpegKind::Arithmetic);
    setJpegFrameSize(jpeg, 16384, 16384);
    return jpeg;
}

std::string hugeArithmeticProgressiveJpeg() {
    std::string jpeg = encodeJpeg(flatPicture(), JpegKind::ArithmeticProgressive);
    setJpegFrameSize(jpeg, 16384, 16384);
    return jpeg;
}

std::string repeatedScanJpeg(int width, int height, int repeats) {
    // Flat quarters of whole blocks: every AC coefficient is zero, so the refinement scan is a
    // few bytes of end-of-band runs and decodes the same however often it comes.
    const std::string jpeg = encodeJpeg(quarters(width, height), JpegKind::Progressive);
    // The last scan of the simple progression refines the luminance's AC coefficients.
    std::size_t at = 2, lastScan = 0, lastScanEnd = 0;
    while (at + 4 < jpeg.size() && byteAt(jpeg, at + 1) != 0xD9) {
        const std::size_t end = segmentEnd(jpeg, at);
        if (byteAt(jpeg, at + 1) == 0xDA) lastScan = at, lastScanEnd = end;
        at = end;
    }
    const std::string scan = jpeg.substr(lastScan, lastScanEnd - lastScan);
    std::string out = jpeg.substr(0, lastScanEnd);
    for (int i = 1; i < repeats; ++i) out += scan;
    return out + jpeg.substr(lastScanEnd);
}

std::string manyScansJpeg(int width, int height, int scans) {
    constexpr int Bits = 10; // the most that libjpeg lets a first scan leave out
    std::vector<jpeg_scan_info> script;
    const auto scan = [&script](int ss, int se, int ah, int al) {
        jpeg_scan_info info{};
        info.comps_in_scan = 1;
        info.component_index[0] = 0;
        info.Ss = ss, info.Se = se, info.Ah = ah, info.Al = al;
        script.push_back(info);
    };
    for (int k = 0; k < 64; ++k) scan(k, k, 0, Bits);
    for (int bit = Bits; bit > 0; --bit) {
        for (int k = 0; k < 64; ++k) scan(k, k, bit, bit - 1);
    }
    script.resize(std::min(script.size(), static_cast<std::size_t>(scans)));
    return encode(landscape(width, height),
                  {JpegKind::Grey, script.data(), static_cast<int>(script.size())});
}

std::string cutArithmeticJpeg(JpegKind kind) {
    const std::string jpeg = encodeJpeg(landscape(256, 192), kind);
    return jpeg.substr(0, jpeg.size() / 10) + "\xFF\xD9";
}

std::string cutBmp(int bitsPerPixel) {
    const std::string bmp = encodeBmp(landscape(64, 48), bitsPerPixel);
    const std::size_t dataStart = 54;
    return bmp.substr(0, dataStart + (bmp.size() - dataStart) / 2);
}

std::string rleWithoutEnd(int bitsPerPixel) {
    RleBitmap bitmap = rleStripes(64, 48, bitsPerPixel);
    // Eight runs and an end-of-line code a row: two rows and a half.
    bitmap.data.resize(2 * (2 * 8 + 2) + 2 * 4);
    return encodeRleBmp(bitmap);
}

std::string rleRunsPastTheEdge(int bitsPerPixel, std::int64_t bytes) {
    RleBitmap bitmap = rleStripes(1, 1, bitsPerPixel);
    const std::int64_t dataBytes =
        bytes - static_cast<std::int64_t>(encodeRleBmp(bitmap).size() - bitmap.data.size());
    bitmap.data.clear();
    for (std::int64_t i = 0; i + 2 < dataBytes; i += 2) bitmap.data += "\xFF\x12";
    bitmap.data += std::string("\0\1", 2);
    return encodeRleBmp(bitmap);
}

std::string rleEndingAtOnce(int width, int height) {
    RleBitmap bitmap = rleStripes(1, 1, 8);
    bitmap.width = width, bitmap.height = height;
    bitmap.palette.resize(256 * 4);
    bitmap.data = std::string("\0\1", 2);
    return encodeRleBmp(bitmap);
}

std::string noiseJpeg(int width, int height, bool arithmetic) {
    const QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/noise.jpg";
    const std::string command = std::string("cjpeg -quality 100 -sample 1x1 ") +
                                (arithmetic ? "-arithmetic " : "") + "-outfile '" + path + "'";
    std::FILE* cjpeg = ::popen(command.c_str(), "w");
    if (cjpeg == nullptr) return {};
    std::fprintf(cjpeg, "P6\n%d %d\n255\n", width, height);
    std::uint64_t state = 0x9E3779B97F4A7C15u; // xorshift: the same noise every time
    std::vector<std::uint64_t> row((static_cast<std::size_t>(width) * 3 + 7) / 8);
    for (int y = 0; y < height; ++y) {
        for (std::uint64_t& bytes : row) {
            state ^= state << 13, state ^= state >> 7, state ^= state << 17;
            bytes = state;
        }
        std::fwrite(row.data(), 1, static_cast<std::size_t>(width) * 3, cjpeg);
    }
    if (::pclose(cjpeg) != 0) return {};
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string repeatedBlockArithmeticJpeg() {
    constexpr int Side = 16384;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = Side, cinfo.image_height = Side;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.arith_code = TRUE;
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    // The finest checkerboard a block holds, the same in every block.
    const auto wave = [](int at) {
        return std::cos((2 * (at % 8) + 1) * 7 * std::numbers::pi / 16);
    };
    std::vector<JSAMPLE> row(static_cast<std::size_t>(Side) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < Side; ++x) {
            const auto grey = static_cast<JSAMPLE>(std::lround(128 + 100 * wave(x) * wave(y)));
            std::fill_n(row.begin() + 3 * x, 3, grey);
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

} // namespace crafted

std::vector<NamedPicture> craftedPictures() {
    const QImage picture = landscape(48, 32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    return {
        {"rgb.png", png.toStdString()},
        {"rgb.jpg", encodeJpeg(picture, JpegKind::Rgb)},
        {"grey.jpg", encodeJpeg(picture, JpegKind::Grey)},
        {"cmyk.jpg", encodeJpeg(picture, JpegKind::Cmyk)},
        {"progressive.jpg", encodeJpeg(picture, JpegKind::Progressive)},
        {"arithmetic.jpg", encodeJpeg(picture, JpegKind::Arithmetic)},
        {"arithmetic_progressive.jpg", encodeJpeg(picture, JpegKind::ArithmeticProgressive)},
        {"huge_arithmetic.jpg", crafted::hugeArithmeticJpeg()},
        {"huge_arithmetic_progressive.jpg", crafted::hugeArithmeticProgressiveJpeg()},
        {"repeated_scan.jpg", crafted::repeatedScanJpeg(256, 192, 100)},
        {"many_scans.jpg", crafted::manyScansJpeg(32, 16, 704)},
        {"cut_arithmetic.jpg", crafted::cutArithmeticJpeg(JpegKind::Arithmetic)},
        {"cut_arithmetic_progressive.jpg",
         crafted::cutArithmeticJpeg(JpegKind::ArithmeticProgressive)},
        {"rgb8.bmp", encodeBmp(picture, 8)},
        {"rgb24.bmp", encodeBmp(picture, 24)},
        {"rgb32.bmp", encodeBmp(picture, 32)},
        {"rle8.bmp", encodeRleBmp(rleStripes(48, 32, 8))},
        {"rle4.bmp", encodeRleBmp(rleStripes(48, 32, 4))},
        {"rle4_past_edge.bmp", crafted::rleRunsPastTheEdge(4, 1024)},
        {"argb16.bmp", encodeBitfieldsBmp(picture, 16, {0x7C00, 0x03E0, 0x001F, 0x8000})},
        {"argb32.bmp", encodeBitfieldsBmp(picture, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000})},
        {"cut24.bmp", crafted::cutBmp(24)},
        {"cut32.bmp", crafted::cutBmp(32)},
        {"rle8_without_end.bmp", crafted::rleWithoutEnd(8)},
        {"rle4_without_end.bmp", crafted::rleWithoutEnd(4)},
    };
}
