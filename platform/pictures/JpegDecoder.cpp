#include "platform/pictures/JpegDecoder.h"

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <jpeglib.h>

#include <jerror.h>

namespace {

// Why decoding stopped before libjpeg itself gave up.
enum class Stop { None, TooManyScans, TooSlow, CutShort };

std::chrono::nanoseconds threadTime() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// The stream as libjpeg reads it: from the file in blocks, each piece handed out ending before
// the next marker, so that the decoder asks for more exactly where a scan's data ends. There,
// inside a sequential arithmetic-coded scan with rows still to decode, it gets the zero bytes
// the coder may have left out (see the header), up to zerosAllowed; asking past them means the
// data was cut.
struct Source {
    static constexpr std::size_t BlockBytes = 16384;

    jpeg_source_mgr manager{};
    std::FILE* file = nullptr;
    JOCTET block[BlockBytes]{};
    std::size_t filled = 0; // bytes read into block
    std::size_t next = 0;   // the first byte of block not yet handed out
    std::int64_t zerosAllowed = 0;
    std::int64_t zerosLeft = 0;
    bool givingZeros = false;
};

// Everything libjpeg's callbacks reach. It lives in decodeJpeg and is reached through
// client_data, so the longjmp out of libjpeg leaves no local of the decoding function
// half-written.
struct Session {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    Source source;
    std::jmp_buf jump{};
    int maxScans = 0;
    std::chrono::milliseconds maxTime{0};
    std::chrono::nanoseconds deadline{0};
    bool headerRead = false;
    bool outOfMemory = false;
    Stop stop = Stop::None;
    char message[JMSG_LENGTH_MAX]{};
};

Session& sessionOf(j_common_ptr cinfo) {
    return *static_cast<Session*>(cinfo->client_data);
}

Session& sessionOf(j_decompress_ptr cinfo) {
    return sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
}

[[noreturn]] void abandon(j_common_ptr cinfo) {
    Session& session = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, session.message);
    session.outOfMemory =
        cinfo->err->msg_code == JERR_OUT_OF_MEMORY || cinfo->err->msg_code == JERR_NO_BACKING_STORE;
    std::longjmp(session.jump, 1);
}

// libjpeg's default would print the message and end the process.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
    abandon(cinfo);
}

// Warnings that say nothing about the pixels.
bool isAboutMetadata(int code) {
    return code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC || code == JWRN_ADOBE_XFORM;
}

void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0 || isAboutMetadata(cinfo->err->msg_code)) return;
    if (!sessionOf(cinfo).headerRead && cinfo->err->msg_code == JWRN_EXTRANEOUS_DATA) return;
    abandon(cinfo);
}

void outputMessage(j_common_ptr) {}

// Nothing with a destructor may be alive in the callback that calls this.
[[noreturn]] void stopDecoding(Session& session, Stop stop) {
    session.stop = stop;
    std::longjmp(session.jump, 1);
}

// Whether libjpeg is reading the entropy-coded data of a sequential arithmetic-coded scan that
// still has rows of blocks to decode. Before the first scan the count of rows is 0.
bool insideSequentialArithmeticScan(j_decompress_ptr cinfo) {
    return cinfo->arith_code && !cinfo->progressive_mode &&
           cinfo->input_iMCU_row < cinfo->total_iMCU_rows;
}

