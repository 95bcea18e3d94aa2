#include "MediaPlayer.h"

#include "EMCIDeviceError.h"
#include "GstSoundDevice.h"

MediaPlayer::MediaPlayer(const QByteArray &audioSink, QObject *parent)
    : QObject(parent)
    , m_device(new GstSoundDevice(audioSink, this))
{
    connect(m_device, &GstSoundDevice::notified, this, [this](NotifyValue value) {
        m_notifyValue = value;
        emit notify();
    });
}

MediaPlayer::~MediaPlayer()
{
    close();
}

void MediaPlayer::open()
{
    // A device that will not close is left to the new open, which replaces it.
    close();
    QString errorText;
    const bool opened = m_device->open(m_fileName, &errorText);
    store(opened);
    if (!opened)
        throw EMCIDeviceError::fromText(errorText);
    m_opened = true;
    emit deviceChanged();
}

void MediaPlayer::close()
{
    if (!m_opened)
        return;
    const bool closed = m_device->close();
    store(closed);
    if (!closed)
        return;
    m_opened = false;
    emit deviceChanged();
}

void MediaPlayer::checkOpen() const
{
    if (!m_opened)
        throw EMCIDeviceError::noDeviceOpen();
}

void MediaPlayer::play()
{
    checkOpen();
    if (m_autoRewind && m_device->position() == m_device->length())
        rewind();
    store(m_device->play());
}

void MediaPlayer::pause()
{
    checkOpen();
    switch (m_device->mode()) {
    case MediaMode::Playing:
        pauseDevice();
        break;
    case MediaMode::Paused:
        resume();
        break;
    default:
        break;
    }
}

void MediaPlayer::pauseDevice()
{
    checkOpen();
    store(m_device->pause());
}

void MediaPlayer::resume()
{
    checkOpen();
    const bool resumed = m_device->resume();
    store(resumed);
    if (!resumed)
        play();
}

void MediaPlayer::stop()
{
    checkOpen();
    store(m_device->stop());
}

void MediaPlayer::rewind()
{
    checkOpen();
    m_device->seekToStart();
}

qint64 MediaPlayer::length()
{
    checkOpen();
    return m_device->length();
}

qint64 MediaPlayer::position()
{
    checkOpen();
    return m_device->position();
}

MediaMode MediaPlayer::mode()
{
    return m_opened ? m_device->mode() : MediaMode::NotReady;
}
