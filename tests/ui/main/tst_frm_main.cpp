// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandList.h"
#include "CounterField.h"
#include "DigitColours.h"
#include "MediaPlayerBar.h"
#include "MessageBoxes.h"
#include "SpinField.h"
#include "TTEImage.h"
#include "TestSounds.h"
#include "TimerCore.h"
#include "TrayIcon.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

class tst_frm_main : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultsWithoutSettingsFile();
    void showFirstAppliesAfterTheFirstPaint();
    void layoutAndTabOrder();
    void cornerPicturePlacement();
    void settingsAreApplied();
    void failedApplyAtCreation_data();
    void failedApplyAtCreation();
    void failedApplyStopsTheStart();
    void unreadableFilesStopTheStart_data();
    void unreadableFilesStopTheStart();
    void countdownTicksAndFinishes();
    void lateTicksAreCaughtUpAndStopAtTheFinish();
    void pauseKeepsPendingTicksAndPausedTimeDoesNotCount();
    void startUsesTheSavedDuration();
    void alarmPlaysAtTheLeadUntilTheNextStart();
    void saveWritesTheDurationOnlyAfterOk();
    void keysButtonsAndTrayReachTheCommands();
    void warningColoursOnTheDisplay();
    void startsToTheEndTimeAndRemembersDurations();

private:
    void write(const QString &key, const QString &value);
    std::unique_ptr<frm_main> createWindow();
    int errorBoxes() const;
    int finishBoxes() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<MessageBoxes::Request> m_shown;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
    std::chrono::nanoseconds m_now{0};
};

void tst_frm_main::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    pub_unit::setApplicationDirectoryForTesting(m_dir->path());
    m_shown.clear();
    m_answer = QMessageBox::Ok;
    m_now = 5s;
    MessageBoxes::setPresenterForTesting([this](const MessageBoxes::Request &request) {
        m_shown.append(request);
        return m_answer;
    });
}

void tst_frm_main::cleanup()
{
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
    m_dir.reset();
}

void tst_frm_main::write(const QString &key, const QString &value)
{
    pub_unit::writeKey(m_dir->filePath(QStringLiteral("config.dat")), QStringLiteral("SET"), key,
                       value);
}

// Waits for the settings, which the window applies after its first paint.
std::unique_ptr<frm_main> tst_frm_main::createWindow()
{
    auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    if (!QTest::qWaitFor([&window] { return window->isStartedUp(); }))
        return nullptr;
    return window;
}

int tst_frm_main::errorBoxes() const
{
    return int(std::count_if(m_shown.cbegin(), m_shown.cend(),
                             [](const auto &box) { return box.icon == QMessageBox::Critical; }));
}

int tst_frm_main::finishBoxes() const
{
    return int(std::count_if(m_shown.cbegin(), m_shown.cend(), [](const auto &box) {
        return box.caption == QStringLiteral("计时完成提醒");
    }));
}

static void verifyIdle(const frm_main &window)
{
    QVERIFY(window.isCommandEnabled(StateCommand::Begin));
    QVERIFY(!window.isCommandEnabled(StateCommand::Suspend));
    QVERIFY(!window.isCommandEnabled(StateCommand::Continue));
    QVERIFY(!window.isCommandEnabled(StateCommand::End));
    QVERIFY(window.isCommandEnabled(StateCommand::Param));
    QVERIFY(window.isCommandEnabled(StateCommand::Full));
    QVERIFY(!window.isCountdownTimerRunning());
    QVERIFY(!window.Timer1->isActive());
    QVERIFY(window.RzBitBtn2->isEnabled());
}

