// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTimer;

// One of the two small step buttons inside a spin field. A click steps once on the
// release; held down it steps after 400 ms and then every 100 ms, and once more on a
// release over the button.
class SpinStepButton : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpinStepButton)

public:
    enum class Direction
    {
        Up,
        Down
    };

    static constexpr int firstRepeatMs = 400;
    static constexpr int repeatMs = 100;

    SpinStepButton(Direction direction, QWidget *parent);

    Direction direction() const { return m_direction; }
    bool isDown() const { return m_down; }

signals:
    // Emitted on the press, before any step, so the field can take the focus first.
    void pressed();
    void step();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void repeat();
    void cancelHold();

    const Direction m_direction;
    QTimer *const m_repeatTimer;
    bool m_down = false;
    bool m_over = false;
};
