// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTETransitionDevice.h"

#include "ETransitionEffectError.h"
#include "FrameCopy.h"
#include "EffectRandom.h"

#include <cmath>

namespace {

// Nearest integer, an exact half to the even neighbour.
int nearest(double x)
{
    return int(std::nearbyint(x));
}

} // namespace

TTETransitionDevice::TTETransitionDevice(MonotonicClock clock)
    : m_clock(std::move(clock))
    , m_passChrono(m_clock)
    , m_waitChrono(m_clock)
{}

TTETransitionDevice::~TTETransitionDevice() = default;

void TTETransitionDevice::setTransition(TTransitionEffect *transition)
{
    if (m_data)
        throw ETransitionEffectError::busy();
    m_transition = transition;
}

int TTETransitionDevice::passCount() const
{
    if (!m_copy || !supportsTwoPasses() ||
        (m_copy->capabilities() & TTransitionEffect::tecTwoPasses) == 0)
        return 1;
    switch (m_copy->PassSetting) {
    case teOnePass:
        return 1;
    case teTwoPasses:
        return 2;
    case tePaletteDependent:
        return paletteDisplay() ? 2 : 1;
    }
    return 1;
}

void TTETransitionDevice::Prepare(const QRect &rect)
{
    if (!m_transition)
        throw ETransitionEffectError::notAssigned();
    m_rect = rect;
    if (!m_copy) {
        m_copy = m_transition->deviceCopy();
        m_copy->OnStartTransition = m_transition->OnStartTransition;
        m_copy->OnEndTransition = m_transition->OnEndTransition;
        m_copy->OnAbortQuery = m_transition->OnAbortQuery;
        if (m_copy->Direction() == tedRandom) {
            const TTEEffectDirections allowed = m_copy->allowedDirections();
            int value;
            do {
                value = EffectRandom::next(tedRandom + 1);
            } while (value == tedRandom || !directionAllowed(allowed, TTEEffectDirection(value)));
            m_copy->setDirection(TTEEffectDirection(value));
        }
    }
    m_data = std::make_unique<TTETransitionData>(m_clock);
    m_data->passCount = passCount();
    m_data->pixelFormat = m_copy->pixelFormat();
    m_data->width = rect.width();
    m_data->height = rect.height();
    m_data->origin = rect.topLeft();
    m_before = QImage(rect.size(), m_data->pixelFormat);
    m_intermediate = QImage();
    m_after = QImage();
}

void TTETransitionDevice::Reprepare(const QRect &rect)
{
    const QImage old = m_before;
    const QRect oldRect = m_rect;
    m_data.reset();
    Prepare(rect);
    m_before.fill(Qt::black);
    FrameCopy::copyRect(m_before, QPoint(0, 0), old, rect.translated(-oldRect.topLeft()));
}

bool TTETransitionDevice::mayPlay() const
{
    return m_copy && m_copy->Enabled && m_data && !m_before.isNull() && !m_after.isNull() &&
           m_before.size() == m_rect.size() && m_after.size() == m_rect.size();
}

void TTETransitionDevice::Run(bool synchronous)
{
    if (!m_transition)
        throw ETransitionEffectError::notAssigned();
    if (!synchronous)
        throw ETransitionEffectError::deviceNotThreadSafe();
    m_finished = false;
    notify(m_transition->OnBeforeTransition, *m_transition);
    if (mayPlay()) {
        m_aborted = false;
        m_playing = true;
        play();
    } else {
        finishPlay();
    }
}

