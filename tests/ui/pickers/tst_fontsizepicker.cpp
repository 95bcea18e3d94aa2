// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSizeItemDelegate.h"
#include "FontSizePicker.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QVBoxLayout>

class TestFontSizePicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entriesAndDesignValues();
    void completion_data();
    void completion();
    void digitReplacesCompletedRest();
    void onlyDigitsBackspaceAndEnterAreTyped();
    void sizeRuleOnEnter_data();
    void sizeRuleOnEnter();
    void zeroClearsASelection();
    void choosingAnEntry();
    void enterDoesNotReachTheDialog();
    void enterInOpenListTakesHighlightedEntry();
    void entryDrawing();
};

void TestFontSizePicker::entriesAndDesignValues()
{
    FontSizePicker picker;
    QStringList entries;
    for (int i = 0; i < picker.count(); ++i)
        entries.append(picker.itemText(i));
    QCOMPARE(entries,
             (QStringList{"6", "7", "8", "10", "12", "14", "16", "20", "24", "32", "48", "72"}));
    QCOMPARE(picker.text(), "24");
    QCOMPARE(picker.fontSize(), 0);
    QCOMPARE(picker.currentIndex(), -1);
    QCOMPARE(picker.maxVisibleItems(), 8);

    picker.setText("any text");
    QCOMPARE(picker.text(), "any text");
}

void TestFontSizePicker::completion_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("fontSize");

    QTest::newRow("4") << "4"
                       << "48"
                       << "8" << 48;
    QTest::newRow("1") << "1"
                       << "10"
                       << "0" << 10;
    QTest::newRow("3") << "3"
                       << "32"
                       << "2" << 32;
    QTest::newRow("7") << "7"
                       << "7"
                       << "" << 7;
    QTest::newRow("12") << "12"
                        << "12"
                        << "" << 12;
    QTest::newRow("9 matches nothing") << "9"
                                       << "9"
                                       << "" << 0;
    QTest::newRow("0 matches nothing") << "0"
                                       << "0"
                                       << "" << 0;
}

void TestFontSizePicker::completion()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, selected);
    QFETCH(int, fontSize);

    FontSizePicker picker;
    picker.setText(QString());
    QTest::keyClicks(&picker, typed);
    QCOMPARE(picker.text(), text);
    QCOMPARE(picker.lineEdit()->selectedText(), selected);
    QCOMPARE(picker.fontSize(), fontSize);
    if (fontSize != 0)
        QCOMPARE(picker.currentText(), text);
}

void TestFontSizePicker::digitReplacesCompletedRest()
{
    FontSizePicker picker;
    picker.setText(QString());
    QTest::keyClick(&picker, '1');
    QCOMPARE(picker.text(), "10");
    QTest::keyClick(&picker, '6');
    QCOMPARE(picker.text(), "16");
    QCOMPARE(picker.fontSize(), 16);

    // Backspace edits without completing again.
    QTest::keyClick(&picker, Qt::Key_Backspace);
    QCOMPARE(picker.text(), "1");
}

void TestFontSizePicker::onlyDigitsBackspaceAndEnterAreTyped()
{
    FontSizePicker picker;
    picker.setText(QString());
    QTest::keyClicks(&picker, "q.-+ a");
    QCOMPARE(picker.text(), QString());
    QTest::keyClick(&picker, 'Q', Qt::ShiftModifier);
    QCOMPARE(picker.text(), QString());

    picker.setText("55");
    picker.lineEdit()->end(false);
    QTest::keyClick(&picker, Qt::Key_Backspace);
    QCOMPARE(picker.text(), "5");

    // Pasted text is not filtered.
    picker.setText(QString());
    picker.lineEdit()->insert("1x");
    QCOMPARE(picker.text(), "1x");
}

void TestFontSizePicker::sizeRuleOnEnter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("fontSize");

    QTest::newRow("empty reads as 8") << ""
                                      << "8" << 8;
    QTest::newRow("not a number reads as 8") << "abc"
                                             << "8" << 8;
    QTest::newRow("leading zeros") << "007"
                                   << "7" << 7;
    QTest::newRow("any size") << "100"
                              << "100" << 100;
    QTest::newRow("zero without selection stays") << "0"
                                                  << "0" << 0;
    QTest::newRow("negative stays") << "-5"
                                    << "-5" << 0;
}

