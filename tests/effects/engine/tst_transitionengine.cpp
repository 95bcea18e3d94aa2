// SPDX-License-Identifier: GPL-3.0-or-later
#include "ETransitionEffectError.h"
#include "TRollTransition.h"
#include "FrameCopy.h"
#include "TTETransitionDevice.h"

#include <QTest>

#include <cmath>
#include <map>
#include <memory>

namespace {

// Milliseconds that move only when a test moves them.
class FakeClock
{
public:
    operator MonotonicClock() const
    {
        return [this] {
            return std::chrono::nanoseconds(std::llround(now * 1e6));
        };
    }
    double now = 1000;
};

struct Log
{
    QList<int> frames;
    QList<int> steps;
    QList<TTEEffectDirection> passDirections;
    QList<QRgb> passSources; // first source pixel at each Initialize
    int finalized = 0;
};

// An effect of a given frame count that costs a given time per frame on the fake clock and
// fills the whole frame with the target.
class FakeEffect final : public TTransitionEffect
{
public:
    FakeEffect(FakeClock &clock, std::shared_ptr<Log> log, int frames, double cost)
        : m_clock(&clock)
        , m_log(std::move(log))
        , m_frames(frames)
        , m_cost(cost)
    {}

    TTEEffectDirections allowedDirections() const override
    {
        return directionBit(tedRight) | directionBit(tedLeft) | directionBit(tedDown) |
               directionBit(tedUp) | directionBit(tedRandom);
    }
    void Initialize(TTETransitionData &data, int &frameCount) override
    {
        frameCount = m_frames;
        m_log->passDirections << effectiveDirection();
        m_log->passSources << data.source->pixel(0, 0);
    }
    void Finalize(TTETransitionData &) override { ++m_log->finalized; }
    QRect RenderFrame(TTETransitionData &data, int frame, int, int step) override
    {
        m_log->frames << frame;
        m_log->steps << step;
        m_clock->now += m_cost;
        data.surface->fill(Qt::gray);
        return QRect(0, 0, data.width, data.height);
    }
    std::uint16_t capabilities() const override { return 0x0201; }
    QString displayName() const override { return QStringLiteral("Fake"); }
    std::unique_ptr<TTransitionEffect> deviceCopy() const override
    {
        return std::make_unique<FakeEffect>(*this);
    }

private:
    FakeClock *m_clock;
    std::shared_ptr<Log> m_log;
    int m_frames;
    double m_cost;
};

// Plays onto an image; pacing waits advance the fake clock by the asked time plus a lateness.
class TestDevice final : public TTETransitionDevice
{
public:
    explicit TestDevice(FakeClock &clock, double lateness = 0.3)
        : TTETransitionDevice(clock)
        , m_clock(clock)
        , m_lateness(lateness)
    {}

    void prepareFrames(const QSize &size, QColor before, QColor after)
    {
        Prepare(QRect(QPoint(0, 0), size));
        beforeFrame().fill(before);
        afterFrame() = QImage(size, QImage::Format_RGB32);
        afterFrame().fill(after);
        m_surface = QImage(size, QImage::Format_RGB32);
        m_surface.fill(before);
    }

    // Lets the waits pass until the run ends.
    void runWaits()
    {
        while (m_pending > 0) {
            m_clock.now += m_pending + m_lateness;
            m_pending = 0;
            ++waits;
            resumeAfterWait();
        }
    }

    QImage m_surface;
    bool twoPasses = false;
    QColor solid = Qt::blue;
    int presents = 0;
    int waits = 0;

protected:
    QImage &surface() override { return m_surface; }
    void present(const QRect &) override { ++presents; }
    void scheduleWait(double ms) override { m_pending = ms; }
    void cancelWait() override { m_pending = 0; }
    bool supportsTwoPasses() const override { return twoPasses; }
    QColor defaultSolidColor() const override { return solid; }

private:
    FakeClock &m_clock;
    double m_lateness;
    double m_pending = 0;
};

} // namespace

class tst_TransitionEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fastEffectDrawsEveryFrameInTime();
    void slowEffectSkipsFramesAndEndsOnTime();
    void noFramesStillShowsTarget();
    void unpacedDrawsEveryFrame();
    void twoPassesThroughSolidColour();
    void distributedTimeSharesMilliseconds();
    void randomDirectionsAreEven();
    void abortEndsWaitingRun();
    void abortQueryIsAskedEvery300Ms();
    void errors();
    void stopwatch();
};

