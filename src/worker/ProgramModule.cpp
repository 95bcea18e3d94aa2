// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>

namespace ProgramModule {

QStringList installedPaths(const QString &fileName)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(fileName),
            QDir::cleanPath(programDir.filePath(QStringLiteral(TARVIK_MODULE_DIR "/") + fileName))};
}

Loaded load(const QStringList &paths, const char *entryName)
{
    const auto found = std::find_if(paths.cbegin(), paths.cend(),
                                    [](const QString &path) { return QFileInfo::exists(path); });
    if (found == paths.cend())
        return {Loaded::Outcome::Missing,
                nullptr,
                QDir::toNativeSeparators(paths.value(paths.size() - 1)),
                {}};
    const QString path = QDir::toNativeSeparators(*found);
    // All symbols at once: a module that does not fit the libraries here fails now, not in
    // the middle of a call.
    QLibrary library(*found);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load())
        return {Loaded::Outcome::Unloadable, nullptr, path, library.errorString()};
    const QFunctionPointer entry = library.resolve(entryName);
    if (!entry)
        return {Loaded::Outcome::NoEntry, nullptr, path, {}};
    return {Loaded::Outcome::Loaded, entry, path, {}};
}

QString reason(const Loaded &loaded, const Reasons &reasons)
{
    switch (loaded.outcome) {
    case Loaded::Outcome::Missing:
        return reasons.missing.arg(loaded.path);
    case Loaded::Outcome::Unloadable:
        return reasons.unloadable.arg(loaded.path, loaded.loadError);
    case Loaded::Outcome::NoEntry:
    case Loaded::Outcome::Loaded:
        break;
    }
    return reasons.mismatched.arg(loaded.path);
}

} // namespace ProgramModule
