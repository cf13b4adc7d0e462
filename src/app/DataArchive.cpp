// The data archive: written beside the executable, extracted into the program directory and
// deleted again. Only entries below "XMLP/" are accepted, and none may leave the program
// directory. The entries are first extracted into a staging folder, which is renamed into
// place at the end, so a failed extraction never leaves a half-filled data directory behind
// (an existing data directory is never unpacked again).
#include "app/DataUpgrade.h"
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

// What the ZIP library reports, in German.
QString zipErrorText(const zip_error_t* error) {
    const int code = zip_error_code_zip(error);
    QString text;
    switch (code) {
    case ZIP_ER_NOZIP:
        text = QStringLiteral("Die Datei ist kein ZIP-Archiv.");
        break;
    case ZIP_ER_INCONS:
        text = QStringLiteral("Das ZIP-Archiv ist beschädigt: Seine Angaben widersprechen sich.");
        break;
    case ZIP_ER_EOF:
        text = QStringLiteral("Das ZIP-Archiv endet vorzeitig.");
        break;
    case ZIP_ER_CRC:
        text = QStringLiteral("Die Prüfsumme eines Eintrags stimmt nicht.");
        break;
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        text = QStringLiteral("Die gepackten Daten eines Eintrags sind beschädigt.");
        break;
    case ZIP_ER_COMPNOTSUPP:
        text = QStringLiteral("Die Packmethode eines Eintrags wird nicht unterstützt.");
        break;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        text = QStringLiteral("Ein Eintrag ist verschlüsselt.");
        break;
    case ZIP_ER_MULTIDISK:
        text = QStringLiteral("Mehrteilige ZIP-Archive werden nicht unterstützt.");
        break;
    case ZIP_ER_NOENT:
        text = QStringLiteral("Die Datei fehlt.");
        break;
    case ZIP_ER_OPEN:
        text = QStringLiteral("Die Datei kann nicht geöffnet werden.");
        break;
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        text = QStringLiteral("Die Datei kann nicht gelesen werden.");
        break;
    case ZIP_ER_MEMORY:
        text = QStringLiteral("Nicht genügend Arbeitsspeicher.");
        break;
    default:
        text = QStringLiteral("Fehler %1 der ZIP-Bibliothek.").arg(code);
        break;
    }
    if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) != 0)
        text += QLatin1Char(' ') + data::fileErrorReason(zip_error_code_system(error));
    return text;
}

QString zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = zipErrorText(&error);
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

// The bytes of one entry. The size an entry declares is not trusted for an allocation: an
// archive of a few bytes may declare gigabytes.
QByteArray readEntry(zip_t* archive, zip_uint64_t index, const QString& archivePath,
                     const QString& name) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw archiveError(archivePath, zipErrorText(zip_get_error(archive)));
    std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive, index, 0));
    if (!entry)
        throw archiveError(archivePath, zipErrorText(zip_get_error(archive)));
    const auto unreadable = [&] {
        return archiveError(
            archivePath, QStringLiteral("Der Eintrag \u201E%1\u201C kann nicht gelesen werden. %2")
                             .arg(name, zipErrorText(zip_file_get_error(entry.get()))));
    };
    const auto wrongLength = [&] {
        return archiveError(archivePath,
                            QStringLiteral("Der Eintrag \u201E%1\u201C ist nicht so lang wie "
                                           "angegeben.")
                                .arg(name));
    };
    // Read in pieces to its end: the declared size is never trusted for one allocation, and the
    // checksum is compared only when the entry is read to its end.
    QByteArray bytes;
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const zip_int64_t read =
            zip_fread(entry.get(), piece.data(), static_cast<zip_uint64_t>(piece.size()));
        if (read < 0)
            throw unreadable();
        if (read == 0)
            break;
        if (static_cast<zip_uint64_t>(bytes.size()) + static_cast<zip_uint64_t>(read) > stat.size)
            throw wrongLength();
        bytes.append(piece.constData(), static_cast<qsizetype>(read));
    }
    if (static_cast<zip_uint64_t>(bytes.size()) != stat.size)
        throw wrongLength();
    return bytes;
}

// The names of every entry, each checked; an unsafe one refuses the whole archive.
QStringList checkedNames(zip_t* archive, const QString& archivePath) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QStringList names;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        const QString name = raw ? QString::fromUtf8(raw) : QString();
        if (!isSafeEntry(name))
            throw archiveError(archivePath,
                               QStringLiteral("Unzulässiger Eintrag \u201E%1\u201C.").arg(name));
        names << name;
    }
    return names;
}

