// SPDX-License-Identifier: GPL-3.0-or-later
#include "QrCodeImage.h"
#include "RemoteControl.h"
#include "RemoteFront.h"
#include "RemoteNetwork.h"
#include "RemoteQrWindow.h"
#include "TimerCore.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

// The QR codes window follows the remote's links, and "换一个" gives a new control link.
class tst_RemoteQrWindow : public QObject
{
    Q_OBJECT

private slots:
    void codesFollowTheLinks()
    {
        TimerCore core;
        RemoteNetwork network;
        RemoteControl remote(&core);
        remote.setServices(&network);
        remote.setListenAddress(QStringLiteral("127.0.0.1"));
        RemoteQrWindow window(&remote);
        QSignalSpy links(&remote, &RemoteControl::linksChanged);
        remote.start(0);
        QVERIFY(links.wait());
        window.show();

        const auto labels = window.findChildren<QLabel *>();
        const auto texts = [&labels] {
            QStringList all;
            for (const QLabel *label : labels)
                all.append(label->text());
            return all;
        };
        QVERIFY(texts().contains(remote.viewUrl()));
        QVERIFY(texts().contains(remote.controlUrl()));
        int codes = 0;
        for (const QLabel *label : labels)
            codes += !label->pixmap().isNull();
        QCOMPARE(codes, 2);
        if (qEnvironmentVariableIsSet("TARVIK_SHOT_DIR"))
            window.grab().save(qEnvironmentVariable("TARVIK_SHOT_DIR") +
                               QStringLiteral("/qr-window.png"));

        const QString before = remote.controlUrl();
        window.findChild<QPushButton *>()->click();
        QVERIFY(remote.controlUrl() != before);
        QVERIFY(texts().contains(remote.controlUrl()));
        QVERIFY(!texts().contains(before));
    }

    void forcedOnWaitsForTheSettingsAndShowsTheMenuItem()
    {
        qputenv("TARVIK_REMOTE_LISTEN", "127.0.0.1");
        TimerCore core;
        QWidget window;
        QMenu menu;
        menu.addAction(QStringLiteral("参数设置"));
        RemoteNetwork network;
        RemoteFront front(&core, &menu, &window);
        front.control()->setServices(&network);
        int port = 0;
        {
            QTcpServer probe; // a port free now
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            port = probe.serverPort();
        }
        QCOMPARE(menu.actions().first()->text(), QStringLiteral("遥控二维码"));
        QVERIFY(!menu.actions().first()->isVisible());
        front.forceOn();
        QVERIFY(!front.control()->isRunning()); // the port is not read yet
        QSignalSpy links(front.control(), &RemoteControl::linksChanged);
        front.apply(false, port);
        QVERIFY(front.control()->isRunning());
        QVERIFY(menu.actions().first()->isVisible());
        QVERIFY(links.wait());
        // A later apply (every start applies the settings) keeps the server and its token.
        const QString control = front.control()->controlUrl();
        links.clear();
        front.apply(false, port);
        QVERIFY(!links.wait(200));
        QCOMPARE(front.control()->controlUrl(), control);
        QVERIFY(front.control()->isRunning());
    }

    void aCodeHoldsALongLink()
    {
        const QImage image = QrCodeImage::encode(QStringLiteral(
            "http://192.168.100.200:65535/control?t=00112233445566778899aabbccddeeff"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.width(), image.height());
        QVERIFY(image.width() >= 21 + 8);
    }
};

QTEST_MAIN(tst_RemoteQrWindow)
#include "tst_remoteqrwindow.moc"
