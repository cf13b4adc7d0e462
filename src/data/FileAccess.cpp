#include "data/FileAccess.h"

#include "data/DataError.h"
#include "data/FileTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace velmora::data {

namespace {

enum class FileFault {
    Missing,
    NoPermission,
    ReadOnly,
    DiskFull,
    InUse,
    Folder,
    PathTooLong,
    NoMemory,
    Exists,
    NotEmpty,
    OtherDrive,
    LinkLoop,
    LinkFollowed,
    DeviceError,
    NotReady,
    BadName,
    TooManyOpen,
    Other
};

// Windows' numbers (GetLastError()) for what the errno values below name, and a few of its own.
FileFault windowsFault(int error) {
    switch (error) {
    case 2:  // ERROR_FILE_NOT_FOUND
    case 3:  // ERROR_PATH_NOT_FOUND
    case 15: // ERROR_INVALID_DRIVE
    case 53: // ERROR_BAD_NETPATH
    case 67: // ERROR_BAD_NET_NAME
        return FileFault::Missing;
    case 5:    // ERROR_ACCESS_DENIED
    case 1314: // ERROR_PRIVILEGE_NOT_HELD
        return FileFault::NoPermission;
    case 19: // ERROR_WRITE_PROTECT
        return FileFault::ReadOnly;
    case 32:   // ERROR_SHARING_VIOLATION
    case 33:   // ERROR_LOCK_VIOLATION
    case 1224: // ERROR_USER_MAPPED_FILE
        return FileFault::InUse;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED
        return FileFault::DiskFull;
    case 206: // ERROR_FILENAME_EXCED_RANGE
        return FileFault::PathTooLong;
    case 8:  // ERROR_NOT_ENOUGH_MEMORY
    case 14: // ERROR_OUTOFMEMORY
        return FileFault::NoMemory;
    case 80:  // ERROR_FILE_EXISTS
    case 183: // ERROR_ALREADY_EXISTS
        return FileFault::Exists;
    case 145: // ERROR_DIR_NOT_EMPTY
        return FileFault::NotEmpty;
    case 17: // ERROR_NOT_SAME_DEVICE
        return FileFault::OtherDrive;
    case 1921: // ERROR_CANT_RESOLVE_FILENAME
        return FileFault::LinkLoop;
    case 4390: // ERROR_NOT_A_REPARSE_POINT: the system reached a link's target, not the link
        return FileFault::LinkFollowed;
    case 23:   // ERROR_CRC
    case 1117: // ERROR_IO_DEVICE
        return FileFault::DeviceError;
    case 21: // ERROR_NOT_READY
        return FileFault::NotReady;
    case 123: // ERROR_INVALID_NAME
    case 161: // ERROR_BAD_PATHNAME
    case 267: // ERROR_DIRECTORY
        return FileFault::BadName;
    case 4: // ERROR_TOO_MANY_OPEN_FILES
        return FileFault::TooManyOpen;
    default:
        return FileFault::Other;
    }
}

FileFault faultOf(const std::error_code& error) {
    if (!error)
        return FileFault::Other;
    if (error.category() == windowsErrorCategory())
        return windowsFault(error.value());
    const std::error_condition c = error.default_error_condition();
    if (c.category() != std::generic_category())
        return FileFault::Other;
    switch (c.value()) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
        return FileFault::Missing;
    case EACCES:
    case EPERM:
        return FileFault::NoPermission;
    case EROFS:
        return FileFault::ReadOnly;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileFault::DiskFull;
    case EBUSY:
    case ETXTBSY:
        return FileFault::InUse;
    case EISDIR:
        return FileFault::Folder;
    case ENAMETOOLONG:
        return FileFault::PathTooLong;
    case ENOMEM:
        return FileFault::NoMemory;
    case EEXIST:
        return FileFault::Exists;
    case ENOTEMPTY:
        return FileFault::NotEmpty;
    case EXDEV:
        return FileFault::OtherDrive;
    case ELOOP:
        return FileFault::LinkLoop;
    case EIO:
        return FileFault::DeviceError;
    case EINVAL:
        return FileFault::BadName;
    case EMFILE:
    case ENFILE:
        return FileFault::TooManyOpen;
    default:
        return FileFault::Other;
    }
}

} // namespace

