// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandStates.h"
#include "MainFrame.h"
#include "MonotonicClock.h"
#include "StageSettings.h"

#include <QByteArray>

#include <cstdint>

class AlarmLoop;
class BigScreen;
class CommandList;
class ContextMenuHook;
class CounterField;
class DesktopNotification;
class DigitColours;
class DisplayModes;
class KeyDispatcher;
class MediaPlayerBar;
class PopupMenu;
class QuickStartMenu;
class ScreenAwake;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class RemoteFront;
class SpinField;
class TTEImage;
class TimerCore;
class TrayIcon;

// The main window: the large countdown display under a panel of duration fields,
// counters and the start button, with the corner picture in the lower right. It shows the
// timer core's countdown and calls its commands; the core holds the counters and the tick.
class frm_main : public MainFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frm_main)

    // Made first: the countdown timer below is the core's.
    TimerCore *const m_core;

public:
    static constexpr int cornerMargin = 50;

    // The window shows as soon as its frame is set; the panel and the display are laid out
    // while the window manager maps it, and the settings are applied after the first paint,
    // so that the picture and the sound load on their worker threads behind a painted window.
    // clock drives the countdown timer's schedule (tests pass one they advance themselves);
    // audioSink is the alarm player's (see MediaPlayerBar).
    explicit frm_main(QWidget *parent = nullptr, MonotonicClock clock = Clocks::boot(),
                      const QByteArray &audioSink = {});
    ~frm_main() override;

    // Commands; each runs its handler under the error box.
    void ac_closeExecute();
    void ac_beginExecute();
    void ac_suspendExecute();
    void ac_ContinueExecute();
    void ac_paramExecute();
    void ac_readparamExecute();
    void ac_fullExecute();
    void ac_winExecute();
    void ac_hideExecute();
    void ac_endExecute();
    void ac_savesetExecute();

    // The countdown every front end drives.
    TimerCore *timerCore() const { return m_core; }
    // Digits that fit and the full-screen monitor.
    BigScreen *bigScreen() const { return m_bigScreen; }

    // A countdown of the given seconds for this run only, as the quick-start menu starts it.
    void startQuickly(std::int32_t seconds);
    // The warning colours, the end time and the screen, as last applied.
    const StageSettings &stageSettings() const { return m_stageSettings; }
    DigitColours *digitColours() const { return m_digitColours; }
    QuickStartMenu *quickStartMenu() const { return m_quickStarts; }
    ScreenAwake *screenAwake() const { return m_awake; }
    AlarmLoop *alarmLoop() const { return m_alarmLoop; }
    // "结束于 15:30" under the digits (showend).
    QLabel *endLine() const { return m_endLine; }
    // The web remote, on by the settings or for one run.
    RemoteFront *remote() const { return m_remote; }

    // Whether a state-dependent command is enabled now.
    bool isCommandEnabled(StateCommand command) const;
    // The countdown timer runs (the running state).
    bool isCountdownTimerRunning() const;

    // The settings have been applied once, after the first paint; startedUp() says when.
    bool isStartedUp() const { return m_appliedAfterShow; }

    QString settingsFilePath() const { return m_settingsFilePath; }
    QString cornerPicturePath() const { return m_icoPath; }
    std::int32_t alarmLead() const;

    // Places the corner picture by the window's outer size.
    void placeCornerPicture();

    // Event handlers of the two timers.
    void Timer1Timer();
    void Timer2Timer();

    // The controls, named as in the window's layout.
    QFrame *const Panel1;               // top panel (showtop), above the display
    QGroupBox *const RzGroupBox1;       // "计时时长设置": the duration fields and the save button
    SpinField *const RzSpinEdit1;       // duration hours (shi), 0 to 99
    SpinField *const RzSpinEdit2;       // duration minutes (feng), 0 to 59
    SpinField *const RzSpinEdit3;       // duration seconds (miao), 0 to 59
    QLabel *const Label1;               // "时" after the hours
    QLabel *const Label2;               // "分" after the minutes
    QLabel *const Label3;               // "秒" after the seconds
    QPushButton *const RzBitBtn1;       // "保存设置": ac_saveset
    QPushButton *const RzBitBtn2;       // "开始计时": ac_begin
    QLabel *const Label4;               // "计时总秒数："
    CounterField *const RzNumericEdit1; // total seconds counter
    QLabel *const Label5;               // "已过秒数："
    CounterField *const RzNumericEdit2; // elapsed seconds counter
    QLabel *const Label6;               // "剩余秒数："
    CounterField *const RzNumericEdit3; // remaining seconds counter
    MediaPlayerBar *const MediaPlayer1; // alarm player and its button bar
    QLabel *const Label7;               // the countdown display, HH:MM:SS
    TTEImage *const TEImage1;           // corner picture (ico, showico)
    QTimer *const Timer1;               // countdown tick, on while running (the core's)
    QTimer *const Timer2;               // picture roll every 20 s, on while a picture file exists
    CommandList *const ActionList1;     // the commands ac_*
    PopupMenu *const PopupMenu1;        // right-click and tray menu
    TrayIcon *const RxTrayIcon1;        // notification-area icon
    QLabel *const m_messageLine;        // the remote's message, under the display

signals:
    void startedUp();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void FormCreate();
    // The last steps of FormCreate: apply the settings, commands idle.
    void applyStartUpSettings();
    // The apply, once, after the first paint.
    void applyAfterFirstPaint();
    // The core's hooks and signals: the fields, the display and the command flags follow it.
    void bindTimerCore();
    void showCommandStates(CountdownState state);
    void showCounters();
    void showDisplay(const QString &text);
    void nameControls();
    void showFinished();
    // The panel's controls in tab order, the total counter first.
    QList<QWidget *> panelTabOrder() const;
    // The first control of that order that takes the focus from the keyboard.
    void focusFirstTabStop();

    // The settings in the order they are applied; throws on a value that does not convert.
    void applySettings();
    void setDisplayFontSize(std::int32_t size);
    // The two settings steps that concern the corner picture and the alarm player.
    void applyPictureSettings();
    void applySoundSettings();
    // Digits that fit the display and the full-screen monitor; both off by default.
    void applyBigScreenSettings();
    // Warning colours, the end line and the alarm's repeats.
    void applyStageSettings(std::int32_t digitColour, std::int32_t background);
    void bindCommands();
    void bindStageFeatures();
    // The start's total in the end mode: the seconds to the end time.
    std::int32_t secondsToEndTime();
    void rememberStart(std::int32_t total);
    void showEndLine(std::int32_t remaining);
    void followState(CountdownState state);
    void followTotal();
    void updateScreenHold();
    void bringForward();
    void bindRemote();

    DisplayModes *const m_display;
    KeyDispatcher *const m_keys;
    ContextMenuHook *const m_contextMenu;
    bool m_appliedAfterShow = false;
    BigScreen *const m_bigScreen;
    RemoteFront *const m_remote;

    QString m_settingsFilePath;
    QString m_icoPath;

    QLabel *const m_endLine;
    DigitColours *const m_digitColours;
    QuickStartMenu *m_quickStarts = nullptr;
    ScreenAwake *const m_awake;
    DesktopNotification *const m_notification;
    AlarmLoop *const m_alarmLoop;
    StageSettings m_stageSettings;
    CountdownState m_lastState = CountdownState::Idle;
    // The total the end line was last worked out for.
    std::int32_t m_endLineTotal = 0;
    bool m_finishShown = false;
    // The start under way takes its total from the end time: not a duration to remember.
    bool m_startingToEndTime = false;
};
