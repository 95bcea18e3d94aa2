// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorItemDelegate.h"
#include "ColorItemDrawing.h"
#include "ColorPicker.h"
#include "SystemColors.h"
#include "ValueEncodings.h"

#include <QAbstractItemView>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTest>

namespace {

QImage drawEntry(std::int32_t colour, const QString &text, bool selected)
{
    ColorItemDelegate delegate;
    QStandardItemModel model;
    auto *item = new QStandardItem(text);
    item->setData(int(colour), ColorItemDelegate::colourRole);
    model.appendRow(item);

    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 120, 16);
    option.palette.setColor(QPalette::Base, Qt::white);
    option.palette.setColor(QPalette::Text, Qt::black);
    if (selected)
        option.state |= QStyle::State_Selected;

    QImage image(120, 16, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    delegate.paint(&painter, option, model.index(0, 0));
    return image;
}

bool containsColour(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == colour)
                return true;
    return false;
}

} // namespace

class TestColorPicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsFiftyNamedColours();
    void selection_data();
    void selection();
    void pickingReplacesARememberedColour();
    void entryDrawing_data();
    void entryDrawing();
    void closedPickerShowsRememberedColour();
    void typeAhead();
    void typeAheadInOpenList();
    void openListShowsEightEntries();
};

void TestColorPicker::listsFiftyNamedColours()
{
    const QStringList expected{"clBlack",
                               "clMaroon",
                               "clGreen",
                               "clOlive",
                               "clNavy",
                               "clPurple",
                               "clTeal",
                               "clGray",
                               "clSilver",
                               "clRed",
                               "clLime",
                               "clYellow",
                               "clBlue",
                               "clFuchsia",
                               "clAqua",
                               "clWhite",
                               "clMoneyGreen",
                               "clSkyBlue",
                               "clCream",
                               "clMedGray",
                               "clActiveBorder",
                               "clActiveCaption",
                               "clAppWorkSpace",
                               "clBackground",
                               "clBtnFace",
                               "clBtnHighlight",
                               "clBtnShadow",
                               "clBtnText",
                               "clCaptionText",
                               "clGradientActiveCaption",
                               "clGradientInactiveCaption",
                               "clGrayText",
                               "clHighlight",
                               "clHighlightText",
                               "clHotLight",
                               "clInactiveBorder",
                               "clInactiveCaption",
                               "clInactiveCaptionText",
                               "clInfoBk",
                               "clInfoText",
                               "clMenu",
                               "clMenuBar",
                               "clMenuHighlight",
                               "clMenuText",
                               "clScrollBar",
                               "cl3DDkShadow",
                               "cl3DLight",
                               "clWindow",
                               "clWindowFrame",
                               "clWindowText"};

    ColorPicker picker;
    QStringList texts;
    for (int i = 0; i < picker.count(); ++i) {
        texts.append(picker.itemText(i));
        QCOMPARE(picker.colorAt(i), ValueEncodings::textToColor(picker.itemText(i)));
    }
    QCOMPARE(texts.size(), 50);
    QCOMPARE(texts, expected);
    QVERIFY(!picker.isEditable());
}

void TestColorPicker::selection_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("saved");

    QTest::newRow("clred") << "clred"
                           << "clRed"
                           << "clRed";
    QTest::newRow("255") << "255"
                         << "clRed"
                         << "clRed";
    QTest::newRow("clBlack") << "clBlack"
                             << "clBlack"
                             << "clBlack";
    QTest::newRow("system colour") << "clBtnFace"
                                   << "clBtnFace"
                                   << "clBtnFace";
    QTest::newRow("clScrollBar") << "clScrollBar"
                                 << "clScrollBar"
                                 << "clScrollBar";
    // No entry has these: the colour is kept rather than read back as clScrollBar.
    QTest::newRow("custom") << "$00C0FFEE"
                            << ""
                            << "$00C0FFEE";
    QTest::newRow("clNone") << "clNone"
                            << ""
                            << "clNone";
    QTest::newRow("clDefault") << "clDefault"
                               << ""
                               << "clDefault";
    QTest::newRow("unnamed system colour") << "$FF00001F"
                                           << ""
                                           << "$FF00001F";
}

void TestColorPicker::selection()
{
    QFETCH(QString, stored);
    QFETCH(QString, entry);
    QFETCH(QString, saved);

    ColorPicker picker;
    picker.setSelectedColor(ValueEncodings::textToColor(stored));
    QCOMPARE(picker.currentIndex() >= 0 ? picker.currentText() : QString(), entry);
    QCOMPARE(ValueEncodings::colorToText(picker.selectedColor()), saved);
}

void TestColorPicker::pickingReplacesARememberedColour()
{
    ColorPicker picker;
    picker.setSelectedColor(0x00C0FFEE);
    QCOMPARE(picker.currentIndex(), -1);
    picker.setCurrentIndex(picker.findText("clNavy"));
    QCOMPARE(picker.selectedColor(), 0x00800000);

    picker.setSelectedColor(0x000000FF);
    QCOMPARE(picker.currentText(), "clRed");
    QTest::keyClick(&picker, Qt::Key_Down);
    QCOMPARE(picker.currentText(), "clLime");
    QCOMPARE(picker.selectedColor(), 0x0000FF00);
}

