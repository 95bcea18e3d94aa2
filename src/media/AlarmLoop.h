// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class MediaPlayer;

// Plays the alarm again each time it ends, from when it is armed until it is stopped.
class AlarmLoop : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmLoop)

public:
    explicit AlarmLoop(MediaPlayer *player, QObject *parent = nullptr);

    // After the alarm started playing.
    void arm();
    // Lets the sound that plays end by itself.
    void disarm() { m_armed = false; }
    // The sound stops at once.
    void stop();
    bool isArmed() const { return m_armed; }
    // How many times the sound was started again.
    int repeats() const { return m_repeats; }

private:
    void playAgain();

    MediaPlayer *const m_player;
    bool m_armed = false;
    int m_repeats = 0;
};
