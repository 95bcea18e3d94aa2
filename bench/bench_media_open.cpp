// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a five-minute MP3 again and again and reports the median time of open (which waits
// until the file is ready to play) and of play (which should return at once).
// Usage: bench_media_open [runs] [sink description]   (default sink: the desktop's output)

#include "MediaPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// 3000 buffers of 4410 samples at 44100 Hz: 300 seconds of stereo pink noise.
QString makeFiveMinutes(const QString &path, bool infoFrame)
{
    QStringList pipeline{QStringLiteral("-q"),
                         QStringLiteral("audiotestsrc"),
                         QStringLiteral("num-buffers=3000"),
                         QStringLiteral("samplesperbuffer=4410"),
                         QStringLiteral("wave=pink-noise"),
                         QStringLiteral("!"),
                         QStringLiteral("audio/x-raw,rate=44100,channels=2"),
                         QStringLiteral("!"),
                         QStringLiteral("audioconvert"),
                         QStringLiteral("!"),
                         QStringLiteral("lamemp3enc"),
                         QStringLiteral("!")};
    if (infoFrame)
        pipeline << QStringLiteral("xingmux") << QStringLiteral("!");
    pipeline << QStringLiteral("filesink") << QStringLiteral("location=") + path;
    return QProcess::execute(QStringLiteral("gst-launch-1.0"), pipeline) == 0 ? path : QString();
}

void measure(QTextStream &out, const QString &label, const QString &path, const QByteArray &sink,
             int runs)
{
    MediaPlayer player(sink);
    player.setFileName(path);
    std::vector<double> opens;
    std::vector<double> plays;
    std::vector<double> closes;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        player.open();
        opens.push_back(milliseconds(timer));
        timer.restart();
        player.play();
        plays.push_back(milliseconds(timer));
        QCoreApplication::processEvents();
        timer.restart();
        player.close();
        closes.push_back(milliseconds(timer));
    }
    player.open();
    out << label << ": length at open " << player.length() << " ms\n";
    out << "  open  median " << median(opens) << " ms (first " << opens.front() << " ms)\n";
    out << "  play  median " << median(plays) << " ms\n";
    out << "  close median " << median(closes) << " ms\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const int runs = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 21;
    const QByteArray sink = args.size() > 2 ? args.at(2).toUtf8() : QByteArray();

    QTemporaryDir dir;
    QElapsedTimer making;
    making.start();
    const QString plain =
        makeFiveMinutes(QDir(dir.path()).filePath(QStringLiteral("plain.mp3")), false);
    const QString info =
        makeFiveMinutes(QDir(dir.path()).filePath(QStringLiteral("info.mp3")), true);
    if (plain.isEmpty() || info.isEmpty()) {
        out << "could not make the test sounds\n";
        return 1;
    }
    out << "made two files of " << QFileInfo(plain).size() / 1024 << " KiB in " << making.elapsed()
        << " ms\n";
    out << "sink: " << (sink.isEmpty() ? QByteArray("default output") : sink) << ", " << runs
        << " runs each\n";
    measure(out, QStringLiteral("without information frame"), plain, sink, runs);
    measure(out, QStringLiteral("with information frame"), info, sink, runs);
    return 0;
}
