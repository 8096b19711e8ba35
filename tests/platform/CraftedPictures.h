#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Picture files made here for the tests, the benchmark and the fuzz corpus: well-formed ones
// encoded from pictures drawn in code, and the damaged and hostile ones a downloaded
// installation may hold, each built by changing a well-formed file the way the damage would.

// Quarters: red top-left, green top-right, blue bottom-left, white bottom-right.
inline constexpr QRgb QuarterColours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                           qRgb(255, 255, 255)};
QImage quarters(int width, int height);

// A picture with detail everywhere (rings and stripes), so that a coder has something to say in
// every block and a cut shows.
QImage landscape(int width, int height);

enum class JpegKind {
    Rgb,
    Grey,
    Cmyk,
    Progressive,
    Arithmetic,
    ArithmeticProgressive,
    ArithmeticRestarts // a restart marker after every row of blocks
};
std::string encodeJpeg(const QImage& picture, JpegKind kind);

// Sets the width and height that a JPEG's frame header claims; false when it has none.
bool setJpegFrameSize(std::string& jpeg, int width, int height);

// A bitmap written byte by byte with a BITMAPINFOHEADER: 8 bits a pixel with a grey palette
// (the picture's grey levels), or 24 or 32 bits a pixel.
std::string encodeBmp(const QImage& picture, int bitsPerPixel);

// A bitmap with a BITMAPV5HEADER, BI_BITFIELDS and the masks of red, green, blue and alpha, of
// 16 or 32 bits a pixel: each channel scaled into its mask.
std::string encodeBitfieldsBmp(const QImage& picture, int bitsPerPixel,
                               const std::array<std::uint32_t, 4>& masks);

// The pixel data of an RLE8 or RLE4 bitmap, after its headers and palette; what the helpers
// below put together.
struct RleBitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;               // 8 or 4
    std::vector<unsigned char> palette; // blue, green, red, 0 for each colour
    std::string data;
};

// The file of such a bitmap, with headers that describe it.
std::string encodeRleBmp(const RleBitmap& bitmap);

// A picture drawn in 16 colours as RLE, each row in runs as long as the colour stays, ended with
// end-of-line codes and the end-of-bitmap code.
RleBitmap rleStripes(int width, int height, int bitsPerPixel);

// The damaged and hostile files.
namespace crafted {

// An arithmetic-coded JPEG of 211 bytes whose header claims 16384 x 16384 pixels.
std::string hugeArithmeticJpeg();
// The same with a progressive frame: the decoder would keep every coefficient of the claimed
// size.
std::string hugeArithmeticProgressiveJpeg();
// A progressive JPEG of flat quarters (sides in whole 16-pixel blocks) whose last refinement
// scan comes `repeats` times.
std::string repeatedScanJpeg(int width, int height, int repeats);
// A grey progressive JPEG with the first `scans` scans of a script that sends each coefficient
// one bit at a time, 704 scans in all, each consistent with the ones before.
std::string manyScansJpeg(int width, int height, int scans);
// An arithmetic-coded JPEG (sequential or progressive) cut to a tenth of its length, with the
// end marker put back.
std::string cutArithmeticJpeg(JpegKind kind);
// A bitmap of 24 or 32 bits a pixel with half of its pixel data missing.
std::string cutBmp(int bitsPerPixel);
// An RLE8 or RLE4 bitmap whose data stops in its third row, without the end-of-bitmap code.
std::string rleWithoutEnd(int bitsPerPixel);
// An RLE8 or RLE4 bitmap of 1 x 1 pixel, `bytes` long, whose data is runs of 255 pixels, each
// but the first wholly past the right edge.
std::string rleRunsPastTheEdge(int bitsPerPixel, std::int64_t bytes);
// An RLE8 bitmap of about a kilobyte that claims width x height pixels and ends its data at once.
std::string rleEndingAtOnce(int width, int height);
// A JPEG of noise, every block full of detail, made by cjpeg at quality 100 with colour at full
// resolution, Huffman- or arithmetic-coded: the longest file a picture of that size gives. Empty
// when cjpeg is not installed.
std::string noiseJpeg(int width, int height, bool arithmetic);
// An arithmetic-coded JPEG of 16384 x 16384 pixels whose blocks are all the same detailed one:
// a few megabytes that cost the decoder as much time as a photograph of many times their length.
std::string repeatedBlockArithmeticJpeg();

} // namespace crafted

// Every damaged and hostile file above, and the well-formed kinds beside them, under a file
// name of the right extension: the fuzz corpus and the benchmark's cases.
struct NamedPicture {
    std::string name;
    std::string bytes;
};
std::vector<NamedPicture> craftedPictures();
