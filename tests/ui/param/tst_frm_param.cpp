// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorItemDrawing.h"
#include "ColorPicker.h"
#include "FilenameEdit.h"
#include "FontSizePicker.h"
#include "MessageBoxes.h"
#include "SpinField.h"
#include "frm_param.h"
#include "pub_unit.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <vector>

namespace {

constexpr std::int32_t clRed = 0x000000FF;
constexpr std::int32_t clBlack = 0x00000000;

struct Shown
{
    MessageBoxes::Request request;
    QString hoursText; // the hours field as it stood when the box came up
};

} // namespace

class tst_frm_param : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithDefaults();
    void layout();
    void tabOrder();
    void saveAndReopen();
    void cancelWritesNothing();
    void fieldWithFocusIsRewrittenBeforeSaving();
    void pictureCheckBox();
    void colours();
    void colourPickersShowWholeTexts();
    void loadingErrorSkipsTheRest_data();
    void loadingErrorSkipsTheRest();
    void refusedWriteStopsTheSave();
    void exitAndCloseBoxCancel();
    void enterSavesOnlyFromTheSaveButton();
    void escapeDoesNotClose();
    void noButtonIsDrawnAsDefault();
    void wheelStepsTheFocusedField();
    void unstorableValueStopsTheSaveBeforeAnyWrite_data();
    void unstorableValueStopsTheSaveBeforeAnyWrite();

private:
    QString configPath() const { return m_dir->path() + QStringLiteral("/config.dat"); }
    QString stored(const QString &key) const
    {
        return pub_unit::readKey(configPath(), QStringLiteral("SET"), key,
                                 QStringLiteral("<absent>"));
    }
    void store(const QString &key, const QString &value)
    {
        pub_unit::writeKey(configPath(), QStringLiteral("SET"), key, value);
    }
    std::unique_ptr<frm_param> openDialog()
    {
        auto dialog = std::make_unique<frm_param>(m_owner.get());
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("dialog not active");
        return dialog;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_owner;
    std::vector<Shown> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
    frm_param *m_current = nullptr;
};

void tst_frm_param::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    pub_unit::setApplicationDirectoryForTesting(m_dir->path());
    m_boxes.clear();
    m_answer = QMessageBox::Ok;
    MessageBoxes::setPresenterForTesting([this](const MessageBoxes::Request &request) {
        auto *dialog = qobject_cast<frm_param *>(request.owner);
        m_boxes.push_back({request, dialog ? dialog->RzSpinEdit1->text() : QString()});
        return request.buttons.testFlag(QMessageBox::Cancel) ? m_answer : QMessageBox::Ok;
    });
    m_owner = std::make_unique<QWidget>();
    m_owner->setGeometry(50, 40, 700, 500); // inside the offscreen 800 x 600 screen
    m_owner->show();
}

void tst_frm_param::cleanup()
{
    m_owner.reset();
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
    m_dir.reset();
}

void tst_frm_param::opensWithDefaults()
{
    auto dialog = openDialog();
    const QString appDir = m_dir->path() + QLatin1Char('/');
    QCOMPARE(dialog->settingsFilePath(), configPath());
    QCOMPARE(dialog->RzSpinEdit1->text(), QStringLiteral("01"));
    QCOMPARE(dialog->RzSpinEdit2->text(), QStringLiteral("30"));
    QCOMPARE(dialog->RzSpinEdit3->text(), QStringLiteral("00"));
    QCOMPARE(dialog->ColorBox1->selectedColor(), clRed);
    QCOMPARE(dialog->ColorBox2->selectedColor(), clBlack);
    QCOMPARE(dialog->GSFontSizeBox1->text(), QStringLiteral("72"));
    QCOMPARE(dialog->FilenameEdit1->text(), appDir + QStringLiteral("荷塘月色.mp3"));
    QCOMPARE(dialog->FilenameEdit1->initialDir(), appDir);
    QVERIFY(dialog->CheckBox2->isChecked());
    QCOMPARE(dialog->FilenameEdit2->text(), QString());
    QVERIFY(!dialog->CheckBox1->isChecked());
    QVERIFY(!dialog->FilenameEdit2->isEnabled());
    QCOMPARE(dialog->RzSpinEdit4->text(), QStringLiteral("0"));
    QVERIFY(m_boxes.empty());
    QVERIFY(!QFile::exists(configPath())); // opening writes nothing
}

