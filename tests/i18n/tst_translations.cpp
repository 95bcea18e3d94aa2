// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpokenTime.h"
#include "UiLanguage.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>

using UiLanguage::Language;

Q_DECLARE_METATYPE(Language)

// The language chosen from the desktop's list, and every text the code marks for
// translation, as the build extracted it this time: translated in each shipped catalogue
// with its placeholders kept, and compiled into the resources.
class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void languageChoice_data();
    void languageChoice();
    void everyText_data();
    void everyText();
    void spokenTime_data();
    void spokenTime();
};

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;          // tells apart two uses of one source text
    QStringList translations; // one, or the plural forms
    bool finished = true;
};

QList<Message> readCatalogue(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"message") {
            message = Message{context, {}, {}, {}, true};
        } else if (name == u"source") {
            message.source = xml.readElementText();
        } else if (name == u"comment") {
            message.comment = xml.readElementText();
        } else if (name == u"translation") {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            message.finished = type.isEmpty();
            // Either plain text or numerus forms.
            QString text;
            while (!(xml.isEndElement() && xml.name() == u"translation") && !xml.atEnd()) {
                xml.readNext();
                if (xml.isCharacters())
                    text += xml.text();
                else if (xml.isStartElement() && xml.name() == u"numerusform")
                    message.translations << xml.readElementText();
            }
            if (message.translations.isEmpty())
                message.translations << text;
            messages << message;
        }
    }
    return messages;
}

// %1 … %99 and %n, sorted.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

void tst_Translations::languageChoice_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<Language>("expected");
    const auto row = [](const char *name, QStringList list, Language language) {
        QTest::newRow(name) << list << language;
    };
    row("zh-CN", {"zh-CN"}, Language::Source);
    row("zh-Hans-CN", {"zh-Hans-CN", "zh-CN"}, Language::Source);
    row("zh-SG", {"zh-SG"}, Language::Source);
    row("bare zh", {"zh"}, Language::Source);
    row("zh_TW underscore", {"zh_TW"}, Language::TraditionalChinese);
    row("zh-TW", {"zh-TW"}, Language::TraditionalChinese);
    row("zh-Hant-TW", {"zh-Hant-TW", "zh-TW"}, Language::TraditionalChinese);
    row("zh-HK", {"zh-HK"}, Language::TraditionalChinese);
    row("zh-Hant-HK", {"zh-Hant-HK"}, Language::TraditionalChinese);
    row("C", {"C"}, Language::Source);
    row("POSIX", {"POSIX"}, Language::Source);
    row("posix variant", {"en-US-u-va-posix"}, Language::Source);
    row("en-US", {"en-US", "en"}, Language::English);
    row("en-GB before zh-CN", {"en-GB", "zh-CN"}, Language::English);
    row("de then zh-TW", {"de-DE", "de", "zh-TW"}, Language::TraditionalChinese);
    row("fr only", {"fr-FR", "fr"}, Language::English);
    row("ja", {"ja-JP"}, Language::English);
    row("empty", {}, Language::English);
}

void tst_Translations::languageChoice()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(Language, expected);
    QCOMPARE(UiLanguage::choose(uiLanguages), expected);
}

void tst_Translations::everyText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("translations");
    QTest::addColumn<bool>("finished");
    for (const QString &locale : UiLanguage::shippedLocales()) {
        const QString path = QStringLiteral(TARVIK_EXTRACTED_TRANSLATIONS) +
                             QStringLiteral("/tarvik_%1.ts").arg(locale);
        const QList<Message> messages = readCatalogue(path);
        QVERIFY2(messages.size() > 50, qPrintable(path));
        for (const Message &m : messages) {
            QTest::addRow("%s %s: %s %s", qPrintable(locale), qPrintable(m.context),
                          qPrintable(m.source), qPrintable(m.comment))
                << locale << m.context << m.source << m.comment << m.translations << m.finished;
        }
    }
}

void tst_Translations::everyText()
{
    QFETCH(QString, locale);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, comment);
    QFETCH(QStringList, translations);
    QFETCH(bool, finished);

    // New texts come in unfinished: `cmake --build <dir> --target tarvik_update_translations`
    // brings them into translations/, where they are translated.
    QVERIFY2(finished, "not translated yet");
    for (const QString &translation : translations) {
        QVERIFY(!translation.trimmed().isEmpty());
        QCOMPARE(placeholders(translation), placeholders(source));
    }
    const Language language = locale == u"en" ? Language::English : Language::TraditionalChinese;
    QTranslator compiled;
    QVERIFY(compiled.load(UiLanguage::catalogue(language)));
    const bool plural = source.contains(u"%n");
    const QByteArray disambiguation = comment.toUtf8();
    const QString shown = compiled.translate(
        qPrintable(context), qPrintable(source),
        comment.isEmpty() ? nullptr : disambiguation.constData(), plural ? 1 : -1);
    QCOMPARE(shown, translations.constFirst());
}

void tst_Translations::spokenTime_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("source") << "00:24:59"
                            << "" << QStringLiteral("剩余 24 分 59 秒");
    QTest::newRow("source hours") << "01:00:05"
                                  << "" << QStringLiteral("剩余 1 小时 5 秒");
    QTest::newRow("source zero") << "00:00:00"
                                 << "" << QStringLiteral("剩余 0 秒");
    QTest::newRow("en") << "00:24:59"
                        << "en" << QStringLiteral("24 minutes 59 seconds remaining");
    QTest::newRow("en singular") << "01:01:01"
                                 << "en" << QStringLiteral("1 hour 1 minute 1 second remaining");
    QTest::newRow("en zero") << "00:00:00"
                             << "en" << QStringLiteral("0 seconds remaining");
    QTest::newRow("zh_TW") << "00:24:59"
                           << "zh_TW" << QStringLiteral("剩餘 24 分 59 秒");
    QTest::newRow("not a time") << "12:34"
                                << "en" << QStringLiteral("12:34");
}

void tst_Translations::spokenTime()
{
    QFETCH(QString, display);
    QFETCH(QString, locale);
    QFETCH(QString, spoken);
    QTranslator translator;
    if (!locale.isEmpty()) {
        QVERIFY(translator.load(UiLanguage::catalogue(
            locale == u"en" ? Language::English : Language::TraditionalChinese)));
        QCoreApplication::installTranslator(&translator);
    }
    const QString said = SpokenTime::fromDisplay(display);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(said, spoken);
}

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_translations.moc"
