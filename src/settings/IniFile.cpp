// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include "EIniFileException.h"
#include "Gb18030.h"
#include "SafeFileWrite.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

QStringView trimmedName(QStringView name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    const auto blank = [](QChar c) {
        return c.unicode() < 128 && isBlank(char(c.unicode()));
    };
    while (begin < end && blank(name[begin]))
        ++begin;
    while (end > begin && blank(name[end - 1]))
        --end;
    return name.sliced(begin, end - begin);
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Names are compared as text, not bytes: a trailing byte of a two-byte character may look
// like an ASCII letter.
bool nameMatches(QByteArrayView stored, QStringView wanted)
{
    if (isAscii(stored)) {
        return QLatin1StringView(stored.data(), stored.size())
                   .compare(wanted, Qt::CaseInsensitive) == 0;
    }
    return Gb18030::decode(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

// ']' may be the trailing byte of a two-byte character, so the text is walked by characters.
QByteArrayView sectionNameBytes(QByteArrayView afterBracket)
{
    for (qsizetype i = 0; i < afterBracket.size(); i += Gb18030::characterLength(afterBracket, i)) {
        if (afterBracket[i] == ']')
            return afterBracket.first(i);
    }
    return afterBracket;
}

struct Location
{
    bool sectionFound = false;
    qsizetype insertAt = 0; // after the last non-blank line of the first matching section
    bool keyFound = false;
    qsizetype valueBegin = 0; // just after '='
    qsizetype valueEnd = 0;   // end of the line's text, before its line end
};

Location locate(QByteArrayView text, QStringView section, QStringView key)
{
    Location found;
    bool inMatchingSection = false;
    bool inFirstMatchingSection = false;
    qsizetype lineBegin = 0;
    while (lineBegin < text.size()) {
        qsizetype newline = text.indexOf('\n', lineBegin);
        const qsizetype next = newline < 0 ? text.size() : newline + 1;
        qsizetype lineEnd = newline < 0 ? text.size() : newline;
        if (lineEnd > lineBegin && text[lineEnd - 1] == '\r')
            --lineEnd;
        const QByteArrayView line = text.sliced(lineBegin, lineEnd - lineBegin);
        const QByteArrayView content = trimmed(line);

        if (content.startsWith('[')) {
            const QByteArrayView name = trimmed(sectionNameBytes(content.sliced(1)));
            inMatchingSection = nameMatches(name, section);
            inFirstMatchingSection = inMatchingSection && !found.sectionFound;
            if (inFirstMatchingSection) {
                found.sectionFound = true;
                found.insertAt = next;
            }
        } else if (!content.isEmpty()) {
            if (inFirstMatchingSection)
                found.insertAt = next;
            const qsizetype equals = content.startsWith(';') ? -1 : line.indexOf('=');
            if (inMatchingSection && equals >= 0 && nameMatches(trimmed(line.first(equals)), key)) {
                found.keyFound = true;
                found.valueBegin = lineBegin + equals + 1;
                found.valueEnd = lineEnd;
                return found;
            }
        }
        lineBegin = next;
    }
    return found;
}

QByteArrayView lineEndOf(QByteArrayView text)
{
    const qsizetype newline = text.indexOf('\n');
    if (newline > 0 && text[newline - 1] == '\r')
        return "\r\n";
    return newline >= 0 ? QByteArrayView("\n") : QByteArrayView("\r\n");
}

bool containsAny(QStringView text, QStringView characters)
{
    for (const QChar c : text) {
        if (characters.contains(c))
            return true;
    }
    return false;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{}

std::optional<QString> IniFile::valueIn(QByteArrayView text, QStringView section, QStringView key)
{
    const Location found = locate(text, trimmedName(section), trimmedName(key));
    if (!found.keyFound)
        return std::nullopt;
    QByteArrayView value =
        trimmed(text.sliced(found.valueBegin, found.valueEnd - found.valueBegin));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.sliced(1, value.size() - 2);
    }
    return Gb18030::decode(value.first(Gb18030::characterPrefixLength(value, maxValueBytes)));
}

bool IniFile::canStoreValue(QStringView value)
{
    return !containsAny(value, u"\r\n") && Gb18030::encode(value).has_value();
}

std::optional<QByteArray> IniFile::withValue(QByteArrayView text, QStringView section,
                                             QStringView key, QStringView value)
{
    const QStringView sectionName = trimmedName(section);
    const QStringView keyName = trimmedName(key);
    // Anything that would read back as another line, section or key is refused.
    if (containsAny(section, u"\r\n]") || containsAny(key, u"\r\n=") ||
        keyName.startsWith(u'[') || keyName.startsWith(u';') || !canStoreValue(value)) {
        return std::nullopt;
    }
    const auto sectionBytes = Gb18030::encode(section);
    const auto keyBytes = Gb18030::encode(key);
    const auto valueBytes = Gb18030::encode(value);
    if (!sectionBytes || !keyBytes || !valueBytes)
        return std::nullopt;

    const Location found = locate(text, sectionName, keyName);
    QByteArray result;
    result.reserve(text.size() + sectionBytes->size() + keyBytes->size() + valueBytes->size() + 8);
    if (found.keyFound) {
        result.append(text.first(found.valueBegin));
        result.append(*valueBytes);
        result.append(text.sliced(found.valueEnd));
        return result;
    }
    const QByteArrayView lineEnd = lineEndOf(text);
    const qsizetype insertAt = found.sectionFound ? found.insertAt : text.size();
    result.append(text.first(insertAt));
    if (insertAt > 0 && text[insertAt - 1] != '\n')
        result.append(lineEnd);
    if (!found.sectionFound)
        result.append('[').append(*sectionBytes).append(']').append(lineEnd);
    result.append(*keyBytes).append('=').append(*valueBytes).append(lineEnd);
    result.append(text.sliced(insertAt));
    return result;
}

QString IniFile::readString(QStringView section, QStringView key, const QString &defaultValue) const
{
    // Only a plain file is read: a pipe or device in its place must not hang the program.
    const QFileInfo info(m_path);
    if (!info.isFile())
        return defaultValue;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    const QByteArray text = file.readAll();
    return valueIn(text, section, key).value_or(defaultValue);
}

void IniFile::writeString(QStringView section, QStringView key, QStringView value)
{
    QByteArray text;
    const QFileInfo info(m_path);
    if (info.exists()) {
        // What cannot be read cannot be kept, so it is not overwritten either.
        QFile file(m_path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly))
            throw EIniFileException::unableToWrite(m_path);
        text = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw EIniFileException::unableToWrite(m_path);
    }
    const auto newText = withValue(text, section, key, value);
    if (!newText || SafeFileWrite::write(m_path, *newText) == SafeFileWrite::Result::Refused)
        throw EIniFileException::unableToWrite(m_path);
}
