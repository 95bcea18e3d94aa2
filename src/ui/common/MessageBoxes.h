// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so tests can answer them.
namespace MessageBoxes {

struct Request
{
    QWidget *owner = nullptr; // nullptr: owned by the application
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using Presenter = std::function<QMessageBox::StandardButton(const Request &)>;

// Shows the box modally and returns the button that closed it.
QMessageBox::StandardButton show(const Request &request);

// The question both windows ask before saving settings.
QString saveQuestion();

// A confirmation owned by owner: caption "确认", question icon, OK and Cancel; true only
// for OK.
bool confirm(QWidget *owner, const QString &question);

// Replaces the real boxes; an empty presenter brings them back.
void setPresenterForTesting(Presenter presenter);

} // namespace MessageBoxes
