// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <optional>

class QLineEdit;

// One-line fields take pasted or dropped text as a platform edit does: everything from
// the first line break on is dropped, so a field never holds a line break the user put
// there (the settings file could not store it).
class SingleLineText : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleLineText)

public:
    struct Edit
    {
        QString text;
        int caret = 0;
    };

    // The edit that turned before into after, with the caret left at the end of what was
    // inserted, with the inserted text cut at its first line break; nothing when the
    // inserted text holds none.
    static std::optional<Edit> cutAtLineBreak(QStringView before, QStringView after, int caret);

    // Keeps edit's user edits to one line for edit's life.
    static void attach(QLineEdit *edit);

private:
    explicit SingleLineText(QLineEdit *edit);
    void onTextEdited(const QString &text);

    QLineEdit *const m_edit;
    QString m_before;
};
