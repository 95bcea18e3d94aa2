// SPDX-License-Identifier: GPL-3.0-or-later
#include "RollGeometry.h"
#include "RollShading.h"
#include "TRollTransition.h"
#include "TTETransitionData.h"

#include <QTest>

#include <algorithm>
#include <random>

using Edges = RollGeometry::Edges;
using RollShading::Kernel;

Q_DECLARE_METATYPE(TTEEffectDirection)
Q_DECLARE_METATYPE(RollShading::Kernel)

namespace {

constexpr int W = 100, H = 80, Size = 10;

// Interval [from, to) counted from the starting edge, as edges in frame coordinates.
Edges span(TTEEffectDirection direction, int from, int to)
{
    switch (direction) {
    case tedRight:
        return {from, 0, to, H};
    case tedLeft:
        return {W - to, 0, W - from, H};
    case tedDown:
        return {0, from, W, to};
    default:
        return {0, H - to, W, H - from};
    }
}

// Distance from the starting edge of pixel (x, y).
int distanceOf(TTEEffectDirection direction, int x, int y)
{
    switch (direction) {
    case tedRight:
        return x;
    case tedLeft:
        return W - 1 - x;
    case tedDown:
        return y;
    default:
        return H - 1 - y;
    }
}

QPoint pixelAt(TTEEffectDirection direction, int distance, QPoint other)
{
    switch (direction) {
    case tedRight:
        return QPoint(distance, other.y());
    case tedLeft:
        return QPoint(W - 1 - distance, other.y());
    case tedDown:
        return QPoint(other.x(), distance);
    default:
        return QPoint(other.x(), H - 1 - distance);
    }
}

QImage pattern(int blue)
{
    QImage image(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            image.setPixel(x, y, qRgb(x, y, blue));
    return image;
}

QRgb shaded(QRgb pixel, int offset)
{
    const auto clamp = [](int v) {
        return std::clamp(v, 0, 255);
    };
    return qRgb(clamp(qRed(pixel) + offset), clamp(qGreen(pixel) + offset),
                clamp(qBlue(pixel) + offset));
}

const char *nameOf(Kernel kernel)
{
    switch (kernel) {
    case Kernel::Portable:
        return "portable";
    case Kernel::Sse2:
        return "sse2";
    case Kernel::Avx2:
        return "avx2";
    }
    return "?";
}

QList<int> framesOf(const QString &text, int n)
{
    QList<int> frames;
    if (text == QLatin1String("all")) {
        for (int s = 1; s <= n; ++s)
            frames << s;
    } else if (text.startsWith(QLatin1String("every"))) {
        const int step = text.mid(5).toInt();
        for (int s = step; s <= n; s += step)
            frames << s;
    } else {
        for (const QString &part : text.split(QLatin1Char(',')))
            frames << qMin(part.toInt(), n);
    }
    return frames;
}

} // namespace

class tst_RollTransition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void shadeTable_data();
    void shadeTable();
    void shadingSaturates_data();
    void shadingSaturates();
    void kernelsAgreeOnBlocks_data();
    void kernelsAgreeOnBlocks();
    void framesAndBand_data();
    void framesAndBand();
    void surfaceOffsetAndClip();
    void startRectangles();
    void copyKeepsDirectionAndOptions();
};

void tst_RollTransition::cleanup()
{
    RollShading::useKernel(RollShading::availableKernels().back());
}

void tst_RollTransition::shadeTable_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("1") << 1 << QList<int>{110};
    QTest::newRow("2") << 2 << QList<int>{-110, 110};
    QTest::newRow("3") << 3 << QList<int>{-110, 110, -110};
    QTest::newRow("6") << 6 << QList<int>{-110, 0, 110, 110, 0, -110};
    QTest::newRow("7") << 7 << QList<int>{-110, -37, 37, 110, 37, -37, -110};
    QList<int> sixty{-110, -102, -95, -87, -80, -72, -64, -57, -49, -42, -34, -27, -19, -11, -4,
                     4,    11,   19,  27,  34,  42,  49,  57,  64,  72,  80,  87,  95,  102, 110};
    QList<int> back = sixty;
    std::reverse(back.begin(), back.end());
    QTest::newRow("60") << 60 << (sixty + back);
}