void TTETransitionDevice::play()
{
    m_data->surface = &surface();
    if (m_data->passCount == 2 && m_intermediate.isNull()) {
        if (!m_copy->Pass2Options.SolidColor)
            m_copy->Pass2Options.SolidColor = defaultSolidColor();
        m_intermediate = QImage(m_rect.size(), m_data->pixelFormat);
        m_intermediate.fill(*m_copy->Pass2Options.SolidColor);
    }
    beginPlay();
    m_shared.reset();
    if (!m_intermediate.isNull() && m_data->passCount == 2) {
        m_totalMs = m_copy->Milliseconds;
        if (m_copy->Pass2Options.DistributedTime && m_totalMs != 0) {
            m_copy->Milliseconds = m_totalMs / 2;
            m_shared = std::make_unique<TTEChrono>(m_clock);
        }
    } else {
        m_data->passCount = 1;
    }
    startPass(1);
}

void TTETransitionDevice::startPass(int pass)
{
    TTETransitionData &data = *m_data;
    data.pass = pass;
    if (data.passCount == 2) {
        data.source = pass == 1 ? &m_before : &m_intermediate;
        data.target = pass == 1 ? &m_intermediate : &m_after;
        if (m_copy->Pass2Options.Reversed)
            m_copy->Reversed = !m_copy->Reversed;
    } else {
        data.source = &m_before;
        data.target = &m_after;
    }
    if (pass == 1)
        notify(m_copy->OnStartTransition, *m_copy);
    if (m_copy->AbortOnClick || m_copy->AbortOnEscape || m_copy->OnAbortQuery) {
        m_abortChrono = std::make_unique<TTEChrono>(m_clock);
        m_abortChrono->Start();
    }

    m_passInitialized = false;
    if (m_aborted) {
        endPass();
        return;
    }
    int n = 0;
    m_copy->Initialize(data, n);
    m_passInitialized = true;
    data.frameCount = n;
    data.lastFrame = n;
    if (pass == 1)
        data.totalFrames = n * data.passCount;
    if (m_shared && pass == 1)
        m_shared->Start();
    if (n > 0) {
        bool skip = false;
        if (m_shared && pass == 2) {
            m_shared->Pause();
            const int elapsed = nearest(m_shared->Elapsed());
            if (elapsed < m_totalMs)
                m_copy->Milliseconds = m_totalMs - elapsed;
            else
                skip = true;
        }
        if (!skip) {
            if (m_copy->Milliseconds > 0 &&
                (m_copy->capabilities() & TTransitionEffect::tecPacedFrames) != 0) {
                beginPacedLoop();
                return; // the loop ends the pass, possibly after waits
            }
            runPlainLoop();
        }
    }
    endPass();
}

void TTETransitionDevice::runPlainLoop()
{
    for (int i = 1; i <= m_data->frameCount; ++i) {
        if (abortPolled(false))
            break;
        ++m_data->framesDone;
        renderFrame(i, i - 1);
    }
}

void TTETransitionDevice::beginPacedLoop()
{
    const int n = m_data->frameCount;
    m_pace = Pacing();
    m_pace.t = m_pace.k = float(m_copy->Milliseconds) / float(n + 1);
    m_pace.d = 1;
    m_pace.s = nearest(m_pace.d);
    m_pace.b = 0;
    m_passChrono.Reset();
    m_waitChrono.Reset();
    m_passChrono.Start();
    pacedSteps();
}

void TTETransitionDevice::pacedSteps()
{
    while (m_pace.s <= m_data->frameCount && !abortPolled(false)) {
        m_data->framesDone += nearest(m_pace.d);
        renderFrame(m_pace.s, m_pace.b);
        if (abortPolled(false))
            break;
        m_pace.b = m_pace.s;
        const float slack =
            m_pace.t - float(m_data->lastCopyMs) - (float(m_passChrono.Elapsed()) - m_pace.L);
        if (slack > 0) {
            m_pace.slack = slack;
            m_waitChrono.Start();
            m_waiting = true;
            scheduleWait(slack);
            return; // resumeAfterWait carries on
        }
        advancePacing();
    }
    m_passChrono.Pause();
    endPass();
}

