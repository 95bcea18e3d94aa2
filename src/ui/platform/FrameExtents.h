// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>

class QWidget;

// The frame the window manager has put around a top-level window, as far as it has told
// it. Qt's own figure can lag behind or stay empty on X11, where the frame arrives after
// the window is mapped.
namespace FrameExtents {

QMargins of(const QWidget *window);

} // namespace FrameExtents