void tst_RollTransition::shadeTable()
{
    QFETCH(int, width);
    QFETCH(QList<int>, expected);
    const std::vector<std::int8_t> table = RollShading::shadeTable(width);
    QList<int> actual(table.begin(), table.end());
    QCOMPARE(actual, expected);
}

void tst_RollTransition::shadingSaturates_data()
{
    QTest::addColumn<Kernel>("kernel");
    for (const Kernel kernel : RollShading::availableKernels())
        QTest::newRow(nameOf(kernel)) << kernel;
}

void tst_RollTransition::shadingSaturates()
{
    QFETCH(Kernel, kernel);
    QVERIFY(RollShading::useKernel(kernel));
    QCOMPARE(RollShading::kernel(), kernel);
    const std::vector<std::int8_t> table = RollShading::shadeTable(60);
    const RollShading::PixelOffsets offsets = RollShading::pixelOffsets(table);
    for (const QRgb base : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(20, 240, 128)}) {
        std::vector<quint32> in(60, base), out(60, 0);
        // An odd count also runs the tail after the vector blocks.
        RollShading::shadeRow(in.data(), out.data(), offsets.add.data(), offsets.sub.data(), 59);
        for (int i = 0; i < 59; ++i) {
            QCOMPARE(QRgb(out[size_t(i)]), shaded(base, table[size_t(i)]));
            QCOMPARE(qAlpha(out[size_t(i)]), 255);
        }
        QCOMPARE(out[59], 0u);
        for (int i = 0; i < 60; ++i) {
            std::vector<quint32> row(7, base), shadedRow(7, 0);
            RollShading::shadeRowUniform(row.data(), shadedRow.data(), offsets.add[size_t(i)],
                                         offsets.sub[size_t(i)], 7);
            QVERIFY(std::all_of(shadedRow.begin(), shadedRow.end(), [&](quint32 p) {
                return QRgb(p) == shaded(base, table[size_t(i)]);
            }));
        }
    }
    // On black only the middle lightens; on white only the edges darken.
    std::vector<quint32> black(60, qRgb(0, 0, 0)), out(60);
    RollShading::shadeRow(black.data(), out.data(), offsets.add.data(), offsets.sub.data(), 60);
    QCOMPARE(QRgb(out[0]), qRgb(0, 0, 0));
    QCOMPARE(QRgb(out[29]), qRgb(110, 110, 110));
}

void tst_RollTransition::kernelsAgreeOnBlocks_data()
{
    QTest::addColumn<Kernel>("kernel");
    for (const Kernel kernel : RollShading::availableKernels()) {
        if (kernel != Kernel::Portable)
            QTest::newRow(nameOf(kernel)) << kernel;
    }
}

// Every width from empty to past two of the widest vectors, in rows with padding between
// them: each kernel writes what the portable one writes and nothing beyond the block.
void tst_RollTransition::kernelsAgreeOnBlocks()
{
    QFETCH(Kernel, kernel);
    std::mt19937 random(18);
    constexpr int Rows = 5, MaxWidth = 21, Stride = MaxWidth + 3;
    std::vector<quint32> in(size_t(Rows * Stride));
    for (quint32 &pixel : in)
        pixel = random();
    const RollShading::PixelOffsets offsets =
        RollShading::pixelOffsets(RollShading::shadeTable(MaxWidth));
    constexpr quint32 Untouched = 0x5A5A5A5Au;
    for (int width = 0; width <= MaxWidth; ++width) {
        for (const bool columns : {true, false}) {
            std::vector<quint32> expected(in.size(), Untouched), actual(in.size(), Untouched);
            const auto blockInto = [&](std::vector<quint32> &out) {
                return RollShading::PixelBlock{reinterpret_cast<const uchar *>(in.data() + 1),
                                               Stride * 4,
                                               reinterpret_cast<uchar *>(out.data() + 1),
                                               Stride * 4,
                                               width,
                                               Rows};
            };
            // Offsets from inside the table, so the rows and columns see mixed signs.
            const quint32 *add = offsets.add.data() + (columns ? MaxWidth - width : 8);
            const quint32 *sub = offsets.sub.data() + (columns ? MaxWidth - width : 8);
            const auto shade = columns ? RollShading::shadeColumns : RollShading::shadeRows;
            QVERIFY(RollShading::useKernel(Kernel::Portable));
            shade(blockInto(expected), add, sub);
            QVERIFY(RollShading::useKernel(kernel));
            shade(blockInto(actual), add, sub);
            if (actual != expected) {
                QFAIL(qPrintable(
                    QStringLiteral("width %1, %2 differ")
                        .arg(width)
                        .arg(columns ? QStringLiteral("columns") : QStringLiteral("rows"))));
            }
            const auto shaded = std::count_if(expected.begin(), expected.end(),
                                              [](quint32 p) { return p != Untouched; });
            QCOMPARE(shaded, Rows * width);
        }
    }
}

