// SPDX-License-Identifier: GPL-3.0-or-later
#include "GstSoundDevice.h"

#include "TarvikError.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <gst/gst.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

namespace {

struct GstObjectUnref
{
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMessageUnref
{
    void operator()(GstMessage *message) const { gst_message_unref(message); }
};
struct GErrorFree
{
    void operator()(GError *error) const { g_error_free(error); }
};
struct GFree
{
    void operator()(gchar *text) const { g_free(text); }
};
using MessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;
using BusPtr = std::unique_ptr<GstBus, GstObjectUnref>;

// MP3 goes to the small mpg123 decoder rather than libav's: both come with the same rank and
// decodebin then takes the first by name, avdec_mp3, which maps libavcodec, libavfilter and
// everything they link (speech voices, an SVG renderer and more) for a sound the mpg123
// decoder plays as well. Formats only libav decodes still go to libav.
void preferSmallMp3Decoder()
{
    GstRegistry *registry = gst_registry_get();
    const std::unique_ptr<GstPluginFeature, GstObjectUnref> mpg123(
        gst_registry_lookup_feature(registry, "mpg123audiodec"));
    if (!mpg123)
        return;
    guint rank = gst_plugin_feature_get_rank(mpg123.get());
    for (const char *name : {"avdec_mp3", "avdec_mp3float", "avdec_mp3adu", "avdec_mp3adufloat"}) {
        const std::unique_ptr<GstPluginFeature, GstObjectUnref> other(
            gst_registry_lookup_feature(registry, name));
        if (other)
            rank = std::max(rank, gst_plugin_feature_get_rank(other.get()) + 1);
    }
    gst_plugin_feature_set_rank(mpg123.get(), rank);
}

bool initGStreamer(QString *errorText)
{
    static QString failure = [] {
        GError *error = nullptr;
        if (gst_init_check(nullptr, nullptr, &error)) {
            preferSmallMp3Decoder();
            return QString();
        }
        const std::unique_ptr<GError, GErrorFree> owned(error);
        return owned ? QString::fromUtf8(owned->message) : TarvikError::tr("Unknown error code");
    }();
    if (failure.isEmpty())
        return true;
    if (errorText)
        *errorText = failure;
    return false;
}

QString errorMessageText(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const std::unique_ptr<GError, GErrorFree> ownedError(error);
    const std::unique_ptr<gchar, GFree> ownedDebug(debug);
    return ownedError && ownedError->message ? QString::fromUtf8(ownedError->message) : QString();
}

qint64 toMilliseconds(gint64 nanoseconds)
{
    return nanoseconds / GST_MSECOND;
}

std::mutex probeMutex;
QString probeProgramPath; // guarded by probeMutex

QString probeProgram()
{
    const std::lock_guard lock(probeMutex);
    return probeProgramPath;
}

QString openTimeoutText()
{
    return TarvikError::tr("The sound file did not become ready to play within %1 seconds")
        .arg(GstSoundDevice::openTimeout.count() / 1000);
}

// The probe's answer on its standard output: "ready LENGTH-MS", "end" (nothing to play
// before the end) or "failed", then on the next line GStreamer's message.
constexpr QByteArrayView probeReady = "ready ";
constexpr QByteArrayView probeAtEnd = "end";
constexpr QByteArrayView probeFailed = "failed";

} // namespace

// Runs on the streaming threads: keeps only the messages the device acts on and
// wakes the owner's thread for the ones that end a play.
struct GstBusRelay
{
    static GstBusSyncReply onMessage(GstBus *, GstMessage *message, gpointer data)
    {
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_ERROR: {
            auto *device = static_cast<GstSoundDevice *>(data);
            // While opening, open() itself waits on the bus for these.
            if (device->m_opening.load())
                return GST_BUS_PASS;
            // Kept before the wake-up, so that the woken thread is sure to find it.
            {
                const std::lock_guard lock(device->m_endedMutex);
                device->m_ended.push_back(message);
            }
            if (device->m_busWake)
                device->m_busWake();
            else
                QMetaObject::invokeMethod(
                    device, [device] { device->processBus(); }, Qt::QueuedConnection);
            return GST_BUS_DROP;
        }
        case GST_MESSAGE_ASYNC_DONE:
            return GST_BUS_PASS;
        default:
            // A dropped message is ours to release; kept, it would hold its source (and
            // so the whole playbin) alive.
            gst_message_unref(message);
            return GST_BUS_DROP;
        }
    }
};

