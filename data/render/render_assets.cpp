// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the files the package ships that the program draws itself.
//
//   tarvik-render-assets icons FOLDER ID
//       FOLDER/hicolor/<n>x<n>/apps/ID.png and FOLDER/hicolor/scalable/apps/ID.svg
//   tarvik-render-assets chime FILE.wav
//       the alarm chime, to be encoded to MP3
//   tarvik-render-assets screenshot FILE.png
//       the main window for software centres
#include "ChimeTones.h"
#include "ProjectPictures.h"

#include <QApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

namespace {

int fail(const QString &text)
{
    QTextStream(stderr) << "tarvik-render-assets: " << text << '\n';
    return 1;
}

int renderIcons(const QString &folder, const QString &id)
{
    for (int side : ProjectPictures::iconSizes()) {
        const QString sizeFolder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(side);
        if (!QDir().mkpath(sizeFolder))
            return fail(QStringLiteral("cannot make %1").arg(sizeFolder));
        const QString file = sizeFolder + u'/' + id + QStringLiteral(".png");
        if (!ProjectPictures::icon(side).save(file, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(file));
    }
    const QString scalable = folder + QStringLiteral("/hicolor/scalable/apps");
    if (!QDir().mkpath(scalable))
        return fail(QStringLiteral("cannot make %1").arg(scalable));
    const QString svg = scalable + u'/' + id + QStringLiteral(".svg");
    if (!ProjectPictures::writeScalableIcon(svg))
        return fail(QStringLiteral("cannot write %1").arg(svg));
    return 0;
}

int renderChime(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(ChimeTones::waveFile(ChimeTones::samples())) < 0 || !file.commit()) {
        return fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}

int renderScreenshot(const QString &path)
{
    const QImage image = ProjectPictures::mainWindow(QSize(1280, 720));
    if (image.isNull() || !image.save(path, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(path));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == u"icons")
        return renderIcons(args[2], args[3]);
    if (args.size() == 3 && args[1] == u"chime")
        return renderChime(args[2]);
    if (args.size() == 3 && args[1] == u"screenshot")
        return renderScreenshot(args[2]);
    return fail(QStringLiteral("usage: icons FOLDER ID | chime FILE.wav | screenshot FILE.png"));
}
