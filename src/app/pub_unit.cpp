#include "pub_unit.h"

#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Set only by tests; the real directory is looked up on every call.
QString &testingDirectory()
{
    static QString directory;
    return directory;
}

QString withSeparator(QString directory)
{
    if (!directory.endsWith(u'/'))
        directory.append(u'/');
    return directory;
}

QString executableDirectory()
{
    if (!testingDirectory().isEmpty())
        return testingDirectory();
    if (QCoreApplication::instance())
        return withSeparator(QCoreApplication::applicationDirPath());
    return withSeparator(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

// Blanks and control characters at either end are not part of a path given by a caller.
QString trimmedPath(const QString &path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && path[end - 1].unicode() <= u' ')
        --end;
    return path.sliced(begin, end - begin);
}

} // namespace

frm_pubunit::frm_pubunit(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_pubunit"));
    setWindowTitle(QStringLiteral("共享单元模块"));
}

namespace pub_unit {

QString applicationDirectory(const QString &path)
{
    const QString trimmed = trimmedPath(path);
    if (trimmed.isEmpty())
        return executableDirectory();
    // Everything up to and including the last separator; a bare name has no directory part.
    return trimmed.first(trimmed.lastIndexOf(u'/') + 1);
}

QString readKey(const QString &filePath, const QString &section, const QString &key,
                const QString &defaultValue)
{
    return IniFile(filePath).readString(section, key, defaultValue);
}

void writeKey(const QString &filePath, const QString &section, const QString &key,
              const QString &value)
{
    IniFile(filePath).writeString(section, key, value);
}

void setApplicationDirectoryForTesting(const QString &directory)
{
    testingDirectory() = directory.isEmpty() ? QString() : withSeparator(directory);
}

} // namespace pub_unit