GstSoundDevice::GstSoundDevice(const QByteArray &audioSink, QObject *parent)
    : QObject(parent)
    , m_audioSink(audioSink)
{}

GstSoundDevice::~GstSoundDevice()
{
    // Joins the streaming threads before the object they post to goes away.
    close();
}

void GstSoundDevice::setBusWake(std::function<void()> wake)
{
    m_busWake = std::move(wake);
}

void GstSoundDevice::setNotify(std::function<void(NotifyValue)> notify)
{
    m_notify = std::move(notify);
}

namespace {

std::pair<qint64, qint64> fileStamp(const QString &path)
{
    const QFileInfo info(path);
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

} // namespace

bool GstSoundDevice::open(const QString &path, QString *errorText)
{
    close();
    // Taken first: a file that changes while it opens is not taken for the one opened.
    const std::pair<qint64, qint64> stamp = fileStamp(path);
    bool opened = false;
    Probe probed = Probe::NotRun;
    if (const QString program = probeProgram(); !program.isEmpty())
        probed = openByProbe(program, path, errorText);
    switch (probed) {
    case Probe::Opened:
        opened = true;
        break;
    case Probe::Failed:
        break;
    case Probe::NotRun:
        opened = openHere(path, errorText);
        break;
    }
    if (opened)
        m_fileStamp = stamp;
    return opened;
}

bool GstSoundDevice::holdsUnchanged(const QString &path) const
{
    return m_open && path == m_path && fileStamp(path) == m_fileStamp;
}

void GstSoundDevice::setProbeProgram(const QString &program)
{
    const std::lock_guard lock(probeMutex);
    probeProgramPath = program;
}

int GstSoundDevice::runProbe(const QString &path)
{
    GstSoundDevice device;
    QString error;
    QByteArray answer;
    if (!device.openHere(path, &error))
        answer = probeFailed.toByteArray() + '\n' + error.toUtf8();
    else if (device.m_atEnd)
        answer = probeAtEnd.toByteArray();
    else
        answer = probeReady.toByteArray() + QByteArray::number(device.m_length);
    answer += '\n';
    std::fwrite(answer.constData(), 1, std::size_t(answer.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

GstSoundDevice::Probe GstSoundDevice::openByProbe(const QString &program, const QString &path,
                                                  QString *errorText)
{
    // Blocking waits are fine here: the device's thread is the sound session's own, and the
    // probe is bounded like a preroll here would be.
    const QDeadlineTimer deadline(openTimeout);
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(program, {QString::fromLatin1(probeOption), path}, QIODevice::ReadOnly);
    if (!probe.waitForStarted(int(deadline.remainingTime())))
        return Probe::NotRun;
    if (!probe.waitForFinished(int(deadline.remainingTime()))) {
        probe.kill();
        probe.waitForFinished(1000);
        if (errorText)
            *errorText = openTimeoutText();
        return Probe::Failed;
    }
    if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return Probe::NotRun;
    const QByteArray output = probe.readAllStandardOutput();
    const qsizetype lineEnd = output.indexOf('\n');
    if (lineEnd < 0)
        return Probe::NotRun;
    const QByteArrayView first = QByteArrayView(output).first(lineEnd);
    if (first == probeFailed) {
        if (errorText) {
            *errorText = QString::fromUtf8(output.mid(lineEnd + 1));
            if (errorText->endsWith(u'\n'))
                errorText->chop(1);
        }
        return Probe::Failed;
    }
    bool atEnd = first == probeAtEnd;
    bool lengthRead = false;
    const qint64 length =
        first.startsWith(probeReady) ? first.sliced(probeReady.size()).toLongLong(&lengthRead) : 0;
    if (!atEnd && (!lengthRead || length < 0))
        return Probe::NotRun;
    // Open and resting from the start: the first play builds the pipeline at the beginning.
    m_path = path;
    m_open = true;
    m_resting = true;
    m_outputChosen = false;
    m_run = Run::Stopped;
    m_atEnd = atEnd;
    m_notifyPending = false;
    m_length = atEnd ? 0 : length;
    m_lastPosition = 0;
    return Probe::Opened;
}

bool GstSoundDevice::build(bool silent, QString *errorText)
{
    auto fail = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        if (m_pipeline) {
            gst_object_unref(m_pipeline);
            m_pipeline = nullptr;
        }
        return false;
    };
    if (!initGStreamer(errorText))
        return false;
    m_pipeline = gst_element_factory_make("playbin", nullptr);
    if (!m_pipeline)
        return fail(TarvikError::tr("The GStreamer playbin element is not installed"));
    gst_object_ref_sink(m_pipeline);

    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(m_path).absoluteFilePath()).toEncoded();
    g_object_set(m_pipeline, "uri", uri.constData(), nullptr);
    // Sound only: a file that also holds pictures never opens a video window. No software
    // volume either: the volume is never changed, and each volume element playbin makes
    // leaves about 4 kB behind when it goes.
    gst_util_set_object_arg(G_OBJECT(m_pipeline), "flags", "audio");
    if (!m_audioSink.isEmpty()) {
        GError *error = nullptr;
        GstElement *sink = gst_parse_bin_from_description(m_audioSink.constData(), TRUE, &error);
        const std::unique_ptr<GError, GErrorFree> ownedError(error);
        if (!sink)
            return fail(ownedError ? QString::fromUtf8(ownedError->message) : QString());
        g_object_set(m_pipeline, "audio-sink", sink, nullptr);
        m_outputChosen = true;
    } else if (silent) {
        // Opening only proves that the file plays and learns its length. The desktop's
        // output is chosen at the first play: finding it loads the libraries of every sound
        // system tried, which a sound that waits for its alarm need not carry.
        GstElement *sink = gst_element_factory_make("fakesink", nullptr);
        if (sink)
            g_object_set(m_pipeline, "audio-sink", sink, nullptr);
        m_outputChosen = sink == nullptr;
    } else {
        GstElement *sink = gst_element_factory_make("autoaudiosink", nullptr);
        g_object_set(m_pipeline, "audio-sink", sink, nullptr); // none: playbin's own choice
        m_outputChosen = true;
    }

    const BusPtr bus(gst_element_get_bus(m_pipeline));
    gst_bus_set_sync_handler(bus.get(), &GstBusRelay::onMessage, this, nullptr);
    return true;
}

bool GstSoundDevice::openHere(const QString &path, QString *errorText)
{
    close();
    m_path = path;
    if (!build(true, errorText))
        return false;
    m_open = true;

    auto fail = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        close();
        return false;
    };

    m_run = Run::Stopped;
    m_atEnd = false;
    m_notifyPending = false;
    m_length = 0;
    m_lastPosition = 0;
    m_resting = false;

    auto ready = [&] {
        gint audioStreams = 0;
        g_object_get(m_pipeline, "n-audio", &audioStreams, nullptr);
        if (audioStreams == 0)
            return fail(TarvikError::tr("The file holds no sound"));
        m_length = length();
        return true;
    };

    // Ready to play means prerolled: the decoder is chosen and the first sound is waiting.
    const auto toPaused = [this] {
        return int(gst_element_set_state(m_pipeline, GST_STATE_PAUSED));
    };
    QString failure;
    switch (preroll(toPaused, &failure)) {
    case Preroll::Ready:
        return ready();
    case Preroll::AtEnd:
        // Nothing to play before the end: an empty sound still opens.
        m_atEnd = true;
        return true;
    case Preroll::Failed:
        break;
    }
    return fail(failure);
}

GstSoundDevice::Preroll GstSoundDevice::preroll(const std::function<int()> &start,
                                                QString *errorText)
{
    // From before the start: the end or an error may come at once.
    struct Opening
    {
        std::atomic<bool> &flag;
        explicit Opening(std::atomic<bool> &f)
            : flag(f)
        {
            flag = true;
        }
        ~Opening() { flag = false; }
    } opening(m_opening);

    const int started = start();
    if (started < 0)
        return Preroll::Failed; // refused, with nothing on the bus to wait for
    switch (GstStateChangeReturn(started)) {
    case GST_STATE_CHANGE_SUCCESS:
    case GST_STATE_CHANGE_NO_PREROLL:
        return Preroll::Ready;
    default:
        break;
    }
    const BusPtr bus(gst_element_get_bus(m_pipeline));
    const auto deadline = std::chrono::steady_clock::now() + openTimeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            *errorText = openTimeoutText();
            return Preroll::Failed;
        }
        const MessagePtr message(gst_bus_timed_pop_filtered(
            bus.get(), GstClockTime(left.count()),
            GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_EOS)));
        if (!message)
            continue;
        switch (GST_MESSAGE_TYPE(message.get())) {
        case GST_MESSAGE_ERROR:
            *errorText = errorMessageText(message.get());
            return Preroll::Failed;
        case GST_MESSAGE_EOS:
            return Preroll::AtEnd;
        default:
            if (GST_MESSAGE_SRC(message.get()) == GST_OBJECT(m_pipeline))
                return Preroll::Ready;
            break;
        }
    }
}

