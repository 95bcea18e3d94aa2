// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProjectPictures.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The files the build made from the program's own drawing, as the desktop will read them.
class tst_ProjectPictures : public QObject
{
    Q_OBJECT

private slots:
    void iconFiles_data();
    void iconFiles();
    void scalableIconIsTheSameDrawing();
    void entriesNameTheInstalledFiles();
    void screenshotTheMetainfoLinks();

private:
    static QString built(const QString &relative)
    {
        return QStringLiteral(TARVIK_DATA_BUILD_DIR "/") + relative;
    }
    static QString id() { return QStringLiteral(TARVIK_APP_ID); }
    static QString text(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

// Mean absolute difference of the channels, 0 to 255.
static double difference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size())
        return 255.0;
    double sum = 0.0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const uchar *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const uchar *>(y.constScanLine(row));
        for (int i = 0; i < x.width() * 4; ++i)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return sum / (x.width() * x.height() * 4.0);
}

void tst_ProjectPictures::iconFiles_data()
{
    QTest::addColumn<int>("side");
    for (int side : ProjectPictures::iconSizes())
        QTest::addRow("%dpx", side) << side;
}

void tst_ProjectPictures::iconFiles()
{
    QFETCH(int, side);
    const QString path = built(u"icons/hicolor/%1x%1/apps/"_s.arg(side) + id() + u".png"_s);
    QImage file(path);
    QVERIFY2(!file.isNull(), qPrintable(path));
    QCOMPARE(file.size(), QSize(side, side));
    QVERIFY(file.hasAlphaChannel());
    // The corner beyond the shadow stays clear for the panel behind it.
    QCOMPARE(qAlpha(file.pixel(side - 1, 0)), 0);
    QCOMPARE(difference(file, ProjectPictures::icon(side)), 0.0);
}

void tst_ProjectPictures::scalableIconIsTheSameDrawing()
{
    const QString path = built(u"icons/hicolor/scalable/apps/"_s + id() + u".svg"_s);
    QSvgRenderer svg(path);
    QVERIFY2(svg.isValid(), qPrintable(path));
    QCOMPARE(svg.viewBox(), QRect(0, 0, 256, 256));
    QImage drawn(256, 256, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    // Antialiasing differs a little between the two painters; a different drawing does not.
    const double apart = difference(drawn, ProjectPictures::icon(256));
    QVERIFY2(apart < 2.0, qPrintable(QString::number(apart)));
}

void tst_ProjectPictures::entriesNameTheInstalledFiles()
{
    const QString desktop = text(built(id() + u".desktop"_s));
    QVERIFY(desktop.contains(u"\nIcon="_s + id() + u'\n'));
    QVERIFY(desktop.contains(u"\nExec=tarvik-timer\n"_s));
    QVERIFY(desktop.contains(u"\nName=Tarvik倒计时计时器\n"_s));
    const QString metainfo = text(built(id() + u".metainfo.xml"_s));
    QVERIFY(metainfo.contains(u"<id>"_s + id() + u"</id>"_s));
    QVERIFY(metainfo.contains(u"<launchable type=\"desktop-id\">"_s + id() + u".desktop<"_s));
    QVERIFY(metainfo.contains(u"<binary>tarvik-timer</binary>"_s));
}

void tst_ProjectPictures::screenshotTheMetainfoLinks()
{
    // The software centre fetches the picture from the repository; the file must be there,
    // at the size the entry gives.
    const QString metainfo = text(built(id() + u".metainfo.xml"_s));
    const QRegularExpression image(
        uR"re(<image type="source" width="(\d+)" height="(\d+)">[^<]*/raw/main/([^<]+)</image>)re"_s);
    const QRegularExpressionMatch match = image.match(metainfo);
    QVERIFY2(match.hasMatch(), qPrintable(metainfo));
    const QImage picture(QStringLiteral(TARVIK_SOURCE_DIR "/") + match.captured(3));
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), QSize(match.captured(1).toInt(), match.captured(2).toInt()));
    // The drawing it comes from still renders a window of that size.
    QCOMPARE(ProjectPictures::mainWindow(picture.size()).size(), picture.size());
}

QTEST_MAIN(tst_ProjectPictures)
#include "tst_projectpictures.moc"