// The program's window applies its settings only once shown, in the same steps: a failing
// step still gives its error box and leaves the commands idle; showing it again applies
// nothing more.
void tst_frm_main::showFirstAppliesAfterTheFirstPaint()
{
    write(QStringLiteral("shi"), QStringLiteral("2"));
    write(QStringLiteral("qiancolor"), QStringLiteral("clYellow"));
    write(QStringLiteral("beicolor"), QStringLiteral("no colour"));
    // The reference: a window whose settings are applied.
    const auto reference = createWindow();
    QVERIFY(reference);
    m_shown.clear();

    const auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    // Shown by its creation, with every control that showing it afterwards would show.
    QVERIFY(window->isVisible());
    const QList<QWidget *> shown{window->Panel1, window->Label7, window->TEImage1,
                                 window->RzSpinEdit1, window->Label6};
    for (QWidget *control : shown)
        QVERIFY2(control->isVisible(), control->metaObject()->className());
    QCOMPARE(m_shown.size(), 0);
    QVERIFY(window->RzSpinEdit1->text() != QStringLiteral("2"));

    // Laid out as the reference.
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->Panel1->geometry(), reference->Panel1->geometry());
    QCOMPARE(window->Label7->geometry(), reference->Label7->geometry());
    const auto panelChildren = [](const frm_main &w) {
        QList<QRect> rects;
        for (const QWidget *child : w.Panel1->findChildren<QWidget *>())
            rects.append(child->isVisible() ? child->geometry() : QRect());
        return rects;
    };
    QCOMPARE(panelChildren(*window), panelChildren(*reference));

    // Applied after the first paint, once, the steps before the failing one in order.
    QTRY_COMPARE(errorBoxes(), 1);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("2"));
    QCOMPARE(window->Label7->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    verifyIdle(*window);

    window->hide();
    window->show();
    QTest::qWait(20);
    QCOMPARE(errorBoxes(), 1);
}

void tst_frm_main::defaultsWithoutSettingsFile()
{
    const auto window = createWindow();
    QCOMPARE(m_shown.size(), 0);
    QCOMPARE(window->settingsFilePath(), m_dir->filePath(QStringLiteral("config.dat")));
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Tarvik倒计时计时器")));
    QVERIFY(window->windowState() & Qt::WindowMaximized);

    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:00"));
    QCOMPARE(window->Label7->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(window->Label7->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(window->Label7->font().pointSize(), 72);
    QVERIFY(window->Label7->font().bold());
    QVERIFY(window->Label7->autoFillBackground());
    QCOMPARE(window->Label7->alignment(), Qt::AlignCenter);

    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("01"));
    QCOMPARE(window->RzSpinEdit2->text(), QStringLiteral("30"));
    QCOMPARE(window->RzSpinEdit3->text(), QStringLiteral("00"));
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("00"));
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("00"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("00"));

    QVERIFY(window->Panel1->isVisibleTo(window.get()));
    QVERIFY(!window->TEImage1->isVisibleTo(window.get()));
    QVERIFY(!window->Timer2->isActive());
    QCOMPARE(window->alarmLead(), 0);
    verifyIdle(*window);
    QCOMPARE(window->RzBitBtn2->text(), QStringLiteral("开始计时"));
    QCOMPARE(window->RzBitBtn1->text(), QStringLiteral("保存设置"));
}

