#include "platform/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

namespace {

// Everything libjpeg's callbacks reach. It lives in decodeJpeg and is reached through
// client_data, so the longjmp out of libjpeg leaves no local of the decoding function
// half-written.
struct Session {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    bool headerRead = false;
    bool outOfMemory = false;
    char message[JMSG_LENGTH_MAX]{};
};

Session& sessionOf(j_common_ptr cinfo) {
    return *static_cast<Session*>(cinfo->client_data);
}

[[noreturn]] void abandon(j_common_ptr cinfo) {
    Session& session = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, session.message);
    session.outOfMemory = cinfo->err->msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(session.jump, 1);
}

// libjpeg's default would print the message and end the process.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
    abandon(cinfo);
}

// Warnings that mean the pixel data is cut short or corrupt; libjpeg would go on and fill the
// rest of the picture with grey.
bool isDamage(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
        return true;
    default:
        return false;
    }
}

void emitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && isDamage(cinfo->err->msg_code)) abandon(cinfo);
}

void outputMessage(j_common_ptr) {}

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

// Only objects without destructors live here; what outlives a longjmp is in session and out.
void decode(Session& session, std::FILE* file, int maxSide, JpegDecode& out) {
    if (setjmp(session.jump) != 0) {
        out.status = session.outOfMemory  ? JpegDecode::Status::OutOfMemory
                     : session.headerRead ? JpegDecode::Status::Damaged
                                          : JpegDecode::Status::NotJpeg;
        out.detail = session.message;
        out.image = QImage();
        return;
    }
    j_decompress_ptr cinfo = &session.cinfo;
    jpeg_create_decompress(cinfo);
    jpeg_stdio_src(cinfo, file);
    jpeg_read_header(cinfo, TRUE);
    session.headerRead = true;
    out.headerSize =
        QSize(static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height));
    const auto side = static_cast<JDIMENSION>(maxSide);
    if (cinfo->image_width > side || cinfo->image_height > side) {
        out.status = JpegDecode::Status::TooLarge;
        return;
    }

    // libjpeg turns grey and YCbCr into RGB itself, but has no conversion from CMYK.
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);
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

JpegDecode decodeJpeg(std::FILE* file, int maxSide) {
    JpegDecode out;
    Session session;
    session.cinfo.err = jpeg_std_error(&session.errors);
    session.errors.error_exit = errorExit;
    session.errors.emit_message = emitMessage;
    session.errors.output_message = outputMessage;
    session.cinfo.client_data = &session;
    decode(session, file, maxSide, out);
    jpeg_destroy_decompress(&session.cinfo);
    return out;
}
