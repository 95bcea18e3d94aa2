// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// The mouse wheel turned anywhere over a window steps the spin field that has the focus
// there, wherever the pointer is; the widget under the pointer does not see the turn.
// With no spin field focused, wheel turns go where they would anyway.
class SpinWheelRouter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpinWheelRouter)

public:
    // Follows the wheel over window and its children for window's life.
    explicit SpinWheelRouter(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *const m_window;
};
