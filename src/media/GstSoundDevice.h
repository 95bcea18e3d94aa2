// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundDevice.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

// One sound file played through a GStreamer playbin: the platform side of the alarm
// player, in the sound module. Bus messages from the streaming threads come back to the
// device's thread through its event loop, or through the wake-up set with setBusWake on a
// thread without one.
class GstSoundDevice : public QObject, public SoundDevice
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GstSoundDevice)

public:
    // audioSink: a GStreamer launch description of the sink to play into (tests pass
    // "fakesink sync=true"); empty for the desktop's default audio output. Without an
    // audio device the default output falls back to a silent sink that keeps time.
    explicit GstSoundDevice(const QByteArray &audioSink = {}, QObject *parent = nullptr);
    ~GstSoundDevice() override;

    // errorText gets GStreamer's message.
    bool open(const QString &path, QString *errorText) override;
    bool close() override;
    bool isOpen() const override { return m_open; }
    bool holdsUnchanged(const QString &path) const override;

    // Where open() finds out whether a file plays, and its length: PROGRAM probeOption FILE,
    // run as a process of its own (the program itself). The registry, the decoders and the
    // libraries that learning takes then do not stay in this process while the sound waits
    // for its alarm; the pipeline is built at the first play. Unset, or when the probe
    // cannot run, open() prerolls the file here.
    static void setProbeProgram(const QString &program);
    // The probe's own side: opens the file here and writes the outcome to standard output.
    static int runProbe(const QString &path);

    bool play() override;
    bool pause() override;
    bool resume() override;
    bool stop() override;
    bool seekToStart() override;

    // 0 while GStreamer does not know it yet: an MP3 without an information frame tells
    // its length only after a second or so of playing.
    qint64 length() override;
    qint64 position() override;
    MediaMode mode() override;

    // Called on a streaming thread. Without one the device posts to its own event loop.
    void setBusWake(std::function<void()> wake) override;
    // Takes the messages that end a play off the bus.
    void processBus() override;
    void setNotify(std::function<void(NotifyValue)> notify) override;

    // A sound that does not play needs no streaming threads, decoder or audio output: rest()
    // takes the pipeline down, keeping the file name, the length and the position, so that it
    // costs nothing while it waits for the alarm. The next play or resume prepares it again
    // at the kept position. canRest(): open, nothing playing, not resting yet.
    bool canRest() const override;
    void rest() override;
    bool isResting() const override { return m_resting; }

private:
    enum class Run
    {
        Stopped,
        Playing,
        Paused
    };

    friend struct GstBusRelay;

    void finishPlay(NotifyValue value);
    // Tells the notify callback that a play or resume ended.
    void announce(NotifyValue value);
    // Runs start (a state change or a seek, giving a GstStateChangeReturn, or -1 when it was
    // refused) and waits for the
    // pipeline to be ready to play (prerolled); Failed with errorText set, or AtEnd when the
    // sound ended before anything could play.
    enum class Preroll
    {
        Ready,
        AtEnd,
        Failed
    };
    Preroll preroll(const std::function<int()> &start, QString *errorText);
    // open() in this process: the pipeline built, silent, and prerolled.
    bool openHere(const QString &path, QString *errorText);
    enum class Probe
    {
        Opened,
        Failed,
        NotRun // the probe could not run or gave no answer: open here instead
    };
    Probe openByProbe(const QString &program, const QString &path, QString *errorText);
    // A playbin for m_path, silent until the audio output is chosen at the first play, or
    // into that output at once; false with errorText set when GStreamer cannot make one.
    bool build(bool silent, QString *errorText);
    // Undoes rest(), and puts the audio output in on the first play: prerolled again at the
    // kept position; false when that failed.
    bool wake();
    // The end and error messages the streaming threads handed over, now owned by the caller.
    std::vector<GstMessage *> takeEnded();
    bool setState(int state);

    QByteArray m_audioSink;
    std::function<void()> m_busWake;
    std::function<void(NotifyValue)> m_notify;
    std::atomic<bool> m_opening{false};
    std::mutex m_endedMutex;
    std::vector<GstMessage *> m_ended;
    GstElement *m_pipeline = nullptr; // none while a probed sound waits for its first play
    QString m_path;
    bool m_open = false;
    Run m_run = Run::Stopped;
    bool m_atEnd = false;
    bool m_notifyPending = false;
    bool m_resting = false;
    bool m_outputChosen = false; // the audio output to play into is in the pipeline
    qint64 m_length = 0;
    qint64 m_lastPosition = 0;
    // The file's size and modification time when it was opened.
    std::pair<qint64, qint64> m_fileStamp{-1, -1};
};