void tst_frm_main::layoutAndTabOrder()
{
    const auto window = createWindow();
    QCOMPARE(window->Panel1->height(), 58);
    QCOMPARE(window->RzGroupBox1->geometry(), QRect(8, 4, 356, 47));
    QCOMPARE(window->RzGroupBox1->title(), QStringLiteral("计时时长设置"));
    QCOMPARE(window->RzSpinEdit1->geometry(), QRect(24, 18, 47, 21));
    QCOMPARE(window->RzSpinEdit2->geometry(), QRect(104, 18, 54, 21));
    QCOMPARE(window->RzSpinEdit3->geometry(), QRect(190, 18, 47, 21));
    QCOMPARE(window->RzSpinEdit1->maximum(), 99);
    QCOMPARE(window->RzSpinEdit2->maximum(), 59);
    QCOMPARE(window->RzSpinEdit3->maximum(), 59);
    QCOMPARE(window->RzNumericEdit1->geometry(), QRect(515, 20, 67, 21));
    QCOMPARE(window->RzNumericEdit2->geometry(), QRect(653, 20, 72, 21));
    QCOMPARE(window->RzNumericEdit3->geometry(), QRect(800, 20, 69, 21));
    QCOMPARE(window->MediaPlayer1->geometry(), QRect(896, 16, 85, 30));
    QCOMPARE(window->RzBitBtn2->pos(), QPoint(371, 18));
    QCOMPARE(window->TEImage1->size(), QSize(131, 127));

    // The display fills the client area below the panel, and all of it when the panel is hidden.
    window->resize(900, 500);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->Label7->geometry(), QRect(0, 58, window->width(), window->height() - 58));

    const QList<QWidget *> order{
        window->RzNumericEdit1, window->RzNumericEdit2, window->RzNumericEdit3, window->RzSpinEdit1,
        window->RzSpinEdit2,    window->RzSpinEdit3,    window->RzBitBtn1,      window->RzBitBtn2};
    window->RzNumericEdit1->setFocus();
    for (QWidget *expected : order) {
        QTRY_COMPARE(QApplication::focusWidget(), expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void tst_frm_main::cornerPicturePlacement()
{
    const auto window = createWindow();
    window->setWindowState(Qt::WindowNoState);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const auto expected = [&window] {
        const QSize outer = window->frameGeometry().size();
        return QPoint(outer.width() - 131 - 50, outer.height() - 127 - 50);
    };
    window->resize(800, 600);
    QTRY_COMPARE(window->size(), QSize(800, 600));
    QCOMPARE(window->TEImage1->pos(), expected());
    window->resize(640, 480);
    QTRY_COMPARE(window->size(), QSize(640, 480));
    QCOMPARE(window->TEImage1->pos(), expected());
    window->setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(window->width() > 640);
    QCOMPARE(window->TEImage1->pos(), expected());
}

void tst_frm_main::settingsAreApplied()
{
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString picturePath = m_dir->filePath(QStringLiteral("corner.bmp"));
    QVERIFY(picture.save(picturePath));

    write(QStringLiteral("shi"), QStringLiteral("2"));
    write(QStringLiteral("feng"), QStringLiteral("5"));
    write(QStringLiteral("miao"), QStringLiteral("abc"));
    write(QStringLiteral("qiancolor"), QStringLiteral("clYellow"));
    write(QStringLiteral("beicolor"), QStringLiteral("$00804020"));
    write(QStringLiteral("fontsize"), QStringLiteral("40"));
    write(QStringLiteral("showtop"), QStringLiteral("0"));
    write(QStringLiteral("ico"), picturePath);
    write(QStringLiteral("showico"), QStringLiteral("False"));
    write(QStringLiteral("playtime"), QStringLiteral("12"));
    const auto window = createWindow();

    QCOMPARE(m_shown.size(), 0);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("2"));
    QCOMPARE(window->RzSpinEdit2->text(), QStringLiteral("5"));
    QCOMPARE(window->RzSpinEdit3->text(), QStringLiteral("abc"));
    QCOMPARE(window->Label7->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QCOMPARE(window->Label7->palette().color(QPalette::Window), QColor(0x20, 0x40, 0x80));
    QCOMPARE(window->Label7->font().pointSize(), 40);
    QVERIFY(!window->Panel1->isVisibleTo(window.get()));
    // An existing picture with showico false: loaded, timer on, but hidden.
    QCOMPARE(window->cornerPicturePath(), picturePath);
    QVERIFY(window->Timer2->isActive());
    QCOMPARE(window->Timer2->interval(), 20000);
    QVERIFY(!window->TEImage1->isVisibleTo(window.get()));
    QCOMPARE(window->TEImage1->backgroundColor(), QColor(0x20, 0x40, 0x80));
    QCOMPARE(window->alarmLead(), 12);

    // A path that names no file hides the picture and stops its timer, whatever showico says.
    write(QStringLiteral("showico"), QStringLiteral("true"));
    write(QStringLiteral("ico"), m_dir->filePath(QStringLiteral("missing.jpg")));
    window->ac_readparamExecute();
    QVERIFY(!window->Timer2->isActive());
    QVERIFY(!window->TEImage1->isVisibleTo(window.get()));

    // Integers never fail; system colours take the desktop's palette.
    write(QStringLiteral("fontsize"), QStringLiteral("big"));
    write(QStringLiteral("playtime"), QStringLiteral("soon"));
    write(QStringLiteral("beicolor"), QStringLiteral("clBtnFace"));
    window->ac_readparamExecute();
    QCOMPARE(m_shown.size(), 0);
    QCOMPARE(window->Label7->font().pointSize(), 72);
    QCOMPARE(window->alarmLead(), 0);
    QCOMPARE(window->Label7->palette().color(QPalette::Window),
             QGuiApplication::palette().color(QPalette::Active, QPalette::Button));

    // Absurd sizes stay drawable.
    write(QStringLiteral("fontsize"), QStringLiteral("2000000000"));
    window->ac_readparamExecute();
    QVERIFY(window->Label7->font().pointSize() <= 2000);
    write(QStringLiteral("fontsize"), QStringLiteral("-2147483648"));
    window->ac_readparamExecute();
    QVERIFY(window->Label7->font().pixelSize() > 0);
}

void tst_frm_main::failedApplyAtCreation_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("foregroundApplied");
    QTest::addColumn<bool>("fontApplied");

    QTest::newRow("foreground colour")
        << "qiancolor"
        << "reddish"
        << "'reddish' is not a valid integer value." << false << false;
    QTest::newRow("background colour") << "beicolor"
                                       << "$XYZ"
                                       << "'$XYZ' is not a valid integer value." << true << false;
    QTest::newRow("top panel") << "showtop"
                               << "yes"
                               << "'yes' is not a valid boolean value." << true << true;
}

void tst_frm_main::failedApplyAtCreation()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(bool, foregroundApplied);
    QFETCH(bool, fontApplied);

    write(QStringLiteral("shi"), QStringLiteral("3"));
    write(QStringLiteral("qiancolor"), QStringLiteral("clLime"));
    write(QStringLiteral("fontsize"), QStringLiteral("30"));
    write(QStringLiteral("playtime"), QStringLiteral("7"));
    write(key, value);
    const auto window = createWindow();

    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown.first().text, message);
    QCOMPARE(m_shown.first().caption, QStringLiteral("Tarvik倒计时计时器"));
    // The steps before the failing one are applied, the later ones are not.
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("3"));
    QCOMPARE(window->Label7->palette().color(QPalette::WindowText) == QColor(Qt::green),
             foregroundApplied);
    QCOMPARE(window->Label7->font().pointSize() == 30, fontApplied);
    QCOMPARE(window->alarmLead(), 0);
    QVERIFY(window->RzNumericEdit1->text().isEmpty());
    // The commands are idle all the same: pause and continue cannot run a countdown.
    verifyIdle(*window);
    window->ac_ContinueExecute();
    QVERIFY(!window->isCommandEnabled(StateCommand::Continue) ||
            !window->isCountdownTimerRunning());
}

