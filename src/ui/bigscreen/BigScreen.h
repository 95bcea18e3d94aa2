// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <optional>

class QLabel;
class QScreen;
class QWidget;

// The main window's big-screen behaviour. The display's size always comes from the window,
// whatever its font. Both of these are off by default:
//   digits that fit: the display's font is the largest at which "00:00:00" fits its
//   area with a margin, chosen again whenever the display's size changes and when the
//   settings are applied; a countdown tick only changes the text;
//   full screen on a chosen monitor: full screen moves the window to that monitor
//   first, and window display brings it back to the monitor it came from. A monitor
//   that goes away while it shows the window hands it to one that exists.
//
// Wiring in the main window:
//   m_bigScreen = new BigScreen(this, Label7);
//   applying the settings: m_bigScreen->setAutofit(...); m_bigScreen->setMonitor(...);
//   ac_fullExecute: m_bigScreen->prepareFullScreen(); then the display mode;
//   ac_winExecute:  m_bigScreen->prepareWindowed();   then the display mode.
class BigScreen : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BigScreen)

public:
    BigScreen(QWidget *window, QLabel *display);

    // While on, the display's font follows its area; off leaves the font to the caller
    // (the font size from the settings).
    void setAutofit(bool on);
    bool autofit() const { return m_autofit; }
    // Fits the digits to the display's area now; does nothing while autofit is off.
    void refit();

    void setMonitor(std::int64_t setting);
    std::int64_t monitor() const { return m_monitor; }
    // A monitor chosen for this run (from the command line or the bus): it goes before the
    // setting until the program ends.
    void setMonitorForRun(std::int64_t monitor) { m_monitorForRun = monitor; }
    // The monitor full screen goes to now: the chosen one, else the window's own.
    QScreen *fullScreenTarget() const;

    void prepareFullScreen();
    void prepareWindowed();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveToScreen(QScreen *screen);
    void screenRemoved(QScreen *screen);
    // Moves on Wayland, where the compositor places windows (see startCompositorMove).
    bool placedByCompositor() const;
    void startCompositorMove(QScreen *target, bool windowedAfter);
    void compositorStep();

    QWidget *const m_window;
    QLabel *const m_display;
    bool m_autofit = false;
    std::int64_t m_monitor = 0;
    std::optional<std::int64_t> m_monitorForRun;
    // Where window display brings the window back to, while full screen elsewhere.
    QPointer<QScreen> m_windowedScreen;
    enum class Step { None, LeavingFullScreen, EnteringFullScreen };
    Step m_step = Step::None;
    QPointer<QScreen> m_stepScreen;
    bool m_windowedAfter = false;
};
