// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

// The photograph the corner picture's tests and benchmarks load: a diagonal gradient with an
// ellipse in the middle, so a roll or a scaled copy shows real variation.
namespace TestPictures {

inline QImage photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(250, 200, 40));
    gradient.setColorAt(1, QColor(30, 90, 200));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(Qt::darkGreen);
    painter.drawEllipse(QRect(width / 4, height / 4, width / 2, height / 2));
    return image;
}

} // namespace TestPictures
