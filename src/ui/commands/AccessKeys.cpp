// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessKeys.h"

namespace AccessKeys {

bool localeUsesDoubleByteScript(const QLocale &locale)
{
    switch (locale.language()) {
    case QLocale::Chinese:
    case QLocale::Japanese:
    case QLocale::Korean:
        return true;
    default:
        return false;
    }
}

bool hasAccessKey(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) != QLatin1Char('&'))
            return true;
        ++i;
    }
    return false;
}

QStringList added(const QStringList &captions)
{
    QStringList result = captions;
    qsizetype next = qsizetype(sizeof letters) - 2; // the last letter
    for (qsizetype i = result.size() - 1; i >= 0 && next >= 0; --i) {
        QString &caption = result[i];
        if (caption == separatorCaption || hasAccessKey(caption))
            continue;
        caption += QLatin1String("(&") + QLatin1Char(letters[next]) + QLatin1Char(')');
        --next;
    }
    return result;
}

} // namespace AccessKeys
