// SPDX-License-Identifier: GPL-3.0-or-later
#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace UiLanguage {

namespace {

// Taiwan, Hong Kong and Macao write Traditional Chinese, as does any tag asking for Hant.
bool isTraditional(const QString &tag)
{
    const QStringList parts = tag.split(QLatin1Char('-'));
    for (const QString &part : parts.mid(1)) {
        if (part.compare(QLatin1String("TW"), Qt::CaseInsensitive) == 0 ||
            part.compare(QLatin1String("HK"), Qt::CaseInsensitive) == 0 ||
            part.compare(QLatin1String("MO"), Qt::CaseInsensitive) == 0 ||
            part.compare(QLatin1String("Hant"), Qt::CaseInsensitive) == 0)
            return true;
        if (part.compare(QLatin1String("Hans"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return false;
}

} // namespace

Language choose(const QStringList &uiLanguages)
{
    for (QString tag : uiLanguages) {
        tag.replace(QLatin1Char('_'), QLatin1Char('-'));
        const QString language = tag.section(QLatin1Char('-'), 0, 0).toLower();
        // Qt names the C locale "C", or "en-US-u-va-posix" from Qt 6.5 on.
        if (language == QLatin1String("c") || language == QLatin1String("posix") ||
            tag.endsWith(QLatin1String("-u-va-posix"), Qt::CaseInsensitive))
            return Language::Source;
        if (language == QLatin1String("zh"))
            return isTraditional(tag) ? Language::TraditionalChinese : Language::Source;
        if (language == QLatin1String("en"))
            return Language::English;
    }
    return Language::English;
}

Language fromSystem()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return Language::Source;
    return choose(system.uiLanguages());
}

QString catalogue(Language language)
{
    switch (language) {
    case Language::Source:
        return {};
    case Language::TraditionalChinese:
        return QStringLiteral(":/i18n/tarvik_zh_TW.qm");
    case Language::English:
        return QStringLiteral(":/i18n/tarvik_en.qm");
    }
    return {};
}

QString qtCatalogue(Language language)
{
    switch (language) {
    case Language::Source:
        return QStringLiteral("qtbase_zh_CN");
    case Language::TraditionalChinese:
        return QStringLiteral("qtbase_zh_TW");
    case Language::English:
        return {};
    }
    return {};
}

QStringList shippedLocales()
{
    return {QStringLiteral("en"), QStringLiteral("zh_TW")};
}

bool install(QCoreApplication *app, Language language)
{
    const QString file = catalogue(language);
    if (file.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file))
        return false;
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(app);
    return true;
}

} // namespace UiLanguage