void tst_TransitionEngine::fastEffectDrawsEveryFrameInTime()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 130, 0.05);
    effect.Milliseconds = 800;
    TestDevice device(clock);
    device.setTransition(&effect);
    device.prepareFrames(QSize(131, 98), Qt::white, Qt::red);
    const double start = clock.now;
    device.Run(true);
    QVERIFY(device.isPlaying());
    device.runWaits();
    QVERIFY(device.isFinished());
    QVERIFY(!device.isPlaying());

    QCOMPARE(log->frames.size(), 130);
    QCOMPARE(log->frames.last(), 130);
    QVERIFY(std::all_of(log->steps.begin(), log->steps.end(), [](int s) { return s == 1; }));
    const double took = clock.now - start;
    QVERIFY2(took > 780 && took < 801, qPrintable(QString::number(took)));
    QCOMPARE(device.m_surface.pixel(5, 5), QColor(Qt::red).rgb());
    QCOMPARE(log->finalized, 1);
}

void tst_TransitionEngine::slowEffectSkipsFramesAndEndsOnTime()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 130, 20.0);
    effect.Milliseconds = 800;
    TestDevice device(clock);
    device.setTransition(&effect);
    device.prepareFrames(QSize(131, 98), Qt::white, Qt::red);
    const double start = clock.now;
    device.Run(true);
    device.runWaits();

    QVERIFY(log->frames.size() < 130);
    QVERIFY(log->frames.size() > 10);
    QVERIFY(std::any_of(log->steps.begin(), log->steps.end(), [](int s) { return s > 1; }));
    QVERIFY(std::is_sorted(log->frames.begin(), log->frames.end()));
    QVERIFY(log->frames.last() <= 130);
    const double took = clock.now - start;
    QVERIFY2(took > 760 && took < 830, qPrintable(QString::number(took)));
    QCOMPARE(device.m_surface.pixel(5, 5), QColor(Qt::red).rgb());
}

void tst_TransitionEngine::noFramesStillShowsTarget()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 0, 0.05);
    effect.Milliseconds = 800;
    TestDevice device(clock);
    device.setTransition(&effect);
    device.prepareFrames(QSize(10, 10), Qt::white, Qt::red);
    device.Run(true);
    QVERIFY(device.isFinished());
    QVERIFY(log->frames.isEmpty());
    QCOMPARE(device.m_surface.pixel(5, 5), QColor(Qt::red).rgb());
    QCOMPARE(device.presents, 1);
}

void tst_TransitionEngine::unpacedDrawsEveryFrame()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 40, 50.0);
    effect.Milliseconds = 0;
    TestDevice device(clock);
    device.setTransition(&effect);
    device.prepareFrames(QSize(10, 10), Qt::white, Qt::red);
    device.Run(true);
    QVERIFY(device.isFinished());
    QCOMPARE(device.waits, 0);
    QCOMPARE(log->frames.size(), 40);
    QCOMPARE(device.data()->framesDone, 40);
}

void tst_TransitionEngine::twoPassesThroughSolidColour()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 97, 0.05);
    effect.Milliseconds = 800;
    effect.PassSetting = teTwoPasses;
    effect.setDirection(tedRandom);
    int ended = 0;
    effect.OnEndTransition = [&](TTransitionEffect &) {
        ++ended;
    };
    TestDevice device(clock);
    device.twoPasses = true;
    device.solid = QColor(10, 20, 30);
    device.setTransition(&effect);
    device.prepareFrames(QSize(131, 98), Qt::white, Qt::red);
    QCOMPARE(device.passCount(), 2);
    const double start = clock.now;
    device.Run(true);
    device.runWaits();

    QCOMPARE(log->frames.size(), 2 * 97);
    QCOMPARE(log->passSources.size(), 2);
    QCOMPARE(log->passSources[0], QColor(Qt::white).rgb());
    QCOMPARE(log->passSources[1], QColor(10, 20, 30).rgb());
    QCOMPARE(log->passDirections.size(), 2);
    QCOMPARE(log->passDirections[0], log->passDirections[1]);
    QVERIFY(log->passDirections[0] >= tedRight && log->passDirections[0] <= tedUp);
    QCOMPARE(effect.Direction(), tedRandom); // the original is never changed
    QVERIFY(!effect.Pass2Options.SolidColor);
    QCOMPARE(ended, 1);
    const double took = clock.now - start;
    QVERIFY2(took > 1560 && took < 1602, qPrintable(QString::number(took)));
    QCOMPARE(device.data()->totalFrames, 2 * 97);
}

void tst_TransitionEngine::distributedTimeSharesMilliseconds()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 50, 0.05);
    effect.Milliseconds = 800;
    effect.PassSetting = teTwoPasses;
    effect.Pass2Options.DistributedTime = true;
    TestDevice device(clock);
    device.twoPasses = true;
    device.setTransition(&effect);
    device.prepareFrames(QSize(60, 60), Qt::white, Qt::red);
    const double start = clock.now;
    device.Run(true);
    device.runWaits();
    const double took = clock.now - start;
    QVERIFY2(took > 760 && took < 802, qPrintable(QString::number(took)));
    QCOMPARE(log->frames.size(), 100);
}

