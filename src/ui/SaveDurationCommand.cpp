#include "SaveDurationCommand.h"

#include <QMessageBox>

namespace SaveDurationCommand {

bool askConfirmation(QWidget *owner)
{
    return QMessageBox::question(owner, caption, question, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
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
