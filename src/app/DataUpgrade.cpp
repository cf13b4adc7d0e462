#include "app/DataUpgrade.h"

#include "app/Settings.h"
#include "data/BuildingEdits.h"
#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/EditorFiles.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"
#include "data/FileAccess.h"
#include "data/FileTree.h"
#include "data/XmlDocument.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace velmora::app {

namespace {

using data::DataError;

// The most of a file of the data directory that is compared with the archive's.
constexpr qint64 kDataFileLimit = qint64(256) << 20;

// The names beside a data directory that an upgrade uses.
struct UpgradePaths {
    QString parent; // with a trailing "/"
    QString name;   // the data directory's folder name ("XMLP")
    QString data, staging, staged, marker;

    explicit UpgradePaths(const QString& dataDir) {
        QString dir = QDir::cleanPath(dataDir);
        const QFileInfo info(dir);
        name = info.fileName();
        parent = info.path() + QLatin1Char('/');
        data = parent + name;
        staging = parent + QLatin1Char('.') + name.toLower() + QStringLiteral("-upgrade");
        staged = staging + QLatin1Char('/') + name;
        marker = staging + QStringLiteral("/fertig");
    }
};

void removeFolder(const QString& path, data::FileWriter& writer) {
    QString fault;
    if (!data::removeTree(path, writer, &fault))
        throw DataError(QStringLiteral("Der Ordner %1 kann nicht gelöscht werden. %2")
                            .arg(data::quotedPath(QDir::toNativeSeparators(path)), fault));
}

void renameFolder(const QString& from, const QString& to, data::FileWriter& writer) {
    try {
        writer.replace(from, to);
    } catch (const DataError& e) {
        throw DataError(QStringLiteral("Der Ordner %1 kann nicht in %2 umbenannt werden. %3")
                            .arg(data::quotedPath(QDir::toNativeSeparators(from)),
                                 data::quotedPath(QDir::toNativeSeparators(to)), e.message()));
    }
}

// The version file of a data directory; nullopt when it has none or it can not be read (a
// directory of a program version before the version file).
std::optional<data::DataVersion> directoryVersion(const QString& dataDir) {
    const QString path = QDir(dataDir).filePath(data::kDataVersionFile);
    try {
        const std::optional<QByteArray> bytes =
            data::readRegularFileIfPresent(path, kDataFileLimit);
        if (!bytes)
            return std::nullopt;
        return data::ReadDataVersion(*bytes, path);
    } catch (const DataError&) {
        return std::nullopt;
    }
}

// "XMLP-1.0.0.0-2026-12-11", with "-2", "-3", … when a backup of that day is there already.
// The export flags follow the mods directory, not the game's data: a building whose mod is active
// stays marked so in the new data (the start's flag repair then checks them as always).
void carryExportFlags(const QString& oldDir, const QString& newDir, data::FileWriter& writer) {
    const data::XmlDocument old = data::loadDataFile(oldDir, data::kBuildingIndexFile);
    QSet<QString> exported;
    for (const pugi::xml_node& element : data::selectNodes(old.root(), "Building")) {
        const data::BuildingEntry b = data::BuildingEntry::fromElement(element);
        if (b.isExported == QLatin1String("true"))
            exported.insert(b.guid);
    }
    if (exported.isEmpty())
        return;
    data::XmlDocument index = data::loadDataFile(newDir, data::kBuildingIndexFile);
    for (const pugi::xml_node& element : data::selectNodes(index.root(), "Building"))
        if (exported.contains(data::BuildingEntry::fromElement(element).guid))
            data::setAttributeAt(element, data::kBuildingIsExported, "true");
    index.save(writer);
}

QString backupName(const UpgradePaths& paths, const QDate& today) {
    const std::optional<data::DataVersion> version = directoryVersion(paths.data);
    QString program =
        version && !version->program.isEmpty() ? version->program : QStringLiteral("alt");
    program.replace(QRegularExpression(QStringLiteral("[^0-9A-Za-z._]")), QStringLiteral("_"));
    const QString base =
        paths.name + QLatin1Char('-') + program + QLatin1Char('-') + today.toString(Qt::ISODate);
    QString name = base;
    for (int n = 2; data::entryKindOf(paths.parent + name) != data::EntryKind::Absent; ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

} // namespace

void FinishDataUpgrade(const QString& dataDir, data::FileWriter& writer) {
    const UpgradePaths paths(dataDir);
    if (data::entryKindOf(paths.staging) == data::EntryKind::Absent)
        return;
    const std::optional<QByteArray> marker = data::readRegularFileIfPresent(paths.marker, 4096);
    if (marker && !marker->isEmpty()) {
        // The new directory is complete: finish the swap.
        const QString backup = paths.parent + QString::fromUtf8(*marker);
        if (data::entryKindOf(paths.staged) != data::EntryKind::Absent) {
            if (data::entryKindOf(paths.data) != data::EntryKind::Absent)
                renameFolder(paths.data, backup, writer);
            renameFolder(paths.staged, paths.data, writer);
        }
    }
    // Without the marker the step is undone: the old directory was never touched.
    removeFolder(paths.staging, writer);
}

bool DataUpgradeNeeded(const QByteArray& archive, const QString& dataDir) {
    const QHash<QString, QByteArray> entries =
        ReadArchiveEntries(archive, {data::kDataVersionFile});
    const std::optional<QByteArray> here = data::readRegularFileIfPresent(
        QDir(dataDir).filePath(data::kDataVersionFile), kDataFileLimit);
    return entries.value(data::kDataVersionFile) != here.value_or(QByteArray());
}

DataUpgradeResult UpgradeDataDirectory(const QByteArray& archive, const QString& dataDir,
                                       UserDialogs& dialogs, const QDate& today,
                                       data::FileWriter& writer) {
    const UpgradePaths paths(dataDir);
    DataUpgradeResult result;
    if (data::entryKindOf(paths.staging) != data::EntryKind::Absent)
        removeFolder(paths.staging, writer);
    try {
        ExtractArchiveInto(archive, paths.staged, writer);

        // The old directory's edits, as "Änderungen exportieren" writes them.
        data::EditsFile edits;
        {
            data::EditorFiles old(paths.data + QLatin1Char('/'));
            const std::optional<data::DataVersion> version = directoryVersion(paths.data);
            edits = data::EditsFileOf(data::ListEdits(old), version ? version->program : QString(),
                                      QDateTime::currentDateTime().toString(Qt::ISODate));
        }
        if (!edits.buildings.empty()) {
            std::vector<data::ImportRow> rows;
            std::optional<std::vector<data::ImportChoice>> choices;
            {
                data::EditorFiles fresh(paths.staged + QLatin1Char('/'));
                rows = data::PreviewImport(fresh, edits);
                for (const data::ImportRow& row : rows)
                    result.reviewed = result.reviewed ||
                                      row.status == data::ImportStatus::Conflict ||
                                      row.status == data::ImportStatus::NotApplicable;
                if (result.reviewed) {
                    choices = dialogs.reviewUpgrade(edits, rows, fresh.catalogue());
                } else {
                    choices.emplace();
                    for (const data::ImportRow& row : rows)
                        choices->push_back(data::DefaultChoice(row));
                }
            }
            if (!choices) {
                removeFolder(paths.staging, writer);
                return result;
            }
            const data::ImportOutcome outcome =
                data::ApplyImport(paths.staged + QLatin1Char('/'), rows, *choices, writer);
            result.fields = outcome.fields;
            result.buildings = outcome.buildings;
        }
        carryExportFlags(paths.data + QLatin1Char('/'), paths.staged + QLatin1Char('/'), writer);
        result.backup = paths.parent + backupName(paths, today);
        // From here on the new directory is complete; the next start finishes a stopped swap.
        data::writeFileAtomically(paths.marker, QFileInfo(result.backup).fileName().toUtf8(),
                                  writer);
    } catch (const DataError& e) {
        try {
            removeFolder(paths.staging, writer);
        } catch (const DataError&) {
            // The next start deletes it: without the marker the step is undone.
        }
        throw DataError(QStringLiteral("Die Daten der neuen Programmversion können nicht "
                                       "übernommen werden; die bisherigen Daten bleiben. %1")
                            .arg(e.message()));
    }
    // The swap. A rename that fails puts the old directory back where it can; what is left with
    // the marker is finished by the next start.
    // The marker goes first: a staging folder deleted only in part must never pass for complete.
    // When the marker can not be removed, the folder stays whole for the next start to finish.
    const auto dropStaging = [&] {
        if (!writer.remove(paths.marker))
            return;
        try {
            removeFolder(paths.staging, writer);
        } catch (const DataError&) {
        }
    };
    try {
        renameFolder(paths.data, result.backup, writer);
    } catch (const DataError&) {
        dropStaging();
        throw;
    }
    try {
        renameFolder(paths.staged, paths.data, writer);
    } catch (const DataError&) {
        // When this fails too, the marker stays and the next start finishes the swap.
        renameFolder(result.backup, paths.data, writer);
        dropStaging();
        throw;
    }
    result.upgraded = true;
    try {
        removeFolder(paths.staging, writer);
    } catch (const DataError&) {
        // Only the marker is left; the next start deletes it.
    }
    return result;
}

QString DataUpgradeText(const DataUpgradeResult& result) {
    QString text = QStringLiteral("Die Daten der neuen Programmversion sind eingerichtet. ");
    if (result.buildings.isEmpty())
        text += QStringLiteral("Es waren keine Änderungen zu übernehmen.");
    else
        text += QStringLiteral("Ihre Änderungen wurden übernommen: %1 Felder in %2 Gebäuden (%3).")
                    .arg(result.fields)
                    .arg(result.buildings.size())
                    .arg(result.buildings.join(QStringLiteral(", ")));
    text += QStringLiteral("\rDie bisherigen Daten liegen als Sicherung in %1. Aktivieren Sie "
                           "geänderte Gebäude erneut, damit ihre Mods die neuen Spielwerte "
                           "enthalten.")
                .arg(data::quotedPath(QDir::toNativeSeparators(result.backup)));
    return text;
}

QStringList RefreshProgramFiles(const QByteArray& archive, const QString& dataDir,
                                data::FileWriter& writer) {
    const QHash<QString, QByteArray> entries =
        ReadArchiveEntries(archive, data::kProgramOwnedFiles);
    QStringList written;
    for (const QString& name : data::kProgramOwnedFiles) {
        const auto entry = entries.constFind(name);
        if (entry == entries.cend())
            continue;
        const QString path = QDir(dataDir).filePath(name);
        std::optional<QByteArray> here;
        try {
            here = data::readRegularFileIfPresent(path, kDataFileLimit);
        } catch (const DataError&) {
            // Not a readable file: written anew below.
        }
        if (here == *entry)
            continue;
        data::writeFileAtomically(path, *entry, writer);
        written << name;
    }
    return written;
}

std::optional<QString> GameUpdateNotice(Platform& platform, const Directories& dirs) {
    const std::optional<data::DataVersion> version = directoryVersion(dirs.data);
    if (!version || !version->executable.known())
        return std::nullopt;
    const QString executable = QDir(dirs.game).filePath(kGameExecutable);
    data::Fingerprint installed;
    try {
        // The size tells most updates apart without reading the whole file.
        const qint64 size = QFileInfo(executable).size();
        installed = size == version->executable.size ? data::FingerprintOf(executable)
                                                     : data::Fingerprint{size, QString()};
        if (installed == version->executable)
            return std::nullopt;
        if (installed.sha256.isEmpty())
            installed = data::FingerprintOf(executable);
    } catch (const DataError&) {
        return std::nullopt; // the start has checked the game; a read failing now says nothing
    }
    const std::wstring key = kSettingsKey.toStdWString();
    try {
        if (QString::fromStdWString(platform.readRegistryString(RegistryHive::CurrentUser, key,
                                                                kGameNoticeValue.toStdWString())) ==
            installed.sha256)
            return std::nullopt;
    } catch (const PlatformError&) {
    }

    QStringList active;
    try {
        const data::XmlDocument index = data::loadDataFile(dirs.data, data::kBuildingIndexFile);
        for (const pugi::xml_node& e : data::selectNodes(index.root(), "Building")) {
            const data::BuildingEntry b = data::BuildingEntry::fromElement(e);
            if (b.isExported == QLatin1String("true"))
                active << QStringLiteral("%1 (%2)").arg(b.local, b.guid);
        }
    } catch (const DataError&) {
        // The start names a damaged index itself.
    }
    QString text =
        QStringLiteral("Das Spiel wurde seit der Erstellung der Daten dieses Programms "
                       "aktualisiert: Seine Programmdatei %1 ist nicht mehr die der Spielversion "
                       "%2, aus der die Daten stammen. Das Spiel kann seine Werte geändert haben.")
            .arg(data::quotedPath(QDir::toNativeSeparators(executable)),
                 version->gameVersion.isEmpty() ? QStringLiteral("(unbekannt)")
                                                : version->gameVersion);
    if (active.isEmpty())
        text += QStringLiteral("\rKein Mod dieses Programms ist aktiv.");
    else
        text += QStringLiteral("\rDiese aktiven Mods können nun alte Werte enthalten und die neuen "
                               "des Spiels überschreiben: %1.")
                    .arg(active.join(QStringLiteral(", ")));
    text += QStringLiteral("\rInstallieren Sie die Version dieses Programms für die neue "
                           "Spielversion, sobald es sie gibt. Bis dahin können Sie diese Mods mit "
                           "„Deaktivieren“ entfernen oder behalten.");
    try {
        platform.writeRegistryString(RegistryHive::CurrentUser, key,
                                     kGameNoticeValue.toStdWString(),
                                     installed.sha256.toStdWString());
    } catch (const PlatformError&) {
        // Not remembered: the notice comes again at the next start.
    }
    return text;
}

} // namespace velmora::app
