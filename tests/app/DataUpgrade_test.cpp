// A new program version on the data directory of an older one, and the notice of a game that was
// updated since the data was made. The new data is derived from the stand-in game's second
// version (velmora-standin --update) by velmora-dataprep, as a release would be made.
#include "app/AppTestSupport.h"
#include "app/DataUpgrade.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/DataVersion.h"
#include "data/HelpTable.h"
#include "data/ProductionSettings.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>
#include <zip.h>

using namespace velmora;
using namespace velmora::app;
using namespace velmora::data;
using namespace velmora::test;

namespace {

const QString kBakery = QStringLiteral("1010402");
const QString kGrainFarm = QStringLiteral("1010262");
const QString kLobsterFishery = QStringLiteral("118729");
const QString kFishery = QStringLiteral("1010278");
const QString kBeer = QStringLiteral("1010214");

void runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(VELMORA_BIN_DIR "/") + tool, arguments);
    ASSERT_TRUE(process.waitForFinished(600000)) << tool.toStdString();
    ASSERT_EQ(process.exitCode(), 0)
        << tool.toStdString() << ": " << process.readAll().toStdString();
}

// A data archive of every file of folder, as the build packs one (entries "XMLP/<name>").
QByteArray archiveOf(const QString& folder, const QString& zipPath) {
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    EXPECT_NE(archive, nullptr);
    std::vector<QByteArray> kept;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        kept.push_back(readBytes(QDir(folder).filePath(name)));
        zip_source_t* source =
            zip_source_buffer(archive, kept.back().constData(), kept.back().size(), 0);
        zip_file_add(archive, ("XMLP/" + name).toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    }
    EXPECT_EQ(zip_close(archive), 0);
    return readBytes(zipPath);
}

// The game's second version and the data a new program version ships for it.
struct NewRelease {
    TempDir dir;
    QString data, game;
    QByteArray archive;

    NewRelease() {
        const QString program = dir.file(QStringLiteral("program"));
        game = dir.file(QStringLiteral("game"));
        runTool(QStringLiteral("velmora-standin"),
                {QStringLiteral("--update"), QStringLiteral("--out"),
                 program + QStringLiteral("/ORG"), QStringLiteral("--executable"),
                 game + QStringLiteral("/Bin/Win64/Velmora.exe")});
        runTool(QStringLiteral("velmora-dataprep"),
                {QStringLiteral("all"), QStringLiteral("--program-dir"), program,
                 QStringLiteral("--icon-source"), sourcePath(QStringLiteral("sample-game/icons")),
                 QStringLiteral("--game-dir"), game, QStringLiteral("--game-version"),
                 QStringLiteral("2.0")});
        data = program + QStringLiteral("/XMLP");
        // The hand-made files of the archive, as resources/data holds them.
        for (const QString& name : {kHelpFile, kActivePictureFile})
            QFile::copy(sourcePath(QStringLiteral("resources/data/XMLP/")) + name,
                        QDir(data).filePath(name));
        archive = archiveOf(data, dir.file(QStringLiteral("xmlp.zip")));
    }
};

const NewRelease& newRelease() {
    static const NewRelease release;
    return release;
}

// The data directory of the older program version: the shipped data of the first game version,
// its version file naming program 0.9.0.0 and its help table without the newest texts.
void makeOldData(const QString& dir) {
    copyShippedData(dir);
    DataVersion version =
        ReadDataVersion(readBytes(QDir(dir).filePath(kDataVersionFile)), kDataVersionFile);
    version.program = QStringLiteral("0.9.0.0");
    writeBytes(QDir(dir).filePath(kDataVersionFile), WriteDataVersion(version));
    QByteArray help = readBytes(QDir(dir).filePath(kHelpFile));
    const qsizetype label = help.indexOf("<Label>", help.indexOf("<GUID>26</GUID>"));
    ASSERT_GT(label, 0);
    help.insert(label + 7, "ALT ");
    writeBytes(QDir(dir).filePath(kHelpFile), help);
}