void tst_frm_param::layout()
{
    auto dialog = openDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("参数设置"));
    QCOMPARE(dialog->size(), QSize(681, 546));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QVERIFY(dialog->windowFlags() & Qt::WindowCloseButtonHint);

    // Centred on the owner.
    const QPoint offset = dialog->frameGeometry().center() - m_owner->frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4,
             qPrintable(QStringLiteral("offset %1,%2").arg(offset.x()).arg(offset.y())));

    QCOMPARE(dialog->Panel1->geometry(), QRect(0, 0, 681, 57));
    QCOMPARE(dialog->Image1->pixmap().size(), QSize(32, 32));
    QVERIFY(dialog->Label8->font().bold());
    QCOMPARE(dialog->Label8->text(), QStringLiteral("参数设置"));
    QCOMPARE(dialog->RzGroupBox1->geometry(), QRect(36, 73, 298, 60));
    QCOMPARE(dialog->RzSpinEdit2->geometry(), QRect(110, 28, 54, 21));
    QCOMPARE(dialog->ColorBox1->parentWidget(), dialog.get());
    QCOMPARE(dialog->ColorBox1->geometry(), QRect(98, 170, 80, 22));
    QVERIFY(dialog->GroupBox1->geometry().contains(dialog->ColorBox1->geometry()));
    QCOMPARE(dialog->ColorBox2->geometry(), QRect(211, 31, 82, 22));
    QCOMPARE(dialog->GSFontSizeBox1->geometry(), QRect(82, 27, 208, 22));
    QCOMPARE(dialog->FilenameEdit1->geometry(), QRect(82, 24, 211, 21));
    QCOMPARE(dialog->RzSpinEdit4->geometry(), QRect(145, 48, 45, 21));
    QVERIFY(dialog->Label9->geometry().contains(dialog->RzSpinEdit4->geometry().center()));
    QCOMPARE(dialog->FilenameEdit2->geometry(), QRect(81, 24, 211, 21));
    QCOMPARE(dialog->CheckBox2->geometry(), QRect(359, 237, 97, 17));
    QCOMPARE(dialog->RzBitBtn1->pos(), QPoint(474, 232));
    QCOMPARE(dialog->RzBitBtn2->pos(), QPoint(565, 232));
    QCOMPARE(dialog->RzBitBtn1->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(dialog->RzSpinEdit1->maximum(), 99);
    QCOMPARE(dialog->RzSpinEdit2->maximum(), 59);
    QCOMPARE(dialog->RzSpinEdit3->maximum(), 59);
    QCOMPARE(dialog->RzSpinEdit4->maximum(), 99);
}

void tst_frm_param::tabOrder()
{
    store(QStringLiteral("showico"), QStringLiteral("-1"));
    auto dialog = openDialog();
    const std::vector<QWidget *> expected = {
        dialog->RzSpinEdit1, dialog->RzSpinEdit2,    dialog->RzSpinEdit3,   dialog->ColorBox2,
        dialog->ColorBox1,   dialog->GSFontSizeBox1, dialog->FilenameEdit1, dialog->RzSpinEdit4,
        dialog->RzBitBtn1,   dialog->RzBitBtn2,      dialog->CheckBox1,     dialog->FilenameEdit2,
        dialog->CheckBox2,   dialog->CheckBox3,      dialog->ComboBox1,     dialog->RzSpinEdit5,
        dialog->ColorBox3,   dialog->RzSpinEdit6,    dialog->ColorBox4,     dialog->ColorBox5,
        dialog->CheckBox4,   dialog->CheckBox5,      dialog->CheckBox6,     dialog->CheckBox7,
        dialog->Edit1,       dialog->CheckBox8,      dialog->CheckBox9,     dialog->RzSpinEdit7,
        dialog->RzSpinEdit1};
    QTRY_VERIFY(dialog->RzSpinEdit1->hasFocus());
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus == expected[i] || expected[i]->isAncestorOf(focus),
                 qPrintable(QStringLiteral("step %1: %2")
                                .arg(i)
                                .arg(focus ? QString::fromLatin1(focus->metaObject()->className())
                                           : "none")));
    }
}

