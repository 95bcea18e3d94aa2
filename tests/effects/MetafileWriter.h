// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

// Builds metafiles at test time with libuemf's own writer functions. The
// library writes to a file, which is read back as the metafile's bytes.

// A pixel array of the given colours, row by row from the top, as the
// library's bitmap writers take it.
inline QByteArray rgbaPixels(const std::vector<QColor> &colours)
{
    QByteArray pixels;
    for (const QColor &c : colours) {
        pixels.append(char(c.red()));
        pixels.append(char(c.green()));
        pixels.append(char(c.blue()));
        pixels.append(char(255));
    }
    return pixels;
}

// A 32-bit device-independent bitmap made by the library from top-down pixels.
struct WriterDib
{
    WriterDib(const std::vector<QColor> &colours, int width, int height)
    {
        const QByteArray rgba = rgbaPixels(colours);
        char *px = nullptr;
        PU_RGBQUAD ct = nullptr;
        int numCt = 0;
        RGBA_to_DIB(&px, &cbPx, &ct, &numCt, rgba.constData(), width, height, width * 4,
                    U_BCBM_COLOR32, U_CT_NO, U_ROW_ORDER_INVERT);
        bits.reset(px);
        const U_BITMAPINFOHEADER header =
            bitmapinfoheader_set(width, height, 1, U_BCBM_COLOR32, U_BI_RGB,
                                 std::uint32_t(width * height * 4), 2835, 2835, 0, 0);
        info.reset(bitmapinfo_set(header, nullptr));
        free(ct);
    }
    struct Free
    {
        void operator()(void *p) const { free(p); }
    };
    std::unique_ptr<char, Free> bits;
    std::unique_ptr<U_BITMAPINFO, Free> info;
    uint32_t cbPx = 0;
};

