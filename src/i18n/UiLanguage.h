// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The language of the interface, from the desktop's preferred languages. The Chinese texts
// in the code are the source texts: a Chinese locale other than Taiwan's or Hong Kong's,
// and the C/POSIX locale, see them as they are; Taiwan and Hong Kong get Traditional
// Chinese; every other language gets English. Only the texts shown change: the settings
// file, its keys and values stay the same in every language.
namespace UiLanguage {

enum class Language
{
    Source,
    TraditionalChinese,
    English
};

// The first entry of the list that names Chinese, English or the C locale decides;
// a list naming none of them gets English.
Language choose(const QStringList &uiLanguages);
Language fromSystem();

// The program's catalogue in the resources (":/i18n/tarvik_en.qm"), empty for the source.
QString catalogue(Language language);
// Qt's own catalogue for its standard buttons and edit menus, empty for English.
QString qtCatalogue(Language language);

// The catalogue names of the shipped translations, for the tests that walk them all.
QStringList shippedLocales();

// Installs the program's catalogue for language on app, which owns it. Returns false
// when the language has none or it cannot be loaded (the source texts then show).
bool install(QCoreApplication *app, Language language);

} // namespace UiLanguage
