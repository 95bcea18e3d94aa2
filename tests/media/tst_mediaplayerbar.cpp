// SPDX-License-Identifier: GPL-3.0-or-later
#include "EMCIDeviceError.h"
#include "MediaBarLayout.h"
#include "MediaPlayerBar.h"
#include "TestSounds.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The alarm bar: layout, painting, mouse and keys, and the calls of the main window.
class tst_MediaPlayerBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutFigures_data();
    void layoutFigures();
    void barKeepsItsSmallestSize();
    void glyphs();
    void painting();
    void glyphSetFollowsEnabledFlags();
    void clicksHitTheButtonUnderThePointer_data();
    void clicksHitTheButtonUnderThePointer();
    void releaseOutsideDoesNotClick();
    void buttonsDriveTheSound();
    void keys();
    void rightClickGoesToTheWindowMenu();

    void applySoundFileOpensOrHides_data();
    void applySoundFileOpensOrHides();
    void unplayableFileRaisesAndLeavesBarAlone();
    void clickAfterFailedOpenReportsNoDevice();
    void applyingAgainStopsTheSound();
    void alarmPlaysFromTheBeginning();
    void alarmWithoutFileHidesBar();
    void alarmWithUnplayableFileRaises();

private:
    QImage grabBar() const { return m_bar->grab().toImage(); }
    // Pixels of the focus mark's top line inside the button at x.
    int focusDots(const QImage &image, int x) const;
    static QString writeFile(const QString &path, const QByteArray &contents);

    QTemporaryDir m_dir;
    QString m_mp3;
    std::unique_ptr<QWidget> m_window;
    MediaPlayerBar *m_bar = nullptr;
};

void tst_MediaPlayerBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_mp3 = TestSounds::makeMp3(QDir(m_dir.path()), QStringLiteral("荷塘月色.mp3"), 30);
    QVERIFY(!m_mp3.isEmpty());
}

void tst_MediaPlayerBar::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(300, 100);
    m_bar = new MediaPlayerBar(m_window.get(), TestSounds::fakeSink());
    m_bar->move(10, 10);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_MediaPlayerBar::cleanup()
{
    m_window.reset();
    m_bar = nullptr;
}

int tst_MediaPlayerBar::focusDots(const QImage &image, int x) const
{
    const QRgb frame = m_bar->palette().color(QPalette::Shadow).rgb();
    int dots = 0;
    for (int i = x + 3; i <= x + m_bar->buttonWidth() - 4; ++i)
        dots += image.pixel(i, 3) == frame ? 1 : 0;
    return dots;
}

QString tst_MediaPlayerBar::writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(contents);
    return path;
}

void tst_MediaPlayerBar::layoutFigures_data()
{
    QTest::addColumn<QSize>("bar");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("buttonWidth");
    QTest::addColumn<QSize>("wanted");
    const QSize minimum(29, 20);
    QTest::newRow("design size") << QSize(85, 30) << 3 << 29 << QSize(85, 30);
    QTest::newRow("narrow grows back") << QSize(60, 30) << 3 << 20 << QSize(85, 30);
    QTest::newRow("low grows to 20") << QSize(85, 12) << 3 << 29 << QSize(85, 20);
    QTest::newRow("wide rounds to whole buttons") << QSize(120, 30) << 3 << 40 << QSize(118, 30);
    QTest::newRow("one button") << QSize(10, 10) << 1 << 10 << QSize(29, 20);
    QTest::newRow("no buttons count as one") << QSize(40, 25) << 0 << 40 << QSize(40, 25);
    QTest::newRow("nine buttons") << QSize(85, 30) << 9 << 10 << QSize(253, 30);
}

void tst_MediaPlayerBar::layoutFigures()
{
    QFETCH(QSize, bar);
    QFETCH(int, buttons);
    QFETCH(int, buttonWidth);
    QFETCH(QSize, wanted);
    QCOMPARE(MediaBarLayout::buttonWidth(bar.width(), buttons), buttonWidth);
    QCOMPARE(MediaBarLayout::wantedSize(bar, buttons, QSize(29, 20)), wanted);
}

