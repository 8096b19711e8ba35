#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <cstdint>
#include <string>

// What the headers of a Windows bitmap say about its pixels, read before any pixel memory is
// allocated. Qt's reader leaves the pixels it finds no data for as the memory held them, and
// reports success: a cut file would show heap garbage. So uncompressed bitmaps go to Qt only once
// their file is found long enough, and RLE bitmaps, whose length no header tells, are decoded
// here; Qt would also leave unwritten the pixels an RLE stream skips with its end-of-line, delta
// and end-of-bitmap codes.
struct BmpHeaders {
    enum class Coding { Plain, Rle8, Rle4 };

    bool valid = false;
    QSize size; // the height counted in rows, whichever way they are stored
    int bitsPerPixel = 0;
    Coding coding = Coding::Plain;
    std::int64_t dataStart = 0;  // where the pixels begin: at the header's offset, but never
                                 // inside the headers, masks or palette, as Qt reads them
    std::int64_t plainBytes = 0; // the length of uncompressed pixel data, rows of whole words
    QList<QRgb> palette;         // for RLE bitmaps, as the file gives it
};

// Reads the headers from the file's descriptor without moving its offset.
BmpHeaders readBmpHeaders(int fd, std::int64_t fileSize);

// Decodes an RLE8 or RLE4 bitmap into an indexed picture with the file's palette; pixels the
// stream skips take its first colour, as they would in a bitmap that starts out as zeros, and
// indexes past the palette show black. Data that runs out before the end-of-bitmap code, with
// rows still to come, is a cut file: the picture is null and error says so.
struct RleDecode {
    QImage image;
    std::string error;
};
RleDecode decodeRleBmp(int fd, std::int64_t fileSize, const BmpHeaders& headers);