void tst_frm_main::failedApplyStopsTheStart()
{
    write(QStringLiteral("shi"), QStringLiteral("0"));
    write(QStringLiteral("feng"), QStringLiteral("0"));
    write(QStringLiteral("miao"), QStringLiteral("5"));
    const auto window = createWindow();
    write(QStringLiteral("showtop"), QStringLiteral("perhaps"));
    window->ac_beginExecute();
    QCOMPARE(errorBoxes(), 1);
    QCOMPARE(m_shown.first().text, QStringLiteral("'perhaps' is not a valid boolean value."));
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("00"));
    verifyIdle(*window);

    write(QStringLiteral("showtop"), QStringLiteral("true"));
    window->ac_beginExecute();
    QCOMPARE(errorBoxes(), 1);
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("5"));
    QVERIFY(window->isCountdownTimerRunning());
}

void tst_frm_main::unreadableFilesStopTheStart_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("alarmLead");
    QTest::newRow("picture") << "ico"
                             << "broken.jpg" << 0;
    QTest::newRow("sound") << "mp3"
                           << "broken.mp3" << 9;
}

void tst_frm_main::unreadableFilesStopTheStart()
{
    QFETCH(QString, key);
    QFETCH(QString, fileName);
    QFETCH(int, alarmLead);

    QFile broken(m_dir->filePath(fileName));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(4096, 'x'));
    broken.close();
    write(QStringLiteral("miao"), QStringLiteral("5"));
    write(QStringLiteral("playtime"), QStringLiteral("9"));
    write(key, broken.fileName());
    const auto window = std::make_unique<frm_main>(
        nullptr, [this] { return m_now; }, QByteArrayLiteral("fakesink sync=true"));
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));

    QCOMPARE(errorBoxes(), 1);
    QCOMPARE(window->alarmLead(), alarmLead);
    QVERIFY(window->RzNumericEdit1->text().isEmpty());
    verifyIdle(*window);

    window->ac_beginExecute();
    QCOMPARE(errorBoxes(), 2);
    QVERIFY(window->RzNumericEdit1->text().isEmpty());
    verifyIdle(*window);
}

