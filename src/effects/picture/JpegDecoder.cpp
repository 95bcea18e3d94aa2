// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegDecoder.h"

#include "EPictureError.h"

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int code;
};

[[noreturn]] void errorExit(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    errors->code = errors->base.msg_code;
    std::longjmp(errors->jump, 1);
}

// Warnings about damaged data are not printed; the decoded part is shown.
void outputMessage(j_common_ptr)
{}

enum class Outcome
{
    Done,
    Failed,
    TooLarge,
    OverMemory
};

struct Request
{
    const QByteArray *data;
    const std::function<QSize(QSize)> *drawSize;
    const JpegDecoder::Limits *limits;
    QImage *image;
    QSize natural;
    bool reduced = false;
    int code = 0;
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE rgb32Space = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE rgb32Space = JCS_EXT_XRGB;
#endif

void cmykToRgb32(const JSAMPLE *in, quint32 *out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Holds only plain data between setjmp and longjmp, so jumping back skips no destructor;
// the image lives in the caller.
Outcome decodeInto(Request &request)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = outputMessage;
    errors.code = 0;
    if (setjmp(errors.jump)) {
        request.code = errors.code;
        jpeg_destroy_decompress(&info);
        // Without a backing store libjpeg refuses what exceeds its memory limit this way.
        if (errors.code == JERR_NO_BACKING_STORE || errors.code == JERR_OUT_OF_MEMORY)
            return Outcome::OverMemory;
        return Outcome::Failed;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = request.limits->maxLibraryMemory;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(request.data->constData()),
                 static_cast<unsigned long>(request.data->size()));
    jpeg_read_header(&info, TRUE);
    request.natural = QSize(int(info.image_width), int(info.image_height));

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : rgb32Space;
    const QSize wanted = (*request.drawSize)(request.natural);
    info.scale_denom = 8;
    for (unsigned num = 1; num <= 8; ++num) {
        info.scale_num = num;
        jpeg_calc_output_dimensions(&info);
        if (num == 8 || (JDIMENSION(qMax(wanted.width(), 1)) <= info.output_width &&
                         JDIMENSION(qMax(wanted.height(), 1)) <= info.output_height))
            break;
    }
    request.reduced = info.scale_num < 8;
    if (qint64(info.output_width) * info.output_height > request.limits->maxPixels) {
        jpeg_destroy_decompress(&info);
        return Outcome::TooLarge;
    }

    *request.image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (request.image->isNull()) {
        jpeg_destroy_decompress(&info);
        return Outcome::TooLarge;
    }
    jpeg_start_decompress(&info);
    JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                          JPOOL_IMAGE, info.output_width * 4, 1)
                              : nullptr;
    while (info.output_scanline < info.output_height) {
        auto *line = request.image->scanLine(int(info.output_scanline));
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            cmykToRgb32(cmykRow[0], reinterpret_cast<quint32 *>(line), info.output_width,
                        info.saw_Adobe_marker);
        } else {
            JSAMPROW row = line;
            jpeg_read_scanlines(&info, &row, 1);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return Outcome::Done;
}

} // namespace

JpegDecoder::Result JpegDecoder::decode(const QByteArray &data,
                                        const std::function<QSize(QSize)> &drawSize,
                                        const Limits &limits)
{
    Result result;
    Request request{&data, &drawSize, &limits, &result.image, {}, false, 0};
    switch (decodeInto(request)) {
    case Outcome::Failed:
        throw EPictureError(TarvikError::tr("JPEG error #%1").arg(request.code));
    case Outcome::TooLarge:
        throw EPictureError(TarvikError::tr("Picture is too large (%1 x %2 pixels)")
                                .arg(request.natural.width())
                                .arg(request.natural.height()));
    case Outcome::OverMemory:
        throw EPictureError(
            TarvikError::tr("Picture is too large to decode in %1 MB (%2 x %3 pixels)")
                .arg(limits.maxLibraryMemory / (1024 * 1024))
                .arg(request.natural.width())
                .arg(request.natural.height()));
    case Outcome::Done:
        break;
    }
    result.natural = request.natural;
    result.reduced = request.reduced;
    return result;
}
