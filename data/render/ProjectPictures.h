// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The pictures the program ships of itself, all drawn by the program's own code: the
// application icon from the tray's clock drawing, and the window shown in software
// centres' screenshots.
class ProjectPictures
{
public:
    // The icon theme's fixed sizes, in pixels.
    static const QList<int> &iconSizes();
    // The side of the scalable icon's drawing.
    static constexpr int scalableSide = 256;

    static QImage icon(int side);
    // Writes the clock drawing as SVG; false when the file cannot be written.
    static bool writeScalableIcon(const QString &path);

    // The main window at size, counting down (the commands in the running state) with a
    // corner picture shown; the settings
    // live in a temporary folder. An empty image when the folder cannot be made.
    static QImage mainWindow(const QSize &size);
};
