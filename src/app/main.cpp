// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockIcon.h"
#include "CommandLine.h"
#include "FontConfigLoad.h"
#include "FontWarmUp.h"
#include "GroupBoxFrameStyle.h"
#include "HandOver.h"
#include "QtTranslations.h"
#include "SessionLock.h"
#include "SoundDevice.h"
#include "SoundModule.h"
#include "TimerBus.h"
#include "TimerService.h"
#include "UiLanguage.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <QFile>
#include <QPixmapCache>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

int report(const HandOver::Result &result)
{
    print(stdout, result.output);
    print(stderr, result.errors);
    return result.exitStatus;
}

// A launch that holds the session's lock and can show a window has nothing to ask the bus:
// no program runs. Commands for a running program always ask, and so does a launch without
// a display, which could not find a program that runs without the lock when it claims the name.
bool surelyFirst(const std::optional<SessionLock> &lock)
{
    return lock && lock->isHeld() &&
           (qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"));
}

// What a launch that is not surely first can settle without a window: its command line, and
// a program that runs already. Nothing when this launch is to run the program itself.
std::optional<int> settleWithoutWindow(const CommandLine::Parsed &parsed)
{
    switch (parsed.outcome) {
    case CommandLine::Parsed::Outcome::Help:
    case CommandLine::Parsed::Outcome::Version:
        print(stdout, parsed.text);
        return CommandLine::Done;
    case CommandLine::Parsed::Outcome::Error:
        print(stderr, QStringLiteral("tarvik-timer: %1\n").arg(parsed.text));
        return CommandLine::BadInput;
    case CommandLine::Parsed::Outcome::Run:
        break;
    }
    // A connection of its own, closed before the window's application takes the bus.
    const QString name = QStringLiteral("tarvik-timer-launch");
    std::optional<HandOver::Result> handedOver;
    {
        const QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        if (bus.isConnected())
            handedOver = HandOver::send(parsed.request, bus);
    }
    QDBusConnection::disconnectFromBus(name);
    if (handedOver)
        return report(*handedOver);
    if (parsed.request.needsRunningProgram()) {
        if (parsed.request.command == Request::Command::Status)
            print(stdout, QStringLiteral("not running\n"));
        else
            print(stderr, QStringLiteral("tarvik-timer: not running\n"));
        return CommandLine::NotRunning;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    // The check of a sound file, run by the program itself in a process of its own.
    if (argc == 3 && std::strcmp(argv[1], SoundDevice::probeOption) == 0) {
        // The application tells where the sound module is.
        const QCoreApplication probe(argc, argv);
        return SoundModule::runProbe(QFile::decodeName(argv[2]));
    }

    // Read as QCoreApplication would read them; no application is needed to parse them.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
    // Taken by a launch that may run the program, and held while it runs.
    std::optional<SessionLock> sessionLock;
    if (parsed.outcome == CommandLine::Parsed::Outcome::Run &&
        !parsed.request.needsRunningProgram())
        sessionLock.emplace(SessionLock::runtimeDirectory(), SessionLock::sessionBusAddress());
    // A first launch goes straight to its window; any other settles here without a window
    // system, so that --status and a hand-over work from any terminal, and fast.
    if (parsed.outcome != CommandLine::Parsed::Outcome::Run || !surelyFirst(sessionLock)) {
        const QCoreApplication launcher(argc, argv);
        if (const auto status = settleWithoutWindow(parsed))
            return *status;
    }

    // Loaded while the application object connects to the display.
    const FontConfigLoad fontConfigLoad;
    QApplication app(argc, argv);
    // Qt's pixmap cache trims itself on a timer every 10 to 30 s once anything is in it, which
    // would wake a counting window between its ticks. The style's few small pixmaps are drawn
    // again instead.
    QPixmapCache::setCacheLimit(0);
    GroupBoxFrameStyle::installOverFusion();
    SoundModule::setProbeProgram(QCoreApplication::applicationFilePath());
    // The title shows in the window list and captions the error box; as the application's
    // name it is not appended to window captions a second time.
    QApplication::setApplicationName(QStringLiteral("Tarvik倒计时计时器"));
    // The desktop's language; the Chinese texts in the code show as they are for Chinese
    // and the C locale.
    const UiLanguage::Language language = UiLanguage::fromSystem();
    UiLanguage::install(&app, language);
    QApplication::setWindowIcon(ClockIcon::icon());
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVIK_APP_ID));
    if (const QString qtCatalogue = UiLanguage::qtCatalogue(language); !qtCatalogue.isEmpty())
        QtTranslations::install(&app, QString(), qtCatalogue);
    // The window's fonts are looked up on another processor while the window is built.
    const FontWarmUp fontWarmUp(fontConfigLoad, QApplication::font().family(),
                                QCoreApplication::translate("frm_main", "计时时长设置"));

    // One program a session: the first launch owns the name. The object is there before the
    // name, and its calls wait for the window.
    TimerService service;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        service.registerOn(bus);
        const auto claimed = bus.interface()->registerService(
            TimerBus::service, QDBusConnectionInterface::DontQueueService,
            QDBusConnectionInterface::DontAllowReplacement);
        // Another launch took the name in the moment since this one looked.
        if (claimed.value() != QDBusConnectionInterface::ServiceRegistered) {
            if (const auto handedOver = HandOver::send(parsed.request, bus))
                return report(*handedOver);
        }
    }

    // The window shows first; the settings, with the picture and the sound, are applied
    // after its first paint, and this launch's own request after them.
    frm_main mainWindow;
    frm_pubunit pubUnit;
    service.attach(&mainWindow);
    if (!parsed.request.isEmpty())
        service.runOwn(parsed.request.calls());
    const int status = QApplication::exec();
    // Let go before the name: a launch that saw the name go finds the lock free.
    sessionLock.reset();
    return status;
}
