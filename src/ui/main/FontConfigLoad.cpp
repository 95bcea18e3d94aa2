// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontConfigLoad.h"

#include <fontconfig/fontconfig.h>
#include <sys/resource.h>

#include <system_error>

FontConfigLoad::FontConfigLoad()
{
    try {
        m_loaded = std::async(std::launch::async, [] {
                       // The application object meanwhile talks to the display server, round
                       // trip after round trip: at the lowest priority (this thread's own, on
                       // Linux) the parsing takes what those two leave idle.
                       setpriority(PRIO_PROCESS, 0, 19);
                       FcInit();
                   }).share();
    } catch (const std::system_error &) {
        // No thread to spare: the first lookup loads fontconfig itself.
    }
}

FontConfigLoad::~FontConfigLoad()
{
    wait();
}

void FontConfigLoad::wait() const
{
    if (m_loaded.valid())
        m_loaded.wait();
}
