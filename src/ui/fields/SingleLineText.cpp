// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleLineText.h"

#include <QLineEdit>

#include <algorithm>

namespace {

qsizetype firstLineBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || text[i] == u'\r')
            return i;
    }
    return -1;
}

} // namespace

std::optional<SingleLineText::Edit> SingleLineText::cutAtLineBreak(QStringView before,
                                                                   QStringView after, int caret)
{
    const qsizetype end = std::clamp<qsizetype>(caret, 0, after.size());
    // What follows the caret is what stood after the insertion before it.
    const qsizetype suffix = after.size() - end;
    if (suffix > before.size() || before.last(suffix) != after.last(suffix))
        return std::nullopt;
    // What precedes the insertion is the longest common start that fits before both.
    const qsizetype limit = std::min(end, before.size() - suffix);
    qsizetype start = 0;
    while (start < limit && before[start] == after[start])
        ++start;
    const QStringView inserted = after.sliced(start, end - start);
    const qsizetype lineBreak = firstLineBreak(inserted);
    if (lineBreak < 0)
        return std::nullopt;
    const QStringView kept = inserted.first(lineBreak);
    QString text = after.first(start).toString();
    text.append(kept).append(after.last(suffix));
    return Edit{text, int(start + kept.size())};
}

void SingleLineText::attach(QLineEdit *edit)
{
    new SingleLineText(edit);
}

SingleLineText::SingleLineText(QLineEdit *edit)
    : QObject(edit)
    , m_edit(edit)
    , m_before(edit->text())
{
    // textEdited comes only from the user, before textChanged of the same change.
    connect(edit, &QLineEdit::textEdited, this, &SingleLineText::onTextEdited);
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text; });
}

void SingleLineText::onTextEdited(const QString &text)
{
    if (firstLineBreak(text) < 0)
        return;
    const std::optional<Edit> cut = cutAtLineBreak(m_before, text, m_edit->cursorPosition());
    if (!cut)
        return;
    m_edit->setText(cut->text);
    m_edit->setCursorPosition(cut->caret);
}
