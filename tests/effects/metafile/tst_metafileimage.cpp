// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClipArtSamples.h"
#include "EInvalidGraphic.h"
#include "MetafileDecoder.h"
#include "MetafileImage.h"
#include "MetafileWriter.h"

#include <QtTest>

namespace {

// Close enough for anti-aliased interiors and smoothly scaled bitmaps.
bool near(QRgb actual, const QColor &expected, int tolerance = 8)
{
    return qAlpha(actual) == 255 && std::abs(qRed(actual) - expected.red()) <= tolerance &&
           std::abs(qGreen(actual) - expected.green()) <= tolerance &&
           std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

bool transparentAt(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 0;
}

int pixelsOfColour(const QImage &image, const QRect &area, const QColor &colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (near(image.pixel(x, y), colour, 40))
                ++count;
    return count;
}

QString failureOf(const QByteArray &bytes)
{
    try {
        MetafileImage::loadFromData(bytes);
    } catch (const TarvikError &e) {
        return e.message();
    }
    return QString();
}

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_MetafileImage : public QObject
{
    Q_OBJECT

private slots:
    void emfShapesAtFrameSize();
    void emfMappingModes_data();
    void emfMappingModes();
    void emfPolyPolygonFillModes();
    void emfArcsChordsAndPies();
    void emfPathsAndClipping();
    void emfPatternBrushes();
    void emfBitmapRecords();
    void emfTextInUtf16AndCodePages();
    void emfRotatedText();
    void emfSkipsMalformedRecords();
    void paintingStopsAtTheBudget();
    void clipArtPictures();
    void wmfPlaceableShapesTextAndBitmap();
    void wmfWithoutPlaceableHeader();
    void invalidAndTruncatedFiles();
    void frameSizeAt96Dpi();
    void emfReferenceDevice_data();
    void emfReferenceDevice();
    void largeFramesDrawnWithinThePixelLimits();
    void drawingOutsideItsFrame();
    void loadFromFile();
};

void tst_MetafileImage::emfShapesAtFrameSize()
{
    EmfWriter w(200, 100);
    w.select(w.solidBrush(Qt::blue));
    w.select(w.pen(Qt::red, 4));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(10, 10, 90, 90)));
    w.select(w.solidBrush(Qt::green));
    w.selectStock(U_NULL_PEN);
    w.append(U_EMRELLIPSE_set(EmfWriter::rect(110, 10, 190, 90)));
    w.select(w.pen(Qt::black, 1));
    w.append(U_EMRMOVETOEX_set(point32_set(0, 95)));
    w.append(U_EMRLINETO_set(point32_set(199, 95)));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    QCOMPARE(image.size(), QSize(200, 100));
    QVERIFY(near(image.pixel(50, 50), Qt::blue));
    QVERIFY(near(image.pixel(10, 50), Qt::red, 40));
    QVERIFY(near(image.pixel(150, 50), Qt::green));
    // The ellipse leaves its bounding box's corners untouched.
    QVERIFY(transparentAt(image, 113, 13));
    QVERIFY(transparentAt(image, 100, 50));
    QVERIFY(qAlpha(image.pixel(100, 95)) > 100);
    QVERIFY(transparentAt(image, 100, 98));
}

void tst_MetafileImage::emfMappingModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("logical"); // the rectangle in the mode's units
    QTest::newRow("anisotropic") << int(U_MM_ANISOTROPIC) << QRect(0, 0, 500, 1000);
    // 0.1 mm with y upwards: 100 px = 264.58 units; origin at the top left.
    QTest::newRow("lometric") << int(U_MM_LOMETRIC) << QRect(0, 0, 132, -264);
    // 1/1440 inch: 100 px = 1500 twips.
    QTest::newRow("twips") << int(U_MM_TWIPS) << QRect(0, 0, 750, -1500);
}

void tst_MetafileImage::emfMappingModes()
{
    QFETCH(int, mode);
    QFETCH(QRect, logical);
    EmfWriter w(100, 100);
    w.append(U_EMRSETMAPMODE_set(uint32_t(mode)));
    if (mode == U_MM_ANISOTROPIC) {
        w.append(U_EMRSETWINDOWEXTEX_set(sizel_set(1000, 1000)));
        w.append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(100, 100)));
    }
    w.select(w.solidBrush(Qt::magenta));
    w.selectStock(U_NULL_PEN);
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(logical.left(), logical.top(),
                                                logical.left() + logical.width(),
                                                logical.top() + logical.height())));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    // The left half is painted, the right half is not.
    QVERIFY(near(image.pixel(25, 50), Qt::magenta));
    QVERIFY(near(image.pixel(45, 95), Qt::magenta));
    QVERIFY(transparentAt(image, 75, 50));
}

