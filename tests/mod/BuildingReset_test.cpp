#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/XmlDocument.h"
#include "mod/BuildingReset.h"
#include "mod/ModFolder.h"
#include "support/DataDirBuilder.h"

#include <QDir>
#include <QFileInfo>
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
    EXPECT_EQ(QFileInfo(active).fileName(),
              QStringLiteral("[Cindral] (1010294) Arsenal  Polizeiausruestung"));
    EXPECT_EQ(QFileInfo(hyphenated).fileName(),
              QStringLiteral("-[Cindral] (1010294) Arsenal  Polizeiausruestung"));
    for (const QString& folder : {active, hyphenated, otherMod}) {
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

TEST(BuildingReset, EmptyNameNeverReachesTheModsDirectoryItself) {
    Fixture f;
    writeBytes(f.mods + QStringLiteral("keep.txt"), "x");
    mod::ResetBuilding(f.data, f.mods, kRows[0].guid, QString());
    mod::ResetBuilding(f.data, QString(), kRows[0].guid, kRows[0].local);
    EXPECT_TRUE(QFileInfo::exists(f.mods + QStringLiteral("keep.txt")));
}

} // namespace
