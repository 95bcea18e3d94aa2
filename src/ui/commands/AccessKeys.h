// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// Access keys for menu captions on double-byte locales, where captions have no
// letter of their own to underline.
namespace AccessKeys {

inline constexpr char letters[] = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline const QString separatorCaption = QStringLiteral("-");

// Chinese, Japanese and Korean locales.
bool localeUsesDoubleByteScript(const QLocale &locale);

// Whether the caption marks a letter with "&" ("&&" is a plain ampersand).
bool hasAccessKey(const QString &caption);

// Captions with "(&X)" appended to each that has none, letters taken from the end of
// the list going up from the bottom caption; separators get none and captions that
// already have one keep theirs.
QStringList added(const QStringList &captions);

} // namespace AccessKeys
