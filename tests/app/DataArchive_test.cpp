#include "app/AppTestSupport.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::test;

namespace {

// A program folder beside a stand-in game that the game's machine-wide key names.
class StartupTest : public ::testing::Test {
protected:
    StartupTest() : platform(root.file(QStringLiteral("registry"))) {
        makeGame(root.file(QStringLiteral("Spiel")), true);
        platform.writeRegistryString(RegistryHive::LocalMachine, kGameKey.toStdWString(),
                                     kInstallDirValue.toStdWString(),
                                     root.file(QStringLiteral("Spiel")).toStdWString());
    }
    QString programDir() const {
        return root.file(QStringLiteral("Programm für Müller")) + QLatin1Char('/');
    }
    QString dataDir() const { return programDir() + QStringLiteral("XMLP/"); }
    QStringList programDirEntries() const {
        return QDir(programDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TempDir root;
    PortablePlatform platform;
    FakeDialogs dialogs;
};

TEST_F(StartupTest, FirstStartUnpacksEveryFileAndRemovesTheArchive) {
    QDir().mkpath(programDir());
    const StartupResult started = RunStartup(platform, dialogs, programDir());
    const Directories& dirs = started.dirs;
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    // The group list and the help table, loaded once, are handed on to the main window.
    EXPECT_EQ(started.groupNames, velmora::data::ReadGroupNames(dataDir()));
    EXPECT_EQ(velmora::data::GetHelpLabel(QStringLiteral("11")), QStringLiteral("Region"));
    EXPECT_EQ(dirs.data, dataDir());
    EXPECT_EQ(programDirEntries(),
              QStringList(QStringLiteral("XMLP"))); // no xmlp.zip, no staging folder
    const QString shipped = sourcePath(QStringLiteral("resources/data/XMLP"));
    QStringList expected = velmora::data::kDataArchiveFiles;
    expected.sort();
    EXPECT_EQ(QDir(dataDir()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString& name : velmora::data::kDataArchiveFiles)
        EXPECT_EQ(readBytes(dataDir() + name), readBytes(shipped + QLatin1Char('/') + name))
            << name.toStdString();
}

TEST_F(StartupTest, AnExistingDataDirectoryIsNeverTouched) {
    copyShippedData(dataDir());
    QFile::remove(dataDir() +
                  velmora::data::kBuildingIndexFile); // incomplete, yet not unpacked again
    writeBytes(dataDir() + velmora::data::kWorkingAssetsFile, "<AssetList/>");
    const auto before = snapshot(programDir());
    RunStartup(platform, dialogs, programDir());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(snapshot(programDir()), before);
}

// Archives that must not be extracted; each fixture is named after its defect.
struct RefusedArchive {
    const char* fixture;
    const char* reason; // the German end of the message, after "kann nicht entpackt werden: "
};

void PrintTo(const RefusedArchive& c, std::ostream* os) {
    *os << c.fixture;
}

class RefusedArchiveTest : public StartupTest,
                           public ::testing::WithParamInterface<RefusedArchive> {};

TEST_P(RefusedArchiveTest, NothingIsExtractedAndTheArchiveIsDeleted) {
    QDir().mkpath(programDir());
    const Directories dirs = SettleDirectories(programDir());
    const QByteArray archive =
        readBytes(fixture(QStringLiteral("app/") + QString::fromUtf8(GetParam().fixture)));
    EXPECT_FALSE(UnpackArchive(archive, dirs, dialogs));
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0],
              QStringLiteral("Programmabbruch|Das Datenarchiv \u201E%1\u201C kann nicht entpackt "
                             "werden: %2")
                  .arg(programDir() + kArchiveFileName, QString::fromUtf8(GetParam().reason)));
    EXPECT_TRUE(programDirEntries().isEmpty())
        << programDirEntries().join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.file(QStringLiteral("Entkommen.xml"))));
}

