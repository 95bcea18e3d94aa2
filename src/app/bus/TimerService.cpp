// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerService.h"

#include "ArgumentRules.h"
#include "BigScreen.h"
#include "CommandList.h"
#include "EndTime.h"
#include "ErrorGuard.h"
#include "RemoteFront.h"
#include "TarvikError.h"
#include "Timer1Adaptor.h"
#include "TimerBus.h"
#include "frm_main.h"

#include <QDBusError>
#include <QEvent>

#include <cstdio>
#include <utility>

namespace {

const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString failed = QStringLiteral("org.freedesktop.DBus.Error.Failed");
const QString remoteOff = QStringLiteral("io.github.tarvik.Timer1.Error.RemoteOff");
// A server that has not listened by then will not.
constexpr int linkWaitMs = 10000;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

TimerService::TimerService(Clock now, QObject *parent)
    : QObject(parent)
    , m_now(std::move(now))
    , m_bus(QString())
{
    new Timer1Adaptor(this);
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &TimerService::announce);
    m_linkTimeout.setSingleShot(true);
    m_linkTimeout.setInterval(linkWaitMs);
    connect(&m_linkTimeout, &QTimer::timeout, this, [this] {
        m_linkWaitOver = true;
        answerLinkCalls();
    });
}

TimerService::~TimerService() = default;

bool TimerService::registerOn(const QDBusConnection &bus)
{
    m_bus = bus;
    return m_bus.registerObject(TimerBus::path, this);
}

void TimerService::attach(frm_main *window)
{
    m_window = window;
    TimerCore *core = window->timerCore();
    connect(core, &TimerCore::stateChanged, this, &TimerService::announceLater);
    connect(core, &TimerCore::countersChanged, this, &TimerService::announceLater);
    connect(core, &TimerCore::displayChanged, this, &TimerService::announceLater);
    window->installEventFilter(this);
    RemoteControl *remote = window->remote()->control();
    connect(remote, &RemoteControl::linksChanged, this, &TimerService::answerLinkCalls);
    connect(remote, &RemoteControl::failed, this, &TimerService::answerLinkCalls);
    m_announced = properties();
    if (isReady())
        runWaiting();
    else
        connect(window, &frm_main::startedUp, this, &TimerService::runWaiting);
}

bool TimerService::isReady() const
{
    return m_window && m_window->isStartedUp();
}

// The properties

QString TimerService::state() const
{
    return CommandStates::stateName(m_window ? m_window->timerCore()->state()
                                             : CountdownState::Idle);
}

int TimerService::total() const
{
    return m_window ? m_window->timerCore()->total() : 0;
}

int TimerService::elapsed() const
{
    return m_window ? m_window->timerCore()->elapsed() : 0;
}

int TimerService::remaining() const
{
    return m_window ? m_window->timerCore()->remaining() : 0;
}

QString TimerService::display() const
{
    return m_window ? m_window->timerCore()->displayText() : QStringLiteral("00:00:00");
}

QString TimerService::displayMode() const
{
    // As the window is on screen, also after the frame's own buttons or the tray changed it.
    DisplayMode mode = DisplayMode::Window;
    if (m_window && (!m_window->isVisible() || m_window->isMinimized()))
        mode = DisplayMode::Hidden;
    else if (m_window && m_window->isFullScreen())
        mode = DisplayMode::FullScreen;
    return DisplayModeNames::name(mode);
}

QVariantMap TimerService::properties() const
{
    return {
        {QStringLiteral("State"), state()},     {QStringLiteral("Total"), total()},
        {QStringLiteral("Elapsed"), elapsed()}, {QStringLiteral("Remaining"), remaining()},
        {QStringLiteral("Display"), display()}, {QStringLiteral("DisplayMode"), displayMode()},
    };
}

void TimerService::announceLater()
{
    // The counters and the display of one tick change one after the other: one signal says all.
    if (!m_announce.isActive())
        m_announce.start();
}

void TimerService::announce()
{
    const QVariantMap now = properties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty() || !m_bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        TimerBus::path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << TimerBus::interface << changed << QStringList();
    m_bus.send(signal);
}

bool TimerService::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowStateChange:
    case QEvent::Show:
    case QEvent::Hide:
        announceLater();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// The calls