void tst_MediaPlayerBar::barKeepsItsSmallestSize()
{
    QCOMPARE(MediaGlyphs::minimumButtonSize(), QSize(29, 20));
    QCOMPARE(m_bar->size(), QSize(85, 30));
    QCOMPARE(m_bar->buttonWidth(), 29);
    QCOMPARE(m_bar->buttonX(ButtonKind::btPlay), 0);
    QCOMPARE(m_bar->buttonX(ButtonKind::btPause), 28);
    QCOMPARE(m_bar->buttonX(ButtonKind::btStop), 56);
    QCOMPARE(m_bar->buttonX(ButtonKind::btNext), -1);

    m_bar->resize(40, 10);
    QTRY_COMPARE(m_bar->size(), QSize(85, 20));
    QCOMPARE(m_bar->buttonWidth(), 29);
    m_bar->resize(150, 30);
    QTRY_COMPARE(m_bar->size(), QSize(148, 30));
    QCOMPARE(m_bar->buttonWidth(), 50);
    QCOMPARE(m_bar->buttonX(ButtonKind::btStop), 98);

    m_bar->setVisibleButtons({ButtonKind::btPlay});
    QTRY_COMPARE(m_bar->size(), QSize(148, 30));
    QCOMPARE(m_bar->buttonWidth(), 148);
}

void tst_MediaPlayerBar::glyphs()
{
    using MediaGlyphs::GlyphSet;
    QCOMPARE(MediaGlyphs::resourceName(GlyphSet::CL, ButtonKind::btPlay), "CL_MPPLAY");
    QCOMPARE(MediaGlyphs::resourceName(GlyphSet::DI, ButtonKind::btEject), "DI_MPEJECT");
    QCOMPARE(MediaGlyphs::bitmap(GlyphSet::EN, ButtonKind::btPlay).size(), QSize(17, 16));
    QCOMPARE(MediaGlyphs::bitmap(GlyphSet::EN, ButtonKind::btPause).size(), QSize(13, 16));
    QCOMPARE(MediaGlyphs::bitmap(GlyphSet::DI, ButtonKind::btPause).size(), QSize(12, 16));
    QCOMPARE(MediaGlyphs::bitmap(GlyphSet::CL, ButtonKind::btStop).size(), QSize(17, 16));
    QCOMPARE(MediaGlyphs::bitmap(GlyphSet::CL, ButtonKind::btNext).size(), QSize(21, 16));

    const struct
    {
        ButtonKind kind;
        QPoint inside;
        QColor colour;
    } symbols[] = {{ButtonKind::btPlay, QPoint(7, 7), QColor(0, 255, 0)},
                   {ButtonKind::btPause, QPoint(4, 7), QColor(255, 255, 0)},
                   {ButtonKind::btStop, QPoint(8, 7), QColor(255, 0, 0)}};
    for (const auto &symbol : symbols) {
        const QImage coloured = MediaGlyphs::bitmap(GlyphSet::CL, symbol.kind);
        QCOMPARE(coloured.pixelColor(symbol.inside), symbol.colour);
        QCOMPARE(coloured.pixel(0, 0), MediaGlyphs::transparentColour);
        QCOMPARE(MediaGlyphs::bitmap(GlyphSet::EN, symbol.kind).pixelColor(symbol.inside),
                 QColor(Qt::black));
        // Disabled glyphs are edges only: the inside stays background.
        QCOMPARE(MediaGlyphs::bitmap(GlyphSet::DI, symbol.kind).pixel(symbol.inside),
                 MediaGlyphs::transparentColour);
        QCOMPARE(qAlpha(MediaGlyphs::transparentGlyph(GlyphSet::CL, symbol.kind).pixel(0, 0)), 0);
    }
}

