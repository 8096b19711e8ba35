#pragma once

#include <QImage>
#include <QSize>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// What one JPEG stream may cost before it is refused.
struct JpegLimits {
    int maxSide = 0;           // pixels on a side of the picture the header claims
    std::int64_t maxBytes = 0; // the decoded pixels at four bytes each, and libjpeg's own buffers
    int maxScans = 0;          // scans, each of which may walk every block of the picture again
    std::chrono::milliseconds maxTime{0}; // processor time of this thread spent decoding
};

// What decoding one JPEG stream gave.
struct JpegDecode {
    enum class Status {
        Ok,
        NotJpeg,      // the stream is not a JPEG picture libjpeg can decode
        Damaged,      // the header was fine but the picture data is cut short or corrupt
        TooLarge,     // the picture claims more than the limits allow, on a side or in bytes
        TooManyScans, // the picture has more scans than the limit
        TooSlow,      // decoding took more processor time than the limit
        OutOfMemory   // no pixel buffer of the header's size could be had
    };

    Status status = Status::NotJpeg;
    QImage image;       // Format_RGB888, or Format_RGB32 for CMYK pictures; null unless Ok
    QSize headerSize;   // the size the header claims, once the header was read
    std::string detail; // libjpeg's own words for a failure, as it wrote them
};

// Decodes the JPEG stream that file is positioned at, at the smallest of libjpeg's scales (M/8)
// that still covers shownAt in both directions; an empty shownAt means the picture's own size.
// The cost is checked from the header before libjpeg allocates anything large: a progressive
// picture (or one with a scan per component) keeps all its coefficients, two bytes each, at its
// full size whatever the scale. The time is checked as it goes, between rows of blocks: nothing
// in the header bounds it, since every block of the picture is decoded whatever the scale, and
// arithmetic coding may spend a long time on a few bytes. Time, rather than a count of bytes or
// blocks, is what a player waits for; it is this thread's processor time, so that a machine busy
// with other work does not turn a picture away.
//
// A damaged stream is an error rather than a picture shown partially: libjpeg would fill the
// missing rows with grey and only warn, and a scenery picture that is half grey looks like a
// fault of the launcher. So every warning libjpeg gives once the picture data has begun counts
// as damage; before it, stray bytes between markers and doubts about metadata (a JFIF version,
// an ICC profile, an Adobe colour transform) are harmless. A stream that ends before its end
// marker counts as cut short, even when only the marker is missing, since the decoder reads
// ahead and cannot tell the two apart.
//
// Arithmetic coding needs more. When a scan's data ends, its decoder supplies zero bytes for as
// long as the scan needs them, because a standard coder leaves out the zero bytes its data ends
// with. So a stream cut anywhere and given an end marker decodes without a warning, the missing
// part invented from zeros. Nothing in the stream tells that apart from a whole picture for
// certain; two rules do in practice:
//  - A sequential scan may need only a few dozen zero bytes past its data, more for a large
//    picture. Whole pictures need up to about twenty (flat, graded and detailed ones up to
//    4096 x 4096 pixels were measured), a cut one hundreds and more.
//  - A progressive picture must bring every coefficient to its full precision, which a cut
//    one, missing the scans after the cut, does not. Its scans are not measured in zeros: the
//    bits of a DC refinement and the signs of coefficients are stored as they are, and a flat
//    or graded picture ends such a scan with a long run of zero bits quite legitimately. A cut
//    inside its last scan goes unnoticed, at the cost of the last bit of some coefficients.
JpegDecode decodeJpeg(std::FILE* file, QSize shownAt, const JpegLimits& limits);
