// SPDX-License-Identifier: GPL-3.0-or-later
#include "CounterField.h"

#include "SystemColors.h"

#include <QEvent>

namespace {
constexpr std::int32_t clInfoBk = std::int32_t(SystemColors::systemColourFlag | 24u);
}

CounterField::CounterField(QWidget *parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFocusPolicy(Qt::StrongFocus);
    applyBackground();
}

void CounterField::showText(const QString &text)
{
    if (text != QLineEdit::text())
        setText(text);
}

void CounterField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    // The info background follows the desktop's colours.
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyBackground();
}

void CounterField::applyBackground()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, SystemColors::toQColor(clInfoBk));
    setPalette(pal);
}
