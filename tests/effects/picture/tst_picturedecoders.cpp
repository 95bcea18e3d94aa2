// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapIconDecoder.h"
#include "EPictureError.h"
#include "JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

QSize fullSize(QSize natural)
{
    return natural;
}

// Mean difference per channel between two pictures of the same size.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 255;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            sum += std::abs(qRed(p[col]) - qRed(q[col])) +
                   std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

QString refusalOf(const std::function<void()> &decode)
{
    try {
        decode();
    } catch (const EPictureError &error) {
        return error.message();
    }
    return QString();
}

// A frame header changed to claim another size; the data stays that of the small picture.
QByteArray claimSize(QByteArray data, int width, int height)
{
    for (const char marker : {'\xC0', '\xC1', '\xC2'}) {
        const qsizetype frame = data.indexOf(QByteArray("\xFF") + marker);
        if (frame > 0) {
            data[frame + 5] = char(height >> 8);
            data[frame + 6] = char(height);
            data[frame + 7] = char(width >> 8);
            data[frame + 8] = char(width);
            return data;
        }
    }
    return {};
}

} // namespace

class tst_PictureDecoders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // Before anything else reads an icon whose entries are PNG: Qt's icon plugin reads those
    // by asking every image plugin.
    void loadsOnlyTheFormatsPlugin();
    void jpegCodings_data();
    void jpegCodings();
    void jpegMemoryIsCapped_data();
    void jpegMemoryIsCapped();
    void bitmapsAndIcons_data();
    void bitmapsAndIcons();
    void bitmapsAndIconsRefused_data();
    void bitmapsAndIconsRefused();

private:
    // Has ImageMagick write a picture file and gives the file's bytes.
    QByteArray make(const QStringList &arguments, const QString &name);
    QTemporaryDir m_dir;
    QString m_source; // the picture every file is made from, as ImageMagick writes it
    QImage m_sourceImage;
};

void tst_PictureDecoders::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable(u"convert"_s).isEmpty())
        QSKIP("ImageMagick's convert makes the test files");
    m_source = m_dir.filePath(u"source.ppm"_s);
    make({u"-size"_s, u"96x64"_s, u"gradient:#f0c020-#2050c0"_s, u"-fill"_s, u"#106010"_s,
          u"-draw"_s, u"ellipse 48,32 24,16 0,360"_s, u"-compress"_s, u"none"_s},
         u"source.ppm"_s);
    // Read as the decoders read: without loading every image plugin (see below).
    QImageReader source(m_source, "ppm");
    source.setAutoDetectImageFormat(false);
    m_sourceImage = source.read();
    QVERIFY(!m_sourceImage.isNull());
}

void tst_PictureDecoders::loadsOnlyTheFormatsPlugin()
{
    for (const auto format : {BitmapIconDecoder::Format::Bitmap, BitmapIconDecoder::Format::Icon}) {
        const bool icon = format == BitmapIconDecoder::Format::Icon;
        QBuffer buffer;
        buffer.setData(make({m_source}, icon ? u"plugins.ico"_s : u"plugins.bmp"_s));
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QVERIFY(!BitmapIconDecoder::decode(&buffer, format, JpegDecoder::maxPixels).isNull());
    }
    QFile maps(u"/proc/self/maps"_s);
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    for (const char *other : {"libqsvg", "libqgif", "libqjpeg"})
        QVERIFY2(!mapped.contains(other), other);
}

