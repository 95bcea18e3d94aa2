// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QMenu;

// The submenu "快速开始" at the top of the right-click and tray menu: the presets and the
// durations started last, read from the settings each time the menu opens. Choosing one
// emits chosen(seconds); the window starts it for this run.
class QuickStartMenu : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuickStartMenu)

public:
    struct Source
    {
        std::function<QString()> presets; // minutes, "5,10,15"
        std::function<QString()> recent;  // seconds, most recent first
        std::function<bool()> canStart;
    };

    // The submenu's title, in the interface's language.
    static QString title();

    // Puts the submenu above the first entry of popup, with a separator under it.
    QuickStartMenu(QMenu *popup, Source source, QObject *parent = nullptr);
    ~QuickStartMenu() override;

    QMenu *menu() const { return m_menu; }
    // Reads the entries again, as opening the menu does.
    void refresh();
    // The entries read last, in seconds.
    QList<std::int32_t> presets() const { return m_presets; }
    QList<std::int32_t> recent() const { return m_recent; }

signals:
    void chosen(std::int32_t seconds);

private:
    void addEntry(std::int32_t seconds);

    QMenu *const m_menu; // the popup's child
    Source m_source;
    QList<std::int32_t> m_presets;
    QList<std::int32_t> m_recent;
};
