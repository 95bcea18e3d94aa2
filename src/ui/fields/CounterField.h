// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A read-only counter (total, elapsed or remaining seconds). It shows exactly the text
// the program last wrote and never rewrites it; the user can focus, select and copy.
class CounterField : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CounterField)

public:
    explicit CounterField(QWidget *parent = nullptr);

    // Shows text, leaving the field alone when it already shows it: every tick writes all
    // three counters, and rewriting an unchanged one would drop the user's selection and
    // lay its text out again for nothing.
    void showText(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyBackground();
};