void tst_frm_param::saveAndReopen()
{
    {
        auto dialog = openDialog();
        dialog->RzSpinEdit1->setText(QStringLiteral("2"));
        dialog->RzSpinEdit2->setText(QStringLiteral("5"));
        dialog->RzSpinEdit3->setText(QStringLiteral("9"));
        dialog->ColorBox1->setSelectedColor(0x0000FF00); // clLime
        dialog->ColorBox2->setSelectedColor(0x00800000); // clNavy
        dialog->GSFontSizeBox1->setText(QStringLiteral("48"));
        dialog->FilenameEdit1->setText(QStringLiteral("\"/tmp/a b.mp3\""));
        dialog->CheckBox1->setChecked(true);
        dialog->FilenameEdit2->setText(QStringLiteral("/tmp/p.jpg"));
        dialog->CheckBox2->setChecked(false);
        dialog->RzSpinEdit4->setText(QStringLiteral("15"));

        QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
        QCOMPARE(m_boxes.size(), std::size_t(1));
        const MessageBoxes::Request &confirm = m_boxes.front().request;
        QCOMPARE(confirm.owner, dialog.get());
        QCOMPARE(confirm.icon, QMessageBox::Question);
        QCOMPARE(confirm.caption, QStringLiteral("确认"));
        QCOMPARE(confirm.text, QStringLiteral("保存当前参数设置，请确认？"));
        QCOMPARE(confirm.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(dialog->isVisible()); // the dialog stays open after saving
    }

    QCOMPARE(stored(QStringLiteral("shi")), QStringLiteral("2"));
    QCOMPARE(stored(QStringLiteral("feng")), QStringLiteral("5"));
    QCOMPARE(stored(QStringLiteral("miao")), QStringLiteral("9"));
    QCOMPARE(stored(QStringLiteral("qiancolor")), QStringLiteral("clLime"));
    QCOMPARE(stored(QStringLiteral("beicolor")), QStringLiteral("clNavy"));
    QCOMPARE(stored(QStringLiteral("fontsize")), QStringLiteral("48"));
    QCOMPARE(stored(QStringLiteral("ico")), QStringLiteral("/tmp/p.jpg"));
    QCOMPARE(stored(QStringLiteral("showico")), QStringLiteral("-1"));
    QCOMPARE(stored(QStringLiteral("showtop")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("playtime")), QStringLiteral("15"));

    // The keys were written in the dialog's order.
    QFile file(configPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    qsizetype last = -1;
    for (const char *key : {"shi=", "feng=", "miao=", "qiancolor=", "beicolor=", "fontsize=",
                            "mp3=", "ico=", "showico=", "showtop=", "playtime="}) {
        const qsizetype at = content.indexOf(QByteArray("\n") + key);
        QVERIFY2(at > last, key);
        last = at;
    }

    auto reopened = openDialog();
    QCOMPARE(reopened->RzSpinEdit1->text(), QStringLiteral("2"));
    QCOMPARE(reopened->RzSpinEdit2->text(), QStringLiteral("5"));
    QCOMPARE(reopened->RzSpinEdit3->text(), QStringLiteral("9"));
    QCOMPARE(reopened->ColorBox1->selectedColor(), 0x0000FF00);
    QCOMPARE(reopened->ColorBox2->selectedColor(), 0x00800000);
    QCOMPARE(reopened->GSFontSizeBox1->text(), QStringLiteral("48"));
    // The read takes the quotes off again.
    QCOMPARE(reopened->FilenameEdit1->text(), QStringLiteral("/tmp/a b.mp3"));
    QVERIFY(reopened->CheckBox1->isChecked());
    QVERIFY(reopened->FilenameEdit2->isEnabled());
    QCOMPARE(reopened->FilenameEdit2->text(), QStringLiteral("/tmp/p.jpg"));
    QVERIFY(!reopened->CheckBox2->isChecked());
    QCOMPARE(reopened->RzSpinEdit4->text(), QStringLiteral("15"));
}

void tst_frm_param::cancelWritesNothing()
{
    auto dialog = openDialog();
    dialog->RzSpinEdit1->setText(QStringLiteral("7"));
    m_answer = QMessageBox::Cancel;
    QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
    QCOMPARE(m_boxes.size(), std::size_t(1));
    QVERIFY(!QFile::exists(configPath()));
    QVERIFY(dialog->isVisible());
}

void tst_frm_param::fieldWithFocusIsRewrittenBeforeSaving()
{
    store(QStringLiteral("shi"), QStringLiteral("01"));
    auto dialog = openDialog();
    QCOMPARE(dialog->RzSpinEdit1->text(), QStringLiteral("01"));
    dialog->RzSpinEdit1->setFocus(Qt::MouseFocusReason);
    dialog->RzSpinEdit1->selectAll();
    QTest::keyClicks(dialog->RzSpinEdit1, QStringLiteral("150"));
    QCOMPARE(dialog->RzSpinEdit1->text(), QStringLiteral("150"));
    QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
    QCOMPARE(m_boxes.size(), std::size_t(1));
    QCOMPARE(m_boxes.front().hoursText, QStringLiteral("99"));
    QCOMPARE(stored(QStringLiteral("shi")), QStringLiteral("99"));
}

void tst_frm_param::pictureCheckBox()
{
    store(QStringLiteral("ico"), QStringLiteral("/pictures/corner.jpg"));
    store(QStringLiteral("showico"), QStringLiteral("TRUE"));
    auto dialog = openDialog();
    QVERIFY(dialog->CheckBox1->isChecked());
    QVERIFY(dialog->FilenameEdit2->isEnabled());

    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    QVERIFY(!dialog->CheckBox1->isChecked());
    QVERIFY(!dialog->FilenameEdit2->isEnabled());
    QCOMPARE(dialog->FilenameEdit2->text(), QStringLiteral("/pictures/corner.jpg"));

    QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("ico")), QStringLiteral("/pictures/corner.jpg"));
    QCOMPARE(stored(QStringLiteral("showico")), QStringLiteral("0"));

    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    QVERIFY(dialog->FilenameEdit2->isEnabled());
}