// Edits as a player makes them in the windows.
void bakeryOutput(const QString& dir) {
    ProductionSettings bakery = LoadProductionSettings(dir, kBakery);
    bakery.current.outputAmount = QStringLiteral("2");
    ApplyProductionSettings(dir, kBakery, bakery);
}
void bakeryUpkeep(const QString& dir) { // the new game changes it from 60 to 70
    ProductionSettings bakery = LoadProductionSettings(dir, kBakery);
    bakery.current.moneyAmount = QStringLiteral("90");
    ApplyProductionSettings(dir, kBakery, bakery);
}
void grainFarmBeer(const QString& dir) {
    AdditionalProducts extra = LoadAdditionalProducts(dir, kGrainFarm);
    extra.goods[0] = {kBeer, QStringLiteral("Bier"), QStringLiteral("icon_beer"),
                      QStringLiteral("2"), QStringLiteral("5")};
    const BuffApplyResult buff =
        ApplyAdditionalProducts(dir, kGrainFarm, extra.goods, extra.fertilityGuid);
    ProductionSettings farm = LoadProductionSettings(dir, kGrainFarm);
    farm.hasBuff = buff.hasBuff;
    ApplyProductionSettings(dir, kGrainFarm, farm);
}
void lobsterCosts(const QString& dir) { // the new game no longer has the lobster fishery
    ProductionSettings lobster = LoadProductionSettings(dir, kLobsterFishery);
    lobster.current.moneyAmount = QStringLiteral("45");
    ApplyProductionSettings(dir, kLobsterFishery, lobster);
}

void bakeryActive(const QString& dir) { // its mod is in the game's mods directory
    SetBuildingFlag(dir, kBakery, kBuildingIsExported, true);
}

using Edit = std::function<void(const QString&)>;

struct UpgradeCase {
    const char* name;
    std::vector<Edit> old;     // made in the old data
    std::vector<Edit> carried; // what the new data must hold, made there by hand
    ImportChoice conflictChoice;
    bool previewShown;
};

void PrintTo(const UpgradeCase& c, std::ostream* os) {
    *os << c.name;
}

class DataUpgradeTest : public ::testing::TestWithParam<UpgradeCase> {};

TEST_P(DataUpgradeTest, CarriesTheEditsKeepsABackupAndTakesTheNewHelp) {
    const UpgradeCase& c = GetParam();
    const NewRelease& release = newRelease();
    TempDir root;
    const QString data = root.file(QStringLiteral("XMLP"));
    makeOldData(data);
    for (const Edit& edit : c.old)
        edit(data + QLatin1Char('/'));
    const auto old = snapshot(data);

    const QString expected = root.file(QStringLiteral("expected"));
    ASSERT_TRUE(QDir().mkpath(expected));
    for (const QString& name : QDir(release.data).entryList(QDir::Files))
        QFile::copy(QDir(release.data).filePath(name), QDir(expected).filePath(name));
    for (const Edit& edit : c.carried)
        edit(expected + QLatin1Char('/'));

    ASSERT_TRUE(DataUpgradeNeeded(release.archive, data));
    FakeDialogs dialogs;
    dialogs.conflictChoice = c.conflictChoice;
    const QDate day(2026, 12, 11);
    const DataUpgradeResult result = UpgradeDataDirectory(release.archive, data, dialogs, day);
    EXPECT_TRUE(result.upgraded);
    EXPECT_EQ(result.reviewed, c.previewShown);
    EXPECT_EQ(dialogs.previews.size(), c.previewShown ? 1u : 0u);

    EXPECT_EQ(snapshot(data), snapshot(expected));
    EXPECT_EQ(result.backup, root.file(QStringLiteral("XMLP-0.9.0.0-2026-12-11")));
    EXPECT_EQ(snapshot(result.backup), old);
    EXPECT_EQ(readBytes(QDir(data).filePath(kHelpFile)),
              readBytes(sourcePath(QStringLiteral("resources/data/XMLP/Help.xml"))));
    QStringList beside =
        QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    beside.sort();
    EXPECT_EQ(beside,
              QStringList({QStringLiteral("XMLP"), QStringLiteral("XMLP-0.9.0.0-2026-12-11"),
                           QStringLiteral("expected")}));
    EXPECT_FALSE(DataUpgradeNeeded(release.archive, data));
}

