#include "mod/ModFolder.h"

#include "data/FileWriter.h"

#include <QDir>

namespace velmora::mod {

QString ModTitle(const QString& guid, const QString& local) {
    return QStringLiteral("(") + guid + QStringLiteral(") ") + local;
}

QString ActiveModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return QDir(modsDir).filePath(QStringLiteral("[Cindral] ") + ModTitle(guid, local));
}

QString HyphenatedModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return QDir(modsDir).filePath(QStringLiteral("-[Cindral] ") + ModTitle(guid, local));
}

QString NewModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return HyphenatedModFolder(modsDir, guid, local) + data::kNewFileSuffix;
}

QString SetAsideModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return HyphenatedModFolder(modsDir, guid, local) + QStringLiteral(".cindral-alt");
}

} // namespace velmora::mod
