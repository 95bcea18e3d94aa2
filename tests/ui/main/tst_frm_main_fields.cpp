// SPDX-License-Identifier: GPL-3.0-or-later
#include "CounterField.h"
#include "MessageBoxes.h"
#include "SpinField.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

// The main window's panel, duration fields and picture timer as the user meets them.
class tst_frm_main_fields : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void totalCounterHasTheFocusAtFirstActivation();
    void wheelStepsTheFocusedFieldWhereverThePointerIs();
    void emptyDurationFieldShowsZeroOnceStarted();
    void negativeDurationFromTheFileStaysNegative();
    void tickKeepsTheSelectionInAnUnchangedCounter();
    void startKeepsThePictureTimersRhythm();
    void panelHasLoweredOuterAndRaisedInnerBevel();
    void closingEndsAnOpenDialog();

private:
    void write(const QString &key, const QString &value);
    std::unique_ptr<frm_main> createShownWindow();

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<MessageBoxes::Request> m_shown;
    std::chrono::nanoseconds m_now{5s};
};

void tst_frm_main_fields::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    pub_unit::setApplicationDirectoryForTesting(m_dir->path());
    m_shown.clear();
    MessageBoxes::setPresenterForTesting([this](const MessageBoxes::Request &request) {
        m_shown.append(request);
        return QMessageBox::Ok;
    });
}

void tst_frm_main_fields::cleanup()
{
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
    m_dir.reset();
}

void tst_frm_main_fields::write(const QString &key, const QString &value)
{
    pub_unit::writeKey(m_dir->filePath(QStringLiteral("config.dat")), QStringLiteral("SET"), key,
                       value);
}

std::unique_ptr<frm_main> tst_frm_main_fields::createShownWindow()
{
    auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    if (!QTest::qWaitFor([&window] { return window->isStartedUp(); }))
        return nullptr;
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

void tst_frm_main_fields::totalCounterHasTheFocusAtFirstActivation()
{
    const auto window = createShownWindow();
    QVERIFY(window);
    QTRY_COMPARE(QApplication::focusWidget(), window->RzNumericEdit1);
    QCOMPARE(window->focusWidget(), window->RzNumericEdit1);
}

void tst_frm_main_fields::wheelStepsTheFocusedFieldWhereverThePointerIs()
{
    const auto window = createShownWindow();
    QVERIFY(window);
    window->RzSpinEdit1->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), window->RzSpinEdit1);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("01"));

    const auto turn = [](QWidget *under, int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF local(under->width() / 2.0, under->height() / 2.0);
        QWheelEvent wheel(local, under->mapToGlobal(local), QPoint(),
                          QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(under, &wheel);
    };
    // Over another spin field, the display, a counter and the panel: the hours step.
    turn(window->RzSpinEdit2, 1, Qt::NoModifier);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("2"));
    turn(window->Label7, 1, Qt::NoModifier);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("3"));
    turn(window->RzNumericEdit1, -1, Qt::NoModifier);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("2"));
    turn(window->Panel1, 1, Qt::ControlModifier);
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("12"));
    QCOMPARE(window->RzSpinEdit2->text(), QStringLiteral("30"));

    // With no spin field focused the wheel steps nothing.
    window->RzNumericEdit2->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window->RzNumericEdit2);
    turn(window->RzSpinEdit2, 1, Qt::NoModifier);
    QCOMPARE(window->RzSpinEdit2->text(), QStringLiteral("30"));
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("12"));
}

void tst_frm_main_fields::emptyDurationFieldShowsZeroOnceStarted()
{
    write(QStringLiteral("shi"), QString());
    write(QStringLiteral("feng"), QStringLiteral("0"));
    write(QStringLiteral("miao"), QStringLiteral("7"));
    const auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));
    QCOMPARE(window->RzSpinEdit1->text(), QString());
    window->ac_beginExecute();
    QVERIFY(window->isCountdownTimerRunning());
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("7"));
    QCOMPARE(window->RzSpinEdit1->text(), QStringLiteral("0"));
    QCOMPARE(window->RzSpinEdit2->text(), QStringLiteral("0"));
    QCOMPARE(window->RzSpinEdit3->text(), QStringLiteral("7"));
}

