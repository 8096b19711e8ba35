#pragma once

#include <QImage>
#include <QSize>
#include <chrono>
#include <cstdint>
#include <string>

// What a picture may cost, all checked from the file's size and headers before any pixel buffer
// is allocated. Sceneries and vehicles use pictures of a few hundred pixels; a file past these
// limits is damaged or hostile.

// The largest width or height a picture may have.
inline constexpr int MaxPictureSide = 16384;

// The memory a picture may take: its pixels as loaded, at four bytes each (eight for 16 bits a
// channel), and for a JPEG the coefficients libjpeg keeps as well. A picture of 4096 x 4096
// pixels is at the limit; a larger JPEG is decoded smaller when it is shown smaller.
inline constexpr std::int64_t MaxPictureBytes = std::int64_t{64} << 20;

// The longest file a picture may have: its pixel buffer at the memory limit, and room for
// headers. Decoding a Huffman-coded JPEG of that length, all of it detail, takes a quarter of a
// second; an arithmetic-coded one meets the time limit below.
inline constexpr std::int64_t PictureFileSlackBytes = std::int64_t{1} << 20;
inline constexpr std::int64_t MaxPictureFileBytes = MaxPictureBytes + PictureFileSlackBytes;

// The most scans a progressive JPEG may have. Encoders write about ten. A file may split its
// coefficients into hundreds of scans, each walking the whole picture again, and keep the
// window busy for seconds; at the memory limit, 64 scans take about a fifth of a second.
inline constexpr int MaxJpegScans = 64;

// The processor time decoding a JPEG may take. Within the limits above, a picture with detail in
// every block, coded arithmetically, would take seconds: such coding decodes ten times slower a
// byte than Huffman's, and a block that repeats costs it time but hardly any bytes. Photographs
// of the sizes installations hold decode in a few milliseconds, the largest Huffman-coded file in
// a quarter of a second; four tenths keep the window's wait under a second while other programs
// take their share of the processor.
inline constexpr std::chrono::milliseconds MaxJpegTime{400};

// The result of loading a picture file: the picture, or the reason it could not be loaded.
struct PictureLoad {
    // A missing file (or a folder in its place) is told apart from one that exists but cannot
    // be loaded: a window may go without a missing picture silently, but reports a broken one.
    enum class Outcome { Loaded, Missing, Failed };

    Outcome outcome = Outcome::Failed;
    QImage image;      // null unless loaded
    std::string error; // UTF-8, names the file, without a final full stop; empty when loaded

    bool ok() const { return outcome == Outcome::Loaded; }
};

// Loads a picture, choosing its format by the extension of the file name without regard to ASCII
// case, once the file is found to exist: "bmp" by its own decoder (see BmpDecoder.h), "ico" and
// "png" through Qt, "jpg" and "jpeg" through libjpeg. Any other extension fails with "Unknown
// picture file extension (.EXT)", the extension as written. The content is never used to guess
// another format, so a JPEG named ".bmp" fails. path is the file's bytes.
//
// shownAt is the size in device pixels that the picture is stretched to, or empty when it is
// shown at its own size. A stretched picture comes at that size, brought to it as it loads (see
// PictureScaling.h), so that no copy at the file's size outlives the load, however large the
// file; a JPEG is first decoded at the smallest of libjpeg's scales that still covers it.
// maxBytes lowers the memory limit for pictures shown many at a time, and the file's limit with
// it.
PictureLoad loadPictureFile(const std::string& path, QSize shownAt = QSize(),
                            std::int64_t maxBytes = MaxPictureBytes);
