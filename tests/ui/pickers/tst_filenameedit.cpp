// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowseButton.h"
#include "FilenameEdit.h"
#include "SystemColors.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct ChooserCall
{
    QString initialDir;
    QString proposedName;
    QStringList filters;
};

// Stands in for the file dialog: records what it was asked and answers as told.
struct FakeChooser
{
    QList<ChooserCall> calls;
    std::optional<QString> answer;

    FilenameEdit::FileChooser function()
    {
        return [this](const QString &dir, const QString &name, const QStringList &filters) {
            calls.append({dir, name, filters});
            return answer;
        };
    }
};

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

int darkestGrey(const QImage &image, const QRect &area)
{
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

class TestFilenameEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonSitsInsideTheRightEdge();
    void buttonPicture();
    void browsesFromQuotedExistingPath();
    void invalidTextKeepsPreviousFolderAndName();
    void existingFileWithBlanksIsTakenWhole();
    void chosenPathIsQuotedWhenItHasABlank();
    void cancelLeavesTheText();
    void altDownAndButtonBrowse();
    void disabledFieldIgnoresInput();
    void disabledTextIsGrey();
    void keyboardEntrySelectsAll();
    void realDialogIsConfigured();
    void typedNameLeavesNoCompletionBehind();
};

void TestFilenameEdit::buttonSitsInsideTheRightEdge()
{
    FilenameEdit edit;
    edit.resize(211, 21);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    const QRect button = edit.browseButton()->geometry();
    QCOMPARE(button, QRect(211 - 2 - 21, 2, 21, 17));
    QCOMPARE(edit.textMargins().right(), 21);
}

void TestFilenameEdit::buttonPicture()
{
    const QImage picture = BrowseButton::folderPicture().toImage();
    QCOMPARE(picture.size(), QSize(14, 12));
    QCOMPARE(qAlpha(picture.pixel(13, 11)), 0);
    bool hasBlack = false;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            hasBlack = hasBlack || picture.pixel(x, y) == qRgb(0, 0, 0);
    QVERIFY(hasBlack);

    // Up, the left edge carries the face and highlight lines; pressed, it does not.
    BrowseButton button;
    button.resize(21, 17);
    QImage up = button.grab().toImage();
    const QColor face = SystemColors::toQColor(std::int32_t(0xFF00000Fu));
    const QColor light = SystemColors::toQColor(std::int32_t(0xFF000014u));
    QCOMPARE(QColor(up.pixel(0, 0)), face);
    QCOMPARE(QColor(up.pixel(0, 15)), face);
    QCOMPARE(QColor(up.pixel(1, 1)), light);
    QCOMPARE(QColor(up.pixel(1, 14)), light);
    button.setDown(true);
    const QImage down = button.grab().toImage();
    QVERIFY(QColor(down.pixel(1, 1)) != light || QColor(down.pixel(0, 0)) != face);
}

void TestFilenameEdit::browsesFromQuotedExistingPath()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString folder = temp.path() + "/my music/";
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + "荷塘月色.mp3";
    touch(file);

    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());
    edit.setFilter("mp3 (*.mp3)|*.mp3");
    const QString quoted = u'"' + file + u'"';
    edit.setText(quoted);
    edit.browse();

    QCOMPARE(chooser.calls.size(), 1);
    QCOMPARE(chooser.calls[0].initialDir, folder);
    QCOMPARE(chooser.calls[0].proposedName, file);
    QCOMPARE(chooser.calls[0].filters, QStringList{"mp3 (*.mp3)"});
    QCOMPARE(edit.text(), quoted);

    // A folder that does not exist keeps the folder but still proposes the name.
    edit.setText("/no/such/folder/x.mp3");
    edit.browse();
    QCOMPARE(chooser.calls[1].initialDir, folder);
    QCOMPARE(chooser.calls[1].proposedName, "/no/such/folder/x.mp3");

    // A bare folder proposes no name.
    edit.setText(temp.path() + u'/');
    edit.browse();
    QCOMPARE(chooser.calls[2].initialDir, temp.path() + u'/');
    QCOMPARE(chooser.calls[2].proposedName, QString());
}

