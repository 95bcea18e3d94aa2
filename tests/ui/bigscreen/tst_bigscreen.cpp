// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitFit.h"
#include "FontSizePicker.h"
#include "MessageBoxes.h"
#include "SpinField.h"
#include "TTEImage.h"
#include "TrayIcon.h"
#include "frm_main.h"
#include "frm_param.h"
#include "pub_unit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <qpa/qplatformscreen.h>
#include <qpa/qwindowsysteminterface.h>

#include <memory>

namespace {

// A monitor plugged in beside the offscreen platform's own, and unplugged again.
class FakeMonitor : public QPlatformScreen
{
public:
    FakeMonitor(const QRect &geometry, const QString &name)
        : m_geometry(geometry)
        , m_name(name)
    {}
    QRect geometry() const override { return m_geometry; }
    int depth() const override { return 32; }
    QImage::Format format() const override { return QImage::Format_RGB32; }
    QString name() const override { return m_name; }

private:
    QRect m_geometry;
    QString m_name;
};

} // namespace

class tst_BigScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void autofitFollowsTheDisplayArea();
    void autofitLetsTheWindowShrinkAndOffRestoresTheFontSize();
    void windowKeepsTheScreensSizeWhateverTheFontSize_data();
    void windowKeepsTheScreensSizeWhateverTheFontSize();
    void fullScreenOnTheChosenMonitorAndBack();
    void framedPlaceKeptAcrossAHide();
    void missingMonitorMeansTheWindowsOwn();
    void unpluggedMonitorHandsTheWindowBack();
    void dialogRowKeepsEveryOtherControlInPlace();
    void dialogLoadsAndSavesTheNewKeys();
    void dialogListsTheMonitorsAndKeepsAnAbsentOne();

private:
    void write(const QString &key, const QString &value);
    QString read(const QString &key) const;
    QScreen *plugIn(const QRect &geometry, const QString &name);
    void unplug();
    static int fittedSize(const QLabel *display);

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeMonitor *m_monitor = nullptr;
};

void tst_BigScreen::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    pub_unit::setApplicationDirectoryForTesting(m_dir->path());
    MessageBoxes::setPresenterForTesting(
        [](const MessageBoxes::Request &) { return QMessageBox::Ok; });
    write(QStringLiteral("mp3"), QString());
}

void tst_BigScreen::cleanup()
{
    unplug();
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
    m_dir.reset();
}

void tst_BigScreen::write(const QString &key, const QString &value)
{
    pub_unit::writeKey(m_dir->filePath(QStringLiteral("config.dat")), QStringLiteral("SET"), key,
                       value);
}

QString tst_BigScreen::read(const QString &key) const
{
    return pub_unit::readKey(m_dir->filePath(QStringLiteral("config.dat")), QStringLiteral("SET"),
                             key, QStringLiteral("(none)"));
}

QScreen *tst_BigScreen::plugIn(const QRect &geometry, const QString &name)
{
    m_monitor = new FakeMonitor(geometry, name);
    QWindowSystemInterface::handleScreenAdded(m_monitor); // takes it over
    return QGuiApplication::screens().constLast();
}

void tst_BigScreen::unplug()
{
    if (!m_monitor)
        return;
    QWindowSystemInterface::handleScreenRemoved(std::exchange(m_monitor, nullptr));
}

int tst_BigScreen::fittedSize(const QLabel *display)
{
    return DigitFit::largestFittingPixelSize(display->font(), QStringLiteral("00:00:00"),
                                             display->contentsRect().size());
}

