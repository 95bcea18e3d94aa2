// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTEImage.h"

#include "PictureFit.h"
#include "TRollTransition.h"
#include "TTEControlTrDevice.h"
#include "EPictureError.h"
#include "FrameCopy.h"
#include "WorkerCall.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace {

std::unique_ptr<TTransitionEffect> makeTransition1()
{
    auto roll = std::make_unique<TRollTransition>();
    roll->Milliseconds = 800;
    roll->setDirection(tedRandom);
    roll->PassSetting = teTwoPasses;
    return roll;
}

} // namespace

TTEImage::TTEImage(QWidget *parent, MonotonicClock clock)
    : QWidget(parent)
    , m_frameTimer(new QTimer(this))
    , m_clock(std::move(clock))
{
    // Every paint covers its whole area, so no separate erase is needed.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    resize(sizeHint());

    m_frameTimer->setSingleShot(true);
    m_frameTimer->setTimerType(Qt::PreciseTimer);
    connect(m_frameTimer, &QTimer::timeout, this, &TTEImage::frameTimerTimeout);

    m_transitions.add(makeTransition1());
}

TTEImage::~TTEImage()
{
    // Quietly: nothing is repainted or announced while the control goes away.
    m_releasing = true;
    m_frameTimer->stop();
    if (m_device && m_device->isPlaying())
        m_device->Abort();
    m_device.reset();
    watchAbortInput(false, false);
}

void TTEImage::LoadFromFile(const QString &path)
{
    loadOnWorker(path, false);
}

TTEImage::LoadResult TTEImage::LoadFromFileIfExists(const QString &path)
{
    return loadOnWorker(path, true);
}

TTEImage::LoadResult TTEImage::loadOnWorker(const QString &path, bool onlyIfFile)
{
    const quint64 generation = ++m_loadGeneration;
    // The worker gets the fitting inputs by value: the control may change meanwhile.
    const QRect client = rect();
    const int margin = m_margin;
    std::function<std::optional<CornerPicture>()> job = [path, onlyIfFile, client, margin] {
        if (onlyIfFile && (path.isEmpty() || !QFileInfo(path).isFile()))
            return std::optional<CornerPicture>();
        return std::optional<CornerPicture>(CornerPicture::load(path, [client, margin](QSize graphic) {
            return PictureFit::centerStretch(client, margin, graphic).size();
        }));
    };
    QPointer<TTEImage> self(this);
    std::optional<std::optional<CornerPicture>> answer = WorkerCall::run(StuckWork::Kind::PictureLoad, path, std::move(job), loadBound);
    if (!self || m_loadGeneration != generation)
        return LoadResult::Superseded;
    if (!answer) {
        throw EPictureError(
            TarvikError::tr("The picture file \"%1\" could not be read within %2 seconds")
                .arg(QDir::toNativeSeparators(path))
                .arg(loadBound.count() / 1000));
    }
    if (!*answer)
        return LoadResult::NoFile;
    UnprepareTransition();
    m_picture = std::move(**answer);
    m_scaled = QImage();
    update();
    return LoadResult::Loaded;
}

void TTEImage::clearPicture()
{
    ++m_loadGeneration;
    UnprepareTransition();
    m_picture = CornerPicture();
    m_scaled = QImage();
    update();
}

void TTEImage::setBackgroundColor(const QColor &color)
{
    if (color == m_color)
        return;
    UnprepareTransition();
    m_color = color;
    update();
}

void TTEImage::setPictureVisible(bool visible)
{
    if (visible == m_pictureVisible)
        return;
    UnprepareTransition();
    m_pictureVisible = visible;
    update();
}

void TTEImage::setPictureMargin(int margin)
{
    if (margin == m_margin)
        return;
    UnprepareTransition();
    m_margin = qBound(0, margin, 0xFFFF);
    update();
}

QSize TTEImage::drawSizeFor(const QSize &graphic) const
{
    return PictureFit::centerStretch(rect(), m_margin, graphic).size();
}

QRect TTEImage::pictureRect() const
{
    if (m_picture.isEmpty())
        return QRect();
    return PictureFit::centerStretch(rect(), m_margin, m_picture.size());
}

void TTEImage::drawNormal(QImage &image, const QRect &area) const
{
    image.fill(m_color);
    const QRect target = pictureRect();
    if (!m_pictureVisible || target.isEmpty() || !target.intersects(area))
        return;
    // On a high-density screen the image has the device's pixels: the picture is
    // scaled once to them, not drawn at logical size and enlarged.
    const qreal ratio = image.devicePixelRatio();
    const QSize pixels = (QSizeF(target.size()) * ratio).toSize();
    if (m_scaled.size() != pixels) {
        m_picture.ensureResolution(pixels);
        m_scaled = m_picture.image().scaled(pixels, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
    }
    m_scaled.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    if (!m_picture.transparent())
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.topLeft() - area.topLeft(), m_scaled);
}

QImage TTEImage::normalLook(const QRect &area) const
{
    QImage image(area.size(), QImage::Format_RGB32);
    if (!image.isNull())
        drawNormal(image, area);
    return image;
}

void TTEImage::drawPrepared(QImage &image, const QRect &area) const
{
    // Inside the effect the captured look, outside it the background alone.
    image.fill(m_color);
    const QRect effect = m_device->rect();
    FrameCopy::copyRect(image, effect.topLeft() - area.topLeft(), m_device->beforeFrame(),
                           m_device->beforeFrame().rect());
}

