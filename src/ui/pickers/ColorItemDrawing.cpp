// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorItemDrawing.h"

#include "SystemColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include <algorithm>

namespace ColorItemDrawing {

namespace {

constexpr std::int32_t highlightColour = std::int32_t(0xFF00000Du);
constexpr std::int32_t highlightTextColour = std::int32_t(0xFF00000Eu);
constexpr int lightChannel = 192;

} // namespace

QColor swatchColour(std::int32_t value, std::int32_t defaultColorColor, std::int32_t noneColorColor)
{
    if (value == clDefault)
        return SystemColors::toQColor(defaultColorColor);
    if (value == clNone)
        return SystemColors::toQColor(noneColorColor);
    return SystemColors::toQColor(value);
}

QRect swatchRect(const QRect &item)
{
    return QRect(item.left(), item.top(), item.height(), item.height()).adjusted(1, 1, -1, -1);
}

QFont fittingFont(const QFont &font, const QString &text, int width)
{
    const int needed = QFontMetrics(font).horizontalAdvance(text);
    if (needed <= width || width <= 0)
        return font;
    // Glyph widths do not scale exactly with the stretch: narrowed until it fits.
    QFont narrow = font;
    for (int stretch = std::max(1, 100 * width / needed); stretch >= 1; stretch -= 2) {
        narrow.setStretch(stretch);
        if (QFontMetrics(narrow).horizontalAdvance(text) <= width)
            break;
    }
    return narrow;
}

QColor outlineColour(const QColor &swatch, bool selected)
{
    if (swatch.red() > lightChannel || swatch.green() > lightChannel ||
        swatch.blue() > lightChannel)
        return QColor(Qt::black);
    if (selected)
        return QColor(Qt::white);
    return swatch;
}

void draw(QPainter &painter, const QRect &rect, const Entry &entry, const QPalette &palette,
          const QFont &font)
{
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.fillRect(rect, entry.selected ? SystemColors::toQColor(highlightColour)
                                          : palette.color(QPalette::Base));

    const QRect swatch = swatchRect(rect);
    if (swatch.isValid()) {
        painter.fillRect(swatch, entry.swatch);
        painter.setPen(QPen(outlineColour(entry.swatch, entry.selected), 0));
        painter.setBrush(Qt::NoBrush);
        // A cosmetic pen frames the rectangle's outermost pixels.
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }

    painter.setPen(entry.selected ? SystemColors::toQColor(highlightTextColour)
                                  : palette.color(QPalette::Text));
    const QFontMetrics metrics(font);
    const int textLeft = swatch.left() + swatch.width() + textGap;
    // A long name in a narrow picker shows whole, narrowed, rather than cut by the arrow;
    // a pixel stays clear before the edge.
    painter.setFont(fittingFont(font, entry.text, rect.right() - textLeft));
    const int textTop = rect.top() + (rect.height() - metrics.height()) / 2;
    painter.drawText(QRect(textLeft, textTop, rect.right() - textLeft + 1, metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, entry.text);

    if (entry.focused) {
        QPen dotted(entry.selected ? SystemColors::toQColor(highlightTextColour)
                                   : palette.color(QPalette::Text),
                    0, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

} // namespace ColorItemDrawing
