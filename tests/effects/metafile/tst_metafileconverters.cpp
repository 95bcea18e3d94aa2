// SPDX-License-Identifier: GPL-3.0-or-later
// Enhanced metafiles written by common converters, compared by pixels with
// the same drawing that the converters' own tools export as PNG.
#include "MetafileImage.h"
#include "CornerPicture.h"
#include "TarvikError.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

namespace {

// Three filled shapes: a red rectangle, a green ellipse and a blue triangle
// with black outlines, 1200 units to the inch.
const char figure[] = R"(#FIG 3.2  Produced by hand
Landscape
Center
Metric
A4
100.00
Single
-2
1200 2
2 2 0 1 0 4 50 -1 20 0.000 0 0 -1 0 0 5
	 1200 1200 6000 1200 6000 4800 1200 4800 1200 1200
1 1 0 1 0 2 50 -1 20 0.000 1 0.0000 9000 3000 2400 1800 9000 3000 11400 3000
2 3 0 1 0 1 50 -1 20 0.000 0 0 -1 0 0 4
	 1800 6000 5400 6000 3600 9000 1800 6000
)";

// The same kind of drawing in PostScript, width × height points, filling
// its bounding box from edge to edge.
QByteArray postScript(int width, int height)
{
    return QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0\n"
                          "%%BoundingBox: 0 0 %1 %2\n"
                          "/w %1 def /h %2 def\n"
                          "1 0 0 setrgbcolor 0 h 2 div moveto w 0 rlineto 0 h 2 div rlineto "
                          "w neg 0 rlineto closepath fill\n"
                          "0 1 0 setrgbcolor w 4 div h 4 div translate 1 h w div scale "
                          "0 0 w 4 div 0 360 arc closepath fill 1 w h div scale "
                          "w 4 div neg h 4 div neg translate\n"
                          "0 0 1 setrgbcolor w 2 div 0 moveto w 0 lineto w 3 mul 4 div h 2 div "
                          "lineto closepath fill\n"
                          "showpage\n")
        .arg(width)
        .arg(height)
        .toLatin1();
}

bool haveProgram(const QString &name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

// Runs a converter; the error text when it fails.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return program + QStringLiteral(" did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll());
    return QString();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QImage onWhite(const QImage &image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    return out;
}

// The box around everything that is not white.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]) < 3 * 230)
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

// The nearest of the drawing's colours: white, red, green, blue, black.
int colourClass(QRgb p)
{
    static constexpr std::array<QRgb, 5> palette = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                                                    0x000000};
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < int(palette.size()); ++i) {
        const int dr = qRed(p) - qRed(palette[i]);
        const int dg = qGreen(p) - qGreen(palette[i]);
        const int db = qBlue(p) - qBlue(palette[i]);
        if (dr * dr + dg * dg + db * db < bestDistance) {
            bestDistance = dr * dr + dg * dg + db * db;
            best = i;
        }
    }
    return best;
}

// The share of each colour in each cell of an 8 x 8 grid over the drawing
// (its box of ink scaled to the grid).
constexpr int Grid = 8;
constexpr int Cell = 24;
using Coverage = std::array<std::array<double, 5>, Grid * Grid>;

Coverage coverageOf(const QImage &image)
{
    const QImage white = onWhite(image);
    const QImage drawing =
        white.copy(inkBox(white))
            .scaled(Grid * Cell, Grid * Cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Coverage c{};
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x)
            c[(y / Cell) * Grid + x / Cell][colourClass(drawing.pixel(x, y))] +=
                1.0 / (Cell * Cell);
    return c;
}

// The drawings agree when their colours cover the same parts of each cell,
// apart from the edges that each rasteriser smooths its own way, and their
// ink has the same shape.
void compareDrawings(const QImage &ours, const QImage &reference)
{
    const Coverage a = coverageOf(ours);
    const Coverage b = coverageOf(reference);
    std::array<double, 5> ink{};
    double worst = 0;
    double mean = 0;
    for (int i = 0; i < Grid * Grid; ++i) {
        double differs = 0;
        for (int k = 0; k < 5; ++k) {
            differs += std::abs(a[i][k] - b[i][k]) / 2;
            ink[k] += a[i][k] / (Grid * Grid);
        }
        worst = std::max(worst, differs);
        mean += differs / (Grid * Grid);
    }
    const QRect ka = inkBox(onWhite(ours));
    const QRect kb = inkBox(onWhite(reference));
    const double shape = double(ka.width()) / ka.height() * kb.height() / kb.width();
    const QString text = QStringLiteral("cells differ by %1 at worst, %2 on average; ours %3 x %4, "
                                        "reference %5 x %6")
                             .arg(worst, 0, 'f', 3)
                             .arg(mean, 0, 'f', 3)
                             .arg(ours.width())
                             .arg(ours.height())
                             .arg(reference.width())
                             .arg(reference.height());
    for (int k : {1, 2, 3})
        QVERIFY2(ink[k] > 0.05, "every shape is drawn");
    QVERIFY2(worst < 0.12, qPrintable(text));
    QVERIFY2(mean < 0.02, qPrintable(text));
    QVERIFY2(std::abs(shape - 1) < 0.03, qPrintable(text));
}

quint32 u32At(const QByteArray &bytes, qsizetype at)
{
    quint32 v = 0;
    std::memcpy(&v, bytes.constData() + at, 4);
    return v;
}