void TTEImage::paintEvent(QPaintEvent *event)
{
    QRect area = event->rect();
    if (area.isEmpty())
        area = rect();
    // The still picture is drawn at device pixels; a transition's frames are at logical
    // pixels, as the transition engine makes them.
    const bool still = !(m_device && (m_device->isPlaying() || !m_device->beforeFrame().isNull()));
    const qreal ratio = still ? devicePixelRatioF() : 1.0;
    QImage image((QSizeF(area.size()) * ratio).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return;
    image.setDevicePixelRatio(ratio);
    if (m_device && m_device->isPlaying() && m_backBuffer.size() == size())
        FrameCopy::copyRect(image, QPoint(0, 0), m_backBuffer, area);
    else if (m_device && !m_device->beforeFrame().isNull())
        drawPrepared(image, area);
    else
        drawNormal(image, area);
    QPainter painter(this);
    painter.drawImage(area.topLeft(), image);
}

void TTEImage::resizeEvent(QResizeEvent *event)
{
    UnprepareTransition();
    QWidget::resizeEvent(event);
}

void TTEImage::moveEvent(QMoveEvent *event)
{
    UnprepareTransition();
    QWidget::moveEvent(event);
}

void TTEImage::hideEvent(QHideEvent *event)
{
    UnprepareTransition();
    QWidget::hideEvent(event);
}

bool TTEImage::isTransitionPrepared() const
{
    return m_device != nullptr;
}

bool TTEImage::isTransitionRunning() const
{
    return m_device && m_device->isPlaying();
}

bool TTEImage::PrepareTransition(TTransitionEffect *transition, bool clientCoordinates,
                                 bool freeTransition)
{
    UnprepareTransition();
    if (m_device)
        return false; // asked from inside the running transition's own notification
    m_wholeClient = clientCoordinates;
    m_freeTransition = freeTransition;
    m_backgroundChanged = false;
    m_preparedPictureRect = !clientCoordinates && m_pictureVisible && !m_picture.isEmpty()
                                ? pictureRect() & rect()
                                : QRect();
    if (!transition)
        return false;
    m_device = std::make_unique<TTEControlTrDevice>(*this);
    m_device->setTransition(transition);
    if (!isVisible()) {
        m_device.reset();
        return false;
    }
    try {
        m_device->Prepare(rect());
        drawNormal(m_device->beforeFrame(), rect());
    } catch (...) {
        m_device.reset();
        throw;
    }
    return true;
}

void TTEImage::ExecuteTransition(bool synchronous)
{
    if (!m_device || m_device->isPlaying())
        return;
    try {
        QRect effect;
        if (m_wholeClient || m_backgroundChanged) {
            effect = rect();
        } else {
            const QRect current = m_pictureVisible ? pictureRect() & rect() : QRect();
            effect = m_preparedPictureRect | current;
        }
        if (effect.isEmpty()) {
            UnprepareTransition();
            return;
        }
        if (effect != m_device->rect())
            m_device->Reprepare(effect);
        m_device->afterFrame() = normalLook(effect);
        const TTransitionEffect *copy = m_device->workingCopy();
        if (m_pictureVisible && m_device->passCount() == 2 && !copy->Pass2Options.UseSolidColor) {
            QImage background(effect.size(), QImage::Format_RGB32);
            background.fill(m_color);
            m_device->intermediateFrame() = background;
        }
        m_device->Run(synchronous);
    } catch (...) {
        UnprepareTransition();
        throw;
    }
    if (m_device && m_device->isFinished())
        UnprepareTransition();
}

void TTEImage::UnprepareTransition()
{
    if (!m_device || m_device->inNotification() || m_releasing)
        return;
    m_releasing = true;
    m_frameTimer->stop();
    if (m_device->isPlaying())
        m_device->Abort();
    // Transitions belong to their list, so the release flag frees nothing here.
    m_device.reset();
    watchAbortInput(false, false);
    m_releasing = false;
    m_wholeClient = false;
    m_preparedPictureRect = QRect();
    m_backBuffer = QImage();
    update();
    emit transitionFinished();
}

void TTEImage::beginBackBuffer()
{
    m_backBuffer = QImage(size(), QImage::Format_RGB32);
    if (!m_backBuffer.isNull())
        drawPrepared(m_backBuffer, rect());
}

void TTEImage::watchAbortInput(bool click, bool escape)
{
    const bool watching = m_abortOnClick || m_abortOnEscape;
    m_abortOnClick = click;
    m_abortOnEscape = escape;
    m_abortInput = false;
    if (watching != (click || escape)) {
        if (click || escape)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }
}

bool TTEImage::eventFilter(QObject *watched, QEvent *event)
{
    // Input anywhere in this control's window counts; it still reaches its receiver.
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (widget && widget->window() == window()) {
        if (m_abortOnClick && event->type() == QEvent::MouseButtonPress &&
            static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_abortInput = true;
        if (m_abortOnEscape && event->type() == QEvent::KeyPress &&
            static_cast<const QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_abortInput = true;
    }
    return QWidget::eventFilter(watched, event);
}

void TTEImage::frameTimerTimeout()
{
    if (!m_device)
        return;
    try {
        m_device->resumeAfterWait();
    } catch (const std::exception &error) {
        // Nothing calls back into a timer slot; drop the run and show the normal look.
        qWarning("Picture transition stopped: %s", error.what());
        UnprepareTransition();
        return;
    }
    if (m_device && m_device->isFinished())
        UnprepareTransition();
}

void TTEImage::Timer2Timer()
{
    // A roll still playing is not started again or nested.
    if (isTransitionRunning())
        return;
    TTransitionEffect *transition = m_transitions.at(0);
    if (!transition)
        return;
    PrepareTransition(transition, false, false);
    ExecuteTransition(true);
}