void tst_BigScreen::autofitFollowsTheDisplayArea()
{
    write(QStringLiteral("autofit"), QStringLiteral("-1"));
    write(QStringLiteral("fontsize"), QStringLiteral("30"));
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.setWindowState(Qt::WindowNoState);
    window.resize(700, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLabel *const display = window.Label7;

    QTRY_COMPARE(display->font().pixelSize(), fittedSize(display));
    const int small = display->font().pixelSize();
    QVERIFY(small > 60); // far above 30 points

    window.resize(1400, 800);
    QTRY_COMPARE(display->font().pixelSize(), fittedSize(display));
    QVERIFY(display->font().pixelSize() > small);

    // The top panel goes: the display grows in height and the font is fitted again.
    window.resize(1400, 300);
    QTRY_COMPARE(display->font().pixelSize(), fittedSize(display));
    const int withPanel = display->font().pixelSize();
    write(QStringLiteral("showtop"), QStringLiteral("0"));
    window.ac_readparamExecute();
    QTRY_COMPARE(display->height(), 300);
    QTRY_COMPARE(display->font().pixelSize(), fittedSize(display));
    QVERIFY(display->font().pixelSize() > withPanel); // height-bound at 1400 x 300

    // Counting changes the text only.
    const QFont before = display->font();
    window.Label7->setText(QStringLiteral("01:29:59"));
    QCOMPARE(display->font(), before);
    // The chosen size stays in the file for when autofit is off again.
    QCOMPARE(read(QStringLiteral("fontsize")), QStringLiteral("30"));
}

void tst_BigScreen::autofitLetsTheWindowShrinkAndOffRestoresTheFontSize()
{
    write(QStringLiteral("autofit"), QStringLiteral("true"));
    write(QStringLiteral("fontsize"), QStringLiteral("40"));
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.setWindowState(Qt::WindowNoState);
    window.resize(1200, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.Label7->font().pixelSize(), fittedSize(window.Label7));

    // A fitted font must not hold the window at its size.
    window.resize(400, 250);
    QTRY_COMPARE(window.width(), 400);
    QTRY_COMPARE(window.Label7->width(), 400);
    QTRY_COMPARE(window.Label7->font().pixelSize(), fittedSize(window.Label7));

    write(QStringLiteral("autofit"), QStringLiteral("0"));
    window.ac_readparamExecute();
    QCOMPARE(window.Label7->font().pointSize(), 40);
    window.resize(900, 500);
    QTRY_COMPARE(window.Label7->width(), 900);
    QCOMPARE(window.Label7->font().pointSize(), 40);
}

void tst_BigScreen::windowKeepsTheScreensSizeWhateverTheFontSize_data()
{
    QTest::addColumn<QString>("fontsize");
    QTest::addColumn<QString>("autofit");
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("72, maximised") << "72"
                                   << "0" << false;
    QTest::newRow("300, maximised") << "300"
                                    << "0" << false;
    QTest::newRow("999999999, maximised") << "999999999"
                                          << "0" << false;
    QTest::newRow("999999999, full screen") << "999999999"
                                            << "0" << true;
    QTest::newRow("999999999, autofit, full screen") << "999999999"
                                                     << "-1" << true;
    QTest::newRow("-999999999 pixels, maximised") << "-999999999"
                                                  << "0" << false;
}

void tst_BigScreen::windowKeepsTheScreensSizeWhateverTheFontSize()
{
    QFETCH(QString, fontsize);
    QFETCH(QString, autofit);
    QFETCH(bool, fullScreen);
    write(QStringLiteral("fontsize"), fontsize);
    write(QStringLiteral("autofit"), autofit);
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (fullScreen)
        window.ac_fullExecute();
    QScreen *const screen = window.screen();
    const QRect area = fullScreen ? screen->geometry() : screen->availableGeometry();
    // The display's size comes from the window: the digits are clipped, not the window grown.
    QTRY_COMPARE(window.frameGeometry(), area);
    QVERIFY(window.minimumSizeHint().width() <= area.width());
    QVERIFY(window.minimumSizeHint().height() <= area.height());
    QVERIFY(window.Label7->width() <= area.width());
}

void tst_BigScreen::fullScreenOnTheChosenMonitorAndBack()
{
    QScreen *const home = QGuiApplication::primaryScreen();
    QScreen *const second =
        plugIn(QRect(home->geometry().right() + 1, 0, 1920, 1080), QStringLiteral("HDMI-1"));
    write(QStringLiteral("monitor"), QStringLiteral("2"));
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.screen(), home);

    window.ac_fullExecute();
    QTRY_COMPARE(window.screen(), second);
    QTRY_COMPARE(window.geometry(), second->geometry());
    QVERIFY(window.windowState() & Qt::WindowFullScreen);
    // The corner picture's rule, on that monitor.
    QCOMPARE(window.TEImage1->geometry().bottomRight(), QPoint(1920 - 50 - 1, 1080 - 50 - 1));

    window.ac_winExecute();
    QTRY_COMPARE(window.screen(), home);
    QVERIFY(window.windowState() & Qt::WindowMaximized);
    QVERIFY(!(window.windowState() & Qt::WindowFullScreen));

    // The tray's double click takes the same way.
    window.RxTrayIcon1->doubleClicked();
    QTRY_COMPARE(window.screen(), second);
}

void tst_BigScreen::framedPlaceKeptAcrossAHide()
{
    // Window display on the first, full screen on the second, hidden, full screen again
    // from the tray: window display goes back to the first, where the window was framed.
    QScreen *const home = QGuiApplication::primaryScreen();
    QScreen *const second =
        plugIn(QRect(home->geometry().right() + 1, 0, 1920, 1080), QStringLiteral("HDMI-1"));
    write(QStringLiteral("monitor"), QStringLiteral("2"));
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.ac_winExecute();
    window.ac_fullExecute();
    QTRY_COMPARE(window.screen(), second);
    window.ac_hideExecute();
    QTRY_VERIFY(!(window.windowState() & Qt::WindowFullScreen));
    window.RxTrayIcon1->doubleClicked();
    QTRY_VERIFY(window.windowState() & Qt::WindowFullScreen);
    QCOMPARE(window.screen(), second);
    window.ac_winExecute();
    QTRY_COMPARE(window.screen(), home);
}

void tst_BigScreen::missingMonitorMeansTheWindowsOwn()
{
    QScreen *const home = QGuiApplication::primaryScreen();
    plugIn(QRect(home->geometry().right() + 1, 0, 1280, 720), QStringLiteral("DP-2"));
    write(QStringLiteral("monitor"), QStringLiteral("3"));
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.ac_fullExecute();
    QTRY_COMPARE(window.geometry(), home->geometry());
    QCOMPARE(window.screen(), home);
}

