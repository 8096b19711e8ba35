#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <array>
#include <cstdint>
#include <string>

// Windows bitmaps, decoded here rather than by Qt's reader, which leaves the pixels it finds no
// data for as the memory held them and reports success: a cut file would show heap garbage. The
// headers are read first, before any pixel memory is allocated, and every pixel is then decided.
// They are shown as Windows shows them: a palette is read only for the depths that have one, so
// a 24-bit bitmap naming a count of colours still shows; a 16-bit bitmap is opaque whatever its
// masks say of alpha; a bitmap whose last row lacks only its padding is whole.
struct BmpHeaders {
    enum class Coding { Plain, Rle8, Rle4 };

    bool valid = false;
    QSize size; // the height counted in rows, whichever way they are stored
    int bitsPerPixel = 0;
    Coding coding = Coding::Plain;
    bool topDown = false;        // rows stored from the top; only uncompressed bitmaps may be
    std::int64_t dataStart = 0;  // where the pixels begin: at the header's offset, but never
                                 // inside the headers, masks or palette
    std::int64_t rowBytes = 0;   // an uncompressed row, padded to whole 32-bit words
    std::int64_t plainBytes = 0; // uncompressed pixel data, but for the last row's padding
    QList<QRgb> palette;         // for depths up to 8 bits, as the file gives it
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha of 16 and 32 bits a pixel
    bool alpha = false;                   // a 32-bit bitmap whose alpha mask is to be shown
};

// Reads the headers from the file's descriptor without moving its offset.
BmpHeaders readBmpHeaders(int fd, std::int64_t fileSize);

// Decodes the pixels the headers describe: an indexed picture with the file's palette for depths
// up to 8 bits, where indexes past the palette show black; RGB32 for 16 and 24 bits and for 32
// bits without alpha; ARGB32 otherwise. Pixels an RLE stream skips with its end-of-line, delta
// and end-of-bitmap codes take its first colour, as they would in a bitmap that starts out as
// zeros, and its runs past the right edge are dropped. Pixel data that ends before the last row
// (or, for RLE, before the end-of-bitmap code with rows still to come) is a cut file: the
// picture is null and error says so.
struct BmpDecode {
    QImage image;
    std::string error;
};
BmpDecode decodeBmp(int fd, std::int64_t fileSize, const BmpHeaders& headers);