void tst_RollTransition::framesAndBand_data()
{
    QTest::addColumn<Kernel>("kernel");
    QTest::addColumn<TTEEffectDirection>("direction");
    QTest::addColumn<bool>("unroll");
    QTest::addColumn<bool>("use3D");
    QTest::addColumn<QString>("frames");
    const std::pair<TTEEffectDirection, const char *> directions[] = {
        {tedRight, "right"}, {tedLeft, "left"}, {tedDown, "down"}, {tedUp, "up"}};
    for (const auto &[direction, name] : directions) {
        for (const bool unroll : {true, false}) {
            for (const bool use3D : {true, false}) {
                // Each shading kernel draws whole passes; flat bands use none.
                const std::vector<Kernel> kernels =
                    use3D ? RollShading::availableKernels() : std::vector{Kernel::Portable};
                for (const Kernel kernel : kernels) {
                    for (const char *frames : {"all", "every7", "3,4,11,30,31,60,75,200"}) {
                        QTest::addRow("%s %s %s %s %s", name, unroll ? "unroll" : "roll",
                                      use3D ? "shaded" : "flat", use3D ? nameOf(kernel) : "-",
                                      frames)
                            << kernel << direction << unroll << use3D
                            << QString::fromLatin1(frames);
                    }
                }
            }
        }
    }
}

// After each frame: the strip and band lie where the last frames moved them; the frame shows
// the target up to the band, the band the mirrored picture (shaded or not), and the source
// beyond it.
void tst_RollTransition::framesAndBand()
{
    QFETCH(Kernel, kernel);
    QVERIFY(RollShading::useKernel(kernel));
    QFETCH(TTEEffectDirection, direction);
    QFETCH(bool, unroll);
    QFETCH(bool, use3D);
    QFETCH(QString, frames);

    const QImage source = pattern(50);
    const QImage target = pattern(200);
    QImage surface = source.copy();
    TTETransitionData data(Clocks::steady());
    data.width = W;
    data.height = H;
    data.source = &source;
    data.target = &target;
    data.surface = &surface;

    TRollTransition roll;
    roll.setDirection(direction);
    roll.Size = Size;
    roll.Use3D = use3D;
    roll.Unroll = unroll;
    int n = -1;
    roll.Initialize(data, n);
    const bool horizontal = direction == tedRight || direction == tedLeft;
    const int L = horizontal ? W : H;
    QCOMPARE(n, L - 1);

    const bool nearSide = direction == tedLeft || direction == tedUp;
    int previous = 0;
    int flatEnd = 0; // where the strip of the next frame starts
    for (const int s : framesOf(frames, n)) {
        if (s == previous)
            continue;
        const QRect changed = roll.RenderFrame(data, s, previous, s - previous);
        previous = s;
        const int p = s;
        const int z = unroll ? std::min(Size, n + 1 - s) : std::min(Size, s);
        const Edges strip = unroll ? span(direction, flatEnd, p - z) : span(direction, flatEnd, p);
        const Edges band = unroll ? span(direction, p - z, p) : span(direction, p, p + z);
        flatEnd = unroll ? p - z : p;

        const QRect frameRect(0, 0, W, H);
        QCOMPARE(changed, (strip.toRect() & frameRect) | (band.toRect() & frameRect));

        const int bandStart = unroll ? p - z : p;
        const int bandEnd = bandStart + z;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const int e = distanceOf(direction, x, y);
                QRgb want;
                if (e < bandStart) {
                    want = target.pixel(x, y);
                } else if (e >= bandEnd) {
                    want = source.pixel(x, y);
                } else {
                    // Mirrored about the band's front; the left and up rows of the roll's
                    // offset table read one pixel nearer the front.
                    const int from = 2 * p - 1 - e + (unroll ? 0 : 1) - (nearSide ? 1 : 0);
                    const QImage &shown = unroll ? target : source;
                    want = shown.pixel(pixelAt(direction, from, QPoint(x, y)));
                    if (use3D) {
                        const int index = horizontal ? x - band.left : y - band.top;
                        want = shaded(want, RollShading::shadeTable(z)[size_t(index)]);
                    }
                }
                if (surface.pixel(x, y) != want) {
                    QFAIL(qPrintable(QStringLiteral("frame %1 pixel (%2, %3): %4 instead of %5")
                                         .arg(s)
                                         .arg(x)
                                         .arg(y)
                                         .arg(surface.pixel(x, y), 0, 16)
                                         .arg(want, 0, 16)));
                }
            }
        }
    }
    roll.Finalize(data);
    QVERIFY(!data.effectData);
}

