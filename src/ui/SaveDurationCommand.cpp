#include "SaveDurationCommand.h"

#include "MessageBoxes.h"

namespace SaveDurationCommand {

bool askConfirmation(QWidget *owner)
{
    MessageBoxes::Request request;
    request.owner = owner;
    request.icon = QMessageBox::Question;
    request.caption = caption;
    request.text = question;
    request.buttons = QMessageBox::Ok | QMessageBox::Cancel;
    return MessageBoxes::show(request) == QMessageBox::Ok;
}

bool run(const Duration &duration, const Confirm &confirm, const WriteKey &writeKey)
{
    if (!confirm())
        return false;
    writeKey(QStringLiteral("shi"), duration.hours);
    writeKey(QStringLiteral("feng"), duration.minutes);
    writeKey(QStringLiteral("miao"), duration.seconds);
    return true;
}

} // namespace SaveDurationCommand
