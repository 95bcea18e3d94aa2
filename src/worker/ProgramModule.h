// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The program's own modules: parts kept in files of their own and loaded the first time they
// are needed, so that a start maps none of the libraries they bring. A module is a file of
// the installation: beside the program in the build tree, in the program's library folder
// once installed. Loaded modules stay loaded for the rest of the run.
namespace ProgramModule {

struct Loaded
{
    enum class Outcome
    {
        Loaded,
        Missing,    // no file at any of the paths
        Unloadable, // the file is there but does not load
        NoEntry     // loaded, but without the entry: not a module of this program
    };
    Outcome outcome = Outcome::Missing;
    QFunctionPointer entry = nullptr;
    QString path;      // the file looked at last, in the platform's notation
    QString loadError; // the loader's reason, with Unloadable
};

// The file fileName at the places this installation keeps its modules, in the order looked at.
QStringList installedPaths(const QString &fileName);
// The module at the first of paths that exists, and its exported function entryName. Any
// thread.
Loaded load(const QStringList &paths, const char *entryName);

// Why a module cannot be had, in its caller's words: missing gets the path, unloadable the
// path and the loader's reason, mismatched (no entry, or an entry that refused) the path.
struct Reasons
{
    QString missing;
    QString unloadable;
    QString mismatched;
};
QString reason(const Loaded &loaded, const Reasons &reasons);

} // namespace ProgramModule