void tst_MetafileImage::emfPolyPolygonFillModes()
{
    for (const int fillMode : {U_ALTERNATE, U_WINDING}) {
        EmfWriter w(100, 100);
        w.append(U_EMRSETPOLYFILLMODE_set(uint32_t(fillMode)));
        w.select(w.solidBrush(Qt::darkCyan));
        w.selectStock(U_NULL_PEN);
        const U_POINT16 points[] = {point16_set(0, 0),   point16_set(100, 0), point16_set(100, 100),
                                    point16_set(0, 100), point16_set(25, 25), point16_set(75, 25),
                                    point16_set(75, 75), point16_set(25, 75)};
        const uint32_t counts[] = {4, 4};
        w.append(U_EMRPOLYPOLYGON16_set(EmfWriter::rect(0, 0, 100, 100), 2, counts, 8, points));
        const QImage image = argb(MetafileImage::loadFromData(w.finish()));
        QVERIFY(near(image.pixel(10, 50), QColor(Qt::darkCyan)));
        // Alternate filling leaves the inner square as a hole; winding fills it.
        if (fillMode == U_ALTERNATE)
            QVERIFY(transparentAt(image, 50, 50));
        else
            QVERIFY(near(image.pixel(50, 50), QColor(Qt::darkCyan)));
    }
}

void tst_MetafileImage::emfArcsChordsAndPies()
{
    EmfWriter w(200, 100);
    w.select(w.solidBrush(Qt::red));
    w.selectStock(U_NULL_PEN);
    // Counter-clockwise from the right to the top: the upper right quarter.
    w.append(
        U_EMRPIE_set(EmfWriter::rect(0, 0, 100, 100), point32_set(100, 50), point32_set(50, 0)));
    // The chord from the top to the bottom through the left: the left half.
    w.append(U_EMRCHORD_set(EmfWriter::rect(100, 0, 200, 100), point32_set(150, 0),
                            point32_set(150, 100)));
    w.select(w.pen(Qt::blue, 3));
    w.append(
        U_EMRARC_set(EmfWriter::rect(10, 10, 90, 90), point32_set(10, 50), point32_set(90, 50)));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    QVERIFY(near(image.pixel(70, 30), Qt::red));
    QVERIFY(transparentAt(image, 30, 30));
    QVERIFY(transparentAt(image, 70, 70));
    QVERIFY(near(image.pixel(125, 50), Qt::red));
    QVERIFY(transparentAt(image, 175, 50));
    // The arc runs counter-clockwise from the left through the bottom.
    QVERIFY(near(image.pixel(50, 89), Qt::blue, 60));
    QVERIFY(transparentAt(image, 30, 14));
}

void tst_MetafileImage::emfPathsAndClipping()
{
    EmfWriter w(100, 100);
    w.select(w.solidBrush(Qt::darkGreen));
    w.append(U_EMRBEGINPATH_set());
    w.append(U_EMRMOVETOEX_set(point32_set(0, 0)));
    w.append(U_EMRLINETO_set(point32_set(100, 0)));
    w.append(U_EMRLINETO_set(point32_set(0, 100)));
    w.append(U_EMRCLOSEFIGURE_set());
    w.append(U_EMRENDPATH_set());
    w.append(U_EMRFILLPATH_set(EmfWriter::rect(0, 0, 100, 100)));

    // A clip set between a save and its restore ends with the restore.
    w.append(U_EMRSAVEDC_set());
    w.append(U_EMRINTERSECTCLIPRECT_set(EmfWriter::rect(60, 60, 80, 80)));
    w.select(w.solidBrush(Qt::yellow));
    w.selectStock(U_NULL_PEN);
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(50, 50, 100, 100)));
    // The restore also brings back the green brush and the default pen.
    w.append(U_EMRRESTOREDC_set(-1));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(86, 0, 100, 14)));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    QVERIFY(near(image.pixel(20, 20), QColor(Qt::darkGreen)));
    QVERIFY(transparentAt(image, 80, 40));
    QVERIFY(near(image.pixel(70, 70), Qt::yellow));
    QVERIFY(transparentAt(image, 55, 55));
    QVERIFY(transparentAt(image, 90, 90));
    QVERIFY(near(image.pixel(93, 7), QColor(Qt::darkGreen)));
    QVERIFY(near(image.pixel(86, 7), Qt::black, 80));
}

