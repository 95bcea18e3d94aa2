// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the corner picture's roll every period (20 s by default) beside a one-second tick and
// reports how late the tick came while rolls played and the processor time the rolls took.
//
//   effects_rollmeter [--period ms] [--rolls n] [--size WxH] [--picture file] [--show]
//
// Without --show it runs on the offscreen platform.

#include "TTEImage.h"
#include "TestPictures.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double wallMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

QImage photograph(int width, int height)
{
    QImage image = TestPictures::photo(width, height);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::white, width / 60));
    painter.drawLine(0, 0, width, height);
    painter.drawLine(0, height, width, 0);
    return image;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    bool show = false;
    for (int i = 1; i < argc; ++i)
        show = show || qstrcmp(argv[i], "--show") == 0;
    if (!show && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("period"), QStringLiteral("Roll period in ms."),
                      QStringLiteral("ms"), QStringLiteral("20000")});
    parser.addOption({QStringLiteral("rolls"), QStringLiteral("Rolls to measure."),
                      QStringLiteral("n"), QStringLiteral("3")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Picture control size."),
                      QStringLiteral("WxH"), QStringLiteral("131x127")});
    parser.addOption(
        {QStringLiteral("picture"), QStringLiteral("Picture file."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("show"), QStringLiteral("Show the window on screen.")});
    parser.process(app);

    const int period = qMax(parser.value(QStringLiteral("period")).toInt(), 2000);
    const int rolls = qMax(parser.value(QStringLiteral("rolls")).toInt(), 1);
    const QStringList size = parser.value(QStringLiteral("size")).split(QLatin1Char('x'));
    const int width = size.value(0).toInt() > 0 ? size.value(0).toInt() : 131;
    const int height = size.value(1).toInt() > 0 ? size.value(1).toInt() : 127;

    QTemporaryDir dir;
    QString path = parser.value(QStringLiteral("picture"));
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("photo.jpg"));
        photograph(640, 480).save(path, "JPEG", 90);
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Roll"));
    window.resize(width + 200, height + 200);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto *image = new TTEImage(&window);
    image->resize(width, height);
    image->move(window.width() - width - 50, window.height() - height - 50);
    image->setBackgroundColor(Qt::black);
    try {
        image->LoadFromFile(path);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    window.show();

    std::vector<double> rollWall, rollCpu, latenessInRolls;
    double worstOutside = 0;
    double rollStartWall = 0, rollStartCpu = 0;
    bool rollSeenSinceTick = false;

    QTimer picture;
    picture.setTimerType(Qt::PreciseTimer);
    picture.setInterval(period);
    QObject::connect(&picture, &QTimer::timeout, image, [&] {
        rollStartWall = wallMs();
        rollStartCpu = processCpuMs();
        image->Timer2Timer();
        rollSeenSinceTick = rollSeenSinceTick || image->isTransitionRunning();
    });
    QObject::connect(image, &TTEImage::transitionFinished, image, [&] {
        if (int(rollWall.size()) >= rolls)
            return;
        rollWall.push_back(wallMs() - rollStartWall);
        rollCpu.push_back(processCpuMs() - rollStartCpu);
        std::printf("roll %zu: %.1f ms, processor %.1f ms\n", rollWall.size(), rollWall.back(),
                    rollCpu.back());
        std::fflush(stdout);
        if (int(rollWall.size()) >= rolls) {
            picture.stop();
            QTimer::singleShot(1500, &app, &QCoreApplication::quit);
        }
    });

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1000);
    double lastTick = wallMs();
    QObject::connect(&tick, &QTimer::timeout, &app, [&] {
        const double now = wallMs();
        const double lateness = now - lastTick - 1000;
        lastTick = now;
        if (rollSeenSinceTick || image->isTransitionRunning())
            latenessInRolls.push_back(lateness);
        else
            worstOutside = std::max(worstOutside, lateness);
        rollSeenSinceTick = image->isTransitionRunning();
    });

    tick.start();
    picture.start();
    app.exec();

    const double worstInRolls =
        latenessInRolls.empty() ? 0
                                : *std::max_element(latenessInRolls.begin(), latenessInRolls.end());
    std::printf("\n%zu rolls of a %d x %d picture every %d ms\n", rollWall.size(),
                image->pictureRect().width(), image->pictureRect().height(), period);
    std::printf("roll duration: median %.1f ms\n", median(rollWall));
    std::printf("processor time per roll: median %.1f ms, max %.1f ms\n", median(rollCpu),
                rollCpu.empty() ? 0.0 : *std::max_element(rollCpu.begin(), rollCpu.end()));
    std::printf("largest tick lateness during rolls: %.2f ms (%zu ticks)\n", worstInRolls,
                latenessInRolls.size());
    std::printf("largest tick lateness otherwise: %.2f ms\n", worstOutside);
    return 0;
}
