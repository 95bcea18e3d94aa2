// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFocus.h"

#include "DesktopPlatform.h"

#include <QApplication>
#include <QEvent>

namespace WindowFocus {

namespace {

class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Qt keeps the request until the window is mapped.
        if (watched == m_window && event->type() == QEvent::Show && !event->spontaneous())
            take(m_window);
        return false;
    }

private:
    QWidget *const m_window;
};

} // namespace

void takeWhenShown(QWidget *window)
{
    new ShowWatcher(window);
}

void take(QWidget *window)
{
    if (!DesktopPlatform::isX11() || !window || !window->isVisible() || window->isMinimized() ||
        window->isActiveWindow())
        return;
    window->activateWindow();
}

ReturnAfterModal::ReturnAfterModal(QWidget *owner)
    : m_window(owner ? owner->window() : QApplication::activeWindow())
{}

void ReturnAfterModal::setOwner(QWidget *owner)
{
    if (owner)
        m_window = owner->window();
}

ReturnAfterModal::~ReturnAfterModal()
{
    QWidget *const modal = QApplication::activeModalWidget();
    if (modal && modal != m_window)
        return;
    take(m_window);
}

} // namespace WindowFocus
