// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RemoteCommand.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QThread>

#include <functional>

class RemoteServerPort;
class RemoteServices;
class TimerCore;

// The web remote as the window's thread sees it: starts and stops the server on its own
// thread, posts it the countdown's state whenever it changes, and runs the commands that
// come back through the timer core. Off until start(). The server and everything else that
// needs the network libraries come from the network module, loaded at the first start.
//
//   RemoteControl remote(core);
//   remote.setHooks({...});
//   remote.start(8760);     // a new token; linksChanged() once it listens
//   remote.controlUrl();    // http://192.168.1.20:8760/control?t=...
class RemoteControl : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemoteControl)

public:
    struct Look
    {
        QString foreground; // #rrggbb
        QString background;
    };
    struct Hooks
    {
        // The display's colours as the window shows them.
        std::function<Look()> look;
        // Runs a command under the window's error box; false when it raised an error.
        std::function<bool(const std::function<void()> &)> guarded;
        // "full", "win" or "hide".
        std::function<void(const QString &)> displayMode;
    };

    explicit RemoteControl(TimerCore *core, QObject *parent = nullptr);
    ~RemoteControl() override;

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    // Where to listen, an IPv4 or IPv6 address: every address when empty, as by default;
    // tests give the loopback address.
    void setListenAddress(const QString &address) { m_listen = address; }
    // The network side when it is linked in (tests); else the installation's module.
    void setServices(RemoteServices *services) { m_services = services; }

    // A module that cannot be loaded is reported by failed(), as a port that is taken.
    void start(quint16 port);
    void stop();
    bool isRunning() const { return m_running; }
    bool isListening() const { return m_port != 0; }
    // A new token: the old control links stop working.
    void renewToken();

    // The links for the QR codes and for --remote-url; empty until the server listens.
    QString viewUrl() const;
    QString controlUrl() const;
    // A link as a QR code; a null image while the network side is not loaded.
    QImage qrCode(const QString &text) const;

    // Why the server does not listen, after failed(); empty while it starts or listens.
    QString error() const { return m_error; }
    QString message() const { return m_message; }
    // The state as the API and the pages have it.
    QByteArray stateJson() const;

    // Runs one command through the core: 200, 409 when the state refuses it, 500 when it
    // raised an error (shown by the window).
    int execute(const RemoteCommand &command);

signals:
    // The links changed: the server listens, or has a new token.
    void linksChanged();
    void failed(const QString &error);
    void messageChanged(const QString &text);

private:
    void schedulePublish();
    void publish();
    // Runs f(server) on the server's thread.
    template<typename F>
    void post(F f);
    void onListening(quint64 run, bool ok, quint16 port, const QString &error);
    void onCommand(quint64 run, quint64 ticket, const RemoteCommand &command);

    TimerCore *const m_core;
    Hooks m_hooks;
    QString m_listen;
    RemoteServices *m_services = nullptr;
    QThread m_thread;
    RemoteServerPort *m_server = nullptr;
    bool m_running = false;
    // Counts the starts: what an earlier server posted after its stop is dropped.
    quint64 m_run = 0;
    QByteArray m_token;
    quint16 m_port = 0;
    QString m_error;
    QString m_message;
    bool m_publishQueued = false;
};
