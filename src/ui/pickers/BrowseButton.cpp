// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowseButton.h"

#include "SystemColors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace {

constexpr std::int32_t btnFaceColour = std::int32_t(0xFF00000Fu);
constexpr std::int32_t btnHighlightColour = std::int32_t(0xFF000014u);

} // namespace

BrowseButton::BrowseButton(QWidget *parent)
    : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setAutoRaise(false);
    setIcon(QIcon(folderPicture()));
    setIconSize(QSize(14, 12));
}

QPixmap BrowseButton::folderPicture()
{
    QPixmap picture(14, 12);
    picture.fill(Qt::transparent);

    const QColor black(0, 0, 0);
    const QColor grey(128, 128, 128);
    const QColor white(255, 255, 255);

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Back of the folder with its tab.
    p.setPen(black);
    p.setBrush(white);
    p.drawPolygon(QPolygon({QPoint(0, 11), QPoint(0, 3), QPoint(1, 2), QPoint(4, 2), QPoint(5, 3),
                            QPoint(8, 3), QPoint(8, 11)}));

    // The opened front flap, tipped forward.
    p.setBrush(grey);
    p.drawPolygon(QPolygon({QPoint(0, 11), QPoint(3, 6), QPoint(13, 6), QPoint(10, 11)}));

    // Curved arrow above the right side.
    p.setBrush(Qt::NoBrush);
    p.drawPoint(8, 1);
    p.drawLine(9, 0, 11, 0);
    p.drawPoint(12, 1);
    p.drawLine(13, 2, 13, 3);
    p.drawLine(11, 3, 12, 4);
    p.drawPoint(12, 3);
    return picture;
}

void BrowseButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (isDown())
        return;
    const int h = height();
    QPainter p(this);
    p.fillRect(QRect(0, 0, 1, h - 1), SystemColors::toQColor(btnFaceColour));
    p.fillRect(QRect(1, 1, 1, h - 3), SystemColors::toQColor(btnHighlightColour));
}