void tst_MediaPlayerBar::painting()
{
    const QPalette &colours = m_bar->palette();
    const QColor frame = colours.color(QPalette::Shadow);
    const QColor face = colours.color(QPalette::Button);
    const QColor light = colours.color(QPalette::Light);
    const QColor dark = colours.color(QPalette::Dark);

    QImage image = grabBar();
    QCOMPARE(image.size(), QSize(85, 30));
    QCOMPARE(image.pixel(0, 0), frame.rgb());
    QCOMPARE(image.pixel(84, 29), frame.rgb());
    QCOMPARE(image.pixel(28, 15), frame.rgb()); // shared border column
    QCOMPARE(image.pixel(56, 15), frame.rgb());
    // Raised: light left and top, dark right and bottom.
    QCOMPARE(image.pixel(1, 15), light.rgb());
    QCOMPARE(image.pixel(15, 1), light.rgb());
    QCOMPARE(image.pixel(27, 15), dark.rgb());
    QCOMPARE(image.pixel(15, 28), dark.rgb());
    QCOMPARE(image.pixel(3, 3), face.rgb());
    // The Play glyph is centred at (6, 7); its olive corner shows the face.
    QCOMPARE(image.pixel(6 + 7, 7 + 7), QColor(0, 255, 0).rgb());
    QCOMPARE(image.pixel(6, 7), face.rgb());
    QCOMPARE(image.pixel(11, 15), QColor(128, 128, 128).rgb());
    QCOMPARE(image.pixel(28 + 8 + 4, 7 + 7), QColor(255, 255, 0).rgb()); // Pause at 36
    QCOMPARE(image.pixel(56 + 6 + 8, 7 + 7), QColor(255, 0, 0).rgb());   // Stop at 62

    // Pressed: dark left and top only, the glyph one pixel right and down.
    QTest::mousePress(m_bar, Qt::LeftButton, {}, QPoint(10, 10));
    image = grabBar();
    QCOMPARE(image.pixel(1, 15), dark.rgb());
    QCOMPARE(image.pixel(15, 1), dark.rgb());
    QCOMPARE(image.pixel(27, 15), face.rgb());
    QCOMPARE(image.pixel(11, 15), face.rgb());
    QCOMPARE(image.pixel(12, 15), QColor(128, 128, 128).rgb()); // the triangle's left edge
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, QPoint(10, 10));

    // The focus mark is a dotted rectangle 3 pixels inside the focused button.
    m_bar->clearFocus();
    QCOMPARE(focusDots(grabBar(), 0), 0);
    m_window->activateWindow();
    m_bar->setFocus();
    QTRY_VERIFY(m_bar->hasFocus());
    image = grabBar();
    QVERIFY(focusDots(image, 0) > 5);
    QCOMPARE(focusDots(image, 28), 0);
    QCOMPARE(image.pixel(1, 3), light.rgb());
    QCOMPARE(image.pixel(2, 3), face.rgb());
    QCOMPARE(image.pixel(3, 2), face.rgb());
}

void tst_MediaPlayerBar::glyphSetFollowsEnabledFlags()
{
    using MediaGlyphs::GlyphSet;
    QCOMPARE(m_bar->glyphSet(ButtonKind::btPlay), GlyphSet::CL);
    // Drawn in one set, then asked for in another: each set's glyph is its own.
    QCOMPARE(grabBar().pixel(6 + 7, 7 + 7), QColor(0, 255, 0).rgb());
    m_bar->setColoredButtons({ButtonKind::btPause});
    QCOMPARE(m_bar->glyphSet(ButtonKind::btPlay), GlyphSet::EN);
    QCOMPARE(m_bar->glyphSet(ButtonKind::btPause), GlyphSet::CL);
    m_bar->setEnabledButtons({ButtonKind::btStop});
    QCOMPARE(m_bar->glyphSet(ButtonKind::btPlay), GlyphSet::DI);
    QCOMPARE(grabBar().pixel(6 + 7, 7 + 7), m_bar->palette().color(QPalette::Button).rgb());

    // With automatic enabling the device's abilities decide instead.
    m_bar->setAutoEnable(true);
    QCOMPARE(m_bar->glyphSet(ButtonKind::btStop), GlyphSet::DI);
    m_bar->applySoundFile(m_mp3);
    QCOMPARE(m_bar->glyphSet(ButtonKind::btPlay), GlyphSet::EN);
    QCOMPARE(m_bar->glyphSet(ButtonKind::btStop), GlyphSet::DI);
    m_bar->setAutoEnable(false);

    m_bar->setEnabledButtons(ButtonSet::all());
    m_bar->setEnabled(false);
    QCOMPARE(m_bar->glyphSet(ButtonKind::btPause), GlyphSet::DI);
}

