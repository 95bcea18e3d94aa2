// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MediaButtons.h"
#include "MediaGlyphs.h"
#include "MediaPlayer.h"

#include <QImage>
#include <QWidget>

#include <array>

class QMenu;

// The alarm player `MediaPlayer1`: a bar of Play, Pause and Stop buttons over the sound
// device of the configured sound file. The main window needs only these calls:
//
//   applySoundFile(path)  Applying the settings. Closes the device (a sound that plays
//                         stops), takes path as the file name; when a file of that name
//                         exists, opens it stopped at its beginning and shows the bar,
//                         otherwise hides the bar. Throws EMCIDeviceError when the file
//                         exists but cannot be played: the device stays closed and the
//                         bar's visibility is unchanged.
//   startAlarm()          The alarm tick. When the file named by the last applySoundFile
//                         exists, reopens it (throws EMCIDeviceError as above, before
//                         anything plays), shows the bar and starts playing from the
//                         beginning without waiting for the device, whose build-up runs
//                         on its own thread; a device that refuses to play is silent.
//                         Otherwise hides the bar.
//   deviceError(message)  Signal: a button click met a device error ("No MCI device open"
//                         when the last open failed). Connect it to the error box.
//   setPopupMenu(menu)    The menu shown on a right click; without one the right click
//                         goes on to the parent (the main window's own menu).
//
// The device closes when the bar is destroyed. The file is looked up, opened and closed on
// the device's own thread (see MediaPlayer); the bar waits for the answer at most
// MediaPlayer::openBound with the event loop running, and reports a file that did not
// answer in that time as an EMCIDeviceError like any other that cannot be played.
class MediaPlayerBar : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MediaPlayerBar)

public:
    // audioSink: empty for the desktop's default output; tests pass "fakesink sync=true".
    explicit MediaPlayerBar(QWidget *parent = nullptr, const QByteArray &audioSink = {});
    ~MediaPlayerBar() override;

    void applySoundFile(const QString &path);
    void startAlarm();
    void setPopupMenu(QMenu *menu) { m_popupMenu = menu; }

    MediaPlayer *player() const { return m_player; }

    ButtonSet visibleButtons() const { return m_visible; }
    void setVisibleButtons(ButtonSet buttons);
    ButtonSet enabledButtons() const { return m_enabled; }
    void setEnabledButtons(ButtonSet buttons);
    ButtonSet coloredButtons() const { return m_colored; }
    void setColoredButtons(ButtonSet buttons);
    ButtonSet autoEnabledButtons() const { return m_autoEnabled; }
    bool autoEnable() const { return m_autoEnable; }
    void setAutoEnable(bool on);

    ButtonKind focusedButton() const { return m_focused; }
    int buttonWidth() const { return m_buttonWidth; }
    // Left edge of a visible button, or -1 for a hidden one.
    int buttonX(ButtonKind kind) const;
    MediaGlyphs::GlyphSet glyphSet(ButtonKind kind) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Before and after a button's operation.
    void click(ButtonKind button);
    void postClick(ButtonKind button);
    void deviceError(const QString &message);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void layoutButtons();
    void updateAutoEnabled();
    bool isButtonEnabled(ButtonKind kind) const;
    QRect buttonRect(ButtonKind kind) const;
    const QImage &glyph(MediaGlyphs::GlyphSet set, ButtonKind kind);
    void clickButton(ButtonKind kind);
    void runOperation(ButtonKind kind);
    // Opens the file when it exists and shows the bar, else hides it; false when nothing
    // was opened (or a newer call took over while this one waited).
    bool openAndShow();

    MediaPlayer *const m_player;
    QMenu *m_popupMenu = nullptr;
    // Each drawn when first painted: the bar shows three of the nine kinds, in one set each.
    std::array<QImage, 3 * buttonKindCount> m_glyphs;
    ButtonSet m_visible{ButtonKind::btPlay, ButtonKind::btPause, ButtonKind::btStop};
    ButtonSet m_enabled = ButtonSet::all();
    ButtonSet m_colored = ButtonSet::all();
    ButtonSet m_autoEnabled;
    bool m_autoEnable = false;
    int m_buttonWidth = 0;
    QSize m_minimumButton;
    ButtonKind m_focused = ButtonKind::btPlay;
    ButtonKind m_current = ButtonKind::btPlay;
    bool m_pressed = false;
    bool m_down = false;
    QRect m_pressedRect;
};
