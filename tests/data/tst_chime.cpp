// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChimeTones.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

// The alarm chime: the synthesised tones, and the MP3 the build made of them as a player
// decodes it.
class tst_Chime : public QObject
{
    Q_OBJECT

private slots:
    void tonesRingAndFadeOut();
    void shippedMp3DecodesToTheTones();
};

namespace {

// Loudest sample in the window [from, to) seconds, as a fraction of full scale.
double loudest(const std::vector<std::int16_t> &samples, double from, double to)
{
    const auto begin = std::size_t(from * ChimeTones::sampleRate);
    const auto end = std::min(samples.size(), std::size_t(to * ChimeTones::sampleRate));
    int peak = 0;
    for (std::size_t i = begin; i < end; ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak / 32768.0;
}

// The 16-bit mono samples of a WAVE file's data chunk.
std::vector<std::int16_t> waveSamples(const QByteArray &file)
{
    const qsizetype data = file.indexOf("data");
    if (data < 0 || file.size() < data + 8)
        return {};
    const auto bytes = qFromLittleEndian<quint32>(file.constData() + data + 4);
    const qsizetype count = std::min<qsizetype>(bytes, file.size() - data - 8) / 2;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        samples[std::size_t(i)] = qFromLittleEndian<qint16>(file.constData() + data + 8 + 2 * i);
    return samples;
}

} // namespace

void tst_Chime::tonesRingAndFadeOut()
{
    const std::vector<std::int16_t> samples = ChimeTones::samples();
    QCOMPARE(samples.size(), std::size_t(5.6 * ChimeTones::sampleRate));
    QVERIFY(std::abs(loudest(samples, 0.0, 5.6) - ChimeTones::peak) < 0.01);
    // Each of the six strikes is louder just after it than just before it.
    for (double strike : {0.45, 0.9, 2.6, 3.05, 3.5})
        QVERIFY2(loudest(samples, strike, strike + 0.05) > loudest(samples, strike - 0.05, strike),
                 qPrintable(QString::number(strike)));
    // Quiet before the second phrase and silent at the very end: no click.
    QVERIFY(loudest(samples, 2.5, 2.6) < 0.25 * ChimeTones::peak);
    QCOMPARE(samples.back(), std::int16_t(0));
}

void tst_Chime::shippedMp3DecodesToTheTones()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString decoded = dir.filePath(u"decoded.wav"_s);
    QProcess launch;
    launch.start(u"gst-launch-1.0"_s,
                 {u"-q"_s, u"filesrc"_s, u"location=" TARVIK_DATA_BUILD_DIR "/chime.mp3"_s, u"!"_s,
                  u"decodebin"_s, u"!"_s, u"audioconvert"_s, u"!"_s, u"audioresample"_s, u"!"_s,
                  u"audio/x-raw,format=S16LE,channels=1,rate=44100"_s, u"!"_s, u"wavenc"_s, u"!"_s,
                  u"filesink"_s, u"location="_s + decoded});
    QVERIFY(launch.waitForFinished(60000));
    QCOMPARE(launch.exitCode(), 0);
    QFile file(decoded);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::vector<std::int16_t> samples = waveSamples(file.readAll());

    // The encoder's padding adds a few milliseconds at most.
    const double seconds = double(samples.size()) / ChimeTones::sampleRate;
    QVERIFY2(seconds > 5.55 && seconds < 5.75, qPrintable(QString::number(seconds)));
    const double peak = loudest(samples, 0.0, seconds);
    QVERIFY2(peak > 0.6 && peak < 0.85, qPrintable(QString::number(peak)));
}

QTEST_GUILESS_MAIN(tst_Chime)
#include "tst_chime.moc"
