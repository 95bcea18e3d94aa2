// SPDX-License-Identifier: GPL-3.0-or-later
#include "frm_main.h"

#include "AlarmLoop.h"
#include "BigScreen.h"
#include "CommandList.h"
#include "ContextMenuHook.h"
#include "Countdown.h"
#include "CounterField.h"
#include "DesktopNotification.h"
#include "DigitColours.h"
#include "DisplayModes.h"
#include "EndTime.h"
#include "ErrorGuard.h"
#include "KeyDispatcher.h"
#include "MainFonts.h"
#include "MediaPlayerBar.h"
#include "MessageBoxes.h"
#include "ParamCommand.h"
#include "PopupMenu.h"
#include "QuickStartMenu.h"
#include "QuickStarts.h"
#include "RemoteFront.h"
#include "SaveDurationCommand.h"
#include "ScreenAwake.h"
#include "SettingsSchema.h"
#include "SpinField.h"
#include "SpinWheelRouter.h"
#include "SpokenTime.h"
#include "SystemColors.h"
#include "TTEImage.h"
#include "TarvikError.h"
#include "TaskbarPresence.h"
#include "TimerCore.h"
#include "TrayIcon.h"
#include "frm_param.h"
#include "pub_unit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <chrono>

namespace {

const QString zeroDisplay = QStringLiteral("00:00:00");

constexpr int panelHeight = 58;
constexpr int pictureTimerInterval = 20000;
// Beyond this the glyph cache would need more memory than any screen can show.
constexpr std::int64_t largestFontSize = 2000;

// Sized to its text later, with the rest of the text measuring (buildLayout).
QLabel *panelLabel(const QString &text, QWidget *parent, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    return label;
}

// Without a paint the window is left to be applied this long after it shows.
constexpr std::chrono::milliseconds firstPaintWait{1000};

} // namespace

frm_main::frm_main(QWidget *parent, MonotonicClock clock, const QByteArray &audioSink)
    : MainFrame(parent)
    , m_core(new TimerCore(std::move(clock), this))
    , Panel1(new QFrame(this))
    , RzGroupBox1(new QGroupBox(Panel1))
    , RzSpinEdit1(new SpinField(RzGroupBox1))
    , RzSpinEdit2(new SpinField(RzGroupBox1))
    , RzSpinEdit3(new SpinField(RzGroupBox1))
    , Label1(panelLabel(tr("时"), RzGroupBox1, 79, 22))
    , Label2(panelLabel(tr("分"), RzGroupBox1, 172, 22))
    , Label3(panelLabel(tr("秒"), RzGroupBox1, 250, 22))
    , RzBitBtn1(new QPushButton(tr("保存设置"), RzGroupBox1))
    , RzBitBtn2(new QPushButton(tr("开始计时"), Panel1))
    , Label4(panelLabel(tr("计时总秒数："), Panel1, 440, 24))
    , RzNumericEdit1(new CounterField(Panel1))
    , Label5(panelLabel(tr("已过秒数："), Panel1, 587, 24))
    , RzNumericEdit2(new CounterField(Panel1))
    , Label6(panelLabel(tr("剩余秒数："), Panel1, 734, 24))
    , RzNumericEdit3(new CounterField(Panel1))
    , MediaPlayer1(new MediaPlayerBar(Panel1, audioSink))
    , Label7(new QLabel(zeroDisplay, this))
    , TEImage1(new TTEImage(this))
    , Timer1(m_core->countdownTimer())
    , Timer2(new QTimer(this))
    , ActionList1(frameCommands())
    , PopupMenu1(frameMenu())
    , RxTrayIcon1(frameTrayIcon())
    , m_messageLine(new QLabel(this))
    , m_display(new DisplayModes(this))
    , m_keys(new KeyDispatcher(PopupMenu1, ActionList1, this))
    , m_contextMenu(new ContextMenuHook(PopupMenu1, this))
    , m_bigScreen(new BigScreen(this, Label7))
    , m_remote(new RemoteFront(m_core, PopupMenu1->menu(), this))
    , m_endLine(new QLabel(this))
    , m_digitColours(new DigitColours(Label7, this))
    , m_awake(new ScreenAwake(this, this))
    , m_notification(new DesktopNotification(this))
    , m_alarmLoop(new AlarmLoop(MediaPlayer1->player(), this))
{
    buildLayout();
    bindTimerCore();
    bindCommands();
    bindStageFeatures();
    bindRemote();
    guarded([this] { FormCreate(); });
    // Made after the frame was shown, the controls show now, before its first paint, as
    // showing the window would have shown them: all but those hidden on purpose.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
            child->show();
    }
    windowHandle()->installEventFilter(this);
    // A window that is never exposed (an unseen workspace) still gets its settings.
    QTimer::singleShot(firstPaintWait, this, &frm_main::applyAfterFirstPaint);
}