void TestFontSizePicker::sizeRuleOnEnter()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, fontSize);

    FontSizePicker picker;
    picker.setText(text);
    QTest::keyClick(&picker, Qt::Key_Return);
    QCOMPARE(picker.text(), shown);
    QCOMPARE(picker.fontSize(), fontSize);
}

void TestFontSizePicker::zeroClearsASelection()
{
    FontSizePicker picker;
    picker.setCurrentIndex(picker.findText("48"));
    QCOMPARE(picker.fontSize(), 48);
    picker.setText("0");
    QTest::keyClick(&picker, Qt::Key_Enter);
    QCOMPARE(picker.currentIndex(), -1);
    QCOMPARE(picker.text(), QString());
    QCOMPARE(picker.fontSize(), 48);

    // A size already taken changes nothing: an empty field stays empty.
    FontSizePicker eight;
    eight.setText(QString());
    QTest::keyClick(&eight, Qt::Key_Return);
    QCOMPARE(eight.text(), "8");
    eight.setText(QString());
    QTest::keyClick(&eight, Qt::Key_Return);
    QCOMPARE(eight.text(), QString());
}

void TestFontSizePicker::choosingAnEntry()
{
    FontSizePicker picker;
    picker.setText("5");
    picker.setCurrentIndex(picker.findText("72"));
    QCOMPARE(picker.text(), "72");
    QCOMPARE(picker.fontSize(), 72);

    QTest::keyClick(&picker, Qt::Key_Up);
    QCOMPARE(picker.text(), "48");
    QCOMPARE(picker.fontSize(), 48);

    // Picking the entry that is already selected puts its text back.
    picker.setText("9");
    picker.activated(picker.currentIndex());
    QCOMPARE(picker.text(), "48");
}

void TestFontSizePicker::enterDoesNotReachTheDialog()
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *picker = new FontSizePicker(&dialog);
    auto *button = new QPushButton("OK", &dialog);
    button->setDefault(true);
    layout->addWidget(picker);
    layout->addWidget(button);
    QSignalSpy clicked(button, &QPushButton::clicked);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    picker->setFocus();
    picker->setText("12");
    QTest::keyClick(picker, Qt::Key_Return);
    QTest::keyClick(picker, Qt::Key_Enter);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(picker->fontSize(), 12);
    QVERIFY(dialog.isVisible());
}

void TestFontSizePicker::enterInOpenListTakesHighlightedEntry()
{
    FontSizePicker picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    picker.setText("9");
    picker.showPopup();
    QTRY_VERIFY(picker.view()->isVisible());
    QCOMPARE(picker.view()->visualRect(picker.model()->index(0, 0)).height(), 16);
    QCOMPARE(picker.view()->viewport()->height() / 16, 8);

    picker.view()->setCurrentIndex(picker.model()->index(picker.findText("14"), 0));
    QTest::keyClick(picker.view(), Qt::Key_Return);
    QTRY_VERIFY(!picker.view()->isVisible());
    QCOMPARE(picker.text(), "14");
    QCOMPARE(picker.fontSize(), 14);
}

void TestFontSizePicker::entryDrawing()
{
    FontSizeItemDelegate delegate;
    QStandardItemModel model;
    model.appendRow(new QStandardItem("72"));
    const QModelIndex index = model.index(0, 0);

    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 60, 16);
    option.palette.setColor(QPalette::Base, Qt::white);
    option.palette.setColor(QPalette::Text, Qt::black);
    QCOMPARE(delegate.sizeHint(option, index).height(), 16);

    QImage image(60, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, index);
    }
    // Filled with the background; text starts 2 pixels in.
    QCOMPARE(QColor(image.pixel(59, 15)), QColor(Qt::white));
    int firstInk = 60;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 60; ++x)
            if (qGray(image.pixel(x, y)) < 128)
                firstInk = std::min(firstInk, x);
    QVERIFY2(firstInk >= 2 && firstInk <= 4, qPrintable(QString::number(firstInk)));

    option.state |= QStyle::State_Selected;
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, index);
    }
    QVERIFY(QColor(image.pixel(59, 15)) != QColor(Qt::white));
}

QTEST_MAIN(TestFontSizePicker)
#include "tst_fontsizepicker.moc"
