// SPDX-License-Identifier: GPL-3.0-or-later
#include "GstSoundDevice.h"
#include "SoundSession.h"
#include "TestSounds.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// A sound that waits rests: its pipeline goes down with its threads and decoder, and comes
// back where it was when it is played.
class tst_SoundRest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void restKeepsPlaceAndPlayGoesOn_data();
    void restKeepsPlaceAndPlayGoesOn();
    void waitingSessionRestsByItself();
    void desktopOutputPlaysInRealTime();

private:
    QTemporaryDir m_dir;
    QString m_mp3; // 3 s
};

void tst_SoundRest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_mp3 = TestSounds::makeMp3(QDir(m_dir.path()), QStringLiteral("tone.mp3"), 30);
    QVERIFY(!m_mp3.isEmpty());
}

void tst_SoundRest::restKeepsPlaceAndPlayGoesOn_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<MediaMode>("mode");
    QTest::newRow("opened") << QString() << MediaMode::Stopped;
    QTest::newRow("paused") << QStringLiteral("pause") << MediaMode::Paused;
    QTest::newRow("stopped") << QStringLiteral("stop") << MediaMode::Stopped;
}

void tst_SoundRest::restKeepsPlaceAndPlayGoesOn()
{
    QFETCH(QString, before);
    QFETCH(MediaMode, mode);
    GstSoundDevice device(TestSounds::fakeSink());
    QString error;
    QVERIFY2(device.open(m_mp3, &error), qPrintable(error));
    if (!before.isEmpty()) {
        QVERIFY(device.play());
        QTRY_VERIFY(device.position() >= 500);
        QVERIFY(before == QLatin1String("pause") ? device.pause() : device.stop());
    }
    const qint64 kept = device.position();
    const qint64 length = device.length();
    QVERIFY(device.canRest());
    device.rest();
    QVERIFY(device.isResting());
    QCOMPARE(device.mode(), mode);
    QCOMPARE(device.position(), kept);
    QCOMPARE(device.length(), length);

    QSignalSpy notices(&device, &GstSoundDevice::notified);
    QVERIFY(mode == MediaMode::Paused ? device.resume() : device.play());
    QVERIFY(!device.isResting());
    QCOMPARE(device.mode(), MediaMode::Playing);
    QVERIFY(!device.canRest());
    // Goes on from where it rested, not from the beginning.
    QTRY_VERIFY(device.position() > kept + 100);
    QVERIFY2(device.position() >= kept, qPrintable(QString::number(device.position())));
    // And plays to its end as before.
    QTRY_VERIFY_WITH_TIMEOUT(notices.size() == 1, 10000);
    QCOMPARE(notices.first().first().value<NotifyValue>(), NotifyValue::Successful);
    QCOMPARE(device.position(), device.length());
}

void tst_SoundRest::waitingSessionRestsByItself()
{
    auto session = SoundSession::start(m_mp3, TestSounds::fakeSink(), [](NotifyValue) {});
    const QString path = m_mp3;
    const auto opened = session->call<bool>(
        [path](GstSoundDevice &device) { return device.open(path, nullptr); },
        std::chrono::seconds(10));
    QVERIFY(opened && *opened);
    const auto resting = [&session] {
        return session
            ->call<bool>([](GstSoundDevice &device) { return device.isResting(); },
                         std::chrono::seconds(5))
            .value_or(false);
    };
    // Every question is a command that puts the rest off: asked no more often than that.
    QElapsedTimer sinceAsked;
    sinceAsked.start();
    bool seen = false;
    const auto rested = [&] {
        if (!seen && sinceAsked.elapsed() >= SoundSession::restDelay.count() * 3 / 2) {
            sinceAsked.restart();
            seen = resting();
        }
        return seen;
    };
    QTRY_VERIFY_WITH_TIMEOUT(rested(), 10000);
    // A play wakes it; while it plays it does not rest.
    QVERIFY(session->call<bool>([](GstSoundDevice &device) { return device.play(); },
                                std::chrono::seconds(10))
                .value_or(false));
    QVERIFY(!resting());
    session->dispose();
    QVERIFY(session->waitUntilFinished(std::chrono::seconds(10)));
}

// Without a sink given, the file opens without one and the desktop's output comes in at
// the first play (a silent one that keeps time where there is no sound card).
void tst_SoundRest::desktopOutputPlaysInRealTime()
{
    GstSoundDevice device;
    QString error;
    QVERIFY2(device.open(m_mp3, &error), qPrintable(error));
    QVERIFY(qAbs(device.length() - 3000) < 100);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(device.play());
    QTRY_VERIFY(device.position() >= 600);
    QVERIFY2(device.position() <= clock.elapsed() + 100,
             qPrintable(QStringLiteral("%1 ms played in %2 ms")
                            .arg(device.position())
                            .arg(clock.elapsed())));
}

QTEST_GUILESS_MAIN(tst_SoundRest)
#include "tst_soundrest.moc"
