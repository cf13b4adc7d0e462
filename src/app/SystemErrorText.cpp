#include "app/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace velmora::app {

QString systemErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner fehlt.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Die Berechtigung fehlt.");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Der Datenträger ist voll.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird von einem anderen Programm verwendet.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case EISDIR:
        return QStringLiteral("An dieser Stelle steht ein Ordner.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfads ist kein Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Pfad ist zu lang.");
    case ENOMEM:
        return QStringLiteral("Nicht genügend Arbeitsspeicher.");
    default:
        return QStringLiteral("Systemfehler %1 (%2).")
            .arg(errorNumber)
            .arg(QString::fromUtf8(std::strerror(errorNumber)));
    }
}

} // namespace velmora::app
