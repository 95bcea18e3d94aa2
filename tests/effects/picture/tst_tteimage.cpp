// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFit.h"
#include "TTEImage.h"
#include "TarvikError.h"
#include "TestPictures.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QString loadError(TTEImage &image, const QString &path)
{
    try {
        image.LoadFromFile(path);
    } catch (const TarvikError &error) {
        return error.message();
    }
    return QString();
}

QImage look(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_TTEImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fitRule_data();
    void fitRule();
    void paintsBandsAndPicture();
    void loadErrorsKeepThePicture();
    void largeJpegIsDecodedSmall();
    void hugeJpegIsRefused();
    void prepareCapturesTheLook();
    void rollPlaysAndEndsInNormalLook();
    void runEndsCleanly_data();
    void runEndsCleanly();
    void hiddenControlPlaysNothing();
    void clickAbortsWhenAsked();

private:
    QString write(const QString &name, const QImage &image, const char *format);
    // The transitions' clock: it moves only when a test moves it.
    MonotonicClock clock()
    {
        return [this] {
            return m_now;
        };
    }
    // Moves the clock on while the frame timer runs, until the roll is over.
    bool playToEnd(const TTEImage *image);
    QTemporaryDir m_dir;
    std::chrono::nanoseconds m_now{std::chrono::hours(1)};
};

bool tst_TTEImage::playToEnd(const TTEImage *image)
{
    return QTest::qWaitFor(
        [this, image] {
            m_now += std::chrono::milliseconds(200);
            return !image->isTransitionPrepared();
        },
        10000);
}

void tst_TTEImage::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString tst_TTEImage::write(const QString &name, const QImage &image, const char *format)
{
    const QString path = m_dir.filePath(name);
    if (!image.save(path, format))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_TTEImage::fitRule_data()
{
    QTest::addColumn<QSize>("graphic");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("small square") << QSize(32, 32) << 0 << QRect(2, 0, 127, 127);
    QTest::newRow("large square") << QSize(500, 500) << 0 << QRect(2, 0, 127, 127);
    QTest::newRow("640 x 480") << QSize(640, 480) << 0 << QRect(0, 14, 131, 98);
    QTest::newRow("wide, odd pixel below") << QSize(262, 100) << 0 << QRect(0, 38, 131, 50);
    QTest::newRow("tall, odd pixel right") << QSize(100, 300) << 0 << QRect(44, 0, 42, 127);
    QTest::newRow("same shape") << QSize(262, 254) << 0 << QRect(0, 0, 131, 127);
    QTest::newRow("margin") << QSize(640, 480) << 5 << QRect(5, 18, 121, 90);
}

void tst_TTEImage::fitRule()
{
    QFETCH(QSize, graphic);
    QFETCH(int, margin);
    QFETCH(QRect, expected);
    QCOMPARE(PictureFit::centerStretch(QRect(0, 0, 131, 127), margin, graphic), expected);

    TTEImage image;
    QCOMPARE(image.size(), QSize(131, 127));
    QVERIFY(image.pictureRect().isEmpty());
    QImage picture(graphic, QImage::Format_RGB32);
    picture.fill(Qt::red);
    image.setPictureMargin(margin);
    image.LoadFromFile(write(QStringLiteral("fit.bmp"), picture, "BMP"));
    QCOMPARE(image.pictureRect(), expected);
}

void tst_TTEImage::paintsBandsAndPicture()
{
    TTEImage image;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::red);
    image.LoadFromFile(write(QStringLiteral("red.bmp"), picture, "BMP"));
    image.setBackgroundColor(Qt::blue);
    image.show();
    QVERIFY(QTest::qWaitForWindowExposed(&image));
    const QImage shown = look(image);
    QCOMPARE(shown, image.normalLook(image.rect()));
    for (int y = 0; y < 127; ++y) {
        const QRgb want = y >= 14 && y < 14 + 98 ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
        QCOMPARE(shown.pixel(0, y), want);
        QCOMPARE(shown.pixel(130, y), want);
    }
}

