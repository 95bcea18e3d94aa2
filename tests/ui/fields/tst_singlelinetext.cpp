// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilenameEdit.h"
#include "FontSizePicker.h"
#include "SingleLineText.h"
#include "SpinField.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

class tst_SingleLineText : public QObject
{
    Q_OBJECT

private slots:
    void cutAtLineBreak_data();
    void cutAtLineBreak();
    void pastedTextKeepsItsFirstLine_data();
    void pastedTextKeepsItsFirstLine();
};

void tst_SingleLineText::cutAtLineBreak_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("newCaret");

    QTest::newRow("into an empty field") << "" << "line1\nline2.mp3" << 15 << true << "line1" << 5;
    QTest::newRow("in the middle") << "ab" << "aX\nYb" << 4 << true << "aXb" << 2;
    QTest::newRow("over a selection") << "aSELb" << "aX\r\nYb" << 5 << true << "aXb" << 2;
    QTest::newRow("break first") << "ab" << "a\nXb" << 3 << true << "ab" << 1;
    QTest::newRow("return alone") << "" << "12\r" << 3 << true << "12" << 2;
    // The caret tells which of two equal neighbours the text went between.
    QTest::newRow("repeated letters") << "aa" << "aa\naa" << 4 << true << "aaa" << 2;
    QTest::newRow("no line break") << "ab" << "aXYb" << 3 << false << "" << 0;
    QTest::newRow("a deletion") << "abc" << "ac" << 1 << false << "" << 0;
}

void tst_SingleLineText::cutAtLineBreak()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, caret);
    QFETCH(bool, changed);
    QFETCH(QString, text);
    QFETCH(int, newCaret);

    const auto cut = SingleLineText::cutAtLineBreak(before, after, caret);
    QCOMPARE(cut.has_value(), changed);
    if (cut) {
        QCOMPARE(cut->text, text);
        QCOMPARE(cut->caret, newCaret);
    }
}

void tst_SingleLineText::pastedTextKeepsItsFirstLine_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("file name") << "file name";
    QTest::newRow("font size") << "font size";
    QTest::newRow("spin field") << "spin field";
}

void tst_SingleLineText::pastedTextKeepsItsFirstLine()
{
    QFETCH(QString, field);
    QWidget window;
    QLineEdit *edit = nullptr;
    if (field == QStringLiteral("file name")) {
        edit = new FilenameEdit(&window);
    } else if (field == QStringLiteral("font size")) {
        edit = (new FontSizePicker(&window))->lineEdit();
    } else {
        auto *spin = new SpinField(&window);
        spin->setMaximum(99);
        edit = spin;
    }
    window.show();
    edit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    edit->setText(QStringLiteral("[]"));
    edit->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("12\n34.mp3"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("[12]"));
    QCOMPARE(edit->cursorPosition(), 3);

    // The field's own menu pastes the same way; a first line that is empty pastes nothing.
    edit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("\r\nsecond"));
    edit->paste();
    QCOMPARE(edit->text(), QString());

    // Text set by the program is shown as it is.
    edit->setText(QStringLiteral("a\nb"));
    QCOMPARE(edit->text(), QStringLiteral("a\nb"));
}

QTEST_MAIN(tst_SingleLineText)
#include "tst_singlelinetext.moc"