void extractArchive(const QString& archivePath, const QString& programDir) {
    int code = 0;
    // The ZIP library takes file names as UTF-8 on every platform (on Windows it turns them into
    // wide names itself), never in the ANSI code page.
    std::unique_ptr<zip_t, ArchiveCloser> archive(
        zip_open(archivePath.toUtf8().constData(), ZIP_RDONLY, &code));
    if (!archive)
        throw archiveError(archivePath, zipErrorText(code));

    const QStringList names = checkedNames(archive.get(), archivePath);
    const zip_int64_t count = names.size();

    const QString target = programDir + kDataFolder;
    if (QFileInfo::exists(target))
        throw archiveError(archivePath,
                           QStringLiteral("Das Datenverzeichnis \u201E%1\u201C besteht bereits.")
                               .arg(QDir::toNativeSeparators(target)));
    const QString staging = programDir + QStringLiteral(".xmlp-unpack");
    QDir(staging).removeRecursively();
    const auto cleanUp = qScopeGuard([&] { QDir(staging).removeRecursively(); });
    if (!QDir().mkpath(staging + QLatin1Char('/') + kDataFolder))
        throw archiveError(archivePath,
                           QStringLiteral("Der Ordner \u201E%1\u201C kann nicht angelegt werden.")
                               .arg(QDir::toNativeSeparators(staging)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString& name = names[i];
        const QString path = staging + QLatin1Char('/') + name;
        if (name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(path);
            continue;
        }
        const QByteArray bytes =
            readEntry(archive.get(), static_cast<zip_uint64_t>(i), archivePath, name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        try {
            data::diskWriter().writeNew(path, bytes);
        } catch (const DataError& e) {
            throw archiveError(archivePath, e.message());
        }
        letEventsRun();
    }
    if (!QDir().rename(staging + QLatin1Char('/') + kDataFolder, target))
        throw archiveError(
            archivePath,
            QStringLiteral("Das Datenverzeichnis \u201E%1\u201C kann nicht angelegt werden.")
                .arg(QDir::toNativeSeparators(target)));
}

// Archive bytes opened in memory, with their entries' names checked.
struct OpenedArchive {
    std::unique_ptr<zip_t, ArchiveCloser> archive;
    QStringList names;
};

OpenedArchive openArchiveBytes(const QByteArray& bytes, const QString& archiveName) {
    zip_error_t error;
    zip_error_init(&error);
    const auto fini = qScopeGuard([&] { zip_error_fini(&error); });
    if (bytes.isEmpty())
        throw DataError(QStringLiteral("Das Programm enthält kein Datenarchiv."));
    zip_source_t* source = zip_source_buffer_create(
        bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (!source)
        throw archiveError(archiveName, zipErrorText(&error));
    OpenedArchive opened;
    opened.archive.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!opened.archive) {
        zip_source_free(source);
        throw archiveError(archiveName, zipErrorText(&error));
    }
    opened.names = checkedNames(opened.archive.get(), archiveName);
    return opened;
}

} // namespace

QHash<QString, QByteArray> ReadArchiveEntries(const QByteArray& archive, const QStringList& names) {
    const OpenedArchive opened = openArchiveBytes(archive, kArchiveFileName);
    const QString prefix = kDataFolder + QLatin1Char('/');
    QHash<QString, QByteArray> entries;
    for (qsizetype i = 0; i < opened.names.size(); ++i) {
        const QString name = opened.names[i].mid(prefix.size());
        if (names.contains(name))
            entries.insert(name, readEntry(opened.archive.get(), static_cast<zip_uint64_t>(i),
                                           kArchiveFileName, opened.names[i]));
    }
    return entries;
}

void ExtractArchiveInto(const QByteArray& archive, const QString& folder,
                        data::FileWriter& writer) {
    const OpenedArchive opened = openArchiveBytes(archive, kArchiveFileName);
    const QString prefix = kDataFolder + QLatin1Char('/');
    if (!QDir().mkpath(folder))
        throw archiveError(kArchiveFileName,
                           QStringLiteral("Der Ordner \u201E%1\u201C kann nicht angelegt werden.")
                               .arg(QDir::toNativeSeparators(folder)));
    for (qsizetype i = 0; i < opened.names.size(); ++i) {
        const QString path = folder + QLatin1Char('/') + opened.names[i].mid(prefix.size());
        if (opened.names[i].endsWith(QLatin1Char('/'))) {
            QDir().mkpath(path);
            continue;
        }
        const QByteArray bytes = readEntry(opened.archive.get(), static_cast<zip_uint64_t>(i),
                                           kArchiveFileName, opened.names[i]);
        QDir().mkpath(QFileInfo(path).absolutePath());
        try {
            writer.writeNew(path, bytes);
        } catch (const DataError& e) {
            throw archiveError(kArchiveFileName, e.message());
        }
        letEventsRun();
    }
}

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