// The frame drawn at an offset on a larger surface, and on a surface that holds only part of
// it, matches the frame drawn on a surface of its own size; nothing outside it is touched.
void tst_RollTransition::surfaceOffsetAndClip()
{
    const QImage source = pattern(50);
    const QImage target = pattern(200);
    constexpr QRgb Marker = 0xff123456;
    const QPoint offset(13, 4);
    for (const TTEEffectDirection direction : {tedRight, tedLeft, tedDown, tedUp}) {
        for (const bool unroll : {true, false}) {
            QImage whole = source.copy();
            QImage larger(W + 20, H + 10, QImage::Format_RGB32);
            larger.fill(Marker);
            QImage part(W / 2 + 3, H / 2 + 1, QImage::Format_RGB32);
            part.fill(Marker);
            struct Run
            {
                Run(QImage *surface, QPoint origin)
                    : surface(surface)
                    , origin(origin)
                {}
                QImage *surface;
                QPoint origin;
                TTETransitionData data{Clocks::steady()};
                TRollTransition roll;
            };
            Run runs[] = {{&whole, {}}, {&larger, offset}, {&part, {}}};
            int n = 0;
            for (Run &run : runs) {
                run.data.width = W;
                run.data.height = H;
                run.data.source = &source;
                run.data.target = &target;
                run.data.surface = run.surface;
                run.data.origin = run.origin;
                run.roll.setDirection(direction);
                run.roll.Size = Size;
                run.roll.Unroll = unroll;
                run.roll.Initialize(run.data, n);
            }
            for (int s = 3, previous = 0; previous < n; previous = s, s = std::min(s + 5, n)) {
                for (Run &run : runs)
                    run.roll.RenderFrame(run.data, s, previous, s - previous);
                // Pixels never drawn still show the marker; compare only where the whole
                // surface was drawn since the start.
                for (int y = 0; y < H; ++y) {
                    for (int x = 0; x < W; ++x) {
                        const QRgb drawn = whole.pixel(x, y);
                        const QRgb atOffset = larger.pixel(QPoint(x, y) + offset);
                        if (atOffset != Marker && atOffset != drawn)
                            QFAIL(qPrintable(
                                QStringLiteral("offset: frame %1 (%2, %3)").arg(s).arg(x).arg(y)));
                        if (part.valid(x, y) && part.pixel(x, y) != Marker &&
                            part.pixel(x, y) != drawn)
                            QFAIL(qPrintable(
                                QStringLiteral("part: frame %1 (%2, %3)").arg(s).arg(x).arg(y)));
                    }
                }
            }
            // Drawn at the offset is what the frame drew (nothing drawn keeps the source's
            // blue of 50, which nothing drawn has); the margin around it is never drawn.
            for (int y = 0; y < larger.height(); ++y) {
                for (int x = 0; x < larger.width(); ++x) {
                    const QPoint inFrame = QPoint(x, y) - offset;
                    const bool inside = QRect(0, 0, W, H).contains(inFrame);
                    const bool drawn = inside && whole.pixel(inFrame) != source.pixel(inFrame);
                    if ((larger.pixel(x, y) != Marker) != drawn)
                        QFAIL(qPrintable(QStringLiteral("(%1, %2) drawn: %3 instead of %4")
                                             .arg(x)
                                             .arg(y)
                                             .arg(!drawn)
                                             .arg(drawn)));
                }
            }
            for (Run &run : runs)
                run.roll.Finalize(run.data);
        }
    }
}

