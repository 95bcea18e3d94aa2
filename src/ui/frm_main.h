#pragma once

#include "CommandStates.h"
#include "CountdownView.h"
#include "TickSchedule.h"

#include <QByteArray>
#include <QWidget>

#include <cstdint>

class BigScreen;
class CommandList;
class ContextMenuHook;
class CounterField;
class DisplayModes;
class KeyDispatcher;
class MediaPlayerBar;
class PopupMenu;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class SpinField;
class TTEImage;
class TrayIcon;

// The main window: the large countdown display under a panel of duration fields,
// counters and the start button, with the corner picture in the lower right.
class frm_main : public QWidget, public CountdownView, public CommandStateSink
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frm_main)

public:
    static constexpr int cornerMargin = 50;

    // When creating the window applies the settings: at once, or as soon as it has been shown
    // (the program), so that the window appears before the picture is read and the sound is
    // opened on their worker threads. The steps, their order and their error boxes are the same.
    enum class StartUp { ApplyNow, ApplyWhenShown };

    // clock drives the countdown timer's schedule; tests pass one they advance themselves,
    // and an audio sink for the alarm player (see MediaPlayerBar).
    explicit frm_main(QWidget *parent = nullptr,
                      TickSchedule::Clock clock = TickSchedule::bootClock(),
                      const QByteArray &audioSink = {}, StartUp startUp = StartUp::ApplyNow);
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

    // Whether a state-dependent command is enabled now.
    bool isCommandEnabled(StateCommand command) const;
    // The countdown timer runs (the running state).
    bool isCountdownTimerRunning() const;

    QString settingsFilePath() const { return m_configPath; }
    QString cornerPicturePath() const { return m_icoPath; }
    std::int32_t alarmLead() const { return m_alarmLead; }

    // Places the corner picture by the window's outer size.
    void placeCornerPicture();

    // Event handlers of the two timers.
    void Timer1Timer();
    void Timer2Timer();

    // The controls, named as in the window's layout.
    QFrame *const Panel1;
    QGroupBox *const RzGroupBox1;
    SpinField *const RzSpinEdit1;
    SpinField *const RzSpinEdit2;
    SpinField *const RzSpinEdit3;
    QLabel *const Label1;
    QLabel *const Label2;
    QLabel *const Label3;
    QPushButton *const RzBitBtn1;
    QPushButton *const RzBitBtn2;
    QLabel *const Label4;
    CounterField *const RzNumericEdit1;
    QLabel *const Label5;
    CounterField *const RzNumericEdit2;
    QLabel *const Label6;
    CounterField *const RzNumericEdit3;
    MediaPlayerBar *const MediaPlayer1;
    QLabel *const Label7;
    TTEImage *const TEImage1;
    QTimer *const Timer1;
    QTimer *const Timer2;
    CommandList *const ActionList1;
    PopupMenu *const PopupMenu1;
    TrayIcon *const RxTrayIcon1;

    // CountdownView
    QString totalText() const override;
    QString elapsedText() const override;
    QString remainingText() const override;
    void setTotalText(const QString &text) override;
    void setElapsedText(const QString &text) override;
    void setRemainingText(const QString &text) override;
    void setDisplayText(const QString &text) override;
    void processPendingEvents() override;
    void startAlarm() override;
    void finishCountdown() override;

    // CommandStateSink
    void setCommandEnabled(StateCommand command, bool enabled) override;
    void setCountdownTimerRunning(bool running) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void FormCreate();
    // The last steps of FormCreate: apply the settings, commands idle.
    void applyStartUpSettings();
    void armTimer1();
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
    void bindCommands();

    QString readSetting(const QString &key, const QString &defaultValue) const;

    TickSchedule m_schedule;
    // Ticks that fell due but have not run yet (the countdown was paused meanwhile).
    std::int64_t m_pendingTicks = 0;
    bool m_freshStart = false;
    DisplayModes *const m_display;
    KeyDispatcher *const m_keys;
    ContextMenuHook *const m_contextMenu;
    StartUp m_startUp;
    BigScreen *const m_bigScreen;

    QString m_configPath;
    QString m_icoPath;
    std::int32_t m_alarmLead = 0;
};
