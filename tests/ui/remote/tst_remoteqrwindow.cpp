#include "QrCodeImage.h"
#include "RemoteControl.h"
#include "RemoteQrWindow.h"
#include "TimerCore.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The QR codes window follows the remote's links, and "换一个" gives a new control link.
class tst_RemoteQrWindow : public QObject
{
    Q_OBJECT

private slots:
    void codesFollowTheLinks()
    {
        TimerCore core;
        RemoteControl remote(&core);
        remote.setListenAddress(QHostAddress::LocalHost);
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
            window.grab().save(qEnvironmentVariable("TARVIK_SHOT_DIR") + QStringLiteral("/qr-window.png"));

        const QString before = remote.controlUrl();
        window.findChild<QPushButton *>()->click();
        QVERIFY(remote.controlUrl() != before);
        QVERIFY(texts().contains(remote.controlUrl()));
        QVERIFY(!texts().contains(before));
    }

    void aCodeHoldsALongLink()
    {
        const QImage image = QrCodeImage::encode(
            QStringLiteral("http://192.168.100.200:65535/control?t=00112233445566778899aabbccddeeff"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.width(), image.height());
        QVERIFY(image.width() >= 21 + 8);
    }
};

QTEST_MAIN(tst_RemoteQrWindow)
#include "tst_remoteqrwindow.moc"
