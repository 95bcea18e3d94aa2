// SPDX-License-Identifier: GPL-3.0-or-later
#include "EMCIDeviceError.h"
#include "MediaPlayer.h"
#include "TestSounds.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// Plays real decoded sound into a sink that keeps real time.
class tst_MediaPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openGivesLengthStoppedAtStart();
    void mp3NeedsNoLibav();
    void playAdvancesInRealTime();
    void pauseHoldsPositionAndToggles();
    void stopKeepsPositionAndPlayContinues();
    void playAfterEndStartsAgain();
    void playWhilePlayingDoesNotRestart();
    void newOpenAndCloseStopTheSound();
    void reopenOfTheOpenFile_data();
    void reopenOfTheOpenFile();
    void wavPlaysToo();
    void unplayableFilesRaise_data();
    void unplayableFilesRaise();
    void openingWhatIsNoFileRaises();
    void openThatNeverGetsReadyGivesUp();
    void newerOpenDuringTheWaitWins();
    void commandsWithoutDeviceRaise_data();
    void commandsWithoutDeviceRaise();

private:
    std::unique_ptr<MediaPlayer> openedPlayer(const QString &path);

    QTemporaryDir m_dir;
    QString m_mp3;      // 3 s
    QString m_shortMp3; // 1 s, no information frame
    QString m_wav;      // 1 s
};

void tst_MediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_mp3 = TestSounds::makeMp3(QDir(m_dir.path()), QStringLiteral("tone.mp3"), 30);
    m_shortMp3 = TestSounds::makeMp3(QDir(m_dir.path()), QStringLiteral("short.mp3"), 10, false);
    m_wav = TestSounds::makeWav(QDir(m_dir.path()), QStringLiteral("tone.wav"), 10);
    QVERIFY(!m_mp3.isEmpty());
    QVERIFY(!m_shortMp3.isEmpty());
    QVERIFY(!m_wav.isEmpty());
}

std::unique_ptr<MediaPlayer> tst_MediaPlayer::openedPlayer(const QString &path)
{
    auto player = std::make_unique<MediaPlayer>(TestSounds::fakeSink());
    player->setFileName(path);
    player->open();
    return player;
}

void tst_MediaPlayer::openGivesLengthStoppedAtStart()
{
    const auto player = openedPlayer(m_mp3);
    QVERIFY(player->isOpen());
    QCOMPARE(player->lastError(), 0);
    QCOMPARE(player->mode(), MediaMode::Stopped);
    QCOMPARE(player->position(), 0);
    QVERIFY2(qAbs(player->length() - 3000) < 100, qPrintable(QString::number(player->length())));
}

// An MP3 is decoded by mpg123: libav's decoder would map libavcodec, libavfilter and all
// they link. Only MP3s have been opened in this process so far.
void tst_MediaPlayer::mp3NeedsNoLibav()
{
    const auto player = openedPlayer(m_mp3);
    QSignalSpy notices(player.get(), &MediaPlayer::notify);
    player->play();
    QTRY_VERIFY(player->position() > 0);
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    QVERIFY(mapped.contains("libgstmpg123"));
    QVERIFY(!mapped.contains("libavcodec"));
    QVERIFY(!mapped.contains("libgstlibav"));
}

void tst_MediaPlayer::playAdvancesInRealTime()
{
    const auto player = openedPlayer(m_mp3);
    QElapsedTimer clock;
    clock.start();
    player->play();
    QCOMPARE(player->mode(), MediaMode::Playing);
    QTRY_VERIFY(player->position() >= 600);
    // The sink keeps time: the sound can never be ahead of the clock.
    QVERIFY2(
        player->position() <= clock.elapsed() + 100,
        qPrintable(
            QStringLiteral("%1 ms played in %2 ms").arg(player->position()).arg(clock.elapsed())));
}