void tst_MetafileImage::emfPatternBrushes()
{
    EmfWriter w(100, 50);
    w.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    uint32_t hatch = 0;
    w.append(createbrushindirect_set(
        &hatch, w.handles(), logbrush_set(U_BS_HATCHED, EmfWriter::colour(Qt::black), U_HS_CROSS)));
    w.select(hatch);
    w.selectStock(U_NULL_PEN);
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 50, 50)));

    // A 2 x 2 checker pattern of red and white.
    const WriterDib dib({Qt::red, Qt::white, Qt::white, Qt::red}, 2, 2);
    uint32_t pattern = 0;
    w.append(createdibpatternbrushpt_set(&pattern, w.handles(), U_DIB_RGB_COLORS, dib.info.get(),
                                         dib.cbPx, dib.bits.get()));
    w.select(pattern);
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(50, 0, 100, 50)));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    const int hatched = pixelsOfColour(image, QRect(4, 4, 40, 40), Qt::black);
    QVERIFY2(hatched > 100 && hatched < 1200, qPrintable(QString::number(hatched)));
    QVERIFY(transparentAt(image, 4, 4) || transparentAt(image, 5, 5));
    const int red = pixelsOfColour(image, QRect(54, 4, 40, 40), Qt::red);
    const int white = pixelsOfColour(image, QRect(54, 4, 40, 40), Qt::white);
    QVERIFY2(red > 600 && white > 600, qPrintable(QStringLiteral("%1 %2").arg(red).arg(white)));
}

void tst_MetafileImage::emfBitmapRecords()
{
    const WriterDib dib({Qt::red, Qt::green, Qt::blue, Qt::white}, 2, 2);
    // Two inches by one: the frame maps onto whole pixels exactly.
    EmfWriter w(192, 96);
    w.append(U_EMRSTRETCHDIBITS_set(
        EmfWriter::rect(0, 0, 95, 95), point32_set(0, 0), point32_set(96, 96), point32_set(0, 0),
        point32_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, dib.info.get(), dib.cbPx, dib.bits.get()));
    // The same bitmap unscaled through the source-device record.
    w.append(U_EMRBITBLT_set(EmfWriter::rect(150, 0, 151, 1), point32_set(150, 0),
                             point32_set(2, 2), point32_set(0, 0), xform_set(1, 0, 0, 1, 0, 0),
                             EmfWriter::colour(Qt::white), U_DIB_RGB_COLORS, U_SRCCOPY,
                             dib.info.get(), dib.cbPx, dib.bits.get()));
    // A blit without a bitmap paints with the brush.
    w.select(w.solidBrush(Qt::cyan));
    w.append(U_EMRBITBLT_set(EmfWriter::rect(150, 50, 191, 95), point32_set(150, 50),
                             point32_set(42, 46), point32_set(0, 0), xform_set(1, 0, 0, 1, 0, 0),
                             EmfWriter::colour(Qt::white), U_DIB_RGB_COLORS, U_PATCOPY, nullptr, 0,
                             nullptr));
    // Half of a red bitmap blended over a blue square.
    w.select(w.solidBrush(Qt::blue));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(100, 60, 140, 96)));
    const WriterDib red({Qt::red}, 1, 1);
    U_BLEND half;
    half.Operation = 0; // blend over
    half.Flags = 0;
    half.Global = 128;
    half.Op = U_AC_SRC_CONST;
    w.append(U_EMRALPHABLEND_set(EmfWriter::rect(100, 60, 139, 95), point32_set(100, 60),
                                 point32_set(40, 36), point32_set(0, 0), point32_set(1, 1),
                                 xform_set(1, 0, 0, 1, 0, 0), EmfWriter::colour(Qt::white),
                                 U_DIB_RGB_COLORS, half, red.info.get(), red.cbPx, red.bits.get()));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));
    QVERIFY(near(image.pixel(120, 78), QColor(128, 0, 127), 3));

    // Rows as given from the top: red green, then blue white.
    QVERIFY(near(image.pixel(20, 20), Qt::red));
    QVERIFY(near(image.pixel(76, 20), Qt::green));
    QVERIFY(near(image.pixel(20, 76), Qt::blue));
    QVERIFY(near(image.pixel(76, 76), Qt::white));
    QVERIFY(near(image.pixel(150, 0), Qt::red));
    QVERIFY(near(image.pixel(151, 0), Qt::green));
    QVERIFY(near(image.pixel(151, 1), Qt::white));
    QVERIFY(near(image.pixel(170, 70), Qt::cyan));
    QVERIFY(transparentAt(image, 120, 50));
}

