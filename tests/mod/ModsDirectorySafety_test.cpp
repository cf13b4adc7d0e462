// The mods directory belongs to the player: whatever lies under the program's names (a link to
// the player's own files, a file, a folder holding a link), "Aktivieren", "Deaktivieren" and
// "Reset" never touch anything outside the mods directory, never leave a copy the game loads
// besides the active mod, and leave IsExported telling whether the game loads the mod.
#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/FileTree.h"
#include "data/XmlDocument.h"
#include "mod/BuildingReset.h"
#include "mod/BulkActivation.h"
#include "mod/EditsOverview.h"
#include "mod/ExportFlags.h"
#include "mod/ModFolder.h"
#include "mod/ModTestSupport.h"
#include "support/BadInput.h"
#include "support/ScriptedWriter.h"

#include <QDirIterator>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kGuid = QStringLiteral("1010278");
const QString kName = QStringLiteral("Fischerei");

// Every entry below root by relative path, links as their target text, never followed.
std::map<QString, QByteArray> treeOf(const QString& root) {
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink()) {
            tree[relative] = "link to " + info.symLinkTarget().toUtf8();
        } else if (info.isDir()) {
            tree[relative] = "folder";
        } else {
            QFile file(path);
            tree[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
        }
    }
    return tree;
}

void makeLink(const QString& target, const QString& link) {
    ASSERT_TRUE(QFile::link(target, link)) << qPrintable(link);
}

struct Workspace : ShippedData {
    QString outside = dir.file(QStringLiteral("outside")); // the player's own files
    mod::BuildingModFolders folders{mods, kGuid, kName};

    Workspace() {
        writeBytes(outside + QStringLiteral("/Spielstand.txt"), "mein Spielstand");
        writeBytes(outside + QStringLiteral("/Bilder/Bild.png"), "PNG");
    }
    bool flag() const { return data::FindBuilding(data, kGuid)->isExported == "true"; }
    void setFlag(bool exported) {
        data::XmlDocument index = data::XmlDocument::load(file(data::kBuildingIndexFile));
        data::setAttributeAt(data::selectNode(index.root(), "Building[@GUID='1010278']"),
                             data::kBuildingIsExported, exported ? "true" : "false");
        index.save();
    }
    // The mod folder as the operations find it now, in any letter case.
    QString active() const { return mod::BuildingModFolders(mods, kGuid, kName).active(); }
    bool loaded() const { return mod::GameLoadsMod(active()); }
    // Entries of the mods directory the game loads (no leading hyphen).
    QStringList loadable() const {
        QStringList names;
        for (const QString& name : QDir(mods).entryList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot))
            if (!name.startsWith(QLatin1Char('-')) && mod::GameLoadsMod(QDir(mods).filePath(name)))
                names << name;
        return names;
    }
};

enum class Kind { LinkToUserFolder, DanglingLink, File, FolderHoldingLink, ReadOnlyFolder };

const std::pair<Kind, const char*> kKinds[] = {
    {Kind::LinkToUserFolder, "LinkToUserFolder"},
    {Kind::DanglingLink, "DanglingLink"},
    {Kind::File, "File"},
    {Kind::FolderHoldingLink, "FolderHoldingLink"},
    {Kind::ReadOnlyFolder, "ReadOnlyFolder"}, // locked with chattr +i, which stops root too
};

void place(Workspace& w, Kind kind, const QString& path) {
    switch (kind) {
    case Kind::LinkToUserFolder:
        makeLink(w.outside, path);
        break;
    case Kind::DanglingLink:
        makeLink(w.dir.file(QStringLiteral("nirgends")), path);
        break;
    case Kind::File:
        writeBytes(path, "eine Datei des Spielers");
        break;
    case Kind::FolderHoldingLink:
        writeBytes(path + QStringLiteral("/modinfo.json"), "{}");
        makeLink(w.outside, path + QStringLiteral("/Verknuepfung"));
        break;
    case Kind::ReadOnlyFolder:
        writeBytes(path + QStringLiteral("/modinfo.json"), "{}");
        break;
    }
}

