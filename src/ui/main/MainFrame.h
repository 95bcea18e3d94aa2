#pragma once

#include <QWidget>

class QVBoxLayout;

// The main window's top level: title, state, size and the layout its controls go into. It is
// built before the controls, so that it can be shown first: the window manager then maps the
// window while the controls are built and their text is measured, and the first paint, which
// comes after all of that, shows them complete.
class MainFrame : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainFrame)

public:
    enum class Show { Later, AtOnce };

    explicit MainFrame(QWidget *parent, Show show);
    ~MainFrame() override;

protected:
    QVBoxLayout *frameLayout() const { return m_layout; }

private:
    QVBoxLayout *const m_layout;
};
