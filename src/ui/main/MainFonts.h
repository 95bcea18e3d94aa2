// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// The main window's two fonts, made anew at each call, so that any thread may make them.
namespace MainFonts {

// The panel's captions and fields: Tahoma at 8 points where there is one, else family.
QFont panel(const QString &family);
// The large display: bold sans serif, Tahoma where there is one.
QFont display();

} // namespace MainFonts
