// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTransitionEffect.h"

#include <memory>
#include <vector>

// Ordered list of transitions, taken by index.
class TTransitionList
{
public:
    TTransitionList() = default;
    Q_DISABLE_COPY_MOVE(TTransitionList)

    TTransitionEffect *add(std::unique_ptr<TTransitionEffect> transition)
    {
        m_items.push_back(std::move(transition));
        return m_items.back().get();
    }
    int count() const { return int(m_items.size()); }
    TTransitionEffect *at(int index) const
    {
        return index >= 0 && index < count() ? m_items[size_t(index)].get() : nullptr;
    }

private:
    std::vector<std::unique_ptr<TTransitionEffect>> m_items;
};
