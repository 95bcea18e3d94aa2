// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

// The main window takes the keyboard focus where the window manager would not hand it over.
// A window kept off the taskbar is no target of the window manager's own focus choice on
// X11 (openbox gives it none when it maps, nor when a box it owns closes), so there the
// window asks for the focus itself; Wayland compositors give it anyway, and an activation
// request would only mark the window urgent.
namespace WindowFocus {

// From now on: each time window is shown, it asks for the focus once it is mapped.
void takeWhenShown(QWidget *window);

// window asks for the focus now, if it is shown, not minimised and not active already.
void take(QWidget *window);

// Kept while a modal box or dialog runs: when it ends, the box's owner's window (or, for a
// box without an owner, the window that was active when it opened) takes the focus back,
// unless another modal window has come up meanwhile.
class ReturnAfterModal
{
public:
    explicit ReturnAfterModal(QWidget *owner = nullptr);
    ~ReturnAfterModal();
    // For a dialog made after this: its owner.
    void setOwner(QWidget *owner);
    ReturnAfterModal(const ReturnAfterModal &) = delete;
    ReturnAfterModal &operator=(const ReturnAfterModal &) = delete;

private:
    QPointer<QWidget> m_window;
};

} // namespace WindowFocus
