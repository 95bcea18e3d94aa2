// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <algorithm>
#include <optional>

// Sizes and positions of the bar's buttons. Neighbouring buttons share one border column.
namespace MediaBarLayout {

constexpr int buttonWidth(int barWidth, int visibleCount)
{
    const int n = std::max(visibleCount, 1);
    return (barWidth - 1) / n + 1;
}

// The size the bar takes for its current size: as wide as its buttons need, never
// narrower or lower than the smallest button allows.
constexpr QSize wantedSize(QSize bar, int visibleCount, QSize minimumButton)
{
    const int n = std::max(visibleCount, 1);
    const int width =
        std::max(n * (buttonWidth(bar.width(), n) - 1) + 1, n * (minimumButton.width() - 1) + 1);
    return QSize(width, std::max(bar.height(), minimumButton.height()));
}

constexpr int buttonLeft(int index, int width)
{
    return index * (width - 1);
}

// Index of the visible button under x; on a shared border the left button wins.
constexpr std::optional<int> hitButton(int x, int visibleCount, int width)
{
    for (int i = 0; i < visibleCount; ++i) {
        if (buttonLeft(i, width) <= x && x <= buttonLeft(i, width) + width)
            return i;
    }
    return std::nullopt;
}

} // namespace MediaBarLayout
