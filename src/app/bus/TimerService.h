// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Request.h"
#include "TimerCore.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <functional>

class frm_main;

// The bus interface io.github.tarvik.Timer1 (io.github.tarvik.Timer1.xml) on the main window:
// its methods drive the timer core and the window's display commands, its properties follow
// the core. The first instance makes the calls of its own command line here too.
//
//   TimerService service;                 // before the window, so that no call finds no object
//   service.registerOn(QDBusConnection::sessionBus());
//   frm_main window;
//   service.attach(&window);              // calls wait until the window has started up
//   service.runOwn(request.calls());
class TimerService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimerService)
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(int Total READ total)
    Q_PROPERTY(int Elapsed READ elapsed)
    Q_PROPERTY(int Remaining READ remaining)
    Q_PROPERTY(QString Display READ display)
    Q_PROPERTY(QString DisplayMode READ displayMode)

public:
    using Clock = std::function<QDateTime()>;

    // now: the wall clock StartUntil counts from.
    explicit TimerService(Clock now = &QDateTime::currentDateTime, QObject *parent = nullptr);
    ~TimerService() override;

    // Serves the interface on the connection; false when the object could not be registered.
    bool registerOn(const QDBusConnection &bus);
    void attach(frm_main *window);

    // Runs the calls once the window has started up, as if they came over the bus and before
    // those that did; a call that fails says why on standard error.
    void runOwn(const QList<Request::Call> &calls);

    QString state() const;
    int total() const;
    int elapsed() const;
    int remaining() const;
    QString display() const;
    QString displayMode() const;

public slots:
    void Start(int seconds);
    void StartUntil(const QString &time);
    void Pause();
    void Resume();
    void End();
    void SetDisplay(const QString &mode);
    void SetMonitor(int monitor);
    void Present();
    void EnableRemote();
    // Answered later, once the remote listens: the return value is not used.
    QString RemoteLinks(QString &control);
    void Quit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a call came to: no error name for success.
    struct Outcome
    {
        QString error;
        QString message;
    };
    using Action = std::function<Outcome()>;
    struct Waiting
    {
        QDBusMessage message;
        QDBusConnection bus;
        Action action;
    };

    // Runs the action now, or after the start-up when the window is not there yet; the
    // caller on the bus gets the outcome as the reply.
    void perform(Action action);
    bool isReady() const;
    // A bad argument: InvalidArgs to the caller on the bus.
    void rejectArguments(const QString &message);
    // The first instance's own calls, then those that came over the bus while it started.
    void runWaiting();
    void invoke(const Request::Call &call);
    void reply(const Waiting &call, const Outcome &outcome);

    Outcome start(int seconds);
    Outcome moveCountdown(TimerCore::Command command, bool (TimerCore::*run)());
    // Why the state refuses the command now; empty when it allows it.
    QString refusal(TimerCore::Command command) const;
    Outcome setDisplay(const QString &mode);
    Outcome present();
    // Answers the waiting RemoteLinks calls that can be answered now.
    void answerLinkCalls();

    QVariantMap properties() const;
    // Announces what changed since the last announcement, once the current event is done.
    void announceLater();
    void announce();

    Clock m_now;
    QPointer<frm_main> m_window;
    QDBusConnection m_bus;
    QList<Request::Call> m_own;
    QList<Waiting> m_waiting;
    // RemoteLinks calls waiting for the remote to listen, bounded by m_linkTimeout.
    QList<Waiting> m_linkCalls;
    QTimer m_linkTimeout;
    bool m_linkWaitOver = false;
    QTimer m_announce;
    QVariantMap m_announced;
};