void tst_MediaPlayer::pauseHoldsPositionAndToggles()
{
    const auto player = openedPlayer(m_mp3);
    player->pause();
    QCOMPARE(player->mode(), MediaMode::Stopped); // Pause while stopped does nothing.

    player->play();
    QTRY_VERIFY(player->position() >= 300);
    player->pause();
    QCOMPARE(player->mode(), MediaMode::Paused);
    const qint64 held = player->position();
    QTest::qWait(400);
    QVERIFY(qAbs(player->position() - held) <= 20);

    player->pause();
    QCOMPARE(player->mode(), MediaMode::Playing);
    QTRY_VERIFY(player->position() >= held + 300);
    QVERIFY(player->position() >= held);

    // Play while paused also continues from the paused position.
    player->pause();
    const qint64 heldAgain = player->position();
    player->play();
    QCOMPARE(player->mode(), MediaMode::Playing);
    QTRY_VERIFY(player->position() > heldAgain);
}

void tst_MediaPlayer::stopKeepsPositionAndPlayContinues()
{
    const auto player = openedPlayer(m_mp3);
    QSignalSpy notices(player.get(), &MediaPlayer::notify);
    player->play();
    QTRY_VERIFY(player->position() >= 400);
    player->stop();
    QCOMPARE(player->mode(), MediaMode::Stopped);
    QCOMPARE(notices.count(), 1);
    QCOMPARE(player->notifyValue(), NotifyValue::Aborted);
    const qint64 stoppedAt = player->position();
    QVERIFY(stoppedAt >= 400);
    QTest::qWait(300);
    QVERIFY(qAbs(player->position() - stoppedAt) <= 20);

    player->play();
    QCOMPARE(player->mode(), MediaMode::Playing);
    QVERIFY(player->position() >= stoppedAt - 20);
    QTRY_VERIFY(player->position() >= stoppedAt + 200);
}

void tst_MediaPlayer::playAfterEndStartsAgain()
{
    const auto player = openedPlayer(m_shortMp3);
    QSignalSpy notices(player.get(), &MediaPlayer::notify);
    player->play();
    QTRY_COMPARE(notices.count(), 1);
    QCOMPARE(player->notifyValue(), NotifyValue::Successful);
    QCOMPARE(player->mode(), MediaMode::Stopped);
    QVERIFY(qAbs(player->length() - 1000) < 100);
    QCOMPARE(player->position(), player->length());

    player->play();
    QCOMPARE(player->mode(), MediaMode::Playing);
    QVERIFY(player->position() < 500);
    QTRY_VERIFY(player->position() >= 200);
    QTRY_COMPARE(notices.count(), 2);
    QCOMPARE(player->notifyValue(), NotifyValue::Successful);

    // Without rewinding, playing from the end ends at once.
    player->setAutoRewind(false);
    player->play();
    QCOMPARE(notices.count(), 3);
    QCOMPARE(player->mode(), MediaMode::Stopped);
    QCOMPARE(player->position(), player->length());
}

void tst_MediaPlayer::playWhilePlayingDoesNotRestart()
{
    const auto player = openedPlayer(m_mp3);
    player->play();
    QTRY_VERIFY(player->position() >= 500);
    const qint64 before = player->position();
    player->play();
    QCOMPARE(player->mode(), MediaMode::Playing);
    QVERIFY(player->position() >= before - 20);
    QCOMPARE(player->notifyValue(), NotifyValue::Superseded);
}

void tst_MediaPlayer::newOpenAndCloseStopTheSound()
{
    const auto player = openedPlayer(m_mp3);
    player->play();
    QTRY_VERIFY(player->position() >= 300);
    player->open();
    QCOMPARE(player->mode(), MediaMode::Stopped);
    QCOMPARE(player->position(), 0);
    QTest::qWait(200);
    QCOMPARE(player->position(), 0);

    player->play();
    QTRY_VERIFY(player->position() >= 100);
    player->close();
    QVERIFY(!player->isOpen());
    QCOMPARE(player->mode(), MediaMode::NotReady);
    player->close(); // closing nothing does nothing
    QVERIFY(!player->isOpen());
}