QByteArray tst_PictureDecoders::make(const QStringList &arguments, const QString &name)
{
    const QString path = m_dir.filePath(name);
    QProcess process;
    process.start(u"convert"_s, arguments + QStringList{path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning("convert failed: %s", process.readAllStandardError().constData());
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_PictureDecoders::jpegCodings_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("grey"); // compared with Qt's grey, whose weights differ a little
    const auto im = [](QStringList options) {
        return QStringList{u"PPM:SOURCE"_s} + options;
    };
    QTest::newRow("baseline 4:2:0") << im({u"-sampling-factor"_s, u"2x2"_s}) << false;
    QTest::newRow("progressive") << im({u"-interlace"_s, u"JPEG"_s}) << false;
    QTest::newRow("grey") << im({u"-colorspace"_s, u"Gray"_s}) << true;
    // Adobe's CMYK files store the inks inverted.
    QTest::newRow("CMYK") << im({u"-colorspace"_s, u"CMYK"_s}) << false;
}

void tst_PictureDecoders::jpegCodings()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, grey);
    arguments.replaceInStrings(u"SOURCE"_s, m_source);
    const QByteArray data = make(arguments + QStringList{u"-quality"_s, u"95"_s},
                                 QString::fromLatin1(QTest::currentDataTag()) + u".jpg"_s);
    QVERIFY(!data.isEmpty());

    const JpegDecoder::Result full = JpegDecoder::decode(data, fullSize);
    QCOMPARE(full.natural, QSize(96, 64));
    QCOMPARE(full.image.size(), QSize(96, 64));
    QVERIFY(!full.reduced);
    QCOMPARE(full.image.format(), QImage::Format_RGB32);
    const QImage expected =
        grey ? m_sourceImage.convertToFormat(QImage::Format_Grayscale8) : m_sourceImage;
    const double difference = meanDifference(full.image, expected);
    QVERIFY2(difference < (grey ? 8 : 4), qPrintable(QString::number(difference)));

    // Drawn at a quarter, it is decoded at a quarter.
    const JpegDecoder::Result quarter =
        JpegDecoder::decode(data, [](QSize) { return QSize(24, 16); });
    QCOMPARE(quarter.image.size(), QSize(24, 16));
    QCOMPARE(quarter.natural, QSize(96, 64));
    QVERIFY(quarter.reduced);
    const double reducedDifference = meanDifference(
        quarter.image, expected.scaled(24, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QVERIFY2(reducedDifference < 8, qPrintable(QString::number(reducedDifference)));
}

void tst_PictureDecoders::jpegMemoryIsCapped_data()
{
    QTest::addColumn<bool>("progressive");
    QTest::addColumn<QSize>("claimed");
    QTest::addColumn<long>("memoryMB");
    QTest::addColumn<QString>("refusal"); // empty: decoded

    // A progressive picture keeps all its coefficients: about 432 MB at 12000 x 12000.
    QTest::newRow("progressive 12000 x 12000")
        << true << QSize(12000, 12000) << 128L
        << u"Picture is too large to decode in 128 MB (12000 x 12000 pixels)"_s;
    QTest::newRow("progressive 5000 x 5000") // about 75 MB
        << true << QSize(5000, 5000) << 128L << QString();
    QTest::newRow("progressive 3000 x 2000, lower cap")
        << true << QSize(3000, 2000) << 8L
        << u"Picture is too large to decode in 8 MB (3000 x 2000 pixels)"_s;
    // A baseline picture is decoded a few rows at a time, however large.
    QTest::newRow("baseline 12000 x 12000") << false << QSize(12000, 12000) << 128L << QString();
}

void tst_PictureDecoders::jpegMemoryIsCapped()
{
    QFETCH(bool, progressive);
    QFETCH(QSize, claimed);
    QFETCH(long, memoryMB);
    QFETCH(QString, refusal);
    QStringList arguments{u"-size"_s, u"64x64"_s, u"gradient:orange-navy"_s, u"-sampling-factor"_s,
                          u"2x2"_s};
    if (progressive)
        arguments << u"-interlace"_s << u"JPEG"_s;
    const QByteArray data = claimSize(make(arguments, progressive ? u"p.jpg"_s : u"b.jpg"_s),
                                      claimed.width(), claimed.height());
    QVERIFY(!data.isEmpty());

    JpegDecoder::Limits limits;
    limits.maxLibraryMemory = memoryMB * 1024 * 1024;
    const auto corner = [](QSize) {
        return QSize(131, 127);
    };
    JpegDecoder::Result result;
    const QString message = refusalOf([&] { result = JpegDecoder::decode(data, corner, limits); });
    QCOMPARE(message, refusal);
    if (refusal.isEmpty()) {
        QCOMPARE(result.natural, claimed);
        QCOMPARE(result.image.size(), QSize((claimed.width() + 7) / 8, (claimed.height() + 7) / 8));
    }
}

void tst_PictureDecoders::bitmapsAndIcons_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("tolerance"); // mean difference from the source picture

    const auto from = [](QStringList options) {
        return QStringList{u"PPM:SOURCE"_s} + options;
    };
    QTest::newRow("24-bit") << from({u"-define"_s, u"bmp:format=bmp3"_s}) << u"bmp"_s
                            << QSize(96, 64) << 1.0;
    QTest::newRow("32-bit with alpha, V5 header")
        << from({u"-alpha"_s, u"set"_s, u"-define"_s, u"bmp:format=bmp4"_s}) << u"bmp"_s
        << QSize(96, 64) << 1.0;
    QTest::newRow("8-bit run-length") << from({u"-colors"_s, u"200"_s, u"-compress"_s, u"RLE"_s,
                                               u"-define"_s, u"bmp:format=bmp3"_s})
                                      << u"bmp"_s << QSize(96, 64) << 6.0;
    // The largest of several sizes is taken, wherever it stands in the file.
    QTest::newRow("icon, three sizes")
        << from({u"-resize"_s, u"48x48!"_s, u"-define"_s, u"icon:auto-resize=16,48,32"_s})
        << u"ico"_s << QSize(48, 48) << 255.0;
    QTest::newRow("icon with a PNG entry")
        << from({u"-resize"_s, u"256x256!"_s}) << u"ico"_s << QSize(256, 256) << 255.0;
}

void tst_PictureDecoders::bitmapsAndIcons()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, extension);
    QFETCH(QSize, size);
    QFETCH(double, tolerance);
    arguments.replaceInStrings(u"SOURCE"_s, m_source);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u'/', u'-');
    const QByteArray data = make(arguments, name + u'.' + extension);
    QVERIFY(!data.isEmpty());
    QBuffer buffer;
    buffer.setData(data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const bool icon = extension == u"ico"_s;
    const QImage image = BitmapIconDecoder::decode(
        &buffer, icon ? BitmapIconDecoder::Format::Icon : BitmapIconDecoder::Format::Bitmap,
        JpegDecoder::maxPixels);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.format(), icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const QImage expected =
        m_sourceImage.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double difference = meanDifference(image, expected);
    QVERIFY2(difference <= (icon ? 10.0 : tolerance), qPrintable(QString::number(difference)));
}

