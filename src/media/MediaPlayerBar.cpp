// SPDX-License-Identifier: GPL-3.0-or-later
#include "MediaPlayerBar.h"

#include "EMCIDeviceError.h"
#include "MediaBarLayout.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSize designSize(85, 30);

std::size_t glyphIndex(MediaGlyphs::GlyphSet set, ButtonKind kind)
{
    return std::size_t(set) * buttonKindCount + std::size_t(kind);
}

} // namespace

MediaPlayerBar::MediaPlayerBar(QWidget *parent, const QByteArray &audioSink)
    : QWidget(parent)
    , m_player(new MediaPlayer(audioSink, this))
    , m_minimumButton(MediaGlyphs::minimumButtonSize())
{
    setObjectName(QStringLiteral("MediaPlayer1"));
    setToolTip(tr("音乐播放按钮"));
    setFocusPolicy(Qt::StrongFocus);
    connect(m_player, &MediaPlayer::deviceChanged, this, &MediaPlayerBar::updateAutoEnabled);
    resize(designSize);
    layoutButtons();
}

MediaPlayerBar::~MediaPlayerBar() = default;

void MediaPlayerBar::applySoundFile(const QString &path)
{
    m_player->close();
    m_player->setFileName(path);
    openAndShow();
}

void MediaPlayerBar::startAlarm()
{
    if (!openAndShow())
        return;
    // The device has just opened; a play it refuses is not reported. The sound is built up
    // on its own thread while the finish box already shows.
    m_player->playWithoutWaiting();
}

bool MediaPlayerBar::openAndShow()
{
    m_player->setDeviceType(MediaPlayer::DeviceType::dtAutoSelect);
    // The file is looked up and opened on the device's thread.
    switch (m_player->openIfFileExists()) {
    case MediaPlayer::OpenResult::Opened:
        show();
        return true;
    case MediaPlayer::OpenResult::NoFile:
        hide();
        return false;
    case MediaPlayer::OpenResult::Superseded:
        break;
    }
    return false;
}

void MediaPlayerBar::setVisibleButtons(ButtonSet buttons)
{
    m_visible = buttons;
    layoutButtons();
    update();
}

void MediaPlayerBar::setEnabledButtons(ButtonSet buttons)
{
    m_enabled = buttons;
    update();
}

void MediaPlayerBar::setColoredButtons(ButtonSet buttons)
{
    m_colored = buttons;
    update();
}

void MediaPlayerBar::setAutoEnable(bool on)
{
    m_autoEnable = on;
    update();
}

void MediaPlayerBar::updateAutoEnabled()
{
    ButtonSet buttons;
    if (m_player->isOpen()) {
        buttons = {ButtonKind::btNext, ButtonKind::btPrev};
        if (m_player->canStep()) {
            buttons.insert(ButtonKind::btStep);
            buttons.insert(ButtonKind::btBack);
        }
        if (m_player->canPlay())
            buttons.insert(ButtonKind::btPlay);
        if (m_player->canRecord())
            buttons.insert(ButtonKind::btRecord);
        if (m_player->canEject())
            buttons.insert(ButtonKind::btEject);
    }
    m_autoEnabled = buttons;
    update();
}

bool MediaPlayerBar::isButtonEnabled(ButtonKind kind) const
{
    return m_autoEnable ? m_autoEnabled.contains(kind) : m_enabled.contains(kind);
}

int MediaPlayerBar::buttonX(ButtonKind kind) const
{
    if (!m_visible.contains(kind))
        return -1;
    int index = 0;
    for (std::size_t k = 0; k < std::size_t(kind); ++k) {
        if (m_visible.contains(ButtonKind(k)))
            ++index;
    }
    return MediaBarLayout::buttonLeft(index, m_buttonWidth);
}

QRect MediaPlayerBar::buttonRect(ButtonKind kind) const
{
    return QRect(buttonX(kind), 0, m_buttonWidth, height());
}

const QImage &MediaPlayerBar::glyph(MediaGlyphs::GlyphSet set, ButtonKind kind)
{
    QImage &drawn = m_glyphs[glyphIndex(set, kind)];
    if (drawn.isNull())
        drawn = MediaGlyphs::transparentGlyph(set, kind);
    return drawn;
}

MediaGlyphs::GlyphSet MediaPlayerBar::glyphSet(ButtonKind kind) const
{
    using MediaGlyphs::GlyphSet;
    if (!isEnabled() || !isButtonEnabled(kind))
        return GlyphSet::DI;
    return m_colored.contains(kind) ? GlyphSet::CL : GlyphSet::EN;
}

QSize MediaPlayerBar::sizeHint() const
{
    return MediaBarLayout::wantedSize(designSize, int(m_visible.count()), m_minimumButton);
}

QSize MediaPlayerBar::minimumSizeHint() const
{
    return MediaBarLayout::wantedSize(QSize(0, 0), int(m_visible.count()), m_minimumButton);
}

