// The bad-input catalogue of the start: a program folder with a copy of the shipped data, a
// registry folder and a stand-in game that the game's machine-wide key names; one input of the
// start damaged in one way, then the whole start-up run. A damaged data file ends the start
// with a German message naming it; a settings file that can not be read is reported naming it
// and the start goes on without it; a file in another encoding that the reader knows is read.
// No file is changed but the settings file, which a start that goes on is meant to write.
#include "app/AppTestSupport.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "app/platform/portable/RegistryFile.h"
#include "data/DataFiles.h"
#include "support/BadInput.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora::app;
using namespace velmora::test;
using velmora::data::kGroupListFile;
using velmora::data::kHelpFile;

namespace {

enum class Outcome {
    Ends,    // the start ends with one message naming the file
    GoesOn,  // one message naming the file, then the start goes on without it
    Reads,   // no message: the file is read as the intact one
    Renewed, // no message: the file is written anew from the program's data archive
};

struct StartupInputCase {
    std::string name;
    QString file; // the damaged input, below the workspace
    std::function<void(const QString& path)> damage;
    Outcome outcome;
};

void PrintTo(const StartupInputCase& c, std::ostream* os) {
    *os << c.name;
}

const QString kSettingsFile = QStringLiteral("registry/HKEY_CURRENT_USER.reg");
const QString kMachineFile = QStringLiteral("registry/HKEY_LOCAL_MACHINE.reg");

std::function<void(const QString&)> withFixture(const char* name) {
    return [name](const QString& path) {
        writeBytes(path,
                   readBytes(fixture(QStringLiteral("app/registry/") + QString::fromUtf8(name))));
    };
}

// A settings file of 50 MB in the registry editor's format: 500,000 keys of other programs
// (UTF-8, as other programs write it), the program's own key last. Made at test time.
void fiftyMegabytes(const QString& path) {
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    text.reserve(52 * 1024 * 1024);
    for (int i = 0; text.size() < 50 * 1024 * 1024; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\Firma " + QByteArray::number(i) +
                "\\Teil]\r\n\"Wert\"=\"" + QByteArray(60, 'x') + "\"\r\n\r\n";
    writeBytes(path, text);
}

std::vector<StartupInputCase> everyCase() {
    std::vector<StartupInputCase> cases;
    // The two data files the start reads, in every damage kind. Neither holds player data, so
    // each start takes them from the program's data archive when they differ from its own.
    for (const QString& file : {kHelpFile, kGroupListFile}) {
        for (Damage d :
             {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Binary, Damage::Utf16,
              Damage::Utf16Cut, Damage::Windows1252, Damage::WrongRoot, Damage::NulAfterRoot}) {
            QString stem = file;
            stem.remove(QStringLiteral(".xml"));
            cases.push_back({stem.toStdString() + "_" + damageName(d),
                             QStringLiteral("Programm/XMLP/") + file,
                             [d](const QString& path) { damageFile(path, d); }, Outcome::Renewed});
        }
    }
    // Settings files: damaged ones are refused, those of other programs' encodings read.
    const struct {
        const char* name;
        const char* fixture; // below tests/fixtures/app/registry
        Outcome outcome;
    } settings[] = {
        {"Settings_Binary", "BinaryJunk.reg", Outcome::GoesOn},
        {"Settings_NoRegistryExport", "NoRegistryExport.reg", Outcome::GoesOn},
        {"Settings_InvalidUtf8", "Version5WithInvalidUtf8.reg", Outcome::GoesOn},
        {"Settings_Utf16Truncated", "Utf16WithOddLength.reg", Outcome::GoesOn},
        {"Settings_Utf16WithoutBom", "Utf16WithoutBomLosesKeys.reg", Outcome::Reads},
        {"Settings_Regedit4Windows1252", "Regedit4ReadAsUtf8.reg", Outcome::Reads},
        {"Settings_Utf8", "Utf8WithBom.reg", Outcome::Reads},
    };
    for (const auto& s : settings)
        cases.push_back({s.name, kSettingsFile, withFixture(s.fixture), s.outcome});
    cases.push_back({"Settings_Empty", kSettingsFile,
                     [](const QString& path) { damageFile(path, Damage::Empty); }, Outcome::Reads});
    cases.push_back({"Settings_FiftyMegabytes", kSettingsFile, fiftyMegabytes, Outcome::Reads});
    // No settings file to read: larger than any registry export (sparse, so that it costs no
    // disk), a pipe that no program writes to, a link to an endless device.
    cases.push_back({"Settings_BeyondTheSizeLimit", kSettingsFile,
                     [](const QString& path) {
                         QFile file(path);
                         ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                                     file.resize(kRegistryFileSizeLimit + 1));
                     },
                     Outcome::GoesOn});
    const auto pipe = [](const QString& path) {
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    };
    const auto endless = [](const QString& path) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path));
    };
    cases.push_back({"Settings_Pipe", kSettingsFile, pipe, Outcome::GoesOn});
    cases.push_back({"Settings_LinkToDevZero", kSettingsFile, endless, Outcome::GoesOn});
    // Without settings the machine-wide file names the game; when it can not be read, its key
    // reads as missing, the start asks for the game's folder and the chooser is cancelled.
    const auto machine = [](std::function<void(const QString&)> damage) {
        return [damage](const QString& path) {
            damage(path);
            QFile::remove(QFileInfo(path).dir().filePath(QStringLiteral("HKEY_CURRENT_USER.reg")));
        };
    };
    cases.push_back(
        {"Machine_Binary", kMachineFile, machine(withFixture("BinaryJunk.reg")), Outcome::Ends});
    cases.push_back({"Machine_Pipe", kMachineFile, machine(pipe), Outcome::Ends});
    cases.push_back({"Machine_LinkToDevZero", kMachineFile, machine(endless), Outcome::Ends});
    cases.push_back({"Machine_Truncated", kMachineFile,
                     machine([](const QString& path) { damageFile(path, Damage::Truncated); }),
                     Outcome::Ends});
    return cases;
}

