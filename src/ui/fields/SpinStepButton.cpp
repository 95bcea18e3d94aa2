// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinStepButton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

SpinStepButton::SpinStepButton(Direction direction, QWidget *parent)
    : QWidget(parent)
    , m_direction(direction)
    , m_repeatTimer(new QTimer(this))
{
    setObjectName(direction == Direction::Up ? QStringLiteral("upButton")
                                             : QStringLiteral("downButton"));
    m_repeatTimer->setObjectName(QStringLiteral("repeatTimer"));
    m_repeatTimer->setTimerType(Qt::PreciseTimer);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(m_repeatTimer, &QTimer::timeout, this, &SpinStepButton::repeat);
}

void SpinStepButton::repeat()
{
    // After the first delay the timer keeps going at the shorter period.
    if (m_repeatTimer->interval() != repeatMs)
        m_repeatTimer->setInterval(repeatMs);
    emit step();
}

void SpinStepButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    emit pressed();
    m_down = true;
    m_over = true;
    m_repeatTimer->start(firstRepeatMs);
    update();
}

void SpinStepButton::mouseMoveEvent(QMouseEvent *event)
{
    const bool over = rect().contains(event->position().toPoint());
    if (m_down && over != m_over) {
        m_over = over;
        update();
    }
}

void SpinStepButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_down) {
        event->ignore();
        return;
    }
    m_repeatTimer->stop();
    m_down = false;
    m_over = false;
    update();
    if (rect().contains(event->position().toPoint()))
        emit step();
}

void SpinStepButton::hideEvent(QHideEvent *event)
{
    cancelHold();
    QWidget::hideEvent(event);
}

void SpinStepButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A box popping up or the field being disabled takes the release away from us; the
    // held steps must not run on without it.
    if ((event->type() == QEvent::EnabledChange && !isEnabled()) ||
        (event->type() == QEvent::ActivationChange && !isActiveWindow()))
        cancelHold();
}

void SpinStepButton::cancelHold()
{
    m_repeatTimer->stop();
    if (m_down) {
        m_down = false;
        m_over = false;
        update();
    }
}

void SpinStepButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool sunken = m_down && m_over;
    const QPalette &pal = palette();
    painter.fillRect(rect(), sunken ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));

    // A small filled triangle, pushed one pixel down and right while pressed.
    const QRectF area = QRectF(rect()).translated(sunken ? 1 : 0, sunken ? 1 : 0);
    const qreal half = std::min(area.width(), area.height() * 2) / 5.0;
    const QPointF c = area.center();
    QPainterPath arrow;
    if (m_direction == Direction::Up) {
        arrow.moveTo(c.x() - half, c.y() + half / 2);
        arrow.lineTo(c.x() + half, c.y() + half / 2);
        arrow.lineTo(c.x(), c.y() - half / 2);
    } else {
        arrow.moveTo(c.x() - half, c.y() - half / 2);
        arrow.lineTo(c.x() + half, c.y() - half / 2);
        arrow.lineTo(c.x(), c.y() + half / 2);
    }
    arrow.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(arrow, isEnabled() ? pal.color(QPalette::ButtonText)
                                        : pal.color(QPalette::Disabled, QPalette::ButtonText));
}