void tst_BigScreen::unpluggedMonitorHandsTheWindowBack()
{
    QScreen *const home = QGuiApplication::primaryScreen();
    QScreen *const second =
        plugIn(QRect(home->geometry().right() + 1, 0, 1920, 1080), QStringLiteral("HDMI-1"));
    write(QStringLiteral("monitor"), QStringLiteral("2"));
    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.ac_fullExecute();
    QTRY_COMPARE(window.screen(), second);

    unplug();
    QTRY_COMPARE(window.screen(), home);
    QTRY_COMPARE(window.geometry(), home->geometry());
    QVERIFY(window.windowState() & Qt::WindowFullScreen);

    // Window display and full screen go on working on the one monitor left.
    window.ac_winExecute();
    QTRY_VERIFY(!(window.windowState() & Qt::WindowFullScreen));
    window.ac_fullExecute();
    QTRY_COMPARE(window.geometry(), home->geometry());
}

void tst_BigScreen::dialogRowKeepsEveryOtherControlInPlace()
{
    frm_param dialog(nullptr);
    QCOMPARE(dialog.size().width(), 681);
    QCOMPARE(dialog.CheckBox3->text(), QStringLiteral("数字自动适应窗口"));
    QCOMPARE(dialog.Label10->text(), QStringLiteral("全屏显示器："));
    const QList<QWidget *> row = {dialog.CheckBox3, dialog.Label10, dialog.ComboBox1};
    // The groups of warning colours and the like, and the web remote's row, come below it.
    const QList<QWidget *> below = {dialog.GroupBox5, dialog.GroupBox6, dialog.CheckBox9,
                                    dialog.Label18, dialog.RzSpinEdit7};
    for (QWidget *control : below)
        QVERIFY(control->geometry().top() > dialog.ComboBox1->geometry().bottom());
    for (QWidget *control : dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow() && !row.contains(control) && !below.contains(control))
            QVERIFY2(control->geometry().bottom() < 299, qPrintable(control->objectName()));
    }
    for (QWidget *control : row) {
        QVERIFY(control->geometry().top() >= 299);
        QVERIFY(QRect(0, 0, 681, 336).contains(control->geometry()));
    }
    QVERIFY(!dialog.CheckBox3->geometry().intersects(dialog.Label10->geometry()));
    QVERIFY(!dialog.Label10->geometry().intersects(dialog.ComboBox1->geometry()));
}

void tst_BigScreen::dialogLoadsAndSavesTheNewKeys()
{
    {
        frm_param dialog(nullptr);
        QVERIFY(!dialog.CheckBox3->isChecked());
        QVERIFY(dialog.GSFontSizeBox1->isEnabled());
        QCOMPARE(dialog.ComboBox1->currentIndex(), 0);
        dialog.CheckBox3->setChecked(true);
        QVERIFY(!dialog.GSFontSizeBox1->isEnabled());
        dialog.ComboBox1->setCurrentIndex(1);
        dialog.RzBitBtn1->click();
    }
    QCOMPARE(read(QStringLiteral("autofit")), QStringLiteral("-1"));
    QCOMPARE(read(QStringLiteral("monitor")), QStringLiteral("1"));
    QCOMPARE(read(QStringLiteral("fontsize")), QStringLiteral("72"));

    frm_param reopened(nullptr);
    QVERIFY(reopened.CheckBox3->isChecked());
    QVERIFY(!reopened.GSFontSizeBox1->isEnabled());
    QCOMPARE(reopened.ComboBox1->currentIndex(), 1);
    reopened.CheckBox3->setChecked(false);
    QVERIFY(reopened.GSFontSizeBox1->isEnabled());
}

void tst_BigScreen::dialogListsTheMonitorsAndKeepsAnAbsentOne()
{
    QScreen *const home = QGuiApplication::primaryScreen();
    plugIn(QRect(home->geometry().right() + 1, 0, 1920, 1080), QStringLiteral("HDMI-1"));
    write(QStringLiteral("monitor"), QStringLiteral("4"));
    frm_param dialog(nullptr);
    QStringList entries;
    for (int i = 0; i < dialog.ComboBox1->count(); ++i)
        entries << dialog.ComboBox1->itemText(i);
    const QSize homePixels = home->geometry().size() * home->devicePixelRatio();
    // The offscreen platform gives its monitor no name.
    QCOMPARE(home->name(), QString());
    QCOMPARE(
        entries,
        (QStringList{QStringLiteral("自动（窗口所在显示器）"),
                     QStringLiteral("1: %1 × %2").arg(homePixels.width()).arg(homePixels.height()),
                     QStringLiteral("2: 1920 × 1080 (HDMI-1)"), QStringLiteral("4: 未连接")}));
    // Saving other settings while the projector is away keeps its number.
    QCOMPARE(dialog.ComboBox1->currentIndex(), 3);
    dialog.RzBitBtn1->click();
    QCOMPARE(read(QStringLiteral("monitor")), QStringLiteral("4"));
}

QTEST_MAIN(tst_BigScreen)
#include "tst_bigscreen.moc"
