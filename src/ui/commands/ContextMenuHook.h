// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class PopupMenu;
class QWidget;

// Opens PopupMenu1 for right clicks and the menu key on the window.
//
// Wiring in the main window:
//   m_contextMenu = new ContextMenuHook(PopupMenu1, this);   // the window itself
//   m_contextMenu->watch(Label7); m_contextMenu->watch(Panel1); m_contextMenu->watch(<player bar>);
// Right clicks on controls that have no menu of their own travel up to the window and
// open the menu at the cursor; spin and counter fields keep their own text menu. The
// menu key opens it at the top-left corner of the client area.
class ContextMenuHook : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContextMenuHook)

public:
    ContextMenuHook(PopupMenu *menu, QWidget *window);

    void watch(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PopupMenu *const m_menu;
    QWidget *const m_window;
};