void tst_RollTransition::startRectangles()
{
    // The edges of strip and band after frames with steps, against the start rectangles
    // and the update rules.
    struct Row
    {
        TTEEffectDirection direction;
        bool unroll;
        Edges strip, band;
    };
    // Frames 1 (step 1) and then 13 (step 12), W 100, H 80, Size 10.
    const Row afterFirst[] = {
        {tedRight, true, {0, 0, -9, 80}, {-9, 0, 1, 80}},
        {tedLeft, true, {109, 0, 100, 80}, {99, 0, 109, 80}},
        {tedDown, true, {0, 0, 100, -9}, {0, -9, 100, 1}},
        {tedUp, true, {0, 89, 100, 80}, {0, 79, 100, 89}},
        {tedRight, false, {0, 0, 1, 80}, {1, 0, 2, 80}},
        {tedLeft, false, {99, 0, 100, 80}, {98, 0, 99, 80}},
        {tedDown, false, {0, 0, 100, 1}, {0, 1, 100, 2}},
        {tedUp, false, {0, 79, 100, 80}, {0, 78, 100, 79}},
    };
    const Row afterThirteen[] = {
        {tedRight, true, {-9, 0, 3, 80}, {3, 0, 13, 80}},
        {tedLeft, true, {97, 0, 109, 80}, {87, 0, 97, 80}},
        {tedDown, true, {0, -9, 100, 3}, {0, 3, 100, 13}},
        {tedUp, true, {0, 77, 100, 89}, {0, 67, 100, 77}},
        {tedRight, false, {1, 0, 13, 80}, {13, 0, 23, 80}},
        {tedLeft, false, {87, 0, 99, 80}, {77, 0, 87, 80}},
        {tedDown, false, {0, 1, 100, 13}, {0, 13, 100, 23}},
        {tedUp, false, {0, 67, 100, 79}, {0, 57, 100, 67}},
    };
    for (size_t i = 0; i < std::size(afterFirst); ++i) {
        RollGeometry geometry(afterFirst[i].direction, afterFirst[i].unroll, W, H, Size);
        geometry.advance(1, 1);
        QCOMPARE(geometry.strip(), afterFirst[i].strip);
        QCOMPARE(geometry.band(), afterFirst[i].band);
        geometry.advance(13, 12);
        QCOMPARE(geometry.strip(), afterThirteen[i].strip);
        QCOMPARE(geometry.band(), afterThirteen[i].band);
    }
    // The mirror offsets of the right and down rows after frame 13 of an unroll.
    RollGeometry right(tedRight, true, W, H, Size);
    right.advance(13, 13);
    QCOMPARE(right.mirrorX(), W - 13 - 10);
    RollGeometry up(tedUp, false, W, H, Size);
    up.advance(13, 13);
    QCOMPARE(up.mirrorY(), H - 67 - 10);
}

void tst_RollTransition::copyKeepsDirectionAndOptions()
{
    TRollTransition roll;
    QCOMPARE(roll.Direction(), tedDown);
    QCOMPARE(roll.allowedDirections(), TTEEffectDirections(2078));
    roll.setDirection(tedDownRight); // not allowed: ignored
    QCOMPARE(roll.Direction(), tedDown);
    roll.setDirection(tedRandom);
    roll.Size = 33;
    roll.Milliseconds = 800;
    const auto copy = roll.deviceCopy();
    QCOMPARE(copy->Direction(), tedRandom);
    QCOMPARE(copy->Milliseconds, 800);
    QCOMPARE(static_cast<TRollTransition &>(*copy).Size, 33);
    QCOMPARE(copy->capabilities(), std::uint16_t(0x031B));
    QCOMPARE(copy->displayName(), QStringLiteral("Roll"));
    QCOMPARE(reversedDirection(tedDownLeft), tedUpRight);
    QCOMPARE(reversedDirection(tedIn), tedOut);
    QCOMPARE(reversedDirection(tedRandom), tedRandom);
}

QTEST_GUILESS_MAIN(tst_RollTransition)
#include "tst_rolltransition.moc"