bool GstSoundDevice::canRest() const
{
    return m_open && !m_resting && m_run != Run::Playing && !m_notifyPending;
}

void GstSoundDevice::rest()
{
    if (!canRest())
        return;
    processBus();
    if (!canRest())
        return;
    if (!m_atEnd)
        position(); // kept for the wake
    // Down to NULL: the streaming threads end, the decoder goes, and the audio output
    // closes, which on some sound systems keeps a thread of its own busy.
    if (!setState(GST_STATE_NULL))
        return;
    m_resting = true;
}

bool GstSoundDevice::wake()
{
    if (!m_resting && m_outputChosen)
        return true;
    const qint64 at = m_atEnd ? 0 : position();
    if (!m_pipeline) {
        // Probed only: built now, into the desktop's output.
        if (!build(false, nullptr))
            return false;
    } else if (!m_outputChosen) {
        // The audio output is only changed while the pipeline is down.
        if (!m_resting && !setState(GST_STATE_NULL))
            return false;
        GstElement *sink = gst_element_factory_make("autoaudiosink", nullptr);
        g_object_set(m_pipeline, "audio-sink", sink, nullptr); // none: playbin's own choice
        m_outputChosen = true;
    }
    m_resting = false;
    QString failure;
    const auto toPaused = [this] {
        return int(gst_element_set_state(m_pipeline, GST_STATE_PAUSED));
    };
    const auto seek = [this, at] {
        return gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME,
                                       GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                       at * GST_MSECOND)
                   ? int(GST_STATE_CHANGE_ASYNC)
                   : -1;
    };
    if (preroll(toPaused, &failure) == Preroll::Failed ||
        (at > 0 && preroll(seek, &failure) == Preroll::Failed)) {
        // The file changed or went meanwhile: the device stays as it was, resting.
        setState(GST_STATE_NULL);
        m_resting = true;
        return false;
    }
    return true;
}

