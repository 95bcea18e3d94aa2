// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QScreen;
class QWidget;

// The three display modes of the main window.
//   full screen: the window manager's full-screen state, no frame, covering panels;
//   window display: framed and maximised;
//   hidden display: framed and minimised. Where a minimise request may be ignored
//   (Wayland) and the tray icon sits in a notification area, the window is hidden
//   instead and the tray brings it back; without the tray it is only asked to
//   minimise, so it never becomes unreachable. Full screen from there shows the window
//   framed first, so that the compositor focuses it where the user is, and full screen
//   on its monitor as soon as it is shown.
// A mode that is already in force changes nothing on screen.
//
// Wiring in the main window:
//   m_display = new DisplayModes(this);
//   connect(m_display, &DisplayModes::changed, this, &frm_main::<place the corner picture>);
//   m_display->setTrayAvailable(RxTrayIcon1->isTrayAvailable());
//   connect(RxTrayIcon1, &TrayIcon::trayAvailabilityChanged, m_display,
//           &DisplayModes::setTrayAvailable);
//   ac_fullExecute: m_display->showFullScreen(); PopupMenu1->N2->setChecked(true);
//   ac_winExecute:  m_display->showWindowed();
//   ac_hideExecute: m_display->showHidden();
class DisplayModes : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DisplayModes)

public:
    explicit DisplayModes(QWidget *window);

    void showFullScreen();
    void showWindowed();
    void showHidden();

    // Whether the tray icon sits in a notification area. When it goes away while the
    // window is hidden, the window comes back as hidden display would have left it
    // without a tray.
    void setTrayAvailable(bool available);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // After each of the three, also when nothing had to change.
    void changed();

private:
    void apply(Qt::WindowStates states);
    // Full screen for a window back from the tray, once it is shown framed.
    void finishFullScreen();

    QWidget *const m_window;
    bool m_trayAvailable = false;
    bool m_hiddenToTray = false;
    bool m_fullScreenPending = false;
    QPointer<QScreen> m_fullScreenScreen;
};
