// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class AwakeBackend;
class QWidget;

// Keeps the screen saver and screen blanking off while held. On X11 the desktop's
// org.freedesktop.ScreenSaver service inhibits them where one owns that name, else the X
// screen-saver extension is suspended; on Wayland an idle inhibitor is put on the window's
// surface where the compositor offers the protocol, else the desktop portal is asked.
// Nothing here waits for an answer; a hold that came too late is released when it comes.
class ScreenAwake : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenAwake)

public:
    enum class DisplayServer
    {
        X11,
        Wayland, // or any other than X11
    };
    // The one the program runs on, by Qt's platform plugin.
    static DisplayServer currentDisplayServer();

    // window: the window whose surface carries the inhibitor on Wayland.
    explicit ScreenAwake(QWidget *window, QObject *parent = nullptr,
                         DisplayServer server = currentDisplayServer());
    ~ScreenAwake() override;

    void setHeld(bool held);
    bool isHeld() const { return m_held; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // On X11 the choice waits for the bus to say whether the service is there.
    void chooseAndHold();
    void holdWith(std::unique_ptr<AwakeBackend> backend);
    void releaseBackend();

    QPointer<QWidget> m_window;
    const DisplayServer m_server;
    std::unique_ptr<AwakeBackend> m_backend;
    bool m_held = false;
    // Counts holds, so that an answer about an older one is dropped.
    quint64 m_generation = 0;
};
