// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The corner picture `TEImage1`: one picture fitted into the control (centred, scaled to touch
// two opposite sides, aspect ratio kept) on a plain background colour, and the roll that
// rolls it away and back in every 20 seconds.
//
// Use from the main window:
//   auto *image = new TTEImage(this);          // 131 x 127, background white
//   image->LoadFromFile(path);                 // throws a TarvikError on a bad file; the
//                                              // previous picture stays
//   image->LoadFromFileIfExists(path);         // the same, or NoFile when there is none
// Loading looks the file up, reads and decodes it on a worker thread; the control waits for
// the result at most loadBound with the event loop running (it keeps showing its previous
// picture meanwhile) and reports a file that did not answer in that time as an error.
//   image->setBackgroundColor(colour);         // the display background
//   connect(Timer2, &QTimer::timeout, image, &TTEImage::Timer2Timer);
//   image->cancelTransition();                 // when the settings are applied
// Timer2Timer plays Transition1, the roll of TransitionList1 owned by the control: two passes
// of 800 ms in one random direction. The frames are paced by a timer of the control, so the
// event loop (and the countdown tick) keeps running during the roll; Timer2Timer returns at
// once and a tick that comes while a roll plays is ignored. A roll ends at once, leaving the
// normal look, when the control is hidden, moved, resized or destroyed, when a picture is
// loaded, when the background colour changes, and on cancelTransition(). A hidden control
// (setVisible(false) for showico false) plays nothing. Errors of the transition engine are
// ETransitionEffectError (a TarvikError); the roll as configured here raises none.

#include "MonotonicClock.h"
#include "CornerPicture.h"
#include "TTransitionList.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <chrono>
#include <memory>

class QTimer;
class TTEControlTrDevice;
class TTransitionEffect;

class TTEImage : public QWidget
{
    Q_OBJECT

public:
    // clock paces the transitions; tests pass one they advance themselves.
    explicit TTEImage(QWidget *parent = nullptr, MonotonicClock clock = Clocks::steady());
    ~TTEImage() override;
    Q_DISABLE_COPY_MOVE(TTEImage)

    static constexpr std::chrono::milliseconds loadBound{5000};

    enum class LoadResult
    {
        Loaded,
        NoFile,    // no file of that name: the picture is unchanged
        Superseded // a newer load or clear came while this one waited: nothing changed
    };

    // Format by the lower-cased extension: jpg, jpeg, bmp, ico, emf, wmf.
    void LoadFromFile(const QString &path);
    LoadResult LoadFromFileIfExists(const QString &path);
    void clearPicture();
    const CornerPicture &picture() const { return m_picture; }

    QColor backgroundColor() const { return m_color; }
    void setBackgroundColor(const QColor &color);
    bool pictureVisible() const { return m_pictureVisible; }
    void setPictureVisible(bool visible);
    int pictureMargin() const { return m_margin; }
    void setPictureMargin(int margin);

    // Where the picture is drawn, in client coordinates; empty without a picture.
    QRect pictureRect() const;
    // Background and picture of `area`, as the control paints them outside a transition.
    QImage normalLook(const QRect &area) const;

    TTransitionList &TransitionList1() { return m_transitions; }

    // Captures the present look for `transition`; false when the control is not on screen.
    bool PrepareTransition(TTransitionEffect *transition, bool clientCoordinates = false,
                           bool freeTransition = false);
    // Plays the prepared transition towards the present look; the device is released when
    // the run ends (or at once when nothing is to be played).
    void ExecuteTransition(bool synchronous = true);
    void UnprepareTransition();
    bool isTransitionPrepared() const;
    bool isTransitionRunning() const;

    QSize sizeHint() const override { return QSize(131, 127); }

public Q_SLOTS:
    // Picture timer: rolls the picture away and back in.
    void Timer2Timer();
    void cancelTransition() { UnprepareTransition(); }

Q_SIGNALS:
    // A prepared transition was released (played to its end or stopped).
    void transitionFinished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TTEControlTrDevice;

    void drawNormal(QImage &image, const QRect &area) const;
    void drawPrepared(QImage &image, const QRect &area) const;
    QSize drawSizeFor(const QSize &graphic) const;
    void beginBackBuffer();
    void frameTimerTimeout();
    void watchAbortInput(bool click, bool escape);
    LoadResult loadOnWorker(const QString &path, bool onlyIfFile);

    QColor m_color = Qt::white;
    bool m_pictureVisible = true;
    int m_margin = 0;
    // A reduced JPEG is decoded again when first drawn larger, hence mutable.
    mutable CornerPicture m_picture;
    mutable QImage m_scaled; // the picture at its drawn size
    quint64 m_loadGeneration = 0;

    TTransitionList m_transitions;
    std::unique_ptr<TTEControlTrDevice> m_device;
    bool m_wholeClient = false;
    bool m_freeTransition = false;
    bool m_backgroundChanged = false;
    bool m_releasing = false;
    bool m_abortOnClick = false;
    bool m_abortOnEscape = false;
    bool m_abortInput = false; // a click or Escape came during the run
    QRect m_preparedPictureRect;
    QImage m_backBuffer; // the control's look while a transition plays
    QTimer *const m_frameTimer;
    const MonotonicClock m_clock;
};
