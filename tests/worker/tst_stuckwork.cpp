// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerCall.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <future>

using namespace std::chrono_literals;

namespace {

// A job that hangs until released, as a call on a stuck mount does.
struct HangingJob
{
    std::shared_future<void> released;
    std::atomic<int> *started;
    int operator()() const
    {
        ++*started;
        released.wait();
        return 1;
    }
};

} // namespace

class tst_StuckWork : public QObject
{
    Q_OBJECT

private slots:
    void stuckWorkRefusesTheSamePathAndKindOnly();
    void answeredWorkRefusesNothing();
};

void tst_StuckWork::stuckWorkRefusesTheSamePathAndKindOnly()
{
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<int> started = 0;
    const QString path = QStringLiteral("/stuck/a.mp3");
    const auto hanging = [&](StuckWork::Kind kind, const QString &on) {
        return WorkerCall::run<int>(kind, on, HangingJob{released, &started}, 50ms);
    };

    QCOMPARE(hanging(StuckWork::Kind::SoundDevice, path), std::nullopt);
    QCOMPARE(started.load(), 1);
    QVERIFY(StuckWork::isStuck(StuckWork::Kind::SoundDevice, path));

    // Sixteen more tries on the same path give up at once and start nothing.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 16; ++i)
        QCOMPARE(hanging(StuckWork::Kind::SoundDevice, path), std::nullopt);
    QVERIFY(timer.elapsed() < 50 * 16);
    QCOMPARE(started.load(), 1);

    // Another path, or another kind of work on this one, still gets its own worker.
    QCOMPARE(WorkerCall::run<int>(StuckWork::Kind::SoundDevice, QStringLiteral("/b.mp3"),
                                  [] { return 2; }, 5s),
             std::optional<int>(2));
    QCOMPARE(WorkerCall::run<int>(StuckWork::Kind::PathLookup, path, [] { return 3; }, 5s),
             std::optional<int>(3));

    // Once the call comes back, the path is tried again.
    release.set_value();
    QTRY_VERIFY(!StuckWork::isStuck(StuckWork::Kind::SoundDevice, path));
    QCOMPARE(WorkerCall::run<int>(StuckWork::Kind::SoundDevice, path, [] { return 4; }, 5s),
             std::optional<int>(4));
}

void tst_StuckWork::answeredWorkRefusesNothing()
{
    // A slow job that answers within its bound, and a ticket whose deadline has passed but
    // whose job has answered, refuse nothing.
    const QString path = QStringLiteral("/slow/b.jpg");
    QCOMPARE(WorkerCall::run<int>(StuckWork::Kind::PictureLoad, path,
                                  [] {
                                      std::this_thread::sleep_for(100ms);
                                      return 5;
                                  },
                                  5s),
             std::optional<int>(5));
    QVERIFY(!StuckWork::isStuck(StuckWork::Kind::PictureLoad, path));
    const auto ticket = StuckWork::enter(StuckWork::Kind::PictureLoad, path);
    QVERIFY(ticket);
    ticket->setDeadline(StuckWork::Clock::now() - 1s);
    QVERIFY(!StuckWork::enter(StuckWork::Kind::PictureLoad, path));
    ticket->clearDeadline();
    QVERIFY(StuckWork::enter(StuckWork::Kind::PictureLoad, path));
}

QTEST_GUILESS_MAIN(tst_StuckWork)
#include "tst_stuckwork.moc"
