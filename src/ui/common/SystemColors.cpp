// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace SystemColors {

namespace {

QColor systemColour(int index)
{
    const QPalette palette = QGuiApplication::palette();
    using P = QPalette;
    switch (index) {
    case 0:
        return palette.color(P::Active, P::Midlight); // scroll bar
    case 1:
        return palette.color(P::Active, P::Dark); // desktop
    case 2:
        return palette.color(P::Active, P::Highlight); // active caption
    case 3:
        return palette.color(P::Inactive, P::Mid); // inactive caption
    case 4:
        return palette.color(P::Active, P::Window); // menu
    case 5:
        return palette.color(P::Active, P::Base); // window
    case 6:
        return palette.color(P::Active, P::Shadow); // window frame
    case 7:
        return palette.color(P::Active, P::WindowText); // menu text
    case 8:
        return palette.color(P::Active, P::Text); // window text
    case 9:
        return palette.color(P::Active, P::HighlightedText); // caption text
    case 10:
        return palette.color(P::Active, P::Window); // active border
    case 11:
        return palette.color(P::Inactive, P::Window); // inactive border
    case 12:
        return palette.color(P::Active, P::Dark); // application workspace
    case 13:
        return palette.color(P::Active, P::Highlight); // highlight
    case 14:
        return palette.color(P::Active, P::HighlightedText); // highlight text
    case 15:
        return palette.color(P::Active, P::Button); // button face
    case 16:
        return palette.color(P::Active, P::Dark); // button shadow
    case 17:
        return palette.color(P::Disabled, P::Text); // grey text
    case 18:
        return palette.color(P::Active, P::ButtonText); // button text
    case 19:
        return palette.color(P::Inactive, P::HighlightedText); // inactive caption text
    case 20:
        return palette.color(P::Active, P::Light); // button highlight
    case 21:
        return palette.color(P::Active, P::Shadow); // 3D dark shadow
    case 22:
        return palette.color(P::Active, P::Midlight); // 3D light
    case 23:
        return palette.color(P::Active, P::ToolTipText); // info text
    case 24:
        return palette.color(P::Active, P::ToolTipBase); // info background
    case 26:
        return palette.color(P::Active, P::Link); // hot light
    case 27:
        return palette.color(P::Active, P::Highlight).lighter(130); // gradient active caption
    case 28:
        return palette.color(P::Inactive, P::Mid).lighter(130); // gradient inactive caption
    case 29:
        return palette.color(P::Active, P::Highlight); // menu highlight
    case 30:
        return palette.color(P::Active, P::Window); // menu bar
    default:
        return QColor(0, 0, 0);
    }
}

} // namespace

QColor toQColor(std::int32_t colour)
{
    const auto bits = std::uint32_t(colour);
    if (isSystemColour(colour))
        return systemColour(int(bits & 0xFFu));
    // Plain colours and the two special values: red in the lowest byte.
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

} // namespace SystemColors
