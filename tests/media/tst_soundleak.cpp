// SPDX-License-Identifier: GPL-3.0-or-later
#include "MediaPlayer.h"
#include "ProcessUsage.h"
#include "TestSounds.h"

#include <QTemporaryDir>
#include <QTest>

// Opening and closing the alarm sound again and again leaves nothing behind: every
// countdown opens it twice, so a day of use would otherwise run out of descriptors.
class tst_SoundLeak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openCloseReturnsDescriptorsAndMemory();

private:
    void cycle(MediaPlayer &player, int times);

    QTemporaryDir m_dir;
    QString m_mp3;
};

void tst_SoundLeak::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_mp3 = TestSounds::makeMp3(QDir(m_dir.path()), QStringLiteral("alarm.mp3"), 20);
    QVERIFY(!m_mp3.isEmpty());
}

void tst_SoundLeak::cycle(MediaPlayer &player, int times)
{
    for (int i = 0; i < times; ++i) {
        player.open();
        player.play();
        player.close();
    }
    // Closed pipelines are taken apart on their own threads; give them time to finish.
    QTest::qWait(500);
}

void tst_SoundLeak::openCloseReturnsDescriptorsAndMemory()
{
    MediaPlayer player(TestSounds::fakeSink());
    player.setFileName(m_mp3);
    // Warm-up: plugins loaded, caches and thread pools filled.
    cycle(player, 100);
    const int descriptorsBefore = ProcessUsage::openDescriptors();
    const qint64 residentBefore = ProcessUsage::residentKb();
    QVERIFY(residentBefore > 0);

    constexpr int cycles = 200;
    cycle(player, cycles);
    QTRY_VERIFY_WITH_TIMEOUT(ProcessUsage::openDescriptors() <= descriptorsBefore, 10000);
    const qint64 growthKb = ProcessUsage::residentKb() - residentBefore;
    qInfo("%d opens: descriptors %d -> %d, resident memory %lld kB -> %lld kB (%+lld kB)",
          cycles, descriptorsBefore, ProcessUsage::openDescriptors(), residentBefore,
          residentBefore + growthKb, growthKb);
    if (!ProcessUsage::residentSizeIsMeaningful())
        QSKIP("descriptors checked; resident memory is checked in a build without sanitizers");
    QVERIFY2(growthKb < 2048, qPrintable(QStringLiteral("grew by %1 kB").arg(growthKb)));
}

QTEST_GUILESS_MAIN(tst_SoundLeak)
#include "tst_soundleak.moc"
