// SPDX-License-Identifier: GPL-3.0-or-later
#include "EPictureError.h"
#include "SlowFs.h"
#include "TTEImage.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A corner picture on a file system whose calls hang: the load gives up after its bound,
// the control goes on painting its previous picture meanwhile and keeps it afterwards.
class tst_SlowPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hangingPathIsGivenUp_data();
    void hangingPathIsGivenUp();

private:
    // A picture made by ImageMagick; empty when it could not be made.
    static QString magick(const QString &path, const QString &size, const QString &colours);

    QTemporaryDir m_source;
    QTemporaryDir m_local;
    QString m_localJpeg;
};

QString tst_SlowPicture::magick(const QString &path, const QString &size, const QString &colours)
{
    const int status = QProcess::execute(
        QStringLiteral("convert"),
        {QStringLiteral("-size"), size, QStringLiteral("gradient:") + colours, path});
    return status == 0 ? path : QString();
}

void tst_SlowPicture::initTestCase()
{
    QVERIFY(m_source.isValid() && m_local.isValid());
    for (const char *name : {"corner.jpg", "corner.bmp"}) {
        QVERIFY(!magick(m_source.filePath(QLatin1String(name)), QStringLiteral("200x100"),
                        QStringLiteral("red-yellow"))
                     .isEmpty());
    }
    QVERIFY(!magick(m_source.filePath(QStringLiteral("corner.ico")), QStringLiteral("48x48"),
                    QStringLiteral("red-yellow"))
                 .isEmpty());
    m_localJpeg = magick(m_local.filePath(QStringLiteral("local.jpg")), QStringLiteral("640x480"),
                         QStringLiteral("blue-green"));
    QVERIFY(!m_localJpeg.isEmpty());
}

void tst_SlowPicture::hangingPathIsGivenUp_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("name");
    QTest::newRow("stat jpg") << QStringLiteral("stat") << QStringLiteral("corner.jpg");
    QTest::newRow("open jpg") << QStringLiteral("open") << QStringLiteral("corner.jpg");
    QTest::newRow("read jpg") << QStringLiteral("read") << QStringLiteral("corner.jpg");
    QTest::newRow("read bmp") << QStringLiteral("read") << QStringLiteral("corner.bmp");
    QTest::newRow("read ico") << QStringLiteral("read") << QStringLiteral("corner.ico");
}

void tst_SlowPicture::hangingPathIsGivenUp()
{
    QFETCH(QString, block);
    QFETCH(QString, name);
    const SlowFs slow(m_source.path(), block);
    if (!slow.isMounted())
        QSKIP(qPrintable(slow.reason()));

    TTEImage image;
    image.setBackgroundColor(Qt::black);
    QCOMPARE(image.LoadFromFileIfExists(m_localJpeg), TTEImage::LoadResult::Loaded);
    image.show();
    QVERIFY(QTest::qWaitForWindowExposed(&image));
    const QImage oldLook = image.normalLook(image.rect());

    // While the load waits, timers run and the control still paints its old picture.
    int ticks = 0;
    QImage shownWhileWaiting;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &image, [&] {
        if (++ticks == 5)
            shownWhileWaiting = image.grab().toImage().convertToFormat(QImage::Format_RGB32);
    });
    ticker.start(100);
    QElapsedTimer clock;
    clock.start();
    const QString path = slow.path(name);
    try {
        image.LoadFromFileIfExists(path);
        QFAIL("the hanging file loaded");
    } catch (const EPictureError &error) {
        QCOMPARE(error.message(),
                 QStringLiteral("The picture file \"%1\" could not be read within 5 seconds")
                     .arg(path));
    }
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(ticks >= 10, qPrintable(QStringLiteral("%1 timer ticks while waiting").arg(ticks)));
    QCOMPARE(shownWhileWaiting, oldLook);
    QCOMPARE(image.picture().size(), QSize(640, 480));
    QCOMPARE(image.normalLook(image.rect()), oldLook);

    // The stuck read is left to its thread; the next picture loads at once.
    clock.restart();
    QCOMPARE(image.LoadFromFileIfExists(m_source.filePath(name)), TTEImage::LoadResult::Loaded);
    QVERIFY(image.picture().size() != QSize(640, 480));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_MAIN(tst_SlowPicture)
#include "tst_slowpicture.moc"