void TestColorPicker::entryDrawing_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QColor>("outline");

    QTest::newRow("white") << 0x00FFFFFF << false << QColor(Qt::black);
    QTest::newRow("white selected") << 0x00FFFFFF << true << QColor(Qt::black);
    QTest::newRow("yellow") << 0x0000FFFF << false << QColor(Qt::black);
    QTest::newRow("silver just light") << 0x00C0C0C1 << false << QColor(Qt::black);
    QTest::newRow("silver") << 0x00C0C0C0 << false << QColor(192, 192, 192);
    QTest::newRow("navy") << 0x00800000 << false << QColor(0, 0, 128);
    QTest::newRow("navy selected") << 0x00800000 << true << QColor(Qt::white);
}

void TestColorPicker::entryDrawing()
{
    QFETCH(int, colour);
    QFETCH(bool, selected);
    QFETCH(QColor, outline);

    const QImage image = drawEntry(colour, "clSample", selected);
    const QColor swatch = SystemColors::toQColor(colour);

    // Swatch: 14 x 14 square inset by one pixel; its frame is the outermost ring.
    for (const QPoint corner :
         {QPoint(1, 1), QPoint(14, 1), QPoint(1, 14), QPoint(14, 14), QPoint(7, 1), QPoint(1, 7)})
        QCOMPARE(QColor(image.pixel(corner)), outline);
    QCOMPARE(QColor(image.pixel(2, 2)), swatch);
    QCOMPARE(QColor(image.pixel(13, 13)), swatch);

    // Background around the swatch and behind the text.
    const QColor background =
        selected ? SystemColors::toQColor(std::int32_t(0xFF00000Du)) : QColor(Qt::white);
    QCOMPARE(QColor(image.pixel(0, 0)), background);
    QCOMPARE(QColor(image.pixel(15, 15)), background);
    QCOMPARE(QColor(image.pixel(119, 0)), background);

    // The text starts five pixels right of the swatch.
    int firstInk = image.width();
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) != background)
                firstInk = std::min(firstInk, x);
    QVERIFY2(firstInk >= 20 && firstInk <= 23, qPrintable(QString::number(firstInk)));
}

void TestColorPicker::closedPickerShowsRememberedColour()
{
    ColorPicker picker;
    picker.resize(120, 22);
    picker.setSelectedColor(0x00C0FFEE);
    QVERIFY(containsColour(picker.grab().toImage(), QColor(0xEE, 0xFF, 0xC0)));

    picker.setSelectedColor(ValueEncodings::textToColor("clFuchsia"));
    QVERIFY(containsColour(picker.grab().toImage(), QColor(0xFF, 0x00, 0xFF)));

    picker.setNoneColorColor(0x0000FF00);
    picker.setSelectedColor(ColorItemDrawing::clNone);
    QVERIFY(containsColour(picker.grab().toImage(), QColor(0x00, 0xFF, 0x00)));
    QCOMPARE(picker.selectedColor(), ColorItemDrawing::clNone);
}

void TestColorPicker::typeAhead()
{
    std::int64_t now = 1000;
    ColorPicker picker;
    picker.setTypeAheadClock([&now] { return now; });

    QTest::keyClicks(&picker, "clw");
    QCOMPARE(picker.currentText(), "clWhite");
    now += 499;
    QTest::keyClick(&picker, 'I');
    QCOMPARE(picker.currentText(), "clWindow");
    QCOMPARE(picker.typeAheadText(), "clwI");

    // Backspace takes back one character; a new match needs the next character.
    QTest::keyClick(&picker, Qt::Key_Backspace);
    QCOMPARE(picker.typeAheadText(), "clw");
    QCOMPARE(picker.currentText(), "clWindow");
    QTest::keyClick(&picker, 'h');
    QCOMPARE(picker.currentText(), "clWhite");

    // A pause of more than 499 ms starts a new search.
    now += 500;
    QTest::keyClick(&picker, 'c');
    QCOMPARE(picker.typeAheadText(), "c");
    QCOMPARE(picker.currentText(), "clBlack");

    // No match leaves the selection; the character is still taken.
    QTest::keyClick(&picker, 'x');
    QCOMPARE(picker.typeAheadText(), "cx");
    QCOMPARE(picker.currentText(), "clBlack");
    QCOMPARE(picker.selectedColor(), 0);
}

void TestColorPicker::typeAheadInOpenList()
{
    std::int64_t now = 0;
    ColorPicker picker;
    picker.setTypeAheadClock([&now] { return now; });
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    picker.showPopup();
    QTRY_VERIFY(picker.view()->isVisible());

    QTest::keyClicks(picker.view(), "clme");
    QCOMPARE(picker.view()->currentIndex().row(), picker.findText("clMedGray"));
    QTest::keyClick(picker.view(), Qt::Key_Return);
    QTRY_VERIFY(!picker.view()->isVisible());
    QCOMPARE(picker.currentText(), "clMedGray");
}

void TestColorPicker::openListShowsEightEntries()
{
    ColorPicker picker;
    picker.setSelectedColor(0);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QCOMPARE(picker.maxVisibleItems(), 8);
    picker.showPopup();
    QTRY_VERIFY(picker.view()->isVisible());
    QAbstractItemView *view = picker.view();
    QCOMPARE(view->visualRect(view->model()->index(0, 0)).height(), 16);
    const int rows = view->viewport()->height() / 16;
    QVERIFY2(rows == 8, qPrintable(QString::number(rows)));
    picker.hidePopup();
}

QTEST_MAIN(TestColorPicker)
#include "tst_colorpicker.moc"
