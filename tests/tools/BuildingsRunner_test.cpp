#include "PrepTestSupport.h"
#include "data/DataError.h"
#include "tools/CostsAndUpkeep.h"
#include "tools/CreateBuildingsUnit.h"
#include "tools/IndexAndTables.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <optional>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;
using Items = std::vector<std::string>;
using namespace Qt::StringLiterals;

namespace {

QStringList attributeValues(const QString& file, const char* element, const char* attribute) {
    const data::XmlDocument doc = data::XmlDocument::load(file);
    QStringList values;
    for (const pugi::xml_node& node : doc.root().children(element))
        values << QString::fromUtf8(node.attribute(attribute).value());
    return values;
}

} // namespace

TEST(BuildingsRunner, AssetListStepsBuildMatchingFilesOnAFirstRun) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-run/Buildings_Standard_Cleaned.xml"),
              QStringLiteral("TMP/Buildings_Standard_Cleaned.xml"));
    run.place(QStringLiteral("prep-names/ProductsShort.xml"),
              QStringLiteral("XMLP/ProductsShort.xml"));
    run.place(QStringLiteral("prep-chains/ProductionChain.xml"),
              QStringLiteral("ORG/ProductionChain.xml"));
    writeBytes(run.path(QStringLiteral("icons-source/icon_fish_0.png")), "FISH");

    QStringList steps;
    RunAssetListSteps(run.dirs, [&](const QString& step, const QString&) { steps << step; });
    EXPECT_EQ(steps.join(u' '), QStringLiteral("B7 B8 B9 B10 B11 B12 B1 B13 B14 B15 B16"));

    // The buff table belongs to the asset lists of this very run, even without an earlier one.
    const QStringList buffs = {QStringLiteral("2000502800"), QStringLiteral("2000502801")};
    EXPECT_EQ(attributeValues(run.path(QStringLiteral("XMLP/BuffsShort.xml")), "Buff", "GUID"),
              buffs);
    EXPECT_EQ(
        attributeValues(run.path(QStringLiteral("XMLP/BuildingsShort.xml")), "Building", "Add"),
        buffs);

    const QString assets = run.path(QStringLiteral("XMLP/Buildings.xml"));
    EXPECT_EQ(
        markupOf(assets, "Asset[1]//Costs/Item[1]"),
        Items{"<Item><Amount>100</Amount><!--Münzen--><Ingredient>1010017</Ingredient></Item>"});
    EXPECT_EQ(
        markupOf(assets, "Asset[2]//Costs/Item"),
        (Items{"<Item><!--Münzen--><Ingredient>1010017</Ingredient><Amount>100</Amount></Item>",
               "<Item><!--Holz--><Ingredient>1010196</Ingredient><Amount>4</Amount></Item>",
               "<Item/>"}));
    EXPECT_EQ(markupOf(assets, "Asset[2]//Maintenances/Item"),
              (Items{"<Item><!--Münzen--><Product>1010017</Product><Amount>50</Amount></Item>",
                     "<Item><!--Bauern--><Product>1010052</Product><Amount>10</Amount></Item>"}));
    EXPECT_EQ(run.bytes(QStringLiteral("XMLP/Buildings.xml")),
              run.bytes(QStringLiteral("XMLP/BuildingsOrg.xml")));
    EXPECT_EQ(run.bytes(QStringLiteral("PNG/icon_fish.png")), "FISH");
    EXPECT_EQ(run.bytes(QStringLiteral("TMP/ChainGUIDs.txt")),
              "9001#1010278\r\n9002#1010278\r\n9003#1010278\r\n9003#5000\r\n");
    for (const char* file : {"XMLP/FarmField.xml", "XMLP/BuildingGroups.xml"})
        EXPECT_TRUE(QFileInfo::exists(run.path(QString::fromUtf8(file)))) << file;
}

