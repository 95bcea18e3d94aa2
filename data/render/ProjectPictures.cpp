// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProjectPictures.h"

#include "ClockIcon.h"
#include "TimerCore.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QSvgGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

const QList<int> &ProjectPictures::iconSizes()
{
    static const QList<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QImage ProjectPictures::icon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ClockIcon().paint(&painter, image.rect(), QIcon::Normal, QIcon::On);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool ProjectPictures::writeScalableIcon(const QString &path)
{
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(scalableSide, scalableSide));
    generator.setViewBox(QRect(0, 0, scalableSide, scalableSide));
    generator.setTitle(QStringLiteral("Tarvik倒计时计时器"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    ClockIcon().paint(&painter, QRect(0, 0, scalableSide, scalableSide), QIcon::Normal, QIcon::On);
    return painter.end();
}

QImage ProjectPictures::mainWindow(const QSize &size)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    const QString picture = folder.filePath(QStringLiteral("clock.bmp"));
    QImage corner(128, 128, QImage::Format_RGB32);
    corner.fill(Qt::black);
    QPainter(&corner).drawImage(0, 0, icon(128));
    if (!corner.save(picture, "BMP"))
        return {};

    pub_unit::setApplicationDirectoryForTesting(folder.path());
    const QString settings = pub_unit::settingsFilePath();
    const auto write = [&settings](const char *key, const QString &value) {
        pub_unit::writeKey(settings, QStringLiteral("SET"), QString::fromLatin1(key), value);
    };
    write("shi", QStringLiteral("00"));
    write("feng", QStringLiteral("25"));
    write("miao", QStringLiteral("00"));
    write("fontsize", QStringLiteral("150"));
    write("mp3", QString());
    write("ico", picture);
    write("showico", QStringLiteral("-1"));

    QImage image;
    {
        std::chrono::nanoseconds now{0};
        const auto window = std::make_unique<frm_main>(
            nullptr, [&now] { return now; }, QByteArrayLiteral("fakesink"));
        window->setWindowState(Qt::WindowNoState);
        window->resize(size);
        const QDeadlineTimer patience(5000);
        while ((!window->isStartedUp() || window->size() != size) && !patience.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        // Twenty-three seconds into a 25-minute countdown, as the running program shows it.
        window->timerCore()->startFor(1500);
        now += std::chrono::seconds(23);
        window->Timer1Timer();
        window->placeCornerPicture();
        image = window->grab().toImage();
    }
    pub_unit::setApplicationDirectoryForTesting(QString());
    return image;
}