frm_main::~frm_main() = default;

void frm_main::buildLayout()
{
    frameLayout()->addWidget(Panel1);
    frameLayout()->addWidget(Label7, 1);
    Panel1->setFixedHeight(panelHeight);

    RzGroupBox1->setTitle(tr("计时时长设置"));
    for (QLabel *label : {Label1, Label2, Label3, Label4, Label5, Label6})
        label->adjustSize();
    // An etched edge: the outer bevel lowered, the inner one raised.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setMidLineWidth(0);

    RzGroupBox1->setGeometry(8, 4, 356, 47);
    RzSpinEdit1->setGeometry(24, 18, 47, 21);
    RzSpinEdit1->setMaximum(99);
    RzSpinEdit1->setText(QStringLiteral("1"));
    RzSpinEdit2->setGeometry(104, 18, 54, 21);
    RzSpinEdit2->setMaximum(59);
    RzSpinEdit2->setText(QStringLiteral("30"));
    RzSpinEdit3->setGeometry(190, 18, 47, 21);
    RzSpinEdit3->setMaximum(59);
    RzSpinEdit3->setText(QStringLiteral("0"));

    for (QPushButton *button : {RzBitBtn1, RzBitBtn2}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setAttribute(Qt::WA_Hover);
        button->setAutoDefault(false);
    }
    RzBitBtn1->setGeometry(276, 13, 60, 25);
    RzBitBtn2->setGeometry(371, 18, 60, 25);

    RzNumericEdit1->setGeometry(515, 20, 67, 21);
    RzNumericEdit2->setGeometry(653, 20, 72, 21);
    RzNumericEdit3->setGeometry(800, 20, 69, 21);

    MediaPlayer1->setGeometry(896, 16, 85, 30);
    MediaPlayer1->setToolTip(tr("音乐播放按钮"));

    Label7->setAlignment(Qt::AlignCenter);
    // Explicit roles: the window's face role would otherwise be inherited.
    Label7->setBackgroundRole(QPalette::Window);
    Label7->setForegroundRole(QPalette::WindowText);
    Label7->setAutoFillBackground(true);
    // Hinted as the window's panel font is.
    const QFont displayFont = MainFonts::display(font().hintingPreference());
    Label7->setFont(displayFont);
    QPalette displayPalette = Label7->palette();
    displayPalette.setColor(QPalette::Window, Qt::black);
    displayPalette.setColor(QPalette::WindowText, Qt::red);
    Label7->setPalette(displayPalette);

    // Hidden unless showend: the display then keeps the whole height as before.
    m_endLine->setObjectName(QStringLiteral("EndLine"));
    m_endLine->setAlignment(Qt::AlignCenter);
    m_endLine->setAutoFillBackground(true);
    m_endLine->setBackgroundRole(QPalette::Window);
    m_endLine->setForegroundRole(QPalette::WindowText);
    m_endLine->setPalette(displayPalette);
    QFont endFont = displayFont;
    endFont.setPixelSize(40);
    m_endLine->setFont(endFont);
    m_endLine->setContentsMargins(0, 0, 0, 12);
    m_endLine->setAttribute(Qt::WA_WState_ExplicitShowHide); // not shown with the rest
    m_endLine->hide();
    frameLayout()->addWidget(m_endLine);

    TEImage1->resize(131, 127);
    TEImage1->raise();

    nameControls();

    const QList<QWidget *> order = panelTabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    Timer2->setInterval(pictureTimerInterval);
    connect(Timer2, &QTimer::timeout, this, &frm_main::Timer2Timer);
    // Geometry complete before the first paint, which may come as soon as this returns.
    frameLayout()->activate();
}

