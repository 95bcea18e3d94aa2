// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// How a file-name field turns its free text into a starting point for its file dialog,
// and how a chosen path goes back into the text.
namespace FileNameRules {

// The longest first word taken from a command-line style text: the longest path the
// system takes, so that a long quoted path is not cut short.
constexpr qsizetype maxWordLength = 4096;

// The first word of the text split like a command line: blanks and control characters
// (codes 1 to 32) and pairs of adjacent double quotes are skipped at the start; double
// quotes open and close runs in which blanks belong to the word and are themselves dropped.
// A NUL character ends the text. The word is cut to maxWordLength characters.
QString firstCommandLineWord(QStringView text);

// Not empty and none of < > " [ ] |.
bool isValidFileName(QStringView name);

// Everything up to and including the last folder separator; empty when there is none.
QString folderPart(const QString &path);

// The text the field shows for a chosen path: in double quotes when it holds a blank
// and is not already quoted.
QString quotedWhenBlank(const QString &path);

// "desc|pattern|desc|pattern" to the name filters of QFileDialog ("desc (patterns)"),
// in order. Patterns separated by ";" become blank separated; an unpaired last part is
// ignored.
QStringList toNameFilters(const QString &filter);

} // namespace FileNameRules
