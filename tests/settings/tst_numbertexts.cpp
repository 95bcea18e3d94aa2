// SPDX-License-Identifier: GPL-3.0-or-later
#include "EConvertError.h"
#include "NumberTexts.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace NumberTexts;

class tst_NumberTexts : public QObject
{
    Q_OBJECT

private slots:
    void integerWithDefault_data();
    void integerWithDefault();
    void strictIntegerNamesTheWholeText_data();
    void strictIntegerNamesTheWholeText();
    void integerToText_data();
    void integerToText();
    void twoDigitText_data();
    void twoDigitText();
    void decimalNumber_data();
    void decimalNumber();
    void decimalNumberBeyondDoubleRange();
    void roundHalfEvenClamped_data();
    void roundHalfEvenClamped();
};

namespace {
constexpr std::int32_t fallback = -999;
}

void tst_NumberTexts::integerWithDefault_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    // Blanks: only leading spaces are skipped.
    QTest::newRow("leading blank") << " 12" << 12;
    QTest::newRow("many leading blanks") << "    12" << 12;
    QTest::newRow("trailing blank") << "12 " << fallback;
    QTest::newRow("leading tab") << "\t12" << fallback;
    QTest::newRow("blanks only") << "   " << fallback;
    QTest::newRow("empty") << "" << fallback;
    // Signs.
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("blank after sign") << "- 12" << fallback;
    QTest::newRow("two signs") << "+-1" << fallback;
    QTest::newRow("sign alone") << "-" << fallback;
    // Decimal range and leading zeros.
    QTest::newRow("max") << "2147483647" << INT32_MAX;
    QTest::newRow("max plus one") << "2147483648" << fallback;
    QTest::newRow("min") << "-2147483648" << INT32_MIN;
    QTest::newRow("min minus one") << "-2147483649" << fallback;
    QTest::newRow("ten digits too big") << "2147483650" << fallback;
    QTest::newRow("eleven digits") << "21474836470" << fallback;
    QTest::newRow("leading zero is not octal") << "08" << 8;
    QTest::newRow("double zero") << "00" << 0;
    QTest::newRow("many leading zeros") << "0000000000000012" << 12;
    // Hexadecimal forms.
    QTest::newRow("0x") << "0x1F" << 31;
    QTest::newRow("0X") << "0X1f" << 31;
    QTest::newRow("x") << "x1F" << 31;
    QTest::newRow("X") << "XfF" << 255;
    QTest::newRow("dollar") << "$FF" << 255;
    QTest::newRow("nine digits with leading zeros") << "$0000000FF" << 255;
    QTest::newRow("nine significant digits") << "$100000000" << fallback;
    QTest::newRow("all bits") << "$FFFFFFFF" << -1;
    QTest::newRow("top bit") << "$80000000" << INT32_MIN;
    QTest::newRow("largest positive") << "$7FFFFFFF" << INT32_MAX;
    QTest::newRow("negated hex") << "-$10" << -16;
    QTest::newRow("negated top bit") << "-$80000000" << INT32_MIN;
    QTest::newRow("plus hex") << "+$1F" << 31;
    QTest::newRow("blank before hex") << " $1F" << 31;
    QTest::newRow("lone dollar") << "$" << fallback;
    QTest::newRow("lone 0x") << "0x" << fallback;
    QTest::newRow("lone x") << "x" << fallback;
    QTest::newRow("sign after prefix") << "$-1" << fallback;
    QTest::newRow("not a hex digit") << "$1G" << fallback;
    QTest::newRow("hex with blank") << "$1F " << fallback;
    // Anything else fails.
    QTest::newRow("decimal point") << "1.5" << fallback;
    QTest::newRow("group separator") << "1,000" << fallback;
    QTest::newRow("letter") << "12a" << fallback;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << fallback;
    QTest::newRow("embedded nul") << QString::fromUtf16(u"1\u00002", 3) << fallback;
}

void tst_NumberTexts::integerWithDefault()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(integerFromText(text, fallback), expected);
    // The strict form agrees with the scanner, or raises.
    if (expected != fallback)
        QCOMPARE(integerFromText(text), expected);
    else
        QVERIFY_THROWS_EXCEPTION(EConvertError, integerFromText(text));
}

void tst_NumberTexts::strictIntegerNamesTheWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "'' is not a valid integer value";
    QTest::newRow("blanks kept") << " 12 "
                                 << "' 12 ' is not a valid integer value";
    QTest::newRow("percent sign") << "%1"
                                  << "'%1' is not a valid integer value";
    QTest::newRow("chinese") << QStringLiteral("十二")
                             << QStringLiteral("'十二' is not a valid integer value");
}

void tst_NumberTexts::strictIntegerNamesTheWholeText()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        integerFromText(text);
        QFAIL("no error raised");
    } catch (const EConvertError &error) {
        QCOMPARE(error.message(), message);
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void tst_NumberTexts::integerToText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("negative") << -5 << "-5";
    QTest::newRow("font size") << 72 << "72";
    QTest::newRow("thousands have no separator") << 1234567 << "1234567";
    QTest::newRow("max") << INT32_MAX << "2147483647";
    QTest::newRow("min") << INT32_MIN << "-2147483648";
}

void tst_NumberTexts::integerToText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(NumberTexts::integerToText(value), text);
    QCOMPARE(integerFromText(text), value);
}

