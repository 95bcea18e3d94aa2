// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

// The browse button that sits inside the right edge of a file-name field: a flat-faced
// button with a small opened-folder picture and two bright lines down its left edge that
// join it to the field's sunken border while it is up.
class BrowseButton : public QToolButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowseButton)

public:
    explicit BrowseButton(QWidget *parent = nullptr);

    static constexpr int buttonWidth = 21;

    // 14 x 12 opened folder with a curved arrow above its right side, on a transparent ground.
    static QPixmap folderPicture();

protected:
    void paintEvent(QPaintEvent *event) override;
};
