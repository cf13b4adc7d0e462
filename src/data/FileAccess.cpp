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

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora::data {

namespace {

// Windows reports its own codes for what the errno values below name.
enum WindowsError : int {
    kFileNotFound = 2,
    kPathNotFound = 3,
    kAccessDenied = 5,
    kNotEnoughMemory = 8,
    kOutOfMemory = 14,
    kWriteProtect = 19,
    kSharingViolation = 32,
    kLockViolation = 33,
    kHandleDiskFull = 39,
    kDiskFull = 112,
    kFileNameTooLong = 206,
};

enum class FileFault {
    Missing,
    NoPermission,
    ReadOnly,
    DiskFull,
    InUse,
    Folder,
    PathTooLong,
    NoMemory,
    Other
};

FileFault faultOf(const std::error_code& error) {
    if (!error)
        return FileFault::Other;
#ifdef Q_OS_WIN
    if (error.category() == std::system_category()) {
        switch (error.value()) {
        case kFileNotFound:
        case kPathNotFound:
            return FileFault::Missing;
        case kAccessDenied:
            return FileFault::NoPermission;
        case kWriteProtect:
            return FileFault::ReadOnly;
        case kSharingViolation:
        case kLockViolation:
            return FileFault::InUse;
        case kHandleDiskFull:
        case kDiskFull:
            return FileFault::DiskFull;
        case kFileNameTooLong:
            return FileFault::PathTooLong;
        case kNotEnoughMemory:
        case kOutOfMemory:
            return FileFault::NoMemory;
        default:
            break;
        }
    }
#endif
    const std::error_condition c = error.default_error_condition();
    if (c == std::errc::no_such_file_or_directory || c == std::errc::not_a_directory)
        return FileFault::Missing;
    if (c == std::errc::permission_denied || c == std::errc::operation_not_permitted)
        return FileFault::NoPermission;
    if (c == std::errc::read_only_file_system)
        return FileFault::ReadOnly;
    if (c == std::errc::no_space_on_device || c == std::errc::file_too_large)
        return FileFault::DiskFull;
#ifdef EDQUOT
    if (c.category() == std::generic_category() && c.value() == EDQUOT)
        return FileFault::DiskFull;
#endif
    if (c == std::errc::device_or_resource_busy || c == std::errc::text_file_busy)
        return FileFault::InUse;
    if (c == std::errc::is_a_directory)
        return FileFault::Folder;
    if (c == std::errc::filename_too_long)
        return FileFault::PathTooLong;
    if (c == std::errc::not_enough_memory)
        return FileFault::NoMemory;
    return FileFault::Other;
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
    case FileFault::Other:
        break;
    }
    if (!systemText.isEmpty())
        return systemText;
    return error ? QString::fromLocal8Bit(error.message().c_str())
                 : QStringLiteral("Unbekannter Fehler.");
}

QString fileErrorReason(int errorNumber) {
    return fileErrorReason(std::error_code(errorNumber, std::generic_category()));
}

std::error_code lastSystemError() {
#ifdef Q_OS_WIN
    return {static_cast<int>(::GetLastError()), std::system_category()};
#else
    return {errno, std::generic_category()};
#endif
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

bool isMissing(const std::error_code& error) {
    const std::error_condition c = error.default_error_condition();
    return c == std::errc::no_such_file_or_directory || c == std::errc::not_a_directory;
}

// Opens path for reading when it is a regular file, without blocking; nullopt when nothing is
// there. The type is checked before the file is opened (opening a pipe would wait for its
// writer) and again on the opened handle (the entry may have been exchanged in between).
bool openRegularFile(QFile& file, const QString& path, qint64 limit) {
#ifdef Q_OS_WIN
    // A pipe or a device has no path in a folder on Windows; the handle's type tells them all.
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::path(path.toStdU16String()), error);
    if (status.type() == std::filesystem::file_type::not_found || (error && isMissing(error)))
        return false;
    if (error)
        cannotRead(path, fileErrorReason(error));
    if (status.type() == std::filesystem::file_type::directory)
        cannotRead(path, fileErrorReason(std::make_error_code(std::errc::is_a_directory)));
    if (status.type() != std::filesystem::file_type::regular)
        notARegularFile(path);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const std::error_code openError = lastSystemError();
        if (isMissing(openError))
            return false;
        cannotRead(path, fileErrorReason(openError, file.errorString()));
    }
    if (::GetFileType(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()))) != FILE_TYPE_DISK)
        notARegularFile(path);
#else
    const std::string native = std::filesystem::path(path.toStdU16String()).native();
    const auto check = [&](const struct stat& info) {
        if (S_ISDIR(info.st_mode))
            cannotRead(path, fileErrorReason(EISDIR));
        if (!S_ISREG(info.st_mode))
            notARegularFile(path);
        if (info.st_size > limit)
            tooLarge(path, limit);
    };
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) {
        const std::error_code error = lastSystemError();
        if (isMissing(error))
            return false;
        cannotRead(path, fileErrorReason(error));
    }
    check(info);
    const int handle = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle < 0) {
        const std::error_code error = lastSystemError();
        if (isMissing(error))
            return false;
        cannotRead(path, fileErrorReason(error));
    }
    // From here the file owns the handle and closes it.
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        cannotRead(path, file.errorString());
    }
    if (::fstat(handle, &info) != 0)
        cannotRead(path, fileErrorReason(lastSystemError()));
    check(info);
#endif
    if (file.size() > limit)
        tooLarge(path, limit);
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

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Makes the system write the file's bytes to the disk before it is renamed over its target:
// otherwise a power failure after the rename could leave the target empty.
bool syncToDisk(QFile& file) {
#ifdef Q_OS_WIN
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()))) != 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

class DiskWriter final : public FileWriter {
public:
    void writeNew(const QString& path, const QByteArray& bytes) override {
        // Whatever a stopped run left at the path goes first and the file is created anew, never
        // opened where it stands: a link left there would be written through, into its target.
        if (const EntryKind left = entryKindOf(path);
            left == EntryKind::Link || left == EntryKind::Other) {
            std::error_code ignored;
            std::filesystem::remove(fsPath(path), ignored);
        }
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
        std::error_code ec;
        std::filesystem::rename(fsPath(from), fsPath(to), ec);
        if (ec)
            cannotSave(to, fileErrorReason(ec));
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
