#include "ClockIcon.h"
#include "QtTranslations.h"
#include "UiLanguage.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The title shows in the window list and captions the error box; as the application's
    // name it is not appended to window captions a second time.
    QApplication::setApplicationName(QStringLiteral("Tarvik倒计时计时器"));
    // The desktop's language; the Chinese texts in the code show as they are for Chinese
    // and the C locale.
    const UiLanguage::Language language = UiLanguage::fromSystem();
    UiLanguage::install(&app, language);
    QApplication::setWindowIcon(ClockIcon::icon());
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVIK_APP_ID));
    if (const QString qtCatalogue = UiLanguage::qtCatalogue(language); !qtCatalogue.isEmpty())
        QtTranslations::install(&app, QString(), qtCatalogue);

    // The window shows first; the settings, with the picture and the sound, are applied
    // after its first paint.
    frm_main mainWindow;
    frm_pubunit pubUnit;
    return app.exec();
}