INSTANTIATE_TEST_SUITE_P(OldEdits, DataUpgradeTest,
                         ::testing::Values(UpgradeCase{"None", {}, {}, ImportChoice::Skip, false},
                                           UpgradeCase{"Some",
                                                       {bakeryOutput, grainFarmBeer},
                                                       {bakeryOutput, grainFarmBeer},
                                                       ImportChoice::Skip,
                                                       false},
                                           UpgradeCase{"ConflictKeepsTheEditedValue",
                                                       {bakeryOutput, bakeryUpkeep},
                                                       {bakeryOutput, bakeryUpkeep},
                                                       ImportChoice::Edited,
                                                       true},
                                           UpgradeCase{"ConflictTakesTheNewGameValue",
                                                       {bakeryOutput, bakeryUpkeep},
                                                       {bakeryOutput},
                                                       ImportChoice::Game,
                                                       true},
                                           UpgradeCase{"AnActiveModStaysMarked",
                                                       {bakeryOutput, bakeryActive},
                                                       {bakeryOutput, bakeryActive},
                                                       ImportChoice::Skip,
                                                       false},
                                           UpgradeCase{"BuildingGoneFromTheNewData",
                                                       {lobsterCosts, grainFarmBeer},
                                                       {grainFarmBeer},
                                                       ImportChoice::Skip,
                                                       true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DataUpgrade, ACancelledPreviewKeepsTheOldDirectoryAndLeavesNothingBeside) {
    TempDir root;
    const QString data = root.file(QStringLiteral("XMLP"));
    makeOldData(data);
    lobsterCosts(data + QLatin1Char('/'));
    const auto old = snapshot(root.path());
    FakeDialogs dialogs;
    dialogs.cancelUpgrade = true;
    const DataUpgradeResult result =
        UpgradeDataDirectory(newRelease().archive, data, dialogs, QDate(2026, 12, 11));
    EXPECT_FALSE(result.upgraded);
    ASSERT_EQ(dialogs.previews.size(), 1u);
    EXPECT_EQ(dialogs.previews[0],
              QStringList({QStringLiteral("Hummerfischerei (118729), Betriebskosten: nicht "
                                          "anwendbar: Das Gebäude 118729 gibt es in diesen "
                                          "Spieldaten nicht.")}));
    EXPECT_EQ(snapshot(root.path()), old);
}

// The start of the new program version on the data of an old one without a version file: the
// data is upgraded (here to the running program's own archive), the help is the new one, the
// player is told once, and the next start leaves everything as it is.
class StartupUpgradeTest : public ::testing::Test {
protected:
    StartupUpgradeTest() : platform(root.file(QStringLiteral("registry"))) {
        makeGame(root.file(QStringLiteral("Spiel")), true);
        platform.writeRegistryString(RegistryHive::LocalMachine, kGameKey.toStdWString(),
                                     kInstallDirValue.toStdWString(),
                                     root.file(QStringLiteral("Spiel")).toStdWString());
    }
    QString programDir() const { return root.file(QStringLiteral("Programm")) + QLatin1Char('/'); }
    QString dataDir() const { return programDir() + kDataFolder; }

    TempDir root;
    PortablePlatform platform;
    FakeDialogs dialogs;
};

TEST_F(StartupUpgradeTest, AnOldDataDirectoryIsUpgradedOnceWithItsEdits) {
    makeOldData(dataDir());
    QFile::remove(QDir(dataDir()).filePath(kDataVersionFile)); // before the version file
    bakeryOutput(dataDir() + QLatin1Char('/'));
    RunStartup(platform, dialogs, programDir());
    ASSERT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join(u'\n').toStdString();
    const QString backup =
        programDir() + QStringLiteral("XMLP-alt-") + QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(dialogs.errors[0],
              kDataUpgradeTitle +
                  QStringLiteral("|Die Daten der neuen Programmversion sind eingerichtet. Ihre "
                                 "Änderungen wurden übernommen: 1 Felder in 1 Gebäuden "
                                 "(Baeckerei (1010402)).\rDie bisherigen Daten liegen als "
                                 "Sicherung in „%1“. Aktivieren Sie geänderte Gebäude erneut, "
                                 "damit ihre Mods die neuen Spielwerte enthalten.")
                      .arg(QDir::toNativeSeparators(backup)));
    EXPECT_EQ(LoadProductionSettings(dataDir() + QLatin1Char('/'), kBakery).current.outputAmount,
              QStringLiteral("2"));
    EXPECT_EQ(readBytes(QDir(dataDir()).filePath(kHelpFile)),
              readBytes(sourcePath(QStringLiteral("resources/data/XMLP/Help.xml"))));
    EXPECT_TRUE(QFileInfo(backup).isDir());

    const auto after = snapshot(programDir());
    dialogs.errors.clear();
    RunStartup(platform, dialogs, programDir());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_EQ(snapshot(programDir()), after);
}

// The files without player data come from the running program's archive at every start, also
// when they were damaged; the files with edits stay.
TEST_F(StartupUpgradeTest, FilesWithoutPlayerDataAreTakenFromTheArchive) {
    copyShippedData(dataDir());
    bakeryOutput(dataDir() + QLatin1Char('/'));
    writeBytes(QDir(dataDir()).filePath(kHelpFile), "<TextExport><Texts/></TextExport>");
    QFile::remove(QDir(dataDir()).filePath(kGroupListFile));
    writeBytes(QDir(dataDir()).filePath(kActivePictureFile), "kein Bild");
    const QByteArray working = readBytes(QDir(dataDir()).filePath(kWorkingAssetsFile));
    RunStartup(platform, dialogs, programDir());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    for (const QString& name : kProgramOwnedFiles)
        EXPECT_EQ(readBytes(QDir(dataDir()).filePath(name)),
                  readBytes(sourcePath(QStringLiteral("resources/data/XMLP/")) + name))
            << name.toStdString();
    EXPECT_EQ(readBytes(QDir(dataDir()).filePath(kWorkingAssetsFile)), working);
}

// The game updated to the stand-in's second version while the data is the first's: the start
// says so once, naming the active mods; a start with the data's own game says nothing.
TEST_F(StartupUpgradeTest, AnUpdatedGameIsNamedOncePerExecutable) {
    copyShippedData(dataDir());
    SetBuildingFlag(dataDir() + QLatin1Char('/'), kFishery, kBuildingIsExported, true);
    RunStartup(platform, dialogs, programDir());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();

    const QString executable = root.file(QStringLiteral("Spiel/Bin/Win64/Velmora.exe"));
    writeBytes(executable, readBytes(newRelease().game + QStringLiteral("/Bin/Win64/Velmora.exe")));
    RunStartup(platform, dialogs, programDir());
    ASSERT_EQ(dialogs.errors.size(), 1);
    const QString notice = dialogs.errors[0];
    EXPECT_TRUE(notice.startsWith(kGameUpdateTitle + QStringLiteral("|Das Spiel wurde seit der "
                                                                    "Erstellung der Daten")))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains(QStringLiteral("Spielversion 1.0")));
    EXPECT_TRUE(notice.contains(QStringLiteral("Diese aktiven Mods können nun alte Werte "
                                               "enthalten und die neuen des Spiels "
                                               "überschreiben: Fischerei (1010278).")))
        << notice.toStdString();
    EXPECT_TRUE(notice.endsWith(QStringLiteral("Bis dahin können Sie diese Mods mit "
                                               "„Deaktivieren“ entfernen oder behalten.")));

    dialogs.errors.clear();
    RunStartup(platform, dialogs, programDir());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();

    // A further update of the game is named again.
    writeBytes(executable, readBytes(executable) + "Version 3\n");
    RunStartup(platform, dialogs, programDir());
    EXPECT_EQ(dialogs.errors.size(), 1);
}

} // namespace
