// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a real countdown on the offscreen platform while other threads keep every
// processor busy (and, with --block-ms, while the user-interface thread itself is
// blocked now and then), and prints how far the finish lies from the ideal deadline
// and how late the display changes come. With --picture the corner picture rolls every
// 20 s during the countdown, and the processor time the user-interface thread spends
// in the rolls is printed too (the load threads make the process's own total useless).
// With --sound the alarm sound is set, as in the installed program: with the alarm lead
// at its default of 0 it is opened and started on the finishing tick, before the box.
// Its file is checked by the program built beside this benchmark, as the program does.
//
//   countdown_finish [--seconds N] [--block-ms M] [--picture FILE] [--sound FILE]

#include "MessageBoxes.h"
#include "MonotonicClock.h"
#include "SoundModule.h"
#include "TTEImage.h"
#include "TimerCore.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <ctime>

using namespace std::chrono;

namespace {

// Records when the countdown starts and when each display change lands.
class CountdownRecorder : public QObject
{
public:
    CountdownRecorder(TimerCore *core, MonotonicClock clock)
        : m_clock(std::move(clock))
    {
        connect(core, &TimerCore::stateChanged, this, [this](CountdownState state) {
            if (state == CountdownState::Running && !m_started) {
                m_started = true;
                m_start = m_clock();
            }
        });
        connect(core, &TimerCore::displayChanged, this, [this] {
            if (m_started)
                m_changes.push_back(m_clock());
        });
    }

    nanoseconds start() const { return m_start; }
    const std::vector<nanoseconds> &changes() const { return m_changes; }

private:
    MonotonicClock m_clock;
    bool m_started = false;
    nanoseconds m_start{0};
    std::vector<nanoseconds> m_changes;
};

double ms(nanoseconds value)
{
    return duration<double, std::milli>(value).count();
}

nanoseconds threadCpuTime()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return seconds(ts.tv_sec) + nanoseconds(ts.tv_nsec);
}

// Adds up the user-interface thread's processor time from each picture-timer event
// (before the roll starts) to the end of that roll.
class RollCpuMeter : public QObject
{
public:
    explicit RollCpuMeter(TTEImage *image, QTimer *pictureTimer)
        : QObject(image)
    {
        pictureTimer->installEventFilter(this);
        connect(image, &TTEImage::transitionFinished, this, [this] {
            if (m_rollStartedAt.count() == 0)
                return;
            m_total += threadCpuTime() - m_rollStartedAt;
            m_rollStartedAt = nanoseconds(0);
            ++m_rolls;
        });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && m_rollStartedAt.count() == 0)
            m_rollStartedAt = threadCpuTime();
        return QObject::eventFilter(watched, event);
    }

    int rolls() const { return m_rolls; }
    nanoseconds total() const { return m_total; }

private:
    nanoseconds m_rollStartedAt{0};
    nanoseconds m_total{0};
    int m_rolls = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    int seconds = 60;
    int blockMs = 0;
    QString picture;
    QString sound;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--block-ms") == 0)
            blockMs = std::max(0, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--picture") == 0)
            picture = QString::fromLocal8Bit(argv[i + 1]);
        else if (std::strcmp(argv[i], "--sound") == 0)
            sound = QString::fromLocal8Bit(argv[i + 1]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    pub_unit::setApplicationDirectoryForTesting(dir.path());
    const QString config = dir.filePath(QStringLiteral("config.dat"));
    const QString section = QStringLiteral("SET");
    pub_unit::writeKey(config, section, QStringLiteral("shi"), QString::number(seconds / 3600));
    pub_unit::writeKey(config, section, QStringLiteral("feng"), QString::number(seconds / 60 % 60));
    pub_unit::writeKey(config, section, QStringLiteral("miao"), QString::number(seconds % 60));
    if (!picture.isEmpty()) {
        pub_unit::writeKey(config, section, QStringLiteral("ico"), picture);
        pub_unit::writeKey(config, section, QStringLiteral("showico"), QStringLiteral("-1"));
    }

    pub_unit::writeKey(config, section, QStringLiteral("mp3"), sound);
    if (!sound.isEmpty()) {
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../src/app/tarvik-timer");
        if (QFileInfo(program).isExecutable())
            SoundModule::setProbeProgram(program);
        else
            std::fprintf(stderr, "no program at %s: the sound is checked in this process\n",
                         qPrintable(program));
    }

    const MonotonicClock clock = Clocks::boot();
    nanoseconds finishedAt{0};
    MessageBoxes::setPresenterForTesting([&](const MessageBoxes::Request &request) {
        if (request.icon == QMessageBox::Information) {
            finishedAt = clock();
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        } else {
            std::fprintf(stderr, "error box: %s\n", qPrintable(request.text));
        }
        return QMessageBox::Ok;
    });

    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i) {
        load.emplace_back([&stop] {
            volatile std::uint64_t sink = 0;
            while (!stop.load(std::memory_order_relaxed))
                sink = sink + 1;
        });
    }

    frm_main window(nullptr, clock);
    while (!window.isStartedUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const CountdownRecorder recorder(window.timerCore(), clock);
    RollCpuMeter rollMeter(window.TEImage1, window.Timer2);

    // Blocks the user-interface thread for blockMs every 7.3 s, as a long handler would.
    QTimer blocker;
    if (blockMs > 0) {
        QObject::connect(&blocker, &QTimer::timeout, &app,
                         [blockMs] { std::this_thread::sleep_for(milliseconds(blockMs)); });
        blocker.start(7300);
    }

    window.ac_beginExecute();
    app.exec();
    stop = true;
    for (std::thread &thread : load)
        thread.join();

    const nanoseconds start = recorder.start();
    const std::vector<nanoseconds> &changes = recorder.changes();
    std::vector<double> lateness;
    for (std::size_t k = 0; k < changes.size(); ++k)
        lateness.push_back(ms(changes[k] - (start + std::chrono::seconds(k + 1))));
    std::vector<double> sorted = lateness;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    const double largest = sorted.empty() ? 0.0 : sorted.back();

    std::printf("countdown of %d s, %u load threads, user-interface thread blocked %d ms every "
                "7.3 s\n",
                seconds, cores, blockMs);
    std::printf("display changes: %zu (expected %d)\n", changes.size(), seconds);
    std::printf("finish - ideal deadline: %+.3f ms\n",
                ms(finishedAt - (start + std::chrono::seconds(seconds))));
    std::printf("display change lateness: median %.3f ms, largest %.3f ms\n", median, largest);
    if (!picture.isEmpty()) {
        std::printf("rolls: %d, user-interface thread processor time in rolls: %.1f ms "
                    "(%.1f ms a roll)\n",
                    rollMeter.rolls(), ms(rollMeter.total()),
                    rollMeter.rolls() > 0 ? ms(rollMeter.total()) / rollMeter.rolls() : 0.0);
    }
    return finishedAt.count() != 0 && int(changes.size()) == seconds ? 0 : 1;
}
