// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameExtents.h"

#include <QWidget>

namespace FrameExtents {

QMargins of(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

} // namespace FrameExtents
