// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// Makes a combo box open its list as a drop-down of at most maxVisibleItems rows with a
// scroll bar, the same under every style (some styles otherwise show a menu of all items).
class DropDownListStyle : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DropDownListStyle)

public:
    DropDownListStyle();

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
