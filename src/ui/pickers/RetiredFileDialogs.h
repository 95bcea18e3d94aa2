// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <memory>

class QFileDialog;

// Where Qt's file dialogs go once they have closed. Destroying one waits for the thread
// that reads its folders, and that thread may be stuck in a call on a folder that does not
// answer (a stuck network mount): the user-interface thread would stop until it lets go.
// So a closed dialog is hidden and kept; a worker looks at every folder it showed, and once
// they all answer, the dialog is destroyed. One whose folders never answer is left behind
// at exit.
namespace RetiredFileDialogs {

void retire(std::unique_ptr<QFileDialog> dialog, const QStringList &folders);

// Dialogs kept now, for the tests.
int count();

} // namespace RetiredFileDialogs