void TestFilenameEdit::invalidTextKeepsPreviousFolderAndName()
{
    QTemporaryDir temp;
    const QString file = temp.path() + "/a.jpg";
    touch(file);

    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());
    edit.setInitialDir("/start/");
    edit.setText(file);
    edit.browse();
    QCOMPARE(chooser.calls[0].initialDir, temp.path() + u'/');

    for (const QString &bad : {QStringLiteral("/tmp/a|b.jpg"), QStringLiteral("<x>"),
                               QStringLiteral("   "), QString()}) {
        edit.setText(bad);
        edit.browse();
        QCOMPARE(chooser.calls.last().initialDir, temp.path() + u'/');
        QCOMPARE(chooser.calls.last().proposedName, file);
        QCOMPARE(edit.text(), bad);
    }
}

void TestFilenameEdit::existingFileWithBlanksIsTakenWhole()
{
    QTemporaryDir temp;
    const QString file = temp.path() + "/two words.mp3";
    touch(file);

    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());
    edit.setText(file);
    edit.browse();
    QCOMPARE(chooser.calls[0].proposedName, file);
    QCOMPARE(chooser.calls[0].initialDir, temp.path() + u'/');
}

void TestFilenameEdit::chosenPathIsQuotedWhenItHasABlank()
{
    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());

    chooser.answer = "/music/my song.mp3";
    edit.browse();
    QCOMPARE(edit.text(), "\"/music/my song.mp3\"");
    QCOMPARE(edit.initialDir(), "/music/");
    QCOMPARE(edit.dialogFileName(), "/music/my song.mp3");

    chooser.answer = "/pictures/corner.jpg";
    edit.browse();
    QCOMPARE(edit.text(), "/pictures/corner.jpg");
    QCOMPARE(edit.initialDir(), "/pictures/");
}

void TestFilenameEdit::cancelLeavesTheText()
{
    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());
    edit.setInitialDir("/start/");
    edit.setText("typed text");
    edit.browse();
    QCOMPARE(chooser.calls.size(), 1);
    QCOMPARE(edit.text(), "typed text");
    QCOMPARE(edit.initialDir(), "/start/");
}

void TestFilenameEdit::altDownAndButtonBrowse()
{
    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());
    edit.resize(211, 21);

    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(chooser.calls.size(), 1);
    QTest::keyClick(&edit, Qt::Key_Down);
    QCOMPARE(chooser.calls.size(), 1);
    QTest::mouseClick(edit.browseButton(), Qt::LeftButton);
    QCOMPARE(chooser.calls.size(), 2);

    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    edit.browse();
    QCOMPARE(chooser.calls.size(), 2);
}

void TestFilenameEdit::disabledFieldIgnoresInput()
{
    FakeChooser chooser;
    FilenameEdit edit;
    edit.setFileChooser(chooser.function());
    edit.resize(211, 21);
    edit.setText("keep");
    edit.setEnabled(false);

    QVERIFY(!edit.browseButton()->isEnabled());
    QTest::mouseClick(edit.browseButton(), Qt::LeftButton);
    for (const auto &[key, modifiers, text] :
         {std::tuple{Qt::Key_Down, Qt::AltModifier, QString()},
          std::tuple{Qt::Key_A, Qt::NoModifier, QStringLiteral("a")}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&edit, &press);
    }
    edit.browse();
    QCOMPARE(chooser.calls.size(), 0);
    QCOMPARE(edit.text(), "keep");

    edit.setEnabled(true);
    QVERIFY(edit.browseButton()->isEnabled());
    QTest::mouseClick(edit.browseButton(), Qt::LeftButton);
    QCOMPARE(chooser.calls.size(), 1);
}

void TestFilenameEdit::disabledTextIsGrey()
{
    FilenameEdit edit;
    edit.resize(211, 21);
    edit.setText("MMMMMMMMMMMM");
    const QRect textArea(4, 4, 150, 13);

    const int enabledDarkest = darkestGrey(edit.grab().toImage(), textArea);
    edit.setEnabled(false);
    const QImage disabled = edit.grab().toImage();
    const int disabledDarkest = darkestGrey(disabled, textArea);

    const int greyText = qGray(SystemColors::toQColor(std::int32_t(0xFF000011u)).rgb());
    QVERIFY2(disabledDarkest > enabledDarkest + 40,
             qPrintable(QStringLiteral("%1 vs %2").arg(disabledDarkest).arg(enabledDarkest)));
    QVERIFY(qAbs(disabledDarkest - greyText) < 40);
}

