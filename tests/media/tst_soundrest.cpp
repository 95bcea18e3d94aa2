// SPDX-License-Identifier: GPL-3.0-or-later
#include "GstSoundDevice.h"
#include "SoundSession.h"
#include "TestSounds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <vector>

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
    void probedSoundWaitsWithoutPipeline_data();
    void probedSoundWaitsWithoutPipeline();

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

    std::vector<NotifyValue> notices;
    device.setNotify([&notices](NotifyValue value) { notices.push_back(value); });
    QVERIFY(mode == MediaMode::Paused ? device.resume() : device.play());
    QVERIFY(!device.isResting());
    QCOMPARE(device.mode(), MediaMode::Playing);
    QVERIFY(!device.canRest());
    // Goes on from where it rested, not from the beginning.
    QTRY_VERIFY(device.position() > kept + 100);
    QVERIFY2(device.position() >= kept, qPrintable(QString::number(device.position())));
    // And plays to its end as before.
    QTRY_VERIFY_WITH_TIMEOUT(notices.size() == 1, 10000);
    QCOMPARE(notices.front(), NotifyValue::Successful);
    QCOMPARE(device.position(), device.length());
}

void tst_SoundRest::waitingSessionRestsByItself()
{
    auto session = SoundSession::start(m_mp3, TestSounds::fakeSink(), [](NotifyValue) {});
    const QString path = m_mp3;
    const auto opened =
        session->call<bool>([path](SoundDevice &device) { return device.open(path, nullptr); },
                            std::chrono::seconds(10));
    QVERIFY(opened && *opened);
    const auto resting = [&session] {
        return session
            ->call<bool>([](SoundDevice &device) { return device.isResting(); },
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
    QVERIFY(session
                ->call<bool>([](SoundDevice &device) { return device.play(); },
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

// The probe in a process of its own answers as an open here would; a probe that cannot
// run leaves the open to this process, and one that hangs is bounded.
void tst_SoundRest::probedSoundWaitsWithoutPipeline_data()
{
    QTest::addColumn<QString>("probe"); // "self", "missing" or "hangs"
    QTest::addColumn<QString>("file");  // "sound" or "text"
    QTest::newRow("sound") << QStringLiteral("self") << QStringLiteral("sound");
    QTest::newRow("not a sound") << QStringLiteral("self") << QStringLiteral("text");
    QTest::newRow("no probe program") << QStringLiteral("missing") << QStringLiteral("sound");
    QTest::newRow("probe hangs") << QStringLiteral("hangs") << QStringLiteral("sound");
}

void tst_SoundRest::probedSoundWaitsWithoutPipeline()
{
    QFETCH(QString, probe);
    QFETCH(QString, file);
    QString path = m_mp3;
    if (file == QLatin1String("text")) {
        path = m_dir.filePath(QStringLiteral("notes.mp3"));
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a sound at all\n");
    }
    QString program = QCoreApplication::applicationFilePath();
    if (probe == QLatin1String("missing")) {
        program = m_dir.filePath(QStringLiteral("no-such-program"));
    } else if (probe == QLatin1String("hangs")) {
        program = m_dir.filePath(QStringLiteral("hangs.sh"));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexec sleep 60\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }
    QString hereError;
    bool opensHere = false;
    {
        GstSoundDevice here(TestSounds::fakeSink());
        opensHere = here.open(path, &hereError);
    }

    GstSoundDevice::setProbeProgram(program);
    GstSoundDevice device(TestSounds::fakeSink());
    QString error;
    QElapsedTimer clock;
    clock.start();
    const bool opened = device.open(path, &error);
    GstSoundDevice::setProbeProgram(QString());
    if (probe == QLatin1String("hangs")) {
        QVERIFY(!opened);
        QVERIFY2(error.contains(QLatin1String("5")), qPrintable(error));
        QVERIFY(clock.elapsed() < GstSoundDevice::openTimeout.count() + 2000);
        return;
    }
    QCOMPARE(opened, opensHere);
    QCOMPARE(error, hereError);
    if (!opened)
        return;
    // Probed, the sound waits resting, with its length known, and plays from the start.
    QCOMPARE(device.isResting(), probe == QLatin1String("self"));
    QVERIFY(qAbs(device.length() - 3000) < 100);
    QCOMPARE(device.mode(), MediaMode::Stopped);
    std::vector<NotifyValue> notices;
    device.setNotify([&notices](NotifyValue value) { notices.push_back(value); });
    QVERIFY(device.play());
    QCOMPARE(device.mode(), MediaMode::Playing);
    QTRY_VERIFY(device.position() >= 300);
    QVERIFY(device.stop());
    QVERIFY(device.seekToStart());
    QVERIFY(device.play());
    QTRY_COMPARE_WITH_TIMEOUT(notices.size(), std::size_t(2), 10000);
    QCOMPARE(notices.back(), NotifyValue::Successful);
}

int main(int argc, char *argv[])
{
    // This test is its own probe program, as the timer is.
    if (argc == 3 && std::strcmp(argv[1], GstSoundDevice::probeOption) == 0)
        return GstSoundDevice::runProbe(QFile::decodeName(argv[2]));
    QCoreApplication app(argc, argv);
    tst_SoundRest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_soundrest.moc"
