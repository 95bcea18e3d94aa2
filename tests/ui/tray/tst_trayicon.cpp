// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockIcon.h"
#include "CommandList.h"
#include "DisplayModes.h"
#include "PopupMenu.h"
#include "TrayClicks.h"
#include "TrayIcon.h"

#include <QAction>
#include <QImage>
#include <QRegularExpression>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

namespace {

// The menu item whose name a data row gives.
MenuItem *itemNamed(const PopupMenu *menu, const QString &name)
{
    for (MenuItem *item : menu->items()) {
        if (item->objectName() == name)
            return item;
    }
    return nullptr;
}

// The display commands as the main window wires them.
class Window
{
public:
    explicit Window(TrayIcon::Host host = TrayIcon::Host::Embedding)
        : list(CommandList::createActionList1(&widget))
        , menu(PopupMenu::createPopupMenu1(list, &widget))
        , display(new DisplayModes(&widget))
        , tray(new TrayIcon(menu, host, &widget))
    {
        list->ac_win->setHandler([this] { display->showWindowed(); });
        list->ac_hide->setHandler([this] { display->showHidden(); });
        list->ac_full->setHandler([this] { ac_fullExecute(); });
        QObject::connect(tray, &TrayIcon::doubleClicked, &widget, [this] { ac_fullExecute(); });
        QObject::connect(tray, &TrayIcon::trayAvailabilityChanged, display,
                         &DisplayModes::setTrayAvailable);
        widget.setWindowState(Qt::WindowMaximized);
        widget.show();
    }

    void ac_fullExecute()
    {
        ++fullRuns;
        if (failFull)
            throw std::runtime_error("full screen failed");
        display->showFullScreen();
        menu->N2->setChecked(true);
    }

    void activate(QSystemTrayIcon::ActivationReason reason)
    {
        emit tray->systemTrayIcon()->activated(reason);
    }

    QWidget widget;
    CommandList *const list;
    PopupMenu *const menu;
    DisplayModes *const display;
    TrayIcon *const tray;
    int fullRuns = 0;
    bool failFull = false;
};

} // namespace

class tst_TrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void rxTrayIcon1();
    void menuSharedWithTheWindow();
    void doubleClickGoesFullScreen_data();
    void doubleClickGoesFullScreen();
    void otherClicksDoNothing();
    void statusNotifierActivationAndMenu();
    void hiddenDisplayWithATray();
    void hiddenWindowComesBackWhenTheTrayGoes();
    void errorsGoThroughTheGuard();
    void clickRules_data();
    void clickRules();
    void buttonsOnTheIcon();
    void clockIconIsDrawnAtEachSize_data();
    void clockIconIsDrawnAtEachSize();
    void smallClockHandsStayApart_data();
    void smallClockHandsStayApart();
};

void tst_TrayIcon::rxTrayIcon1()
{
    // Away from X11 with no StatusNotifierItem host the icon is not shown: showing it
    // would only try X11's way and warn about X11's signals.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("No such signal|systemTray")));
    Window w;
    QSystemTrayIcon *icon = w.tray->systemTrayIcon();
    QCOMPARE(icon->toolTip(), QStringLiteral("Tarvik倒计时计时器"));
    QVERIFY(!icon->icon().isNull());
    QVERIFY(!w.tray->isTrayAvailable());
    QVERIFY(!icon->isVisible());
    // The notification area is followed by event: no timer wakes the idle program.
    const QList<QTimer *> timers = w.tray->findChildren<QTimer *>();
    QVERIFY(std::none_of(timers.begin(), timers.end(), [](QTimer *t) { return t->isActive(); }));
    QVERIFY(w.tray->hostWatcher());
}

void tst_TrayIcon::menuSharedWithTheWindow()
{
    Window w;
    QCOMPARE(w.tray->systemTrayIcon()->contextMenu(), w.menu->menu());
    // States set through the window show in the tray's menu: it is the same object.
    w.list->ac_begin->setEnabled(false);
    w.menu->N12->action()->trigger();
    const QMenu *trayMenu = w.tray->systemTrayIcon()->contextMenu();
    QVERIFY(!trayMenu->actions().at(2)->isEnabled());
    QVERIFY(trayMenu->actions().at(8)->isChecked());
    QVERIFY(!trayMenu->actions().at(7)->isChecked());
    QVERIFY(w.widget.isMinimized());

    // Choosing a display mode from it works while the window is minimised.
    trayMenu->actions().at(7)->trigger();
    QVERIFY(!w.widget.isMinimized());
    QVERIFY(w.widget.isMaximized());
}