void TestFilenameEdit::keyboardEntrySelectsAll()
{
    FilenameEdit edit;
    edit.setText("/some/file.mp3");

    edit.deselect();
    QFocusEvent byMouse(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&edit, &byMouse);
    QVERIFY(!edit.hasSelectedText());

    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::BacktabFocusReason,
                                   Qt::ShortcutFocusReason, Qt::OtherFocusReason}) {
        edit.deselect();
        QFocusEvent byKeyboard(QEvent::FocusIn, reason);
        QApplication::sendEvent(&edit, &byKeyboard);
        QCOMPARE(edit.selectedText(), edit.text());
    }
}

void TestFilenameEdit::realDialogIsConfigured()
{
    QTemporaryDir temp;
    const QString file = temp.path() + "/a.ico";
    touch(file);

    FilenameEdit edit;
    edit.setFilter("图片文件 (*.jpg)|*.jpg|图标文件(*.ico)|*.ico");
    edit.setText(file);

    QString title;
    QStringList filters;
    QString selectedFilter;
    QString directory;
    QStringList selected;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    // The dialog is closed as soon as it shows, so that the test never waits on it.
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, &edit, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        selectedFilter = dialog->selectedNameFilter();
        directory = dialog->directory().absolutePath();
        selected = dialog->selectedFiles();
        mode = dialog->fileMode();
        dialog->reject();
    });
    closer.start();
    edit.browse();
    closer.stop();

    QCOMPARE(title, "Browse");
    QCOMPARE(filters, (QStringList{"图片文件 (*.jpg)", "图标文件(*.ico)"}));
    QCOMPARE(selectedFilter, "图片文件 (*.jpg)");
    QCOMPARE(directory, QDir(temp.path()).absolutePath());
    QCOMPARE(selected, QStringList{file});
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QCOMPARE(edit.text(), file);
}

void TestFilenameEdit::typedNameLeavesNoCompletionBehind()
{
    QTemporaryDir temp;
    touch(temp.path() + "/alarm.mp3");
    touch(temp.path() + "/alarm2.mp3");

    QWidget window;
    auto *edit = new FilenameEdit(&window);
    edit->setFilter("mp3 (*.mp3)|*.mp3");
    edit->setInitialDir(temp.path() + "/");
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // The name is typed into the dialog's name field until the completion list shows,
    // then finished and confirmed with Enter.
    bool completionShown = false;
    bool confirmed = false;
    int ticks = 0;
    QTimer typist;
    typist.setInterval(20);
    connect(&typist, &QTimer::timeout, edit, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        if (!name || ++ticks > 1500) { // about thirty seconds: give up rather than hang
            dialog->reject();
            return;
        }
        if (name->text().isEmpty()) {
            name->setFocus();
            QTest::keyClicks(name, "ala");
            return;
        }
        if (!completionShown) {
            completionShown = QApplication::activePopupWidget() != nullptr;
            // The completion looks at the folder as loaded when the text changed: on a
            // busy machine the folder may come in later, so the name is typed again.
            if (!completionShown && ticks % 25 == 0)
                name->clear();
            return;
        }
        if (!confirmed) {
            confirmed = true;
            // Keys go to the open completion list, which hands them to the name field.
            QWidget *const list = QApplication::activePopupWidget();
            QTest::keyClicks(list, "rm.mp3");
            QWidget *const stillOpen = QApplication::activePopupWidget();
            QTest::keyClick(stillOpen ? stillOpen : name, Qt::Key_Return);
        }
    });
    typist.start();
    edit->browse();
    typist.stop();

    QVERIFY(completionShown);
    QCOMPARE(edit->text(), QDir(temp.path()).absoluteFilePath("alarm.mp3"));
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    // Nothing of the dialog is left that could bring its list back once the folder has
    // loaded, and the next click in the window reaches its control.
    QVERIFY(edit->findChildren<QFileDialog *>().isEmpty());
    for (const QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!(widget->isVisible() && widget->windowType() == Qt::Popup));
    auto *box = new QCheckBox("显示窗体头条", &window);
    box->move(0, 40);
    box->show();
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
}

QTEST_MAIN(TestFilenameEdit)
#include "tst_filenameedit.moc"