void MediaPlayerBar::layoutButtons()
{
    const int n = int(m_visible.count());
    m_buttonWidth = MediaBarLayout::buttonWidth(width(), n);
    const QSize wanted = MediaBarLayout::wantedSize(size(), n, m_minimumButton);
    if (wanted != size())
        resize(wanted);
}

void MediaPlayerBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

void MediaPlayerBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QColor frame = colours.color(QPalette::Shadow);
    const QColor face = colours.color(QPalette::Button);
    const QColor highlight = colours.color(QPalette::Light);
    const QColor shadow = colours.color(QPalette::Dark);
    const int h = height();
    const int w = m_buttonWidth;

    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, h - 1);

    for (std::size_t k = 0; k < buttonKindCount; ++k) {
        const auto kind = ButtonKind(k);
        if (!m_visible.contains(kind))
            continue;
        const int x = buttonX(kind);
        const bool pressed = m_pressed && m_down && kind == m_current;

        painter.setPen(frame);
        painter.setBrush(face);
        painter.drawRect(x, 0, w - 1, h - 1);
        if (pressed) {
            painter.setPen(shadow);
            painter.drawLine(x + 1, h - 2, x + 1, 1);
            painter.drawLine(x + 1, 1, x + w - 2, 1);
        } else {
            painter.setPen(highlight);
            painter.drawLine(x + 1, h - 2, x + 1, 1);
            painter.drawLine(x + 1, 1, x + w - 2, 1);
            painter.setPen(shadow);
            painter.drawLine(x + 2, h - 2, x + w - 2, h - 2);
            painter.drawLine(x + w - 2, h - 2, x + w - 2, 2);
        }

        const QImage &glyph = this->glyph(glyphSet(kind), kind);
        const int shift = pressed ? 1 : 0;
        painter.drawImage(x + w / 2 - glyph.width() / 2 + shift, h / 2 - glyph.height() / 2 + shift,
                          glyph);

        if (hasFocus() && kind == m_focused) {
            QPen dotted(frame, 1);
            dotted.setDashPattern({1, 1});
            painter.setPen(dotted);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(x + 3 + shift, 3 + shift, w - 7, h - 7);
        }
    }
}

void MediaPlayerBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x();
    const auto hit = MediaBarLayout::hitButton(x, int(m_visible.count()), m_buttonWidth);
    if (!hit)
        return;
    int index = *hit;
    auto kind = ButtonKind::btPlay;
    for (std::size_t k = 0; k < buttonKindCount; ++k) {
        if (m_visible.contains(ButtonKind(k)) && index-- == 0) {
            kind = ButtonKind(k);
            break;
        }
    }
    if (!isButtonEnabled(kind))
        return;
    m_current = kind;
    m_focused = kind;
    m_pressed = true;
    m_down = true;
    m_pressedRect = buttonRect(kind);
    // Qt keeps the mouse with this widget until the release.
    update();
}

void MediaPlayerBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void MediaPlayerBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const bool inside = m_pressedRect.contains(event->position().toPoint());
    if (inside != m_down) {
        m_down = inside;
        update();
    }
}

void MediaPlayerBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool clicked = m_pressed && m_down;
    m_pressed = false;
    m_down = false;
    if (clicked) {
        update();
        clickButton(m_current);
    }
}

void MediaPlayerBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        if (isButtonEnabled(m_focused)) {
            m_current = m_focused;
            clickButton(m_focused);
        }
        return;
    case Qt::Key_Left:
        for (int k = int(m_focused) - 1; k >= 0; --k) {
            if (m_visible.contains(ButtonKind(k))) {
                m_focused = ButtonKind(k);
                update();
                break;
            }
        }
        return;
    case Qt::Key_Right:
        // The mark stays on the last visible button rather than leaving the bar.
        for (int k = int(m_focused) + 1; k < int(buttonKindCount); ++k) {
            if (m_visible.contains(ButtonKind(k))) {
                m_focused = ButtonKind(k);
                update();
                break;
            }
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MediaPlayerBar::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void MediaPlayerBar::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void MediaPlayerBar::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu) {
        event->ignore();
        return;
    }
    m_popupMenu->popup(event->globalPos());
}

void MediaPlayerBar::clickButton(ButtonKind kind)
{
    emit click(kind);
    try {
        runOperation(kind);
    } catch (const EMCIDeviceError &error) {
        emit deviceError(error.message());
        return;
    }
    emit postClick(kind);
}

void MediaPlayerBar::runOperation(ButtonKind kind)
{
    switch (kind) {
    case ButtonKind::btPlay:
        m_player->play();
        break;
    case ButtonKind::btPause:
        m_player->pause();
        break;
    case ButtonKind::btStop:
        m_player->stop();
        break;
    default:
        // The other kinds are never shown: a device without those abilities does nothing.
        break;
    }
}
