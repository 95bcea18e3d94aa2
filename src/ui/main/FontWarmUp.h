// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class FontConfigLoad;
class QThread;

// Finds the main window's fonts on a thread of its own while the window is being built: the
// system's font list, the fallback fonts for the captions' script, the font files. The
// window's first text then finds them known instead of looking them up itself, which is most
// of the time before its first paint. The group boxes' frame picture is read there once too,
// which makes Qt's list of image plugins. Waits for that thread when destroyed.
class FontWarmUp
{
    Q_DISABLE_COPY_MOVE(FontWarmUp)

public:
    // fontConfig: waited for first, and must outlive this; panelFamily: the application
    // font's family; sample: text the panel shows first.
    FontWarmUp(const FontConfigLoad &fontConfig, const QString &panelFamily, const QString &sample);
    ~FontWarmUp();

private:
    std::unique_ptr<QThread> m_thread;
};
