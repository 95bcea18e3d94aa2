// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmLoop.h"
#include "MediaPlayer.h"
#include "TestSounds.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The alarm that repeats until the finish box closes, on real decoded sound in a sink that
// keeps real time.
class tst_AlarmLoop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void repeatsUntilStoppedAndStopsAtOnce();
    void aDisarmedLoopLetsTheSoundEnd();
    void theStopButtonIsNotUndone();

private:
    QTemporaryDir m_dir;
    QString m_wav; // 0.3 s
    std::unique_ptr<MediaPlayer> m_player;
    std::unique_ptr<AlarmLoop> m_loop;
};

void tst_AlarmLoop::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_wav = TestSounds::makeWav(QDir(m_dir.path()), QStringLiteral("chime.wav"), 3);
    QVERIFY(!m_wav.isEmpty());
}

void tst_AlarmLoop::init()
{
    m_loop.reset();
    m_player = std::make_unique<MediaPlayer>(TestSounds::fakeSink());
    m_player->setFileName(m_wav);
    m_player->open();
    m_loop = std::make_unique<AlarmLoop>(m_player.get());
}

void tst_AlarmLoop::repeatsUntilStoppedAndStopsAtOnce()
{
    m_player->play();
    m_loop->arm();
    QTRY_VERIFY_WITH_TIMEOUT(m_loop->repeats() >= 2, 10000);
    QCOMPARE(m_player->mode(), MediaMode::Playing);
    m_loop->stop();
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    // The stopped play's end has come in, and was not played again.
    QTRY_COMPARE(m_player->notifyValue(), NotifyValue::Aborted);
    QVERIFY(!m_loop->isArmed());
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
}

void tst_AlarmLoop::aDisarmedLoopLetsTheSoundEnd()
{
    QSignalSpy ended(m_player.get(), &MediaPlayer::notify);
    m_player->play();
    m_loop->arm();
    m_loop->disarm();
    QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 10000);
    QCOMPARE(m_player->notifyValue(), NotifyValue::Successful);
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    QCOMPARE(m_loop->repeats(), 0);
}

void tst_AlarmLoop::theStopButtonIsNotUndone()
{
    QSignalSpy ended(m_player.get(), &MediaPlayer::notify);
    m_player->play();
    m_loop->arm();
    m_player->stop(); // what the bar's Stop button does
    QTRY_VERIFY(!ended.isEmpty());
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    QCOMPARE(m_loop->repeats(), 0);
}

QTEST_GUILESS_MAIN(tst_AlarmLoop)
#include "tst_alarmloop.moc"
