// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFonts.h"

#include <QStringList>

namespace {

constexpr int panelPointSize = 8;
constexpr int displayPixelSize = 133;

// Tahoma where it is installed. A list rather than a lookup: asking the font database
// here would load it on the window's thread before the window can show.
QStringList preferredFamilies(const QString &otherwise)
{
    return {QStringLiteral("Tahoma"), otherwise};
}

} // namespace

namespace MainFonts {

QFont panel(const QString &family)
{
    QFont font;
    font.setFamilies(preferredFamilies(family));
    font.setPointSize(panelPointSize);
    return font;
}

QFont display()
{
    QFont font;
    font.setFamilies(preferredFamilies(QStringLiteral("Sans Serif")));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(displayPixelSize);
    return font;
}

} // namespace MainFonts
