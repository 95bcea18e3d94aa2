// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinField.h"

#include "NumberTexts.h"
#include "SingleLineText.h"
#include "SpinFieldRules.h"
#include "SpinStepButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

SpinField::SpinField(QWidget *parent)
    : QLineEdit(parent)
    , m_up(new SpinStepButton(SpinStepButton::Direction::Up, this))
    , m_down(new SpinStepButton(SpinStepButton::Direction::Down, this))
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(false);
    setTextMargins(2, 1, buttonWidth + 2, 1);
    setAttribute(Qt::WA_Hover);
    // Double-byte characters must arrive as typed keys so that they are refused.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SingleLineText::attach(this);

    for (SpinStepButton *button : {m_up, m_down}) {
        // The field takes the focus before the button acts, as a click would do.
        connect(button, &SpinStepButton::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
    }
    connect(m_up, &SpinStepButton::step, this, [this] { stepBy(1); });
    connect(m_down, &SpinStepButton::step, this, [this] { stepBy(-1); });
    m_up->setAccessibleName(tr("增加"));
    m_down->setAccessibleName(tr("减少"));
    placeButtons();
}

double SpinField::number()
{
    if (text().isEmpty()) {
        setText(QStringLiteral("0"));
        return 0;
    }
    return SpinFieldRules::readNumber(text()).value_or(SpinFieldRules::minimum);
}

std::int32_t SpinField::value()
{
    return NumberTexts::roundHalfEvenClamped(number());
}

void SpinField::setMaximum(int maximum)
{
    m_maximum = std::max(maximum, SpinFieldRules::minimum);
}

void SpinField::setNumber(double number)
{
    const QString newText =
        SpinFieldRules::wholeNumberText(SpinFieldRules::clampToRange(number, m_maximum));
    const bool hadSelection = hasSelectedText();
    const int oldLength = int(text().size());
    const int caret = cursorPosition();
    setText(newText);
    if (hadSelection)
        selectAll();
    else
        setCursorPosition(SpinFieldRules::caretAfterRewrite(caret, oldLength, int(newText.size())));
}

void SpinField::stepBy(int amount)
{
    setNumber(number() + amount);
}

void SpinField::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        stepBy(1);
        return;
    case Qt::Key_Down:
        stepBy(-1);
        return;
    case Qt::Key_PageUp:
        stepBy(pageStep);
        return;
    case Qt::Key_PageDown:
        stepBy(-pageStep);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Used up here so that a dialog's default button does not see it.
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        return;
    default:
        break;
    }

    const bool controlKey =
        (event->modifiers() & Qt::ControlModifier) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste);
    const int selectionLength = int(selectedText().size());
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    switch (
        SpinFieldRules::classifyTyped(event->text(), controlKey, text(), start, selectionLength)) {
    case SpinFieldRules::TypedKey::MoveFocus:
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case SpinFieldRules::TypedKey::Insert:
    case SpinFieldRules::TypedKey::PassOn:
        QLineEdit::keyPressEvent(event);
        return;
    case SpinFieldRules::TypedKey::Reject:
        QApplication::beep();
        emit keyRejected();
        return;
    }
}

void SpinField::wheelEvent(QWheelEvent *event)
{
    // Only the field with the focus is stepped by the wheel.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    constexpr int notch = QWheelEvent::DefaultDeltasPerStep;
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / notch;
    m_wheelRemainder -= notches * notch;
    if (notches != 0) {
        const int perNotch = (event->modifiers() & Qt::ControlModifier) ? pageStep : 1;
        stepBy(notches * perNotch);
    }
    event->accept();
}

void SpinField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        selectAll();
        break;
    case Qt::MouseFocusReason:
        deselect();
        break;
    default:
        break;
    }
    update();
}

void SpinField::focusOutEvent(QFocusEvent *event)
{
    // A window switch or the field's own text menu does not count as leaving it.
    const bool leaving =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (leaving)
        rewriteOnLeave();
    QLineEdit::focusOutEvent(event);
    m_wheelRemainder = 0;
    update();
}

void SpinField::rewriteOnLeave()
{
    setNumber(SpinFieldRules::readNumber(text()).value_or(SpinFieldRules::minimum));
}

void SpinField::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const bool highlighted = hasFocus() || underMouse();
    painter.setPen(highlighted ? palette().color(QPalette::Highlight)
                               : palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SpinField::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButtons();
}

void SpinField::enterEvent(QEnterEvent *event)
{
    QLineEdit::enterEvent(event);
    update();
}

void SpinField::leaveEvent(QEvent *event)
{
    QLineEdit::leaveEvent(event);
    update();
}

void SpinField::placeButtons()
{
    // Up above down, along the right edge inside the frame.
    const int inner = std::max(height() - 2, 2);
    const int upHeight = inner / 2;
    const int x = width() - 1 - buttonWidth;
    m_up->setGeometry(x, 1, buttonWidth, upHeight);
    m_down->setGeometry(x, 1 + upHeight, buttonWidth, inner - upHeight);
}
