// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class Command;

// `ac_paramExecute`: the settings dialog, used modally, then the settings applied.
//
// In the main window:
//   ac_paramExecute: ParamCommand::run(*ActionList1->ac_param,
//       *ActionList1->ac_readparam,
//       [this] { return std::make_unique<frm_param>(this); });
namespace ParamCommand {

using CreateDialog = std::function<std::unique_ptr<QDialog>()>;

// Disables acParam, creates the dialog, runs it modally, destroys it, enables acParam
// and executes acReadparam. Should any step fail, the dialog is still destroyed and
// acParam enabled again before the error goes on (and the settings are not applied).
void run(Command &acParam, Command &acReadparam, const CreateDialog &createDialog);

} // namespace ParamCommand