void tst_frm_main::countdownTicksAndFinishes()
{
    write(QStringLiteral("shi"), QStringLiteral("00"));
    write(QStringLiteral("feng"), QStringLiteral("00"));
    write(QStringLiteral("miao"), QStringLiteral("03"));
    const auto window = createWindow();
    window->show();

    QTest::mouseClick(window->RzBitBtn2, Qt::LeftButton);
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("3"));
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("00"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("3"));
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:00"));
    QVERIFY(window->Timer1->isActive());
    QVERIFY(window->Timer1->isSingleShot());
    QCOMPARE(window->Timer1->timerType(), Qt::PreciseTimer);
    QCOMPARE(window->Timer1->interval(), 1000);
    QVERIFY(!window->RzBitBtn2->isEnabled());
    QVERIFY(window->isCommandEnabled(StateCommand::Suspend));
    QVERIFY(window->isCommandEnabled(StateCommand::End));
    QVERIFY(!window->isCommandEnabled(StateCommand::Param));

    // Nothing is due before a whole second of running time.
    m_now += 999ms;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("00"));
    QVERIFY(window->Timer1->interval() <= 1);

    m_now += 1ms;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("1"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("2"));
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:02"));
    QVERIFY(window->Timer1->isActive());

    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:01"));
    QCOMPARE(finishBoxes(), 0);

    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:00"));
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("3"));
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("3"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("0"));
    QCOMPARE(finishBoxes(), 1);
    const MessageBoxes::Request &box = m_shown.last();
    QCOMPARE(box.owner, window.get());
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.text, QStringLiteral("您好，您的计时时间已经完成，谢谢使用！"));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    verifyIdle(*window);
    QVERIFY(window->RzBitBtn2->isEnabled());
}

void tst_frm_main::lateTicksAreCaughtUpAndStopAtTheFinish()
{
    write(QStringLiteral("shi"), QStringLiteral("0"));
    write(QStringLiteral("feng"), QStringLiteral("0"));
    write(QStringLiteral("miao"), QStringLiteral("10"));
    const auto window = createWindow();
    window->ac_beginExecute();

    // The thread was busy for four and a half seconds: four ticks run at once.
    m_now += 4500ms;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("4"));
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:06"));
    // The next tick falls due on the next whole second, not a full period later.
    QVERIFY(window->Timer1->interval() <= 500);

    // A long sleep: the ticks stop at the finish, which is shown once.
    m_now += 1h;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("10"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("0"));
    QCOMPARE(finishBoxes(), 1);
    verifyIdle(*window);
}

void tst_frm_main::pauseKeepsPendingTicksAndPausedTimeDoesNotCount()
{
    write(QStringLiteral("shi"), QStringLiteral("0"));
    write(QStringLiteral("feng"), QStringLiteral("1"));
    write(QStringLiteral("miao"), QStringLiteral("0"));
    const auto window = createWindow();
    window->ac_beginExecute();

    // The user pauses while three ticks are due: the first tick lets the pause run.
    QTimer::singleShot(0, window.get(), [&window] { window->ac_suspendExecute(); });
    m_now += 3s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("1"));
    QVERIFY(!window->isCountdownTimerRunning());
    QVERIFY(!window->Timer1->isActive());
    QVERIFY(window->isCommandEnabled(StateCommand::Continue));

    // Time spent paused does not count; the two ticks that were due are not lost.
    m_now += 1min;
    window->ac_ContinueExecute();
    QTRY_COMPARE(window->RzNumericEdit2->text(), QStringLiteral("3"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("57"));
    QVERIFY(window->Timer1->isActive());
    QVERIFY(window->Timer1->interval() > 900);

    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("4"));

    window->ac_endExecute();
    verifyIdle(*window);
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:56"));
}

void tst_frm_main::startUsesTheSavedDuration()
{
    write(QStringLiteral("shi"), QStringLiteral("1"));
    write(QStringLiteral("feng"), QStringLiteral("30"));
    write(QStringLiteral("miao"), QStringLiteral("0"));
    const auto window = createWindow();
    window->RzSpinEdit2->setText(QStringLiteral("10"));
    window->ac_beginExecute();
    QCOMPARE(window->RzSpinEdit2->text(), QStringLiteral("30"));
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("5400"));
    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("1"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("5399"));
    QCOMPARE(window->Label7->text(), QStringLiteral("01:29:59"));

    // Ending keeps the display; the next start shows zero again before its first tick.
    window->ac_endExecute();
    QCOMPARE(window->Label7->text(), QStringLiteral("01:29:59"));
    window->ac_beginExecute();
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:00"));
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("00"));
    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("1"));
}