// The header and the end-of-file record alone: every drawing record removed.
QByteArray withoutRecords(const QByteArray &emf)
{
    const quint32 headerSize = u32At(emf, 4);
    qsizetype at = headerSize;
    while (at + 8 <= emf.size() && u32At(emf, at) != 14) // end of file
        at += u32At(emf, at + 4);
    QByteArray out = emf.left(headerSize) + emf.mid(at);
    const quint32 bytes = quint32(out.size());
    const quint32 records = 2;
    out.replace(48, 4, reinterpret_cast<const char *>(&bytes), 4);
    out.replace(52, 4, reinterpret_cast<const char *>(&records), 4);
    return out;
}

} // namespace

class tst_MetafileConverters : public QObject
{
    Q_OBJECT

private slots:
    void figureConverter();
    void postScriptConverter_data();
    void postScriptConverter();

private:
    QTemporaryDir m_dir;
};

void tst_MetafileConverters::figureConverter()
{
    if (!haveProgram(QStringLiteral("fig2dev")))
        QSKIP("fig2dev is not installed (Debian package fig2dev)");
    if (!haveProgram(QStringLiteral("gs")))
        QSKIP("fig2dev needs ghostscript for PNG (Debian package ghostscript)");
    const QString fig = m_dir.filePath(QStringLiteral("shapes.fig"));
    const QString emf = m_dir.filePath(QStringLiteral("shapes.emf"));
    const QString png = m_dir.filePath(QStringLiteral("shapes.png"));
    QVERIFY(writeFile(fig, figure));
    QCOMPARE(
        run(QStringLiteral("fig2dev"), {QStringLiteral("-L"), QStringLiteral("emf"), fig, emf}),
        QString());
    QCOMPARE(
        run(QStringLiteral("fig2dev"), {QStringLiteral("-L"), QStringLiteral("png"), fig, png}),
        QString());

    // Its header declares a 1200 dpi reference device and a frame of
    // 218 x 168 mm: 825 x 634 pixels at 96 dpi.
    const QImage ours = MetafileImage::load(emf);
    QCOMPARE(ours.size(), QSize(825, 634));
    const QImage reference(png);
    QVERIFY(!reference.isNull());
    compareDrawings(ours, reference);
}

void tst_MetafileConverters::postScriptConverter_data()
{
    QTest::addColumn<QSize>("points");
    QTest::newRow("400 x 300 points") << QSize(400, 300);
    // Written with a frame of 1.9 x 3.9 m.
    QTest::newRow("304 x 624 points") << QSize(304, 624);
}

void tst_MetafileConverters::postScriptConverter()
{
    QFETCH(QSize, points);
    if (!haveProgram(QStringLiteral("pstoedit")))
        QSKIP("pstoedit is not installed (Debian package pstoedit)");
    if (!haveProgram(QStringLiteral("gs")))
        QSKIP("ghostscript is not installed (Debian package ghostscript)");
    const QString name = QStringLiteral("drawing-%1x%2").arg(points.width()).arg(points.height());
    const QString eps = m_dir.filePath(name + QStringLiteral(".eps"));
    const QString emf = m_dir.filePath(name + QStringLiteral(".emf"));
    const QString png = m_dir.filePath(name + QStringLiteral(".png"));
    QVERIFY(writeFile(eps, postScript(points.width(), points.height())));
    QCOMPARE(run(QStringLiteral("pstoedit"),
                 {QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("emf"), eps, emf}),
             QString());
    QCOMPARE(run(QStringLiteral("gs"),
                 {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                  QStringLiteral("-dNOPAUSE"), QStringLiteral("-dEPSCrop"),
                  QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r96"),
                  QStringLiteral("-sOutputFile=") + png, eps}),
             QString());

    // The converter's frame is 2000/3.2 times the drawing's size in points, 0.01 mm each.
    QFile file(emf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const double frameWidth = double(qint32(u32At(bytes, 32))) - qint32(u32At(bytes, 24));
    const double frameHeight = double(qint32(u32At(bytes, 36))) - qint32(u32At(bytes, 28));
    QVERIFY2(std::abs(frameWidth / (points.width() * 625.0) - 1) < 0.02,
             qPrintable(QString::number(frameWidth)));
    QVERIFY2(std::abs(frameHeight / (points.height() * 625.0) - 1) < 0.02,
             qPrintable(QString::number(frameHeight)));

    const QImage ours = MetafileImage::load(emf);
    const QImage reference(png);
    QVERIFY(!reference.isNull());
    compareDrawings(ours, reference);

    // As the corner picture reads it, in its shape.
    const CornerPicture picture = CornerPicture::load(emf, [](QSize size) { return size; });
    QCOMPARE(picture.kind(), CornerPicture::Kind::Metafile);
    QVERIFY(std::abs(double(picture.size().width()) / picture.size().height() /
                         (double(points.width()) / points.height()) -
                     1) < 0.03);

    // With every drawing record removed the frame alone is the picture:
    // empty, not refused.
    const QString bare = m_dir.filePath(name + QStringLiteral("-bare.emf"));
    QVERIFY(writeFile(bare, withoutRecords(bytes)));
    QImage empty;
    try {
        empty = MetafileImage::load(bare);
    } catch (const TarvikError &e) {
        QFAIL(qPrintable(e.message()));
    }
    QVERIFY(!empty.isNull());
    QVERIFY(std::abs(double(empty.width()) / empty.height() / (frameWidth / frameHeight) - 1) <
            0.01);
    QVERIFY(inkBox(onWhite(empty)).isEmpty());
}

QTEST_MAIN(tst_MetafileConverters)
#include "tst_metafileconverters.moc"
