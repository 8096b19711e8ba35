#pragma once

#include <QImage>
#include <QSize>
#include <cstdio>
#include <string>

// What decoding one JPEG stream gave.
struct JpegDecode {
    enum class Status {
        Ok,
        NotJpeg,    // the stream is not a JPEG picture libjpeg can decode
        Damaged,    // the header was fine but the picture data is cut short or corrupt
        TooLarge,   // the header claims more than maxSide pixels on a side
        OutOfMemory // no pixel buffer of the header's size could be had
    };

    Status status = Status::NotJpeg;
    QImage image;       // Format_RGB888, or Format_RGB32 for CMYK pictures; null unless Ok
    QSize headerSize;   // the size the header claims, once the header was read
    std::string detail; // libjpeg's own words for a failure, as it wrote them
};

// Decodes the JPEG stream that file is positioned at. A damaged stream is an error rather than a
// picture shown partially: libjpeg would fill the missing rows with grey and only warn, and a
// scenery picture that is half grey looks like a fault of the launcher. A stream that ends before
// its end marker counts as cut short, even when only the marker is missing, since the decoder
// reads ahead and cannot tell the two apart. Harmless warnings, such as stray bytes between
// markers, are ignored.
JpegDecode decodeJpeg(std::FILE* file, int maxSide);
