// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorItemDelegate.h"

#include "ColorItemDrawing.h"

#include <QPainter>

ColorItemDelegate::ColorItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

void ColorItemDelegate::setSpecialColours(std::int32_t defaultColorColor,
                                          std::int32_t noneColorColor)
{
    m_defaultColorColor = defaultColorColor;
    m_noneColorColor = noneColorColor;
}

void ColorItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const auto value = std::int32_t(index.data(colourRole).toInt());
    ColorItemDrawing::Entry entry;
    entry.swatch = ColorItemDrawing::swatchColour(value, m_defaultColorColor, m_noneColorColor);
    entry.text = index.data(Qt::DisplayRole).toString();
    entry.selected = option.state.testFlag(QStyle::State_Selected);
    entry.focused = option.state.testFlag(QStyle::State_HasFocus);
    ColorItemDrawing::draw(*painter, option.rect, entry, option.palette, option.font);
}

QSize ColorItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + itemHeight +
                     ColorItemDrawing::textGap,
                 itemHeight);
}
