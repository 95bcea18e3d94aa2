// SPDX-License-Identifier: GPL-3.0-or-later
#include "BigScreen.h"
#include "ColorPicker.h"
#include "EndTime.h"
#include "FilenameEdit.h"
#include "FontSizePicker.h"
#include "MediaPlayer.h"
#include "MediaPlayerBar.h"
#include "MessageBoxes.h"
#include "NumberTexts.h"
#include "QuickStartMenu.h"
#include "SettingsSchema.h"
#include "SpinField.h"
#include "SystemColors.h"
#include "TTEImage.h"
#include "ValueEncodings.h"
#include "frm_main.h"
#include "frm_param.h"
#include "RemoteFront.h"
#include "pub_unit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include <memory>

using SettingsSchema::Key;
using SettingsSchema::Kind;

namespace {

// What the main window shows for a key, in the form of the key's value.
QString mainWindowShows(const frm_main &window, Key key)
{
    const QPalette display = window.Label7->palette();
    switch (key) {
    case Key::shi:
        return window.RzSpinEdit1->text();
    case Key::feng:
        return window.RzSpinEdit2->text();
    case Key::miao:
        return window.RzSpinEdit3->text();
    case Key::qiancolor:
        return display.color(QPalette::WindowText).name();
    case Key::beicolor:
        return display.color(QPalette::Window).name();
    case Key::fontsize:
        return QString::number(window.Label7->font().pointSize());
    case Key::mp3:
        return window.MediaPlayer1->player()->fileName();
    case Key::showtop:
        return QString::number(!window.Panel1->isHidden());
    case Key::ico:
        return window.cornerPicturePath();
    case Key::showico:
        return QString::number(!window.TEImage1->isHidden());
    case Key::playtime:
        return QString::number(window.alarmLead());
    case Key::autofit:
        return QString::number(window.findChild<BigScreen *>()->autofit());
    case Key::monitor:
        return QString::number(window.findChild<BigScreen *>()->monitor());
    case Key::warn1:
        return QString::number(window.stageSettings().warn1);
    case Key::warn2:
        return QString::number(window.stageSettings().warn2);
    case Key::warn1color:
        return SystemColors::toQColor(window.stageSettings().warn1Colour).name();
    case Key::warn2color:
        return SystemColors::toQColor(window.stageSettings().warn2Colour).name();
    case Key::overcolor:
        return SystemColors::toQColor(window.stageSettings().overColour).name();
    case Key::overflash:
        return QString::number(window.stageSettings().overFlash);
    case Key::endmode:
        return QString::number(window.stageSettings().endMode);
    case Key::endtime:
        return EndTime::toText(window.stageSettings().endTime);
    case Key::showend:
        return QString::number(!window.endLine()->isHidden());
    case Key::keepawake:
        return QString::number(window.stageSettings().keepAwake);
    case Key::alarmloop:
        return QString::number(window.stageSettings().alarmLoop);
    case Key::presets:
    case Key::recent: {
        // The quick-start menu reads both as it opens.
        window.quickStartMenu()->refresh();
        QStringList shown;
        const bool presets = key == Key::presets;
        for (std::int32_t seconds :
             presets ? window.quickStartMenu()->presets() : window.quickStartMenu()->recent())
            shown.append(QString::number(presets ? seconds / 60 : seconds));
        return shown.join(QLatin1Char(','));
    }
    case Key::remote:
        return QString::number(window.remote()->isEnabled());
    case Key::remoteport:
        return QString::number(window.remote()->port());
    }
    return {};
}

QString dialogShows(const frm_param &dialog, Key key)
{
    switch (key) {
    case Key::shi:
        return dialog.RzSpinEdit1->text();
    case Key::feng:
        return dialog.RzSpinEdit2->text();
    case Key::miao:
        return dialog.RzSpinEdit3->text();
    case Key::qiancolor:
        return SystemColors::toQColor(dialog.ColorBox1->selectedColor()).name();
    case Key::beicolor:
        return SystemColors::toQColor(dialog.ColorBox2->selectedColor()).name();
    case Key::fontsize:
        return dialog.GSFontSizeBox1->text();
    case Key::mp3:
        return dialog.FilenameEdit1->text();
    case Key::showtop:
        return QString::number(dialog.CheckBox2->isChecked());
    case Key::ico:
        return dialog.FilenameEdit2->text();
    case Key::showico:
        return QString::number(dialog.CheckBox1->isChecked());
    case Key::playtime:
        return dialog.RzSpinEdit4->text();
    case Key::autofit:
        return QString::number(dialog.CheckBox3->isChecked());
    case Key::monitor:
        return dialog.ComboBox1->currentData().toString();
    case Key::warn1:
        return dialog.RzSpinEdit5->text();
    case Key::warn2:
        return dialog.RzSpinEdit6->text();
    case Key::warn1color:
        return SystemColors::toQColor(dialog.ColorBox3->selectedColor()).name();
    case Key::warn2color:
        return SystemColors::toQColor(dialog.ColorBox4->selectedColor()).name();
    case Key::overcolor:
        return SystemColors::toQColor(dialog.ColorBox5->selectedColor()).name();
    case Key::overflash:
        return QString::number(dialog.CheckBox4->isChecked());
    case Key::endmode:
        return QString::number(dialog.CheckBox5->isChecked());
    case Key::endtime:
        return EndTime::toText(dialog.TimeEdit1->time());
    case Key::showend:
        return QString::number(dialog.CheckBox6->isChecked());
    case Key::keepawake:
        return QString::number(dialog.CheckBox7->isChecked());
    case Key::alarmloop:
        return QString::number(dialog.CheckBox8->isChecked());
    case Key::presets:
        return dialog.Edit1->text();
    case Key::recent:
        // What was started, not a setting: the dialog neither shows nor writes it.
        return QString();
    case Key::remote:
        return QString::number(dialog.CheckBox9->isChecked());
    case Key::remoteport:
        return dialog.RzSpinEdit7->text();
    }
    return {};
}

// The value text as a window shows it: colours as their colour, booleans as 0 or 1, and the
// main window's font size and alarm lead as numbers.
QString shownForm(Key key, const QString &text, bool mainWindow)
{
    switch (SettingsSchema::entry(key).kind) {
    case Kind::Colour:
        return SystemColors::toQColor(ValueEncodings::textToColor(text)).name();
    case Kind::Boolean:
        return QString::number(ValueEncodings::textToBool(text));
    case Kind::Integer:
        if (key == Key::monitor || (mainWindow && key == Key::remoteport) || (mainWindow && (key == Key::fontsize || key == Key::playtime)))
            return QString::number(NumberTexts::integerFromText(text, 0));
        return text;
    case Kind::Path:
    case Kind::Text:
        return text;
    }
    return text;
}

} // namespace

