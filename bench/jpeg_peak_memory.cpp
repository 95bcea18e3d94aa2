// SPDX-License-Identifier: GPL-3.0-or-later
// Peak memory of decoding JPEG files for the corner picture: the program's decoder (libjpeg
// capped) against plain libjpeg without a cap at the same scale, each in a child process of
// its own, so that the peak resident size belongs to that one decode.
//
//   jpeg_peak_memory [--runs n] [file...]
//
// Without files it makes its own: a progressive picture written by ImageMagick whose header
// is changed to claim 12000 x 12000 pixels, the same with a baseline header, and a real
// progressive 4000 x 3000 photograph. Prints the median peak (MB) and time of each and the
// ratio program / plain.

#include "EPictureError.h"
#include "JpegDecoder.h"
#include "PictureFit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QSize drawnSize(QSize natural)
{
    return PictureFit::centerStretch(QRect(0, 0, 131, 127), 0, natural).size();
}

struct PlainError
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// What the decoder did before its memory was capped: the same scale, libjpeg unbounded.
bool decodePlain(const QByteArray &data)
{
    jpeg_decompress_struct info;
    PlainError errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<PlainError *>(c->err)->jump, 1);
    };
    errors.base.output_message = [](j_common_ptr) {
    };
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    const QSize wanted = drawnSize(QSize(int(info.image_width), int(info.image_height)));
    info.out_color_space = JCS_EXT_BGRX;
    info.scale_denom = 8;
    for (unsigned num = 1; num <= 8; ++num) {
        info.scale_num = num;
        jpeg_calc_output_dimensions(&info);
        if (JDIMENSION(wanted.width()) <= info.output_width &&
            JDIMENSION(wanted.height()) <= info.output_height)
            break;
    }
    QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct Run
{
    double peakMB = 0;
    double ms = 0;
    QString outcome;
};

// Runs one decode in a child; its own peak resident size comes back through wait4.
Run measure(const QByteArray &data, bool program)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        QElapsedTimer timer;
        timer.start();
        QByteArray outcome = "decoded";
        if (program) {
            try {
                JpegDecoder::decode(data, drawnSize);
            } catch (const EPictureError &error) {
                outcome = error.message().toUtf8();
            }
        } else if (!decodePlain(data)) {
            outcome = "libjpeg error";
        }
        const QByteArray report = QByteArray::number(timer.nsecsElapsed() / 1e6) + ' ' + outcome;
        if (::write(channel[1], report.constData(), std::size_t(report.size())) < 0)
            ::_exit(2);
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    rusage usage = {};
    ::wait4(pid, &status, 0, &usage);
    Run run;
    run.peakMB = double(usage.ru_maxrss) / 1024.0;
    const qsizetype space = report.indexOf(' ');
    run.ms = report.left(space).toDouble();
    run.outcome = QString::fromUtf8(report.mid(space + 1));
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QByteArray claimSize(QByteArray data, int width, int height, char frameMarker)
{
    const qsizetype frame = data.indexOf(QByteArray("\xFF") + frameMarker);
    if (frame < 0)
        return {};
    data[frame + 5] = char(height >> 8);
    data[frame + 6] = char(height);
    data[frame + 7] = char(width >> 8);
    data[frame + 8] = char(width);
    return data;
}

QByteArray convert(const QTemporaryDir &dir, const QStringList &arguments, const QString &name)
{
    const QString path = dir.filePath(name);
    if (QProcess::execute(QStringLiteral("convert"), arguments + QStringList{path}) != 0)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    int runs = 5;
    if (arguments.size() >= 2 && arguments.first() == QLatin1String("--runs")) {
        runs = qMax(1, arguments.at(1).toInt());
        arguments = arguments.mid(2);
    }

    QList<QPair<QString, QByteArray>> inputs;
    QTemporaryDir dir;
    if (arguments.isEmpty()) {
        const QStringList small{QStringLiteral("-size"), QStringLiteral("64x64"),
                                QStringLiteral("gradient:orange-navy"),
                                QStringLiteral("-sampling-factor"), QStringLiteral("2x2")};
        const QByteArray progressive =
            convert(dir, small + QStringList{QStringLiteral("-interlace"), QStringLiteral("JPEG")},
                    QStringLiteral("p.jpg"));
        const QByteArray baseline = convert(dir, small, QStringLiteral("b.jpg"));
        const QByteArray photo = convert(dir,
                                         {QStringLiteral("-size"), QStringLiteral("4000x3000"),
                                          QStringLiteral("plasma:"), QStringLiteral("-interlace"),
                                          QStringLiteral("JPEG")},
                                         QStringLiteral("photo.jpg"));
        if (progressive.isEmpty() || baseline.isEmpty() || photo.isEmpty()) {
            std::fprintf(stderr, "jpeg_peak_memory: ImageMagick's convert is needed\n");
            return 1;
        }
        inputs.append({QStringLiteral("progressive, header claims 12000 x 12000"),
                       claimSize(progressive, 12000, 12000, '\xC2')});
        inputs.append({QStringLiteral("baseline, header claims 12000 x 12000"),
                       claimSize(baseline, 12000, 12000, '\xC0')});
        inputs.append({QStringLiteral("progressive photograph 4000 x 3000"), photo});
    }
    for (const QString &path : std::as_const(arguments)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        inputs.append({QFileInfo(path).fileName(), file.readAll()});
    }

    const Run idle = measure(QByteArray(), false);
    std::printf("child process without a decode: %.1f MB\n", idle.peakMB);
    std::printf("%-42s %12s %12s %8s %10s %10s  %s\n", "file", "program MB", "plain MB", "ratio",
                "program ms", "plain ms", "program's outcome");
    for (const auto &[name, data] : std::as_const(inputs)) {
        std::vector<double> programMB, plainMB, programMs, plainMs;
        QString outcome;
        for (int i = 0; i < runs; ++i) {
            const Run program = measure(data, true);
            const Run plain = measure(data, false);
            programMB.push_back(program.peakMB);
            plainMB.push_back(plain.peakMB);
            programMs.push_back(program.ms);
            plainMs.push_back(plain.ms);
            outcome = program.outcome;
        }
        std::printf("%-42s %12.1f %12.1f %8.2f %10.0f %10.0f  %s\n", qPrintable(name),
                    median(programMB), median(plainMB), median(programMB) / median(plainMB),
                    median(programMs), median(plainMs), qPrintable(outcome));
    }
    return 0;
}
