// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinFieldRules.h"

#include <QTest>

#include <cmath>
#include <limits>

using SpinFieldRules::TypedKey;
Q_DECLARE_METATYPE(SpinFieldRules::TypedKey)

class tst_SpinFieldRules : public QObject
{
    Q_OBJECT

private slots:
    void rewrite_data();
    void rewrite();
    void caret_data();
    void caret();
    void typed_data();
    void typed();
};

void tst_SpinFieldRules::rewrite_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text");

    QTest::newRow("inside") << 7.0 << 59 << "7";
    QTest::newRow("above") << 150.0 << 99 << "99";
    QTest::newRow("below") << -3.0 << 59 << "0";
    QTest::newRow("tiny negative") << -0.4 << 59 << "0";
    QTest::newRow("half even down") << 2.5 << 99 << "2";
    QTest::newRow("half even up") << 3.5 << 99 << "4";
    QTest::newRow("huge") << 1e300 << 99 << "99";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 59 << "59";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 59 << "0";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 59 << "0";
    QTest::newRow("negative maximum") << 5.0 << -4 << "0";
}

void tst_SpinFieldRules::rewrite()
{
    QFETCH(double, number);
    QFETCH(int, maximum);
    QFETCH(QString, text);
    QCOMPARE(SpinFieldRules::wholeNumberText(SpinFieldRules::clampToRange(number, maximum)), text);
}

void tst_SpinFieldRules::caret_data()
{
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("oldLength");
    QTest::addColumn<int>("newLength");
    QTest::addColumn<int>("expected");

    QTest::newRow("same length") << 1 << 2 << 2 << 1;
    QTest::newRow("longer") << 1 << 1 << 2 << 2;
    QTest::newRow("shorter") << 2 << 2 << 1 << 1;
    QTest::newRow("shorter at start") << 0 << 2 << 1 << 0;
    QTest::newRow("much shorter") << 5 << 5 << 1 << 1;
}

void tst_SpinFieldRules::caret()
{
    QFETCH(int, caret);
    QFETCH(int, oldLength);
    QFETCH(int, newLength);
    QFETCH(int, expected);
    QCOMPARE(SpinFieldRules::caretAfterRewrite(caret, oldLength, newLength), expected);
}

void tst_SpinFieldRules::typed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("controlKey");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<TypedKey>("expected");

    QTest::newRow("enter") << "\r" << false << "5" << 1 << 0 << TypedKey::MoveFocus;
    QTest::newRow("digit") << "7" << false << "5" << 1 << 0 << TypedKey::Insert;
    QTest::newRow("minus at start") << "-" << false << "5" << 0 << 0 << TypedKey::Insert;
    QTest::newRow("plus in empty") << "+" << false << "" << 0 << 0 << TypedKey::Insert;
    QTest::newRow("minus after digit") << "-" << false << "5" << 1 << 0 << TypedKey::Reject;
    QTest::newRow("second sign") << "-" << false << "+5" << 0 << 0 << TypedKey::Reject;
    QTest::newRow("sign over whole text") << "-" << false << "-5" << 0 << 2 << TypedKey::Insert;
    QTest::newRow("sign over part") << "+" << false << "-55" << 1 << 1 << TypedKey::Reject;
    QTest::newRow("backspace") << "\b" << false << "5" << 1 << 0 << TypedKey::PassOn;
    QTest::newRow("copy") << "\x03" << true << "5" << 0 << 1 << TypedKey::PassOn;
    QTest::newRow("paste shortcut") << "v" << true << "5" << 1 << 0 << TypedKey::PassOn;
    QTest::newRow("navigation") << "" << false << "5" << 1 << 0 << TypedKey::PassOn;
    QTest::newRow("letter") << "a" << false << "5" << 1 << 0 << TypedKey::Reject;
    QTest::newRow("separator") << "." << false << "5" << 1 << 0 << TypedKey::Reject;
    QTest::newRow("blank") << " " << false << "5" << 1 << 0 << TypedKey::Reject;
    QTest::newRow("double byte") << QStringLiteral("中") << false << "5" << 1 << 0
                                 << TypedKey::Reject;
    QTest::newRow("full-width digit")
        << QStringLiteral("５") << false << "5" << 1 << 0 << TypedKey::Reject;
}

void tst_SpinFieldRules::typed()
{
    QFETCH(QString, typed);
    QFETCH(bool, controlKey);
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(TypedKey, expected);
    QCOMPARE(
        SpinFieldRules::classifyTyped(typed, controlKey, text, selectionStart, selectionLength),
        expected);
}

QTEST_GUILESS_MAIN(tst_SpinFieldRules)
#include "tst_spinfieldrules.moc"
