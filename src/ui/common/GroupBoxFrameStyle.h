// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QProxyStyle>

// Fusion as it is, except that its group-box frame comes from a picture read here once.
// Fusion loads that picture through QPixmap, and Qt's image reader then loads every
// image-format plugin there is (SVG, GIF, ICO, JPEG, with their libraries) to ask each whether
// it reads PNG: on the first paint of the main window, and kept for the whole run. Read with
// the format given and nothing guessed, it comes from the built-in PNG reader alone.
class GroupBoxFrameStyle : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GroupBoxFrameStyle)

public:
    GroupBoxFrameStyle();
    ~GroupBoxFrameStyle() override;

    // Makes the application's style this one when it is Fusion; any other style is kept.
    static void installOverFusion();
    // Fusion's frame picture, from the built-in PNG reader; on any thread.
    static QImage readFramePicture();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    mutable QPixmap m_frame; // read at the first frame drawn
    mutable bool m_frameRead = false;
};
