// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the start-up, memory and wake-up scripts: a bare Qt Widgets window with
// one label, built with the same compiler, flags and Qt as the program.

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("00:00:00"));
    label.setWindowTitle(QStringLiteral("bare window"));
    label.resize(640, 480);
    label.show();
    return app.exec();
}