INSTANTIATE_TEST_SUITE_P(
    Defects, RefusedArchiveTest,
    ::testing::Values(
        RefusedArchive{"EntryLeavingProgramDir.zip",
                       "Unzulässiger Eintrag \u201E../Entkommen.xml\u201C."},
        RefusedArchive{"EntryOutsideDataFolder.zip",
                       "Unzulässiger Eintrag \u201EAnderes/Entkommen.xml\u201C."},
        RefusedArchive{"EntryClimbingOutOfDataFolder.zip",
                       "Unzulässiger Eintrag \u201EXMLP/../../Entkommen.xml\u201C."},
        RefusedArchive{"AbsoluteEntry.zip", "Unzulässiger Eintrag \u201E/tmp/Entkommen.xml\u201C."},
        RefusedArchive{"BackslashEntry.zip",
                       "Unzulässiger Eintrag \u201EXMLP\\..\\..\\Entkommen.xml\u201C."},
        RefusedArchive{"TruncatedArchive.zip", "Die Datei ist kein ZIP-Archiv."},
        RefusedArchive{"NotAZipArchive.zip", "Die Datei ist kein ZIP-Archiv."},
        RefusedArchive{"EntryWithWrongChecksum.zip",
                       "Der Eintrag \u201EXMLP/Help.xml\u201C kann nicht gelesen werden. Die "
                       "Prüfsumme eines Eintrags stimmt nicht."},
        // found by fuzzing: 157 bytes declaring an entry of 4 GiB, once allocated before reading
        RefusedArchive{"EntryDeclaringFourGigabytes.zip",
                       "Der Eintrag \u201EXMLP/\u2555./,./  EnXM'L/P/.x\u201C kann nicht gelesen "
                       "werden. Fehler 18 der ZIP-Bibliothek."}));

// The program folder's name reaches the ZIP library intact, whatever its letters.
TEST_F(StartupTest, AProgramFolderWithUmlautsIsUnpacked) {
    const Directories dirs = SettleDirectories(root.file(QStringLiteral("Jürgen ß")));
    QDir().mkpath(dirs.program);
    EXPECT_TRUE(UnpackDataArchive(dirs, dialogs));
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFileInfo::exists(dirs.data + velmora::data::kHelpFile));
    EXPECT_FALSE(QFileInfo::exists(dirs.program + kArchiveFileName));
}

TEST_F(StartupTest, AnUnwritableProgramDirectoryIsReportedOnce) {
    writeBytes(root.file(QStringLiteral("Datei")), "not a folder");
    const Directories dirs = SettleDirectories(root.file(QStringLiteral("Datei")));
    EXPECT_FALSE(UnpackDataArchive(dirs, dialogs));
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Programmabbruch|")));
}

// Start-up files that are missing or damaged hold no player data: the start takes them from the
// program's data archive without a word and changes nothing else.
struct DamagedStartupFile {
    const char* fileName; // as placed into the data directory
    const char* fixture;  // nullptr: the file is missing
};

void PrintTo(const DamagedStartupFile& c, std::ostream* os) {
    *os << c.fileName << " <- " << (c.fixture ? c.fixture : "missing");
}

class DamagedStartupFileTest : public StartupTest,
                               public ::testing::WithParamInterface<DamagedStartupFile> {};

TEST_P(DamagedStartupFileTest, IsTakenFromTheArchiveAndNothingElseChanges) {
    const DamagedStartupFile& c = GetParam();
    copyShippedData(dataDir());
    const QString target = dataDir() + QString::fromUtf8(c.fileName);
    if (c.fixture)
        writeBytes(target,
                   readBytes(fixture(QStringLiteral("app/") + QString::fromUtf8(c.fixture))));
    else
        QFile::remove(target);
    auto before = snapshot(programDir());
    RunStartup(platform, dialogs, programDir());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_EQ(readBytes(target), readBytes(sourcePath(QStringLiteral("resources/data/XMLP/")) +
                                           QString::fromUtf8(c.fileName)));
    auto after = snapshot(programDir());
    const QString key = QStringLiteral("XMLP/") + QString::fromUtf8(c.fileName);
    before.remove(key);
    after.remove(key);
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedStartupFileTest,
                         ::testing::Values(DamagedStartupFile{"Help.xml", "TruncatedHelp.xml"},
                                           DamagedStartupFile{"Help.xml", "HelpWithWrongRoot.xml"},
                                           DamagedStartupFile{"BuildingGroups.xml",
                                                              "MismatchedGroupList.xml"},
                                           DamagedStartupFile{"BuildingGroups.xml", nullptr}));

TEST(EmbeddedFont, RegistersHeuristica) {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    EXPECT_TRUE(LoadEmbeddedFont());
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Heuristica")));
    EXPECT_TRUE(
        QFontDatabase::isSmoothlyScalable(QStringLiteral("Heuristica"), QStringLiteral("Bold")));
}

} // namespace