void frm_main::nameControls()
{
    // What a screen reader says for controls whose caption, if any, is not enough.
    RzSpinEdit1->setAccessibleName(tr("计时时长（时）"));
    RzSpinEdit2->setAccessibleName(tr("计时时长（分）"));
    RzSpinEdit3->setAccessibleName(tr("计时时长（秒）"));
    RzNumericEdit1->setAccessibleName(tr("计时总秒数"));
    RzNumericEdit2->setAccessibleName(tr("已过秒数"));
    RzNumericEdit3->setAccessibleName(tr("剩余秒数"));
    Label4->setBuddy(RzNumericEdit1);
    Label5->setBuddy(RzNumericEdit2);
    Label6->setBuddy(RzNumericEdit3);
    RzBitBtn1->setAccessibleDescription(tr("把计时时长保存到设置文件"));
    RzBitBtn2->setAccessibleDescription(tr("按保存的计时时长开始倒计时"));
    MediaPlayer1->setAccessibleName(tr("音乐播放按钮"));
    TEImage1->setAccessibleName(tr("右下角图标"));
    Label7->setAccessibleDescription(tr("倒计时显示"));
    showDisplay(zeroDisplay);
}

void frm_main::showDisplay(const QString &text)
{
    Label7->setText(text);
    // Said in words when the reader comes to the display; a name change is not announced,
    // so the reader does not speak every second.
    Label7->setAccessibleName(SpokenTime::fromDisplay(text));
}

void frm_main::bindCommands()
{
    // Each handler runs under the error box itself, so the list needs no guard of its own.
    const auto bind = [this](Command *command, void (frm_main::*handler)()) {
        command->setHandler([this, handler] { (this->*handler)(); });
    };
    const CommandList &list = *ActionList1;
    bind(list.ac_close, &frm_main::ac_closeExecute);
    bind(list.ac_begin, &frm_main::ac_beginExecute);
    bind(list.ac_suspend, &frm_main::ac_suspendExecute);
    bind(list.ac_Continue, &frm_main::ac_ContinueExecute);
    bind(list.ac_param, &frm_main::ac_paramExecute);
    bind(list.ac_readparam, &frm_main::ac_readparamExecute);
    bind(list.ac_full, &frm_main::ac_fullExecute);
    bind(list.ac_win, &frm_main::ac_winExecute);
    bind(list.ac_hide, &frm_main::ac_hideExecute);
    bind(list.ac_end, &frm_main::ac_endExecute);
    bind(list.ac_saveset, &frm_main::ac_savesetExecute);
    ActionList1->bindButton(RzBitBtn1, list.ac_saveset);
    ActionList1->bindButton(RzBitBtn2, list.ac_begin);

    m_keys->install(this);
    new SpinWheelRouter(this);
    m_contextMenu->watch(Label7);
    m_contextMenu->watch(Panel1);
    m_contextMenu->watch(MediaPlayer1);
    connect(m_display, &DisplayModes::changed, this, &frm_main::placeCornerPicture);
    connect(RxTrayIcon1, &TrayIcon::doubleClicked, this, &frm_main::ac_fullExecute);
    m_display->setTrayAvailable(RxTrayIcon1->isTrayAvailable());
    connect(RxTrayIcon1, &TrayIcon::trayAvailabilityChanged, m_display,
            &DisplayModes::setTrayAvailable);
    connect(RxTrayIcon1, &TrayIcon::trayAvailabilityChanged, this,
            [this] { TaskbarPresence::refresh(this); });
    connect(MediaPlayer1, &MediaPlayerBar::deviceError, this, &ErrorGuard::showError);
}

