#include "mod/ModFolder.h"

#include "data/DataError.h"
#include "data/EditorLookups.h"
#include "data/FileTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace velmora::mod {

using data::EntryKind;

namespace {

constexpr int kLongestName = 200;

const QString kActivePrefix = QStringLiteral("[Cindral] ");
const QString kHyphenatedPrefix = QStringLiteral("-[Cindral] ");
const QString kRemovalPrefix = QStringLiteral("-cindral-weg ");
// Earlier versions moved folders aside under this name, which the game loads.
const QString kOldRemovalPrefix = QStringLiteral(".cindral-weg ");

QString pathIn(const QString& modsDir, const QString& name) {
    return QDir(modsDir).filePath(name);
}

// Every path the program removes or renames lies directly in the mods directory under one of
// its own names: a damaged name can never reach a folder elsewhere.
void requireProgramEntry(const QString& modsDir, const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const bool ownName = IsProgramFolderName(name);
    const bool direct = !modsDir.isEmpty() &&
                        QDir::cleanPath(QFileInfo(path).absolutePath()) ==
                            QDir::cleanPath(QDir(modsDir).absolutePath()) &&
                        QDir::cleanPath(info.absoluteFilePath()) ==
                            QDir::cleanPath(QDir(modsDir).absoluteFilePath(name));
    if (!ownName || !direct || name.contains(QLatin1Char('\\')))
        throw data::DataError(
            QStringLiteral("Der Pfad %1 ist kein Mod-Ordner dieses Programms im Mod-Ordner des "
                           "Spiels; er wird nicht angerührt.")
                .arg(data::quotedPath(path)));
}

QString leftAlone(const QString& path, EntryKind kind) {
    return QStringLiteral("%1 ist %2 und kein Ordner dieses Programms; es wurde nicht verändert.")
        .arg(data::quotedPath(path), kind == EntryKind::Link ? QStringLiteral("eine Verknüpfung")
                                                             : QStringLiteral("eine Datei"));
}

} // namespace

QString ModTitle(const QString& guid, const QString& local) {
    return QStringLiteral("(") + guid + QStringLiteral(") ") + local;
}

QString ModFolderNameFault(const QString& name) {
    const QString start = QStringLiteral("Der Gebäudename \u201E%1\u201C kann nicht Teil eines "
                                         "Ordnernamens sein: ")
                              .arg(name);
    if (name.trimmed().isEmpty())
        return QStringLiteral("Das Gebäude hat keinen Namen; ohne ihn lässt sich kein Mod-Ordner "
                              "benennen.");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return start + QStringLiteral("er enthält ein Steuerzeichen.");
        if (QStringLiteral("<>:\"/\\|?*").contains(c))
            return start + QStringLiteral("er enthält das Zeichen \u201E%1\u201C.").arg(c);
    }
    if (name.contains(QStringLiteral("..")))
        return start + QStringLiteral("er enthält \u201E..\u201C.");
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return start + QStringLiteral("er endet mit einem Punkt oder Leerzeichen.");
    // A folder name holds at most 255 characters, the prefixes, GUID and suffixes included.
    if (name.size() > kLongestName)
        return start + QStringLiteral("er ist länger als %1 Zeichen.").arg(kLongestName);
    return {};
}

QString ActiveModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return pathIn(modsDir, kActivePrefix + ModTitle(guid, local));
}

QString HyphenatedModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return pathIn(modsDir, kHyphenatedPrefix + ModTitle(guid, local));
}

QString NewModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return HyphenatedModFolder(modsDir, guid, local) + data::kNewFileSuffix;
}

QString SetAsideModFolder(const QString& modsDir, const QString& guid, const QString& local) {
    return HyphenatedModFolder(modsDir, guid, local) + QStringLiteral(".cindral-alt");
}

QString RemovalName(const QString& path) {
    const QFileInfo info(path);
    return info.dir().filePath(kRemovalPrefix + info.fileName());
}

bool IsProgramFolderName(const QString& name) {
    for (const QString& prefix :
         {kActivePrefix, kHyphenatedPrefix, kRemovalPrefix, kOldRemovalPrefix})
        if (name.startsWith(prefix, Qt::CaseInsensitive))
            return true;
    return false;
}

ModsDirectoryListing::ModsDirectoryListing(const QString& modsDir) : dir_(modsDir) {
    if (modsDir.isEmpty())
        return; // not the current folder
    // Other mods may be thousands: only the names are read, unsorted, and they are not kept.
    QDirIterator it(modsDir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (const QString name = it.fileName(); IsProgramFolderName(name))
            names_ << name;
    }
    names_.sort();
    for (const QString& name : std::as_const(names_))
        byFolded_[name.toCaseFolded()] << name;
}