void tst_TransitionEngine::randomDirectionsAreEven()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    TRollTransition roll;
    roll.setDirection(tedRandom);
    std::map<TTEEffectDirection, int> counts;
    constexpr int runs = 4000;
    for (int i = 0; i < runs; ++i) {
        TestDevice device(clock);
        device.setTransition(&roll);
        device.Prepare(QRect(0, 0, 4, 4));
        ++counts[device.workingCopy()->Direction()];
    }
    QCOMPARE(counts.size(), size_t(4));
    for (const auto &[direction, count] : counts) {
        QVERIFY(direction >= tedRight && direction <= tedUp);
        QVERIFY2(count > runs / 4 - 200 && count < runs / 4 + 200,
                 qPrintable(QString::number(count)));
    }
}

void tst_TransitionEngine::abortEndsWaitingRun()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 100, 0.05);
    effect.Milliseconds = 800;
    effect.PassSetting = teTwoPasses;
    TestDevice device(clock);
    device.twoPasses = true;
    device.setTransition(&effect);
    device.prepareFrames(QSize(20, 20), Qt::white, Qt::red);
    device.Run(true);
    QVERIFY(device.isWaiting());
    device.Abort();
    QVERIFY(!device.isPlaying());
    QVERIFY(device.isFinished());
    QCOMPARE(log->frames.size(), 1);
    QCOMPARE(log->finalized, 1); // the second pass is not started
    QCOMPARE(device.m_surface.pixel(1, 1), QColor(Qt::red).rgb());
}

void tst_TransitionEngine::abortQueryIsAskedEvery300Ms()
{
    // An effect too slow to wait between frames is asked only every 300 ms; one that waits
    // is asked at every wait.
    for (const double cost : {40.0, 0.05}) {
        FakeClock clock;
        auto log = std::make_shared<Log>();
        FakeEffect effect(clock, log, 130, cost);
        effect.Milliseconds = 800;
        effect.PassSetting = teTwoPasses;
        QList<double> asked;
        const double start = clock.now;
        effect.OnAbortQuery = [&](TTransitionEffect &) {
            asked << clock.now - start;
            return asked.size() == 2;
        };
        int ended = 0;
        effect.OnEndTransition = [&](TTransitionEffect &) {
            ++ended;
        };
        TestDevice device(clock);
        device.twoPasses = true;
        device.setTransition(&effect);
        device.prepareFrames(QSize(131, 98), Qt::white, Qt::red);
        device.Run(true);
        device.runWaits();
        QVERIFY(device.isFinished());
        QCOMPARE(asked.size(), 2);
        if (cost > 10) {
            QVERIFY2(asked[0] > 300 && asked[0] < 350, qPrintable(QString::number(asked[0])));
            QVERIFY(asked[1] - asked[0] > 300);
        } else {
            QVERIFY2(asked[1] < 30, qPrintable(QString::number(asked[1])));
        }
        QVERIFY(log->frames.size() < 130);
        QCOMPARE(ended, 0);
        QCOMPARE(log->passSources.size(), 1); // no second pass after an abort
        QCOMPARE(device.m_surface.pixel(0, 0), QColor(Qt::red).rgb());
    }
}

void tst_TransitionEngine::errors()
{
    FakeClock clock;
    auto log = std::make_shared<Log>();
    FakeEffect effect(clock, log, 10, 0.05);
    TestDevice device(clock);
    try {
        device.Prepare(QRect(0, 0, 5, 5));
        QFAIL("prepared without a transition");
    } catch (const ETransitionEffectError &error) {
        QCOMPARE(error.message(), QStringLiteral("Device's transition is not assigned"));
    }
    QVERIFY_THROWS_EXCEPTION(ETransitionEffectError, device.Run(true));
    device.setTransition(&effect);
    device.prepareFrames(QSize(5, 5), Qt::white, Qt::red);
    try {
        device.setTransition(&effect);
        QFAIL("a prepared device took another transition");
    } catch (const ETransitionEffectError &error) {
        QCOMPARE(error.message(), QStringLiteral("Transition is busy"));
    }
    try {
        device.Run(false);
        QFAIL("played on a thread");
    } catch (const ETransitionEffectError &error) {
        QCOMPARE(error.message(), QStringLiteral("Device is not thread safe"));
    }
}

void tst_TransitionEngine::stopwatch()
{
    FakeClock clock;
    TTEChrono chrono(clock);
    QCOMPARE(chrono.Elapsed(), 0.0);
    chrono.Start();
    clock.now += 12.5;
    QCOMPARE(chrono.Elapsed(), 12.5);
    chrono.Pause();
    clock.now += 100;
    QCOMPARE(chrono.Elapsed(), 12.5);
    chrono.Start();
    clock.now += 2;
    QCOMPARE(chrono.Elapsed(), 14.5);
    QCOMPARE(chrono.startCount(), 2);
    chrono.Reset();
    QCOMPARE(chrono.Elapsed(), 0.0);
    QCOMPARE(chrono.state(), TTEChrono::State::Stopped);
}

QTEST_GUILESS_MAIN(tst_TransitionEngine)
#include "tst_transitionengine.moc"
