// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinWheelRouter.h"

#include "SpinField.h"

#include <QApplication>
#include <QWheelEvent>

SpinWheelRouter::SpinWheelRouter(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    // Wheel turns go to the widget under the pointer, which may be any child (or a
    // list that takes the wheel itself), so they are caught before delivery.
    qApp->installEventFilter(this);
}

bool SpinWheelRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return false;
    auto *const target = static_cast<QWidget *>(watched);
    if (target->window() != m_window)
        return false;
    auto *const field = qobject_cast<SpinField *>(m_window->focusWidget());
    if (!field || !field->hasFocus() || field == target || field->isAncestorOf(target))
        return false;
    QApplication::sendEvent(field, static_cast<QWheelEvent *>(event));
    return true;
}