void tst_MediaPlayerBar::clicksHitTheButtonUnderThePointer_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<ButtonKind>("button");
    QTest::newRow("0") << 0 << ButtonKind::btPlay;
    QTest::newRow("28 shared border") << 28 << ButtonKind::btPlay;
    QTest::newRow("29") << 29 << ButtonKind::btPlay;
    QTest::newRow("30") << 30 << ButtonKind::btPause;
    QTest::newRow("56 shared border") << 56 << ButtonKind::btPause;
    QTest::newRow("57") << 57 << ButtonKind::btPause;
    QTest::newRow("58") << 58 << ButtonKind::btStop;
    QTest::newRow("84") << 84 << ButtonKind::btStop;
}

void tst_MediaPlayerBar::clicksHitTheButtonUnderThePointer()
{
    QFETCH(int, x);
    QFETCH(ButtonKind, button);
    QSignalSpy clicks(m_bar, &MediaPlayerBar::click);
    QSignalSpy errors(m_bar, &MediaPlayerBar::deviceError);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(x, 15));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).value<ButtonKind>(), button);
    QCOMPARE(m_bar->focusedButton(), button);
    // Nothing is open yet.
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("No MCI device open"));
}

void tst_MediaPlayerBar::releaseOutsideDoesNotClick()
{
    QSignalSpy clicks(m_bar, &MediaPlayerBar::click);
    QTest::mousePress(m_bar, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::mouseMove(m_bar, QPoint(70, 15));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, QPoint(70, 15));
    QCOMPARE(clicks.count(), 0);

    // Coming back over the pressed button before the release clicks it.
    QTest::mousePress(m_bar, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::mouseMove(m_bar, QPoint(70, 15));
    QTest::mouseMove(m_bar, QPoint(45, 15));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, QPoint(45, 15));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).value<ButtonKind>(), ButtonKind::btPause);

    // A button that is not enabled ignores the press.
    m_bar->setEnabledButtons({ButtonKind::btPlay, ButtonKind::btPause});
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(70, 15));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(m_bar->focusedButton(), ButtonKind::btPause);
}

void tst_MediaPlayerBar::buttonsDriveTheSound()
{
    m_bar->applySoundFile(m_mp3);
    MediaPlayer *const player = m_bar->player();
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(28, 15));
    QCOMPARE(player->mode(), MediaMode::Playing);
    QTRY_VERIFY(player->position() >= 300);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(56, 15));
    QCOMPARE(player->mode(), MediaMode::Paused);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(57, 15));
    QCOMPARE(player->mode(), MediaMode::Playing);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(80, 15));
    QCOMPARE(player->mode(), MediaMode::Stopped);
    const qint64 stoppedAt = player->position();
    QVERIFY(stoppedAt >= 300);
    // The second press of a double click counts as a press.
    QSignalSpy clicks(m_bar, &MediaPlayerBar::click);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(5, 15));
    QCOMPARE(player->mode(), MediaMode::Playing);
    QVERIFY(player->position() >= stoppedAt - 20);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(80, 15),
                            m_bar->mapToGlobal(QPointF(80, 15)), Qt::LeftButton, Qt::LeftButton,
                            {});
    QApplication::sendEvent(m_bar, &doubleClick);
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, QPoint(80, 15));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(player->mode(), MediaMode::Stopped);
}