void frm_main::bindRemote()
{
    // The message line takes the display's colours and a third of its size.
    frameLayout()->insertWidget(frameLayout()->indexOf(Label7) + 1, m_messageLine);
    m_messageLine->setAlignment(Qt::AlignCenter);
    m_messageLine->setWordWrap(true);
    m_messageLine->setAutoFillBackground(true);
    m_messageLine->setBackgroundRole(QPalette::Window);
    m_messageLine->hide();
    RemoteControl *control = m_remote->control();
    connect(control, &RemoteControl::messageChanged, this, [this](const QString &text) {
        m_messageLine->setPalette(Label7->palette());
        QFont font = Label7->font();
        font.setPointSize(std::max(12, font.pointSize() / 3));
        m_messageLine->setFont(font);
        m_messageLine->setText(text);
        m_messageLine->setVisible(!text.isEmpty());
    });
    control->setHooks({
        .look =
            [this] {
                const QPalette palette = Label7->palette();
                return RemoteControl::Look{palette.color(QPalette::WindowText).name(),
                                           palette.color(QPalette::Window).name()};
            },
        .guarded = [](const std::function<void()> &command) { return guarded(command); },
        .displayMode =
            [this](const QString &mode) {
                if (mode == u"full")
                    ac_fullExecute();
                else if (mode == u"win")
                    ac_winExecute();
                else
                    ac_hideExecute();
            },
    });
}

void frm_main::FormCreate()
{
    m_settingsFilePath = pub_unit::settingsFilePath();
    placeCornerPicture();
}

void frm_main::applyStartUpSettings()
{
    // A failed apply still leaves the commands idle: pause and continue must not
    // run a countdown that was never started.
    guarded([this] { applySettings(); });
    showCommandStates(m_core->state());
}

using SettingsSchema::Key;

void frm_main::applySettings()
{
    const QString &file = m_settingsFilePath;
    RzSpinEdit1->setText(SettingsSchema::read(file, Key::shi));
    RzSpinEdit2->setText(SettingsSchema::read(file, Key::feng));
    RzSpinEdit3->setText(SettingsSchema::read(file, Key::miao));

    QPalette displayPalette = Label7->palette();
    displayPalette.setColor(QPalette::WindowText, SystemColors::toQColor(SettingsSchema::readColour(
                                                      file, Key::qiancolor)));
    Label7->setPalette(displayPalette);
    const std::int32_t background = SettingsSchema::readColour(file, Key::beicolor);
    displayPalette.setColor(QPalette::Window, SystemColors::toQColor(background));
    Label7->setPalette(displayPalette);

    setDisplayFontSize(SettingsSchema::readInteger(file, Key::fontsize));

    Panel1->setVisible(SettingsSchema::readBoolean(file, Key::showtop));

    applyPictureSettings();
    TEImage1->setBackgroundColor(SystemColors::toQColor(background));

    m_core->setAlarmLead(SettingsSchema::readInteger(file, Key::playtime));

    applySoundSettings();
    applyBigScreenSettings();
    applyStageSettings(SettingsSchema::readColour(file, Key::qiancolor), background);
    m_remote->apply(SettingsSchema::readBoolean(file, Key::remote),
                    SettingsSchema::readInteger(file, Key::remoteport));

    m_core->resetCounters();
}

void frm_main::applyStageSettings(std::int32_t digitColour, std::int32_t background)
{
    m_stageSettings = StageSettings::read(m_settingsFilePath);
    const StageSettings &s = m_stageSettings;
    const QColor digits = SystemColors::toQColor(digitColour);
    const QColor over =
        s.overColour == StageSettings::clDefault ? digits : SystemColors::toQColor(s.overColour);
    m_digitColours->setColours({digits, SystemColors::toQColor(s.warn1Colour),
                                SystemColors::toQColor(s.warn2Colour), over},
                               SystemColors::toQColor(background));
    m_digitColours->setBlinkBelowZero(s.overFlash);
    m_core->setWarnings(s.warn1, s.warn2);

    QPalette endPalette = m_endLine->palette();
    endPalette.setColor(QPalette::WindowText, digits);
    endPalette.setColor(QPalette::Window, SystemColors::toQColor(background));
    m_endLine->setPalette(endPalette);
    m_endLine->setText(s.endMode ? tr("结束于 %1").arg(EndTime::toText(s.endTime)) : QString());
    m_endLine->setVisible(s.showEnd);
    // The sound player was just closed: nothing plays to repeat.
    m_alarmLoop->disarm();
    updateScreenHold();
}