void tst_PictureDecoders::bitmapsAndIconsRefused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<QString>("message");

    // A bitmap header claiming 7000 x 7000 pixels (49 million) with nothing after it.
    QByteArray huge("BM", 2);
    const auto le32 = [](QByteArray &bytes, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char(v >> (8 * i)));
    };
    const auto le16 = [](QByteArray &bytes, quint16 v) {
        bytes.append(char(v));
        bytes.append(char(v >> 8));
    };
    le32(huge, 54 + 16);
    le32(huge, 0);
    le32(huge, 54);
    le32(huge, 40);
    le32(huge, 7000);
    le32(huge, 7000);
    le16(huge, 1);
    le16(huge, 24);
    for (int i = 0; i < 6; ++i)
        le32(huge, 0);
    huge.append(16, '\x7f');
    QTest::newRow("bitmap claiming 7000 x 7000")
        << huge << false << u"Picture is too large (7000 x 7000 pixels)"_s;
    QTest::newRow("bitmap cut after its header")
        << huge.left(30) << false << u"Bitmap image is not valid"_s;
    // An icon directory naming thousands of entries, none of them there.
    QByteArray many;
    le16(many, 0);
    le16(many, 1);
    le16(many, 5000);
    for (int i = 0; i < 5000; ++i) {
        many.append("\x10\x10\x00\x00", 4);
        le16(many, 1);
        le16(many, 32);
        le32(many, 1064);
        le32(many, 1u << 30);
    }
    QTest::newRow("icon whose entries are missing") << many << true << u"Icon image is not valid"_s;
    QTest::newRow("empty icon") << QByteArray() << true << u"Icon image is not valid"_s;
}

void tst_PictureDecoders::bitmapsAndIconsRefused()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, icon);
    QFETCH(QString, message);
    QBuffer buffer;
    buffer.setData(data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(refusalOf([&] {
                 BitmapIconDecoder::decode(&buffer,
                                           icon ? BitmapIconDecoder::Format::Icon
                                                : BitmapIconDecoder::Format::Bitmap,
                                           JpegDecoder::maxPixels);
             }),
             message);
}

QTEST_GUILESS_MAIN(tst_PictureDecoders)
#include "tst_picturedecoders.moc"
