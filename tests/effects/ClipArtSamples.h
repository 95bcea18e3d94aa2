// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MetafileWriter.h"

#include <QPointF>

#include <cmath>

// Metafiles drawn the way ordinary clip-art is: a scaled logical window,
// gradients, polygons, curves, pattern brushes, a bitmap and text.
namespace ClipArtSamples {

inline U_TRIVERTEX vertex(int x, int y, const QColor &c)
{
    U_TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = uint16_t(c.red() << 8);
    v.Green = uint16_t(c.green() << 8);
    v.Blue = uint16_t(c.blue() << 8);
    v.Alpha = 0;
    return v;
}

// A house under a sun, with a tree, a cloud, a flower bitmap, a small pie
// chart and a caption: 320 x 240 pixels, drawn in a 3200 x 2400 window.
inline QByteArray clipArtEmf()
{
    EmfWriter w(320, 240);
    w.append(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.append(U_EMRSETWINDOWEXTEX_set(sizel_set(3200, 2400)));
    w.append(U_EMRSETVIEWPORTEXTEX_set(sizel_set(320, 240)));

    // Sky: a vertical gradient over the upper part.
    U_TRIVERTEX sky[] = {vertex(0, 0, QColor(90, 160, 230)),
                         vertex(3200, 1700, QColor(225, 240, 255))};
    uint32_t skyRect[] = {0, 1};
    w.append(U_EMRGRADIENTFILL_set(EmfWriter::rect(0, 0, 319, 169), 2, 1, U_GRADIENT_FILL_RECT_V,
                                   sky, skyRect));

    // Ground.
    w.select(w.solidBrush(QColor(80, 170, 60)));
    w.select(w.pen(QColor(40, 110, 30), 20));
    const U_POINT16 ground[] = {point16_set(0, 1700),    point16_set(800, 1600),
                                point16_set(1800, 1680), point16_set(3200, 1580),
                                point16_set(3200, 2400), point16_set(0, 2400)};
    w.append(U_EMRPOLYGON16_set(EmfWriter::rect(0, 158, 320, 240), 6, ground));

    // Sun with rays.
    w.select(w.solidBrush(QColor(255, 215, 0)));
    w.select(w.pen(QColor(240, 140, 0), 30));
    w.append(U_EMRELLIPSE_set(EmfWriter::rect(2500, 150, 2900, 550)));
    std::vector<U_POINT16> rays;
    std::vector<uint32_t> rayCounts;
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265 / 6;
        rays.push_back(
            point16_set(int16_t(2700 + 260 * std::cos(a)), int16_t(350 + 260 * std::sin(a))));
        rays.push_back(
            point16_set(int16_t(2700 + 380 * std::cos(a)), int16_t(350 + 380 * std::sin(a))));
        rayCounts.push_back(2);
    }
    w.append(U_EMRPOLYPOLYLINE16_set(EmfWriter::rect(230, 0, 310, 80), 12, rayCounts.data(),
                                     uint32_t(rays.size()), rays.data()));

    // Cloud: overlapping ellipses.
    w.select(w.solidBrush(Qt::white));
    w.selectStock(U_NULL_PEN);
    w.append(U_EMRELLIPSE_set(EmfWriter::rect(300, 250, 800, 550)));
    w.append(U_EMRELLIPSE_set(EmfWriter::rect(600, 150, 1100, 500)));
    w.append(U_EMRELLIPSE_set(EmfWriter::rect(900, 280, 1350, 560)));

    // House walls in a brick pattern, roof, door and window.
    const WriterDib bricks(
        {QColor(180, 60, 40), QColor(180, 60, 40), QColor(180, 60, 40), QColor(230, 220, 200),
         QColor(180, 60, 40), QColor(230, 220, 200), QColor(180, 60, 40), QColor(180, 60, 40),
         QColor(230, 220, 200), QColor(230, 220, 200), QColor(230, 220, 200), QColor(230, 220, 200),
         QColor(180, 60, 40), QColor(230, 220, 200), QColor(180, 60, 40), QColor(180, 60, 40)},
        4, 4);
    uint32_t brickBrush = 0;
    w.append(createdibpatternbrushpt_set(&brickBrush, w.handles(), U_DIB_RGB_COLORS,
                                         bricks.info.get(), bricks.cbPx, bricks.bits.get()));
    w.select(brickBrush);
    w.select(w.pen(QColor(90, 30, 20), 25));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(900, 1100, 1900, 1900)));
    w.select(w.solidBrush(QColor(150, 20, 30)));
    const U_POINT16 roof[] = {point16_set(800, 1120), point16_set(1400, 650),
                              point16_set(2000, 1120)};
    w.append(U_EMRPOLYGON16_set(EmfWriter::rect(80, 65, 200, 112), 3, roof));
    w.select(w.solidBrush(QColor(110, 70, 30)));
    w.append(U_EMRROUNDRECT_set(EmfWriter::rect(1250, 1450, 1550, 1900), sizel_set(120, 120)));
    w.select(w.solidBrush(QColor(170, 220, 255)));
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(1000, 1250, 1200, 1450)));
    w.append(U_EMRMOVETOEX_set(point32_set(1100, 1250)));
    w.append(U_EMRLINETO_set(point32_set(1100, 1450)));
    w.append(U_EMRMOVETOEX_set(point32_set(1000, 1350)));
    w.append(U_EMRLINETO_set(point32_set(1200, 1350)));

    // Tree: trunk and a crown drawn as a path of curves.
    w.select(w.solidBrush(QColor(120, 80, 40)));
    w.selectStock(U_NULL_PEN);
    w.append(U_EMRRECTANGLE_set(EmfWriter::rect(2350, 1300, 2470, 1800)));
    w.select(w.solidBrush(QColor(30, 120, 40)));
    w.select(w.pen(QColor(20, 80, 25), 20));
    w.append(U_EMRBEGINPATH_set());
    w.append(U_EMRMOVETOEX_set(point32_set(2410, 700)));
    const U_POINT16 crown[] = {point16_set(2750, 700),  point16_set(2800, 1350),
                               point16_set(2410, 1350), point16_set(2000, 1350),
                               point16_set(2050, 700),  point16_set(2410, 700)};
    w.append(U_EMRPOLYBEZIERTO16_set(EmfWriter::rect(200, 70, 280, 135), 6, crown));
    w.append(U_EMRCLOSEFIGURE_set());
    w.append(U_EMRENDPATH_set());
    w.append(U_EMRSTROKEANDFILLPATH_set(EmfWriter::rect(200, 70, 280, 135)));

    // A flower bitmap.
    const QColor o(0, 0, 0, 0);
    const QColor p(230, 60, 150);
    const QColor y(255, 230, 0);
    const QColor g(40, 150, 40);
    const QColor s(140, 200, 120);
    const WriterDib flower({s, p, s, p, s, p, y, p, s, p, s, p, s, g, s, s, s, s, g, s}, 5, 4);
    w.append(U_EMRSTRETCHDIBITS_set(EmfWriter::rect(30, 190, 70, 222), point32_set(300, 1900),
                                    point32_set(400, 320), point32_set(0, 0), point32_set(5, 4),
                                    U_DIB_RGB_COLORS, U_SRCCOPY, flower.info.get(), flower.cbPx,
                                    flower.bits.get()));

    // A small pie chart.
    w.selectStock(U_BLACK_PEN);
    w.select(w.solidBrush(QColor(240, 80, 60)));
    w.append(U_EMRPIE_set(EmfWriter::rect(2700, 1800, 3100, 2200), point32_set(3100, 2000),
                          point32_set(2900, 1800)));
    w.select(w.solidBrush(QColor(60, 120, 240)));
    w.append(U_EMRPIE_set(EmfWriter::rect(2700, 1800, 3100, 2200), point32_set(2900, 1800),
                          point32_set(2700, 2150)));
    w.select(w.solidBrush(QColor(250, 200, 40)));
    w.append(U_EMRPIE_set(EmfWriter::rect(2700, 1800, 3100, 2200), point32_set(2700, 2150),
                          point32_set(3100, 2000)));

    // Caption.
    size_t len = 0;
    uint16_t *face = U_Utf8ToUtf16le("Arial", 0, &len);
    uint32_t font = 0;
    const U_LOGFONT lf =
        logfont_set(-220, 0, 0, 0, U_FW_BOLD, 0, 0, 0, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    free(face);
    w.append(extcreatefontindirectw_set(&font, w.handles(), reinterpret_cast<const char *>(&lf),
                                        nullptr));
    w.select(font);
    w.append(U_EMRSETTEXTCOLOR_set(EmfWriter::colour(QColor(20, 40, 120))));
    w.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    w.append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_CENTER));
    uint32_t dx[] = {135, 120, 85, 120, 65, 125, 80, 240, 240, 240};
    size_t n = 0;
    uint16_t *caption = U_Utf8ToUtf16le("Tarvik \xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6", 0, &n);
    char *text =
        emrtext_set(point32_set(1600, 2300), U_NUM_STR(n), 2, caption, U_ETO_NONE, U_RCL_DEF, dx);
    free(caption);
    w.append(
        U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(text)));
    free(text);
    return w.finish();
}