void tst_MetafileImage::emfTextInUtf16AndCodePages()
{
    auto textPicture = [](bool wide) {
        EmfWriter w(200, 60);
        size_t len = 0;
        uint16_t *face = U_Utf8ToUtf16le("DejaVu Sans", 0, &len);
        const uint8_t charset = wide ? U_DEFAULT_CHARSET : U_GB2312_CHARSET;
        uint32_t font = 0;
        const U_LOGFONT lf =
            logfont_set(-40, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, charset, U_OUT_DEFAULT_PRECIS,
                        U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
        free(face);
        w.append(extcreatefontindirectw_set(&font, w.handles(), reinterpret_cast<const char *>(&lf),
                                            nullptr));
        w.select(font);
        w.append(U_EMRSETTEXTCOLOR_set(EmfWriter::colour(Qt::red)));
        w.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
        w.append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
        // The spacing is given for each character, or for each byte of the
        // 8-bit text, where a character's bytes add up.
        uint32_t wideDx[] = {30, 45, 45};
        uint32_t byteDx[] = {30, 20, 25, 45, 0};
        char *text = nullptr;
        if (wide) {
            uint16_t *utf16 = U_Utf8ToUtf16le("A\xE4\xB8\xAD\xE6\x96\x87", 0, &len);
            text = emrtext_set(point32_set(10, 45), U_NUM_STR(len), 2, utf16, U_ETO_NONE, U_RCL_DEF,
                               wideDx);
            free(utf16);
            w.append(U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 1, 1,
                                          reinterpret_cast<PU_EMRTEXT>(text)));
        } else {
            // "A" and the two characters in code page 936.
            char gbk[] = "A\xD6\xD0\xCE\xC4";
            text = emrtext_set(point32_set(10, 45), 5, 1, gbk, U_ETO_NONE, U_RCL_DEF, byteDx);
            w.append(U_EMREXTTEXTOUTA_set(U_RCL_DEF, U_GM_COMPATIBLE, 1, 1,
                                          reinterpret_cast<PU_EMRTEXT>(text)));
        }
        free(text);
        return argb(MetafileImage::loadFromData(w.finish()));
    };
    const QImage wide = textPicture(true);
    const QImage narrow = textPicture(false);
    const int ink = pixelsOfColour(wide, wide.rect(), Qt::red);
    QVERIFY2(ink > 200, qPrintable(QString::number(ink)));
    // The text starts at its reference point and stays on its line.
    QCOMPARE(pixelsOfColour(wide, QRect(0, 0, 9, 60), Qt::red), 0);
    QCOMPARE(pixelsOfColour(wide, QRect(0, 52, 200, 8), Qt::red), 0);
    // The 8-bit record decoded from code page 936 draws the same characters.
    QCOMPARE(narrow, wide);
}

void tst_MetafileImage::emfRotatedText()
{
    EmfWriter w(100, 200);
    size_t len = 0;
    uint16_t *face = U_Utf8ToUtf16le("DejaVu Sans", 0, &len);
    uint32_t font = 0;
    // Escapement 90 degrees: the text runs upwards from its reference point.
    const U_LOGFONT lf =
        logfont_set(-30, 0, 900, 900, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    free(face);
    w.append(extcreatefontindirectw_set(&font, w.handles(), reinterpret_cast<const char *>(&lf),
                                        nullptr));
    w.select(font);
    w.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    w.append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
    uint16_t *utf16 = U_Utf8ToUtf16le("HHHHHH", 0, &len);
    uint32_t dx[] = {22, 22, 22, 22, 22, 22};
    char *text =
        emrtext_set(point32_set(60, 180), U_NUM_STR(len), 2, utf16, U_ETO_NONE, U_RCL_DEF, dx);
    free(utf16);
    w.append(
        U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(text)));
    free(text);
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                ink |= QRect(x, y, 1, 1);
    QVERIFY2(ink.height() > 100 && ink.width() < 40,
             qPrintable(QStringLiteral("%1 x %2").arg(ink.width()).arg(ink.height())));
    // The baseline is at x = 60 and the glyphs stand on its left.
    QVERIFY(ink.right() <= 62 && ink.left() >= 30);
    QVERIFY(ink.bottom() <= 182);
}

