// SPDX-License-Identifier: GPL-3.0-or-later
#include "EConvertError.h"
#include "ValueEncodings.h"

#include <QSet>
#include <QTest>

using namespace ValueEncodings;

class tst_ValueEncodings : public QObject
{
    Q_OBJECT

private slots:
    void colourTableOrderAndValues();
    void colorToText_data();
    void colorToText();
    void textToColor_data();
    void textToColor();
    void badColourTextRaisesIntegerMessage_data();
    void badColourTextRaisesIntegerMessage();
    void everyIdentifierRoundTrips();
    void boolToTextReadsBack();
    void textToBool_data();
    void textToBool();
    void badBooleanTextRaisesBooleanMessage_data();
    void badBooleanTextRaisesBooleanMessage();
};

namespace {
constexpr std::int32_t bits(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}
} // namespace

void tst_ValueEncodings::colourTableOrderAndValues()
{
    const auto table = colourTable();
    QCOMPARE(table.size(), std::size_t(52));
    // Spot checks over each range, including the picker order of the system range.
    QCOMPARE(table[0].identifier, QLatin1StringView("clBlack"));
    QCOMPARE(table[9].identifier, QLatin1StringView("clRed"));
    QCOMPARE(table[9].value, 0x000000FF);
    QCOMPARE(table[12].value, 0x00FF0000);
    QCOMPARE(table[15].identifier, QLatin1StringView("clWhite"));
    QCOMPARE(table[16].identifier, QLatin1StringView("clMoneyGreen"));
    QCOMPARE(table[19].value, 0x00A4A0A0);
    QCOMPARE(table[20].identifier, QLatin1StringView("clActiveBorder"));
    QCOMPARE(table[29].identifier, QLatin1StringView("clDefault"));
    QCOMPARE(table[29].value, 0x20000000);
    QCOMPARE(table[45].identifier, QLatin1StringView("clNone"));
    QCOMPARE(table[45].value, 0x1FFFFFFF);
    QCOMPARE(table[46].identifier, QLatin1StringView("clScrollBar"));
    QCOMPARE(table[46].value, bits(0xFF000000));
    QCOMPARE(table[47].identifier, QLatin1StringView("cl3DDkShadow"));
    QCOMPARE(table[51].identifier, QLatin1StringView("clWindowText"));
    QCOMPARE(table[51].value, bits(0xFF000008));

    QSet<std::int32_t> values;
    QSet<QString> names;
    int systemColours = 0;
    for (const ColourEntry &entry : table) {
        values.insert(entry.value);
        names.insert(QString(entry.identifier).toLower());
        if ((std::uint32_t(entry.value) & 0xFF000000u) == 0xFF000000u) {
            ++systemColours;
            QVERIFY(std::uint32_t(entry.value & 0xFFFFFF) <= 30);
        }
    }
    QCOMPARE(values.size(), 52);
    QCOMPARE(names.size(), 52);
    QCOMPARE(systemColours, 30);
}

void tst_ValueEncodings::colorToText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("red") << 0x000000FF << "clRed";
    QTest::newRow("black") << 0 << "clBlack";
    QTest::newRow("system colour 0") << bits(0xFF000000) << "clScrollBar";
    QTest::newRow("default") << 0x20000000 << "clDefault";
    QTest::newRow("none") << 0x1FFFFFFF << "clNone";
    QTest::newRow("no identifier") << 0x00C0FFEE << "$00C0FFEE";
    QTest::newRow("leading zeros kept") << 0x1 << "$00000001";
    QTest::newRow("all bits") << -1 << "$FFFFFFFF";
    QTest::newRow("system colour 31") << bits(0xFF00001F) << "$FF00001F";
    QTest::newRow("min") << INT32_MIN << "$80000000";
}

void tst_ValueEncodings::colorToText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(ValueEncodings::colorToText(value), text);
    QCOMPARE(ValueEncodings::textToColor(text), value);
}

