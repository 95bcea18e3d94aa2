// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Below this side the clock is drawn by paintSmall.
constexpr int smallestDetailedSide = 32;

} // namespace

QIcon ClockIcon::icon()
{
    return QIcon(new ClockIcon);
}

void ClockIcon::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State)
{
    const int side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    if (side < smallestDetailedSide) {
        paintSmall(painter, rect, side, mode == QIcon::Disabled);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QRectF square(rect.x() + (rect.width() - side) / 2.0,
                        rect.y() + (rect.height() - side) / 2.0, side, side);

    // Shadow below and right, frame, then the face; widths keep to whole pixels.
    const qreal shadow = std::max(1.0, std::round(side / 16.0));
    const qreal frame = std::max(1.0, std::round(side / 10.0));
    const QRectF body = square.adjusted(0, 0, -shadow, -shadow);
    const bool disabled = mode == QIcon::Disabled;
    painter->fillRect(body.translated(shadow, shadow), QColor(128, 128, 128));
    painter->fillRect(body, disabled ? QColor(150, 150, 150) : QColor(208, 0, 0));
    const QRectF face = body.adjusted(frame, frame, -frame, -frame);
    painter->fillRect(face, Qt::white);

    const QPointF centre = face.center();
    const qreal radius = face.width() / 2.0;
    const QColor ink = disabled ? QColor(120, 120, 120) : QColor(0, 0, 0);
    if (side >= 24) {
        // Hour marks only where there is room for them.
        QPen markPen(ink, std::max(1.0, side / 32.0));
        painter->setPen(markPen);
        for (int hour = 0; hour < 12; ++hour) {
            const qreal angle = qDegreesToRadians(hour * 30.0);
            const qreal outer = radius * 0.9;
            const qreal inner = hour % 3 == 0 ? radius * 0.68 : radius * 0.78;
            painter->drawLine(centre + QPointF(std::sin(angle), -std::cos(angle)) * inner,
                              centre + QPointF(std::sin(angle), -std::cos(angle)) * outer);
        }
    }
    // Ten past ten: the hands in a V.
    const auto hand = [&](qreal degrees, qreal length, qreal width) {
        QPen pen(ink, width, Qt::SolidLine, Qt::RoundCap);
        painter->setPen(pen);
        const qreal angle = qDegreesToRadians(degrees);
        painter->drawLine(centre, centre + QPointF(std::sin(angle), -std::cos(angle)) * length);
    };
    hand(305.0, radius * 0.55, std::max(1.0, side / 12.0));
    hand(60.0, radius * 0.8, std::max(1.0, side / 18.0));
    painter->restore();
}

void ClockIcon::paintSmall(QPainter *painter, const QRect &rect, int side, bool disabled)
{
    // Tick marks and slanted hands blur into a "V" below 32 pixels, so the small sizes are
    // drawn on whole pixels: the frame, a round dial, the quarter marks where they fit, and
    // two straight hands at three o'clock, one up and one across, that cannot merge.
    const bool tiny = side < 20;
    const int frame = tiny ? 2 : 3;
    const int body = side - 1; // the shadow takes the last row and column
    const int face = body - 2 * frame;
    const int half = face / 2;
    const int centre = frame + half;
    const QColor red = disabled ? QColor(150, 150, 150) : QColor(208, 0, 0);
    const QColor ink = disabled ? QColor(120, 120, 120) : QColor(0, 0, 0);
    const QColor dial = disabled ? QColor(150, 150, 150) : QColor(80, 80, 80);

    painter->save();
    painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(QRect(1, 1, body, body), QColor(128, 128, 128));
    painter->fillRect(QRect(0, 0, body, body), red);
    painter->fillRect(QRect(frame, frame, face, face), Qt::white);

    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(dial, 1.0));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(QPointF(centre + 0.5, centre + 0.5), half, half);
    painter->setRenderHint(QPainter::Antialiasing, false);

    if (!tiny) {
        constexpr int mark = 2;
        const int far = frame + face - 1 - mark;
        painter->fillRect(QRect(centre, frame + 1, 1, mark), dial);
        painter->fillRect(QRect(centre, far, 1, mark), dial);
        painter->fillRect(QRect(frame + 1, centre, mark, 1), dial);
        painter->fillRect(QRect(far, centre, mark, 1), dial);
    }
    const int width = tiny ? 1 : 2;
    const int minuteHand = half - (tiny ? 1 : 3);
    const int hourHand = half - (tiny ? 2 : 4);
    painter->fillRect(QRect(centre - (width - 1) / 2, centre - minuteHand, width, minuteHand + 1), ink);
    painter->fillRect(QRect(centre, centre - (width - 1) / 2, hourHand + 1, width), ink);
    painter->restore();
}

QPixmap ClockIcon::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    QPixmap &pixmap = m_drawn[{size.width(), size.height(), mode}];
    if (pixmap.isNull() && !size.isEmpty()) {
        pixmap = QPixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    }
    return pixmap;
}

QIconEngine *ClockIcon::clone() const
{
    return new ClockIcon(*this);
}

QList<QSize> ClockIcon::availableSizes(QIcon::Mode, QIcon::State)
{
    return {QSize(16, 16), QSize(22, 22), QSize(24, 24),
            QSize(32, 32), QSize(48, 48), QSize(64, 64)};
}

QString ClockIcon::key() const
{
    return QStringLiteral("ClockIcon");
}