bool GstSoundDevice::close()
{
    if (!m_open)
        return true;
    if (m_notifyPending)
        finishPlay(NotifyValue::Aborted);
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        const BusPtr bus(gst_element_get_bus(m_pipeline));
        gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
        // Messages still queued hold their sources; drop them with the pipeline.
        gst_bus_set_flushing(bus.get(), TRUE);
        gst_object_unref(m_pipeline);
        m_pipeline = nullptr;
    }
    for (GstMessage *message : takeEnded())
        gst_message_unref(message);
    m_open = false;
    m_run = Run::Stopped;
    m_atEnd = false;
    m_resting = false;
    return true;
}

bool GstSoundDevice::setState(int state)
{
    return gst_element_set_state(m_pipeline, GstState(state)) != GST_STATE_CHANGE_FAILURE;
}

bool GstSoundDevice::play()
{
    if (!m_open)
        return false;
    processBus();
    if (m_notifyPending)
        finishPlay(NotifyValue::Superseded);
    if (m_atEnd) {
        // Playing from the end finishes at once.
        m_run = Run::Stopped;
        announce(NotifyValue::Successful);
        return true;
    }
    if (!wake() || !setState(GST_STATE_PLAYING))
        return false;
    m_run = Run::Playing;
    m_notifyPending = true;
    return true;
}

