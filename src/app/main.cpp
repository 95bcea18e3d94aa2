#include "ClockIcon.h"
#include "QtTranslations.h"
#include "frm_main.h"
#include "pub_unit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The title shows in the window list and captions the error box; as the application's
    // name it is not appended to window captions a second time.
    QApplication::setApplicationName(QStringLiteral("Tarvik倒计时计时器"));
    QApplication::setWindowIcon(ClockIcon::icon());
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVIK_APP_ID));
    QtTranslations::install(&app);

    // The window shows first; the settings, with the picture and the sound, are applied
    // after its first paint.
    frm_main mainWindow;
    frm_pubunit pubUnit;
    return app.exec();
}