void TimerService::perform(Action action)
{
    if (!calledFromDBus()) {
        const Outcome outcome = action();
        if (!outcome.error.isEmpty())
            std::fprintf(stderr, "tarvik-timer: %s\n", qUtf8Printable(outcome.message));
        return;
    }
    Waiting call{message(), connection(), std::move(action)};
    if (isReady()) {
        // An outcome that is no error is the method's plain reply.
        const Outcome outcome = call.action();
        if (!outcome.error.isEmpty())
            sendErrorReply(outcome.error, outcome.message);
        return;
    }
    setDelayedReply(true);
    m_waiting.append(std::move(call));
}

void TimerService::rejectArguments(const QString &message)
{
    if (calledFromDBus())
        sendErrorReply(invalidArgs, message);
    else
        std::fprintf(stderr, "tarvik-timer: %s\n", qUtf8Printable(message));
}

void TimerService::runWaiting()
{
    if (!isReady())
        return;
    const QList<Request::Call> own = std::exchange(m_own, {});
    for (const Request::Call &call : own)
        invoke(call);
    while (isReady() && !m_waiting.isEmpty()) {
        const Waiting call = m_waiting.takeFirst();
        reply(call, call.action());
    }
    answerLinkCalls();
}

void TimerService::reply(const Waiting &call, const Outcome &outcome)
{
    if (outcome.error.isEmpty())
        call.bus.send(call.message.createReply());
    else
        call.bus.send(call.message.createErrorReply(outcome.error, outcome.message));
}

void TimerService::runOwn(const QList<Request::Call> &calls)
{
    m_own = calls;
    runWaiting();
}

void TimerService::invoke(const Request::Call &call)
{
    // The slots, called outside a bus call, run the action at once.
    const QByteArray method = call.method.toLatin1();
    const QVariant argument = call.arguments.value(0);
    if (call.arguments.isEmpty())
        QMetaObject::invokeMethod(this, method.constData());
    else if (argument.typeId() == QMetaType::Int)
        QMetaObject::invokeMethod(this, method.constData(), Q_ARG(int, argument.toInt()));
    else
        QMetaObject::invokeMethod(this, method.constData(), Q_ARG(QString, argument.toString()));
}

QString TimerService::refusal(TimerCore::Command command) const
{
    const TimerCore &core = *m_window->timerCore();
    if (core.isAllowed(command)) {
        // The settings command is enabled whenever a start is, except while its dialog is
        // open, which applies the settings again as it closes.
        if (command == TimerCore::Command::Start && !m_window->ActionList1->ac_param->isEnabled())
            return QStringLiteral("cannot start: the settings dialog is open");
        return {};
    }
    const CountdownState state = core.state();
    switch (command) {
    case TimerCore::Command::Start:
        return state == CountdownState::Running
                   ? QStringLiteral("cannot start: a countdown is running; end it first")
                   : QStringLiteral("cannot start: a countdown is paused; resume or end it first");
    case TimerCore::Command::Pause:
        return state == CountdownState::Idle
                   ? QStringLiteral("cannot pause: no countdown is running")
                   : QStringLiteral("cannot pause: the countdown is paused already");
    case TimerCore::Command::Resume:
        return state == CountdownState::Idle
                   ? QStringLiteral("cannot resume: no countdown is paused")
                   : QStringLiteral("cannot resume: the countdown is running, not paused");
    case TimerCore::Command::End:
        return QStringLiteral("cannot end: no countdown is running");
    }
    return QStringLiteral("not allowed now");
}

TimerService::Outcome TimerService::moveCountdown(TimerCore::Command command,
                                                  bool (TimerCore::*run)())
{
    const QString why = refusal(command);
    if (!why.isEmpty())
        return {TimerBus::notAllowed, why};
    (m_window->timerCore()->*run)();
    return {};
}

TimerService::Outcome TimerService::start(int seconds)
{
    const QString why = refusal(TimerCore::Command::Start);
    if (!why.isEmpty())
        return {TimerBus::notAllowed, why};
    QString error;
    try {
        TimerCore *core = m_window->timerCore();
        if (seconds == 0)
            core->start();
        else
            core->startFor(seconds);
        return {};
    } catch (const TarvikError &e) {
        error = e.message();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    }
    // The window shows it as for F4, once the caller has its answer.
    QTimer::singleShot(0, m_window, [error] { ErrorGuard::showError(error); });
    return {failed, error};
}

