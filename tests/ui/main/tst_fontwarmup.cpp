// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontWarmUp.h"

#include <QApplication>
#include <QTest>

class tst_FontWarmUp : public QObject
{
    Q_OBJECT

private slots:
    // A launch that hands over to a running program ends while the fonts are still looked up.
    void endsWhileLookingUp()
    {
        for (int i = 0; i < 3; ++i)
            FontWarmUp warmUp(QApplication::font().family(), QStringLiteral("计时时长设置"));
    }
};

QTEST_MAIN(tst_FontWarmUp)
#include "tst_fontwarmup.moc"