void tst_NumberTexts::twoDigitText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("-1") << -1 << "-01";
    QTest::newRow("0") << 0 << "00";
    QTest::newRow("7") << 7 << "07";
    QTest::newRow("9") << 9 << "09";
    QTest::newRow("10") << 10 << "10";
    QTest::newRow("59") << 59 << "59";
    QTest::newRow("100") << 100 << "100";
    QTest::newRow("123") << 123 << "123";
    QTest::newRow("-61") << -61 << "-61";
    QTest::newRow("min") << INT32_MIN << "-2147483648";
    QTest::newRow("max") << INT32_MAX << "2147483647";
}

void tst_NumberTexts::twoDigitText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(NumberTexts::twoDigitText(value), text);
}

void tst_NumberTexts::decimalNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    const QChar point(u'.');
    const QChar comma(u',');
    QTest::newRow("one") << "1" << point << true << 1.0;
    QTest::newRow("minus one") << "-1" << point << true << -1.0;
    QTest::newRow("plus") << "+2" << point << true << 2.0;
    QTest::newRow("blanks around") << "  1  " << point << true << 1.0;
    QTest::newRow("fraction") << "2.5" << point << true << 2.5;
    QTest::newRow("zero fraction") << "0.0" << point << true << 0.0;
    QTest::newRow("minus zero") << "-0" << point << true << 0.0;
    QTest::newRow("exponent") << "1e3" << point << true << 1000.0;
    QTest::newRow("signed exponent") << "1E+3" << point << true << 1000.0;
    QTest::newRow("negative exponent") << "25e-1" << point << true << 2.5;
    QTest::newRow("no integer part") << ".5" << point << true << 0.5;
    QTest::newRow("no fraction digits") << "5." << point << true << 5.0;
    QTest::newRow("separator alone") << "." << point << true << 0.0;
    QTest::newRow("comma locale") << "1,5" << comma << true << 1.5;
    QTest::newRow("point in comma locale") << "1.5" << comma << false << 0.0;
    QTest::newRow("comma in point locale") << "1,5" << point << false << 0.0;
    QTest::newRow("empty") << "" << point << false << 0.0;
    QTest::newRow("blank") << " " << point << false << 0.0;
    QTest::newRow("sign alone") << "-" << point << false << 0.0;
    QTest::newRow("exponent alone") << "e3" << point << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << point << false << 0.0;
    QTest::newRow("exponent sign without digits") << "1e+" << point << false << 0.0;
    QTest::newRow("two separators") << "1.2.3" << point << false << 0.0;
    QTest::newRow("two signs") << "--1" << point << false << 0.0;
    QTest::newRow("blank inside") << "1 2" << point << false << 0.0;
    QTest::newRow("tab") << "\t1" << point << false << 0.0;
    QTest::newRow("word") << "yes" << point << false << 0.0;
    QTest::newRow("hex") << "$FF" << point << false << 0.0;
    QTest::newRow("infinity word") << "inf" << point << false << 0.0;
    QTest::newRow("nan word") << "nan" << point << false << 0.0;
}

void tst_NumberTexts::decimalNumber()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const auto number = NumberTexts::decimalNumber(text, separator);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

void tst_NumberTexts::decimalNumberBeyondDoubleRange()
{
    const QChar point(u'.');
    QCOMPARE(*NumberTexts::decimalNumber(u"1e400", point), HUGE_VAL);
    QCOMPARE(*NumberTexts::decimalNumber(u"-1e400", point), -HUGE_VAL);
    QCOMPARE(*NumberTexts::decimalNumber(u"0e99999999999999999999", point), 0.0);
    // A tiny number is not zero, whatever the sign of its exponent.
    QVERIFY(*NumberTexts::decimalNumber(u"1e-400", point) != 0.0);
    const QString tinyWithPositiveExponent = "0." + QString(400, u'0') + "1e+10";
    const double tiny = *NumberTexts::decimalNumber(tinyWithPositiveExponent, point);
    QVERIFY(tiny > 0.0 && tiny < 1e-300);
    const QString hugeWithNegativeExponent = "1" + QString(400, u'0') + "e-10";
    QCOMPARE(*NumberTexts::decimalNumber(hugeWithNegativeExponent, point), HUGE_VAL);
    QCOMPARE(NumberTexts::roundHalfEvenClamped(*NumberTexts::decimalNumber(u"1e400", point)),
             INT32_MAX);
    QCOMPARE(NumberTexts::roundHalfEvenClamped(tiny), 0);
}

void tst_NumberTexts::roundHalfEvenClamped_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even zero") << 0.5 << 0;
    QTest::newRow("one and a half") << 1.5 << 2;
    QTest::newRow("two and a half") << 2.5 << 2;
    QTest::newRow("below half") << 2.49 << 2;
    QTest::newRow("negative half") << -0.5 << 0;
    QTest::newRow("negative one and a half") << -1.5 << -2;
    QTest::newRow("near max") << 2147483646.5 << 2147483646;
    QTest::newRow("max") << 2147483647.4 << INT32_MAX;
    QTest::newRow("huge") << 1e300 << INT32_MAX;
    QTest::newRow("negative huge") << -1e300 << INT32_MIN;
    QTest::newRow("infinity") << HUGE_VAL << INT32_MAX;
    QTest::newRow("negative infinity") << -HUGE_VAL << INT32_MIN;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void tst_NumberTexts::roundHalfEvenClamped()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(NumberTexts::roundHalfEvenClamped(value), expected);
}

QTEST_GUILESS_MAIN(tst_NumberTexts)
#include "tst_numbertexts.moc"
