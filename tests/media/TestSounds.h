// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

// Test sounds made with GStreamer's own tools: a sine tone of the given length. The MP3s
// carry the usual Xing information frame, which gives their length before they play.
namespace TestSounds {

inline bool run(const QStringList &pipeline)
{
    QProcess launch;
    launch.start(QStringLiteral("gst-launch-1.0"), QStringList{QStringLiteral("-q")} + pipeline);
    return launch.waitForFinished(60000) && launch.exitStatus() == QProcess::NormalExit &&
           launch.exitCode() == 0;
}

// 10 buffers of 4410 samples make one second at 44100 Hz.
inline QStringList tone(int tenths)
{
    return {QStringLiteral("audiotestsrc"),
            QStringLiteral("num-buffers=%1").arg(tenths),
            QStringLiteral("samplesperbuffer=4410"),
            QStringLiteral("!"),
            QStringLiteral("audio/x-raw,rate=44100,channels=1"),
            QStringLiteral("!"),
            QStringLiteral("audioconvert"),
            QStringLiteral("!")};
}

// Without the information frame the length is known only once part of the sound has played.
inline QString makeMp3(const QDir &dir, const QString &name, int tenths, bool infoFrame = true)
{
    const QString path = dir.filePath(name);
    QStringList encoder{QStringLiteral("lamemp3enc"), QStringLiteral("!")};
    if (infoFrame)
        encoder << QStringLiteral("xingmux") << QStringLiteral("!");
    const bool made =
        run(tone(tenths) + encoder +
            QStringList{QStringLiteral("filesink"), QStringLiteral("location=") + path});
    return made ? path : QString();
}

inline QString makeWav(const QDir &dir, const QString &name, int tenths)
{
    const QString path = dir.filePath(name);
    const bool made = run(tone(tenths) + QStringList{QStringLiteral("wavenc"), QStringLiteral("!"),
                                                     QStringLiteral("filesink"),
                                                     QStringLiteral("location=") + path});
    return made ? path : QString();
}

// The clock-keeping sink the tests play into instead of a sound card.
inline QByteArray fakeSink()
{
    return QByteArrayLiteral("fakesink sync=true");
}

} // namespace TestSounds
