// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed metafiles of the metafile fuzz target into the folder named
// on the command line, using libuemf's writer functions.
#include "ClipArtSamples.h"
#include "MetafileWriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

// A record the writer has no function for: size, function and parameters.
char *rawWmfRecord(uint16_t function, const QByteArray &parameters)
{
    const uint32_t words = uint32_t(3 + (parameters.size() + 1) / 2);
    char *record = static_cast<char *>(calloc(words * 2, 1));
    std::memcpy(record, &words, 4);
    std::memcpy(record + 4, &function, 2);
    std::memcpy(record + 6, parameters.constData(), size_t(parameters.size()));
    return record;
}

// The same for enhanced metafiles, padded to whole 32-bit words.
char *rawEmfRecord(uint32_t type, const QByteArray &parameters)
{
    const uint32_t size = uint32_t(8 + (parameters.size() + 3) / 4 * 4);
    char *record = static_cast<char *>(calloc(size, 1));
    std::memcpy(record, &type, 4);
    std::memcpy(record + 4, &size, 4);
    std::memcpy(record + 8, parameters.constData(), size_t(parameters.size()));
    return record;
}

QByteArray words(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values) {
        const int16_t w = int16_t(v);
        bytes.append(reinterpret_cast<const char *>(&w), 2);
    }
    return bytes;
}

QByteArray emfRegionsAndTransforms()
{
    EmfWriter w(120, 90);
    U_RECTL rects[] = {EmfWriter::rect(10, 10, 60, 40), EmfWriter::rect(30, 50, 110, 80)};
    PU_RGNDATA region = rgndata_set(rgndataheader_set(2, EmfWriter::rect(10, 10, 110, 80)), rects);
    uint32_t brush = w.solidBrush(Qt::blue);
    w.append(U_EMRFILLRGN_set(EmfWriter::rect(10, 10, 110, 80), brush, region));
    w.append(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, region));
    w.select(w.solidBrush(Qt::red));
    w.append(U_EMRELLIPSE_set(EmfWriter::rect(0, 0, 120, 90)));
    w.append(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, nullptr));
    w.append(U_EMRPAINTRGN_set(region));
    free(region);
    w.append(U_EMRSETWORLDTRANSFORM_set(xform_set(0.8f, 0.6f, -0.6f, 0.8f, 60, 10)));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 30, 20)));
    w.append(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 0, 0), U_MWT_IDENTITY));
    w.append(U_EMRSCALEWINDOWEXTEX_set(2, 1, 2, 1));
    w.append(U_EMRSETMAPMODE_set(U_MM_ISOTROPIC));
    w.append(U_EMRSETWINDOWEXTEX_set(sizel_set(240, 180)));
    w.append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(120, 90)));
    w.append(U_EMRSETWINDOWORGEX_set(point32_set(10, 10)));
    w.append(U_EMRSETVIEWPORTORGEX_set(point32_set(5, 5)));
    w.append(U_EMRANGLEARC_set(point32_set(120, 90), 40, 30, 270));
    w.append(U_EMRSETPIXELV_set(point32_set(3, 3), EmfWriter::colour(Qt::green)));
    return w.finish();
}

