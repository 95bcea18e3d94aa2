// SPDX-License-Identifier: GPL-3.0-or-later
// Runs back-to-back countdowns in the real main window, with the corner picture rolling and
// the alarm sound opened at each start and played at each alarm, and samples the process's
// open descriptors and resident memory at a fixed period. At the end it prints the samples
// and the growth per hour (least-squares slope over the samples after the first minute).
//
//   soak_countdowns --sound FILE --picture FILE [--minutes 30] [--countdown-seconds 60]
//                   [--sample-seconds 30] [--lead 5]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the sound goes to
// the desktop's default output (a silent sink that keeps time where there is none).

#include "MessageBoxes.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Sample
{
    double minutes;
    int descriptors;
    qint64 residentKb;
};

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Least-squares slope of y over x.
double slope(const std::vector<double> &x, const std::vector<double> &y)
{
    const double n = double(x.size());
    if (n < 2)
        return 0.0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    const double d = n * sxx - sx * sx;
    return d == 0 ? 0.0 : (n * sxy - sx * sy) / d;
}

} // namespace

int main(int argc, char *argv[])
{
    int minutes = 30;
    int countdownSeconds = 60;
    int sampleSeconds = 30;
    int lead = 5;
    QString sound;
    QString picture;
    for (int i = 1; i + 1 < argc; i += 2) {
        const char *name = argv[i];
        const char *value = argv[i + 1];
        if (std::strcmp(name, "--minutes") == 0)
            minutes = qMax(1, std::atoi(value));
        else if (std::strcmp(name, "--countdown-seconds") == 0)
            countdownSeconds = qMax(2, std::atoi(value));
        else if (std::strcmp(name, "--sample-seconds") == 0)
            sampleSeconds = qMax(1, std::atoi(value));
        else if (std::strcmp(name, "--lead") == 0)
            lead = qMax(0, std::atoi(value));
        else if (std::strcmp(name, "--sound") == 0)
            sound = QString::fromLocal8Bit(value);
        else if (std::strcmp(name, "--picture") == 0)
            picture = QString::fromLocal8Bit(value);
    }
    if (sound.isEmpty() || picture.isEmpty()) {
        std::fprintf(stderr, "usage: soak_countdowns --sound FILE --picture FILE [--minutes N] "
                             "[--countdown-seconds N] [--sample-seconds N] [--lead N]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    pub_unit::setApplicationDirectoryForTesting(dir.path());
    const QString config = dir.filePath(QStringLiteral("config.dat"));
    const QString section = QStringLiteral("SET");
    const auto write = [&](const char *key, const QString &value) {
        pub_unit::writeKey(config, section, QString::fromLatin1(key), value);
    };
    write("shi", QString::number(countdownSeconds / 3600));
    write("feng", QString::number(countdownSeconds / 60 % 60));
    write("miao", QString::number(countdownSeconds % 60));
    write("ico", picture);
    write("showico", QStringLiteral("-1"));
    write("mp3", sound);
    write("playtime", QString::number(lead));

    frm_main window;
    while (!window.isStartedUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.show();

    int countdowns = 0;
    int errors = 0;
    MessageBoxes::setPresenterForTesting([&](const MessageBoxes::Request &request) {
        if (request.icon == QMessageBox::Information) {
            ++countdowns;
            // The next countdown starts once this one has wound up.
            QTimer::singleShot(0, &window, &frm_main::ac_beginExecute);
        } else {
            ++errors;
            std::fprintf(stderr, "error box: %s\n", qPrintable(request.text));
        }
        return QMessageBox::Ok;
    });

    std::vector<Sample> samples;
    QElapsedTimer clock;
    clock.start();
    const auto sample = [&] {
        samples.push_back({double(clock.elapsed()) / 60000.0, openDescriptors(), residentKb()});
        const Sample &s = samples.back();
        std::printf("%7.1f min  %5d countdowns  %4d descriptors  %8lld kB resident\n", s.minutes,
                    countdowns, s.descriptors, s.residentKb);
        std::fflush(stdout);
    };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, &app, sample);
    sampler.start(sampleSeconds * 1000);
    QTimer::singleShot(std::chrono::minutes(minutes), &app, [&] {
        sample();
        QCoreApplication::quit();
    });

    sample();
    window.ac_beginExecute();
    app.exec();

    std::vector<double> x, fds, rss;
    for (const Sample &s : samples) {
        if (s.minutes < 1.0)
            continue; // start-up: plugins, fonts and caches
        x.push_back(s.minutes / 60.0);
        fds.push_back(s.descriptors);
        rss.push_back(double(s.residentKb) / 1024.0);
    }
    std::printf("%d countdowns of %d s in %d minutes, %d error boxes\n", countdowns,
                countdownSeconds, minutes, errors);
    if (x.size() >= 2) {
        std::printf("after the first minute: descriptors %d -> %d, resident %.1f MB -> %.1f MB\n",
                    int(fds.front()), int(fds.back()), rss.front(), rss.back());
        std::printf("growth per hour: descriptors %+.1f, resident memory %+.2f MB\n",
                    slope(x, fds), slope(x, rss));
    }
    return errors == 0 && countdowns > 0 ? 0 : 1;
}