// The alarm opens again the file the start opened: what it finds is what a new open would
// give, and only the newer play's end is reported.
void tst_MediaPlayer::reopenOfTheOpenFile_data()
{
    QTest::addColumn<QString>("change"); // what happened to the file since it was opened
    QTest::addColumn<int>("length");     // ms after the reopen; 0: no file
    QTest::newRow("unchanged") << QString() << 3000;
    QTest::newRow("rewritten") << QStringLiteral("rewrite") << 1000;
    QTest::newRow("removed") << QStringLiteral("remove") << 0;
}

void tst_MediaPlayer::reopenOfTheOpenFile()
{
    QFETCH(QString, change);
    QFETCH(int, length);
    const QString path = m_dir.filePath(QStringLiteral("alarm-%1.mp3").arg(change));
    QFile::remove(path);
    QVERIFY(QFile::copy(m_mp3, path));
    const auto player = openedPlayer(path);
    QSignalSpy notices(player.get(), &MediaPlayer::notify);
    player->play();
    QTRY_VERIFY(player->position() >= 300);
    if (!change.isEmpty()) {
        QVERIFY(QFile::remove(path));
        if (change == QLatin1String("rewrite"))
            QVERIFY(QFile::copy(m_wav, path));
    }
    const MediaPlayer::OpenResult result = player->openIfFileExists();
    if (length == 0) {
        QCOMPARE(result, MediaPlayer::OpenResult::NoFile);
        return;
    }
    QCOMPARE(result, MediaPlayer::OpenResult::Opened);
    QCOMPARE(player->mode(), MediaMode::Stopped);
    QCOMPARE(player->position(), 0);
    QVERIFY(qAbs(player->length() - length) < 100);
    QCOMPARE(notices.size(), 0);
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(notices.size(), 1, 10000);
    QCOMPARE(player->notifyValue(), NotifyValue::Successful);
}

void tst_MediaPlayer::wavPlaysToo()
{
    const auto player = openedPlayer(m_wav);
    QVERIFY(qAbs(player->length() - 1000) < 50);
    QSignalSpy notices(player.get(), &MediaPlayer::notify);
    player->play();
    QTRY_COMPARE(notices.count(), 1);
    QCOMPARE(player->notifyValue(), NotifyValue::Successful);
}

void tst_MediaPlayer::unplayableFilesRaise_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::newRow("text renamed to mp3") << QByteArray("These are words, not sound.\n")
                                         << QStringLiteral("Could not determine type of stream.");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("Stream contains no data.");
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    QTest::newRow("picture") << png << QStringLiteral("The file holds no sound");
    QTest::newRow("letters") << QByteArray(4096, 'Z')
                             << QStringLiteral("This appears to be a text file");
}

void tst_MediaPlayer::unplayableFilesRaise()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(QStringLiteral("bad.mp3"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
    file.close();

    // A sound that plays is open before the bad one replaces it; it stays closed after.
    const auto player = openedPlayer(m_mp3);
    player->play();
    player->setFileName(path);
    try {
        player->open();
        QFAIL("the file opened");
    } catch (const EMCIDeviceError &error) {
        QCOMPARE(error.message(), message);
    }
    QVERIFY(!player->isOpen());
    QVERIFY(player->lastError() != 0);
    QCOMPARE(player->mode(), MediaMode::NotReady);
}

void tst_MediaPlayer::openingWhatIsNoFileRaises()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("x.mp3")));
    for (const QString &name : {QStringLiteral("x.mp3"), QStringLiteral("missing.mp3")}) {
        MediaPlayer player(TestSounds::fakeSink());
        player.setFileName(m_dir.filePath(name));
        try {
            player.open();
            QFAIL("opened");
        } catch (const EMCIDeviceError &error) {
            QVERIFY2(!error.message().isEmpty(), qPrintable(name));
        }
        QVERIFY(!player.isOpen());
    }
    QCOMPARE(EMCIDeviceError::fromText(QString()).message(), QStringLiteral("Unknown error code"));
}