void tst_MetafileImage::emfSkipsMalformedRecords()
{
    EmfWriter w(100, 100);
    w.select(w.solidBrush(Qt::blue));
    w.selectStock(U_NULL_PEN);
    const U_POINT16 triangle[] = {point16_set(0, 0), point16_set(50, 0), point16_set(0, 50)};
    w.append(U_EMRPOLYGON16_set(EmfWriter::rect(0, 0, 50, 50), 3, triangle));
    w.append(U_EMRSELECTOBJECT_set(12345)); // no such object
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(60, 60, 100, 100)));
    QByteArray bytes = w.finish();

    // The polygon's point count made far larger than its record.
    const qsizetype header = qsizetype(*reinterpret_cast<const uint32_t *>(bytes.constData() + 4));
    qsizetype at = header;
    while (at + 8 <= bytes.size() &&
           *reinterpret_cast<const uint32_t *>(bytes.constData() + at) != U_EMR_POLYGON16)
        at += *reinterpret_cast<const uint32_t *>(bytes.constData() + at + 4);
    QVERIFY(at + 28 <= bytes.size());
    const uint32_t huge = 0x7FFFFFFF;
    bytes.replace(at + 24, 4, reinterpret_cast<const char *>(&huge), 4);

    const QImage image = argb(MetafileImage::loadFromData(bytes));
    QVERIFY(transparentAt(image, 10, 10));
    QVERIFY(near(image.pixel(80, 80), Qt::blue));
}

void tst_MetafileImage::clipArtPictures()
{
    const QImage emf = argb(MetafileImage::loadFromData(ClipArtSamples::clipArtEmf()));
    QCOMPARE(emf.size(), QSize(320, 240));
    QVERIFY(near(emf.pixel(270, 35), QColor(255, 215, 0)));   // sun
    QVERIFY(near(emf.pixel(140, 100), QColor(150, 20, 30)));  // roof
    QVERIFY(near(emf.pixel(140, 170), QColor(110, 70, 30)));  // door
    QVERIFY(near(emf.pixel(240, 100), QColor(30, 120, 40)));  // tree crown
    QVERIFY(near(emf.pixel(20, 225), QColor(80, 170, 60)));   // ground
    QVERIFY(near(emf.pixel(5, 2), QColor(90, 160, 230), 12)); // top of the sky gradient
    QVERIFY(near(emf.pixel(300, 190), QColor(240, 80, 60)));  // pie slice
    QVERIFY(near(emf.pixel(42, 198), QColor(255, 230, 0)));   // flower bitmap, unsmoothed
    const int bricks = pixelsOfColour(emf, QRect(95, 115, 90, 20), QColor(180, 60, 40));
    QVERIFY2(bricks > 300 && bricks < 1600, qPrintable(QString::number(bricks)));
    QVERIFY(pixelsOfColour(emf, QRect(80, 205, 160, 30), QColor(20, 40, 120)) > 200);

    const QImage wmf = argb(MetafileImage::loadFromData(ClipArtSamples::clipArtWmf()));
    QCOMPARE(wmf.size(), QSize(192, 192));
    QVERIFY(near(wmf.pixel(96, 96), QColor(220, 30, 40)));
    QVERIFY(near(wmf.pixel(30, 96), QColor(255, 230, 80)));
    QVERIFY(transparentAt(wmf, 3, 3));
}

void tst_MetafileImage::paintingStopsAtTheBudget()
{
    // Every rectangle covers the whole picture; a small budget lets only the
    // first ones be painted, and the file still loads.
    EmfWriter w(100, 100);
    w.selectStock(U_NULL_PEN);
    w.select(w.solidBrush(Qt::red));
    for (int i = 0; i < 200; ++i)
        w.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 100, 100)));
    w.select(w.solidBrush(Qt::blue));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 100, 100)));
    const QByteArray bytes = w.finish();

    QVERIFY(near(argb(MetafileDecoder::render(bytes)).pixel(50, 50), Qt::blue));
    MetafileDecoder::Limits limits;
    limits.paintedPerPixel = 10;
    QVERIFY(near(argb(MetafileDecoder::render(bytes, limits)).pixel(50, 50), Qt::red));
}