QString fileErrorReason(const std::error_code& error, const QString& systemText) {
    switch (faultOf(error)) {
    case FileFault::Missing:
        return QStringLiteral("Die Datei oder ihr Ordner fehlt.");
    case FileFault::NoPermission:
        return QStringLiteral("Die Berechtigung dazu fehlt.");
    case FileFault::ReadOnly:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case FileFault::DiskFull:
        return QStringLiteral("Der Datenträger ist voll.");
    case FileFault::InUse:
        return QStringLiteral("Die Datei wird von einem anderen Programm verwendet.");
    case FileFault::Folder:
        return QStringLiteral("An ihrer Stelle steht ein Ordner.");
    case FileFault::PathTooLong:
        return QStringLiteral("Der Pfad ist zu lang.");
    case FileFault::NoMemory:
        return QStringLiteral("Nicht genügend Arbeitsspeicher.");
    case FileFault::Exists:
        return QStringLiteral("Unter dem Namen steht bereits eine Datei oder ein Ordner.");
    case FileFault::NotEmpty:
        return QStringLiteral("Der Ordner ist nicht leer.");
    case FileFault::OtherDrive:
        return QStringLiteral("Quelle und Ziel liegen auf verschiedenen Datenträgern.");
    case FileFault::LinkLoop:
        return QStringLiteral("Der Pfad führt über zu viele Verknüpfungen oder im Kreis.");
    case FileFault::LinkFollowed:
        return QStringLiteral("Das System erreicht hier nur das Ziel der Verknüpfung, nicht sie "
                              "selbst.");
    case FileFault::DeviceError:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler.");
    case FileFault::NotReady:
        return QStringLiteral("Der Datenträger ist nicht bereit.");
    case FileFault::BadName:
        return QStringLiteral("Der Name ist ungültig.");
    case FileFault::TooManyOpen:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case FileFault::Other:
        break;
    }
    if (error.category() == windowsErrorCategory())
        return QStringLiteral("Windows meldet den Fehler %1.").arg(error.value());
    if (!systemText.isEmpty())
        return systemText;
    return error ? QString::fromLocal8Bit(error.message().c_str())
                 : QStringLiteral("Unbekannter Fehler.");
}

QString fileErrorReason(int errorNumber) {
    return fileErrorReason(std::error_code(errorNumber, std::generic_category()));
}

std::error_code lastSystemError() {
    return system::lastError();
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
        throw DataError(QStringLiteral("Die Datei %1 fehlt.").arg(quotedPath(path)));
    if (!file.open(QIODevice::ReadOnly))
        failedToRead(file);
}

void failedToRead(const QFile& file, std::error_code error) {
    throw DataError(
        QStringLiteral("Die Datei %1 kann nicht gelesen werden. %2")
            .arg(quotedPath(file.fileName()), fileErrorReason(error, file.errorString())));
}

QByteArray readFileBytes(const QString& path) {
    QFile file;
    openForReading(file, path);
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        failedToRead(file);
    return bytes;
}

