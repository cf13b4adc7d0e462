#include "app/AppTestSupport.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "support/ScriptedWriter.h"
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

// A stand-in game "Spiel" below root, named by the game's machine-wide key.
void installGameWithKey(const TempDir& root, Platform& platform) {
    makeGame(root.file(QStringLiteral("Spiel")), true);
    platform.writeRegistryString(RegistryHive::LocalMachine, kGameKey.toStdWString(),
                                 kInstallDirValue.toStdWString(),
                                 root.file(QStringLiteral("Spiel")).toStdWString());
}

// A settings file of the older export kind is 8-bit text in code page 1252: a game folder with
// umlauts is found where it is, and no folder is made up from replacement characters.
TEST(CheckEnvironment, AGameFolderStoredByAnOlderExportIsFoundAsWritten) {
    TempDir root;
    const QString game = root.file(QStringLiteral("Velmora Ü ß"));
    makeGame(game, true);
    PortablePlatform platform(root.file(QStringLiteral("registry")));
    QDir().mkpath(root.file(QStringLiteral("registry")));
    const QString escaped = QString(game).replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    writeBytes(platform.registryFilePath(RegistryHive::CurrentUser),
               (QStringLiteral("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER") + kSettingsKey +
                QStringLiteral("]\r\n\"GameLocation\"=\"") + escaped +
                QStringLiteral("\"\r\n\"ModLocation\"=\"\"\r\n\r\n"))
                   .toLatin1());
    FakeDialogs dialogs;
    Directories dirs = SettleDirectories(root.file(QStringLiteral("Programm")));
    ASSERT_TRUE(CheckEnvironment(platform, dialogs, dirs));
    EXPECT_EQ(dirs.game, game);
    EXPECT_TRUE(dialogs.chooserInstructions.isEmpty());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    QStringList folders = QDir(root.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort();
    EXPECT_EQ(folders, QStringList({QStringLiteral("Velmora Ü ß"), QStringLiteral("registry")}));
}

// A settings file that can not be read is never replaced: the game is looked for as if there
// were no settings, and the refusal is shown once, although deleting and writing both fail.
TEST(CheckEnvironment, AnUnreadableSettingsFileIsReportedOnceAndLeftAsItIs) {
    TempDir root;
    PortablePlatform platform(root.file(QStringLiteral("registry")));
    installGameWithKey(root, platform);
    const QString path = platform.registryFilePath(RegistryHive::CurrentUser);
    const QByteArray before =
        readBytes(fixture(QStringLiteral("app/registry/Utf16WithOddLength.reg")));
    writeBytes(path, before);
    FakeDialogs dialogs;
    Directories dirs = SettleDirectories(root.file(QStringLiteral("Programm")));
    ASSERT_TRUE(CheckEnvironment(platform, dialogs, dirs));
    EXPECT_EQ(dirs.game, root.file(QStringLiteral("Spiel")));
    ASSERT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(dialogs.errors[0].startsWith(kStartErrorTitle +
                                             QStringLiteral("|Die Registrierungsdatei")));
    EXPECT_EQ(readBytes(path), before);
}

// The settings of a start are written in one save of the settings file.
TEST(CheckEnvironment, TheEightValuesAreWrittenInOneSave) {
    TempDir root;
    makeGame(root.file(QStringLiteral("Spiel")), true);
    ScriptedWriter writer;
    PortablePlatform platform(root.file(QStringLiteral("registry")), writer);
    platform.writeRegistryString(RegistryHive::CurrentUser, kSettingsKey.toStdWString(),
                                 kGameLocationValue.toStdWString(),
                                 root.file(QStringLiteral("Spiel")).toStdWString());
    writer.calls.clear();
    FakeDialogs dialogs;
    Directories dirs = SettleDirectories(root.file(QStringLiteral("Programm")));
    ASSERT_TRUE(CheckEnvironment(platform, dialogs, dirs));
    EXPECT_EQ(writer.calls, QStringList({QStringLiteral("write HKEY_CURRENT_USER.reg") +
                                             velmora::data::kNewFileSuffix,
                                         QStringLiteral("replace HKEY_CURRENT_USER.reg")}));
}

// A settings file that holds a whole exported hive: the start reads the program's key among
// 40,000 others and keeps every other key. How long it takes is measured by settings_bench.
TEST(CheckEnvironment, ASettingsFileWithFortyThousandKeysKeepsEveryOtherKey) {
    TempDir root;
    makeGame(root.file(QStringLiteral("Spiel")), true);
    PortablePlatform platform(root.file(QStringLiteral("registry")));
    QDir().mkpath(root.file(QStringLiteral("registry")));
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (int i = 0; i < 40000; ++i)
        text += QStringLiteral("[HKEY_CURRENT_USER\\Software\\Firma %1\\Teil]\r\n"
                               "\"Wert\"=\"%1\"\r\n\r\n")
                    .arg(i);
    text +=
        QStringLiteral("[HKEY_CURRENT_USER") + kSettingsKey + QStringLiteral("]\r\n") +
        QStringLiteral("\"GameLocation\"=\"%1\"\r\n\r\n").arg(root.file(QStringLiteral("Spiel")));
    const QString path = platform.registryFilePath(RegistryHive::CurrentUser);
    writeBytes(path, text.toUtf8());
    FakeDialogs dialogs;
    Directories dirs = SettleDirectories(root.file(QStringLiteral("Programm")));
    ASSERT_TRUE(CheckEnvironment(platform, dialogs, dirs));
    EXPECT_EQ(dirs.game, root.file(QStringLiteral("Spiel")));
    EXPECT_EQ(platform.readRegistryString(RegistryHive::CurrentUser, L"Software\\Firma 39999\\Teil",
                                          L"wert"),
              L"39999");
}

// The version is part of the settings: when the system can not tell it, the start ends with
// the system's message before the registry is touched, whatever it holds.
class NoVersionPlatform final : public Platform {
public:
    explicit NoVersionPlatform(Platform& registry) : registry_(registry) {}
    std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                    const std::wstring& name) override {
        return registry_.readRegistryString(hive, key, name);
    }
    void writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                              const std::vector<RegistryValue>& values) override {
        registry_.writeRegistryStrings(hive, key, values);
    }
    void deleteRegistryKey(RegistryHive hive, const std::wstring& key) override {
        registry_.deleteRegistryKey(hive, key);
    }
    bool holdSingleInstance(const std::wstring& name) override {
        return registry_.holdSingleInstance(name);
    }
    std::wstring folderIdentity(const std::wstring& path) override {
        return registry_.folderIdentity(path);
    }
    std::wstring userName() override { return registry_.userName(); }
    std::wstring versionString() override {
        throw PlatformError(
            L"Die Versionsinformation kann nicht gelesen werden: Zugriff verweigert.");
    }
    wchar_t pathSeparator() const override { return registry_.pathSeparator(); }