void tst_MetafileImage::wmfPlaceableShapesTextAndBitmap()
{
    // 2 x 1 inches at 1000 units an inch: 192 x 96 pixels.
    WmfWriter w(2, 1, 1000);
    w.append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    w.append(U_WMRSETWINDOWEXT_set(point16_set(2000, 1000)));
    w.select(w.solidBrush(Qt::blue));
    w.select(w.pen(Qt::blue, 0));
    w.append(U_WMRRECTANGLE_set(WmfWriter::rect(0, 0, 500, 500)));
    w.select(w.solidBrush(Qt::green));
    const U_POINT16 triangle[] = {point16_set(500, 0), point16_set(1000, 0), point16_set(500, 500)};
    w.append(U_WMRPOLYGON_set(3, triangle));

    const WriterDib dib({Qt::red, Qt::yellow}, 2, 1);
    w.append(U_WMRSTRETCHDIB_set(point16_set(1000, 0), point16_set(1000, 500), point16_set(0, 0),
                                 point16_set(2, 1), U_DIB_RGB_COLORS, U_SRCCOPY, dib.info.get(),
                                 dib.cbPx, dib.bits.get()));

    uint32_t font = 0;
    char face[] = "DejaVu Sans";
    U_FONT *uf = U_FONT_set(-300, 0, 0, 0, U_FW_BOLD, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                            U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    w.append(wcreatefontindirect_set(&font, w.handles(), uf));
    free(uf);
    w.select(font);
    w.append(U_WMRSETTEXTCOLOR_set(EmfWriter::colour(Qt::black)));
    w.append(U_WMRSETBKMODE_set(U_TRANSPARENT));
    char text[] = "WMF";
    w.append(U_WMRTEXTOUT_set(point16_set(100, 600), text));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    QCOMPARE(image.size(), QSize(192, 96));
    QVERIFY(near(image.pixel(24, 24), Qt::blue));
    QVERIFY(near(image.pixel(55, 10), Qt::green));
    QVERIFY(transparentAt(image, 90, 40));
    QVERIFY(near(image.pixel(110, 24), Qt::red));
    QVERIFY(near(image.pixel(180, 24), Qt::yellow));
    const int ink = pixelsOfColour(image, QRect(0, 55, 100, 41), Qt::black);
    QVERIFY2(ink > 100, qPrintable(QString::number(ink)));
    QCOMPARE(pixelsOfColour(image, QRect(100, 55, 92, 41), Qt::black), 0);
}

void tst_MetafileImage::wmfWithoutPlaceableHeader()
{
    WmfWriter w;
    w.append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.append(U_WMRSETWINDOWORG_set(point16_set(100, 100)));
    w.append(U_WMRSETWINDOWEXT_set(point16_set(300, 150)));
    w.select(w.solidBrush(Qt::darkRed));
    w.select(w.pen(Qt::darkRed, 0));
    w.append(U_WMRELLIPSE_set(WmfWriter::rect(100, 100, 400, 250)));
    const QImage image = argb(MetafileImage::loadFromData(w.finish()));

    // The window is taken as the frame, in pixels.
    QCOMPARE(image.size(), QSize(300, 150));
    QVERIFY(near(image.pixel(150, 75), QColor(Qt::darkRed)));
    QVERIFY(transparentAt(image, 5, 5));
}

void tst_MetafileImage::invalidAndTruncatedFiles()
{
    const QString invalid = QStringLiteral("Metafile is not valid");
    QCOMPARE(failureOf(QByteArray()), invalid);
    QCOMPARE(failureOf(QByteArray("not a metafile at all, just some text")), invalid);
    QImage png(8, 8, QImage::Format_RGB32);
    png.fill(Qt::red);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    QCOMPARE(failureOf(pngBytes), invalid);

    EmfWriter emf(100, 100);
    emf.select(emf.solidBrush(Qt::blue));
    emf.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 50, 50)));
    const QByteArray emfBytes = emf.finish();
    QVERIFY(failureOf(emfBytes).isEmpty());
    for (qsizetype cut : {qsizetype(10), qsizetype(100), emfBytes.size() / 2, emfBytes.size() - 4})
        QCOMPARE(failureOf(emfBytes.left(cut)), invalid);

    WmfWriter wmf(1, 1, 96);
    wmf.select(wmf.solidBrush(Qt::blue));
    wmf.append(U_WMRRECTANGLE_set(WmfWriter::rect(0, 0, 50, 50)));
    const QByteArray wmfBytes = wmf.finish();
    QVERIFY(failureOf(wmfBytes).isEmpty());
    for (qsizetype cut : {qsizetype(10), qsizetype(30), wmfBytes.size() / 2, wmfBytes.size() - 2})
        QCOMPARE(failureOf(wmfBytes.left(cut)), invalid);

    // Neither a frame nor bounds that enclose anything.
    QByteArray empty = emfBytes;
    setFrame(empty, QRect(QPoint(0, 0), QPoint(0, 0)));
    const int32_t noBounds[] = {10, 10, 5, 5};
    empty.replace(qsizetype(offsetof(U_EMRHEADER, rclBounds)), 16,
                  reinterpret_cast<const char *>(noBounds), 16);
    QCOMPARE(failureOf(empty), invalid);

    // The error is the program's common kind, as the picture control expects.
    QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, MetafileImage::loadFromData(QByteArray(100, 'x')));
}