TEST(BuildingsRunner, StepsStopOnMissingInputWithTheFileAndTheReason) {
    using Placement = std::pair<const char*, const char*>;
    const Placement catalogue = {"prep-names/ProductsShort.xml", "XMLP/ProductsShort.xml"};
    const struct {
        std::vector<Placement> files;
        void (*step)(const PrepDirectories&);
        const char* file;
        const char* reason;
    } cases[] = {
        {{}, ResolveCostSlots, "Buildings_Standard_Cleaned.xml", "fehlt"},
        {{{"prep-failures/DerivedWithoutBase.xml", "TMP/Buildings_Standard_Cleaned_And_Cost.xml"}},
         InheritDerivedCosts,
         "Buildings_Standard_Cleaned_And_Cost.xml",
         "Basisgebäude 999"},
        {{{"prep-failures/RecordWithoutUpgradeList.xml", "XMLP/Buildings.xml"}},
         NumberDefaultBuffs,
         "Buildings.xml",
         "Values/UpgradeList"},
        {{{"prep-failures/DefaultBuffWithLetters.xml", "XMLP/Buildings.xml"}},
         NumberDefaultBuffs,
         "Buildings.xml",
         "\u201E20005028x1\u201C"},
        {{{"prep-failures/RecordWithoutUpgradeList.xml", "XMLP/Buildings.xml"}},
         WriteBuffTable,
         "Buildings.xml",
         "Values/UpgradeList/DefaultBuff"},
        {{{"prep-failures/RecordWithoutUpgradeList.xml", "XMLP/Buildings.xml"}},
         WriteBuildingIndex,
         "Buildings.xml",
         "Values/UpgradeList/DefaultBuff"},
        {{{"prep-failures/IconPathWithPipe.xml", "XMLP/Buildings.xml"}},
         WriteBuildingIndex,
         "Buildings.xml",
         "icon|pipe.png"},
        {{{"prep-failures/UpkeepProductNotInCatalogue.xml", "XMLP/Buildings.xml"}, catalogue},
         WriteNameComments,
         "ProductsShort.xml",
         "1234567"},
        {{{"prep-failures/EmptyCostIngredient.xml", "XMLP/Buildings.xml"}, catalogue},
         WriteNameComments,
         "ProductsShort.xml",
         "Gebäudes 2001"},
        {{}, CopyBuildingIcons, "BuildingIcons_List.txt", "fehlt"},
        {{{"prep-failures/ChainWithoutGuid.xml", "ORG/ProductionChain.xml"},
          {"prep-chains/BuildingsShort.xml", "XMLP/BuildingsShort.xml"}},
         WriteChainList,
         "ProductionChain.xml",
         "Values/Standard/GUID"},
    };
    for (const auto& c : cases) {
        PrepRunDir run;
        for (const auto& [from, to] : c.files)
            run.place(QString::fromUtf8(from), QString::fromUtf8(to));
        try {
            c.step(run.dirs);
            ADD_FAILURE() << "no error for " << c.reason;
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.file))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << e.what();
        }
    }
}

TEST(BuildingsRunner, CommandNamesMissingDirectoriesAndRejectsBadArguments) {
    TempDir temp;
    const QString onlyOrg = temp.file(QStringLiteral("only-org"));
    QDir().mkpath(onlyOrg + QStringLiteral("/ORG"));
    const QString game = temp.file(QStringLiteral("game"));
    QDir().mkpath(game + QStringLiteral("/ORG"));
    for (const QString& file :
         QDir(sourcePath(QStringLiteral("sample-game/ORG"))).entryList(QDir::Files))
        writeBytes(game + QStringLiteral("/ORG/") + file,
                   readBytes(sourcePath(QStringLiteral("sample-game/ORG/")) + file));
    const QString noTmp = temp.file(QStringLiteral("no-tmp"));
    for (const char* sub : {"ORG", "XMLP", "PNG", "icons-source"})
        QDir().mkpath(noTmp + u'/' + QString::fromUtf8(sub));

    const struct {
        QStringList args;
        int exitCode;
        QString inOutput;
    } cases[] = {
        {{QStringLiteral("buildings"), QStringLiteral("--program-dir"),
          temp.file(QStringLiteral("nowhere"))},
         1,
         QStringLiteral("nowhere")},
        {{QStringLiteral("products"), QStringLiteral("--program-dir"), noTmp},
         1,
         QStringLiteral("TMP")},
        {{QStringLiteral("all"), QStringLiteral("--program-dir"), onlyOrg},
         1,
         QStringLiteral("icons-source")},
        {{QStringLiteral("all"), QStringLiteral("--program-dir"), onlyOrg,
          QStringLiteral("--icon-source"), temp.file(QStringLiteral("pictures"))},
         1,
         QStringLiteral("pictures")},
        {{QStringLiteral("rebuild"), QStringLiteral("--program-dir"), onlyOrg},
         2,
         QStringLiteral("Aufruf")},
        {{QStringLiteral("buildings")}, 2, QStringLiteral("Aufruf")},
        {{QStringLiteral("--help")}, 0, QStringLiteral("icons-source")},
        {{QStringLiteral("all"), QStringLiteral("--program-dir"), game,
          QStringLiteral("--icon-source"), sourcePath(QStringLiteral("sample-game/icons"))},
         0,
         QStringLiteral("B1 WriteBuffTable ...\nB13 WriteFieldTable ...\nB14 CopyBuildingIcons "
                        "...\nB15 WriteGroupList ...\n"
                        "B16 WriteChainList ...\nFertig: 208 Gebäude, 232 Produkte,")},
    };
    for (const auto& c : cases) {
        QProcess process;
        process.start(QStringLiteral(VELMORA_BIN_DIR "/velmora-dataprep"), c.args);
        ASSERT_TRUE(process.waitForFinished(30000)) << c.args.join(u' ').toStdString();
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput() +
                                                      process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(output.contains(c.inOutput)) << output.toStdString();
    }
}

