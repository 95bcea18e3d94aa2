// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts (the standard buttons of message boxes, the edit menus of text fields) in
// the language of the rest of the interface.
class QtTranslations
{
public:
    static constexpr QStringView catalogue = u"qtbase_zh_CN";

    // Installs Qt's catalogue name (Simplified Chinese unless given) from directory (Qt's
    // translations folder when empty) on app, which owns it. Returns false, and leaves
    // Qt's English texts, when it is missing.
    static bool install(QCoreApplication *app, const QString &directory = QString(),
                        const QString &name = QString());
};