void tst_MetafileImage::frameSizeAt96Dpi()
{
    EmfWriter w(10, 10);
    QByteArray bytes = w.finish();
    // One inch by half an inch, in 0.01 mm.
    const int32_t frame[] = {0, 0, 2540, 1270};
    bytes.replace(int(offsetof(U_EMRHEADER, rclFrame)), 16, reinterpret_cast<const char *>(frame),
                  16);
    QCOMPARE(MetafileDecoder::frameSize(bytes), QSize(96, 48));
    QCOMPARE(MetafileImage::loadFromData(bytes).size(), QSize(96, 48));

    WmfWriter wmf(3, 2, 1440);
    QCOMPARE(MetafileDecoder::frameSize(wmf.finish()), QSize(288, 192));
}

void tst_MetafileImage::emfReferenceDevice_data()
{
    QTest::addColumn<bool>("extensions");
    QTest::addColumn<QSize>("micrometres");
    // As a figure converter writes it: no pixel format or micrometre fields,
    // its description starting where they would be.
    QTest::newRow("short header, description at 88") << false << QSize();
    QTest::newRow("full header") << true << QSize(260000, 215000);
    QTest::newRow("full header without micrometres") << true << QSize(0, 0);
}

void tst_MetafileImage::emfReferenceDevice()
{
    QFETCH(bool, extensions);
    QFETCH(QSize, micrometres);
    // A 1200 dpi reference device, 12283 x 10157 pixels for 260 x 215 mm;
    // the records draw in its pixels.
    EmfWriter w(100, 100);
    w.selectStock(U_NULL_PEN);
    w.select(w.solidBrush(Qt::blue));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(1200, 1200, 6000, 4800)));
    HeaderFields fields;
    fields.bounds = QRect(QPoint(1140, 1140), QPoint(11456, 9060));
    fields.frame = QRect(QPoint(2413, 2413), QPoint(24249, 19178));
    fields.device = QSize(12283, 10157);
    fields.millimetres = QSize(260, 215);
    fields.description = QStringLiteral("Converted from shapes.fig using a figure converter");
    fields.extensions = extensions;
    fields.micrometres = micrometres;
    const QImage image = argb(MetafileImage::loadFromData(withHeader(w.finish(), fields)));

    // The frame, 218.36 x 167.65 mm, at 96 dpi.
    QCOMPARE(image.size(), QSize(825, 634));
    // The rectangle at 1200 dpi from 1.06 mm inside the frame's corner:
    // pixels 5 to 389 across and 5 to 293 down.
    QVERIFY(transparentAt(image, 2, 2));
    QVERIFY(near(image.pixel(8, 8), Qt::blue));
    QVERIFY(near(image.pixel(196, 148), Qt::blue));
    QVERIFY(near(image.pixel(385, 289), Qt::blue));
    QVERIFY(transparentAt(image, 393, 148));
    QVERIFY(transparentAt(image, 196, 297));
}

void tst_MetafileImage::largeFramesDrawnWithinThePixelLimits()
{
    // 1.9 x 3.9 m at 96 dpi is 7181 x 14740 pixels: drawn smaller, in the
    // same shape, with the left half blue.
    EmfWriter w(100, 100);
    w.selectStock(U_NULL_PEN);
    w.select(w.solidBrush(Qt::blue));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 3590, 14740)));
    QByteArray tall = w.finish();
    setFrame(tall, QRect(QPoint(0, 0), QPoint(190000, 390000)));
    const MetafileDecoder::Limits defaults;
    const QSize size = MetafileDecoder::frameSize(tall);
    QVERIFY(size.height() <= defaults.maxSide);
    QVERIFY(qint64(size.width()) * size.height() <= defaults.maxPixels);
    QVERIFY(qint64(size.width()) * size.height() > defaults.maxPixels * 99 / 100);
    QVERIFY(std::abs(double(size.width()) / size.height() - 190.0 / 390) < 0.001);

    MetafileDecoder::Limits small;
    small.maxSide = 300;
    small.maxPixels = 300 * 300;
    const QImage image = argb(MetafileDecoder::render(tall, small));
    QCOMPARE(image.size(), QSize(146, 300));
    QVERIFY(near(image.pixel(5, 5), Qt::blue));
    QVERIFY(near(image.pixel(68, 295), Qt::blue));
    QVERIFY(transparentAt(image, 78, 150));
    QVERIFY(transparentAt(image, 140, 295));

    // Ten metres square: the pixel limit decides; a frame wider than tall
    // by a million: the side limit, and one pixel high.
    QByteArray square = tall;
    setFrame(square, QRect(QPoint(0, 0), QPoint(1000000, 1000000)));
    QCOMPARE(MetafileDecoder::frameSize(square), QSize(4096, 4096));
    QByteArray strip = EmfWriter(10, 10).finish();
    setFrame(strip, QRect(QPoint(0, 0), QPoint(100000000, 100)));
    QCOMPARE(MetafileDecoder::frameSize(strip), QSize(8192, 1));
    QCOMPARE(MetafileDecoder::frameSize(strip, small), QSize(300, 1));

    // A Windows metafile with a placeable box of 30 x 60 inches likewise.
    WmfWriter wmf(30, 60, 100);
    QCOMPARE(MetafileDecoder::frameSize(wmf.finish(), small), QSize(150, 300));
}

