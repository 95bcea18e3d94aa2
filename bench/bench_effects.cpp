// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one roll frame, shaded and flat, beside a plain copy of as many pixels, the cost
// of loading a 6000 x 4000 photograph into the corner picture, and of sizing and drawing a
// clip-art metafile.

#include "ClipArtSamples.h"
#include "JpegDecoder.h"
#include "MetafileDecoder.h"
#include "TRollTransition.h"
#include "FrameCopy.h"
#include "TTEImage.h"
#include "TTETransitionData.h"
#include "TestPictures.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const TTEEffectDirection directions[] = {tedRight, tedLeft, tedDown, tedUp};

// Renders the frames of a pass one per iteration, starting a new pass when one ends.
void rollFrame(benchmark::State &state, bool shaded)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const QImage source = TestPictures::photo(width, height);
    QImage target(width, height, QImage::Format_RGB32);
    target.fill(Qt::black);
    QImage surface = source.copy();
    TTETransitionData data(Clocks::steady());
    data.width = width;
    data.height = height;
    data.source = &target; // second pass: the picture rolls in over the colour
    data.target = &source;
    data.surface = &surface;

    TRollTransition roll;
    roll.setDirection(directions[state.range(2)]);
    roll.Use3D = shaded;
    int n = 0, s = 0;
    roll.Initialize(data, n);
    for (auto _ : state) {
        if (++s > n) {
            state.PauseTiming();
            roll.Finalize(data);
            roll.Initialize(data, n);
            s = 1;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(roll.RenderFrame(data, s, s - 1, 1));
    }
    roll.Finalize(data);
    benchmark::ClobberMemory();
}

void BM_RollFrameShaded(benchmark::State &state)
{
    rollFrame(state, true);
}

void BM_RollFrameFlat(benchmark::State &state)
{
    rollFrame(state, false);
}

// Copies a band of 60 pixels across the frame plus the one-pixel strip, the pixels a frame
// changes.
void BM_PlainCopy(benchmark::State &state)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const bool horizontal = state.range(2) < 2;
    const QImage from = TestPictures::photo(width, height);
    QImage to(width, height, QImage::Format_RGB32);
    const QRect band =
        horizontal ? QRect(width / 2, 0, 61, height) : QRect(0, height / 2, width, 61);
    for (auto _ : state) {
        FrameCopy::copyRect(to, band.topLeft(), from, band);
        benchmark::ClobberMemory();
    }
}

// The same copy with the band moved one pixel each frame across the whole frame, as the
// roll's band moves: the rows' memory is fetched afresh the way a frame of the roll fetches it.
void BM_PlainCopyMoving(benchmark::State &state)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const bool horizontal = state.range(2) < 2;
    const QImage from = TestPictures::photo(width, height);
    QImage to(width, height, QImage::Format_RGB32);
    const int positions = (horizontal ? width : height) - 61;
    int p = 0;
    for (auto _ : state) {
        p = (p + 1) % positions;
        const QRect band = horizontal ? QRect(p, 0, 61, height) : QRect(0, p, width, 61);
        FrameCopy::copyRect(to, band.topLeft(), from, band);
        benchmark::ClobberMemory();
    }
}

void frameArgs(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"w", "h", "dir"});
    for (const auto &[w, h] : {std::pair{131, 98}, std::pair{1920, 1080}})
        for (int d = 0; d < 4; ++d)
            b->Args({w, h, d});
    b->Repetitions(7)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_RollFrameShaded)->Apply(frameArgs);
BENCHMARK(BM_RollFrameFlat)->Apply(frameArgs);
BENCHMARK(BM_PlainCopy)->Apply(frameArgs);
BENCHMARK(BM_PlainCopyMoving)->Apply(frameArgs);

QString photographPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("photo-6000x4000.jpg"));
        TestPictures::photo(6000, 4000).save(file, "JPEG", 90);
        return file;
    }();
    return path;
}

void BM_LoadPhotographIntoControl(benchmark::State &state)
{
    const QString path = photographPath();
    TTEImage image;
    for (auto _ : state) {
        image.LoadFromFile(path);
        benchmark::DoNotOptimize(image.picture().image().constBits());
    }
    state.counters["decodedMB"] = double(image.picture().image().sizeInBytes()) / 1e6;
}
BENCHMARK(BM_LoadPhotographIntoControl)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same file decoded at full size, as a picture holder without scaling would.
void BM_DecodePhotographFullSize(benchmark::State &state)
{
    QFile file(photographPath());
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const JpegDecoder::Result result = JpegDecoder::decode(data, [](QSize s) { return s; });
        bytes = result.image.sizeInBytes();
        benchmark::DoNotOptimize(result.image.constBits());
    }
    state.counters["decodedMB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_DecodePhotographFullSize)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A metafile's size: its header and the pass that sees where the records
// draw without painting; beside the whole load, which makes that pass too.
void BM_MetafileFrameSize(benchmark::State &state)
{
    const QByteArray clipArt = ClipArtSamples::clipArtEmf();
    for (auto _ : state)
        benchmark::DoNotOptimize(MetafileDecoder::frameSize(clipArt));
}
BENCHMARK(BM_MetafileFrameSize)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_MetafileRender(benchmark::State &state)
{
    const QByteArray clipArt = ClipArtSamples::clipArtEmf();
    for (auto _ : state)
        benchmark::DoNotOptimize(MetafileDecoder::render(clipArt).constBits());
}
BENCHMARK(BM_MetafileRender)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
