#include "MainFrame.h"

#include <QVBoxLayout>

namespace {

const QString frameTitle = QStringLiteral("Tarvik倒计时计时器  —  Tarvik 工作室出品");

} // namespace

MainFrame::MainFrame(QWidget *parent, Show show)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    setWindowTitle(frameTitle);
    setBackgroundRole(QPalette::Button);
    move(72, 25);
    resize(1147, 649);
    setWindowState(Qt::WindowMaximized);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    // Nothing here measures text: showing now costs no font loading.
    if (show == Show::AtOnce)
        this->show();
}

MainFrame::~MainFrame() = default;
