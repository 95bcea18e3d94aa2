// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontWarmUp.h"

#include "DesktopPlatform.h"
#include "FontConfigLoad.h"
#include "GroupBoxFrameStyle.h"
#include "MainFonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QThread>

#include <sys/resource.h>

FontWarmUp::FontWarmUp(const FontConfigLoad &fontConfig, const QString &panelFamily,
                       const QString &sample)
    // The fonts are made on that thread: a font shared with this one would share its caches.
    : m_thread(QThread::create([&fontConfig, panelFamily, sample,
                                hinting = MainFonts::hinting(DesktopPlatform::x11HintStyle())] {
        // At the lowest priority (this thread's own, on Linux): the display server and the
        // session bus answer the window's round trips first, and on two processors this
        // thread took one of them from those answers. Idle time is enough for it, even
        // with the processors busy.
        setpriority(PRIO_PROCESS, 0, 19);
        fontConfig.wait();
        QFontDatabase::families();
        // Qt's lists of fallback fonts, one per family and script, are shared by all threads:
        // the captions need the panel font's list for their script, the fields' digits another.
        const QFontMetrics panel(MainFonts::panel(panelFamily, hinting));
        panel.horizontalAdvance(sample);
        panel.horizontalAdvance(QStringLiteral("0123456789"));
        QFontMetrics(MainFonts::display(hinting)).horizontalAdvance(QStringLiteral("0123456789:"));
        // Qt lists its image plugins the first time a picture is read, and the first paint
        // reads the group boxes' frame.
        GroupBoxFrameStyle::readFramePicture();
    }))
{
    m_thread->setObjectName(QStringLiteral("FontWarmUp"));
    m_thread->start();
}

FontWarmUp::~FontWarmUp()
{
    m_thread->wait();
}