void tst_MediaPlayer::openThatNeverGetsReadyGivesUp()
{
    // Each buffer takes longer to pass than open waits.
    MediaPlayer player("identity sleep-time=6000000 ! fakesink sync=true");
    player.setFileName(m_shortMp3);
    try {
        player.open();
        QFAIL("opened");
    } catch (const EMCIDeviceError &error) {
        QCOMPARE(error.message(),
                 QStringLiteral("The sound file did not become ready to play within 5 seconds"));
    }
    QVERIFY(!player.isOpen());
}

void tst_MediaPlayer::newerOpenDuringTheWaitWins()
{
    // An open waits with the event loop running; a timer opens another file meanwhile. The
    // older open then leaves the player as the newer one made it, and reports nothing.
    // Files of its own: a device that is still closing on a file (the slow sink of the test
    // before) has the next open of that file refused at once.
    const QString older = m_dir.filePath(QStringLiteral("older.mp3"));
    const QString newer = m_dir.filePath(QStringLiteral("newer.mp3"));
    QVERIFY(QFile::copy(m_shortMp3, older));
    QVERIFY(QFile::copy(m_mp3, newer));
    MediaPlayer player("identity sleep-time=6000000 ! fakesink sync=true");
    player.setFileName(older);
    QTimer::singleShot(200, &player, [&player, &newer] {
        player.setFileName(newer);
        try {
            player.open();
        } catch (const EMCIDeviceError &) {
            // The sink is as slow for this file: nothing opens here either.
        }
    });
    QCOMPARE(player.openIfFileExists(), MediaPlayer::OpenResult::Superseded);
    QVERIFY(!player.isOpen());
    QCOMPARE(player.fileName(), newer);

    // With a sink that keeps up, the newer file is what stays open.
    MediaPlayer quick(TestSounds::fakeSink());
    quick.setFileName(m_dir.filePath(QStringLiteral("missing.mp3")));
    QTimer::singleShot(0, &quick, [&quick, this] {
        quick.setFileName(m_wav);
        quick.open();
    });
    const MediaPlayer::OpenResult result = quick.openIfFileExists();
    QVERIFY(result == MediaPlayer::OpenResult::Superseded ||
            result == MediaPlayer::OpenResult::NoFile);
    QTRY_VERIFY(quick.isOpen());
    QVERIFY(qAbs(quick.length() - 1000) < 50);
}

void tst_MediaPlayer::commandsWithoutDeviceRaise_data()
{
    QTest::addColumn<std::function<void(MediaPlayer &)>>("command");
    QTest::newRow("play") << std::function<void(MediaPlayer &)>(&MediaPlayer::play);
    QTest::newRow("pause") << std::function<void(MediaPlayer &)>(&MediaPlayer::pause);
    QTest::newRow("stop") << std::function<void(MediaPlayer &)>(&MediaPlayer::stop);
    QTest::newRow("rewind") << std::function<void(MediaPlayer &)>(&MediaPlayer::rewind);
    QTest::newRow("length") << std::function<void(MediaPlayer &)>(
        [](MediaPlayer &player) { player.length(); });
    QTest::newRow("position") << std::function<void(MediaPlayer &)>(
        [](MediaPlayer &player) { player.position(); });
}

void tst_MediaPlayer::commandsWithoutDeviceRaise()
{
    QFETCH(std::function<void(MediaPlayer &)>, command);
    MediaPlayer player(TestSounds::fakeSink());
    try {
        command(player);
        QFAIL("no error");
    } catch (const EMCIDeviceError &error) {
        QCOMPARE(error.message(), QStringLiteral("No MCI device open"));
    }
}

QTEST_GUILESS_MAIN(tst_MediaPlayer)
#include "tst_mediaplayer.moc"
