// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Draws a font-size entry as plain text 2 pixels in from the left, at the top of a
// 16-pixel row.
class FontSizeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FontSizeItemDelegate)

public:
    explicit FontSizeItemDelegate(QObject *parent = nullptr);

    static constexpr int itemHeight = 16;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
