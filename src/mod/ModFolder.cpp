#include "mod/ModFolder.h"

#include "data/DataError.h"
#include "data/FileWriter.h"

#include <QDir>
#include <QFileInfo>

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

bool RemoveModFolder(const QString& path) {
    const QFileInfo info(path);
    const QString aside = info.dir().filePath(QStringLiteral(".cindral-weg ") + info.fileName());
    if (!QDir(aside).removeRecursively())
        return false;
    if (!QFileInfo::exists(path))
        return true;
    return QDir().rename(path, aside) && QDir(aside).removeRecursively();
}

void RequireRemovable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return;
    for (const QFileInfo& folder : {QFileInfo(info.absolutePath()), info})
        if (!folder.isWritable())
            throw data::DataError(
                QStringLiteral("Der Ordner %1 kann nicht gelöscht werden: %2 ist schreibgeschützt "
                               "oder gesperrt. Es wurde nichts geändert.")
                    .arg(data::quotedPath(path), data::quotedPath(folder.absoluteFilePath())));
}

} // namespace velmora::mod