void frm_main::setDisplayFontSize(std::int32_t size)
{
    QFont displayFont = Label7->font();
    // Negative sizes are pixel heights; zero keeps the size the display has.
    if (size > 0)
        displayFont.setPointSize(int(std::min<std::int64_t>(size, largestFontSize)));
    else if (size < 0)
        displayFont.setPixelSize(int(std::min<std::int64_t>(-std::int64_t(size), largestFontSize)));
    Label7->setFont(displayFont);
}

void frm_main::applyPictureSettings()
{
    TEImage1->cancelTransition();
    m_icoPath = SettingsSchema::read(m_settingsFilePath, Key::ico);
    // Looked up and read on a worker thread; the old picture shows until the new one is in.
    switch (TEImage1->LoadFromFileIfExists(m_icoPath)) {
    case TTEImage::LoadResult::Loaded:
        TEImage1->setVisible(SettingsSchema::readBoolean(m_settingsFilePath, Key::showico));
        if (!Timer2->isActive()) // a running timer keeps its rhythm
            Timer2->start();
        break;
    case TTEImage::LoadResult::NoFile:
        TEImage1->hide();
        Timer2->stop();
        break;
    case TTEImage::LoadResult::Superseded:
        // A newer application of the settings ran while this one waited and decided.
        break;
    }
}

void frm_main::applySoundSettings()
{
    MediaPlayer1->applySoundFile(SettingsSchema::read(m_settingsFilePath, Key::mp3));
}

void frm_main::applyBigScreenSettings()
{
    m_bigScreen->setAutofit(SettingsSchema::readBoolean(m_settingsFilePath, Key::autofit));
    m_bigScreen->setMonitor(SettingsSchema::readInteger(m_settingsFilePath, Key::monitor));
}

void frm_main::placeCornerPicture()
{
    const QSize outer = frameGeometry().size();
    TEImage1->move(outer.width() - TEImage1->width() - cornerMargin,
                   outer.height() - TEImage1->height() - cornerMargin);
}

// Commands

void frm_main::ac_closeExecute()
{
    guarded([this] { close(); });
}

void frm_main::ac_beginExecute()
{
    guarded([this] { m_core->start(); });
}

void frm_main::ac_suspendExecute()
{
    guarded([this] { m_core->pause(); });
}

void frm_main::ac_ContinueExecute()
{
    guarded([this] { m_core->resume(); });
}

void frm_main::ac_endExecute()
{
    guarded([this] {
        if (m_core->end())
            m_alarmLoop->disarm();
    });
}

void frm_main::startQuickly(std::int32_t seconds)
{
    guarded([this, seconds] { m_core->startFor(seconds); });
}

void frm_main::ac_readparamExecute()
{
    guarded([this] { applySettings(); });
}

void frm_main::ac_paramExecute()
{
    guarded([this] {
        ParamCommand::run(*ActionList1->ac_param, *ActionList1->ac_readparam,
                          [this] { return std::make_unique<frm_param>(this); });
    });
}

void frm_main::ac_savesetExecute()
{
    guarded([this] {
        const auto confirm = [this] {
            return MessageBoxes::confirm(this, MessageBoxes::saveQuestion());
        };
        const auto write = [this](SettingsSchema::Key key, const QString &value) {
            SettingsSchema::write(m_settingsFilePath, key, value);
        };
        SaveDurationCommand::run({RzSpinEdit1->text(), RzSpinEdit2->text(), RzSpinEdit3->text()},
                                 confirm, write);
    });
}

void frm_main::ac_fullExecute()
{
    guarded([this] {
        m_bigScreen->prepareFullScreen();
        m_display->showFullScreen();
        PopupMenu1->N2->setChecked(true);
    });
}

void frm_main::ac_winExecute()
{
    guarded([this] {
        m_bigScreen->prepareWindowed();
        m_display->showWindowed();
    });
}

void frm_main::ac_hideExecute()
{
    guarded([this] { m_display->showHidden(); });
}

// The timer core

