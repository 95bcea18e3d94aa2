// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTEChrono.h"
#include "TTETransitionData.h"
#include "TTransitionEffect.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <memory>

// Plays a transition between captured frames on a surface, one or two passes, each paced into
// the transition's Milliseconds. Pacing waits are handed to the derived device (scheduleWait),
// which calls resumeAfterWait when the time is over, so the caller's event loop keeps running.
class TTETransitionDevice
{
public:
    explicit TTETransitionDevice(MonotonicClock clock = Clocks::steady());
    virtual ~TTETransitionDevice();
    Q_DISABLE_COPY_MOVE(TTETransitionDevice)

    // Throws "Transition is busy" once the device holds transition data.
    void setTransition(TTransitionEffect *transition);
    TTransitionEffect *transition() const { return m_transition; }
    // The copy the device plays; random directions are fixed on it at preparation.
    TTransitionEffect *workingCopy() const { return m_copy.get(); }

    // Makes the working copy (unless there is one) and the transition data for rect.
    // The caller then paints the before frame.
    void Prepare(const QRect &rect);
    // Prepares again for a part of the first rectangle, keeping the working copy and the
    // matching part of the before frame.
    void Reprepare(const QRect &rect);

    QRect rect() const { return m_rect; }
    int passCount() const;
    QImage &beforeFrame() { return m_before; }
    QImage &afterFrame() { return m_after; }
    QImage &intermediateFrame() { return m_intermediate; }
    const TTETransitionData *data() const { return m_data.get(); }

    // Starts playing; returns at once when the passes need pacing waits, otherwise at the end.
    // Only synchronous play exists: asking for a thread fails.
    void Run(bool synchronous);
    // Stops a run; a waiting run ends at once.
    void Abort();
    // The pacing wait is over.
    void resumeAfterWait();

    bool isPlaying() const { return m_playing; }
    bool isWaiting() const { return m_waiting; }
    bool isAborted() const { return m_aborted; }
    bool isFinished() const { return m_finished; }
    bool inNotification() const { return m_inNotification; }

protected:
    virtual QImage &surface() = 0;
    // Shows the surface area just drawn (surface coordinates) before the pacing waits.
    virtual void present(const QRect &area) = 0;
    virtual void scheduleWait(double ms) = 0;
    virtual void cancelWait() = 0;
    virtual bool supportsTwoPasses() const { return false; }
    virtual bool paletteDisplay() const { return false; }
    virtual QColor defaultSolidColor() const { return Qt::black; }
    // A click or Escape asked to stop the run (AbortOnClick, AbortOnEscape).
    virtual bool abortRequested() { return false; }
    // Around the whole play, after the frames are complete and after the last pass.
    virtual void beginPlay() {}
    virtual void endPlay() {}

private:
    // The pacing of one pass: frames are skipped when drawing falls behind, so that the
    // pass ends on time. All times are milliseconds on the pass stopwatch.
    struct Pacing
    {
        float t = 0;     // time the current step may take, drawing and waiting together
        float k = 0;     // what the last step cost without its wait, oversleep allowed for
        float L = 0;     // stopwatch reading when the current step began
        float o0 = 0;    // oversleep of the wait before last: how much later it ended than asked
        float o1 = 0;    // oversleep of the last wait
        float d = 1;     // frames to advance per step, at least 1 (rounded when used)
        float slack = 0; // the wait asked for after the frame just drawn
        int s = 1;       // the frame to draw next, from 1
        int b = 0;       // the frame drawn before it (0: the before frame)
    };

    bool mayPlay() const;
    void play();
    void startPass(int pass);
    void runPlainLoop();
    void beginPacedLoop();
    void pacedSteps();
    void advancePacing();
    void endPass();
    void finishPlay();
    void renderFrame(int frame, int previous);
    bool abortPolled(bool everyReading);
    void notify(const TTransitionEffect::Notification &handler, TTransitionEffect &transition);

    const MonotonicClock m_clock;
    TTransitionEffect *m_transition = nullptr;
    std::unique_ptr<TTransitionEffect> m_copy;
    std::unique_ptr<TTETransitionData> m_data;
    QRect m_rect;
    QImage m_before;
    QImage m_intermediate;
    QImage m_after;

    bool m_aborted = false;
    bool m_playing = false;
    bool m_waiting = false;
    bool m_finished = false;
    bool m_inNotification = false;
    bool m_passInitialized = false;

    std::unique_ptr<TTEChrono> m_shared; // both passes share the time
    std::unique_ptr<TTEChrono> m_abortChrono;
    std::int32_t m_totalMs = 0;
    Pacing m_pace;
    TTEChrono m_passChrono;
    TTEChrono m_waitChrono;
};
