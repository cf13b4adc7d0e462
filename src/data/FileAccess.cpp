#include "data/FileAccess.h"

#include "data/DataError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmora::data {

namespace {
bool failBeforeRename = false;
}

QString resolveFileName(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir dir = info.dir();
    if (!dir.exists())
        return path;
    const QString wanted = info.fileName();
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return path;
}

void openForReading(QFile& file, const QString& path) {
    file.setFileName(resolveFileName(path));
    if (!file.exists())
        throw DataError(
            QStringLiteral("Die Datei \u201E%1\u201C fehlt.").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        failedToRead(file);
}

void failedToRead(const QFile& file) {
    throw DataError(QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden: %2")
                        .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

QByteArray readFileBytes(const QString& path) {
    QFile file;
    openForReading(file, path);
    return file.readAll();
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString resolved = resolveFileName(path);
    QSaveFile file(resolved);
    const auto fail = [&](const QString& reason) {
        file.cancelWriting();
        throw DataError(QStringLiteral("Die Datei \u201E%1\u201C kann nicht gespeichert werden: %2")
                            .arg(QDir::toNativeSeparators(resolved), reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        fail(file.errorString());
    if (failBeforeRename) {
        failBeforeRename = false;
        fail(QStringLiteral("Speichern abgebrochen"));
    }
    if (!file.commit())
        fail(file.errorString());
}

void failNextWriteBeforeRename() {
    failBeforeRename = true;
}

} // namespace velmora::data