void TTETransitionDevice::resumeAfterWait()
{
    if (!m_waiting)
        return;
    const double remaining = m_pace.slack - m_waitChrono.Elapsed();
    const bool stop = abortPolled(true);
    if (remaining > 0 && !stop) {
        scheduleWait(remaining); // woken early
        return;
    }
    m_waiting = false;
    m_waitChrono.Pause();
    m_pace.o0 = m_pace.o1;
    m_pace.o1 = float(m_waitChrono.Elapsed()) - m_pace.slack;
    if (m_pace.o1 < 0)
        m_pace.o1 = m_pace.o0;
    advancePacing();
    pacedSteps();
}

void TTETransitionDevice::advancePacing()
{
    Pacing &p = m_pace;
    const float w = float(m_waitChrono.Elapsed());
    m_waitChrono.Reset();
    const float a = (p.o0 + p.o1) / 2;
    const float now = float(m_passChrono.Elapsed()) + a;
    p.k = now - p.L - (w - a);
    const float r = float(m_copy->Milliseconds) - now;
    const int R = m_data->frameCount + 1 - p.s;
    if (r > 0) {
        p.d = p.k != 0 ? float(R) / (r / p.k) : float(R) / r;
        if (p.d < 1)
            p.d = 1;
        // Any step beyond the remaining frames ends the loop the same way; the bound keeps
        // the rounding below in range.
        if (!(p.d <= float(R)))
            p.d = float(R);
    } else {
        p.d = float(R);
    }
    p.t = r / (float(R) / p.d);
    p.L = float(m_passChrono.Elapsed());
    p.s += nearest(p.d);
}

void TTETransitionDevice::endPass()
{
    TTETransitionData &data = *m_data;
    if (m_passInitialized) {
        m_copy->Finalize(data);
        m_passInitialized = false;
    }
    const bool lastPass = data.pass >= data.passCount;
    if (data.target && data.showTarget && (!m_aborted || lastPass)) {
        FrameCopy::copyRect(*data.surface, data.origin, *data.target, data.target->rect());
        present(QRect(data.origin, data.target->size()));
    }
    m_abortChrono.reset();
    if (!m_aborted && (data.pass == 2 || data.passCount == 1))
        notify(m_copy->OnEndTransition, *m_copy);
    if (!lastPass) {
        startPass(data.pass + 1);
        return;
    }
    finishPlay();
}

void TTETransitionDevice::finishPlay()
{
    m_playing = false;
    m_waiting = false;
    m_shared.reset();
    endPlay();
    m_finished = true;
    if (m_transition)
        notify(m_transition->OnAfterTransition, *m_transition);
}

void TTETransitionDevice::renderFrame(int frame, int previous)
{
    TTETransitionData &data = *m_data;
    data.previousUpdateRect = data.updateRect;
    data.updateRect = m_copy->RenderFrame(data, frame, previous, frame - previous);
    if (!data.updateRect.isEmpty())
        present(data.updateRect.translated(data.origin));
}

bool TTETransitionDevice::abortPolled(bool everyReading)
{
    // Asking is not free, so between frames it is done at most every 300 ms.
    if (!m_aborted && m_abortChrono && (everyReading || m_abortChrono->Elapsed() > 300)) {
        bool stop = abortRequested();
        if (!stop && m_copy->OnAbortQuery) {
            const bool outer = m_inNotification;
            m_inNotification = true;
            stop = m_copy->OnAbortQuery(*m_copy);
            m_inNotification = outer;
        }
        if (stop)
            m_aborted = true;
        m_abortChrono->Reset();
        m_abortChrono->Start();
    }
    return m_aborted;
}

void TTETransitionDevice::Abort()
{
    m_aborted = true;
    if (m_waiting) {
        cancelWait();
        m_waiting = false;
        m_waitChrono.Reset();
        m_passChrono.Pause();
        endPass();
    }
}

void TTETransitionDevice::notify(const TTransitionEffect::Notification &handler,
                                 TTransitionEffect &transition)
{
    if (!handler)
        return;
    const bool outer = m_inNotification;
    m_inNotification = true;
    handler(transition);
    m_inNotification = outer;
}
