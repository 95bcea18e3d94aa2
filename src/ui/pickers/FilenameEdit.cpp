#include "FilenameEdit.h"

#include "BrowseButton.h"
#include "FileNameRules.h"
#include "SingleLineText.h"
#include "WorkerCall.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>

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

bool FilenameEdit::pathIs(const QString &path, bool (QFileInfo::*test)() const)
{
    if (path.isEmpty())
        return false;
    const std::optional<bool> answer = WorkerCall::run<bool>(
        [path, test] { return (QFileInfo(path).*test)(); }, pathLookupBound);
    return answer.value_or(false);
}

void FilenameEdit::browse()
{
    if (!isEnabled() || isReadOnly())
        return;

    // An existing file is taken whole; anything else is read like a command line, so a
    // quoted path with blanks works and trailing words are ignored.
    // The typed path may lie on a file system that does not answer: it is looked at on a
    // worker, and one that does not answer in time counts as neither file nor folder.
    const QString current = text();
    const QString name = pathIs(current, &QFileInfo::isFile)
                             ? current
                             : FileNameRules::firstCommandLineWord(current);

    if (FileNameRules::isValidFileName(name)) {
        const QString folder = FileNameRules::folderPart(name);
        if (!folder.isEmpty() && pathIs(folder, &QFileInfo::isDir))
            m_initialDir = folder;
        m_fileName = name.size() > folder.size() ? name : QString();
    }

    const QStringList filters = FileNameRules::toNameFilters(m_filter);
    const std::optional<QString> chosen = m_chooser
                                              ? m_chooser(m_initialDir, m_fileName, filters)
                                              : runFileDialog(m_initialDir, m_fileName, filters);

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
    // Qt's own dialog behaves the same on every desktop. It is made for each browse and
    // goes with everything it opened: its name completion could otherwise show its list
    // again after the dialog has closed (when its folder finishes loading) and take the
    // next click. The folder and the proposed name carry over through this field.
    const auto dialog = std::make_unique<QFileDialog>(this, dialogTitle());
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog->selectNameFilter(nameFilters.first());
    if (!initialDir.isEmpty())
        dialog->setDirectory(initialDir);
    dialog->selectFile(proposedName);

    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
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
