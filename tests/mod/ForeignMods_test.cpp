// The other mods of the mods directory: which buildings they change too, under which names, and
// the ones that can not be read.
#include "mod/ForeignMods.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const char* const kAssets = "data/config/export/main/asset/assets.xml";

// A mod folder with an assets.xml of the given ModOps (nullptr: none) and a modinfo.json
// (nullptr: none).
void makeMod(const QString& modsDir, const QString& folder, const char* modOps,
             const char* modinfo) {
    const QString root = QDir(modsDir).filePath(folder);
    QDir().mkpath(root + QStringLiteral("/data/config/export/main/asset"));
    if (modOps)
        writeBytes(root + QLatin1Char('/') + QLatin1String(kAssets),
                   QByteArray("<ModOps>") + modOps + "</ModOps>");
    if (modinfo)
        writeBytes(root + QStringLiteral("/modinfo.json"), modinfo);
}

TEST(ForeignMods, WhoChangesWhichBuilding) {
    TempDir dir;
    const QString mods = dir.path();
    struct Mod {
        const char* folder;
        const char* modOps;  // content of <ModOps>, nullptr: no assets.xml
        const char* modinfo; // nullptr: no modinfo.json
    };
    const Mod folders[] = {
        {"Bessere Fischer",
         "<ModOp Type=\"merge\" Path=\"//Asset[Values/Standard/GUID='1010278']/Values\"/>",
         "{\"ModName\": {\"German\": \"Bessere Fischer\", \"English\": \"Better Fishers\"}}"},
        {"balance", // by GUID attribute, a list, and a buff asset; the English name only
         "<ModOp Type=\"add\" GUID=\"1010262, 2000502800\"><Item/></ModOp>"
         "<ModOp Type=\"replace\" Path=\"//Asset[Values/Standard/GUID = &quot;1010314&quot;]\"/>",
         "{\"ModName\": {\"German\": \"\", \"English\": \"Big Balance\"}}"},
        {"Ohne Info", // no modinfo.json: the folder's name
         "<ModOp Path=\"//Asset[Values/Standard/GUID=1010278 or Values/Standard/GUID=7]\"/>",
         nullptr},
        {"Kaputt", "<ModOp Path=\"//x\"", "{}"},                  // damaged: skipped, named
        {"Nur Bilder", nullptr, "{\"ModName\": \"Nur Bilder\"}"}, // no assets: nothing changed
        {"[Cindral] (1010278) Fischerei",                         // this program's own
         "<ModOp Path=\"//Asset[Values/Standard/GUID='1010278']\"/>", "{}"},
        {"[cindral] (1010262) getreidefarm", // its own, renamed by the player (same on Windows)
         "<ModOp Path=\"//Asset[Values/Standard/GUID='1010262']\"/>", "{}"},
        {"-Abgeschaltet", // switched off by the player
         "<ModOp Path=\"//Asset[Values/Standard/GUID='1010278']\"/>", "{}"},
    };
    for (const Mod& m : folders)
        makeMod(mods, QString::fromUtf8(m.folder), m.modOps, m.modinfo);

    const mod::ForeignMods scan = mod::ScanForeignMods(mods);
    struct Case {
        const char* building;
        const char* buff;
        QStringList names;
    };
    const Case cases[] = {
        {"1010278", "2000502801", {QStringLiteral("Bessere Fischer"), QStringLiteral("Ohne Info")}},
        {"1010262", "2000502908", {QStringLiteral("Big Balance")}},
        {"1010314", "0", {QStringLiteral("Big Balance")}},
        {"4711", "2000502800", {QStringLiteral("Big Balance")}}, // by its buff asset only
        {"7", "0", {QStringLiteral("Ohne Info")}},
        {"1010196", "0", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.building);
        EXPECT_EQ(mod::ConflictingMods(scan, QString::fromLatin1(c.building),
                                       QString::fromLatin1(c.buff)),
                  c.names);
    }
    EXPECT_EQ(scan.modCount, 3); // those with an assets.xml that could be read
    ASSERT_EQ(scan.skipped.size(), 1);
    EXPECT_TRUE(scan.skipped[0].startsWith(QStringLiteral("\u201EKaputt\u201C")))
        << scan.skipped[0].toStdString();
    EXPECT_TRUE(mod::SkippedModsNote(scan).contains(QStringLiteral("Kaputt")));
    EXPECT_EQ(mod::ConflictText({QStringLiteral("A"), QStringLiteral("B")}),
              QStringLiteral("Wird auch geändert von: A, B"));
    EXPECT_EQ(mod::ConflictText({}), QString());
    EXPECT_EQ(mod::ConflictQuestion({QStringLiteral("A")}),
              QStringLiteral("Der Mod \u201EA\u201C ändert dieses Gebäude ebenfalls. Der Mod, den "
                             "das Spiel zuletzt lädt, gewinnt. Trotzdem aktivieren?"));
    EXPECT_TRUE(
        mod::ConflictQuestion({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
            .startsWith(QStringLiteral("Die Mods \u201EA\u201C, \u201EB\u201C und "
                                       "\u201EC\u201C ändern dieses Gebäude")));
}

TEST(ForeignMods, AMissingOrEmptyModsDirectoryHasNone) {
    TempDir dir;
    for (const QString& mods : {dir.path(), dir.file(QStringLiteral("fehlt"))}) {
        const mod::ForeignMods scan = mod::ScanForeignMods(mods);
        EXPECT_TRUE(scan.changes.empty());
        EXPECT_TRUE(scan.skipped.isEmpty());
        EXPECT_EQ(mod::SkippedModsNote(scan), QString());
    }
}

} // namespace