bool GstSoundDevice::pause()
{
    if (!m_open)
        return false;
    processBus();
    if (m_run != Run::Playing)
        return true;
    if (!setState(GST_STATE_PAUSED))
        return false;
    m_lastPosition = position();
    m_run = Run::Paused;
    if (m_notifyPending)
        finishPlay(NotifyValue::Aborted);
    return true;
}

bool GstSoundDevice::resume()
{
    if (!m_open)
        return false;
    processBus();
    if (m_run != Run::Paused || !wake() || !setState(GST_STATE_PLAYING))
        return false;
    m_run = Run::Playing;
    m_notifyPending = true;
    return true;
}

bool GstSoundDevice::stop()
{
    if (!m_open)
        return false;
    processBus();
    if (m_run == Run::Playing && !setState(GST_STATE_PAUSED))
        return false;
    m_lastPosition = position();
    m_run = Run::Stopped;
    if (m_notifyPending)
        finishPlay(NotifyValue::Aborted);
    return true;
}

bool GstSoundDevice::seekToStart()
{
    if (!m_open)
        return false;
    processBus();
    if (m_resting) {
        // Woken at the beginning.
        m_atEnd = false;
        m_lastPosition = 0;
        return true;
    }
    if (!gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME,
                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0))
        return false;
    m_atEnd = false;
    m_lastPosition = 0;
    return true;
}

qint64 GstSoundDevice::length()
{
    if (!m_open)
        return 0;
    gint64 duration = 0;
    // A resting pipeline knows nothing; the length learnt before holds.
    if (!m_resting && m_pipeline && gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &duration) &&
        duration >= 0)
        m_length = toMilliseconds(duration);
    return m_length;
}

qint64 GstSoundDevice::position()
{
    if (!m_open)
        return 0;
    processBus();
    if (m_atEnd)
        return length();
    gint64 now = 0;
    if (!m_resting && m_pipeline && gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &now) && now >= 0)
        m_lastPosition = toMilliseconds(now);
    return m_lastPosition;
}

MediaMode GstSoundDevice::mode()
{
    if (!m_open)
        return MediaMode::NotReady;
    processBus();
    switch (m_run) {
    case Run::Playing:
        return MediaMode::Playing;
    case Run::Paused:
        return MediaMode::Paused;
    case Run::Stopped:
        break;
    }
    return MediaMode::Stopped;
}

void GstSoundDevice::processBus()
{
    if (!m_pipeline)
        return;
    const BusPtr bus(gst_element_get_bus(m_pipeline));
    std::vector<MessagePtr> messages;
    while (MessagePtr message{
        gst_bus_pop_filtered(bus.get(), GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))})
        messages.push_back(std::move(message));
    for (GstMessage *message : takeEnded())
        messages.emplace_back(message);
    for (const MessagePtr &message : messages) {
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS) {
            // Holds the end: the position reads as the length until the next seek.
            m_atEnd = true;
            setState(GST_STATE_PAUSED);
            if (m_run == Run::Playing) {
                m_run = Run::Stopped;
                finishPlay(NotifyValue::Successful);
            }
        } else {
            gint64 now = 0;
            if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &now) && now >= 0)
                m_lastPosition = toMilliseconds(now);
            setState(GST_STATE_PAUSED);
            m_run = Run::Stopped;
            finishPlay(NotifyValue::Failure);
        }
    }
}

std::vector<GstMessage *> GstSoundDevice::takeEnded()
{
    std::vector<GstMessage *> ended;
    const std::lock_guard lock(m_endedMutex);
    ended.swap(m_ended);
    return ended;
}

void GstSoundDevice::finishPlay(NotifyValue value)
{
    m_notifyPending = false;
    announce(value);
}

void GstSoundDevice::announce(NotifyValue value)
{
    if (m_notify)
        m_notify(value);
}