// A red star on a yellow disc with a label: a placeable Windows metafile of
// two by two inches at 1440 units an inch.
inline QByteArray clipArtWmf()
{
    WmfWriter w(2, 2, 1440);
    w.append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    w.append(U_WMRSETWINDOWEXT_set(point16_set(2880, 2880)));
    w.select(w.solidBrush(QColor(255, 230, 80)));
    w.select(w.pen(QColor(200, 150, 0), 40));
    w.append(U_WMRELLIPSE_set(WmfWriter::rect(140, 140, 2740, 2740)));
    std::vector<U_POINT16> star;
    for (int i = 0; i < 10; ++i) {
        const double a = -3.14159265 / 2 + i * 3.14159265 / 5;
        const double r = (i % 2) ? 480 : 1150;
        star.push_back(
            point16_set(int16_t(1440 + r * std::cos(a)), int16_t(1440 + r * std::sin(a))));
    }
    w.select(w.solidBrush(QColor(220, 30, 40)));
    w.select(w.pen(QColor(120, 0, 10), 30));
    w.append(U_WMRPOLYGON_set(uint16_t(star.size()), star.data()));
    uint32_t font = 0;
    char face[] = "Arial";
    U_FONT *uf = U_FONT_set(-300, 0, 0, 0, U_FW_BOLD, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                            U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    w.append(wcreatefontindirect_set(&font, w.handles(), uf));
    free(uf);
    w.select(font);
    w.append(U_WMRSETTEXTALIGN_set(U_TA_CENTER | U_TA_BASELINE));
    w.append(U_WMRSETBKMODE_set(U_TRANSPARENT));
    w.append(U_WMRSETTEXTCOLOR_set(EmfWriter::colour(QColor(20, 20, 90))));
    char label[] = "STAR";
    int16_t dx[] = {260, 260, 260, 260};
    w.append(
        U_WMREXTTEXTOUT_set(point16_set(1440, 2550), 4, 0, label, dx, WmfWriter::rect(0, 0, 0, 0)));
    return w.finish();
}

} // namespace ClipArtSamples
