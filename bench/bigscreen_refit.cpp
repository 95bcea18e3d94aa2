// SPDX-License-Identifier: GPL-3.0-or-later
// How long a resize of the main window takes with the digits fitted to the display,
// beside the same resize with a fixed font size (the reference), in one run on the
// offscreen platform. Each resize goes through the layout and the repaint of the
// display; the fitted run also measures and sets the new font. Prints the medians and
// their ratio, the fit rule alone, and a countdown tick's display change with and
// without fitting at the same glyph size (the tick does no layout work, so that ratio
// stays near 1).
//
//   bigscreen_refit [--rounds N]

#include "DigitFit.h"
#include "MessageBoxes.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace std::chrono;

namespace {

// Sizes a user drags the window through, and the two full screens of the measurements.
const QSize sizes[] = {{1280, 720}, {1920, 1080}, {1100, 640}, {1600, 900},
                       {800, 600},  {1366, 768},  {1024, 700}, {1700, 1000}};

double medianMicroseconds(std::vector<nanoseconds> samples)
{
    std::sort(samples.begin(), samples.end());
    return duration<double, std::micro>(samples[samples.size() / 2]).count();
}

std::vector<nanoseconds> timeResizes(frm_main &window, int rounds)
{
    std::vector<nanoseconds> samples;
    for (int round = 0; round < rounds; ++round) {
        for (const QSize &size : sizes) {
            const auto start = steady_clock::now();
            window.resize(size);
            // The platform's geometry change, the layout, then the display drawn.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents();
            window.Label7->repaint();
            samples.push_back(steady_clock::now() - start);
            if (window.Label7->width() != size.width()) {
                std::fprintf(stderr, "the resize to %dx%d did not land\n", size.width(),
                             size.height());
                std::exit(1);
            }
        }
    }
    return samples;
}

std::vector<nanoseconds> timeTicks(frm_main &window, int rounds)
{
    std::vector<nanoseconds> samples;
    for (int i = 0; i < rounds * 8; ++i) {
        const auto start = steady_clock::now();
        window.Label7->setText(QStringLiteral("00:%1:%2")
                                  .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(i % 60, 2, 10, QLatin1Char('0')));
        QCoreApplication::sendPostedEvents();
        window.Label7->repaint();
        samples.push_back(steady_clock::now() - start);
    }
    return samples;
}

struct Run
{
    double resize;
    double tick;
    int pixelSize; // the display's font at the last size
};

// fontSize as in the settings file: points, or a negative pixel size.
Run measure(const QString &configPath, bool autofit, int fontSize, int rounds,
            bool resizes = true)
{
    pub_unit::writeKey(configPath, QStringLiteral("SET"), QStringLiteral("autofit"),
                       autofit ? QStringLiteral("-1") : QStringLiteral("0"));
    pub_unit::writeKey(configPath, QStringLiteral("SET"), QStringLiteral("fontsize"),
                       QString::number(fontSize));
    frm_main window;
    while (!window.isStartedUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.setWindowState(Qt::WindowNoState);
    window.show();
    double resize = 0;
    if (resizes) {
        timeResizes(window, 1); // warm the glyph caches
        resize = medianMicroseconds(timeResizes(window, rounds));
    } else {
        window.resize(std::cend(sizes)[-1]);
        QCoreApplication::processEvents();
    }
    const double tick = medianMicroseconds(timeTicks(window, rounds));
    return {resize, tick, QFontInfo(window.Label7->font()).pixelSize()};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 25;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::stoi(argv[i + 1]));
    }

    QTemporaryDir dir;
    pub_unit::setApplicationDirectoryForTesting(dir.path());
    MessageBoxes::setPresenterForTesting([](const MessageBoxes::Request &) {
        return QMessageBox::Ok;
    });
    const QString config = dir.filePath(QStringLiteral("config.dat"));
    pub_unit::writeKey(config, QStringLiteral("SET"), QStringLiteral("mp3"), QString());

    // Alternated so that a slow spell of the machine hits all alike. References: the
    // default 72 points for the resizes, and for the ticks the fitted run's last size
    // set as a fixed size, so that both draw the same glyphs.
    std::vector<double> fixedResize, fittedResize, fixedTick, fittedTick;
    for (int pass = 0; pass < 3; ++pass) {
        const Run fitted = measure(config, true, 72, rounds);
        const Run fixed = measure(config, false, 72, rounds);
        const Run sameGlyphs = measure(config, false, -fitted.pixelSize, rounds, false);
        fixedResize.push_back(fixed.resize);
        fittedResize.push_back(fitted.resize);
        fixedTick.push_back(sameGlyphs.tick);
        fittedTick.push_back(fitted.tick);
    }
    const auto mid = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    std::vector<nanoseconds> rule;
    for (int round = 0; round < rounds; ++round) {
        for (const QSize &size : sizes) {
            const auto start = steady_clock::now();
            DigitFit::largestFittingPixelSize(font, QStringLiteral("00:00:00"), QSizeF(size));
            rule.push_back(steady_clock::now() - start);
        }
    }

    std::printf("resize, fixed font (reference): median %.1f us\n", mid(fixedResize));
    std::printf("resize, digits fitted:          median %.1f us\n", mid(fittedResize));
    std::printf("ratio fitted / fixed: %.2f\n", mid(fittedResize) / mid(fixedResize));
    std::printf("fit rule alone: median %.1f us\n", medianMicroseconds(rule));
    std::printf("tick display change at 1700x1000, fixed at the fitted size: median %.1f us, "
                "fitted: median %.1f us, ratio %.2f\n",
                mid(fixedTick), mid(fittedTick), mid(fittedTick) / mid(fixedTick));

    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
    return 0;
}
