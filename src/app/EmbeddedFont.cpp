#include "app/Startup.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace velmora::app {

bool LoadEmbeddedFont() {
    if (!QGuiApplication::instance())
        return false;
    // Registering the same font twice would only add a second copy.
    static bool registered = false;
    if (registered)
        return true;
    bool any = false;
    for (const char* name :
         {":/velmora/fonts/Heuristica-Regular.ttf", ":/velmora/fonts/Heuristica-Bold.ttf"}) {
        QFile font(QString::fromLatin1(name));
        if (font.open(QIODevice::ReadOnly) &&
            QFontDatabase::addApplicationFontFromData(font.readAll()) >= 0)
            any = true;
    }
    registered = any;
    return any;
}

} // namespace velmora::app