void tst_frm_param::colours()
{
    store(QStringLiteral("qiancolor"), QStringLiteral("clred"));
    store(QStringLiteral("beicolor"), QStringLiteral("$00C0FFEE"));
    auto dialog = openDialog();
    QCOMPARE(dialog->ColorBox1->selectedColor(), clRed);
    QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("qiancolor")), QStringLiteral("clRed"));
    // A colour without an entry in the list survives a save untouched.
    QCOMPARE(stored(QStringLiteral("beicolor")), QStringLiteral("$00C0FFEE"));
}

void tst_frm_param::colourPickersShowWholeTexts()
{
    // At the dialog's fixed size every entry shows whole in the closed picker, narrowed where
    // it is long: no text runs under the arrow ("clBlac").
    auto dialog = openDialog();
    for (ColorPicker *picker : {dialog->ColorBox1, dialog->ColorBox2}) {
        QStyleOptionComboBox option;
        option.initFrom(picker);
        const QRect field = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxEditField, picker);
        const int textLeft = field.left() + field.height() + ColorItemDrawing::textGap;
        for (int i = 0; i < picker->count(); ++i) {
            picker->setCurrentIndex(i);
            const QImage image = picker->grab().toImage();
            int inkRight = -1;
            for (int x = textLeft; x <= field.right(); ++x) {
                for (int y = field.top(); y <= field.bottom(); ++y) {
                    if (qGray(image.pixel(x, y)) < 128)
                        inkRight = x;
                }
            }
            QVERIFY2(inkRight > textLeft, qPrintable(picker->currentText()));
            QVERIFY2(inkRight < field.right(),
                     qPrintable(picker->currentText() + QStringLiteral(" runs to the arrow")));
        }
    }
}