void frm_main::bindTimerCore()
{
    m_core->setHooks({
        .applySettings = [this] { applySettings(); },
        // Read through the fields, so that an empty one counts as the 0 it shows.
        .savedDuration =
            [this] {
                if (m_stageSettings.endMode)
                    return secondsToEndTime();
                return Countdown::totalSeconds(RzSpinEdit1->value(), RzSpinEdit2->value(),
                                               RzSpinEdit3->value());
            },
        .startAlarm =
            [this] {
                MediaPlayer1->startAlarm();
                if (m_stageSettings.alarmLoop)
                    m_alarmLoop->arm();
            },
        .showFinished = [this] { showFinished(); },
        .tickFailed =
            [](std::exception_ptr error) { guarded([&] { std::rethrow_exception(error); }); },
    });
    connect(m_core, &TimerCore::stateChanged, this, &frm_main::showCommandStates);
    connect(m_core, &TimerCore::countersChanged, this, &frm_main::showCounters);
    connect(m_core, &TimerCore::countersChanged, this, &frm_main::followTotal);
    connect(m_core, &TimerCore::displayChanged, this, &frm_main::showDisplay);
}

void frm_main::bindStageFeatures()
{
    connect(m_core, &TimerCore::colourStageChanged, m_digitColours, &DigitColours::setStage);
    connect(m_core, &TimerCore::stateChanged, this, &frm_main::followState);
    connect(m_core, &TimerCore::started, this, &frm_main::rememberStart);
    connect(m_notification, &DesktopNotification::activated, this, &frm_main::bringForward);
    m_quickStarts = new QuickStartMenu(
        PopupMenu1->menu(),
        {
            .presets = [this] { return SettingsSchema::read(m_settingsFilePath, Key::presets); },
            .recent = [this] { return SettingsSchema::read(m_settingsFilePath, Key::recent); },
            .canStart = [this] { return m_core->isAllowed(TimerCore::Command::Start); },
        },
        this);
    connect(m_quickStarts, &QuickStartMenu::chosen, this, &frm_main::startQuickly);
}

std::int32_t frm_main::secondsToEndTime()
{
    m_startingToEndTime = true;
    return EndTime::secondsUntil(m_stageSettings.endTime, QDateTime::currentDateTime());
}

void frm_main::rememberStart(std::int32_t total)
{
    const bool toEndTime = std::exchange(m_startingToEndTime, false);
    m_endLineTotal = total;
    if (!toEndTime) {
        showEndLine(total);
        if (total <= 0)
            return;
        // Written after the start has armed its timer. Remembering is a convenience: a
        // settings file that cannot be written does not stop the countdown, and the list
        // just stays as it was.
        QMetaObject::invokeMethod(
            this,
            [this, total] {
                try {
                    const QString stored = SettingsSchema::read(m_settingsFilePath, Key::recent);
                    const QString updated = QuickStarts::recentToText(
                        QuickStarts::recentAfterStart(QuickStarts::recentFromText(stored), total));
                    if (updated != stored)
                        SettingsSchema::write(m_settingsFilePath, Key::recent, updated);
                } catch (const TarvikError &) {
                }
            },
            Qt::QueuedConnection);
    }
}

void frm_main::showEndLine(std::int32_t remaining)
{
    // In the end mode the line names the end time, set with the settings.
    if (m_stageSettings.endMode)
        return;
    const QDateTime end = QDateTime::currentDateTime().addSecs(remaining);
    m_endLine->setText(tr("结束于 %1").arg(end.toString(QStringLiteral("HH:mm:ss"))));
}

void frm_main::followTotal()
{
    // Time added while counting (from the web remote) moves the end.
    if (m_core->state() == CountdownState::Idle || m_core->total() == m_endLineTotal)
        return;
    m_endLineTotal = m_core->total();
    // From the elapsed time: the remaining counter follows the total only after it.
    if (m_core->state() == CountdownState::Running)
        showEndLine(m_core->total() - m_core->elapsed());
}

void frm_main::followState(CountdownState state)
{
    const bool running = state == CountdownState::Running;
    // A pause moves the end by the time paused.
    if (running && m_lastState == CountdownState::Paused)
        showEndLine(m_core->remaining());
    m_lastState = state;
    m_digitColours->setRunning(running);
    updateScreenHold();
}

