// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The settings file: INI text in code page 936 (read and written as GB18030).
//
// Reading: section and key names match without regard to case and with blanks around
// them ignored; the first matching key of the matching sections wins. Blanks around the
// value and one pair of enclosing double or single quotes are removed, and at most
// maxValueBytes bytes of the value are seen (cut between two characters, never inside one).
// Lines starting with ';' are comments.
//
// Writing replaces the text after '=' of the key's line, or adds "key=value" after the
// last line of the section, or adds the section at the end. Every other byte of the file
// stays as it was; new lines take the file's line end (CRLF for a new file). The file's own
// permissions decide whether it may be written; how it is written is SafeFileWrite's.
class IniFile
{
public:
    static constexpr qsizetype maxValueBytes = 2047;

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // Never fails: a missing or unreadable file, section or key gives defaultValue.
    QString readString(QStringView section, QStringView key, const QString &defaultValue) const;

    // Throws EIniFileException("Unable to write to <path>") when the file cannot be written,
    // or when a name or the value cannot be stored in a line of INI text (a line break in
    // it, '=' in a key, ']' in a section) rather than spoil the file.
    void writeString(QStringView section, QStringView key, QStringView value);

    // Whether writeString can store value at all: no line break, and every character has
    // a code in the file's code page.
    static bool canStoreValue(QStringView value);

    // The same rules on file text in memory, for the fuzzer and the benchmarks.
    static std::optional<QString> valueIn(QByteArrayView text, QStringView section,
                                          QStringView key);
    static std::optional<QByteArray> withValue(QByteArrayView text, QStringView section,
                                               QStringView key, QStringView value);

private:
    QString m_path;
};
