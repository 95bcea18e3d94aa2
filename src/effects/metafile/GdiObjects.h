// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <variant>

// The drawing objects a metafile creates, selects and deletes. Sizes are in
// the metafile's logical units; the canvas maps them when it draws.

struct GdiPen
{
    std::uint32_t style = 0; // style, end cap, join and type bits as recorded
    double width = 0;        // 0: one device pixel
    QColor colour = Qt::black;
    QList<double> dashes; // user style entries, in logical units
    bool isNull() const { return (style & 0x0F) == 5; }
};

struct GdiBrush
{
    enum class Kind
    {
        Solid,
        Null,
        Hatched,
        Pattern
    };
    Kind kind = Kind::Solid;
    QColor colour = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct GdiFont
{
    int height = 0;
    int width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;
    int pitchAndFamily = 0;
    QString face;
};

// A region kept as rectangles in the units of the record that made it.
struct GdiRegion
{
    QList<QRect> rects;
};

// Palettes and objects this player does not draw with keep their slot only.
struct GdiPlaceholder
{
};

using GdiObject =
    std::variant<std::monostate, GdiPlaceholder, GdiPen, GdiBrush, GdiFont, GdiRegion>;