void tst_MediaPlayerBar::keys()
{
    m_bar->applySoundFile(m_mp3);
    QSignalSpy clicks(m_bar, &MediaPlayerBar::click);
    m_window->activateWindow();
    m_bar->setFocus();
    QTRY_VERIFY(m_bar->hasFocus());

    QTest::keyClick(m_bar, Qt::Key_Space);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).value<ButtonKind>(), ButtonKind::btPlay);
    QCOMPARE(m_bar->player()->mode(), MediaMode::Playing);

    QTest::keyClick(m_bar, Qt::Key_Right);
    QCOMPARE(m_bar->focusedButton(), ButtonKind::btPause);
    QTest::keyClick(m_bar, Qt::Key_Space);
    QCOMPARE(m_bar->player()->mode(), MediaMode::Paused);
    QTest::keyClick(m_bar, Qt::Key_Right);
    QCOMPARE(m_bar->focusedButton(), ButtonKind::btStop);
    // The mark stays on the last visible button.
    QTest::keyClick(m_bar, Qt::Key_Right);
    QCOMPARE(m_bar->focusedButton(), ButtonKind::btStop);
    QCOMPARE(focusDots(grabBar(), 0), 0);
    QVERIFY(focusDots(grabBar(), 56) > 5);
    QTest::keyClick(m_bar, Qt::Key_Space);
    QCOMPARE(m_bar->player()->mode(), MediaMode::Stopped);

    QTest::keyClick(m_bar, Qt::Key_Left);
    QTest::keyClick(m_bar, Qt::Key_Left);
    QCOMPARE(m_bar->focusedButton(), ButtonKind::btPlay);
    QTest::keyClick(m_bar, Qt::Key_Left);
    QCOMPARE(m_bar->focusedButton(), ButtonKind::btPlay);
    QCOMPARE(clicks.count(), 3);
}

void tst_MediaPlayerBar::rightClickGoesToTheWindowMenu()
{
    QCOMPARE(m_bar->toolTip(), QStringLiteral("音乐播放按钮"));
    QCOMPARE(m_bar->objectName(), QStringLiteral("MediaPlayer1"));

    m_window->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy requests(m_window.get(), &QWidget::customContextMenuRequested);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 10),
                            m_bar->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(m_bar, &event);
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.at(0).at(0).toPoint(), QPoint(30, 20));

    QMenu menu;
    menu.addAction(QStringLiteral("参数设置"));
    m_bar->setPopupMenu(&menu);
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(20, 10),
                            m_bar->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(m_bar, &again);
    QTRY_VERIFY(menu.isVisible());
    QCOMPARE(requests.count(), 1);
    menu.hide();
}

void tst_MediaPlayerBar::applySoundFileOpensOrHides_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    QTest::newRow("sound") << QStringLiteral("荷塘月色.mp3") << true;
    QTest::newRow("missing") << QStringLiteral("missing.mp3") << false;
    QTest::newRow("folder") << QStringLiteral("x.mp3") << false;
    QTest::newRow("empty name") << QString() << false;
}

void tst_MediaPlayerBar::applySoundFileOpensOrHides()
{
    QFETCH(QString, name);
    QFETCH(bool, shown);
    QDir(m_dir.path()).mkpath(QStringLiteral("x.mp3"));
    const QString path = name.isEmpty() ? QString() : m_dir.filePath(name);

    m_bar->applySoundFile(path);
    QCOMPARE(m_bar->isHidden(), !shown);
    QCOMPARE(m_bar->player()->isOpen(), shown);
    QCOMPARE(m_bar->player()->fileName(), path);
    if (shown)
        QCOMPARE(m_bar->player()->mode(), MediaMode::Stopped);

    // The alarm follows the same file: it plays or stays silent without a message.
    m_bar->startAlarm();
    QCOMPARE(m_bar->isHidden(), !shown);
    QCOMPARE(m_bar->player()->mode(), shown ? MediaMode::Playing : MediaMode::NotReady);
}

