// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSizeItemDelegate.h"

#include "SystemColors.h"

#include <QPainter>

namespace {

constexpr std::int32_t highlightColour = std::int32_t(0xFF00000Du);
constexpr std::int32_t highlightTextColour = std::int32_t(0xFF00000Eu);
constexpr int textIndent = 2;

} // namespace

FontSizeItemDelegate::FontSizeItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

void FontSizeItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, selected ? SystemColors::toQColor(highlightColour)
                                  : option.palette.color(QPalette::Base));
    painter->setPen(selected ? SystemColors::toQColor(highlightTextColour)
                             : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->setClipRect(r);
    painter->drawText(r.adjusted(textIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize FontSizeItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), itemHeight);
}