void tst_frm_param::loadingErrorSkipsTheRest_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fontSizeLoaded");

    QTest::newRow("colour") << "qiancolor"
                            << "clRedd"
                            << "'clRedd' is not a valid integer value." << false;
    QTest::newRow("boolean") << "showtop"
                             << "yes"
                             << "'yes' is not a valid boolean value." << true;
}

void tst_frm_param::loadingErrorSkipsTheRest()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(bool, fontSizeLoaded);
    store(QStringLiteral("shi"), QStringLiteral("05"));
    store(QStringLiteral("fontsize"), QStringLiteral("12"));
    store(QStringLiteral("showico"), QStringLiteral("-1"));
    store(QStringLiteral("playtime"), QStringLiteral("30"));
    store(key, value);

    auto dialog = openDialog();
    QCOMPARE(m_boxes.size(), std::size_t(1));
    QCOMPARE(m_boxes.front().request.icon, QMessageBox::Critical);
    QCOMPARE(m_boxes.front().request.caption, QStringLiteral("Tarvik倒计时计时器"));
    QCOMPARE(m_boxes.front().request.text, message);

    // Steps before the failing one took effect; the later fields keep their designed values.
    QCOMPARE(dialog->RzSpinEdit1->text(), QStringLiteral("05"));
    QCOMPARE(dialog->GSFontSizeBox1->text(),
             fontSizeLoaded ? QStringLiteral("12") : QStringLiteral("24"));
    QVERIFY(dialog->CheckBox2->isChecked());
    QVERIFY(!dialog->CheckBox1->isChecked());
    QVERIFY(!dialog->FilenameEdit2->isEnabled());
    QCOMPARE(dialog->RzSpinEdit4->text(), QStringLiteral("0"));
    QCOMPARE(dialog->FilenameEdit1->initialDir(), QString());
    QVERIFY(dialog->isVisible());
}

void tst_frm_param::refusedWriteStopsTheSave()
{
    // A folder where the file should be: every write is refused.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("config.dat")));
    auto dialog = openDialog();
    QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
    QCOMPARE(m_boxes.size(), std::size_t(2));
    QCOMPARE(m_boxes.back().request.icon, QMessageBox::Critical);
    QCOMPARE(m_boxes.back().request.text,
             QStringLiteral("Unable to write to %1.").arg(configPath()));
    QVERIFY(dialog->isVisible());
    QVERIFY(QFileInfo(configPath()).isDir());
}

void tst_frm_param::exitAndCloseBoxCancel()
{
    {
        auto dialog = openDialog();
        dialog->RzSpinEdit1->setText(QStringLiteral("3"));
        QTimer::singleShot(0, dialog.get(), [&dialog] { dialog->RzBitBtn2->click(); });
        QCOMPARE(dialog->exec(), int(QDialog::Rejected));
    }
    {
        frm_param dialog(m_owner.get());
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }
    QVERIFY(m_boxes.empty());
    QVERIFY(!QFile::exists(configPath()));
}

void tst_frm_param::enterSavesOnlyFromTheSaveButton()
{
    auto dialog = openDialog();
    for (QWidget *widget :
         {static_cast<QWidget *>(dialog->CheckBox2), static_cast<QWidget *>(dialog->ColorBox1),
          static_cast<QWidget *>(dialog->RzSpinEdit3)}) {
        widget->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(m_boxes.empty());
        QVERIFY(dialog->isVisible());
    }
    dialog->RzBitBtn1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog->RzBitBtn1, Qt::Key_Return);
    QCOMPARE(m_boxes.size(), std::size_t(1));
    QCOMPARE(m_boxes.front().request.caption, QStringLiteral("确认"));
}