QString ModsDirectoryListing::resolve(const QString& path) const {
    const QString name = QFileInfo(path).fileName();
    const auto found = byFolded_.constFind(name.toCaseFolded());
    if (found == byFolded_.constEnd() || found->contains(name))
        return path;
    for (const QString& entry : *found) // sorted by name
        if (QString::compare(entry, name, Qt::CaseInsensitive) == 0)
            return pathIn(dir_, entry);
    return path;
}

BuildingModFolders::BuildingModFolders(const QString& modsDir, const QString& guid,
                                       const QString& local)
    : BuildingModFolders(ModsDirectoryListing(modsDir), guid, local) {}

BuildingModFolders::BuildingModFolders(const ModsDirectoryListing& listing, const QString& guid,
                                       const QString& local)
    : listing_(listing), modsDir_(listing.dir()) {
    data::requireGuid(guid);
    if (const QString fault = ModFolderNameFault(local); !fault.isEmpty())
        throw data::DataError(fault);
    if (modsDir_.isEmpty())
        throw data::DataError(QStringLiteral("Der Mod-Ordner des Spiels ist nicht bekannt."));
    active_ = listing_.resolve(ActiveModFolder(modsDir_, guid, local));
    hyphenated_ = listing_.resolve(HyphenatedModFolder(modsDir_, guid, local));
    fresh_ = listing_.resolve(NewModFolder(modsDir_, guid, local));
    setAside_ = listing_.resolve(SetAsideModFolder(modsDir_, guid, local));
}

QStringList BuildingModFolders::leftovers() const {
    QStringList paths{fresh_, setAside_};
    for (const QString& path : {active_, hyphenated_, fresh_, setAside_}) {
        const QFileInfo info(path);
        paths << listing_.resolve(RemovalName(path))
              << listing_.resolve(info.dir().filePath(kOldRemovalPrefix + info.fileName()));
    }
    return paths;
}

bool GameLoadsMod(const QString& path) {
    switch (data::entryKindOf(path)) {
    case EntryKind::Folder:
        return true;
    case EntryKind::Link:
        return QFileInfo(path).isDir();
    default:
        return false;
    }
}

QString DeleteFolder(const QString& path, data::FileWriter& writer) {
    QString fault;
    if (data::removeTree(path, writer, &fault))
        return {};
    QString note = QStringLiteral("Der Ordner %1 konnte nicht vollständig gelöscht werden. Das "
                                  "Spiel lädt ihn nicht; er kann von Hand gelöscht werden.")
                       .arg(data::quotedPath(path));
    if (!fault.isEmpty())
        note += QLatin1Char(' ') + fault;
    return note;
}

void RenameFolder(const QString& from, const QString& to, data::FileWriter& writer) {
    if (data::entryKindOf(from) != EntryKind::Folder)
        throw data::DataError(QStringLiteral("%1 ist kein echter Ordner und wird nicht "
                                             "umbenannt; es wurde nicht verändert.")
                                  .arg(data::quotedPath(from)));
    writer.replace(from, to);
    // Some systems move what a link points to instead of the link (Wine does so with a Unix
    // link): then the old name still holds the link and the new one the target.
    if (data::entryKindOf(to) == EntryKind::Folder && data::entryKindOf(from) == EntryKind::Absent)
        return;
    QString message = QStringLiteral("%1 ist nach dem Umbenennen in %2 nicht mehr derselbe echte "
                                     "Ordner. ")
                          .arg(data::quotedPath(from), data::quotedPath(to));
    try {
        writer.replace(to, from);
        message += QStringLiteral("Das Umbenennen wurde rückgängig gemacht; es wurde nichts "
                                  "geändert.");
    } catch (const data::DataError&) {
        message += QStringLiteral("Das Umbenennen ließ sich nicht rückgängig machen: was unter "
                                  "%1 stand, liegt jetzt in %2. Es wurde nichts gelöscht.")
                       .arg(data::quotedPath(from), data::quotedPath(to));
    }
    throw data::DataError(message);
}

QString RemoveLeftover(const QString& modsDir, const QString& path, data::FileWriter& writer) {
    requireProgramEntry(modsDir, path);
    const EntryKind kind = data::entryKindOf(path);
    switch (kind) {
    case EntryKind::Absent:
        return {};
    case EntryKind::Folder:
        return DeleteFolder(path, writer);
    default:
        return leftAlone(path, kind);
    }
}

