// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontConfigLoad.h"
#include "FontWarmUp.h"
#include "MainFonts.h"

#include <QApplication>
#include <QTest>

class tst_FontWarmUp : public QObject
{
    Q_OBJECT

private slots:
    // A launch that hands over to a running program ends while the fonts are still looked up.
    void endsWhileLookingUp()
    {
        for (int i = 0; i < 3; ++i) {
            const FontConfigLoad fontConfig;
            FontWarmUp warmUp(fontConfig, QApplication::font().family(),
                              QStringLiteral("计时时长设置"));
        }
    }

    // The desktop's hint style as Qt's X11 plugin gives it, less one.
    void hintingFollowsTheDesktop_data()
    {
        QTest::addColumn<int>("desktopHintStyle");
        QTest::addColumn<QFont::HintingPreference>("hinting");
        QTest::newRow("not set, or no X11") << -1 << QFont::PreferNoHinting;
        QTest::newRow("hintnone") << 0 << QFont::PreferNoHinting;
        QTest::newRow("hintslight") << 1 << QFont::PreferNoHinting;
        QTest::newRow("hintmedium") << 2 << QFont::PreferDefaultHinting;
        QTest::newRow("hintfull") << 3 << QFont::PreferDefaultHinting;
    }
    void hintingFollowsTheDesktop()
    {
        QFETCH(int, desktopHintStyle);
        QFETCH(QFont::HintingPreference, hinting);
        QCOMPARE(MainFonts::hinting(desktopHintStyle), hinting);
        QCOMPARE(MainFonts::panel(QStringLiteral("Sans Serif"), hinting).hintingPreference(),
                 hinting);
        QCOMPARE(MainFonts::display(hinting).hintingPreference(), hinting);
    }
};

QTEST_MAIN(tst_FontWarmUp)
#include "tst_fontwarmup.moc"
