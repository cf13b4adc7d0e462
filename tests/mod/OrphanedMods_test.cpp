// The program's mods whose building is gone: after new game data without the lobster fishery,
// its mod folder is still the program's own. The start and the overview name it, and "Alle
// deaktivieren" and "Mod entfernen" in the overview remove it with the same link rules; anything
// the game does not load, or that the program did not name, stays.
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorFiles.h"
#include "data/FileTree.h"
#include "data/XmlDocument.h"
#include "mod/BulkActivation.h"
#include "mod/EditsOverview.h"
#include "mod/ExportFlags.h"
#include "mod/ModTestSupport.h"
#include "mod/OrphanedMods.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kFishery = QStringLiteral("1010278");

// The shipped data as new game data without the lobster fishery (118729), the fishery's mod
// active, and the player's own files outside the mods directory.
struct WithoutLobsterFishery : ShippedData {
    QString outside = dir.file(QStringLiteral("outside"));
    WithoutLobsterFishery() {
        data::XmlDocument index = data::XmlDocument::load(file(data::kBuildingIndexFile));
        index.root().remove_child(
            index.root().find_child_by_attribute("Building", "GUID", "118729"));
        index.save();
        activate(kFishery);
        writeBytes(outside + QStringLiteral("/Spielstand.txt"), "mein Spielstand");
    }
    QString modPath(const char* name) const {
        return mods + QLatin1Char('/') + QString::fromUtf8(name);
    }
};

enum class Entry { Folder, LinkToPlayersFolder, File };

TEST(OrphanedMods, TheModOfARemovedBuildingIsNamedAndRemoved) {
    struct Case {
        const char* label;
        const char* name;
        Entry entry;
        bool orphaned;
    };
    const Case cases[] = {
        {"the removed building's mod", "[Cindral] (118729) Hummerfischerei", Entry::Folder, true},
        {"in other letter case", "[cindral] (118729) HUMMERFISCHEREI", Entry::Folder, true},
        {"a link to the player's folder", "[Cindral] (118729) Hummerfischerei",
         Entry::LinkToPlayersFolder, true},
        {"a renamed building's old mod", "[Cindral] (1010278) Alte Fischerei", Entry::Folder, true},
        {"switched off by the player", "-[Cindral] (118729) Hummerfischerei", Entry::Folder, false},
        {"a file, which the game does not load", "[Cindral] (118729) Hummerfischerei", Entry::File,
         false},
        {"another mod's name", "[Cindral]-Hummer (118729) Fischerei", Entry::Folder, false},
    };
    for (const Case& c : cases) {
        for (const bool bulk : {true, false}) {
            SCOPED_TRACE(std::string(c.label) + (bulk ? ", Alle deaktivieren" : ", Mod entfernen"));
            WithoutLobsterFishery w;
            const QString path = w.modPath(c.name);
            switch (c.entry) {
            case Entry::Folder:
                writeBytes(path + QStringLiteral("/modinfo.json"), "{}");
                break;
            case Entry::LinkToPlayersFolder:
                ASSERT_TRUE(QFile::link(w.outside, path));
                break;
            case Entry::File:
                writeBytes(path, "eine Datei");
                break;
            }
            const auto players = snapshot(w.outside);
            const data::EntryKind kindBefore = data::entryKindOf(path);

            // Named at the start, listed in the overview as "verwaist".
            const mod::FlagSync sync = mod::SyncExportFlags(w.data, w.mods);
            EXPECT_TRUE(sync.corrected.empty());
            QStringList named;
            for (const mod::OrphanedMod& m : sync.orphaned)
                named << QFileInfo(m.folder).fileName();
            EXPECT_EQ(named, c.orphaned ? QStringList{QString::fromUtf8(c.name)} : QStringList());
            if (c.orphaned)
                EXPECT_TRUE(
                    mod::OrphanedModsMessage(sync.orphaned).contains(QString::fromUtf8(c.name)));
            data::EditorFiles files(w.data);
            const mod::EditsOverview overview = mod::LoadEditsOverview(files, w.mods);
            // The fishery's active mod is listed too, unedited but current.
            ASSERT_EQ(overview.buildings.size(), c.orphaned ? 2u : 1u);
            EXPECT_EQ(overview.buildings.front().edit.guid, kFishery);
            EXPECT_EQ(overview.buildings.front().mod, mod::ModState::Current);

            if (bulk) {
                const mod::BulkReport report = mod::DeactivateAll(
                    {w.data, w.mods, QStringLiteral("1"), QStringLiteral("t")}, {});
                EXPECT_EQ(mod::BulkSummary(report, false),
                          c.orphaned ? QStringLiteral("Entfernt: 2 von 2 Mods.")
                                     : QStringLiteral("Entfernt: 1 von 1 Mods."));
            } else if (c.orphaned) {
                const mod::OverviewBuilding& orphan = overview.buildings.back();
                EXPECT_EQ(mod::ModStateText(orphan.mod), QStringLiteral("verwaist"));
                EXPECT_TRUE(mod::RemoveModOf(orphan, w.data, w.mods, QString()).isEmpty());
            }
            EXPECT_EQ(data::entryKindOf(path), c.orphaned ? data::EntryKind::Absent : kindBefore);
            EXPECT_EQ(snapshot(w.outside), players);
            EXPECT_TRUE(mod::FindOrphanedMods(w.data, w.mods).empty());
        }
    }
}

} // namespace