// The operations as the main window runs them; the text is the error or the notes.
struct Outcome {
    bool failed = false;
    QString text;
};

using Operation = std::function<QStringList(Workspace&, data::FileWriter&)>;

const std::pair<const char*, Operation> kOperations[] = {
    {"Aktivieren",
     [](Workspace& w, data::FileWriter& writer) {
         return mod::WriteMod(w.request(kGuid), w.pictures, writer).leftFolders;
     }},
    {"Deaktivieren",
     [](Workspace& w, data::FileWriter& writer) {
         return mod::RemoveMod(w.data, w.mods, kGuid, kName, {}, writer);
     }},
    {"Reset",
     [](Workspace& w, data::FileWriter& writer) {
         return mod::ResetBuilding(w.data, w.mods, kGuid, kName, {}, writer);
     }},
};

Outcome run(const Operation& operation, Workspace& w,
            data::FileWriter& writer = data::diskWriter()) {
    try {
        return {false, operation(w, writer).join(QLatin1Char('\n'))};
    } catch (const data::DataError& e) {
        return {true, e.message()};
    }
}

TEST(ModsDirectorySafety, EntriesUnderTheProgramsNamesAreNeverFollowed) {
    // The game runs on Windows, where letter case does not tell names apart: a player's renamed
    // mod folder and a leftover whose prefix differs in case are the program's names too.
    enum class Role { Active, Hyphenated, Leftover, OlderRemoval };
    struct Name {
        const char* label;
        QString path;
        Role role;
    };
    const auto names = [](const mod::BuildingModFolders& f) {
        const auto in = [&](const char* name) {
            return QDir(f.modsDir()).filePath(QString::fromUtf8(name));
        };
        return std::vector<Name>{
            {"active", f.active(), Role::Active},
            {"hyphenated", f.hyphenated(), Role::Hyphenated},
            {"new", f.fresh(), Role::Leftover},
            {"set aside", f.setAside(), Role::Leftover},
            {"removal", mod::RemovalName(f.active()), Role::Leftover},
            {"older removal",
             QDir(f.modsDir())
                 .filePath(QStringLiteral(".cindral-weg ") + QFileInfo(f.active()).fileName()),
             Role::OlderRemoval},
            {"active in other letter case", in("[cindral] (1010278) fischerei"), Role::Active},
            {"removal in other letter case", in("-CINDRAL-WEG [cindral] (1010278) FISCHEREI"),
             Role::Leftover},
        };
    };
    for (const auto& [operationName, operation] : kOperations) {
        for (const auto& [kind, kindName] : kKinds) {
            const std::size_t count =
                names(mod::BuildingModFolders(QStringLiteral("/nirgends"), kGuid, kName)).size();
            for (std::size_t n = 0; n < count; ++n) {
                Workspace w;
                const Name name = names(w.folders)[n];
                const QString& path = name.path;
                SCOPED_TRACE(std::string(operationName) + ", " + kindName + " as " + name.label);
                place(w, kind, path);
                w.setFlag(w.loaded());
                const auto userFiles = treeOf(w.outside);
                const bool active = name.role == Role::Active;
                const bool hyphenated = name.role == Role::Hyphenated;

                std::optional<Immutable> lock;
                if (kind == Kind::ReadOnlyFolder) {
                    lock.emplace(path);
                    if (!lock->held())
                        continue; // chattr +i is not permitted here
                }
                // Renaming a link would move the player's folder under Wine: no link is ever
                // renamed, and the writer here moves the target as Wine would.
                ScriptedWriter writer;
                writer.renameMovesLinkTarget = true;
                const Outcome outcome = run(operation, w, writer);
                lock.reset();

                EXPECT_EQ(writer.linkRenames, 0);
                EXPECT_EQ(treeOf(w.outside), userFiles);
                EXPECT_EQ(w.flag(), w.loaded()) << qPrintable(outcome.text);
                // Nothing the game loads but the mod of an activation that succeeded, which
                // takes the place of the player's folder under its letter case: never a second
                // copy. The older removal name has no hyphen: a link of the player's there is
                // left alone and stays loadable, as it was.
                QStringList loadable = w.loadable();
                if (name.role == Role::OlderRemoval)
                    loadable.removeAll(QFileInfo(path).fileName());
                if (std::string(operationName) == "Aktivieren" && !outcome.failed) {
                    const QString mod = active ? path : w.folders.active();
                    EXPECT_EQ(loadable, QStringList{QFileInfo(mod).fileName()});
                    EXPECT_EQ(data::entryKindOf(mod), data::EntryKind::Folder);
                } else if (!active) {
                    EXPECT_TRUE(loadable.isEmpty()) << qPrintable(loadable.join(", "));
                }
                // A link under the mod's own names is removed as a link; a file there, and
                // anything but a real folder under the names of a stopped run, is left alone and
                // named.
                const bool leftAlone = kind == Kind::File || kind == Kind::ReadOnlyFolder ||
                                       (!active && !hyphenated && kind != Kind::FolderHoldingLink);
                if (leftAlone) {
                    EXPECT_NE(data::entryKindOf(path), data::EntryKind::Absent);
                    EXPECT_TRUE(outcome.text.contains(QFileInfo(path).fileName()))
                        << qPrintable(outcome.text);
                } else if (!(active && std::string(operationName) == "Aktivieren")) {
                    EXPECT_EQ(data::entryKindOf(path), data::EntryKind::Absent)
                        << qPrintable(outcome.text);
                }
            }
        }
    }
}