// Both windows read every key of the table with the table's default, and show what the file
// holds when it holds the key.
class tst_SettingsSchema : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        pub_unit::setApplicationDirectoryForTesting(m_dir->path());
        MessageBoxes::setPresenterForTesting([this](const MessageBoxes::Request &request) {
            m_boxes.append(request.text);
            return QMessageBox::Ok;
        });
        m_boxes.clear();
        // The remote, when a row turns it on, serves on this machine only.
        qputenv("TARVIK_REMOTE_LISTEN", "127.0.0.1");
    }
    void cleanup()
    {
        MessageBoxes::setPresenterForTesting({});
        pub_unit::setApplicationDirectoryForTesting(QString());
        m_dir.reset();
    }

    void bothWindowsFollowTheTable_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("fileValue"); // empty: the key is not in the file
        // One per key, in the table's order; a key added to the table needs one here.
        const std::array<const char *, SettingsSchema::entries.size()> values = {
            "07", "45", "09",    "clLime", "clNavy", "40",    "",       "0",         "",
            "-1", "12", "-1",    "2",      "30",     "10",    "clAqua", "clFuchsia", "clBlue",
            "-1", "-1", "07:45", "-1",     "1,2",    "60,30", "0",      "-1",
            "-1",     "18760"};
        for (const SettingsSchema::Entry &entry : SettingsSchema::entries) {
            const QString name = QString::fromUtf16(entry.name);
            QTest::newRow(qPrintable(name + QStringLiteral(" default"))) << entry.key << QString();
            QTest::newRow(qPrintable(name + QStringLiteral(" from file")))
                << entry.key << QString::fromLatin1(values[std::size_t(entry.key)]);
        }
    }
    void bothWindowsFollowTheTable()
    {
        QFETCH(Key, key);
        QFETCH(QString, fileValue);
        const QString config = pub_unit::settingsFilePath();
        // The picture keys need a picture file, the sound key a path of its own.
        const QString picture = m_dir->filePath(QStringLiteral("corner.jpg"));
        QImage(16, 16, QImage::Format_RGB32).save(picture, "JPEG");
        if (key == Key::mp3)
            fileValue = m_dir->filePath(QStringLiteral("alarm.mp3"));
        if (key == Key::ico && !fileValue.isNull())
            fileValue = picture;
        if (key == Key::showico)
            SettingsSchema::write(config, Key::ico, picture);
        if (!fileValue.isEmpty())
            SettingsSchema::write(config, key, fileValue);
        const QString expected =
            fileValue.isEmpty() ? SettingsSchema::defaultValue(key) : fileValue;

        frm_main window(nullptr, Clocks::boot(), QByteArrayLiteral("fakesink"));
        QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
        QCOMPARE(mainWindowShows(window, key), shownForm(key, expected, true));
        frm_param dialog(&window);
        if (key != Key::recent)
            QCOMPARE(dialogShows(dialog, key), shownForm(key, expected, false));
        QCOMPARE(m_boxes, QStringList());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_boxes;
};

QTEST_MAIN(tst_SettingsSchema)
#include "tst_settingsschema.moc"