QByteArray emfPathsPensAndBlits()
{
    EmfWriter w(100, 100);
    U_STYLEENTRY dashes[] = {6, 3, 1, 3};
    PU_EXTLOGPEN elp = extlogpen_set(U_PS_GEOMETRIC | U_PS_USERSTYLE | U_PS_ENDCAP_FLAT, 3,
                                     U_BS_SOLID, EmfWriter::colour(Qt::black), 0, 4, dashes);
    uint32_t pen = 0;
    w.append(extcreatepen_set(&pen, w.handles(), nullptr, 0, nullptr, elp));
    free(elp);
    w.select(pen);
    w.append(U_EMRBEGINPATH_set());
    w.append(U_EMRMOVETOEX_set(point32_set(10, 10)));
    // Written by hand: the library's writers of this record overrun their buffer.
    QByteArray polyDraw;
    for (int v : {10, 10, 90, 90, 4})
        polyDraw.append(reinterpret_cast<const char *>(&v), 4);
    polyDraw.append(words({90, 10, 90, 90, 50, 50, 10, 90}));
    for (int t : {U_PT_LINETO, U_PT_BEZIERTO, U_PT_BEZIERTO, U_PT_BEZIERTO | U_PT_CLOSEFIGURE})
        polyDraw.append(char(t));
    w.append(rawEmfRecord(U_EMR_POLYDRAW16, polyDraw));
    w.append(
        U_EMRARCTO_set(EmfWriter::rect(20, 20, 80, 80), point32_set(80, 50), point32_set(20, 50)));
    w.append(U_EMRENDPATH_set());
    w.append(U_EMRWIDENPATH_set());
    w.append(U_EMRSELECTCLIPPATH_set(U_RGN_COPY));

    const WriterDib mask({Qt::white, Qt::black, Qt::black, Qt::white}, 2, 2);
    const WriterDib image({Qt::black, Qt::red, Qt::green, Qt::black}, 2, 2);
    w.append(U_EMRSTRETCHBLT_set(
        EmfWriter::rect(0, 0, 99, 99), point32_set(0, 0), point32_set(100, 100), point32_set(0, 0),
        point32_set(2, 2), xform_set(1, 0, 0, 1, 0, 0), EmfWriter::colour(Qt::white),
        U_DIB_RGB_COLORS, U_SRCAND, mask.info.get(), mask.cbPx, mask.bits.get()));
    w.append(U_EMRSTRETCHBLT_set(
        EmfWriter::rect(0, 0, 99, 99), point32_set(0, 0), point32_set(100, 100), point32_set(0, 0),
        point32_set(2, 2), xform_set(1, 0, 0, 1, 0, 0), EmfWriter::colour(Qt::white),
        U_DIB_RGB_COLORS, U_SRCPAINT, image.info.get(), image.cbPx, image.bits.get()));
    U_BLEND blend;
    blend.Operation = 0;
    blend.Flags = 0;
    blend.Global = 128;
    blend.Op = 0;
    w.append(U_EMRALPHABLEND_set(
        EmfWriter::rect(0, 0, 49, 49), point32_set(0, 0), point32_set(50, 50), point32_set(0, 0),
        point32_set(2, 2), xform_set(1, 0, 0, 1, 0, 0), EmfWriter::colour(Qt::white),
        U_DIB_RGB_COLORS, blend, image.info.get(), image.cbPx, image.bits.get()));
    w.append(U_EMRTRANSPARENTBLT_set(EmfWriter::rect(50, 50, 99, 99), point32_set(50, 50),
                                     point32_set(50, 50), point32_set(0, 0), point32_set(2, 2),
                                     xform_set(1, 0, 0, 1, 0, 0), EmfWriter::colour(Qt::white),
                                     U_DIB_RGB_COLORS, 0x000000, image.info.get(), image.cbPx,
                                     image.bits.get()));
    w.append(U_EMRSETDIBITSTODEVICE_set(EmfWriter::rect(0, 0, 1, 1), point32_set(0, 0),
                                        point32_set(0, 0), point32_set(2, 2), U_DIB_RGB_COLORS, 0,
                                        2, image.info.get(), image.cbPx, image.bits.get()));
    char small[] = "small";
    w.append(U_EMRSMALLTEXTOUT_set(point32_set(5, 95), 5, U_ETO_SMALL_CHARS | U_ETO_NO_RECT,
                                   U_GM_COMPATIBLE, 1, 1, U_RCL_DEF, small));
    return w.finish();
}