class EmfWriter
{
public:
    // A picture of width x height pixels at 96 dots per inch, drawn in
    // pixels on a 96 dpi reference device.
    EmfWriter(int width, int height)
        : m_path(m_dir.filePath(QStringLiteral("test.emf")))
    {
        emf_start(m_path.toLocal8Bit().constData(), 4096, 4096, &m_et);
        emf_htable_create(128, 128, &m_eht);
        const U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(width - 1, height - 1));
        const U_RECTL frame =
            rectl_set(point32_set(0, 0), point32_set(width * 2540 / 96, height * 2540 / 96));
        append(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, sizel_set(960, 960),
                               sizel_set(254, 254), 0));
    }
    ~EmfWriter()
    {
        emf_free(&m_et);
        emf_htable_free(&m_eht);
    }
    Q_DISABLE_COPY_MOVE(EmfWriter)

    void append(char *record)
    {
        emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), m_et, U_REC_FREE);
    }
    EMFHANDLES *handles() { return m_eht; }

    uint32_t solidBrush(const QColor &c)
    {
        uint32_t ih = 0;
        append(createbrushindirect_set(&ih, m_eht, logbrush_set(U_BS_SOLID, colour(c), 0)));
        return ih;
    }
    uint32_t pen(const QColor &c, int width, uint32_t style = U_PS_SOLID)
    {
        uint32_t ih = 0;
        U_POINT w;
        w.x = width;
        w.y = 0;
        append(createpen_set(&ih, m_eht, logpen_set(style, w, colour(c))));
        return ih;
    }
    void select(uint32_t ih) { append(selectobject_set(ih, m_eht)); }
    void selectStock(uint32_t stock) { append(U_EMRSELECTOBJECT_set(stock)); }

    static U_COLORREF colour(const QColor &c)
    {
        return colorref3_set(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
    }
    static U_RECTL rect(int l, int t, int r, int b)
    {
        return rectl_set(point32_set(l, t), point32_set(r, b));
    }

    QByteArray finish()
    {
        append(U_EMREOF_set(0, nullptr, m_et));
        emf_finish(m_et, m_eht);
        QFile file(m_path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    EMFTRACK *m_et = nullptr;
    EMFHANDLES *m_eht = nullptr;
};

// The fields of an enhanced metafile's header that say how large it is.
struct HeaderFields
{
    QRect bounds; // device units, edges inclusive
    QRect frame;  // 0.01 mm, edges inclusive
    QSize device; // reference device pixels
    QSize millimetres;
    QString description;
    // With the pixel format and micrometre fields; without them, the
    // description follows the reference size at offset 88.
    bool extensions = false;
    QSize micrometres;
};

// The records of emf (made by EmfWriter) after a header made from fields,
// as other programs write it.
inline QByteArray withHeader(const QByteArray &emf, const HeaderFields &fields)
{
    const auto u32At = [&](qsizetype at) {
        return *reinterpret_cast<const uint32_t *>(emf.constData() + at);
    };
    const QByteArray records = emf.mid(u32At(4));
    QByteArray h;
    const auto put = [&h](qint64 v) {
        const auto u = uint32_t(v);
        h.append(reinterpret_cast<const char *>(&u), 4);
    };
    const auto putRect = [&](const QRect &r) {
        put(r.left());
        put(r.top());
        put(r.right());
        put(r.bottom());
    };
    const qsizetype fixed = fields.extensions ? 108 : 88;
    const qsizetype size = fixed + fields.description.size() * 2;
    put(U_EMR_HEADER);
    put(size + (size % 4));
    putRect(fields.bounds);
    putRect(fields.frame);
    put(U_ENHMETA_SIGNATURE);
    put(0x10000);
    put(size + (size % 4) + records.size());
    put(u32At(52));           // records
    h.append(emf.mid(56, 4)); // handles
    put(fields.description.size());
    put(fields.description.isEmpty() ? 0 : fixed);
    put(0); // palette entries
    put(fields.device.width());
    put(fields.device.height());
    put(fields.millimetres.width());
    put(fields.millimetres.height());
    if (fields.extensions) {
        put(0);
        put(0);
        put(0);
        put(fields.micrometres.width());
        put(fields.micrometres.height());
    }
    h.append(reinterpret_cast<const char *>(fields.description.utf16()),
             fields.description.size() * 2);
    h.append(QByteArray(size % 4, '\0'));
    return h + records;
}

inline void setFrame(QByteArray &emf, const QRect &frame)
{
    const int32_t edges[] = {frame.left(), frame.top(), frame.right(), frame.bottom()};
    emf.replace(qsizetype(offsetof(U_EMRHEADER, rclFrame)), 16,
                reinterpret_cast<const char *>(edges), 16);
}

class WmfWriter
{
public:
    // A placeable metafile of width x height logical units at unitsPerInch.
    WmfWriter(double widthInches, double heightInches, unsigned unitsPerInch)
        : m_path(m_dir.filePath(QStringLiteral("test.wmf")))
    {
        wmf_start(m_path.toLocal8Bit().constData(), 4096, 4096, &m_wt);
        wmf_htable_create(128, 128, &m_wht);
        U_PAIRF *size = U_PAIRF_set(float(widthInches), float(heightInches));
        wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(size, unitsPerInch)),
                          m_wt, U_REC_FREE);
        free(size);
    }
    // A metafile without the placeable header.
    WmfWriter()
        : m_path(m_dir.filePath(QStringLiteral("test.wmf")))
    {
        wmf_start(m_path.toLocal8Bit().constData(), 4096, 4096, &m_wt);
        wmf_htable_create(128, 128, &m_wht);
        wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(nullptr, 0)), m_wt,
                          U_REC_FREE);
    }
    ~WmfWriter()
    {
        wmf_free(&m_wt);
        wmf_htable_free(&m_wht);
    }
    Q_DISABLE_COPY_MOVE(WmfWriter)

    void append(char *record)
    {
        wmf_append(reinterpret_cast<U_METARECORD *>(record), m_wt, U_REC_FREE);
    }
    WMFHANDLES *handles() { return m_wht; }

    uint32_t solidBrush(const QColor &c)
    {
        uint32_t ih = 0;
        append(wcreatebrushindirect_set(&ih, m_wht,
                                        U_WLOGBRUSH_set(U_BS_SOLID, EmfWriter::colour(c), 0)));
        return ih;
    }
    uint32_t pen(const QColor &c, int width, uint16_t style = U_PS_SOLID)
    {
        uint32_t ih = 0;
        append(wcreatepenindirect_set(&ih, m_wht,
                                      U_PEN_set(style, uint16_t(width), EmfWriter::colour(c))));
        return ih;
    }
    void select(uint32_t ih) { append(wselectobject_set(ih, m_wht)); }

    static U_RECT16 rect(int l, int t, int r, int b)
    {
        return U_RECT16_set(point16_set(int16_t(l), int16_t(t)),
                            point16_set(int16_t(r), int16_t(b)));
    }

    QByteArray finish()
    {
        append(U_WMREOF_set());
        wmf_finish(m_wt);
        QFile file(m_path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    WMFTRACK *m_wt = nullptr;
    WMFHANDLES *m_wht = nullptr;
};