// A rename that does not leave a real folder under the new name and nothing under the old one
// (a system that moved something else) is undone and refused, naming the folder.
TEST(ModsDirectorySafety, ARenameThatChangesTheEntryIsUndoneAndRefused) {
    // Renames, then puts a link to the renamed folder under the old name, once.
    class LinkLeavingWriter final : public data::FileWriter {
    public:
        void writeNew(const QString& path, const QByteArray& bytes) override {
            data::diskWriter().writeNew(path, bytes);
        }
        void replace(const QString& from, const QString& to) override {
            data::diskWriter().replace(from, to);
            if (!done_++)
                QFile::link(to, from);
        }
        bool remove(const QString& path) override { return data::diskWriter().remove(path); }

    private:
        int done_ = 0;
    };
    Workspace w;
    w.activate(kGuid);
    const auto modBefore = treeOf(w.folders.active());
    LinkLeavingWriter writer;
    try {
        mod::RenameFolder(w.folders.active(), mod::RemovalName(w.folders.active()), writer);
        FAIL() << "the rename was taken as done";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.message().contains(QFileInfo(w.folders.active()).fileName()))
            << qPrintable(e.message());
    }
    // Nothing was deleted: the mod's files lie under one of the two names.
    const QString removal = mod::RemovalName(w.folders.active());
    const QString holder =
        data::entryKindOf(removal) == data::EntryKind::Folder ? removal : w.folders.active();
    EXPECT_EQ(treeOf(holder), modBefore);
}

// A mod folder that can not be deleted completely is named once, with the file that stayed and
// the reason: the folder moved aside is also one of the leftovers tried again afterwards.
TEST(ModsDirectorySafety, AFolderThatCanNotBeDeletedIsNamedOnce) {
    for (const auto& [operationName, operation] : kOperations) {
        if (std::string(operationName) == "Aktivieren")
            continue;
        SCOPED_TRACE(operationName);
        Workspace w;
        w.activate(kGuid);
        // chattr +i on the icon folder: its files can not be deleted, the folder can be renamed.
        const Immutable lock(w.folders.active() + QStringLiteral("/data/icon"));
        if (!lock.held())
            GTEST_SKIP() << "chattr +i is not permitted here";
        const Outcome outcome = run(operation, w);
        EXPECT_FALSE(outcome.failed) << qPrintable(outcome.text);
        const QStringList notes = outcome.text.split(QLatin1Char('\n'));
        EXPECT_EQ(notes.size(), 1) << qPrintable(outcome.text);
        EXPECT_TRUE(outcome.text.contains(QStringLiteral("Die Berechtigung dazu fehlt.")))
            << qPrintable(outcome.text);
        EXPECT_FALSE(w.loaded());
        EXPECT_FALSE(w.flag());
    }
}

