// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RemoteCommand.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QThread>

#include <functional>

class RemoteServer;
class TimerCore;

// The web remote as the window's thread sees it: starts and stops the server on its own
// thread, posts it the countdown's state whenever it changes, and runs the commands that
// come back through the timer core. Off until start().
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
    // Where to listen: every address by default; tests give the loopback address.
    void setListenAddress(const QHostAddress &address) { m_listen = address; }

    void start(quint16 port);
    void stop();
    bool isRunning() const { return m_server != nullptr; }
    bool isListening() const { return m_port != 0; }
    // A new token: the old control links stop working.
    void renewToken();

    // The links for the QR codes and for --remote-url; empty until the server listens.
    QString viewUrl() const;
    QString controlUrl() const;
    // The machine's address on its local network, or the loopback address without one.
    static QString lanAddress();

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
    void onListening(bool ok, quint16 port, const QString &error);
    void onCommand(quint64 ticket, const RemoteCommand &command);

    TimerCore *const m_core;
    Hooks m_hooks;
    QHostAddress m_listen{QHostAddress::Any};
    QThread m_thread;
    RemoteServer *m_server = nullptr;
    QByteArray m_token;
    quint16 m_port = 0;
    QString m_error;
    QString m_message;
    bool m_publishQueued = false;
};