void tst_TTEImage::loadErrorsKeepThePicture()
{
    TTEImage image;
    const QImage picture = TestPictures::photo(640, 480);
    // Upper-case and mixed-case extensions load like lower-case ones.
    image.LoadFromFile(write(QStringLiteral("photo.JPG"), picture, "JPEG"));
    QCOMPARE(image.picture().kind(), CornerPicture::Kind::Jpeg);
    image.LoadFromFile(write(QStringLiteral("photo2.Jpeg"), picture, "JPEG"));
    QCOMPARE(image.picture().kind(), CornerPicture::Kind::Jpeg);
    QCOMPARE(image.picture().size(), QSize(640, 480));

    QCOMPARE(loadError(image, write(QStringLiteral("p.png"), picture, "PNG")),
             QStringLiteral("Unknown picture file extension (.png)"));
    const auto junk = [this](const QString &name) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("this is not a picture at all, just some text in a file");
        return path;
    };
    QCOMPARE(loadError(image, junk(QStringLiteral("noextension"))),
             QStringLiteral("Unknown picture file extension (.)"));
    const QString jpegError = loadError(image, junk(QStringLiteral("broken.jpg")));
    QVERIFY2(QRegularExpression(QStringLiteral("^JPEG error #\\d+$")).match(jpegError).hasMatch(),
             qPrintable(jpegError));
    QCOMPARE(loadError(image, junk(QStringLiteral("broken.bmp"))),
             QStringLiteral("Bitmap image is not valid"));
    QCOMPARE(loadError(image, junk(QStringLiteral("broken.ico"))),
             QStringLiteral("Icon image is not valid"));
    QVERIFY(!loadError(image, junk(QStringLiteral("broken.emf"))).isEmpty());
    QVERIFY(!loadError(image, m_dir.filePath(QStringLiteral("missing.jpg"))).isEmpty());

    // A JPEG cut short decodes what is there or fails, but never takes the old picture away.
    QFile whole(m_dir.filePath(QStringLiteral("photo.JPG")));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QFile cut(m_dir.filePath(QStringLiteral("cut.jpg")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(300));
    cut.close();
    loadError(image, cut.fileName());
    QCOMPARE(image.picture().kind(), CornerPicture::Kind::Jpeg);

    QCOMPARE(image.picture().size(), QSize(640, 480));
    QCOMPARE(image.picture().kind(), CornerPicture::Kind::Jpeg);

    QImage icon(48, 48, QImage::Format_ARGB32);
    icon.fill(QColor(0, 200, 0, 255));
    image.LoadFromFile(write(QStringLiteral("green.ICO"), icon, "ICO"));
    QCOMPARE(image.picture().kind(), CornerPicture::Kind::Icon);
    QCOMPARE(image.pictureRect(), QRect(2, 0, 127, 127));
}

void tst_TTEImage::largeJpegIsDecodedSmall()
{
    TTEImage image;
    image.LoadFromFile(write(QStringLiteral("big.jpg"), TestPictures::photo(4000, 3000), "JPEG"));
    QCOMPARE(image.picture().size(), QSize(4000, 3000));
    QCOMPARE(image.pictureRect(), QRect(0, 14, 131, 98));
    // One eighth is the smallest libjpeg offers and still covers 131 x 98.
    QCOMPARE(image.picture().image().size(), QSize(500, 375));

    // Drawn larger later, it is decoded again as far as needed.
    image.resize(1200, 900);
    QCOMPARE(image.pictureRect().size(), QSize(1200, 900));
    image.normalLook(image.rect());
    QVERIFY(image.picture().image().width() >= 1200);
    QVERIFY(image.picture().image().width() < 4000);
}

void tst_TTEImage::hugeJpegIsRefused()
{
    // A small JPEG whose header claims 60000 x 60000 pixels.
    const QString path = write(QStringLiteral("claims.jpg"), TestPictures::photo(16, 16), "JPEG");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    QVERIFY(frame > 0);
    bytes[frame + 5] = char(0xEA);
    bytes[frame + 6] = char(0x60);
    bytes[frame + 7] = char(0xEA);
    bytes[frame + 8] = char(0x60);
    file.seek(0);
    file.write(bytes);
    file.close();

    TTEImage image;
    QCOMPARE(loadError(image, path), QStringLiteral("Picture is too large (60000 x 60000 pixels)"));
    QCOMPARE(image.picture().kind(), CornerPicture::Kind::None);
}

void tst_TTEImage::prepareCapturesTheLook()
{
    QWidget window;
    window.resize(400, 300);
    auto *image = new TTEImage(&window, clock());
    image->LoadFromFile(write(QStringLiteral("prep.jpg"), TestPictures::photo(640, 480), "JPEG"));
    image->setBackgroundColor(Qt::black);
    TTransitionEffect *roll = image->TransitionList1().at(0);
    QVERIFY(roll);
    QVERIFY(!image->PrepareTransition(roll)); // not on screen
    QVERIFY(!image->isTransitionPrepared());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage normal = look(*image);
    QVERIFY(image->PrepareTransition(roll));
    QVERIFY(image->isTransitionPrepared());
    QVERIFY(!image->isTransitionRunning());
    QCOMPARE(look(*image), normal);
    image->UnprepareTransition();
    QVERIFY(!image->isTransitionPrepared());
    QCOMPARE(look(*image), normal);
}

