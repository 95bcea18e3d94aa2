#pragma once

#include <QString>

#include <functional>

class QWidget;

// `ac_savesetExecute`: saves the duration fields' texts after the user confirms.
//
// In the main window:
//   ac_savesetExecute: SaveDurationCommand::run(
//       {RzSpinEdit1->text(), RzSpinEdit2->text(), RzSpinEdit3->text()},
//       [this] { return SaveDurationCommand::askConfirmation(this); },
//       [this](const QString &key, const QString &value) {
//           pub_unit::writeKey(m_settingsPath, QStringLiteral("SET"), key, value); });
namespace SaveDurationCommand {

struct Duration
{
    QString hours;
    QString minutes;
    QString seconds;
};

using Confirm = std::function<bool()>;
using WriteKey = std::function<void(const QString &key, const QString &value)>;

inline const QString question = QStringLiteral("保存当前参数设置，请确认？");
inline const QString caption = QStringLiteral("确认");

// The question box owned by owner; true only for OK.
bool askConfirmation(QWidget *owner);

// Writes shi, feng and miao in this order when confirm() says yes; returns whether it
// wrote. A failing write ends it there.
bool run(const Duration &duration, const Confirm &confirm, const WriteKey &writeKey);

} // namespace SaveDurationCommand
