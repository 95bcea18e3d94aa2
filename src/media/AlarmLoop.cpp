// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmLoop.h"

#include "EMCIDeviceError.h"
#include "MediaPlayer.h"

AlarmLoop::AlarmLoop(MediaPlayer *player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
    connect(m_player, &MediaPlayer::notify, this, &AlarmLoop::playAgain);
}

void AlarmLoop::arm()
{
    m_armed = true;
    m_repeats = 0;
}

void AlarmLoop::stop()
{
    if (!m_armed)
        return;
    m_armed = false;
    try {
        m_player->stop();
    } catch (const EMCIDeviceError &) {
        // Closed meanwhile: nothing plays.
    }
}

void AlarmLoop::playAgain()
{
    // Only a sound that played to its end; one stopped by the user's Stop button stays so.
    if (!m_armed || m_player->notifyValue() != NotifyValue::Successful || !m_player->isOpen())
        return;
    try {
        m_player->play();
        ++m_repeats;
    } catch (const EMCIDeviceError &) {
        m_armed = false;
    }
}