TEST(ModsDirectorySafety, HostileNamesReachNoFolderOutsideTheModsDirectory) {
    const QString names[] = {
        QStringLiteral("x/../../outside"),
        QStringLiteral("x/../../../outside"),
        QStringLiteral(".."),
        QStringLiteral("x\\..\\..\\outside"),
        QString(),
        QStringLiteral("   "),
    };
    for (const QString& name : names) {
        for (const auto& [operationName, operation] : kOperations) {
            SCOPED_TRACE(std::string(operationName) + " with \"" + name.toStdString() + "\"");
            Workspace w;
            // The index names the building so; its folder paths would lead to outside.
            data::XmlDocument index = data::XmlDocument::load(w.file(data::kBuildingIndexFile));
            index.root()
                .find_child_by_attribute("Building", "GUID", "1010278")
                .attribute("Local")
                .set_value(data::utf8(name).c_str());
            index.save();
            writeBytes(w.mods + QStringLiteral("/[Cindral] (1010278) x/modinfo.json"), "{}");
            const auto userFiles = treeOf(w.outside);
            const auto dataFiles = treeOf(w.data);
            const auto modsBefore = treeOf(w.mods);

            const Outcome outcome = operationName == std::string("Aktivieren")
                                        ? [&] {
                                              mod::ModRequest r = w.request(kGuid);
                                              r.name = name;
                                              return run([r](Workspace& ws, data::FileWriter&) {
                                                  return mod::WriteMod(r, ws.pictures).leftFolders;
                                              },
                                                         w);
                                          }()
                                        : run(
                                              [&](Workspace& ws, data::FileWriter& writer) {
                                                  return std::string(operationName) == "Reset"
                                                             ? mod::ResetBuilding(ws.data, ws.mods,
                                                                                  kGuid, name, {},
                                                                                  writer)
                                                             : mod::RemoveMod(ws.data, ws.mods,
                                                                              kGuid, name, {},
                                                                              writer);
                                              },
                                              w);
            EXPECT_TRUE(outcome.failed);
            EXPECT_TRUE(outcome.text.contains(QStringLiteral("Gebäude")))
                << qPrintable(outcome.text);
            EXPECT_EQ(treeOf(w.outside), userFiles);
            EXPECT_EQ(treeOf(w.data), dataFiles);
            EXPECT_EQ(treeOf(w.mods), modsBefore);
        }
    }
}

TEST(ModsDirectorySafety, PathsOutsideTheModsDirectoryAreRefused) {
    Workspace w;
    const auto userFiles = treeOf(w.outside);
    const QString paths[] = {
        w.outside,
        w.mods + QStringLiteral("/[Cindral] (1) x/../../outside"),
        w.mods + QStringLiteral("/[Cindral] (1) x/sub"),
        w.mods + QStringLiteral("/Fremder Mod"),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_THROW(mod::RemoveModFolder(w.mods, path), data::DataError);
        EXPECT_THROW(mod::RemoveLeftover(w.mods, path), data::DataError);
    }
    EXPECT_EQ(treeOf(w.outside), userFiles);
}