class StartupInputTest : public ::testing::TestWithParam<StartupInputCase> {
protected:
    StartupInputTest() {
        makeGame(root.file(QStringLiteral("Spiel")), true);
        PortablePlatform setUp(root.file(QStringLiteral("registry")));
        setUp.writeRegistryString(RegistryHive::LocalMachine, kGameKey.toStdWString(),
                                  kInstallDirValue.toStdWString(),
                                  root.file(QStringLiteral("Spiel")).toStdWString());
        setUp.writeRegistryString(RegistryHive::CurrentUser, kSettingsKey.toStdWString(),
                                  kGameLocationValue.toStdWString(),
                                  root.file(QStringLiteral("Spiel")).toStdWString());
        copyShippedData(root.file(QStringLiteral("Programm/XMLP")));
    }

    TempDir root;
};

TEST_P(StartupInputTest, EndsOrGoesOnAsStatedWithAGermanMessageNamingTheFile) {
    const StartupInputCase& c = GetParam();
    const QString damaged = root.file(c.file);
    ASSERT_NO_FATAL_FAILURE(c.damage(damaged));
    auto before = snapshot(root.path());

    PortablePlatform platform(root.file(QStringLiteral("registry")));
    FakeDialogs dialogs;
    dialogs.chosenFolder = QString(); // a chooser, if shown, is cancelled
    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    try {
        RunStartup(platform, dialogs, root.file(QStringLiteral("Programm")));
    } catch (const StartupAbort&) {
        ended = true;
    }
    EXPECT_LT(clock.elapsed(), 30000) << "the start took " << clock.elapsed() << " ms";
    EXPECT_EQ(ended, c.outcome == Outcome::Ends);
    const QString fileName = QFileInfo(damaged).fileName();
    if (c.outcome == Outcome::Reads || c.outcome == Outcome::Renewed) {
        EXPECT_TRUE(dialogs.errors.isEmpty())
            << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    } else if (c.file == kMachineFile) {
        // The game's key is read as missing, the chooser is cancelled: the start ends with the
        // fixed message of a folder that is no game folder.
        ASSERT_EQ(dialogs.errors.size(), 1);
        EXPECT_EQ(dialogs.errors[0], kStartErrorTitle + QLatin1Char('|') + kNotGameDirText);
    } else {
        ASSERT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
        expectGermanMessageNaming(dialogs.errors[0], fileName);
    }

    // The settings are written before the data files are read, so also by a start that ends
    // on a damaged data file (with the right values): the settings file is compared only where
    // it is the file that can not be read. The single-instance lock is the start's own.
    auto after = snapshot(root.path());
    dropStartLocks(after);
    if (c.outcome == Outcome::Renewed) {
        EXPECT_EQ(readBytes(damaged),
                  readBytes(sourcePath(QStringLiteral("resources/data/XMLP/")) + fileName));
        before.remove(c.file);
        after.remove(c.file);
    }
    if (!(c.file == kSettingsFile && c.outcome == Outcome::GoesOn)) {
        before.remove(kSettingsFile);
        after.remove(kSettingsFile);
    }
    expectSameFiles(before, after);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, StartupInputTest, ::testing::ValuesIn(everyCase()),
                         [](const auto& info) { return info.param.name; });

