// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

#include <cstdint>

// Draws the entries of a colour picker's open list: swatch and identifier in 16-pixel rows.
// The entry's colour value is read from colourRole.
class ColorItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColorItemDelegate)

public:
    static constexpr int colourRole = Qt::UserRole;
    static constexpr int itemHeight = 16;

    explicit ColorItemDelegate(QObject *parent = nullptr);

    void setSpecialColours(std::int32_t defaultColorColor, std::int32_t noneColorColor);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    std::int32_t m_defaultColorColor = 0;
    std::int32_t m_noneColorColor = 0;
};
