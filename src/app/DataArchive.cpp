// The data archive: written beside the executable, extracted into the program directory and
// deleted again. Only entries below "XMLP/" are accepted, and none may leave the program
// directory. The entries are first extracted into a staging folder, which is renamed into
// place at the end, so a failed extraction never leaves a half-filled data directory behind
// (an existing data directory is never unpacked again).
#include "app/Settings.h"
#include "app/Startup.h"

#include "data/DataError.h"
#include "data/FileAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <memory>
#include <zip.h>

namespace velmora::app {

namespace {

using data::DataError;

void letEventsRun() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

QString zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

DataError archiveError(const QString& archivePath, const QString& reason) {
    return DataError(QStringLiteral("Das Datenarchiv \u201E%1\u201C kann nicht entpackt werden: %2")
                         .arg(QDir::toNativeSeparators(archivePath), reason));
}

// "XMLP/..." made only of plain names; no empty, "." or ".." component, no drive, no backslash.
bool isSafeEntry(const QString& name) {
    const QString prefix = kDataFolder + QLatin1Char('/');
    if (!name.startsWith(prefix) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1Char(':')))
        return false;
    QStringList parts = name.split(QLatin1Char('/'));
    if (name.endsWith(QLatin1Char('/')))
        parts.removeLast(); // a folder entry
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};

// Copies one entry into the file at path piece by piece. The size an entry declares is not
// trusted for an allocation: an archive of a few bytes may declare gigabytes.
void extractEntry(zip_t* archive, zip_uint64_t index, const QString& archivePath,
                  const QString& name, const QString& path) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw archiveError(archivePath, QString::fromLocal8Bit(zip_strerror(archive)));
    std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive, index, 0));
    if (!entry)
        throw archiveError(archivePath, QString::fromLocal8Bit(zip_strerror(archive)));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw archiveError(archivePath, file.errorString());
    const auto incomplete = [&] {
        return archiveError(
            archivePath, QStringLiteral("der Eintrag \u201E%1\u201C ist unvollständig").arg(name));
    };
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    zip_uint64_t total = 0;
    for (;;) {
        const zip_int64_t read =
            zip_fread(entry.get(), piece.data(), static_cast<zip_uint64_t>(piece.size()));
        if (read < 0)
            throw incomplete();
        if (read == 0)
            break;
        total += static_cast<zip_uint64_t>(read);
        if (total > stat.size)
            throw incomplete(); // longer than declared
        if (file.write(piece.constData(), read) != read)
            throw archiveError(archivePath, file.errorString());
    }
    if (total != stat.size)
        throw incomplete();
}

void extractArchive(const QString& archivePath, const QString& programDir) {
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(
        zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &code));
    if (!archive)
        throw archiveError(archivePath, zipErrorText(code));

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    QStringList names;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw =
            zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        const QString name = raw ? QString::fromUtf8(raw) : QString();
        if (!isSafeEntry(name))
            throw archiveError(archivePath,
                               QStringLiteral("unzulässiger Eintrag \u201E%1\u201C").arg(name));
        names << name;
    }

    const QString target = programDir + kDataFolder;
    if (QFileInfo::exists(target))
        throw archiveError(archivePath,
                           QStringLiteral("das Datenverzeichnis \u201E%1\u201C besteht bereits")
                               .arg(QDir::toNativeSeparators(target)));
    const QString staging = programDir + QStringLiteral(".xmlp-unpack");
    QDir(staging).removeRecursively();
    const auto cleanUp = qScopeGuard([&] { QDir(staging).removeRecursively(); });
    if (!QDir().mkpath(staging + QLatin1Char('/') + kDataFolder))
        throw archiveError(archivePath,
                           QStringLiteral("der Ordner \u201E%1\u201C kann nicht angelegt werden")
                               .arg(QDir::toNativeSeparators(staging)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString& name = names[i];
        const QString path = staging + QLatin1Char('/') + name;
        if (name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(path);
            continue;
        }
        extractEntry(archive.get(), static_cast<zip_uint64_t>(i), archivePath, name, path);
        letEventsRun();
    }
    if (!QDir().rename(staging + QLatin1Char('/') + kDataFolder, target))
        throw archiveError(
            archivePath,
            QStringLiteral("das Datenverzeichnis \u201E%1\u201C kann nicht angelegt werden")
                .arg(QDir::toNativeSeparators(target)));
}

} // namespace

QByteArray EmbeddedDataArchive() {
    QFile resource(QStringLiteral(":/velmora/xmlp.zip"));
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    return resource.readAll();
}

bool UnpackDataArchive(const Directories& dirs, UserDialogs& dialogs) {
    return UnpackArchive(EmbeddedDataArchive(), dirs, dialogs);
}

bool UnpackArchive(const QByteArray& archive, const Directories& dirs, UserDialogs& dialogs) {
    const QString archivePath = dirs.program + kArchiveFileName;
    bool written = false;
    try {
        if (archive.isEmpty())
            throw DataError(QStringLiteral("Das Programm enthält kein Datenarchiv."));
        data::writeFileAtomically(archivePath, archive);
        written = true;
    } catch (const DataError& e) {
        dialogs.showError(kAbortTitle, e.message());
    }
    letEventsRun();
    bool extracted = false;
    if (written) {
        try {
            extractArchive(archivePath, dirs.program);
            extracted = true;
        } catch (const DataError& e) {
            dialogs.showError(kAbortTitle, e.message());
        }
        letEventsRun();
    }
    QFile::remove(archivePath);
    return written && extracted;
}

} // namespace velmora::app
