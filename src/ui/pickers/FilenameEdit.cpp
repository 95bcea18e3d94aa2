// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilenameEdit.h"

#include "BrowseButton.h"
#include "FileNameRules.h"
#include "RetiredFileDialogs.h"
#include "SingleLineText.h"
#include "WorkerCall.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSettings>

#include <algorithm>
#include <memory>

namespace {

// The button stands inside the field's sunken border, flush with its right side.
constexpr int borderWidth = 2;

} // namespace

FilenameEdit::FilenameEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_button(new BrowseButton(this))
{
    setTextMargins(0, 0, BrowseButton::buttonWidth, 0);
    m_button->setAccessibleName(dialogTitle());
    SingleLineText::attach(this);
    connect(m_button, &QAbstractButton::clicked, this, &FilenameEdit::browse);
    placeButton();
}

FilenameEdit::~FilenameEdit() = default;

void FilenameEdit::setFilter(const QString &filter)
{
    m_filter = filter;
}

void FilenameEdit::setInitialDir(const QString &dir)
{
    m_initialDir = dir;
}

QString FilenameEdit::dialogTitle()
{
    return tr("Browse");
}

void FilenameEdit::setFileChooser(FileChooser chooser)
{
    m_chooser = std::move(chooser);
}

namespace {

// The folder answers every call Qt's file dialog makes on this thread when it is handed it:
// it is a folder, and so is each folder above it.
bool folderAnswers(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    // Each step up looks the folder above up.
    for (QDir up(QDir(folder).absolutePath()); !up.isRoot();) {
        if (!up.cdUp())
            return false;
    }
    return true;
}

// What browsing learns from the typed text (browse steps 1 and 2), looked up on a worker.
struct TypedLookup
{
    QString name;
    bool valid = false;
    QString folder;
    bool folderIsDir = false; // and answered, as did the name
};

TypedLookup lookUpTyped(const QString &text)
{
    // An existing file is taken whole; anything else is read like a command line, so a
    // quoted path with blanks works and trailing words are ignored.
    TypedLookup found;
    found.name = !text.isEmpty() && QFileInfo(text).isFile()
                     ? text
                     : FileNameRules::firstCommandLineWord(text);
    found.valid = FileNameRules::isValidFileName(found.name);
    if (found.valid) {
        found.folder = FileNameRules::folderPart(found.name);
        found.folderIsDir = !found.folder.isEmpty() && folderAnswers(found.folder);
        QFileInfo(found.name).exists(); // Qt's dialog looks the proposed name up too
    }
    return found;
}

// The last folder that answered a browse, where one opens when nothing it was asked about
// answers in time.
QString &lastAnsweredFolder()
{
    static QString folder;
    return folder;
}

// Qt's file dialog keeps its last folder and history in the user's shared Qt settings and
// opens them on this thread when the next dialog is made, a folder that hangs included.
// The field carries its own folder, so those settings are kept nowhere.
void keepNoQtDialogSettings()
{
    static const bool done = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStringLiteral("/dev/null"));
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

void FilenameEdit::browse()
{
    if (!isEnabled() || isReadOnly())
        return;

    // The typed path and the remembered folder may lie on a file system that does not
    // answer: both are looked at on workers at once, each bounded. What does not answer in
    // time is a failure of this step, which leaves the dialog's folder and name as they were.
    const QString current = text();
    const QString remembered = m_initialDir;
    const auto typed = WorkerCall::start<TypedLookup>(
        StuckWork::Kind::PathLookup, current, [current] { return lookUpTyped(current); },
        pathLookupBound);
    const auto rememberedAnswer =
        remembered.isEmpty()
            ? nullptr
            : WorkerCall::start<bool>(StuckWork::Kind::PathLookup, remembered,
                                      [remembered] { return folderAnswers(remembered); },
                                      pathLookupBound);
    const auto deadline = std::chrono::steady_clock::now() + pathLookupBound;
    const auto left = [deadline] {
        return std::max(std::chrono::milliseconds(0),
                        std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now()));
    };
    const std::optional<TypedLookup> found = typed ? typed->wait(left()) : std::nullopt;
    const bool rememberedIsDir =
        rememberedAnswer && rememberedAnswer->wait(left()).value_or(false);

    if (found && found->valid) {
        if (found->folderIsDir)
            m_initialDir = found->folder;
        m_fileName = found->name.size() > found->folder.size() ? found->name : QString();
    }

    const QStringList filters = FileNameRules::toNameFilters(m_filter);
    std::optional<QString> chosen;
    if (m_chooser) {
        chosen = m_chooser(m_initialDir, m_fileName, filters);
    } else {
        // Qt's dialog is only handed paths that have just answered.
        QString start;
        if (found && found->folderIsDir)
            start = found->folder;
        else if (rememberedIsDir && m_initialDir == remembered)
            start = remembered;
        else if (!lastAnsweredFolder().isEmpty())
            start = lastAnsweredFolder();
        else
            start = QDir::rootPath();
        lastAnsweredFolder() = start;
        const bool nameAnswered = found && found->valid && found->name == m_fileName &&
                                  FileNameRules::folderPart(m_fileName) == start;
        const QString proposed = nameAnswered ? m_fileName : QFileInfo(m_fileName).fileName();
        chosen = runFileDialog(start, proposed, filters);
    }

    if (isEnabled())
        setFocus(Qt::OtherFocusReason);

    if (!chosen || chosen->isEmpty())
        return;
    setText(FileNameRules::quotedWhenBlank(*chosen));
    m_initialDir = FileNameRules::folderPart(*chosen);
    m_fileName = *chosen;
}

std::optional<QString> FilenameEdit::runFileDialog(const QString &initialDir,
                                                   const QString &proposedName,
                                                   const QStringList &nameFilters)
{
    // Qt's own dialog behaves the same on every desktop. It is made for each browse, in a
    // folder that has answered, and retired when it closes: its name completion could
    // otherwise show its list again after the dialog has closed (when its folder finishes
    // loading) and take the next click, and destroying it waits for its folder reader. The
    // folder and the proposed name carry over through this field.
    keepNoQtDialogSettings();
    auto dialog = std::make_unique<QFileDialog>(this, dialogTitle(), initialDir);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog->selectNameFilter(nameFilters.first());
    dialog->setDirectory(initialDir);
    if (!proposedName.isEmpty())
        dialog->selectFile(proposedName);
    QStringList shown{dialog->directory().absolutePath()};
    connect(dialog.get(), &QFileDialog::directoryEntered, this,
            [&shown](const QString &folder) { shown.append(folder); });

    std::optional<QString> chosen;
    if (dialog->exec() == QDialog::Accepted) {
        const QStringList files = dialog->selectedFiles();
        if (!files.isEmpty())
            chosen = files.first();
    }
    dialog->disconnect(this);
    RetiredFileDialogs::retire(std::move(dialog), shown);
    return chosen;
}

void FilenameEdit::keyPressEvent(QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier) {
        event->accept();
        browse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilenameEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Entering the field from the keyboard selects its whole text; a click places the caret.
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        break;
    default:
        selectAll();
        break;
    }
}

void FilenameEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

void FilenameEdit::placeButton()
{
    m_button->setGeometry(width() - borderWidth - BrowseButton::buttonWidth, borderWidth,
                          BrowseButton::buttonWidth, height() - 2 * borderWidth);
}
