// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteFront.h"

#include "RemoteLimits.h"
#include "RemoteQrWindow.h"

#include <QAction>
#include <QFile>
#include <QMenu>

RemoteFront::RemoteFront(TimerCore *core, QMenu *menu, QWidget *window)
    : QObject(window)
    , m_control(new RemoteControl(core, this))
    , m_window(window)
    , m_action(new QAction(tr("遥控二维码"), this))
    , m_separator(new QAction(this))
{
    m_separator->setSeparator(true);
    // At the top, so the items below keep their places and keys.
    QAction *first = menu->actions().value(0);
    menu->insertAction(first, m_action);
    menu->insertAction(first, m_separator);
    m_action->setVisible(false);
    m_separator->setVisible(false);
    connect(m_action, &QAction::triggered, this, &RemoteFront::showQrWindow);

    // For the end-to-end tests and for a machine that should serve on one address only:
    // TARVIK_REMOTE_LISTEN=127.0.0.1 binds there; TARVIK_REMOTE_LINKS=file gets the two
    // links (owner-readable only) whenever they change, until --remote-url can be asked.
    const QString listen = qEnvironmentVariable("TARVIK_REMOTE_LISTEN");
    if (!listen.isEmpty())
        m_control->setListenAddress(listen);
    const QString linksFile = qEnvironmentVariable("TARVIK_REMOTE_LINKS");
    if (!linksFile.isEmpty())
        connect(m_control, &RemoteControl::linksChanged, this, [this, linksFile] {
            QFile file(linksFile);
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
                file.write(
                    (m_control->viewUrl() + u'\n' + m_control->controlUrl() + u'\n').toUtf8());
            }
        });
}

RemoteFront::~RemoteFront()
{
    delete m_qrWindow;
}

void RemoteFront::apply(bool enabled, int port)
{
    m_enabled = enabled;
    m_port = port;
    m_applied = true;
    follow();
}

void RemoteFront::forceOn()
{
    m_forced = true;
    follow();
}

void RemoteFront::follow()
{
    // Before the first apply the port is not known yet: a forced start waits for it, so
    // that the links it gives out stay valid.
    if (!m_applied)
        return;
    const bool on = m_enabled || m_forced;
    const int port = m_port > 0 && m_port < 65536 ? m_port : RemoteLimits::defaultPort;
    if (on && (!m_control->isRunning() || port != m_runningPort)) {
        m_runningPort = port;
        m_control->start(quint16(port));
    } else if (!on && m_control->isRunning()) {
        m_control->stop();
        if (m_qrWindow)
            m_qrWindow->close();
    }
    m_action->setVisible(on);
    m_separator->setVisible(on);
}

void RemoteFront::showQrWindow()
{
    if (!m_qrWindow) {
        m_qrWindow = new RemoteQrWindow(m_control, m_window);
        m_qrWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_qrWindow->show();
    m_qrWindow->raise();
    m_qrWindow->activateWindow();
}