MovedAside MoveAside(const QString& modsDir, const QString& path, data::FileWriter& writer) {
    requireProgramEntry(modsDir, path);
    const EntryKind kind = data::entryKindOf(path);
    if (kind == EntryKind::Absent)
        return {};
    if (kind == EntryKind::Other)
        return {QString(), leftAlone(path, kind), QString()};
    if (kind == EntryKind::Link) {
        // A link is removed where it stands, in one step, and never renamed: some systems would
        // move the folder it points to instead.
        RemoveLink(path, writer);
        return {QString(), QString(), path};
    }
    const QString aside = RemovalName(path);
    if (const QString note = RemoveLeftover(modsDir, aside, writer); !note.isEmpty())
        throw data::DataError(
            QStringLiteral("Der Mod-Ordner %1 kann nicht entfernt werden, weil sein Platz beim "
                           "Löschen belegt ist: %2")
                .arg(data::quotedPath(path), note));
    try {
        RenameFolder(path, aside, writer);
    } catch (const data::DataError& e) {
        throw data::DataError(
            QStringLiteral("Der Mod-Ordner %1 kann nicht entfernt werden; er ist unverändert. %2")
                .arg(data::quotedPath(path), e.message()));
    }
    return {aside, QString(), QString()};
}

void RemoveLink(const QString& path, data::FileWriter& writer) {
    QString reason;
    if (!data::removeEntry(path, writer, &reason) || data::entryKindOf(path) != EntryKind::Absent)
        throw data::DataError(QStringLiteral("Die Verknüpfung %1 kann nicht entfernt werden; sie "
                                             "und ihr Ziel sind unverändert. %2")
                                  .arg(data::quotedPath(path), reason)
                                  .trimmed());
}

QString PutBack(const MovedAside& moved, const QString& path, data::FileWriter& writer) {
    if (!moved.removedLink.isEmpty())
        return QStringLiteral("Die Verknüpfung %1 ist bereits entfernt; beim nächsten Start wird "
                              "das Gebäude als nicht exportiert vermerkt.")
            .arg(data::quotedPath(moved.removedLink));
    if (moved.path.isEmpty())
        return {};
    try {
        RenameFolder(moved.path, path, writer);
        return QStringLiteral("Der Mod ist weiterhin aktiv.");
    } catch (const data::DataError&) {
        return QStringLiteral("Der Mod ist nicht mehr aktiv; er liegt in %1. Beim nächsten Start "
                              "wird das Gebäude als nicht exportiert vermerkt.")
            .arg(data::quotedPath(moved.path));
    }
}

QStringList FinishRemoval(const MovedAside& moved, data::FileWriter& writer) {
    QStringList notes;
    if (!moved.note.isEmpty())
        notes << moved.note;
    if (!moved.path.isEmpty())
        if (const QString note = DeleteFolder(moved.path, writer); !note.isEmpty())
            notes << note;
    return notes;
}

QStringList FinishRemoval(const MovedAside& moved, const BuildingModFolders& f,
                          data::FileWriter& writer) {
    // The folder moved aside is also a leftover under its removal name: what could not be
    // deleted is named once.
    QStringList notes = FinishRemoval(moved, writer);
    notes << RemoveOtherFolders(f, writer);
    notes.removeDuplicates();
    return notes;
}

QStringList RemoveModFolder(const QString& modsDir, const QString& path, data::FileWriter& writer) {
    return FinishRemoval(MoveAside(modsDir, path, writer), writer);
}

QStringList RemoveOtherFolders(const BuildingModFolders& f, data::FileWriter& writer) {
    QStringList notes;
    try {
        notes << RemoveModFolder(f.modsDir(), f.hyphenated(), writer);
    } catch (const data::DataError& e) {
        notes << e.message();
    }
    for (const QString& left : f.leftovers())
        if (const QString note = RemoveLeftover(f.modsDir(), left, writer); !note.isEmpty())
            notes << note;
    notes.removeDuplicates();
    return notes;
}

void RequireRemovable(const QString& path) {
    const EntryKind kind = data::entryKindOf(path);
    if (kind == EntryKind::Absent || kind == EntryKind::Other)
        return;
    const QFileInfo info(path);
    QList<QFileInfo> folders{QFileInfo(info.absolutePath())};
    // A link is removed as itself: only the mods directory needs to be writable for it.
    if (kind == EntryKind::Folder)
        folders << info;
    for (const QFileInfo& folder : folders)
        if (!folder.isWritable())
            throw data::DataError(
                QStringLiteral("Der Ordner %1 kann nicht gelöscht werden: %2 ist schreibgeschützt "
                               "oder gesperrt. Es wurde nichts geändert.")
                    .arg(data::quotedPath(path), data::quotedPath(folder.absoluteFilePath())));
}

void RequireGameInPlace(const QString& gameExecutable) {
    if (!gameExecutable.isEmpty() && !QFileInfo(gameExecutable).isFile())
        throw data::DataError(QStringLiteral("Das Spiel ist nicht mehr installiert, wo es beim "
                                             "Start war: %1 fehlt. Es wurde nichts geschrieben; "
                                             "bitte starten Sie das Programm neu.")
                                  .arg(data::quotedPath(gameExecutable)));
}

} // namespace velmora::mod
