#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/XmlDocument.h"
#include "mod/BuildingReset.h"
#include "mod/ModFolder.h"
#include "support/DataDirBuilder.h"
#include "support/ScriptedWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const std::vector<BuildingRow> kRows = {
    {QStringLiteral("1010278"), QStringLiteral("Fischerei")},
    {QStringLiteral("1010294"), QStringLiteral("Arsenal  Polizeiausruestung"), QStringLiteral("2"),
     QStringLiteral("Produktion"), QStringLiteral("true"), QStringLiteral("true")},
    {QStringLiteral("1010265"), QStringLiteral("Baeckerei"), QStringLiteral("1"),
     QStringLiteral("Produktion"), QStringLiteral("true"), QStringLiteral("false")},
};

struct Fixture {
    TempDir dir;
    QString data = dir.file(QStringLiteral("XMLP"));
    QString mods =
        dir.file(QStringLiteral("mods")) + QStringLiteral("/"); // with a trailing separator
    Fixture() {
        QDir().mkpath(data);
        QDir().mkpath(mods);
        writeBuildingIndex(data, kRows);
        writeGroupList(data);
        writeAssetLists(data, kRows, QStringLiteral("99")); // every working record edited
        writeBuffTable(data, kRows.size(), QStringLiteral("7"));
    }
    QString file(const char* name) const {
        return data + QStringLiteral("/") + QString::fromUtf8(name);
    }
    QString maintenance(const char* fileName, const QString& guid) const {
        const data::XmlDocument doc = data::XmlDocument::load(file(fileName));
        const pugi::xml_node asset = data::selectNode(
            doc.root(), "//Asset[Values/Standard/GUID=\"" + data::utf8(guid) + "\"]");
        return data::fromUtf8(
            data::childText(asset, "Values/Maintenance/Maintenances/Item/Amount"));
    }
    QStringList buffValues(std::size_t building) const {
        const data::XmlDocument doc = data::XmlDocument::load(file("BuffsShort.xml"));
        const pugi::xml_node buff =
            data::selectNode(doc.root(), "Buff[@GUID='" + data::utf8(buffGuidAt(building)) + "']");
        QStringList values;
        for (int i = 1; i < 30; ++i)
            values << data::fromUtf8(data::attributeTextAt(buff, i));
        return values;
    }
};

QStringList resetBuffValues() {
    QStringList v;
    for (int k = 0; k < 9; ++k)
        v << QStringLiteral("0") << QStringLiteral("1") << QStringLiteral("1");
    return v << QStringLiteral("0") << QStringLiteral("0");
}

TEST(BuildingReset, ChangedAndExportedBuildingReturnsToTheGameValues) {
    Fixture f;
    const QString guid = kRows[1].guid, name = kRows[1].local;
    const QString active = mod::ActiveModFolder(f.mods, guid, name);
    const QString hyphenated = mod::HyphenatedModFolder(f.mods, guid, name);
    const QString otherMod = mod::ActiveModFolder(f.mods, kRows[2].guid, kRows[2].local);
    const QString leftover = mod::NewModFolder(f.mods, guid, name); // a stopped activation's
    EXPECT_EQ(QFileInfo(active).fileName(),
              QStringLiteral("[Cindral] (1010294) Arsenal  Polizeiausruestung"));
    EXPECT_EQ(QFileInfo(hyphenated).fileName(),
              QStringLiteral("-[Cindral] (1010294) Arsenal  Polizeiausruestung"));
    for (const QString& folder : {active, hyphenated, otherMod, leftover}) {
        writeBytes(folder + QStringLiteral("/assets.xml"), "<ModOps/>");
        writeBytes(folder + QStringLiteral("/data/ui/icon.png"), "png");
    }

    EXPECT_TRUE(mod::ResetBuilding(f.data, f.mods, guid, name).isEmpty());

    EXPECT_EQ(f.maintenance("Buildings.xml", guid), QStringLiteral("10"));
    EXPECT_EQ(f.maintenance("Buildings.xml", kRows[2].guid),
              QStringLiteral("99")); // others keep their edits
    EXPECT_EQ(f.buffValues(1), resetBuffValues());
    EXPECT_EQ(f.buffValues(2).first(), QStringLiteral("7"));
    const auto entry = data::FindBuilding(f.data, guid);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->isChanged, QStringLiteral("false"));
    EXPECT_EQ(entry->isExported, QStringLiteral("false"));
    EXPECT_EQ(data::FindBuilding(f.data, kRows[2].guid)->isChanged, QStringLiteral("true"));
    EXPECT_FALSE(QFileInfo::exists(active));
    EXPECT_FALSE(QFileInfo::exists(hyphenated));
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_TRUE(QFileInfo::exists(otherMod + QStringLiteral("/assets.xml")));
}

