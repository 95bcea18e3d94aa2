// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

bool QtTranslations::install(QCoreApplication *app, const QString &directory, const QString &name)
{
    const QString folder =
        directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name.isEmpty() ? catalogue.toString() : name, folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(app);
    return true;
}
