// SPDX-License-Identifier: GPL-3.0-or-later
#include "GdiCanvas.h"
#include "GdiCanvasHelpers.h"

#include <QBitmap>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPathStroker>

#include <uemf.h>

#include <algorithm>
#include <cmath>

using namespace GdiCanvasHelpers;

// Text.

QFont GdiCanvas::qtFont(double pixelHeight) const
{
    const GdiFont &f = m_state.font;
    QFont font;
    if (!f.face.isEmpty())
        font.setFamily(f.face);
    switch (f.pitchAndFamily & 0xF0) {
    case 0x10:
        font.setStyleHint(QFont::Serif);
        break;
    case 0x30:
        font.setStyleHint(QFont::TypeWriter);
        break;
    case 0x40:
        font.setStyleHint(QFont::Cursive);
        break;
    case 0x50:
        font.setStyleHint(QFont::Decorative);
        break;
    default:
        font.setStyleHint(QFont::SansSerif);
        break;
    }
    font.setPixelSize(std::max(1, int(std::lround(pixelHeight))));
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

void GdiCanvas::textOut(QPointF reference, const QString &text, std::uint32_t options,
                        const std::optional<QRectF> &rect, const QList<double> &dx)
{
    if (m_pathOpen || m_state.rop2 == U_R2_NOP)
        return;
    const QTransform t = transform();
    const bool updateCp = m_state.textAlign & U_TA_UPDATECP;
    const QPointF anchor = updateCp ? m_state.current : reference;

    std::optional<QRegion> textClip;
    if (rect) {
        const QPolygonF box = t.map(QPolygonF(rect->normalized()));
        if ((options & U_ETO_OPAQUE) && spend(box.boundingRect()) && applyClip()) {
            QPainterPath p;
            p.addPolygon(box);
            m_painter.fillPath(p, m_state.backgroundColour);
        }
        if (options & U_ETO_CLIPPED)
            textClip = QRegion(box.toPolygon());
    }
    if (text.isEmpty())
        return;

    const QPointF origin = t.map(anchor);
    const double xScale = QLineF(t.map(QPointF(0, 0)), t.map(QPointF(1, 0))).length();
    const double yScale = QLineF(t.map(QPointF(0, 0)), t.map(QPointF(0, 1))).length();
    if (!std::isfinite(origin.x()) || !std::isfinite(origin.y()) || !std::isfinite(xScale) ||
        !std::isfinite(yScale))
        return;

    const double maxHeight =
        std::min(2.0 * std::max(m_area.width(), m_area.height()) + 16, MaxTextHeight);
    const GdiFont &f = m_state.font;
    double height = f.height == 0 ? 16.0 : std::abs(double(f.height)) * yScale;
    height = std::min(height, maxHeight);
    QFont font = qtFont(height);
    if (f.height > 0) {
        // A positive height is the cell height: ascent and descent together.
        const QFontMetricsF probe(font);
        const double cell = probe.ascent() + probe.descent();
        if (cell > 0)
            font = qtFont(std::min(height * height / cell, maxHeight));
    }
    const QFontMetricsF metrics(font);

    // Positions of each code unit along the baseline, in output pixels.
    QList<double> positions;
    double total = 0;
    if (!dx.isEmpty()) {
        positions.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            positions.append(total);
            const double step =
                i < dx.size() ? dx[i] * xScale : metrics.horizontalAdvance(text.at(i));
            total += std::isfinite(step) ? std::clamp(step, -1.0e6, 1.0e6) : 0;
        }
    } else {
        total = metrics.horizontalAdvance(text);
    }

    double x0 = 0;
    switch (m_state.textAlign & U_TA_CENTER) {
    case U_TA_RIGHT:
        x0 = -total;
        break;
    case U_TA_CENTER:
        x0 = -total / 2;
        break;
    default:
        break;
    }
    double y0 = 0;
    switch (m_state.textAlign & U_TA_BASELINE) {
    case U_TA_BASELINE:
        break;
    case U_TA_BOTTOM:
        y0 = -metrics.descent();
        break;
    default:
        y0 = metrics.ascent();
        break;
    }

    const double worldAngle = std::atan2(-m_state.world.m12(), m_state.world.m11()) * 180.0 / Pi;
    const double angle = f.escapement / 10.0 + (std::isfinite(worldAngle) ? worldAngle : 0);
    QTransform place;
    place.translate(origin.x(), origin.y());
    place.rotate(-angle);
    const QRectF cell(x0, y0 - metrics.ascent(), total, metrics.ascent() + metrics.descent());
    if (!spend(place.mapRect(cell)) || !applyClip())
        return;
    if (textClip)
        m_painter.setClipRegion(*textClip, Qt::IntersectClip);

    m_painter.setTransform(place);
    if (m_state.opaqueBackground)
        m_painter.fillRect(cell, m_state.backgroundColour);
    m_painter.setFont(font);
    m_painter.setPen(ropColour(m_state.textColour));
    if (positions.isEmpty()) {
        m_painter.drawText(QPointF(x0, y0), text);
    } else {
        for (qsizetype i = 0; i < text.size(); ++i) {
            qsizetype n = 1;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                text.at(i + 1).isLowSurrogate())
                n = 2;
            m_painter.drawText(QPointF(x0 + positions[i], y0), text.mid(i, n));
            i += n - 1;
        }
    }
    m_painter.resetTransform();

    if (updateCp && xScale > 0) {
        const double advance = total / xScale;
        if ((m_state.textAlign & U_TA_CENTER) == U_TA_LEFT)
            m_state.current.rx() += advance;
        else if ((m_state.textAlign & U_TA_CENTER) == U_TA_RIGHT)
            m_state.current.rx() -= advance;
    }
}