void tst_TrayIcon::doubleClickGoesFullScreen_data()
{
    QTest::addColumn<QString>("from"); // item chosen first
    QTest::newRow("window display") << QString();
    QTest::newRow("hidden display") << QStringLiteral("N12");
    QTest::newRow("full screen") << QStringLiteral("N2");
}

void tst_TrayIcon::doubleClickGoesFullScreen()
{
    QFETCH(QString, from);
    Window w;
    if (!from.isEmpty())
        itemNamed(w.menu, from)->action()->trigger();
    w.activate(QSystemTrayIcon::Trigger); // the first press of a double click
    w.activate(QSystemTrayIcon::DoubleClick);
    QCOMPARE(w.fullRuns, from == QLatin1String("N2") ? 2 : 1);
    QVERIFY(w.widget.isFullScreen());
    QVERIFY(!w.widget.isMinimized());
    QVERIFY(w.menu->N2->isChecked());
    QVERIFY(!w.menu->N11->isChecked());
    QVERIFY(!w.menu->N12->isChecked());
}

void tst_TrayIcon::otherClicksDoNothing()
{
    Window w;
    QSignalSpy doubleClicked(w.tray, &TrayIcon::doubleClicked);
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context,
                              QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown})
        w.activate(reason);
    QCOMPARE(doubleClicked.size(), 0);
    QVERIFY(w.widget.isMaximized());
    QVERIFY(w.menu->N11->isChecked());
    QVERIFY(!w.menu->menu()->isVisible());
}