// Reads more of the file so that at least two bytes wait, or all that is left.
void readMore(Source& source) {
    if (source.filled - source.next >= 2) return;
    const std::size_t kept = source.filled - source.next;
    for (std::size_t i = 0; i < kept; ++i) source.block[i] = source.block[source.next + i];
    source.next = 0;
    source.filled =
        kept + std::fread(source.block + kept, 1, Source::BlockBytes - kept, source.file);
}

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    Session& session = sessionOf(cinfo);
    Source& source = session.source;
    jpeg_source_mgr& manager = source.manager;
    static const JOCTET Zeros[256]{};
    if (source.givingZeros) {
        if (source.zerosLeft == 0) {
            std::snprintf(session.message, sizeof session.message,
                          "the arithmetic-coded data of scan %d runs out in block row %u of %u",
                          cinfo->input_scan_number, cinfo->input_iMCU_row + 1,
                          cinfo->total_iMCU_rows);
            stopDecoding(session, Stop::CutShort);
        }
        const std::int64_t n = std::min<std::int64_t>(source.zerosLeft, sizeof Zeros);
        source.zerosLeft -= n;
        manager.next_input_byte = Zeros;
        manager.bytes_in_buffer = static_cast<std::size_t>(n);
        return TRUE;
    }

    readMore(source);
    if (source.next == source.filled) {
        // As libjpeg's own sources do: the warning (damage, here), then an end marker.
        static const JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};
        WARNMS(cinfo, JWRN_JPEG_EOF);
        manager.next_input_byte = EndOfImage;
        manager.bytes_in_buffer = 2;
        return TRUE;
    }
    const JOCTET* data = source.block;
    std::size_t end = source.next;
    const bool atMarker = data[end] == 0xFF && end + 1 < source.filled && data[end + 1] != 0x00;
    if (atMarker) {
        std::size_t code = end + 1;
        while (code < source.filled && data[code] == 0xFF) ++code;
        const bool restart =
            code < source.filled && data[code] >= JPEG_RST0 && data[code] <= JPEG_RST0 + 7;
        if (!restart && insideSequentialArithmeticScan(cinfo)) {
            source.givingZeros = true;
            source.zerosLeft = source.zerosAllowed;
            return fillInputBuffer(cinfo);
        }
        end = code;
    }
    // Up to the next marker, or to the end of the block; a 0xFF at the block's end waits for
    // the byte that tells what it is.
    while (end < source.filled) {
        const void* mark = std::memchr(data + end, 0xFF, source.filled - end);
        if (mark == nullptr) {
            end = source.filled;
            break;
        }
        end = static_cast<std::size_t>(static_cast<const JOCTET*>(mark) - data);
        if (end + 1 == source.filled || data[end + 1] != 0x00) break;
        end += 2;
    }
    if (end == source.next) end = source.filled;
    manager.next_input_byte = data + source.next;
    manager.bytes_in_buffer = end - source.next;
    source.next = end;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    jpeg_source_mgr& manager = sessionOf(cinfo).source.manager;
    while (count > 0) {
        if (manager.bytes_in_buffer == 0) fillInputBuffer(cinfo);
        const auto n = std::min(static_cast<std::size_t>(count), manager.bytes_in_buffer);
        manager.next_input_byte += n;
        manager.bytes_in_buffer -= n;
        count -= static_cast<long>(n);
    }
}

void termSource(j_decompress_ptr) {}

// libjpeg calls this between rows of blocks, while it reads the scans and while it gives rows.
void monitorProgress(j_common_ptr common) {
    Session& session = sessionOf(common);
    const auto cinfo = reinterpret_cast<j_decompress_ptr>(common);
    if (cinfo->input_scan_number > session.maxScans) {
        std::snprintf(session.message, sizeof session.message, "more than %d scans",
                      session.maxScans);
        stopDecoding(session, Stop::TooManyScans);
    }
    if (threadTime() > session.deadline) {
        std::snprintf(session.message, sizeof session.message, "more than %lld ms",
                      static_cast<long long>(session.maxTime.count()));
        stopDecoding(session, Stop::TooSlow);
    }
    // A scan that needed fewer of the zeros than it was given is done with them: the markers
    // after it are read from the file again.
    Source& source = session.source;
    if (source.givingZeros && !insideSequentialArithmeticScan(cinfo)) {
        source.givingZeros = false;
        source.manager.bytes_in_buffer = 0;
    }
}

unsigned char mix(unsigned ink, unsigned black) {
    return (ink * black + 127) / 255;
}

// libjpeg gives CMYK as it is stored. Pictures with an Adobe marker (all that common tools write)
// store the inks inverted, 255 meaning no ink.
void cmykToRgb(const JSAMPLE* in, QRgb* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        out[x] = qRgb(mix(c, k), mix(m, k), mix(y, k));
    }
}

// The smallest scale M/8 at which the picture still covers shownAt; 8/8 for its own size.
int scaleEighths(const jpeg_decompress_struct& cinfo, QSize shownAt) {
    if (shownAt.isEmpty()) return 8;
    for (int eighths = 1; eighths < 8; ++eighths) {
        const auto scaled = [eighths](JDIMENSION side) {
            return (static_cast<std::int64_t>(side) * eighths + 7) / 8;
        };
        if (scaled(cinfo.image_width) >= shownAt.width() &&
            scaled(cinfo.image_height) >= shownAt.height())
            return eighths;
    }
    return 8;
}

// Bytes of coefficients libjpeg keeps for a picture it cannot decode row by row in one pass, as
// its coefficient controller asks for them: each component's blocks, rounded up to whole MCUs.
std::int64_t coefficientBytes(const jpeg_decompress_struct& cinfo) {
    if (!cinfo.progressive_mode && cinfo.comps_in_scan >= cinfo.num_components) return 0;
    std::int64_t bytes = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& component = cinfo.comp_info[c];
        const auto roundUp = [](std::int64_t n, std::int64_t unit) {
            return (n + unit - 1) / unit * unit;
        };
        bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                 roundUp(component.height_in_blocks, component.v_samp_factor) *
                 static_cast<std::int64_t>(sizeof(JBLOCK));
    }
    return bytes;
}