void tst_frm_main::alarmPlaysAtTheLeadUntilTheNextStart()
{
    const QString sound = TestSounds::makeMp3(QDir(m_dir->path()), QStringLiteral("alarm.mp3"), 50);
    QVERIFY(!sound.isEmpty());
    write(QStringLiteral("shi"), QStringLiteral("0"));
    write(QStringLiteral("feng"), QStringLiteral("0"));
    write(QStringLiteral("miao"), QStringLiteral("4"));
    write(QStringLiteral("playtime"), QStringLiteral("2"));
    write(QStringLiteral("mp3"), sound);
    const auto window = std::make_unique<frm_main>(
        nullptr, [this] { return m_now; }, TestSounds::fakeSink());
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));
    QCOMPARE(m_shown.size(), 0);
    QVERIFY(window->MediaPlayer1->isVisibleTo(window.get()));
    MediaPlayer *const player = window->MediaPlayer1->player();
    QVERIFY(player->isOpen());

    window->ac_beginExecute();
    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("3"));
    QVERIFY(player->mode() != MediaMode::Playing);

    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("2"));
    QTRY_COMPARE(player->mode(), MediaMode::Playing);

    // Ending the countdown leaves the sound playing; the next start stops it.
    window->ac_endExecute();
    QCOMPARE(player->mode(), MediaMode::Playing);
    window->ac_beginExecute();
    QVERIFY(player->mode() != MediaMode::Playing);
    QCOMPARE(m_shown.size(), 0);
}

void tst_frm_main::saveWritesTheDurationOnlyAfterOk()
{
    const auto window = createWindow();
    const QString config = m_dir->filePath(QStringLiteral("config.dat"));
    window->RzSpinEdit1->setText(QStringLiteral("2"));
    window->RzSpinEdit2->setText(QStringLiteral("15"));
    window->RzSpinEdit3->setText(QStringLiteral("07"));

    m_answer = QMessageBox::Cancel;
    window->ac_savesetExecute();
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown.first().caption, QStringLiteral("确认"));
    QCOMPARE(m_shown.first().text, QStringLiteral("保存当前参数设置，请确认？"));
    QCOMPARE(m_shown.first().icon, QMessageBox::Question);
    QVERIFY(!QFile::exists(config));

    m_answer = QMessageBox::Ok;
    window->ac_savesetExecute();
    const auto read = [&config](const char *key) {
        return pub_unit::readKey(config, QStringLiteral("SET"), QString::fromLatin1(key), {});
    };
    QCOMPARE(read("shi"), QStringLiteral("2"));
    QCOMPARE(read("feng"), QStringLiteral("15"));
    QCOMPARE(read("miao"), QStringLiteral("07"));
}

void tst_frm_main::keysButtonsAndTrayReachTheCommands()
{
    write(QStringLiteral("miao"), QStringLiteral("5"));
    const auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWindow *const handle = window->windowHandle();

    QTest::keyClick(handle, Qt::Key_F4);
    QVERIFY(window->isCountdownTimerRunning());
    QTest::keyClick(handle, Qt::Key_F4); // disabled while running: nothing happens
    QVERIFY(window->isCountdownTimerRunning());
    QTest::keyClick(handle, Qt::Key_F5);
    QVERIFY(!window->isCountdownTimerRunning());
    QVERIFY(window->isCommandEnabled(StateCommand::Continue));
    QTest::keyClick(handle, Qt::Key_F6);
    QVERIFY(window->isCountdownTimerRunning());
    QTest::keyClick(handle, Qt::Key_F7);
    verifyIdle(*window);

    // An error from a button's command is shown once, and the program goes on.
    write(QStringLiteral("qiancolor"), QStringLiteral("bright"));
    QTest::mouseClick(window->RzBitBtn2, Qt::LeftButton);
    QCOMPARE(errorBoxes(), 1);
    QCOMPARE(m_shown.last().text, QStringLiteral("'bright' is not a valid integer value."));
    verifyIdle(*window);

    // The tray's double click switches to full screen.
    emit window->RxTrayIcon1->doubleClicked();
    QTRY_VERIFY(window->windowState() & Qt::WindowFullScreen);
}