void tst_MetafileImage::drawingOutsideItsFrame()
{
    // Drawn in twips through a scaling mapping mode (1440 logical units to
    // 96 device pixels), with the header's bounds and frame computed from the
    // logical coordinates as if they were device pixels. The frame then lies
    // far away from the drawing, which is shown in full instead.
    EmfWriter w(100, 100);
    w.append(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.append(U_EMRSETWINDOWEXTEX_set(sizel_set(1440, 1440)));
    w.append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(96, 96)));
    w.selectStock(U_NULL_PEN);
    w.select(w.solidBrush(Qt::red));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(400, 10240, 4000, 12840)));
    w.select(w.solidBrush(Qt::blue));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(4000, 10240, 7600, 12840)));
    HeaderFields fields;
    fields.bounds = QRect(QPoint(400, 10240), QPoint(7600, 12840));
    fields.frame = QRect(QPoint(12500, 320000), QPoint(237500, 401250)); // 31.25 times
    fields.device = QSize(1024, 768);
    fields.millimetres = QSize(320, 240);
    fields.extensions = true;
    fields.micrometres = QSize(320000, 240000);
    const QImage image = argb(MetafileImage::loadFromData(withHeader(w.finish(), fields)));

    // 480 x 173.3 device pixels of 0.3125 mm: 150 x 54.2 mm.
    QCOMPARE(image.size(), QSize(567, 205));
    QVERIFY(near(image.pixel(2, 2), Qt::red));
    QVERIFY(near(image.pixel(280, 102), Qt::red));
    QVERIFY(near(image.pixel(287, 102), Qt::blue));
    QVERIFY(near(image.pixel(564, 202), Qt::blue));

    // A drawing that mostly lies in its frame keeps the frame: what
    // overhangs it, or a small mark far off it, is cut away.
    EmfWriter overhang(100, 100);
    overhang.selectStock(U_NULL_PEN);
    overhang.select(overhang.solidBrush(Qt::green));
    overhang.append(U_EMRRECTANGLE_set(EmfWriter::rect(-20, -20, 50, 110)));
    overhang.append(U_EMRELLIPSE_set(EmfWriter::rect(5000, 5000, 5010, 5010)));
    const QImage cut = argb(MetafileImage::loadFromData(overhang.finish()));
    QCOMPARE(cut.size(), QSize(100, 100));
    QVERIFY(near(cut.pixel(1, 1), Qt::green));
    QVERIFY(near(cut.pixel(48, 98), Qt::green));
    QVERIFY(transparentAt(cut, 52, 50));

    // A background larger than the frame covers it: the frame stays too.
    EmfWriter background(100, 100);
    background.selectStock(U_NULL_PEN);
    background.select(background.solidBrush(Qt::yellow));
    background.append(U_EMRRECTANGLE_set(EmfWriter::rect(-500, -500, 600, 600)));
    background.select(background.solidBrush(Qt::blue));
    background.append(U_EMRRECTANGLE_set(EmfWriter::rect(40, 40, 60, 60)));
    const QImage covered = argb(MetafileImage::loadFromData(background.finish()));
    QCOMPARE(covered.size(), QSize(100, 100));
    QVERIFY(near(covered.pixel(50, 50), Qt::blue));
    QVERIFY(near(covered.pixel(10, 10), Qt::yellow));
}

void tst_MetafileImage::loadFromFile()
{
    QTemporaryDir dir;
    EmfWriter w(40, 20);
    w.select(w.solidBrush(Qt::red));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(0, 0, 40, 20)));
    QFile file(dir.filePath(QStringLiteral("picture.emf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(w.finish());
    file.close();

    const QImage image = argb(MetafileImage::load(file.fileName()));
    QCOMPARE(image.size(), QSize(40, 20));
    QVERIFY(near(image.pixel(20, 10), Qt::red));
    QVERIFY_THROWS_EXCEPTION(EInvalidGraphic,
                             MetafileImage::load(dir.filePath(QStringLiteral("missing.emf"))));
}

QTEST_MAIN(tst_MetafileImage)
#include "tst_metafileimage.moc"
