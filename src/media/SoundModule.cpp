// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundModule.h"

#include "ProgramModule.h"
#include "SoundDevice.h"

#include <QCoreApplication>

#include <atomic>
#include <cstdio>

namespace {

QString probeProgram;
std::atomic<const SoundModule::Entry *> builtIn{nullptr};

// Stands in for the device when the module cannot be had: every open tells why.
class MissingSoundDevice final : public SoundDevice
{
public:
    explicit MissingSoundDevice(QString reason)
        : m_reason(std::move(reason))
    {}

    bool open(const QString &, QString *errorText) override
    {
        if (errorText)
            *errorText = m_reason;
        return false;
    }
    bool close() override { return true; }
    bool isOpen() const override { return false; }
    bool holdsUnchanged(const QString &) const override { return false; }
    bool play() override { return false; }
    bool pause() override { return false; }
    bool resume() override { return false; }
    bool stop() override { return false; }
    bool seekToStart() override { return false; }
    qint64 length() override { return 0; }
    qint64 position() override { return 0; }
    MediaMode mode() override { return MediaMode::NotReady; }
    void setBusWake(std::function<void()>) override {}
    void processBus() override {}
    void setNotify(std::function<void(NotifyValue)>) override {}
    bool canRest() const override { return false; }
    void rest() override {}
    bool isResting() const override { return false; }

private:
    const QString m_reason;
};

// The linked-in device, else the installation's module, loaded once by whichever thread asks
// first.
SoundModule::Loaded available()
{
    if (const SoundModule::Entry *entry = builtIn.load())
        return {entry, {}};
    static const SoundModule::Loaded installed =
        SoundModule::load(ProgramModule::installedPaths(QStringLiteral(TARVIK_SOUND_MODULE_FILE)));
    return installed;
}

} // namespace

namespace SoundModule {

Loaded load(const QStringList &paths)
{
    const ProgramModule::Loaded module = ProgramModule::load(paths, entryName);
    const auto function = reinterpret_cast<EntryFunction>(module.entry);
    if (const Entry *entry = function ? function(SoundDevice::interfaceVersion) : nullptr)
        return {entry, {}};
    return {nullptr,
            ProgramModule::reason(
                module,
                {QCoreApplication::translate("SoundModule", "找不到播放声音的部分 %1"),
                 QCoreApplication::translate("SoundModule", "播放声音的部分 %1 无法载入：%2"),
                 QCoreApplication::translate("SoundModule", "播放声音的部分 %1 与本程序不配套")})};
}

void setProbeProgram(const QString &program)
{
    probeProgram = program;
}

std::unique_ptr<SoundDevice> createDevice(const QByteArray &audioSink)
{
    const Loaded loaded = available();
    if (!loaded.entry)
        return std::make_unique<MissingSoundDevice>(loaded.error);
    return loaded.entry->createDevice(audioSink, probeProgram);
}

int runProbe(const QString &path)
{
    const Loaded loaded = available();
    if (!loaded.entry) {
        std::fprintf(stderr, "tarvik-timer: %s\n", loaded.error.toLocal8Bit().constData());
        return 1;
    }
    return loaded.entry->runProbe(path);
}

void setBuiltIn(const Entry *entry)
{
    builtIn.store(entry);
}

} // namespace SoundModule