void tst_frm_main::warningColoursOnTheDisplay()
{
    write(QStringLiteral("warn1"), QStringLiteral("3"));
    write(QStringLiteral("warn2"), QStringLiteral("1"));
    write(QStringLiteral("overcolor"), QStringLiteral("clAqua"));
    write(QStringLiteral("overflash"), QStringLiteral("True"));
    const auto window = createWindow();
    const auto digits = [&window] {
        return window->Label7->palette().color(QPalette::WindowText);
    };
    const auto tick = [this, &window] {
        m_now += 1s;
        window->Timer1Timer();
    };
    QCOMPARE(digits(), QColor(Qt::red));
    window->startQuickly(4);
    QCOMPARE(digits(), QColor(Qt::red));
    tick();
    QCOMPARE(window->Label7->text(), QStringLiteral("00:00:03"));
    QCOMPARE(digits(), QColor(Qt::yellow));
    tick();
    tick();
    QCOMPARE(digits(), QColor(Qt::red));
    QVERIFY(!window->digitColours()->isBlinking());

    // Below zero: the colour of its own, blinking while the countdown runs.
    window->ac_endExecute();
    window->startQuickly(0);
    QVERIFY(!window->digitColours()->isBlinking());
    tick();
    QCOMPARE(digits(), QColor(Qt::cyan));
    QVERIFY(window->digitColours()->isBlinking());
    QTRY_VERIFY(!window->digitColours()->digitsShown());
    QCOMPARE(digits(), QColor(Qt::black));
    window->ac_endExecute();
    QVERIFY(!window->digitColours()->isBlinking());
    QCOMPARE(digits(), QColor(Qt::cyan));
    // The next start applies the settings: the digit colour again.
    window->ac_beginExecute();
    QCOMPARE(digits(), QColor(Qt::red));
}

void tst_frm_main::startsToTheEndTimeAndRemembersDurations()
{
    write(QStringLiteral("shi"), QStringLiteral("0"));
    write(QStringLiteral("feng"), QStringLiteral("0"));
    write(QStringLiteral("miao"), QStringLiteral("5"));
    const QString config = m_dir->filePath(QStringLiteral("config.dat"));
    const auto recent = [&config] {
        return pub_unit::readKey(config, QStringLiteral("SET"), QStringLiteral("recent"), {});
    };
    const auto window = createWindow();
    window->ac_beginExecute();
    QTRY_COMPARE(recent(), QStringLiteral("5"));
    window->ac_endExecute();
    window->startQuickly(120);
    QCOMPARE(window->timerCore()->total(), 120);
    QTRY_COMPARE(recent(), QStringLiteral("120,5"));
    // Time added while counting (the web remote's +1 minute) moves the end line with it.
    const auto endShown = [&window] {
        return QTime::fromString(window->endLine()->text().mid(4), QStringLiteral("HH:mm:ss"));
    };
    const QTime endBefore = endShown();
    QVERIFY(window->timerCore()->addSeconds(60));
    const int moved = endBefore.secsTo(endShown());
    QVERIFY2(moved >= 59 && moved <= 61, qPrintable(QString::number(moved)));
    window->ac_endExecute();

    // To the end time: the seconds until it, and nothing remembered.
    const QTime end = QTime::currentTime().addSecs(300);
    write(QStringLiteral("endmode"), QStringLiteral("-1"));
    write(QStringLiteral("endtime"), end.toString(QStringLiteral("HH:mm")));
    window->ac_beginExecute();
    const std::int32_t total = window->timerCore()->total();
    QVERIFY2(total > 240 && total <= 300, qPrintable(QString::number(total)));
    QCOMPARE(window->endLine()->text(),
             QStringLiteral("结束于 ") + end.toString(QStringLiteral("HH:mm")));
    window->ac_endExecute();
    window->startQuickly(60); // a quick start ignores the end time, and is remembered
    QCOMPARE(window->timerCore()->total(), 60);
    QTRY_COMPARE(recent(), QStringLiteral("60,120,5"));
    window->ac_endExecute();

    // An end time that is not HH:MM stops the start in that mode.
    write(QStringLiteral("endtime"), QStringLiteral("25:00"));
    window->ac_beginExecute();
    QCOMPARE(errorBoxes(), 1);
    QCOMPARE(m_shown.last().text, QStringLiteral("'25:00' is not a valid time."));
    verifyIdle(*window);
}

QTEST_MAIN(tst_frm_main)
#include "tst_frm_main.moc"