namespace {

// "16 MiB", "512 KiB" or "100 Bytes": a size limit as the messages show it.
QString sizeText(qint64 bytes) {
    if (bytes >= (1 << 20) && bytes % (1 << 20) == 0)
        return QStringLiteral("%1 MiB").arg(bytes >> 20);
    if (bytes >= (1 << 10) && bytes % (1 << 10) == 0)
        return QStringLiteral("%1 KiB").arg(bytes >> 10);
    return QStringLiteral("%1 Bytes").arg(bytes);
}

[[noreturn]] void cannotRead(const QString& path, const QString& reason) {
    throw DataError(
        QStringLiteral("Die Datei %1 kann nicht gelesen werden. %2").arg(quotedPath(path), reason));
}

[[noreturn]] void notARegularFile(const QString& path) {
    cannotRead(path, QStringLiteral("Sie ist keine gewöhnliche Datei (etwa eine Pipe oder ein "
                                    "Gerät) und wird darum nicht geöffnet."));
}

[[noreturn]] void tooLarge(const QString& path, qint64 limit) {
    cannotRead(path, QStringLiteral("Sie ist größer als %1.").arg(sizeText(limit)));
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Opens path for reading when it is a regular file of at most limit bytes, without blocking;
// false when nothing is there.
bool openRegularFile(QFile& file, const QString& path, qint64 limit) {
    const system::OpenedFile opened =
        system::openRegularFile(fsPath(path), std::uintmax_t(std::max<qint64>(limit, 0)));
    switch (opened.check) {
    case system::OpenCheck::Absent:
        return false;
    case system::OpenCheck::Folder:
        cannotRead(path, fileErrorReason(std::make_error_code(std::errc::is_a_directory)));
    case system::OpenCheck::NotRegular:
        notARegularFile(path);
    case system::OpenCheck::TooLarge:
        tooLarge(path, limit);
    case system::OpenCheck::Failed:
        cannotRead(path, fileErrorReason(opened.error));
    case system::OpenCheck::Opened:
        break;
    }
    // From here the file owns the descriptor and closes it (opening a valid one never fails).
    if (!file.open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        cannotRead(path, file.errorString());
    return true;
}

} // namespace

std::optional<QByteArray> readRegularFileIfPresent(const QString& path, qint64 limit) {
    const QString resolved = resolveFileName(path);
    QFile file;
    if (!openRegularFile(file, resolved, limit))
        return std::nullopt;
    // The size may change while the file is read: the limit holds for what is read.
    QByteArray bytes(qsizetype(std::min(file.size(), limit) + 1), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size())
            bytes.resize(qsizetype(std::min(qint64(bytes.size()) * 2, limit + 1)));
        errno = 0;
        const qint64 got = file.read(bytes.data() + total, bytes.size() - total);
        if (got < 0)
            failedToRead(file);
        if (got == 0)
            break;
        total += got;
        if (total > limit)
            tooLarge(resolved, limit);
    }
    bytes.truncate(total);
    return bytes;
}

QByteArray readRegularFile(const QString& path, qint64 limit) {
    std::optional<QByteArray> bytes = readRegularFileIfPresent(path, limit);
    if (!bytes)
        throw DataError(QStringLiteral("Die Datei %1 fehlt.").arg(quotedPath(path)));
    return *std::move(bytes);
}

namespace {

// The message names the file the user knows: the target, not the new file beside it.
[[noreturn]] void cannotSave(const QString& path, const QString& reason) {
    const QString target =
        path.endsWith(kNewFileSuffix) ? path.chopped(kNewFileSuffix.size()) : path;
    throw DataError(QStringLiteral("Die Datei %1 kann nicht gespeichert werden. %2")
                        .arg(quotedPath(target), reason));
}

// Makes the system write the file's bytes to the disk before it is renamed over its target:
// otherwise a power failure after the rename could leave the target empty.
bool syncToDisk(QFile& file) {
    return system::syncToDisk(file.handle());
}

class DiskWriter final : public FileWriter {
public:
    void writeNew(const QString& path, const QByteArray& bytes) override {
        // Whatever a stopped run left at the path goes first and the file is created anew, never
        // opened where it stands: a link left there would be written through, into its target.
        if (const EntryKind left = entryKindOf(path);
            left == EntryKind::Link || left == EntryKind::Other)
            system::removeEntry(fsPath(path));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const std::error_code error = lastSystemError();
            cannotSave(path, fileErrorReason(error, file.errorString()));
        }
        if (file.write(bytes) != bytes.size() || !file.flush() || !syncToDisk(file)) {
            const std::error_code error = lastSystemError();
            const QString reason = fileErrorReason(error, file.errorString());
            file.close();
            file.remove();
            cannotSave(path, reason);
        }
        file.close();
    }
    void replace(const QString& from, const QString& to) override {
        if (const std::error_code ec = system::renameEntry(fsPath(from), fsPath(to)))
            cannotSave(to, fileErrorReason(ec));
    }
    bool remove(const QString& path) override { return !system::removeEntry(fsPath(path)); }
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
        // One target twice would share its new file: the second write would replace the first.
        for (const Target& other : targets)
            if (QFileInfo(other.path) == QFileInfo(t.path))
                throw DataError(QStringLiteral("Die Datei %1 soll zweimal gespeichert werden.")
                                    .arg(quotedPath(t.path)));
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

    // Then the targets, each replaced in one step; any failure puts back the ones replaced.
    size_t replaced = 0;
    try {
        for (; replaced < targets.size(); ++replaced)
            writer.replace(targets[replaced].newFile, targets[replaced].path);
    } catch (...) {
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
                    notRestored << quotedPath(t.path);
                }
            } catch (...) {
                writer.remove(t.newFile);
                notRestored << quotedPath(t.path);
            }
        }
        if (notRestored.isEmpty())
            throw;
        QString reason;
        try {
            throw;
        } catch (const DataError& e) {
            reason = e.message();
        } catch (const std::exception& e) {
            reason = QString::fromLocal8Bit(e.what());
        }
        throw DataError(reason +
                        QStringLiteral("\rDiese Dateien konnten nicht wiederhergestellt werden: ") +
                        notRestored.join(QStringLiteral(", ")));
    }
}

} // namespace velmora::data
