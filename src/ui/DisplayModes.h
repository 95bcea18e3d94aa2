#pragma once

#include <QObject>

class QWidget;

// The three display modes of the main window.
//   full screen: the window manager's full-screen state, no frame, covering panels;
//   window display: framed and maximised;
//   hidden display: framed and minimised.
// A mode that is already in force changes nothing on screen.
//
// Wiring in the main window:
//   m_display = new DisplayModes(this);
//   connect(m_display, &DisplayModes::changed, this, &frm_main::<place the corner picture>);
//   ac_fullExecute: m_display->showFullScreen(); PopupMenu1->item(u"N2")->setChecked(true);
//   ac_winExecute:  m_display->showWindowed();
//   ac_hideExecute: m_display->showHidden();
class DisplayModes : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DisplayModes)

public:
    explicit DisplayModes(QWidget *window);

    void showFullScreen();
    void showWindowed();
    void showHidden();

signals:
    // After each of the three, also when nothing had to change.
    void changed();

private:
    void apply(Qt::WindowStates states);

    QWidget *const m_window;
};
