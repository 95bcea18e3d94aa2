// SPDX-License-Identifier: GPL-3.0-or-later
#include "DropDownListStyle.h"

DropDownListStyle::DropDownListStyle() = default;

int DropDownListStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                 QStyleHintReturn *returnData) const
{
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