void tst_TrayIcon::statusNotifierActivationAndMenu()
{
    // A StatusNotifierItem host sends "activate" for its left click and never a double
    // click: activation goes full screen; the middle click does nothing; the host's
    // menu request opens the menu.
    Window w(TrayIcon::Host::StatusNotifier);
    QSignalSpy doubleClicked(w.tray, &TrayIcon::doubleClicked);
    w.activate(QSystemTrayIcon::MiddleClick);
    w.activate(QSystemTrayIcon::Unknown);
    QCOMPARE(doubleClicked.size(), 0);
    QVERIFY(!w.menu->menu()->isVisible());

    w.activate(QSystemTrayIcon::Trigger);
    QCOMPARE(w.fullRuns, 1);
    QVERIFY(w.widget.isFullScreen());

    w.activate(QSystemTrayIcon::Context);
    QTRY_VERIFY(w.menu->menu()->isVisible());
    QCOMPARE(w.fullRuns, 1);
    // Sized for its items while open (a compositor must not stretch it), free again after.
    QCOMPARE(w.menu->menu()->minimumSize(), w.menu->menu()->maximumSize());
    w.menu->menu()->hide();
    QCOMPARE(w.menu->menu()->minimumSize(), QSize(0, 0));
    QCOMPARE(w.menu->menu()->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

    // A chosen item runs as from the window's own menu.
    w.activate(QSystemTrayIcon::Context);
    QTRY_VERIFY(w.menu->menu()->isVisible());
    w.menu->N11->action()->trigger();
    QVERIFY(w.widget.isMaximized());
}

void tst_TrayIcon::hiddenDisplayWithATray()
{
    // Here (no X11) a minimise request may be ignored: with the icon in a tray the
    // window is hidden, and the tray's activation and menu bring it back.
    Window w(TrayIcon::Host::StatusNotifier);
    w.display->setTrayAvailable(true);
    w.menu->N2->action()->trigger();
    QVERIFY(w.widget.isFullScreen());
    w.menu->N12->action()->trigger();
    QVERIFY(!w.widget.isVisible());
    QVERIFY(!w.widget.isMinimized());
    // Framed and maximised underneath.
    QCOMPARE(w.widget.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);

    // Shown framed, so that the compositor focuses it, then full screen once shown.
    w.activate(QSystemTrayIcon::Trigger);
    QVERIFY(w.widget.isVisible());
    QTRY_VERIFY(w.widget.isFullScreen());

    w.menu->N12->action()->trigger();
    QVERIFY(!w.widget.isVisible());
    w.menu->N11->action()->trigger();
    QVERIFY(w.widget.isVisible());
    QCOMPARE(w.widget.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);

    // Without the tray it is only asked to minimise and stays shown.
    w.display->setTrayAvailable(false);
    w.menu->N12->action()->trigger();
    QVERIFY(w.widget.isVisible());
    QVERIFY(w.widget.isMinimized());
}

void tst_TrayIcon::hiddenWindowComesBackWhenTheTrayGoes()
{
    Window w(TrayIcon::Host::StatusNotifier);
    w.display->setTrayAvailable(true);
    w.menu->N12->action()->trigger();
    QVERIFY(!w.widget.isVisible());
    QSignalSpy changed(w.display, &DisplayModes::changed);
    emit w.tray->trayAvailabilityChanged(false);
    QVERIFY(w.widget.isVisible());
    QVERIFY(w.widget.isMinimized());
    QCOMPARE(changed.size(), 1);

    // A tray going away while the window shows leaves it as it is.
    w.display->setTrayAvailable(true);
    w.menu->N11->action()->trigger();
    emit w.tray->trayAvailabilityChanged(false);
    QVERIFY(w.widget.isMaximized());
    QVERIFY(!w.widget.isMinimized());
    QCOMPARE(changed.size(), 2);
}

void tst_TrayIcon::errorsGoThroughTheGuard()
{
    Window w;
    QStringList shown;
    w.list->setGuard([&shown](const std::function<void()> &run) {
        try {
            run();
        } catch (const std::exception &error) {
            shown.append(QString::fromLatin1(error.what()));
        }
    });
    w.failFull = true;
    w.activate(QSystemTrayIcon::DoubleClick);
    QCOMPARE(shown, QStringList{"full screen failed"});
    // The icon keeps working.
    w.failFull = false;
    w.activate(QSystemTrayIcon::DoubleClick);
    QVERIFY(w.widget.isFullScreen());
    QCOMPARE(w.fullRuns, 2);
}

// Each step: "+" press or "-" release, the button (L, R, M), for a press its time in ms
// and its x; then what the step does.
void tst_TrayIcon::clickRules_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("actions"); // one letter a step: . nothing, P menu, D double
    QTest::newRow("right click: menu on the release") << QStringList{"+R 0 5", "-R"} << ".P";
    QTest::newRow("release without its press") << QStringList{"-R", "-L"} << "..";
    QTest::newRow("left click does nothing") << QStringList{"+L 0 5", "-L"} << "..";
    QTest::newRow("left double click") << QStringList{"+L 0 5", "-L", "+L 300 7", "-L"}
                                       << "..D.";
    QTest::newRow("too slow for a double click") << QStringList{"+L 0 5", "-L", "+L 600 5", "-L"}
                                                 << "....";
    QTest::newRow("too far for a double click") << QStringList{"+L 0 5", "-L", "+L 100 20", "-L"}
                                                << "....";
    QTest::newRow("third press is a single one")
        << QStringList{"+L 0 5", "-L", "+L 100 5", "-L", "+L 200 5", "-L"} << "..D...";
    QTest::newRow("right double click opens nothing")
        << QStringList{"+R 0 5", "-R", "+R 100 5", "-R"} << ".P..";
    QTest::newRow("left then right is no double") << QStringList{"+L 0 5", "-L", "+R 100 5", "-R"}
                                                  << "...P";
    QTest::newRow("middle does nothing") << QStringList{"+M 0 5", "-M", "+M 50 5", "-M"} << "....";
}

void tst_TrayIcon::clickRules()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, actions);
    TrayClicks clicks(400, 4);
    QString done;
    for (const QString &step : steps) {
        const QStringList parts = step.mid(1).split(u' ');
        const QChar name = parts.at(0).at(0);
        const TrayClicks::Button button = name == u'L'   ? TrayClicks::Button::Left
                                          : name == u'R' ? TrayClicks::Button::Right
                                                         : TrayClicks::Button::Middle;
        const TrayClicks::Action action =
            step.startsWith(u'+')
                ? clicks.press(button, parts.at(1).toLongLong(), QPoint(parts.at(2).toInt(), 0))
                : clicks.release(button);
        done += action == TrayClicks::Action::PopupMenu     ? u'P'
                : action == TrayClicks::Action::DoubleClick ? u'D'
                                                            : u'.';
    }
    QCOMPARE(done, actions);
}