private:
    Platform& registry_;
};

struct NoVersionCase {
    const char* name;
    const char* storedGame; // GameLocation: "<T>" for the test folder; nullptr: no settings key
};

void PrintTo(const NoVersionCase& c, std::ostream* os) {
    *os << c.name;
}

class NoVersionTest : public ::testing::TestWithParam<NoVersionCase> {};

TEST_P(NoVersionTest, EndsTheStartBeforeTheRegistryIsTouched) {
    TempDir root;
    PortablePlatform registry(root.file(QStringLiteral("registry")));
    installGameWithKey(root, registry);
    if (GetParam().storedGame)
        registry.writeRegistryString(RegistryHive::CurrentUser, kSettingsKey.toStdWString(),
                                     kGameLocationValue.toStdWString(),
                                     QString::fromUtf8(GetParam().storedGame)
                                         .replace(QStringLiteral("<T>"), root.path())
                                         .toStdWString());
    const auto before = snapshot(root.file(QStringLiteral("registry")));
    NoVersionPlatform platform(registry);
    FakeDialogs dialogs;
    Directories dirs = SettleDirectories(root.file(QStringLiteral("Programm")));
    EXPECT_THROW(CheckEnvironment(platform, dialogs, dirs), StartupAbort);
    EXPECT_EQ(dialogs.errors, QStringList(kStartErrorTitle +
                                          QStringLiteral("|Die Versionsinformation kann nicht "
                                                         "gelesen werden: Zugriff verweigert.")));
    EXPECT_TRUE(dialogs.chooserInstructions.isEmpty());
    auto after = snapshot(root.file(QStringLiteral("registry")));
    dropStartLocks(after);
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Settings, NoVersionTest,
                         ::testing::Values(NoVersionCase{"ValidKeyIsNotRewritten", "<T>/Spiel"},
                                           NoVersionCase{"StaleKeyIsNotDeleted", "<T>/Fort"},
                                           NoVersionCase{"MissingKeyIsNotCreated", nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
