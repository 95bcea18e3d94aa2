// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SettingsSchema.h"

#include <QString>

#include <functional>

// `ac_savesetExecute`: saves the duration fields' texts after the user confirms.
//
// In the main window:
//   ac_savesetExecute: SaveDurationCommand::run(
//       {RzSpinEdit1->text(), RzSpinEdit2->text(), RzSpinEdit3->text()},
//       [this] { return MessageBoxes::confirm(this, MessageBoxes::saveQuestion()); },
//       [this](SettingsSchema::Key key, const QString &value) {
//           SettingsSchema::write(m_settingsFilePath, key, value); });
namespace SaveDurationCommand {

struct Duration
{
    QString hours;
    QString minutes;
    QString seconds;
};

using Confirm = std::function<bool()>;
using WriteKey = std::function<void(SettingsSchema::Key key, const QString &value)>;

// Writes shi, feng and miao in this order when confirm() says yes; returns whether it
// wrote. A failing write ends it there.
bool run(const Duration &duration, const Confirm &confirm, const WriteKey &writeKey);

} // namespace SaveDurationCommand