void tst_TrayIcon::buttonsOnTheIcon()
{
    Window w;
    QSignalSpy doubleClicked(w.tray, &TrayIcon::doubleClicked);
    // The press alone opens nothing; the release opens the window's menu.
    w.tray->buttonPressed(Qt::RightButton, 1000, QPoint(5, 5));
    QVERIFY(!w.menu->menu()->isVisible());
    w.tray->buttonReleased(Qt::RightButton);
    QTRY_VERIFY(w.menu->menu()->isVisible());
    w.menu->menu()->hide();

    // With the settings command greyed (its dialog open) the menu still opens.
    w.list->ac_param->setEnabled(false);
    w.tray->buttonPressed(Qt::RightButton, 5000, QPoint(5, 5));
    w.tray->buttonReleased(Qt::RightButton);
    QTRY_VERIFY(w.menu->menu()->isVisible());
    QVERIFY(!w.menu->menu()->actions().at(0)->isEnabled());
    w.menu->menu()->hide();

    w.tray->buttonPressed(Qt::LeftButton, 9000, QPoint(5, 5));
    w.tray->buttonReleased(Qt::LeftButton);
    QCOMPARE(doubleClicked.size(), 0);
    w.tray->buttonPressed(Qt::LeftButton, 9100, QPoint(6, 5));
    QCOMPARE(doubleClicked.size(), 1);
    w.tray->buttonReleased(Qt::LeftButton);
    QVERIFY(w.widget.isFullScreen());
    QVERIFY(w.menu->N2->isChecked());
}

void tst_TrayIcon::clockIconIsDrawnAtEachSize_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 20, 22, 24, 32, 48, 64})
        QTest::addRow("%d", size) << size;
}

void tst_TrayIcon::clockIconIsDrawnAtEachSize()
{
    QFETCH(int, size);
    const QIcon icon = ClockIcon::icon();
    const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // Red frame at the top-left, grey shadow at the bottom-right, white face inside.
    QCOMPARE(image.pixelColor(0, 0), QColor(208, 0, 0));
    QCOMPARE(image.pixelColor(size - 1, size - 1), QColor(128, 128, 128));
    // (between the marks and away from the hands)
    const QPoint faceLowerLeft(int(size * 0.36), int(size * 0.6));
    QCOMPARE(image.pixelColor(faceLowerLeft).rgb(), QColor(Qt::white).rgb());
    // Each size is drawn once, and once more for each mode: asked again, the same picture;
    // asked disabled after that, grey.
    QCOMPARE(icon.pixmap(QSize(size, size), 1.0).toImage(), image);
    const QImage disabled = icon.pixmap(QSize(size, size), 1.0, QIcon::Disabled).toImage();
    QCOMPARE(disabled.pixelColor(0, 0), QColor(150, 150, 150));
    // The window manager gets a picture at every size the icon offers.
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(64, 64)));
}

void tst_TrayIcon::smallClockHandsStayApart_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24})
        QTest::addRow("%dpx", size) << size;
}

void tst_TrayIcon::smallClockHandsStayApart()
{
    // Two separate dark strokes on the face, one up and one across, meeting at a corner:
    // slanted hands blur at these sizes into a "V" that reads as a check mark.
    QFETCH(int, size);
    const QImage image = ClockIcon::icon().pixmap(QSize(size, size), 1.0).toImage();
    const auto dark = [&image](int x, int y) {
        const QRgb pixel = image.pixel(x, y);
        return qAlpha(pixel) == 255 && qGray(pixel) < 64;
    };
    QRect ink;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (dark(x, y))
                ink |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!ink.isEmpty());
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        QVERIFY2(dark(ink.left(), y), "the upright hand is broken");
    for (int x = ink.left(); x <= ink.right(); ++x)
        QVERIFY2(dark(x, ink.bottom()), "the hand across is broken");
    QVERIFY2(!dark(ink.right(), ink.top()), "the hands merge into one blot");
    // The minute hand is the longer, and both read as strokes, not dots.
    QVERIFY(ink.height() > ink.width());
    QVERIFY(ink.width() >= 3);
}

QTEST_MAIN(tst_TrayIcon)
#include "tst_trayicon.moc"
