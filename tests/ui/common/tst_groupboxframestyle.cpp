// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupBoxFrameStyle.h"

#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QStyleFactory>
#include <QTest>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

namespace {

enum class Box
{
    Titled,
    Untitled,
    Checkable
};

QImage drawn(Box kind, QStyle *style)
{
    QGroupBox box;
    box.setStyle(style);
    if (kind != Box::Untitled)
        box.setTitle(QStringLiteral("计时时长设置"));
    box.setCheckable(kind == Box::Checkable);
    (new QVBoxLayout(&box))->addWidget(new QLabel(QStringLiteral("1"), &box));
    box.resize(356, 47);
    QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    box.render(&image);
    return image;
}

} // namespace

class tst_GroupBoxFrameStyle : public QObject
{
    Q_OBJECT

private slots:
    // First: Fusion itself, drawn below, loads the plugins.
    void loadsNoImagePlugin()
    {
        // As the start-up's warm-up reads it, on a thread of its own.
        QImage warmedUp;
        std::unique_ptr<QThread> reader(
            QThread::create([&warmedUp] { warmedUp = GroupBoxFrameStyle::readFramePicture(); }));
        reader->start();
        QVERIFY(reader->wait());
        QVERIFY(!warmedUp.isNull());
        GroupBoxFrameStyle style;
        for (Box kind : {Box::Titled, Box::Untitled, Box::Checkable})
            QVERIFY(!drawn(kind, &style).isNull());
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY2(!maps.readAll().contains("/imageformats/"), "an image-format plugin is loaded");
    }

    void looksAsFusion_data()
    {
        QTest::addColumn<Box>("kind");
        QTest::newRow("titled") << Box::Titled;
        QTest::newRow("untitled") << Box::Untitled;
        QTest::newRow("checkable") << Box::Checkable;
    }

    void looksAsFusion()
    {
        QFETCH(Box, kind);
        GroupBoxFrameStyle style;
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        QCOMPARE(drawn(kind, &style), drawn(kind, fusion.get()));
    }
};

QTEST_MAIN(tst_GroupBoxFrameStyle)
#include "tst_groupboxframestyle.moc"
