// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNameRules.h"

namespace FileNameRules {

namespace {

constexpr bool isSeparatorOrControl(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

constexpr bool isFolderSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\' || c == u':';
#else
    return c == u'/';
#endif
}

} // namespace

QString firstCommandLineWord(QStringView text)
{
    const qsizetype end = [text] {
        const qsizetype nul = text.indexOf(QChar(0));
        return nul < 0 ? text.size() : nul;
    }();
    auto at = [text, end](qsizetype i) {
        return i < end ? text.at(i) : QChar(0);
    };

    qsizetype i = 0;
    for (;;) {
        while (isSeparatorOrControl(at(i)))
            ++i;
        if (at(i) == u'"' && at(i + 1) == u'"')
            i += 2;
        else
            break;
    }

    QString word;
    bool quoted = false;
    for (; i < end; ++i) {
        const QChar c = text.at(i);
        if (!quoted && isSeparatorOrControl(c))
            break;
        if (c == u'"')
            quoted = !quoted;
        else if (word.size() < maxWordLength)
            word.append(c);
    }
    return word;
}

bool isValidFileName(QStringView name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        switch (c.unicode()) {
        case u'<':
        case u'>':
        case u'"':
        case u'[':
        case u']':
        case u'|':
            return false;
        default:
            break;
        }
    }
    return true;
}

QString folderPart(const QString &path)
{
    for (qsizetype i = path.size(); i > 0; --i) {
        if (isFolderSeparator(path.at(i - 1)))
            return path.left(i);
    }
    return {};
}

QString quotedWhenBlank(const QString &path)
{
    if (path.contains(u' ') && !path.startsWith(u'"'))
        return u'"' + path + u'"';
    return path;
}

QStringList toNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(u';', u' ');
        const QString tail = u'(' + patterns + u')';
        // A description that already ends with its patterns is used as it is, so that
        // "mp3 (*.mp3)" does not show them twice.
        if (description.endsWith(tail))
            result.append(description);
        else if (description.isEmpty())
            result.append(tail);
        else
            result.append(description + u' ' + tail);
    }
    return result;
}

} // namespace FileNameRules
