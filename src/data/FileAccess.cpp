#include "data/FileAccess.h"

#include "data/DataError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <filesystem>
#include <system_error>

namespace velmora::data {

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

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void cannotSave(const QString& path, const QString& reason) {
    throw DataError(QStringLiteral("Die Datei \u201E%1\u201C kann nicht gespeichert werden: %2")
                        .arg(native(path), reason));
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

class DiskWriter final : public FileWriter {
public:
    void writeNew(const QString& path, const QByteArray& bytes) override {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            cannotSave(path, file.errorString());
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            const QString reason = file.errorString();
            file.close();
            file.remove();
            cannotSave(path, reason);
        }
        file.close();
    }
    void replace(const QString& from, const QString& to) override {
        std::error_code ec;
        std::filesystem::rename(fsPath(from), fsPath(to), ec);
        if (ec)
            cannotSave(to, QString::fromStdString(ec.message()));
    }
    bool remove(const QString& path) override {
        std::error_code ec;
        std::filesystem::remove(fsPath(path), ec);
        return !ec;
    }
};

} // namespace

FileWriter& diskWriter() {
    static DiskWriter writer;
    return writer;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes, FileWriter& writer) {
    writeFilesAllOrNothing({FileContent{path, bytes}}, writer);
}

void writeFilesAllOrNothing(const std::vector<FileContent>& files, FileWriter& writer) {
    struct Target {
        QString path, newFile;
        bool existed = false;
        QByteArray oldBytes;
    };
    std::vector<Target> targets;
    for (const FileContent& f : files) {
        Target t;
        t.path = resolveFileName(f.path);
        t.newFile = t.path + kNewFileSuffix;
        targets.push_back(t);
    }

    // Every new file first; a failure leaves the targets as they are.
    size_t written = 0;
    try {
        for (; written < files.size(); ++written)
            writer.writeNew(targets[written].newFile, files[written].bytes);
        for (Target& t : targets) {
            t.existed = QFileInfo::exists(t.path);
            if (t.existed && targets.size() > 1)
                t.oldBytes = readFileBytes(t.path);
        }
    } catch (...) {
        for (size_t i = 0; i <= written && i < targets.size(); ++i)
            writer.remove(targets[i].newFile);
        throw;
    }

    // Then the targets, each replaced in one step; a failure puts back the ones replaced.
    size_t replaced = 0;
    try {
        for (; replaced < targets.size(); ++replaced)
            writer.replace(targets[replaced].newFile, targets[replaced].path);
    } catch (const DataError& e) {
        for (size_t i = replaced; i < targets.size(); ++i)
            writer.remove(targets[i].newFile);
        QStringList notRestored;
        for (size_t i = 0; i < replaced; ++i) {
            const Target& t = targets[i];
            try {
                if (t.existed) {
                    writer.writeNew(t.newFile, t.oldBytes);
                    writer.replace(t.newFile, t.path);
                } else if (!writer.remove(t.path)) {
                    notRestored << native(t.path);
                }
            } catch (const DataError&) {
                writer.remove(t.newFile);
                notRestored << native(t.path);
            }
        }
        if (notRestored.isEmpty())
            throw;
        throw DataError(e.message() +
                        QStringLiteral("\rDiese Dateien konnten nicht wiederhergestellt werden: ") +
                        notRestored.join(QStringLiteral(", ")));
    }
}

} // namespace velmora::data
