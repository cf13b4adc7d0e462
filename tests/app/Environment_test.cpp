#include "app/AppTestSupport.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::test;

namespace {

// Paths below the test's temporary folder are written with "<T>"; a backslash form tests the
// turning of separators.
struct EnvironmentCase {
    const char* name;
    const char* storedGame;  // GameLocation in the settings key; nullptr: no settings key
    const char* storedMods;  // ModLocation
    const char* gameKey;     // InstallDir of the game's machine-wide key; nullptr: none
    const char* launcherKey; // InstallDir of the launcher's entry; nullptr: none
    const char* chosen;      // the folder chooser's answer ("" cancels); nullptr: not expected
    const char* game;        // expected game directory; nullptr: the program ends
    const char* mods;        // expected mods directory
};

const EnvironmentCase kCases[] = {
    {"StoredLocationIsKeptWithoutLookingElsewhere", "<T>/Müller/Velmora", "<T>/Anderswo/mods/",
     "<T>/Schlüssel", "<T>/Start/", nullptr, "<T>/Müller/Velmora", "<T>/Anderswo/mods/"},
    {"EmptyStoredModLocationMeansTheGamesModsFolder", "<T>/Müller/Velmora", "", nullptr, nullptr,
     nullptr, "<T>/Müller/Velmora", "<T>/Müller/Velmora/mods/"},
    {"MovedGameFallsBackToTheGamesKey", "<T>/Alt/Velmora", "<T>/Alt/Velmora/mods/",
     "<T>\\Schlüssel\\Velmora", nullptr, nullptr, "<T>/Schlüssel/Velmora",
     "<T>/Schlüssel/Velmora/mods/"},
    {"GamesKeyIsTakenWithoutLookingForTheGame", nullptr, nullptr, "<T>/Schlüssel/Velmora",
     "<T>/Start/Velmora/", nullptr, "<T>/Schlüssel/Velmora", "<T>/Schlüssel/Velmora/mods/"},
    {"LauncherValueLosesItsLastCharacter", nullptr, nullptr, nullptr, "<T>\\Start\\Velmora\\",
     nullptr, "<T>/Start/Velmora", "<T>/Start/Velmora/mods/"},
    {"NothingFoundAsksForTheFolderAndCreatesMods", nullptr, nullptr, nullptr, nullptr,
     "<T>/Gewählt", "<T>/Gewählt", "<T>/Gewählt/mods/"},
    {"ChooserCancelledEndsTheProgram", nullptr, nullptr, nullptr, nullptr, "", nullptr, nullptr},
    {"ChosenFolderWithoutTheGameEndsTheProgram", "<T>/Alt/Velmora", "", nullptr, nullptr,
     "<T>/Leer", nullptr, nullptr},
};

void PrintTo(const EnvironmentCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckEnvironmentTest : public ::testing::TestWithParam<EnvironmentCase> {
protected:
    QString at(const char* pattern) const {
        return pattern ? QString::fromUtf8(pattern).replace(QStringLiteral("<T>"), root.path())
                       : QString();
    }
    QString backslashed(const char* pattern) const {
        return pattern && QString::fromUtf8(pattern).contains(QLatin1Char('\\'))
                   ? at(pattern).replace(QLatin1Char('/'), QLatin1Char('\\'))
                   : at(pattern);
    }

    TempDir root;
};

TEST_P(CheckEnvironmentTest, SettlesGameAndModsAndWritesTheSettings) {
    const EnvironmentCase& c = GetParam();
    makeGame(at("<T>/Müller/Velmora"), true);
    makeGame(at("<T>/Gewählt"), false);
    QDir().mkpath(at("<T>/Leer"));
    PortablePlatform platform(at("<T>/registry"));
    const auto put = [&](RegistryHive hive, const QString& key, const QString& name,
                         const QString& value) {
        platform.writeRegistryString(hive, key.toStdWString(), name.toStdWString(),
                                     value.toStdWString());
    };
    if (c.storedGame) {
        put(RegistryHive::CurrentUser, kSettingsKey, kGameLocationValue, at(c.storedGame));
        put(RegistryHive::CurrentUser, kSettingsKey, kModLocationValue, at(c.storedMods));
        put(RegistryHive::CurrentUser, kSettingsKey, QStringLiteral("Veraltet"),
            QStringLiteral("x"));
    }
    if (c.gameKey)
        put(RegistryHive::LocalMachine, kGameKey, kInstallDirValue, backslashed(c.gameKey));
    if (c.launcherKey)
        put(RegistryHive::LocalMachine, kLauncherKey, kInstallDirValue, backslashed(c.launcherKey));
    const QString userRegistry = platform.registryFilePath(RegistryHive::CurrentUser);
    const QByteArray userRegistryBefore =
        QFileInfo::exists(userRegistry) ? readBytes(userRegistry) : QByteArray();

    FakeDialogs dialogs;
    if (c.chosen)
        dialogs.chosenFolder = at(c.chosen);
    Directories dirs = SettleDirectories(at("<T>/Programm"));

    if (!c.game) {
        EXPECT_THROW(CheckEnvironment(platform, dialogs, dirs), StartupAbort);
        EXPECT_EQ(dialogs.errors,
                  QStringList(kStartErrorTitle + QLatin1Char('|') + kNotGameDirText));
        // Nothing is written; a stale key is only deleted.
        if (c.storedGame) {
            EXPECT_FALSE(registryText(userRegistry).contains(kSettingsKey.mid(1)));
        } else {
            EXPECT_EQ(QFileInfo::exists(userRegistry) ? readBytes(userRegistry) : QByteArray(),
                      userRegistryBefore);
        }
        return;
    }

    ASSERT_TRUE(CheckEnvironment(platform, dialogs, dirs));
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dirs.game, at(c.game));
    EXPECT_EQ(dirs.mods, at(c.mods));
    EXPECT_EQ(dialogs.chooserInstructions, c.chosen ? QStringList(kChooseGameText) : QStringList());
    if (!c.storedGame) { // a found or chosen game gets its mods folder
        EXPECT_TRUE(QFileInfo(dirs.mods).isDir()) << c.name;
    }
    if (c.storedGame && c.gameKey &&
        dirs.game == at(c.storedGame)) { // the machine-wide keys were not used
        EXPECT_FALSE(QFileInfo::exists(at(c.gameKey) + QStringLiteral("/mods")));
    }

    // The eight values, in their order, and nothing left of an older key.
    const QString text = registryText(userRegistry);
    QStringList names;
    const QRegularExpression valueLine(QStringLiteral("^\"([^\"]+)\"=\"(.*)\"\r$"),
                                       QRegularExpression::MultilineOption);
    for (auto it = valueLine.globalMatch(text); it.hasNext();)
        names << it.next().captured(1);
    // A valid key is kept as it is; a stale one is deleted with every value in it.
    const bool keptKey = c.storedGame && dirs.game == at(c.storedGame);
    EXPECT_EQ(names.removeAll(QStringLiteral("Veraltet")), keptKey ? 1 : 0);
    EXPECT_EQ(names, kSettingsValueOrder);
    const auto stored = [&](const QString& name) {
        return QString::fromStdWString(platform.readRegistryString(
            RegistryHive::CurrentUser, kSettingsKey.toStdWString(), name.toStdWString()));
    };
    EXPECT_EQ(stored(kGameLocationValue), dirs.game);
    EXPECT_EQ(stored(kModLocationValue), dirs.mods);
    EXPECT_EQ(stored(QStringLiteral("ModLoader")), QStringLiteral("0.8.6"));
    EXPECT_EQ(stored(QStringLiteral("PrgPath")), at("<T>/Programm/"));
    EXPECT_EQ(stored(QStringLiteral("Help")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("DPVer")), GetVersionString(platform));
    EXPECT_FALSE(stored(QStringLiteral("TimeStamp")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Branches, CheckEnvironmentTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckEnvironment, ASecondCopyIsRefusedBeforeAnythingElse) {
    TempDir root;
    PortablePlatform first(root.file(QStringLiteral("registry")));
    PortablePlatform second(root.file(QStringLiteral("registry")));
    FakeDialogs dialogs;
    GuardSingleInstance(first, dialogs);
    Directories dirs = SettleDirectories(root.path());
    EXPECT_THROW(CheckEnvironment(second, dialogs, dirs), StartupAbort);
    EXPECT_EQ(dialogs.errors,
              QStringList(QStringLiteral(
                  "Programmstartfehler|Das Programm <Velmora Cindral> läuft bereits!")));
    EXPECT_TRUE(dialogs.chooserInstructions.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(second.registryFilePath(RegistryHive::CurrentUser)));
}

TEST(SettleDirectories, EveryDirectoryEndsWithASeparator) {
    const Directories dirs = SettleDirectories(QStringLiteral("C:\\Users\\Müller\\Cindral"));
    EXPECT_EQ(dirs.program, QStringLiteral("C:/Users/Müller/Cindral/"));
    EXPECT_EQ(dirs.data, QStringLiteral("C:/Users/Müller/Cindral/XMLP/"));
    EXPECT_EQ(dirs.wor, QStringLiteral("C:/Users/Müller/Cindral/WOR/"));
    EXPECT_EQ(SettleDirectories(QStringLiteral("/opt/x/")).org, QStringLiteral("/opt/x/ORG/"));
}

TEST(EnvironmentQueries, VersionAndUserName) {
    TempDir root;
    PortablePlatform platform(root.path());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                    .match(GetVersionString(platform))
                    .hasMatch());
    EXPECT_FALSE(GetWindowsUserName(platform).isEmpty());
}

} // namespace
