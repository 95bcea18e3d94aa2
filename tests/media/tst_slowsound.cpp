// SPDX-License-Identifier: GPL-3.0-or-later
#include "EMCIDeviceError.h"
#include "MediaPlayerBar.h"
#include "SlowFs.h"
#include "TestSounds.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A sound file on a file system whose calls hang (a stuck network mount): applying it gives
// up after the open bound with the event loop running all the while, and the next file opens
// at once although the hanging device is still stuck.
class tst_SlowSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hangingPathIsGivenUp_data();
    void hangingPathIsGivenUp();

private:
    QTemporaryDir m_source;
    QTemporaryDir m_local;
    QString m_localMp3;
};

void tst_SlowSound::initTestCase()
{
    QVERIFY(m_source.isValid() && m_local.isValid());
    QVERIFY(!TestSounds::makeMp3(QDir(m_source.path()), QStringLiteral("alarm.mp3"), 20).isEmpty());
    m_localMp3 = TestSounds::makeMp3(QDir(m_local.path()), QStringLiteral("local.mp3"), 20);
    QVERIFY(!m_localMp3.isEmpty());
}

void tst_SlowSound::hangingPathIsGivenUp_data()
{
    QTest::addColumn<QString>("block");
    // stat: the existence check hangs; open: opening the file; read: the decoder's first read,
    // so that closing the pipeline also hangs (its streaming thread cannot be stopped).
    QTest::newRow("stat") << QStringLiteral("stat");
    QTest::newRow("open") << QStringLiteral("open");
    QTest::newRow("read") << QStringLiteral("read");
}

void tst_SlowSound::hangingPathIsGivenUp()
{
    QFETCH(QString, block);
    const SlowFs slow(m_source.path(), block);
    if (!slow.isMounted())
        QSKIP(qPrintable(slow.reason()));

    QWidget window;
    auto *bar = new MediaPlayerBar(&window, TestSounds::fakeSink());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bar->applySoundFile(m_localMp3);
    QVERIFY(bar->player()->isOpen());

    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &window, [&ticks] { ++ticks; });
    ticker.start(100);
    QElapsedTimer clock;
    clock.start();
    try {
        bar->applySoundFile(slow.path(QStringLiteral("alarm.mp3")));
        QFAIL("the hanging file opened");
    } catch (const EMCIDeviceError &error) {
        QCOMPARE(error.message(),
                 QStringLiteral("The sound file did not become ready to play within 5 seconds"));
    }
    // Given up after the bound, far from the minute the call hangs.
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(ticks >= 10, qPrintable(QStringLiteral("%1 timer ticks while waiting").arg(ticks)));
    QVERIFY(!bar->player()->isOpen());
    QVERIFY(!bar->isHidden());

    // The stuck device is left behind; a good file opens and plays straight away, and so does
    // the alarm.
    clock.restart();
    bar->applySoundFile(m_localMp3);
    QVERIFY(bar->player()->isOpen());
    bar->startAlarm();
    QCOMPARE(bar->player()->mode(), MediaMode::Playing);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_MAIN(tst_SlowSound)
#include "tst_slowsound.moc"
