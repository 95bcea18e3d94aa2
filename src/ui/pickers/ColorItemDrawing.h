// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;
class QPalette;

// How a colour entry is drawn, in the open list and in the closed picker alike: a swatch
// square at the left with a frame that shows only where it is needed, and the text beside it.
namespace ColorItemDrawing {

constexpr std::int32_t clDefault = 0x20000000;
constexpr std::int32_t clNone = 0x1FFFFFFF;

// Gap between the swatch's right edge and the text.
constexpr int textGap = 5;

// The colour a swatch is filled with: system colours as their current colour, the two
// special values as the colours the picker draws in their place.
QColor swatchColour(std::int32_t value, std::int32_t defaultColorColor,
                    std::int32_t noneColorColor);

// A square of the item's height at its left, shrunk by one pixel on every side.
QRect swatchRect(const QRect &item);

// Black when the swatch is light in any channel (above 192), else white on the highlight,
// else the swatch's own colour so that no frame shows.
QColor outlineColour(const QColor &swatch, bool selected);

// font, or, where text is wider than width, font narrowed just enough to show it whole.
QFont fittingFont(const QFont &font, const QString &text, int width);

struct Entry
{
    QColor swatch;
    QString text;
    bool selected = false;
    bool focused = false;
};

void draw(QPainter &painter, const QRect &rect, const Entry &entry, const QPalette &palette,
          const QFont &font);

} // namespace ColorItemDrawing