void tst_ValueEncodings::textToColor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("writtenBack");
    QTest::newRow("lower case") << "clred" << 0x000000FF << "clRed";
    QTest::newRow("upper case") << "CLRED" << 0x000000FF << "clRed";
    QTest::newRow("as in table") << "clRed" << 0x000000FF << "clRed";
    QTest::newRow("default beicolor") << "clBlack" << 0 << "clBlack";
    QTest::newRow("digit in identifier") << "CL3DLIGHT" << bits(0xFF000016) << "cl3DLight";
    QTest::newRow("dollar") << "$FF" << 0x000000FF << "clRed";
    QTest::newRow("decimal") << "255" << 0x000000FF << "clRed";
    QTest::newRow("eight digits") << "$000000FF" << 0x000000FF << "clRed";
    QTest::newRow("0x") << "0xFF" << 0x000000FF << "clRed";
    QTest::newRow("x") << "xFF" << 0x000000FF << "clRed";
    QTest::newRow("negative decimal") << "-16777216" << bits(0xFF000000) << "clScrollBar";
    QTest::newRow("minus one") << "-1" << -1 << "$FFFFFFFF";
    QTest::newRow("unnamed") << "$00C0FFEE" << 0x00C0FFEE << "$00C0FFEE";
    QTest::newRow("leading blank on a number") << " 255" << 0x000000FF << "clRed";
}

void tst_ValueEncodings::textToColor()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(QString, writtenBack);
    QCOMPARE(ValueEncodings::textToColor(text), value);
    QCOMPARE(ValueEncodings::colorToText(value), writtenBack);
}

void tst_ValueEncodings::badColourTextRaisesIntegerMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("dollar alone") << "$";
    QTest::newRow("leading blank") << " clRed";
    QTest::newRow("trailing blank") << "clRed ";
    QTest::newRow("plain word") << "red";
    QTest::newRow("empty") << "";
    QTest::newRow("too many hex digits") << "$100000000";
    QTest::newRow("letter folded beyond ASCII") << QStringLiteral("clＲed");
    QTest::newRow("dotless i") << QStringLiteral("clWındow");
}

void tst_ValueEncodings::badColourTextRaisesIntegerMessage()
{
    QFETCH(QString, text);
    try {
        ValueEncodings::textToColor(text);
        QFAIL("no error raised");
    } catch (const EConvertError &error) {
        QCOMPARE(error.message(), u'\'' + text + "' is not a valid integer value");
    }
}

void tst_ValueEncodings::everyIdentifierRoundTrips()
{
    for (const ColourEntry &entry : colourTable()) {
        const QString name(entry.identifier);
        QCOMPARE(ValueEncodings::colorToText(entry.value), name);
        QCOMPARE(ValueEncodings::textToColor(name.toUpper()), entry.value);
        QCOMPARE(ValueEncodings::textToColor(name.toLower()), entry.value);
    }
}

void tst_ValueEncodings::boolToTextReadsBack()
{
    QCOMPARE(boolToText(true), QStringLiteral("-1"));
    QCOMPARE(boolToText(false), QStringLiteral("0"));
    QCOMPARE(ValueEncodings::textToBool(boolToText(true)), true);
    QCOMPARE(ValueEncodings::textToBool(boolToText(false)), false);
}

void tst_ValueEncodings::textToBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("value");
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("2.5") << "2.5" << true;
    QTest::newRow("1e3") << "1e3" << true;
    QTest::newRow("blanks around a number") << " 1 " << true;
    QTest::newRow("tiny") << "1e-400" << true;
    QTest::newRow("huge") << "1e400" << true;
    QTest::newRow("true") << "true" << true;
    QTest::newRow("TRUE") << "TRUE" << true;
    QTest::newRow("True") << "True" << true;
    QTest::newRow("tRuE") << "tRuE" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("-0") << "-0" << false;
    QTest::newRow("0.0") << "0.0" << false;
    QTest::newRow("separator alone") << "." << false;
    QTest::newRow("false") << "false" << false;
    QTest::newRow("FALSE") << "FALSE" << false;
}

void tst_ValueEncodings::textToBool()
{
    QFETCH(QString, text);
    QFETCH(bool, value);
    QCOMPARE(ValueEncodings::textToBool(text), value);
}

void tst_ValueEncodings::badBooleanTextRaisesBooleanMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("yes") << "yes";
    QTest::newRow("on") << "on";
    QTest::newRow("leading blank") << " true";
    QTest::newRow("trailing blank") << "false ";
    QTest::newRow("empty") << "";
    QTest::newRow("comma in a point locale") << "1,5";
    QTest::newRow("hex") << "$1";
    QTest::newRow("full-width word") << QStringLiteral("ＴＲＵＥ");
    QTest::newRow("long s") << QStringLiteral("falſe");
}

void tst_ValueEncodings::badBooleanTextRaisesBooleanMessage()
{
    QFETCH(QString, text);
    try {
        ValueEncodings::textToBool(text);
        QFAIL("no error raised");
    } catch (const EConvertError &error) {
        QCOMPARE(error.message(), u'\'' + text + "' is not a valid boolean value");
    }
}

QTEST_GUILESS_MAIN(tst_ValueEncodings)
#include "tst_valueencodings.moc"