// XMLP changes only when a run succeeds: a run that stops at its last step, or one refused
// because another run holds the program directory, leaves every data file as it was.
TEST(BuildingsRunner, DataFilesChangeOnlyWhenTheWholeRunSucceeds) {
    const struct {
        const char* what;
        bool lateStepFails; // ProductionChain.xml, read by the last step, is damaged
        bool otherRunHolds; // another run holds the program directory
        const char* inOutput;
    } cases[] = {
        {"a run stopping at the last step", true, false, "B16"},
        {"a second run at the same time", false, true, "läuft bereits"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameProgramDir program;
        if (c.lateStepFails)
            writeBytes(program.dir + QStringLiteral("/ORG/ProductionChain.xml"),
                       "<AssetList><Asset><Values>"); // cut off
        std::optional<ProgramDirLock> otherRun;
        if (c.otherRunHolds)
            otherRun.emplace(PrepDirectories::forProgramDir(program.dir, QString()));
        const auto [exitCode, output] = program.runAll();
        EXPECT_EQ(exitCode, 1);
        EXPECT_TRUE(output.contains(QString::fromUtf8(c.inOutput))) << output.toStdString();
        for (const char* file : {"Buildings.xml", "BuffsShort.xml", "Help.xml"})
            EXPECT_EQ(readBytes(program.xmlp(file)), QByteArray("before the run: ") + file);
        EXPECT_EQ(QDir(program.dir + QStringLiteral("/XMLP")).entryList(QDir::Files).size(), 3);
        EXPECT_EQ(program.dataFolderEntries(), QStringList(QStringLiteral("XMLP")));
    }
    // Once the way is free, a run replaces the data files and keeps the hand-made help.
    GameProgramDir program;
    const auto [exitCode, output] = program.runAll();
    EXPECT_EQ(exitCode, 0) << output.toStdString();
    EXPECT_EQ(readBytes(program.xmlp("Buildings.xml")),
              readBytes(sourcePath(QStringLiteral("resources/data/XMLP/Buildings.xml"))));
    EXPECT_EQ(readBytes(program.xmlp("Help.xml")), QByteArray("before the run: Help.xml"));
    EXPECT_EQ(program.dataFolderEntries(), QStringList(QStringLiteral("XMLP")));
}

// A run never deletes or writes through a link: neither one a stopped run left at the name of
// the staging folder or of the old folder, nor a data folder that is itself a link. The folder
// a link points to, the user's, keeps what it holds; XMLP ends up a real folder with the new
// data files.
TEST(BuildingsRunner, FoldersALinkPointsToStayAsTheyWere) {
    const struct {
        const char* what;
        const char* link; // the entry of the program directory that is a link
    } cases[] = {
        {"a link at the staging folder's name", "XMLP.cindral-neu"},
        {"a link at the old folder's name", "XMLP.cindral-alt"},
        {"the data folder a link", "XMLP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameProgramDir program;
        const QString users = program.temp.file(QStringLiteral("Eigener Ordner"));
        const QString link = program.dir + u'/' + QString::fromUtf8(c.link);
        if (QFileInfo(link).isDir()) {
            ASSERT_TRUE(QDir().rename(link, users)); // the data files live in the user's folder
        } else {
            writeBytes(users + QStringLiteral("/Buildings.xml"), "gehört dem Spieler");
        }
        ASSERT_TRUE(QFile::link(users, link));
        const QMap<QString, QByteArray> before = snapshot(users);

        const auto [exitCode, output] = program.runAll();
        EXPECT_EQ(exitCode, 0) << output.toStdString();
        EXPECT_EQ(snapshot(users), before);
        EXPECT_EQ(program.dataFolderEntries(), QStringList(QStringLiteral("XMLP")));
        EXPECT_FALSE(QFileInfo(program.dir + QStringLiteral("/XMLP")).isSymLink());
        EXPECT_EQ(readBytes(program.xmlp("Buildings.xml")),
                  readBytes(sourcePath(QStringLiteral("resources/data/XMLP/Buildings.xml"))));
        EXPECT_EQ(readBytes(program.xmlp("Help.xml")), QByteArray("before the run: Help.xml"));
    }
}
