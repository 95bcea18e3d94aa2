// SPDX-License-Identifier: GPL-3.0-or-later
// One read and one write of a key of the settings file, on the usual file of eleven keys
// and on a file of 10,000 lines; the in-memory forms show what the file access costs.
#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char *const keys[] = {"shi", "feng",    "miao", "qiancolor", "beicolor", "fontsize",
                            "mp3", "showtop", "ico",  "showico",   "playtime"};

// The eleven keys as the settings dialog writes them, after lines - 12 lines of another
// section, so that the key is found last.
QByteArray settingsText(int lines)
{
    QByteArray text;
    const int others = lines - 12;
    if (others > 0) {
        text += "[OTHER]\r\n";
        for (int i = 1; i < others; ++i)
            text +=
                "key" + QByteArray::number(i) + "=value number " + QByteArray::number(i) + "\r\n";
    }
    text += "[SET]\r\n";
    for (const char *key : keys)
        text += QByteArray(key) + "=01\r\n";
    return text;
}

struct SettingsFile
{
    explicit SettingsFile(int lines)
        : path(dir.filePath(QStringLiteral("config.dat")))
        , text(settingsText(lines))
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            std::abort();
    }
    QTemporaryDir dir;
    QString path;
    QByteArray text;
};

void BM_ReadKey(benchmark::State &state)
{
    const SettingsFile file(int(state.range(0)));
    for (auto _ : state) {
        const QString value =
            IniFile(file.path).readString(u"SET", u"playtime", QStringLiteral("0"));
        benchmark::DoNotOptimize(value.constData());
    }
    state.counters["bytes"] = double(file.text.size());
}

void BM_WriteKey(benchmark::State &state)
{
    const SettingsFile file(int(state.range(0)));
    int i = 0;
    for (auto _ : state)
        IniFile(file.path).writeString(u"SET", u"playtime", QString::number(i++ % 100));
}

void BM_ValueInText(benchmark::State &state)
{
    const QByteArray text = settingsText(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(IniFile::valueIn(text, u"SET", u"playtime"));
}

void BM_WithValueInText(benchmark::State &state)
{
    const QByteArray text = settingsText(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(IniFile::withValue(text, u"SET", u"playtime", u"10"));
}

} // namespace

BENCHMARK(BM_ReadKey)->Arg(12)->Arg(10000);
BENCHMARK(BM_WriteKey)->Arg(12)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ValueInText)->Arg(12)->Arg(10000);
BENCHMARK(BM_WithValueInText)->Arg(12)->Arg(10000);

BENCHMARK_MAIN();