void TimerService::Start(int seconds)
{
    if (seconds < 0) {
        rejectArguments(QStringLiteral("invalid seconds %1: use 0 for the saved "
                                       "duration, or 1 to 2147483647")
                            .arg(seconds));
        return;
    }
    perform([this, seconds] { return start(seconds); });
}

void TimerService::StartUntil(const QString &time)
{
    const auto end = ArgumentRules::clockTime(time);
    if (!end) {
        rejectArguments(QStringLiteral("invalid time %1: use %2")
                            .arg(quoted(time), ArgumentRules::clockTimeForms()));
        return;
    }
    // Counted from the moment the window can start it.
    perform([this, end] { return start(EndTime::secondsUntil(*end, m_now())); });
}

void TimerService::Pause()
{
    perform([this] { return moveCountdown(TimerCore::Command::Pause, &TimerCore::pause); });
}

void TimerService::Resume()
{
    perform([this] { return moveCountdown(TimerCore::Command::Resume, &TimerCore::resume); });
}

void TimerService::End()
{
    perform([this] { return moveCountdown(TimerCore::Command::End, &TimerCore::end); });
}

void TimerService::SetDisplay(const QString &mode)
{
    const auto chosen = DisplayModeNames::fromName(mode);
    if (!chosen) {
        rejectArguments(QStringLiteral("invalid display mode %1: use full-screen, "
                                       "window or hidden")
                            .arg(quoted(mode)));
        return;
    }
    perform([this, chosen] {
        const CommandList &list = *m_window->ActionList1;
        switch (*chosen) {
        case DisplayMode::FullScreen:
            list.ac_full->execute();
            break;
        case DisplayMode::Window:
            list.ac_win->execute();
            break;
        case DisplayMode::Hidden:
            list.ac_hide->execute();
            break;
        }
        return Outcome{};
    });
}

void TimerService::SetMonitor(int monitor)
{
    if (monitor < 0) {
        rejectArguments(QStringLiteral("invalid monitor %1: use %2")
                            .arg(QString::number(monitor), ArgumentRules::monitorForms()));
        return;
    }
    perform([this, monitor] {
        m_window->bigScreen()->setMonitorForRun(monitor);
        return Outcome{};
    });
}

void TimerService::EnableRemote()
{
    perform([this] {
        m_window->remote()->forceOn();
        return Outcome{};
    });
}

QString TimerService::RemoteLinks(QString &control)
{
    control.clear();
    if (!calledFromDBus())
        return {};
    setDelayedReply(true);
    m_linkCalls.append({message(), connection(), {}});
    // After this call's own event: an EnableRemote just before it has started the server.
    QMetaObject::invokeMethod(this, &TimerService::answerLinkCalls, Qt::QueuedConnection);
    return {};
}

void TimerService::answerLinkCalls()
{
    if (m_linkCalls.isEmpty() || !isReady())
        return;
    const RemoteControl *remote = m_window->remote()->control();
    QString error;
    QString text;
    if (!remote->isRunning()) {
        error = remoteOff;
        text = QStringLiteral("the phone remote is off: turn on 手机遥控 in the settings, or "
                              "give --remote");
    } else if (!remote->error().isEmpty()) {
        error = failed;
        text = QStringLiteral("the phone remote cannot listen: %1").arg(remote->error());
    } else if (!remote->isListening()) {
        // The wait starts here, not at the call: the window may still be starting.
        if (!m_linkWaitOver) {
            if (!m_linkTimeout.isActive())
                m_linkTimeout.start();
            return;
        }
        error = failed;
        text = QStringLiteral("the phone remote did not start listening");
    }
    for (const Waiting &call : std::exchange(m_linkCalls, {})) {
        if (error.isEmpty())
            call.bus.send(call.message.createReply({remote->viewUrl(), remote->controlUrl()}));
        else
            call.bus.send(call.message.createErrorReply(error, text));
    }
    m_linkTimeout.stop();
    m_linkWaitOver = false;
}

void TimerService::Present()
{
    perform([this] {
        if (displayMode() == DisplayModeNames::name(DisplayMode::Hidden))
            m_window->ActionList1->ac_win->execute();
        m_window->raise();
        m_window->activateWindow();
        return Outcome{};
    });
}

void TimerService::Quit()
{
    perform([this] {
        // After the reply has gone.
        QTimer::singleShot(0, m_window, &frm_main::ac_closeExecute);
        return Outcome{};
    });
}
