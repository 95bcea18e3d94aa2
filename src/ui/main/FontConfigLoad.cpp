// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontConfigLoad.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontConfigLoad::FontConfigLoad()
{
    try {
        m_loaded = std::async(std::launch::async, [] { FcInit(); }).share();
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
