// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxes.h"

#include "WindowFocus.h"
#include <QCoreApplication>

namespace MessageBoxes {

namespace {

Presenter &presenter()
{
    static Presenter instance;
    return instance;
}

QMessageBox::StandardButton showReal(const Request &request)
{
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, request.owner);
    // Without an owner the box blocks every window of the program.
    if (!request.owner)
        box.setWindowModality(Qt::ApplicationModal);
    const WindowFocus::ReturnAfterModal focusBack(request.owner);
    const int result = box.exec();
    return QMessageBox::StandardButton(result);
}

} // namespace

QString saveQuestion()
{
    return QCoreApplication::translate("MessageBoxes", "保存当前参数设置，请确认？");
}

QMessageBox::StandardButton show(const Request &request)
{
    if (presenter())
        return presenter()(request);
    return showReal(request);
}

bool confirm(QWidget *owner, const QString &question)
{
    Request request;
    request.owner = owner;
    request.icon = QMessageBox::Question;
    request.caption = QCoreApplication::translate("MessageBoxes", "确认");
    request.text = question;
    request.buttons = QMessageBox::Ok | QMessageBox::Cancel;
    return show(request) == QMessageBox::Ok;
}

void setPresenterForTesting(Presenter replacement)
{
    presenter() = std::move(replacement);
}

} // namespace MessageBoxes
