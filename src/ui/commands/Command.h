// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

// A command of the main window: name, caption, own key, enabled flag and handler.
// Menu items and buttons bound to it follow its caption and enabled flag.
//
// execute() runs the handler only while the command is enabled and says whether it
// ran. Errors thrown by the handler pass through; the caller runs execute() inside
// the window's error guard (CommandList::runGuarded).
class Command : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Command)

public:
    using Handler = std::function<void()>;

    Command(const QString &name, const QString &caption, int shortcut, QObject *parent = nullptr);

    QString name() const { return objectName(); }
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // Own key as a shortcut value (ShortcutValue.h), 0 for none.
    int shortcut() const { return m_shortcut; }
    void setShortcut(int shortcut) { m_shortcut = shortcut; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    bool execute();

signals:
    // Caption or enabled flag changed.
    void changed();

private:
    QString m_caption;
    int m_shortcut;
    bool m_enabled = true;
    Handler m_handler;
};