// A game folder that is a file, wherever it comes from. Stored in the settings or chosen, it is
// no game folder and the start ends with the fixed message; the game's key is taken without
// looking for the game, so its mods folder can not be made, which is reported naming it. The
// file is never changed.
TEST(StartupInput, AGameFolderThatIsAFileIsNeverChanged) {
    const struct {
        const char* name;
        bool stored;         // GameLocation of the settings names the file
        bool key;            // InstallDir of the game's machine-wide key names it
        bool chosen;         // the folder chooser answers with it
        const char* message; // the message after the title; nullptr: the fixed one, and the end
    } cases[] = {
        {"stored", true, false, false, nullptr},
        {"machine key", false, true, false, "Velmora/mods\u201C kann nicht angelegt werden."},
        {"chosen", false, false, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir root;
        const QString file = root.file(QStringLiteral("Velmora"));
        writeBytes(file, "keine Spielinstallation");
        PortablePlatform platform(root.file(QStringLiteral("registry")));
        if (c.stored)
            platform.writeRegistryString(RegistryHive::CurrentUser, kSettingsKey.toStdWString(),
                                         kGameLocationValue.toStdWString(), file.toStdWString());
        if (c.key)
            platform.writeRegistryString(RegistryHive::LocalMachine, kGameKey.toStdWString(),
                                         kInstallDirValue.toStdWString(), file.toStdWString());
        FakeDialogs dialogs;
        dialogs.chosenFolder = c.chosen ? file : QString();
        Directories dirs = SettleDirectories(root.file(QStringLiteral("Programm")));
        if (!c.message) {
            EXPECT_THROW(CheckEnvironment(platform, dialogs, dirs), StartupAbort);
            EXPECT_EQ(dialogs.errors,
                      QStringList(kStartErrorTitle + QLatin1Char('|') + kNotGameDirText));
        } else {
            EXPECT_NO_THROW(CheckEnvironment(platform, dialogs, dirs));
            ASSERT_EQ(dialogs.errors.size(), 1);
            EXPECT_TRUE(dialogs.errors[0].endsWith(QString::fromUtf8(c.message)))
                << dialogs.errors[0].toStdString();
        }
        EXPECT_EQ(readBytes(file), QByteArray("keine Spielinstallation"));
        EXPECT_FALSE(QFileInfo::exists(root.file(QStringLiteral("Velmora/mods"))));
    }
}

} // namespace