// A cut progressive picture lacks the scans after the cut: some coefficient never reaches its
// full precision (libjpeg keeps the bits still missing, -1 for a coefficient never sent).
void checkProgressionComplete(Session& session) {
    const jpeg_decompress_struct& cinfo = session.cinfo;
    for (int c = 0; c < cinfo.num_components; ++c) {
        for (int k = 0; k < DCTSIZE2; ++k) {
            if (cinfo.coef_bits[c][k] == 0) continue;
            std::snprintf(session.message, sizeof session.message,
                          "the scans end before coefficient %d of component %d is complete", k, c);
            stopDecoding(session, Stop::CutShort);
        }
    }
}

// The zero bytes a whole sequential arithmetic-coded scan may need past its data (see the
// header): 32, and one more for every 65536 blocks, as a flat stretch codes into zero bits. The
// most a whole picture was measured to need is 19, for 4096 x 4096 pixels with a flat half.
std::int64_t zerosAllowed(const jpeg_decompress_struct& cinfo) {
    std::int64_t blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        blocks += static_cast<std::int64_t>(cinfo.comp_info[c].width_in_blocks) *
                  cinfo.comp_info[c].height_in_blocks;
    }
    return 32 + blocks / 65536;
}

// Only objects without destructors live here; what outlives a longjmp is in session and out.
void decode(Session& session, std::FILE* file, QSize shownAt, const JpegLimits& limits,
            JpegDecode& out) {
    if (setjmp(session.jump) != 0) {
        out.status = session.stop == Stop::TooManyScans ? JpegDecode::Status::TooManyScans
                     : session.stop == Stop::TooSlow    ? JpegDecode::Status::TooSlow
                     : session.outOfMemory              ? JpegDecode::Status::OutOfMemory
                     : session.headerRead               ? JpegDecode::Status::Damaged
                                                        : JpegDecode::Status::NotJpeg;
        out.detail = session.message;
        out.image = QImage();
        return;
    }
    j_decompress_ptr cinfo = &session.cinfo;
    jpeg_create_decompress(cinfo);
    // What libjpeg may allocate for its own buffers; past it, it would need a backing store,
    // which this build of libjpeg refuses with an error.
    cinfo->mem->max_memory_to_use = static_cast<long>(limits.maxBytes);
    Source& source = session.source;
    source.file = file;
    source.manager.init_source = initSource;
    source.manager.fill_input_buffer = fillInputBuffer;
    source.manager.skip_input_data = skipInputData;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = termSource;
    cinfo->src = &source.manager;
    jpeg_read_header(cinfo, TRUE);
    session.headerRead = true;
    out.headerSize =
        QSize(static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height));
    const auto side = static_cast<JDIMENSION>(limits.maxSide);
    if (cinfo->image_width > side || cinfo->image_height > side) {
        out.status = JpegDecode::Status::TooLarge;
        return;
    }

    // libjpeg turns grey and YCbCr into RGB itself, but has no conversion from CMYK.
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    cinfo->scale_num = static_cast<unsigned>(scaleEighths(*cinfo, shownAt));
    cinfo->scale_denom = 8;
    jpeg_calc_output_dimensions(cinfo);
    const std::int64_t pixelBytes = 4 * static_cast<std::int64_t>(cinfo->output_width) *
                                    static_cast<std::int64_t>(cinfo->output_height);
    if (pixelBytes + coefficientBytes(*cinfo) > limits.maxBytes) {
        out.status = JpegDecode::Status::TooLarge;
        return;
    }
    source.zerosAllowed = zerosAllowed(*cinfo);
    session.maxScans = limits.maxScans;
    session.maxTime = limits.maxTime;
    session.progress.progress_monitor = monitorProgress;
    cinfo->progress = &session.progress;

    jpeg_start_decompress(cinfo);
    // A picture of several scans has read them all by now.
    if (cinfo->progressive_mode && cinfo->arith_code) checkProgressionComplete(session);
    out.image =
        QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
               cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
    if (out.image.isNull()) {
        out.status = JpegDecode::Status::OutOfMemory;
        return;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                              cinfo->output_width * 4, 1);
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        JSAMPROW row = cmyk ? cmykRow[0] : out.image.scanLine(y);
        jpeg_read_scanlines(cinfo, &row, 1);
        if (cmyk) {
            cmykToRgb(row, reinterpret_cast<QRgb*>(out.image.scanLine(y)), cinfo->output_width,
                      cinfo->saw_Adobe_marker);
        }
    }
    // Every row is decoded, so the picture is whole; anything after the last scan is not read.
    out.status = JpegDecode::Status::Ok;
}

} // namespace

JpegDecode decodeJpeg(std::FILE* file, QSize shownAt, const JpegLimits& limits) {
    JpegDecode out;
    Session session;
    session.deadline = threadTime() + limits.maxTime;
    session.cinfo.err = jpeg_std_error(&session.errors);
    session.errors.error_exit = errorExit;
    session.errors.emit_message = emitMessage;
    session.errors.output_message = outputMessage;
    session.cinfo.client_data = &session;
    decode(session, file, shownAt, limits, out);
    jpeg_destroy_decompress(&session.cinfo);
    return out;
}
