// SPDX-License-Identifier: GPL-3.0-or-later
#include "RollGeometry.h"

#include <algorithm>

RollGeometry::RollGeometry(TTEEffectDirection direction, bool unroll, int width, int height,
                           int size)
    : m_direction(direction)
    , m_unroll(unroll)
    , m_width(width)
    , m_height(height)
    , m_size(std::max(size, 0))
{
    const int W = width, H = height, S = unroll ? m_size : 0;
    m_frames = std::max(horizontal() ? W - 1 : H - 1, 0);
    switch (direction) {
    case tedLeft:
        m_a = {W, 0, W + S, H};
        break;
    case tedDown:
        m_a = {0, -S, W, 0};
        break;
    case tedUp:
        m_a = {0, H, W, H + S};
        break;
    case tedRight:
    default:
        m_a = {-S, 0, 0, H};
        break;
    }
    m_b = m_a;
}

void RollGeometry::advance(int frame, int step)
{
    const int W = m_width, H = m_height;
    const int z =
        std::max(m_unroll ? std::min(m_size, m_frames + 1 - frame) : std::min(m_size, frame), 0);
    m_z = z;
    m_mx = m_my = 0;
    Edges &A = m_a;
    Edges &B = m_b;
    if (m_unroll) {
        switch (m_direction) {
        case tedLeft:
            B.left -= step;
            B.right = B.left + z;
            A.right = A.left;
            A.left = B.right;
            m_mx = W - B.right + z - 1;
            break;
        case tedDown:
            B.bottom += step;
            B.top = B.bottom - z;
            A.top = A.bottom;
            A.bottom = B.top;
            m_my = H - B.bottom - z;
            break;
        case tedUp:
            B.top -= step;
            B.bottom = B.top + z;
            A.bottom = A.top;
            A.top = B.bottom;
            m_my = H - B.bottom + z - 1;
            break;
        case tedRight:
        default:
            B.right += step;
            B.left = B.right - z;
            A.left = A.right;
            A.right = B.left;
            m_mx = W - B.right - z;
            break;
        }
    } else {
        switch (m_direction) {
        case tedLeft:
            A.right = A.left;
            A.left -= step;
            B.right = A.left;
            B.left = B.right - z;
            m_mx = W - B.right - z;
            break;
        case tedDown:
            A.top = A.bottom;
            A.bottom += step;
            B.top = A.bottom;
            B.bottom = B.top + z;
            m_my = H - B.top - 1;
            break;
        case tedUp:
            A.bottom = A.top;
            A.top -= step;
            B.bottom = A.top;
            B.top = B.bottom - z;
            m_my = H - B.bottom - z;
            break;
        case tedRight:
        default:
            A.left = A.right;
            A.right += step;
            B.left = A.right;
            B.right = B.left + z;
            m_mx = W - B.left - 1;
            break;
        }
    }
}
