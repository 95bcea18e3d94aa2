// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitFit.h"
#include "MessageBoxes.h"
#include "TTEImage.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The program on a screen of device pixel ratio 2, as QT_SCALE_FACTOR=2 or a Wayland
// output of scale 2 give it.
class tst_HiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cornerPictureIsDrawnAtDevicePixels();
    void digitsAndPlacementAreInLogicalPixels();

private:
    QTemporaryDir m_dir;
};

void tst_HiDpi::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
}

// A one-pixel checkerboard exactly as large as the control in device pixels: drawn at
// device pixels it stays a checkerboard, drawn at logical size and enlarged it turns
// into grey blocks.
void tst_HiDpi::cornerPictureIsDrawnAtDevicePixels()
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        QSKIP("ImageMagick's convert is needed");
    const QString path = m_dir.filePath(QStringLiteral("checker.bmp"));
    QCOMPARE(QProcess::execute(QStringLiteral("convert"),
                               {QStringLiteral("-size"), QStringLiteral("262x254"),
                                QStringLiteral("pattern:gray50"), QStringLiteral("-type"),
                                QStringLiteral("TrueColor"), QStringLiteral("BMP3:") + path}),
             0);

    TTEImage picture;
    picture.setPictureMargin(0);
    picture.resize(131, 127);
    picture.LoadFromFile(path);
    picture.setPictureVisible(true);
    QCOMPARE(picture.pictureRect(), QRect(0, 0, 131, 127));
    const QImage shown = picture.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(262, 254));

    // Neighbouring device pixels in the middle differ by the full range.
    qint64 contrast = 0;
    int pairs = 0;
    for (int y = 100; y < 150; ++y) {
        for (int x = 100; x < 160; ++x) {
            contrast += std::abs(qGray(shown.pixel(x, y)) - qGray(shown.pixel(x + 1, y)));
            ++pairs;
        }
    }
    QVERIFY2(contrast / pairs > 200, qPrintable(QString::number(contrast / pairs)));
}

void tst_HiDpi::digitsAndPlacementAreInLogicalPixels()
{
    pub_unit::setApplicationDirectoryForTesting(m_dir.path());
    MessageBoxes::setPresenterForTesting([](const MessageBoxes::Request &) {
        return QMessageBox::Ok;
    });
    pub_unit::writeKey(m_dir.filePath(QStringLiteral("config.dat")), QStringLiteral("SET"),
                       QStringLiteral("autofit"), QStringLiteral("true"));
    {
        frm_main window;
        QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ac_fullExecute();
        const QRect screen = window.screen()->geometry(); // logical pixels
        QTRY_COMPARE(window.geometry(), screen);
        QLabel *const display = window.Label7;
        QTRY_COMPARE(display->width(), screen.width());
        // The same size as at ratio 1 for this logical area.
        QTRY_COMPARE(display->font().pixelSize(),
                     DigitFit::largestFittingPixelSize(display->font(),
                                                       QStringLiteral("00:00:00"),
                                                       display->contentsRect().size()));
        QVERIFY(display->font().pixelSize() * 2 > screen.width() / 8);
        // 50 logical pixels in from the screen's corner.
        QCOMPARE(window.TEImage1->geometry().bottomRight() + QPoint(1, 1),
                 QPoint(screen.width() - 50, screen.height() - 50));
    }
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
}

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    tst_HiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
