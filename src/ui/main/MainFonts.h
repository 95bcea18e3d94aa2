// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// The main window's two fonts, made anew at each call, so that any thread may make them.
namespace MainFonts {

// How the window's text is hinted, given the desktop's hint style as DesktopPlatform's
// x11HintStyle gives it: unhinted unless the desktop asks for medium or full hinting.
QFont::HintingPreference hinting(int desktopHintStyle);

// The panel's captions and fields: Tahoma at 8 points where there is one, else family.
QFont panel(const QString &family, QFont::HintingPreference hinting);
// The large display: bold sans serif, Tahoma where there is one.
QFont display(QFont::HintingPreference hinting);

} // namespace MainFonts
