// SPDX-License-Identifier: GPL-3.0-or-later
#include "MediaPlayer.h"

#include "EMCIDeviceError.h"
#include "SoundDevice.h"
#include "SoundSession.h"

#include <QFileInfo>
#include <QPointer>

namespace {

struct OpenAnswer
{
    bool isFile = true;
    bool opened = false;
    QString errorText;
};

// An open that failed, or got no answer in time.
[[noreturn]] void throwOpenFailed(const std::optional<OpenAnswer> &answer)
{
    throw EMCIDeviceError::fromText(
        answer ? answer->errorText
               : TarvikError::tr("The sound file did not become ready to play within %1 seconds")
                     .arg(SoundDevice::openTimeout.count() / 1000));
}

// Plays from where the sound is; from its beginning once it has ended, with autoRewind.
bool playFromPosition(SoundDevice &device, bool autoRewind)
{
    if (autoRewind && device.position() == device.length())
        device.seekToStart();
    return device.play();
}

} // namespace

MediaPlayer::MediaPlayer(const QByteArray &audioSink, QObject *parent)
    : QObject(parent)
    , m_audioSink(audioSink)
{}

MediaPlayer::~MediaPlayer()
{
    if (m_session) {
        m_session->dispose();
        m_session->waitUntilFinished(SoundSession::closeBound);
    }
}

void MediaPlayer::open()
{
    openSession(false);
}

MediaPlayer::OpenResult MediaPlayer::openIfFileExists()
{
    return openSession(true);
}

MediaPlayer::OpenResult MediaPlayer::openSession(bool onlyIfFile)
{
    const quint64 generation = ++m_generation;
    if (m_opened && m_fileName == m_openedPath)
        return reopen(generation, onlyIfFile);
    // The open device is closed on the new device's thread once the file is known to
    // exist; one that will not close is left to its own thread.
    std::shared_ptr<SoundSession> previous = m_session;
    QPointer<MediaPlayer> self(this);
    const QString path = m_fileName;
    auto noticeGeneration = std::make_shared<quint64>(generation);
    auto session =
        SoundSession::start(path, m_audioSink, [self, noticeGeneration](NotifyValue value) {
            if (!self || self->m_generation != *noticeGeneration)
                return;
            self->m_notifyValue = value;
            emit self->notify();
        });
    // While an earlier device still hangs on this file, it is reported at once.
    const std::optional<OpenAnswer> answer =
        !session ? std::nullopt
                 : session->call<OpenAnswer>(
                       [path, onlyIfFile, previous](SoundDevice &device) {
                           OpenAnswer result;
                           if (onlyIfFile && (path.isEmpty() || !QFileInfo(path).isFile())) {
                               result.isFile = false;
                               return result;
                           }
                           if (previous) {
                               previous->dispose();
                               previous->waitUntilFinished(SoundSession::closeBound);
                           }
                           result.opened = device.open(path, &result.errorText);
                           return result;
                       },
                       openBound);
    if (!self || m_generation != generation) {
        if (session)
            session->dispose();
        return OpenResult::Superseded;
    }
    if (answer && !answer->isFile) {
        session->dispose();
        return OpenResult::NoFile;
    }
    close();
    if (!answer || !answer->opened) {
        if (session)
            session->dispose();
        store(false);
        throwOpenFailed(answer);
    }
    store(true);
    m_generation = generation;
    m_session = std::move(session);
    m_openedPath = path;
    m_noticeGeneration = std::move(noticeGeneration);
    m_opened = true;
    emit deviceChanged();
    return OpenResult::Opened;
}

MediaPlayer::OpenResult MediaPlayer::reopen(quint64 generation, bool onlyIfFile)
{
    // The alarm opens the file that the start opened: the device goes back to the beginning,
    // stopped, as a new open would leave it, without checking the file in a new process
    // again on the finishing tick. A file that changed meanwhile is opened anew.
    const std::shared_ptr<SoundSession> session = m_session;
    const QString path = m_openedPath;
    const std::optional<OpenAnswer> answer = session->call<OpenAnswer>(
        [path, onlyIfFile](SoundDevice &device) {
            OpenAnswer result;
            if (onlyIfFile && !QFileInfo(path).isFile()) {
                result.isFile = false;
                return result;
            }
            if (device.holdsUnchanged(path))
                result.opened = device.stop() && device.seekToStart();
            if (!result.opened)
                result.opened = device.open(path, &result.errorText);
            return result;
        },
        openBound);
    // What the device reported before and during the reopen belongs to the open it ended.
    if (m_generation != generation)
        return OpenResult::Superseded;
    if (answer && !answer->isFile)
        return OpenResult::NoFile;
    if (!answer || !answer->opened) {
        close();
        store(false);
        throwOpenFailed(answer);
    }
    store(true);
    *m_noticeGeneration = generation;
    emit deviceChanged();
    return OpenResult::Opened;
}

void MediaPlayer::close()
{
    ++m_generation;
    if (!m_opened)
        return;
    // The pipeline is closed and freed on its own thread; a sound that plays stops there.
    m_session->dispose();
    m_session.reset();
    m_noticeGeneration.reset();
    m_opened = false;
    store(true);
    emit deviceChanged();
}

template<class R>
R MediaPlayer::ask(R (SoundDevice::*command)(), R fallback)
{
    const std::shared_ptr<SoundSession> session = m_session;
    const std::optional<R> answer = session->call<R>(
        [command](SoundDevice &device) { return (device.*command)(); }, commandBound);
    return answer ? *answer : fallback;
}

void MediaPlayer::checkOpen() const
{
    if (!m_opened)
        throw EMCIDeviceError::noDeviceOpen();
}

void MediaPlayer::play()
{
    checkOpen();
    // One job on the device's thread: the rewind and the play are not parted by a wait.
    const std::shared_ptr<SoundSession> session = m_session;
    const std::optional<bool> played = session->call<bool>(
        [autoRewind = m_autoRewind](SoundDevice &device) {
            return playFromPosition(device, autoRewind);
        },
        commandBound);
    store(played.value_or(false));
}

void MediaPlayer::playWithoutWaiting()
{
    checkOpen();
    store(true);
    m_session->send(
        [autoRewind = m_autoRewind](SoundDevice &device) { playFromPosition(device, autoRewind); });
}

void MediaPlayer::pause()
{
    checkOpen();
    switch (mode()) {
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
    store(ask(&SoundDevice::pause, false));
}

void MediaPlayer::resume()
{
    checkOpen();
    const bool resumed = ask(&SoundDevice::resume, false);
    store(resumed);
    if (!resumed)
        play();
}

void MediaPlayer::stop()
{
    checkOpen();
    store(ask(&SoundDevice::stop, false));
}

void MediaPlayer::rewind()
{
    checkOpen();
    ask(&SoundDevice::seekToStart, false);
}

qint64 MediaPlayer::length()
{
    checkOpen();
    return ask(&SoundDevice::length, qint64(0));
}

qint64 MediaPlayer::position()
{
    checkOpen();
    return ask(&SoundDevice::position, qint64(0));
}

MediaMode MediaPlayer::mode()
{
    return m_opened ? ask(&SoundDevice::mode, MediaMode::NotReady) : MediaMode::NotReady;
}