QByteArray wmfRegionsAndBlits()
{
    WmfWriter w;
    w.append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    w.append(U_WMRSETWINDOWEXT_set(point16_set(200, 100)));
    w.append(U_WMRSAVEDC_set());
    // A region of two scans: [10, 40) x [10, 30) and [20, 80) x [30, 60).
    // Objects take the lowest free slot: the region 0, the brush 1.
    w.append(rawWmfRecord(0x06FF, words({0,  6,  0,  0,  0, 2, 30, 10, 10, 80, 60, 2,
                                         10, 30, 10, 40, 2, 2, 30, 60, 20, 80, 2})));
    uint32_t reserved = 0;
    wmf_htable_insert(&reserved, w.handles());
    w.solidBrush(Qt::magenta);
    w.append(U_WMRFILLREGION_set(0, 1));
    w.append(U_WMRFRAMEREGION_set(0, 1, 2, 2));
    w.append(U_WMRSELECTCLIPREGION_set(0));
    w.select(w.solidBrush(Qt::cyan));
    w.append(U_WMRPATBLT_set(point16_set(0, 0), point16_set(200, 100), U_PATCOPY));
    w.append(U_WMRRESTOREDC_set(-1));
    const WriterDib image({Qt::red, Qt::green, Qt::blue, Qt::white}, 2, 2);
    w.append(U_WMRDIBBITBLT_set(point16_set(100, 0), point16_set(2, 2), point16_set(0, 0),
                                U_SRCCOPY, image.info.get(), image.cbPx, image.bits.get()));
    w.append(U_WMRDIBSTRETCHBLT_set(point16_set(100, 10), point16_set(40, 40), point16_set(0, 0),
                                    point16_set(2, 2), U_SRCCOPY, image.info.get(), image.cbPx,
                                    image.bits.get()));
    uint32_t pattern = 0;
    w.append(wcreatedibpatternbrush_srcdib_set(&pattern, w.handles(), U_DIB_RGB_COLORS,
                                               image.info.get(), image.cbPx, image.bits.get()));
    w.select(pattern);
    w.append(U_WMRPIE_set(point16_set(190, 50), point16_set(150, 10),
                          WmfWriter::rect(110, 10, 190, 90)));
    w.append(U_WMRCHORD_set(point16_set(150, 90), point16_set(110, 50),
                            WmfWriter::rect(110, 10, 190, 90)));
    w.append(
        U_WMRARC_set(point16_set(190, 50), point16_set(110, 50), WmfWriter::rect(105, 5, 195, 95)));
    w.append(U_WMRROUNDRECT_set(20, 20, WmfWriter::rect(10, 70, 90, 95)));
    w.append(U_WMRSCALEWINDOWEXT_set(point16_set(1, 1), point16_set(2, 2)));
    w.append(U_WMROFFSETWINDOWORG_set(point16_set(5, 5)));
    const uint16_t counts[] = {3, 3};
    const U_POINT16 polys[] = {point16_set(0, 0),     point16_set(50, 0),   point16_set(0, 50),
                               point16_set(100, 100), point16_set(50, 100), point16_set(100, 50)};
    w.append(U_WMRPOLYPOLYGON_set(2, counts, polys));
    w.append(U_WMRPOLYLINE_set(3, polys));
    w.append(U_WMRMOVETO_set(point16_set(0, 0)));
    w.append(U_WMRLINETO_set(point16_set(200, 100)));
    w.append(U_WMRSETPIXEL_set(EmfWriter::colour(Qt::black), point16_set(1, 1)));
    w.append(U_WMRINTERSECTCLIPRECT_set(WmfWriter::rect(0, 0, 100, 100)));
    w.append(U_WMREXCLUDECLIPRECT_set(WmfWriter::rect(10, 10, 20, 20)));
    char text[] = "\xD6\xD0\xCE\xC4 text";
    int16_t dx[] = {8, 8, 8, 8, 8, 8, 8, 8, 8};
    w.append(U_WMREXTTEXTOUT_set(point16_set(10, 90), 9, U_ETO_CLIPPED | U_ETO_OPAQUE, text, dx,
                                 WmfWriter::rect(0, 70, 100, 100)));
    return w.finish();
}

// As converters write them: a short header with its description where the
// later header fields would be, a 1200 dpi reference device, and a frame
// computed from logical units that a mapping mode scales down.
QByteArray emfConverted()
{
    EmfWriter w(100, 100);
    w.append(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.append(U_EMRSETWINDOWEXTEX_set(sizel_set(1440, 1440)));
    w.append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(96, 96)));
    w.select(w.solidBrush(Qt::red));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(400, 10240, 4000, 12840)));
    HeaderFields fields;
    fields.bounds = QRect(QPoint(400, 10240), QPoint(4000, 12840));
    fields.frame = QRect(QPoint(847, 21676), QPoint(8467, 27180));
    fields.device = QSize(12283, 10157);
    fields.millimetres = QSize(260, 215);
    fields.description = QStringLiteral("Converted from a drawing");
    return withHeader(w.finish(), fields);
}

bool write(const QDir &dir, const char *name, const QByteArray &bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", name);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
    bool ok = write(dir, "clipart.emf", ClipArtSamples::clipArtEmf());
    ok = write(dir, "clipart.wmf", ClipArtSamples::clipArtWmf()) && ok;
    ok = write(dir, "regions.emf", emfRegionsAndTransforms()) && ok;
    ok = write(dir, "paths.emf", emfPathsPensAndBlits()) && ok;
    ok = write(dir, "regions.wmf", wmfRegionsAndBlits()) && ok;
    ok = write(dir, "converted.emf", emfConverted()) && ok;
    return ok ? 0 : 1;
}
