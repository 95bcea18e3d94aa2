// SPDX-License-Identifier: GPL-3.0-or-later
#include "../media/TestSounds.h"
#include "FilenameEdit.h"
#include "MediaPlayerBar.h"
#include "MessageBoxes.h"
#include "SpinField.h"

#include "frm_main.h"
#include "frm_param.h"
#include "pub_unit.h"
#include <QPushButton>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// The installed program's windows: both use the user's settings file and the shipped chime.
class tst_InstalledSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowsShareTheUsersFile();
    void chimeIsTheDefaultSound();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    SettingsLocation::Roots m_roots;
};

void tst_InstalledSettings::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    const QDir root(m_root->path());
    QVERIFY(root.mkpath(u"usr/bin"_s));
    QVERIFY(root.mkpath(u"usr/share/tarvik-timer"_s));
    QVERIFY(root.mkpath(u"home"_s));
    m_roots.executableDirectory = root.filePath(u"usr/bin/"_s);
    m_roots.installedDirectory = u"/usr/bin/"_s;
    m_roots.installedToData = u"../share/tarvik-timer/"_s;
    m_roots.home = root.filePath(u"home"_s);
    m_roots.systemConfigDirectory = root.filePath(u"etc/xdg"_s);
    pub_unit::setSettingsRootsForTesting(&m_roots);
    MessageBoxes::setPresenterForTesting(
        [](const MessageBoxes::Request &) { return QMessageBox::Ok; });
}

void tst_InstalledSettings::cleanup()
{
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setSettingsRootsForTesting(nullptr);
    m_root.reset();
}

void tst_InstalledSettings::windowsShareTheUsersFile()
{
    const QString config = m_root->filePath(u"home/.config/tarvik-timer/config.dat"_s);
    frm_main window(nullptr, Clocks::boot(), QByteArrayLiteral("fakesink"));
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    QCOMPARE(window.settingsFilePath(), config);

    window.RzSpinEdit1->setText(u"00"_s);
    window.RzSpinEdit2->setText(u"07"_s);
    window.RzSpinEdit3->setText(u"30"_s);
    window.ac_savesetExecute();
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"feng"_s, u"30"_s), u"07"_s);

    {
        frm_param dialog(&window);
        QCOMPARE(dialog.RzSpinEdit2->text(), u"07"_s);
        dialog.RzSpinEdit2->setText(u"08"_s);
        dialog.RzBitBtn1->click();
    }
    window.ac_readparamExecute();
    QCOMPARE(window.RzSpinEdit2->text(), u"08"_s);
    QVERIFY(QDir(m_roots.executableDirectory).isEmpty());
}

void tst_InstalledSettings::chimeIsTheDefaultSound()
{
    const QString chime = TestSounds::makeMp3(QDir(m_root->filePath(u"usr/share/tarvik-timer"_s)),
                                              u"chime.mp3"_s, 10);
    QVERIFY(!chime.isEmpty());
    frm_main window(nullptr, Clocks::boot(), QByteArrayLiteral("fakesink"));
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    // The player's bar shows only for a sound file that exists.
    QVERIFY(!window.MediaPlayer1->isHidden());
    frm_param dialog(&window);
    QCOMPARE(dialog.FilenameEdit1->text(), chime);
}

QTEST_MAIN(tst_InstalledSettings)
#include "tst_installedsettings.moc"
