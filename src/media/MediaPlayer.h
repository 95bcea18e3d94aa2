// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MediaTypes.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class SoundDevice;
class SoundSession;

// The player behind the alarm bar: one sound device for FileName, opened and closed on
// request, with the operations of the Play, Pause and Stop buttons.
//
// Errors: open throws EMCIDeviceError with the back end's text ("Unknown error code" when
// it has none); play, pause, stop, rewind, length and position throw EMCIDeviceError
// "No MCI device open" when nothing is open. A device that refuses play, pause, resume,
// stop or rewind is not reported: the result is only kept as lastError().
//
// The device and the file live on a thread of their own (SoundSession): the calls here wait
// for its answer with the event loop running, at most openBound for an open and
// commandBound for anything else. A device that does not answer in time is given up: an
// open reports it as an error, a close leaves the old device to finish on its own thread.
// While a call waits, a newer open or close (from a timer) may run; the older call then
// leaves the player as the newer one made it.
class MediaPlayer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MediaPlayer)

public:
    // How a device is chosen; only automatic selection (by the file's contents) is used.
    enum class DeviceType
    {
        dtAutoSelect,
        dtAVIVideo,
        dtCDAudio,
        dtDAT,
        dtDigitalVideo,
        dtMMMovie,
        dtOther,
        dtOverlay,
        dtScanner,
        dtSequencer,
        dtVCR,
        dtVideodisc,
        dtWaveAudio
    };

    // The longest the user-interface thread waits for a file to open: a little over the
    // device's own 5 s, so that a file that opens but never gets ready is reported by the
    // device, and one whose file system never answers by this bound, in the same words.
    static constexpr std::chrono::milliseconds openBound{5500};
    static constexpr std::chrono::milliseconds commandBound{2000};

    enum class OpenResult
    {
        Opened,
        NoFile,     // no file of that name: nothing was opened
        Superseded  // a newer open or close came while this one waited
    };

    // audioSink: see SoundModule::Entry; empty for the desktop's default output.
    explicit MediaPlayer(const QByteArray &audioSink = {}, QObject *parent = nullptr);
    ~MediaPlayer() override;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    DeviceType deviceType() const { return m_deviceType; }
    void setDeviceType(DeviceType type) { m_deviceType = type; }
    bool autoRewind() const { return m_autoRewind; }
    void setAutoRewind(bool on) { m_autoRewind = on; }

    // Closes any open device, then opens fileName(), stopped at its beginning.
    void open();
    // The same when a file of that name exists (looked up on the device's thread).
    OpenResult openIfFileExists();
    void close();
    bool isOpen() const { return m_opened; }

    // Plays from the current position, from the beginning after the sound has ended
    // (with autoRewind); returns at once.
    void play();
    // The same without waiting for the device to take the command: the alarm's play, which
    // the finish box follows on the same tick. A refusal is not even kept as lastError().
    void playWithoutWaiting();
    // The Pause button: pauses a playing sound, continues a paused one, else nothing.
    void pause();
    // Continues a paused sound, or plays when it cannot.
    void resume();
    // Stops playing; the position stays.
    void stop();
    void rewind();

    qint64 length();
    qint64 position();
    MediaMode mode();

    // 0 when the last command succeeded.
    int lastError() const { return m_lastError; }
    NotifyValue notifyValue() const { return m_notifyValue; }
    bool canPlay() const { return m_opened; }
    bool canStep() const { return false; }
    bool canRecord() const { return false; }
    bool canEject() const { return false; }

signals:
    // A play or resume ended; notifyValue() says how.
    void notify();
    // A device was opened or closed.
    void deviceChanged();

private:
    void checkOpen() const;
    void store(bool accepted) { m_lastError = accepted ? 0 : 1; }
    void pauseDevice();
    OpenResult openSession(bool onlyIfFile);
    // openSession for the file the open device already holds, on the device's own thread.
    OpenResult reopen(quint64 generation, bool onlyIfFile);
    // Runs a command on the open device; fallback when it does not answer in time.
    template<class R>
    R ask(R (SoundDevice::*command)(), R fallback);

    QByteArray m_audioSink;
    std::shared_ptr<SoundSession> m_session;
    QString m_openedPath;
    // The open whose device's notices are passed on: the session's first, or a later reopen.
    std::shared_ptr<quint64> m_noticeGeneration;
    // Counts opens and closes, so that a call that waited can tell a newer one came.
    quint64 m_generation = 0;
    QString m_fileName;
    DeviceType m_deviceType = DeviceType::dtAutoSelect;
    bool m_autoRewind = true;
    bool m_opened = false;
    int m_lastError = 0;
    NotifyValue m_notifyValue = NotifyValue::Successful;
};
