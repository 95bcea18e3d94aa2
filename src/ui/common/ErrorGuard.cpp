// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorGuard.h"

#include "MessageBoxes.h"

#include <QCoreApplication>

namespace ErrorGuard {

QString displayedMessage(const QString &message)
{
    // A double-byte (any non-ASCII) last character sorts after "." as well.
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void showError(const QString &message)
{
    MessageBoxes::Request request;
    request.icon = QMessageBox::Critical;
    request.caption = QCoreApplication::translate("ErrorGuard", "Tarvik倒计时计时器");
    request.text = displayedMessage(message);
    request.buttons = QMessageBox::Ok;
    MessageBoxes::show(request);
}

} // namespace ErrorGuard
