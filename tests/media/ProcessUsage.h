// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#if defined(__SANITIZE_ADDRESS__)
#define TARVIK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVIK_ASAN 1
#endif
#endif

// What the process holds right now: open descriptors and resident memory.
namespace ProcessUsage {

inline int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

// VmRSS from /proc/self/status, in kB; -1 when it cannot be read.
inline qint64 residentKb()
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

// Under AddressSanitizer the resident size mostly follows the sanitizer's own caches of
// freed blocks and thread records, which rise and fall by megabytes.
constexpr bool residentSizeIsMeaningful()
{
#ifdef TARVIK_ASAN
    return false;
#else
    return true;
#endif
}

} // namespace ProcessUsage