void tst_frm_main_fields::negativeDurationFromTheFileStaysNegative()
{
    write(QStringLiteral("shi"), QStringLiteral("-596524"));
    write(QStringLiteral("feng"), QStringLiteral("0"));
    write(QStringLiteral("miao"), QStringLiteral("0"));
    const auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));
    window->ac_beginExecute();
    QCOMPARE(window->RzNumericEdit1->text(), QStringLiteral("-2147483648"));
    m_now += 2s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("2"));
    QCOMPARE(window->RzNumericEdit3->text(), QStringLiteral("-2147483648"));
    QVERIFY(window->Label7->text().startsWith(u'-'));
    QVERIFY(window->isCountdownTimerRunning());
}

void tst_frm_main_fields::tickKeepsTheSelectionInAnUnchangedCounter()
{
    write(QStringLiteral("shi"), QStringLiteral("0"));
    write(QStringLiteral("feng"), QStringLiteral("1"));
    write(QStringLiteral("miao"), QStringLiteral("0"));
    const auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));
    window->ac_beginExecute();
    window->RzNumericEdit1->selectAll();
    m_now += 1s;
    window->Timer1Timer();
    QCOMPARE(window->RzNumericEdit2->text(), QStringLiteral("1"));
    // The total did not change: the user's selection of it stays for copying.
    QCOMPARE(window->RzNumericEdit1->selectedText(), QStringLiteral("60"));
}

void tst_frm_main_fields::startKeepsThePictureTimersRhythm()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString path = m_dir->filePath(QStringLiteral("corner.bmp"));
    QVERIFY(picture.save(path));
    write(QStringLiteral("ico"), path);
    write(QStringLiteral("miao"), QStringLiteral("30"));

    const auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));
    QVERIFY(window->Timer2->isActive());
    // A precise timer, so that a coarse timer's rounding cannot hide a restart.
    window->Timer2->stop();
    window->Timer2->setTimerType(Qt::PreciseTimer);
    window->Timer2->start();
    const int atStart = window->Timer2->remainingTime();
    QVERIFY(atStart > 19000);
    // Let some of the period pass, then start: the period runs on instead of starting anew.
    QTRY_VERIFY(window->Timer2->remainingTime() < atStart - 300);
    window->ac_beginExecute();
    QVERIFY(window->isCountdownTimerRunning());
    QVERIFY(window->Timer2->isActive());
    QVERIFY2(window->Timer2->remainingTime() < atStart - 300,
             qPrintable(QString::number(window->Timer2->remainingTime())));

    // With the picture gone the next start switches the timer off.
    QVERIFY(QFile::remove(path));
    window->ac_endExecute();
    window->ac_beginExecute();
    QVERIFY(!window->Timer2->isActive());
}

void tst_frm_main_fields::panelHasLoweredOuterAndRaisedInnerBevel()
{
    const auto window = std::make_unique<frm_main>(nullptr, [this] { return m_now; });
    QVERIFY(QTest::qWaitFor([&window] { return window->isStartedUp(); }));
    window->resize(1000, 400);
    const QImage panel = window->Panel1->grab().toImage();
    const QString shadow = window->Panel1->palette().color(QPalette::Dark).name();
    const QString light = window->Panel1->palette().color(QPalette::Light).name();
    const auto at = [&panel](int x, int y) { return panel.pixelColor(x, y).name(); };
    QVERIFY(shadow != light);
    const int right = panel.width() - 1;
    const int bottom = panel.height() - 1;
    const int midX = panel.width() / 2;
    const int midY = panel.height() / 2;
    // Outer bevel lowered: shadow on the top and left, light on the bottom and right.
    QCOMPARE(at(midX, 0), shadow);
    QCOMPARE(at(0, midY), shadow);
    QCOMPARE(at(midX, bottom), light);
    QCOMPARE(at(right, midY), light);
    // Inner bevel raised: light on the top and left, shadow on the bottom and right.
    QCOMPARE(at(midX, 1), light);
    QCOMPARE(at(1, midY), light);
    QCOMPARE(at(midX, bottom - 1), shadow);
    QCOMPARE(at(right - 1, midY), shadow);
}

// 退出系统 chosen from the tray's menu while the settings dialog is open: the dialog's
// wait ends with the window, so that the program can end.
void tst_frm_main_fields::closingEndsAnOpenDialog()
{
    const auto window = createShownWindow();
    QVERIFY(window);
    QDialog dialog(window.get());
    QTimer::singleShot(0, window.get(), [&window] { window->ac_closeExecute(); });
    QTimer::singleShot(10000, &dialog, &QDialog::accept); // rather than wait forever
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(tst_frm_main_fields)
#include "tst_frm_main_fields.moc"