void tst_TTEImage::rollPlaysAndEndsInNormalLook()
{
    QWidget window;
    window.resize(400, 300);
    auto *image = new TTEImage(&window, clock());
    image->move(200, 120);
    image->LoadFromFile(write(QStringLiteral("roll.jpg"), TestPictures::photo(640, 480), "JPEG"));
    image->setBackgroundColor(QColor(10, 10, 10));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage normal = look(*image);
    const QRect picture = image->pictureRect();

    // The event loop keeps running: a fast timer goes on ticking during the roll.
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
    ticker.start(5);

    QSignalSpy finished(image, &TTEImage::transitionFinished);
    image->Timer2Timer();
    QVERIFY(image->isTransitionRunning());
    image->Timer2Timer(); // a tick during the roll starts nothing
    QTRY_VERIFY(ticks >= 10);
    m_now += std::chrono::milliseconds(400);
    QTRY_VERIFY(look(*image) != normal);
    QVERIFY(image->isTransitionRunning());
    const QImage during = look(*image);
    // The roll stays inside the picture: the bands keep the background colour.
    for (int y = 0; y < picture.top(); ++y)
        QCOMPARE(during.pixel(65, y), qRgb(10, 10, 10));
    for (int y = picture.bottom() + 1; y < image->height(); ++y)
        QCOMPARE(during.pixel(65, y), qRgb(10, 10, 10));

    QVERIFY(playToEnd(image));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(look(*image), normal);
    m_now += std::chrono::seconds(2);
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
}

void tst_TTEImage::runEndsCleanly_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"hide", "hide parent", "move", "resize", "cancel", "load", "colour",
                            "destroy", "prepare again"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void tst_TTEImage::runEndsCleanly()
{
    QFETCH(QString, how);
    QWidget window;
    window.resize(400, 300);
    auto *image = new TTEImage(&window, clock());
    const QString path = write(QStringLiteral("stop.jpg"), TestPictures::photo(640, 480), "JPEG");
    image->LoadFromFile(path);
    image->setBackgroundColor(Qt::black);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    image->Timer2Timer();
    m_now += std::chrono::milliseconds(300);
    QTRY_VERIFY(look(*image) != image->normalLook(image->rect()));
    QVERIFY(image->isTransitionRunning());
    if (how == QLatin1String("destroy")) {
        delete image;
        QTest::qWait(100);
        return;
    }
    if (how == QLatin1String("hide"))
        image->hide();
    else if (how == QLatin1String("hide parent"))
        window.hide();
    else if (how == QLatin1String("move"))
        image->move(10, 10);
    else if (how == QLatin1String("resize"))
        image->resize(200, 150);
    else if (how == QLatin1String("cancel"))
        image->cancelTransition();
    else if (how == QLatin1String("load"))
        image->LoadFromFile(path);
    else if (how == QLatin1String("colour"))
        image->setBackgroundColor(Qt::darkBlue);
    else if (how == QLatin1String("prepare again"))
        QVERIFY(image->PrepareTransition(image->TransitionList1().at(0)));

    if (how == QLatin1String("prepare again")) {
        QVERIFY(!image->isTransitionRunning());
        image->ExecuteTransition(true);
        QVERIFY(image->isTransitionRunning());
        QVERIFY(playToEnd(image));
    }
    QVERIFY(!image->isTransitionPrepared());
    m_now += std::chrono::seconds(2);
    QTest::qWait(100);
    QVERIFY(!image->isTransitionPrepared());
    if (window.isVisible() && image->isVisible())
        QCOMPARE(look(*image), image->normalLook(image->rect()));
}

void tst_TTEImage::hiddenControlPlaysNothing()
{
    QWidget window;
    auto *image = new TTEImage(&window, clock());
    image->LoadFromFile(write(QStringLiteral("hidden.jpg"), TestPictures::photo(64, 64), "JPEG"));
    image->hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(image, &TTEImage::transitionFinished);
    image->Timer2Timer();
    QVERIFY(!image->isTransitionPrepared());
    QCOMPARE(finished.count(), 0);
}

void tst_TTEImage::clickAbortsWhenAsked()
{
    QWidget window;
    window.resize(400, 300);
    auto *image = new TTEImage(&window, clock());
    image->LoadFromFile(write(QStringLiteral("click.jpg"), TestPictures::photo(640, 480), "JPEG"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TTransitionEffect *roll = image->TransitionList1().at(0);
    int ended = 0;
    roll->OnEndTransition = [&ended](TTransitionEffect &) {
        ++ended;
    };

    image->Timer2Timer();
    QVERIFY(playToEnd(image));
    QCOMPARE(ended, 1);

    roll->AbortOnClick = true;
    image->Timer2Timer();
    m_now += std::chrono::milliseconds(100);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(20, 20));
    QTRY_VERIFY(!image->isTransitionPrepared());
    QCOMPARE(ended, 1);
    QCOMPARE(look(*image), image->normalLook(image->rect()));
    roll->AbortOnClick = false;
    roll->OnEndTransition = nullptr;
}

QTEST_MAIN(tst_TTEImage)
#include "tst_tteimage.moc"
