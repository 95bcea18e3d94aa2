// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteQrWindow.h"

#include "RemoteControl.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int codeSide = 220;

void showCode(const RemoteControl *remote, QLabel *code, QLabel *link, const QString &url)
{
    link->setText(url);
    const QImage image = remote->qrCode(url);
    code->setPixmap(url.isEmpty() || image.isNull()
                        ? QPixmap()
                        : QPixmap::fromImage(image.scaled(codeSide, codeSide, Qt::KeepAspectRatio,
                                                          Qt::FastTransformation)));
}

} // namespace

RemoteQrWindow::RemoteQrWindow(RemoteControl *remote, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_remote(remote)
    , m_viewCode(new QLabel(this))
    , m_viewLink(new QLabel(this))
    , m_controlCode(new QLabel(this))
    , m_controlLink(new QLabel(this))
    , m_note(new QLabel(this))
    , m_renew(new QPushButton(tr("换一个"), this))
{
    setWindowTitle(tr("遥控二维码"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("观看"), this), 0, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(tr("遥控"), this), 0, 1, Qt::AlignHCenter);
    layout->addWidget(m_viewCode, 1, 0, Qt::AlignCenter);
    layout->addWidget(m_controlCode, 1, 1, Qt::AlignCenter);
    layout->addWidget(m_viewLink, 2, 0);
    layout->addWidget(m_controlLink, 2, 1);
    layout->addWidget(m_note, 3, 0, 1, 2);
    layout->addWidget(m_renew, 4, 1, Qt::AlignRight);
    for (QLabel *link : {m_viewLink, m_controlLink}) {
        link->setTextInteractionFlags(Qt::TextSelectableByMouse);
        link->setWordWrap(true);
        link->setMaximumWidth(codeSide + 40);
    }
    for (QLabel *code : {m_viewCode, m_controlCode})
        code->setMinimumSize(codeSide, codeSide);
    m_note->setWordWrap(true);
    // The codes are pictures: a reader names them, and reads their links beside them.
    m_viewCode->setAccessibleName(tr("观看链接的二维码"));
    m_controlCode->setAccessibleName(tr("遥控链接的二维码"));
    m_renew->setAccessibleDescription(tr("换一个遥控链接，旧的链接失效"));
    connect(m_renew, &QPushButton::clicked, remote, &RemoteControl::renewToken);
    connect(remote, &RemoteControl::linksChanged, this, &RemoteQrWindow::showLinks);
    connect(remote, &RemoteControl::failed, this, &RemoteQrWindow::showFailure);
    showLinks();
}

void RemoteQrWindow::showLinks()
{
    showCode(m_remote, m_viewCode, m_viewLink, m_remote->viewUrl());
    showCode(m_remote, m_controlCode, m_controlLink, m_remote->controlUrl());
    m_renew->setEnabled(m_remote->isListening());
    m_note->setText(m_remote->isListening()
                        ? tr("同一网络中的人都能观看；只有持遥控链接的人能操作。"
                             "“换一个”后旧的遥控链接失效。")
                        : QString());
}

void RemoteQrWindow::showFailure(const QString &error)
{
    m_note->setText(tr("手机遥控无法开启：%1").arg(error));
}
