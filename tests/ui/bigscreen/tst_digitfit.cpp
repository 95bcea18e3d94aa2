// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitFit.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTest>

namespace {

const QString clockText = QStringLiteral("00:00:00");

QFont font(const QString &family, bool bold)
{
    QFont f(family);
    f.setBold(bold);
    return f;
}

QSizeF measured(QFont f, int pixelSize)
{
    f.setPixelSize(pixelSize);
    const QFontMetricsF metrics(f);
    return {metrics.horizontalAdvance(clockText), metrics.height()};
}

} // namespace

class tst_DigitFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void largestSizeFitsAndOneMoreDoesNot_data();
    void largestSizeFitsAndOneMoreDoesNot();
    void noSmallerFittingSizeIsMissed();
    void degenerateAreas();
};

void tst_DigitFit::initTestCase()
{
    QVERIFY2(QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")), "fonts-dejavu-core is needed");
}

void tst_DigitFit::largestSizeFitsAndOneMoreDoesNot_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QSizeF>("area");
    QTest::addColumn<bool>("widthBound"); // which margin stops the growth

    const QFont dejaVuBold = font(QStringLiteral("DejaVu Sans"), true);
    const QFont dejaVu = font(QStringLiteral("DejaVu Sans"), false);
    const QFont mono = font(QStringLiteral("DejaVu Sans Mono"), true);
    const QFont hei = font(QStringLiteral("WenQuanYi Micro Hei"), false);
    // Full-screen areas under a 58-pixel panel, a small window, and extreme shapes.
    QTest::newRow("bold 1920x1022") << dejaVuBold << QSizeF(1920, 1022) << true;
    QTest::newRow("bold 1280x662") << dejaVuBold << QSizeF(1280, 662) << true;
    QTest::newRow("bold 3840x2102") << dejaVuBold << QSizeF(3840, 2102) << true;
    QTest::newRow("regular 1096x591") << dejaVu << QSizeF(1096, 591) << true;
    QTest::newRow("mono 800x600") << mono << QSizeF(800, 600) << true;
    QTest::newRow("hei 1920x1022") << hei << QSizeF(1920, 1022) << true;
    QTest::newRow("bold wide strip 3000x120") << dejaVuBold << QSizeF(3000, 120) << false;
    QTest::newRow("hei wide strip 2000x90.5") << hei << QSizeF(2000, 90.5) << false;
    QTest::newRow("bold narrow column 200x900") << dejaVuBold << QSizeF(200, 900) << true;
}

void tst_DigitFit::largestSizeFitsAndOneMoreDoesNot()
{
    QFETCH(QFont, font);
    QFETCH(QSizeF, area);
    QFETCH(bool, widthBound);

    const int size = DigitFit::largestFittingPixelSize(font, clockText, area);
    QVERIFY(size > DigitFit::smallestPixelSize);
    QVERIFY(size < DigitFit::largestPixelSize);

    const QSizeF at = measured(font, size);
    QVERIFY2(at.width() <= area.width() * 0.95, qPrintable(QString::number(at.width())));
    QVERIFY2(at.height() <= area.height() * 0.90, qPrintable(QString::number(at.height())));
    const QSizeF above = measured(font, size + 1);
    if (widthBound)
        QVERIFY2(above.width() > area.width() * 0.95, qPrintable(QString::number(above.width())));
    else
        QVERIFY2(above.height() > area.height() * 0.90, qPrintable(QString::number(above.height())));
}

// Against a plain count from the bottom: the estimate must not land past a gap.
void tst_DigitFit::noSmallerFittingSizeIsMissed()
{
    const QFont dejaVuBold = font(QStringLiteral("DejaVu Sans"), true);
    for (const QSizeF area : {QSizeF(320, 200), QSizeF(640, 90), QSizeF(97, 400), QSizeF(1000, 333)}) {
        int counted = DigitFit::smallestPixelSize;
        while (DigitFit::fits(dejaVuBold, counted + 1, clockText, area))
            ++counted;
        QCOMPARE(DigitFit::largestFittingPixelSize(dejaVuBold, clockText, area), counted);
    }
}

void tst_DigitFit::degenerateAreas()
{
    const QFont dejaVuBold = font(QStringLiteral("DejaVu Sans"), true);
    // A hidden or collapsed display, and one where not even the smallest size fits.
    QCOMPARE(DigitFit::largestFittingPixelSize(dejaVuBold, clockText, QSizeF(0, 0)), 1);
    QCOMPARE(DigitFit::largestFittingPixelSize(dejaVuBold, clockText, QSizeF(-5, 300)), 1);
    QCOMPARE(DigitFit::largestFittingPixelSize(dejaVuBold, clockText, QSizeF(3, 2)), 1);
    // A wall-sized area stops at the largest size the display allows.
    QCOMPARE(DigitFit::largestFittingPixelSize(dejaVuBold, clockText, QSizeF(100000, 60000)),
             DigitFit::largestPixelSize);
    // An empty text is bounded by the line height alone.
    const int empty = DigitFit::largestFittingPixelSize(dejaVuBold, QString(), QSizeF(50, 500));
    QVERIFY(measured(dejaVuBold, empty).height() <= 450);
}

QTEST_MAIN(tst_DigitFit)
#include "tst_digitfit.moc"
