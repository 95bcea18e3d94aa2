// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include <cstdint>

class SpinStepButton;

// A field for a small whole number (a duration part or the alarm lead). The text is
// its only state: the program sets and reads it as is, and a number is read from the
// text whenever one is needed. Keys, the wheel and two step buttons step it inside
// 0..maximum; leaving the field rewrites the text as a clamped whole number.
class SpinField : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpinField)

public:
    static constexpr int buttonWidth = 17;
    static constexpr int pageStep = 10;

    explicit SpinField(QWidget *parent = nullptr);

    // The text exactly as given: nothing is checked, clamped or reformatted.
    using QLineEdit::setText;
    using QLineEdit::text;

    // The text read as a decimal number; no number gives 0, and an empty text becomes "0".
    double number();
    // The number rounded half to even, within 32 bits.
    std::int32_t value();

    void setMaximum(int maximum);
    int maximum() const { return m_maximum; }
    static constexpr int minimum() { return 0; }

    // Clamps, rewrites the text as a whole number and keeps the caret in place.
    void setNumber(double number);
    void stepBy(int amount);

    SpinStepButton *upButton() const { return m_up; }
    SpinStepButton *downButton() const { return m_down; }

signals:
    // A typed character was refused; the field has beeped.
    void keyRejected();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void placeButtons();
    void rewriteOnLeave();

    SpinStepButton *const m_up;
    SpinStepButton *const m_down;
    int m_maximum = 0;
    int m_wheelRemainder = 0;
};
