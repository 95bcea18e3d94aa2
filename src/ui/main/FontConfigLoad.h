// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <future>

// Has fontconfig read its configuration files and font caches on another processor, started
// before the application object: the first font lookup would otherwise pay for it, some
// milliseconds of parsing. Waits for that when destroyed.
class FontConfigLoad
{
    Q_DISABLE_COPY_MOVE(FontConfigLoad)

public:
    FontConfigLoad();
    ~FontConfigLoad();

    // Blocks until fontconfig is loaded; from any thread.
    void wait() const;

private:
    std::shared_future<void> m_loaded;
};