// A failure between the swap and the flag, or between moving the mod aside and the flag,
// leaves the flag telling what the game loads: the step before is undone.
TEST(ModsDirectorySafety, AFlagThatCanNotBeSavedUndoesTheFolderStep) {
    struct Case {
        const char* operation;
        bool exportedBefore; // an older mod in place and flagged
        bool loadedAfter;
    };
    const Case cases[] = {
        {"Aktivieren", false, false}, // the new mod leaves the name again
        {"Deaktivieren", true, true}, // the mod is put back
        {"Reset", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        Workspace w;
        if (c.exportedBefore) {
            w.activate(kGuid);
            ASSERT_TRUE(w.flag());
        }
        const auto modsBefore = treeOf(w.mods);
        ScriptedWriter writer;
        writer.failReplaceOf = data::kBuildingIndexFile;
        const Operation* operation = nullptr;
        for (const auto& [name, op] : kOperations)
            if (std::string(name) == c.operation)
                operation = &op;
        const Outcome outcome = run(*operation, w, writer);
        EXPECT_TRUE(outcome.failed);
        EXPECT_EQ(w.loaded(), c.loadedAfter);
        EXPECT_EQ(w.flag(), c.loadedAfter);
        EXPECT_EQ(treeOf(w.mods), modsBefore);
    }
}

TEST(ModsDirectorySafety, ReactivatingAFlaggedModNeedsNoSaveOfTheFlag) {
    Workspace w;
    w.activate(kGuid);
    ScriptedWriter writer;
    writer.failReplaceOf = data::kBuildingIndexFile;
    EXPECT_NO_THROW(mod::WriteMod(w.request(kGuid), w.pictures, writer));
    EXPECT_TRUE(w.flag());
    EXPECT_EQ(w.loadable(), QStringList{QFileInfo(w.folders.active()).fileName()});
}

// The game moved since the start, its mods directory with it: every operation on a mod folder
// refuses with the same message before it changes anything, also where nothing is left to remove
// under the old path (the moved game still loads the mod, so the flag must stay).
TEST(ModsDirectorySafety, AGameThatHasMovedIsRefusedByEveryOperation) {
    using GameOperation = std::function<QStringList(Workspace&, const QString& executable)>;
    const auto overviewRemoval = [](mod::ModState state, const QString& guid,
                                    const QString& name) -> GameOperation {
        return [=](Workspace& w, const QString& executable) {
            return mod::RemoveModOf({{guid, name, true, {}}, state}, w.data, w.mods, executable);
        };
    };
    const std::pair<const char*, GameOperation> operations[] = {
        {"Aktivieren",
         [](Workspace& w, const QString& executable) {
             mod::ModRequest request = w.request(kGuid);
             request.gameExecutable = executable;
             return mod::WriteMod(request, w.pictures).leftFolders;
         }},
        {"Deaktivieren",
         [](Workspace& w, const QString& executable) {
             return mod::RemoveMod(w.data, w.mods, kGuid, kName, executable);
         }},
        {"Reset",
         [](Workspace& w, const QString& executable) {
             return mod::ResetBuilding(w.data, w.mods, kGuid, kName, executable);
         }},
        {"Alle aktivieren",
         [](Workspace& w, const QString& executable) {
             mod::BulkRequest request{w.data, w.mods, QStringLiteral("1"), QStringLiteral("t")};
             request.gameExecutable = executable;
             return QStringList{mod::BulkSummary(mod::ActivateAll(request, w.pictures, {}), true)};
         }},
        {"Alle deaktivieren",
         [](Workspace& w, const QString& executable) {
             mod::BulkRequest request{w.data, w.mods, QStringLiteral("1"), QStringLiteral("t")};
             request.gameExecutable = executable;
             return QStringList{mod::BulkSummary(mod::DeactivateAll(request, {}), false)};
         }},
        {"Mod entfernen (aktiv)", overviewRemoval(mod::ModState::Current, kGuid, kName)},
        {"Mod entfernen (verwaist)",
         overviewRemoval(mod::ModState::Orphaned, QStringLiteral("999001"),
                         QStringLiteral("Alte Werft"))},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        Workspace w;
        const QString game = w.dir.file(QStringLiteral("game"));
        const QString executable = game + QStringLiteral("/Bin/Win64/Velmora.exe");
        writeBytes(executable, "MZ");
        w.mods = game + QStringLiteral("/mods");
        w.activate(kGuid);
        data::SetBuildingFlag(w.data, kGuid, data::kBuildingIsChanged, true);
        const QString moved = w.dir.file(QStringLiteral("moved"));
        ASSERT_TRUE(QDir().rename(game, moved));
        const auto movedGame = treeOf(moved);
        const auto dataFiles = treeOf(w.data);

        const Outcome outcome =
            run([&](Workspace& ws, data::FileWriter&) { return operation(ws, executable); }, w);
        EXPECT_TRUE(outcome.failed) << qPrintable(outcome.text);
        EXPECT_TRUE(outcome.text.startsWith(
            QStringLiteral(
                "Das Spiel ist nicht mehr installiert, wo es beim Start war: „%1“ fehlt.")
                .arg(executable)))
            << qPrintable(outcome.text);
        EXPECT_FALSE(QFileInfo::exists(game));
        EXPECT_EQ(treeOf(moved), movedGame);
        EXPECT_EQ(treeOf(w.data), dataFiles);
        EXPECT_TRUE(w.flag());
    }
}

// The flags follow the folders at the start and at every refill of the list.
TEST(ExportFlags, FollowTheModFoldersThePlayerDeletesOrPutsBack) {
    Workspace w;
    w.activate(kGuid);
    const mod::BuildingModFolders bakery(w.mods, QStringLiteral("1010265"),
                                         data::FindBuilding(w.data, "1010265")->local);
    const QByteArray indexBefore = readBytes(w.file(data::kBuildingIndexFile));
    EXPECT_TRUE(mod::SyncExportFlags(w.data, w.mods).corrected.empty());
    EXPECT_EQ(readBytes(w.file(data::kBuildingIndexFile)), indexBefore); // nothing to save

    QDir(w.folders.active()).removeRecursively(); // deleted by hand
    makeLink(w.outside, bakery.active());         // a link to a folder is loaded too
    const mod::FlagSync sync = mod::SyncExportFlags(w.data, w.mods);
    ASSERT_EQ(sync.corrected.size(), 2u);
    EXPECT_FALSE(w.flag());
    EXPECT_EQ(data::FindBuilding(w.data, "1010265")->isExported, QStringLiteral("true"));
    const QString message = mod::CorrectionMessage(sync.corrected);
    EXPECT_TRUE(message.contains(QStringLiteral("(1010278) Fischerei: sein Mod-Ordner fehlt")))
        << qPrintable(message);
    EXPECT_TRUE(message.contains(QStringLiteral("Mod-Ordner ist da"))) << qPrintable(message);

    // A mod folder the player renamed in other letter case is still the mod (the same folder on
    // Windows), and no orphan.
    const QString renamed = w.mods + QStringLiteral("/[CINDRAL] (1010265) ") +
                            data::FindBuilding(w.data, "1010265")->local.toUpper();
    ASSERT_TRUE(QDir().rename(bakery.active(), renamed));
    const mod::FlagSync again = mod::SyncExportFlags(w.data, w.mods);
    EXPECT_TRUE(again.corrected.empty()) << qPrintable(mod::CorrectionMessage(again.corrected));
    EXPECT_TRUE(again.orphaned.empty());
    EXPECT_EQ(data::FindBuilding(w.data, "1010265")->isExported, QStringLiteral("true"));

    // A mods directory that can not be read changes no flag.
    QFile::remove(renamed);
    const QString file = w.dir.file(QStringLiteral("notafolder"));
    writeBytes(file, "x");
    const QByteArray index = readBytes(w.file(data::kBuildingIndexFile));
    const mod::FlagSync unreadable = mod::SyncExportFlags(w.data, file);
    EXPECT_TRUE(unreadable.corrected.empty());
    EXPECT_TRUE(unreadable.problem.contains(QStringLiteral("notafolder")));
    EXPECT_EQ(readBytes(w.file(data::kBuildingIndexFile)), index);
}

} // namespace
