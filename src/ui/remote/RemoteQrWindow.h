// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class RemoteControl;

// "遥控二维码": the view and control links as QR codes with their text, and a button for a
// new token. Follows the remote's links as they change.
class RemoteQrWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemoteQrWindow)

public:
    explicit RemoteQrWindow(RemoteControl *remote, QWidget *parent = nullptr);

private:
    void showLinks();
    void showFailure(const QString &error);

    RemoteControl *const m_remote;
    QLabel *const m_viewCode;
    QLabel *const m_viewLink;
    QLabel *const m_controlCode;
    QLabel *const m_controlLink;
    QLabel *const m_note;
    QPushButton *const m_renew;
};
