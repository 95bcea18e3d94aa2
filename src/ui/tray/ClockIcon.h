// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QPixmap>

#include <map>
#include <tuple>

// The application's clock icon: a square clock face with a red frame and a grey
// shadow, drawn at whatever size it is asked for, so trays of 16 to 64 pixels and
// the window manager all get a crisp picture. Below 32 pixels it is a simpler drawing
// of its own: a round dial and two hands at three o'clock, on whole pixels.
//
//   QApplication::setWindowIcon(ClockIcon::icon());
class ClockIcon : public QIconEngine
{
public:
    ClockIcon() = default;

    static QIcon icon();

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;

private:
    ClockIcon(const ClockIcon &) = default;
    // Qt puts all the sizes into each window's icon property, twice for each window: each
    // size and mode is drawn once.
    std::map<std::tuple<int, int, QIcon::Mode>, QPixmap> m_drawn;
    // The sizes below 32 pixels, as icon themes draw them: simpler and on whole pixels.
    static void paintSmall(QPainter *painter, const QRect &rect, int side, bool disabled);
};