void tst_MediaPlayerBar::unplayableFileRaisesAndLeavesBarAlone()
{
    const QString text = writeFile(m_dir.filePath(QStringLiteral("words.mp3")), "not a sound\n");
    const QString empty = writeFile(m_dir.filePath(QStringLiteral("empty.mp3")), {});
    for (const bool shownBefore : {true, false}) {
        for (const QString &path : {text, empty}) {
            m_bar->applySoundFile(shownBefore ? m_mp3 : QString());
            QCOMPARE(m_bar->isHidden(), !shownBefore);
            QVERIFY_THROWS_EXCEPTION(EMCIDeviceError, m_bar->applySoundFile(path));
            QCOMPARE(m_bar->isHidden(), !shownBefore);
            QVERIFY(!m_bar->player()->isOpen());
        }
    }
}

void tst_MediaPlayerBar::clickAfterFailedOpenReportsNoDevice()
{
    const QString text = writeFile(m_dir.filePath(QStringLiteral("words.mp3")), "not a sound\n");
    m_bar->applySoundFile(m_mp3);
    try {
        m_bar->applySoundFile(text);
        QFAIL("opened");
    } catch (const EMCIDeviceError &error) {
        QCOMPARE(error.message(), QStringLiteral("Could not determine type of stream."));
    }
    QSignalSpy errors(m_bar, &MediaPlayerBar::deviceError);
    QSignalSpy done(m_bar, &MediaPlayerBar::postClick);
    for (const int x : {10, 40, 70}) {
        QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(x, 15));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.takeFirst().at(0).toString(), QStringLiteral("No MCI device open"));
    }
    QCOMPARE(done.count(), 0);
}

void tst_MediaPlayerBar::applyingAgainStopsTheSound()
{
    m_bar->applySoundFile(m_mp3);
    m_bar->player()->play();
    QTRY_VERIFY(m_bar->player()->position() >= 300);
    m_bar->applySoundFile(m_mp3);
    QCOMPARE(m_bar->player()->mode(), MediaMode::Stopped);
    QCOMPARE(m_bar->player()->position(), 0);

    // A file that has gone hides the bar and leaves nothing open.
    m_bar->player()->play();
    m_bar->applySoundFile(m_dir.filePath(QStringLiteral("gone.mp3")));
    QVERIFY(m_bar->isHidden());
    QVERIFY(!m_bar->player()->isOpen());
}

void tst_MediaPlayerBar::alarmPlaysFromTheBeginning()
{
    m_bar->applySoundFile(m_mp3);
    m_bar->player()->play();
    QTRY_VERIFY(m_bar->player()->position() >= 500);
    m_bar->hide();

    m_bar->startAlarm();
    QVERIFY(!m_bar->isHidden());
    QCOMPARE(m_bar->player()->mode(), MediaMode::Playing);
    QVERIFY(m_bar->player()->position() < 300);
    QTRY_VERIFY(m_bar->player()->position() >= 200);
}

void tst_MediaPlayerBar::alarmWithoutFileHidesBar()
{
    const QString copy = m_dir.filePath(QStringLiteral("copy.mp3"));
    QVERIFY(QFile::copy(m_mp3, copy));
    m_bar->applySoundFile(copy);
    QVERIFY(!m_bar->isHidden());
    QVERIFY(QFile::remove(copy));
    m_bar->startAlarm();
    QVERIFY(m_bar->isHidden());
    QCOMPARE(m_bar->player()->mode(), MediaMode::Stopped);
}

void tst_MediaPlayerBar::alarmWithUnplayableFileRaises()
{
    const QString path = m_dir.filePath(QStringLiteral("changing.mp3"));
    QVERIFY(QFile::copy(m_mp3, path));
    m_bar->applySoundFile(path);
    QVERIFY(writeFile(path, "no longer a sound\n") == path);
    QVERIFY_THROWS_EXCEPTION(EMCIDeviceError, m_bar->startAlarm());
    QVERIFY(!m_bar->isHidden());
    QVERIFY(!m_bar->player()->isOpen());
}

QTEST_MAIN(tst_MediaPlayerBar)
#include "tst_mediaplayerbar.moc"
