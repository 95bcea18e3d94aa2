// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFrame.h"

#include "CommandList.h"
#include "DesktopPlatform.h"
#include "MainFonts.h"
#include "PopupMenu.h"
#include "TaskbarPresence.h"
#include "TrayIcon.h"
#include "WindowFocus.h"

#include <QCoreApplication>
#include <QVBoxLayout>

MainFrame::MainFrame(QWidget *parent)
    : QWidget(parent)
    , m_commands(CommandList::createActionList1(this))
    , m_menu(PopupMenu::createPopupMenu1(m_commands, this))
    , m_trayIcon(new TrayIcon(m_menu, this))
    , m_layout(new QVBoxLayout(this))
{
    setWindowTitle(
        QCoreApplication::translate("MainFrame", "Tarvik倒计时计时器  —  Tarvik 工作室出品"));
    setBackgroundRole(QPalette::Button);
    // Before the controls are made, so that each lays out its text once, in this font.
    setFont(MainFonts::panel(font().family(), MainFonts::hinting(DesktopPlatform::x11HintStyle())));
    move(72, 25);
    resize(1147, 649);
    setWindowState(Qt::WindowMaximized);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    TaskbarPresence::keepOffTaskbar(this);
    // Off the taskbar, the window manager may no longer give it the focus by itself.
    WindowFocus::takeWhenShown(this);
    // Nothing so far measures text: showing now costs no font loading.
    show();
}

MainFrame::~MainFrame() = default;