// A reset killed while deleting leaves the folder it renamed aside (".cindral-weg " + name),
// never a half mod folder; the next reset deletes what was left.
TEST(BuildingReset, FolderLeftAsideByAKilledResetIsDeletedByTheNext) {
    Fixture f;
    const QString guid = kRows[1].guid, name = kRows[1].local;
    const QString active = mod::ActiveModFolder(f.mods, guid, name);
    const QString aside = f.mods + QStringLiteral(".cindral-weg ") + QFileInfo(active).fileName();
    writeBytes(aside + QStringLiteral("/data/ui/icon.png"), "half deleted");
    writeBytes(active + QStringLiteral("/assets.xml"), "<ModOps/>");
    EXPECT_TRUE(mod::ResetBuilding(f.data, f.mods, guid, name).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(active));
    EXPECT_FALSE(QFileInfo::exists(aside));
    EXPECT_TRUE(QDir(f.mods).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(BuildingReset, UnchangedBuildingIsWrittenAnywayWithoutFolders) {
    Fixture f;
    EXPECT_TRUE(mod::ResetBuilding(f.data, f.mods, kRows[0].guid, kRows[0].local).isEmpty());
    EXPECT_EQ(f.maintenance("Buildings.xml", kRows[0].guid), QStringLiteral("10"));
    EXPECT_EQ(f.buffValues(0), resetBuffValues());
    EXPECT_EQ(data::FindBuilding(f.data, kRows[0].guid)->isChanged, QStringLiteral("false"));
}

// A building missing from one file must not leave the others half reset.
TEST(BuildingReset, MissingPieceChangesNoFile) {
    struct Case {
        const char* what;
        std::function<void(Fixture&)> damage;
    };
    const Case cases[] = {
        {"no original record", [](Fixture& f) { writeAssetLists(f.data, {kRows[0]}); }},
        {"no buff entry", [](Fixture& f) { writeBuffTable(f.data, 1); }},
        {"not in the index", [](Fixture& f) { writeBuildingIndex(f.data, {kRows[0]}); }},
        {"buff entry cut short",
         [](Fixture& f) {
             writeBytes(f.file("BuffsShort.xml"),
                        "<Buffs><Buff GUID=\"2000502801\" P0=\"5\"/></Buffs>");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        c.damage(f);
        const QByteArray working = readBytes(f.file("Buildings.xml"));
        const QByteArray buffs = readBytes(f.file("BuffsShort.xml"));
        const QByteArray index = readBytes(f.file("BuildingsShort.xml"));
        EXPECT_THROW(mod::ResetBuilding(f.data, f.mods, kRows[1].guid, kRows[1].local),
                     data::DataError);
        EXPECT_EQ(readBytes(f.file("Buildings.xml")), working);
        EXPECT_EQ(readBytes(f.file("BuffsShort.xml")), buffs);
        EXPECT_EQ(readBytes(f.file("BuildingsShort.xml")), index);
    }
}

const char* const kResetFiles[] = {"Buildings.xml", "BuffsShort.xml", "BuildingsShort.xml"};

// What a failed reset must leave: the three files byte for byte, both mod folders, no new file
// beside a target.
struct ResetSnapshot {
    const Fixture& f;
    std::vector<QByteArray> bytes;
    QString active, hyphenated;
    explicit ResetSnapshot(const Fixture& fixture) : f(fixture) {
        active = mod::ActiveModFolder(f.mods, kRows[1].guid, kRows[1].local);
        hyphenated = mod::HyphenatedModFolder(f.mods, kRows[1].guid, kRows[1].local);
        for (const QString& folder : {active, hyphenated})
            writeBytes(folder + QStringLiteral("/assets.xml"), "<ModOps/>");
        for (const char* name : kResetFiles)
            bytes.push_back(readBytes(f.file(name)));
    }
    void expectUnchanged() const {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(readBytes(f.file(kResetFiles[i])), bytes[i]) << kResetFiles[i];
        EXPECT_TRUE(QFileInfo::exists(active + QStringLiteral("/assets.xml")));
        EXPECT_TRUE(QFileInfo::exists(hyphenated + QStringLiteral("/assets.xml")));
        EXPECT_TRUE(QDir(f.data).entryList({QStringLiteral("*") + data::kNewFileSuffix}).isEmpty());
    }
};

// Each of the three files made unwritable in turn, its new file failing to be written or to
// replace it: the reset changes none of them and keeps the mod folders.
TEST(BuildingReset, UnwritableFileLeavesEverythingAsItWas) {
    struct Case {
        int failWrite;           // the n-th new file can not be written (0: none)
        const char* failReplace; // the file that can not be replaced (nullptr: none)
    };
    const Case cases[] = {{1, nullptr},        {2, nullptr},        {3, nullptr},
                          {0, kResetFiles[0]}, {0, kResetFiles[1]}, {0, kResetFiles[2]}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failReplace ? c.failReplace : "write " + std::to_string(c.failWrite));
        Fixture f;
        const ResetSnapshot before(f);
        ScriptedWriter writer;
        writer.failWriteNumber = c.failWrite;
        writer.failReplaceOf = c.failReplace ? QString::fromUtf8(c.failReplace) : QString();
        EXPECT_THROW(mod::ResetBuilding(f.data, f.mods, kRows[1].guid, kRows[1].local, {}, writer),
                     data::DataError);
        before.expectUnchanged();
    }
}

// The same with the disk itself refusing: each file in turn made immutable, which holds even
// for an administrator. Skipped where the file system or the user can not mark files so.
TEST(BuildingReset, FileTheDiskRefusesToReplaceLeavesEverythingAsItWas) {
    const auto setImmutable = [](const QString& path, bool on) {
        return QProcess::execute(QStringLiteral("chattr"),
                                 {on ? QStringLiteral("+i") : QStringLiteral("-i"), path}) == 0;
    };
    for (const char* name : kResetFiles) {
        SCOPED_TRACE(name);
        Fixture f;
        const ResetSnapshot before(f);
        if (!setImmutable(f.file(name), true))
            GTEST_SKIP() << "files can not be made immutable here";
        try {
            mod::ResetBuilding(f.data, f.mods, kRows[1].guid, kRows[1].local);
            ADD_FAILURE() << "no error raised";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(name))) << e.what();
            EXPECT_TRUE(e.message().contains(QStringLiteral("Berechtigung"))) << e.what();
        }
        setImmutable(f.file(name), false);
        before.expectUnchanged();
    }
}

// Without a mods directory the folder names would be taken relative to the working directory:
// a folder of that name there stays.
TEST(BuildingReset, WithoutModsDirectoryNothingIsRemoved) {
    Fixture f;
    TempDir workingDir;
    const QString folder =
        workingDir.file(mod::ActiveModFolder(QString(), kRows[0].guid, kRows[0].local));
    writeBytes(folder + QStringLiteral("/keep.txt"), "x");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workingDir.path()));
    const QStringList undeleted =
        mod::ResetBuilding(f.data, QString(), kRows[0].guid, kRows[0].local);
    QDir::setCurrent(before);
    EXPECT_TRUE(undeleted.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/keep.txt")));
}

// An empty name names the folders "[Cindral] (GUID) " and "-[Cindral] (GUID) ": they go, the
// rest of the mods directory stays, the same building's folder under its name included.
} // namespace