void tst_frm_param::escapeDoesNotClose()
{
    auto dialog = openDialog();
    dialog->RzSpinEdit1->setText(QStringLiteral("7"));
    QStringList closedBy;
    QTimer::singleShot(0, dialog.get(), [&dialog, &closedBy] {
        // From a field, from a closed list and from the dialog itself.
        for (QWidget *target : {static_cast<QWidget *>(dialog->RzSpinEdit2),
                                static_cast<QWidget *>(dialog->ColorBox2),
                                static_cast<QWidget *>(dialog.get())}) {
            target->setFocus(Qt::TabFocusReason);
            QTest::keyClick(target, Qt::Key_Escape);
            if (!dialog->isVisible())
                closedBy.append(QString::fromLatin1(target->metaObject()->className()));
        }
        dialog->RzBitBtn2->click();
    });
    QCOMPARE(dialog->exec(), int(QDialog::Rejected));
    QCOMPARE(closedBy, QStringList());
    QCOMPARE(dialog->RzSpinEdit1->text(), QStringLiteral("7"));
}

void tst_frm_param::noButtonIsDrawnAsDefault()
{
    auto dialog = openDialog();
    for (QPushButton *button : {dialog->RzBitBtn1, dialog->RzBitBtn2}) {
        button->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), button);
        // Either flag makes the style draw the default frame.
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
    dialog->RzSpinEdit1->setFocus(Qt::TabFocusReason);
    QVERIFY(!dialog->RzBitBtn1->isDefault());
}

void tst_frm_param::wheelStepsTheFocusedField()
{
    auto dialog = openDialog();
    dialog->RzSpinEdit4->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), dialog->RzSpinEdit4);
    const int colour = dialog->ColorBox1->currentIndex();
    // Over a colour list, which would otherwise take the turn itself, and over the header.
    for (QWidget *under : {static_cast<QWidget *>(dialog->ColorBox1),
                           static_cast<QWidget *>(dialog->Label8)}) {
        const QPointF local(under->width() / 2.0, under->height() / 2.0);
        QWheelEvent wheel(local, under->mapToGlobal(local), QPoint(),
                          QPoint(0, QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(under, &wheel);
    }
    QCOMPARE(dialog->RzSpinEdit4->text(), QStringLiteral("2"));
    QCOMPARE(dialog->ColorBox1->currentIndex(), colour);
}

void tst_frm_param::unstorableValueStopsTheSaveBeforeAnyWrite_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("named");
    QTest::newRow("line break in the sound file") << "FilenameEdit1" << "音乐文件";
    QTest::newRow("line feed and return in the font size") << "GSFontSizeBox1" << "字体大小";
    QTest::newRow("lone surrogate in the picture file") << "FilenameEdit2" << "图标文件";
    QTest::newRow("line break in the alarm lead") << "RzSpinEdit4" << "音乐提前秒数";
}

void tst_frm_param::unstorableValueStopsTheSaveBeforeAnyWrite()
{
    QFETCH(QString, field);
    QFETCH(QString, named);
    store(QStringLiteral("shi"), QStringLiteral("02"));
    QFile file(configPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    auto dialog = openDialog();
    dialog->RzSpinEdit1->setText(QStringLiteral("5"));
    // Set by the program: what the user can paste is cut at the first line break already.
    if (field == QStringLiteral("FilenameEdit1"))
        dialog->FilenameEdit1->setText(QStringLiteral("line1\nline2.mp3"));
    else if (field == QStringLiteral("GSFontSizeBox1"))
        dialog->GSFontSizeBox1->setText(QStringLiteral("12\r\n"));
    else if (field == QStringLiteral("FilenameEdit2"))
        dialog->FilenameEdit2->setText(QStringLiteral("a") + QChar(0xD800) + QStringLiteral(".ico"));
    else
        dialog->RzSpinEdit4->setText(QStringLiteral("1\n2"));

    QTest::mouseClick(dialog->RzBitBtn1, Qt::LeftButton);
    QCOMPARE(m_boxes.size(), std::size_t(2));
    QCOMPARE(m_boxes.back().request.icon, QMessageBox::Critical);
    QVERIFY2(m_boxes.back().request.text.contains(named), qPrintable(m_boxes.back().request.text));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QVERIFY(dialog->isVisible());
}

QTEST_MAIN(tst_frm_param)
#include "tst_frm_param.moc"
