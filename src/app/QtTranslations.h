// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts (the standard buttons of message boxes, the edit menus of text fields) in
// Simplified Chinese, like the rest of the interface, whatever the user's locale.
class QtTranslations
{
public:
    static constexpr QStringView catalogue = u"qtbase_zh_CN";

    // Installs Qt's catalogue from directory (Qt's translations folder when empty) on app,
    // which owns it. Returns false, and leaves Qt's English texts, when it is missing.
    static bool install(QCoreApplication *app, const QString &directory = QString());
};