void frm_main::updateScreenHold()
{
    m_awake->setHeld(m_stageSettings.keepAwake &&
                     (m_core->state() == CountdownState::Running || m_finishShown));
}

void frm_main::bringForward()
{
    // Asked only to change its state, a window manager may keep a minimised window iconic
    // when another program had the user's last click: mapped anew, it comes back.
    if (isMinimized())
        hide();
    if (!isVisible() || isMinimized())
        ac_winExecute();
    raise();
    activateWindow();
}

void frm_main::showCommandStates(CountdownState state)
{
    const auto flags = CommandStates::enabledFlags(state);
    for (std::size_t i = 0; i < flags.size(); ++i)
        ActionList1->command(StateCommand(i))->setEnabled(flags[i]);
}

void frm_main::showCounters()
{
    RzNumericEdit1->showText(m_core->totalText());
    RzNumericEdit2->showText(m_core->elapsedText());
    RzNumericEdit3->showText(m_core->remainingText());
}

void frm_main::showFinished()
{
    m_finishShown = true;
    updateScreenHold();
    // Out of sight, the box alone may go unnoticed.
    const QString caption = tr("计时完成提醒");
    const QString text = tr("您好，您的计时时间已经完成，谢谢使用！");
    if (!isVisible() || isMinimized())
        m_notification->send(caption, text);
    const auto closed = qScopeGuard([this] {
        m_notification->withdraw();
        if (m_stageSettings.alarmLoop)
            m_alarmLoop->stop();
        m_finishShown = false;
        updateScreenHold();
    });
    MessageBoxes::Request message;
    message.owner = this;
    message.icon = QMessageBox::Information;
    message.caption = caption;
    message.text = text;
    message.buttons = QMessageBox::Ok;
    MessageBoxes::show(message);
}

bool frm_main::isCommandEnabled(StateCommand command) const
{
    return ActionList1->command(command)->isEnabled();
}

bool frm_main::isCountdownTimerRunning() const
{
    return m_core->state() == CountdownState::Running;
}

std::int32_t frm_main::alarmLead() const
{
    return m_core->alarmLead();
}

void frm_main::Timer1Timer()
{
    m_core->Timer1Timer();
}

void frm_main::Timer2Timer()
{
    guarded([this] { TEImage1->Timer2Timer(); });
}

// Events

void frm_main::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeCornerPicture();
}

void frm_main::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        placeCornerPicture();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !focusWidget())
        focusFirstTabStop();
}

QList<QWidget *> frm_main::panelTabOrder() const
{
    return {RzNumericEdit1, RzNumericEdit2, RzNumericEdit3, RzSpinEdit1, RzSpinEdit2,
            RzSpinEdit3,    RzBitBtn1,      MediaPlayer1,   RzBitBtn2};
}

void frm_main::focusFirstTabStop()
{
    // Qt's own choice follows the order the controls were made in, not the tab order.
    for (QWidget *control : panelTabOrder()) {
        if (control->isVisible() && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            control->setFocus(Qt::ActiveWindowFocusReason);
            return;
        }
    }
}

void frm_main::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // The program ends with this window, also when the tray's menu closes it while the
    // settings dialog or a message box is open: those close too, so that their waits end.
    QWidget *previous = nullptr;
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (modal == previous || modal == this)
            break;
        previous = modal;
        modal->close();
    }
    // The settings applied after the dialog closes may wait on a worker in a loop of their
    // own, where the application's automatic quit is lost: the program ends explicitly.
    if (event->isAccepted())
        m_awake->setHeld(false);
    if (event->isAccepted())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
}

void frm_main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    placeCornerPicture();
}

bool frm_main::eventFilter(QObject *watched, QEvent *event)
{
    // Queued from the first expose, the apply runs once that expose has been painted.
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed())
        QMetaObject::invokeMethod(this, &frm_main::applyAfterFirstPaint, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void frm_main::applyAfterFirstPaint()
{
    // Reached from the expose or from the fallback timer, whichever comes first.
    if (m_appliedAfterShow)
        return;
    m_appliedAfterShow = true;
    windowHandle()->removeEventFilter(this);
    applyStartUpSettings();
    emit startedUp();
}
