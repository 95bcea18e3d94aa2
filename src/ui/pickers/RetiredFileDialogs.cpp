// SPDX-License-Identifier: GPL-3.0-or-later
#include "RetiredFileDialogs.h"

#include "WorkerCall.h"

#include <QCompleter>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

#include <chrono>

namespace {

// How long the look at the folders may take before it counts as stuck.
constexpr std::chrono::milliseconds answerBound{2000};

// Never destroyed, so that the dialogs left behind at exit are still held (and not
// reported as lost memory) when the process ends.
QList<QFileDialog *> &kept()
{
    static auto *const dialogs = new QList<QFileDialog *>;
    return *dialogs;
}

// Every call the dialog's reader makes on these folders: the folder and each entry in it.
bool allAnswer(const QStringList &folders)
{
    for (const QString &folder : folders) {
        QFileInfo(folder).exists();
        QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                         QDir::System);
        while (entries.hasNext())
            QFileInfo(entries.next()).exists();
    }
    return true;
}

} // namespace

namespace RetiredFileDialogs {

void retire(std::unique_ptr<QFileDialog> dialog, const QStringList &folders)
{
    QFileDialog *const retired = dialog.release();
    retired->hide();
    // Its name completion must not come back when a folder finishes loading.
    if (auto *name = retired->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setCompleter(nullptr);
    retired->setParent(nullptr);
    retired->setEnabled(false);
    kept().append(retired);

    const QString key = folders.isEmpty() ? QString() : folders.constLast();
    WorkerCall::post<bool>(
        StuckWork::Kind::PathLookup, key, [folders] { return allAnswer(folders); },
        answerBound, retired, [retired](bool) {
            kept().removeOne(retired);
            delete retired;
        });
}

int count()
{
    return int(kept().size());
}

} // namespace RetiredFileDialogs
