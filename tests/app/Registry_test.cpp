#include "app/AppTestSupport.h"
#include "app/platform/portable/PortablePlatform.h"
#include "app/platform/portable/RegistryFile.h"
#include "support/ScriptedWriter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::test;
using velmora::data::kNewFileSuffix;

namespace {

const std::wstring kKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\VelmoraCindral";

std::wstring read(PortablePlatform& p, RegistryHive hive, const std::wstring& key,
                  const std::wstring& name) {
    return p.readRegistryString(hive, key, name);
}

TEST(RegistryFiles, ValuesWithUmlautsBackslashesAndQuotesRoundTripAsTheRegistryEditorWritesThem) {
    TempDir dir;
    PortablePlatform platform(dir.file(QStringLiteral("Registrierung")));
    platform.writeRegistryString(RegistryHive::CurrentUser, L"\\" + kKey, L"GameLocation",
                                 L"C:\\Users\\Müller\\Spiel");
    platform.writeRegistryString(RegistryHive::CurrentUser, kKey, L"Zitat", L"/tmp/Müller \"ß\"");
    platform.writeRegistryString(RegistryHive::LocalMachine,
                                 L"SOFTWARE\\WOW6432Node\\Orlane\\Velmora", L"InstallDir",
                                 L"D:/Spiele/Velmora");

    // A fresh object reads the files again.
    PortablePlatform again(dir.file(QStringLiteral("Registrierung")));
    EXPECT_EQ(read(again, RegistryHive::CurrentUser, kKey, L"GameLocation"),
              L"C:\\Users\\Müller\\Spiel");
    EXPECT_EQ(read(again, RegistryHive::CurrentUser, L"\\" + kKey, L"zitat"), L"/tmp/Müller \"ß\"");
    EXPECT_EQ(read(again, RegistryHive::LocalMachine, L"software\\wow6432node\\orlane\\velmora",
                   L"InstallDir"),
              L"D:/Spiele/Velmora");

    const QString path = platform.registryFilePath(RegistryHive::CurrentUser);
    EXPECT_TRUE(path.endsWith(QStringLiteral("/HKEY_CURRENT_USER.reg")));
    EXPECT_TRUE(readBytes(path).startsWith("\xFF\xFEW\0i\0n\0"));
    EXPECT_EQ(
        registryText(path),
        QStringLiteral(
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\VelmoraCindral]\r\n"
            "\"GameLocation\"=\"C:\\\\Users\\\\Müller\\\\Spiel\"\r\n"
            "\"Zitat\"=\"/tmp/Müller \\\"ß\\\"\"\r\n\r\n"));
}

TEST(RegistryFiles, MissingFilesKeysAndValuesReadAsEmpty) {
    TempDir dir;
    PortablePlatform platform(dir.file(QStringLiteral("fehlt")));
    EXPECT_EQ(read(platform, RegistryHive::LocalMachine, L"SOFTWARE\\X", L"InstallDir"), L"");
    platform.writeRegistryString(RegistryHive::CurrentUser, kKey, L"A", L"1");
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"B"), L"");
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, L"SOFTWARE\\Anderes", L"A"), L"");
    platform.deleteRegistryKey(RegistryHive::LocalMachine, L"SOFTWARE\\X"); // no file, no error
    EXPECT_FALSE(QFileInfo::exists(platform.registryFilePath(RegistryHive::LocalMachine)));
}

TEST(RegistryFiles, DeletingAKeyRemovesItsSubkeysButNoSibling) {
    TempDir dir;
    PortablePlatform platform(dir.path());
    platform.writeRegistryString(RegistryHive::CurrentUser, kKey, L"A", L"1");
    platform.writeRegistryString(RegistryHive::CurrentUser, kKey + L"\\Unter", L"B", L"2");
    platform.writeRegistryString(RegistryHive::CurrentUser, kKey + L"2", L"C", L"3");
    platform.deleteRegistryKey(RegistryHive::CurrentUser, L"\\" + kKey);
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"A"), L"");
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey + L"\\Unter", L"B"), L"");
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey + L"2", L"C"), L"3");
}

// A file as the registry editor exports it, with other value types, a value spread over
// lines, a default value and a deleting section.
TEST(RegistryFiles, ExportsOfTheRegistryEditorAreReadAndKept) {
    const QString exported = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Orlane\\Launcher\\Installs\\4553]\r\n"
        "@=\"Standard\"\r\n"
        "\"Build\"=dword:0000002a\r\n"
        "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"
        "\"InstallDir\"=\"C:/Games/Velmora/\"\r\n\r\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Alt]\r\n\r\n");
    RegistryFile file = RegistryFile::parse(exported);
    const QString key = QStringLiteral(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Orlane\\Launcher\\Installs\\4553");
    EXPECT_EQ(file.stringValue(key, QStringLiteral("InstallDir")),
              QStringLiteral("C:/Games/Velmora/"));
    EXPECT_EQ(file.stringValue(key, QString()), QStringLiteral("Standard"));
    EXPECT_EQ(file.stringValue(key, QStringLiteral("Build")), QString()); // not a string
    EXPECT_FALSE(file.hasKey(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Alt")));
    file.setStringValue(key, QStringLiteral("InstallDir"), QStringLiteral("E:\\Velmora"));
    const QString written = file.serialize();
    EXPECT_TRUE(written.contains(
        QStringLiteral("\"Build\"=dword:0000002a\r\n\"Blob\"=hex:01,02,03,04\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\"InstallDir\"=\"E:\\\\Velmora\"\r\n")));
    EXPECT_EQ(RegistryFile::parse(written).serialize(), written);
}

TEST(RegistryFiles, LineBreaksInValuesAreRefusedInsteadOfBreakingTheFile) {
    TempDir dir;
    PortablePlatform platform(dir.path());
    EXPECT_THROW(platform.writeRegistryString(RegistryHive::CurrentUser, kKey, L"A", L"a\r\nb"),
                 PlatformError);
    EXPECT_FALSE(QFileInfo::exists(platform.registryFilePath(RegistryHive::CurrentUser)));
}

// Settings files as other programs leave them. Each fixture holds the same two keys: another
// program's key with a text of code page 1252 characters, a number and an expandable string,
// and the program's own key with a game folder "C:\Spiele\Velmora Ü ß".
struct ReadableFile {
    const char* fixture; // below tests/fixtures/app/registry, named after the defect it shows
};

void PrintTo(const ReadableFile& c, std::ostream* os) {
    *os << c.fixture;
}

class ReadableSettingsFileTest : public ::testing::TestWithParam<ReadableFile> {};

TEST_P(ReadableSettingsFileTest, IsReadAsWrittenAndKeepsEveryOtherKeyWhenTheProgramWrites) {
    TempDir dir;
    PortablePlatform platform(dir.path());
    const QString path = platform.registryFilePath(RegistryHive::CurrentUser);
    writeBytes(path, readBytes(fixture(QStringLiteral("app/registry/") +
                                       QString::fromUtf8(GetParam().fixture))));
    const std::wstring other = L"Software\\Andere Firma";
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"GameLocation"),
              L"C:\\Spiele\\Velmora Ü ß");
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, other, L"Name"),
              L"Müller \u20AC \u201EZitat\u201C \u2013 Ende");

    platform.writeRegistryStrings(RegistryHive::CurrentUser, kKey,
                                  {{L"GameLocation", L"D:\\Velmora"}, {L"Help", L"0"}});
    EXPECT_EQ(
        registryText(path),
        QStringLiteral(
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Andere Firma]\r\n"
            "\"Name\"=\"Müller \u20AC \u201EZitat\u201C \u2013 Ende\"\r\n"
            "\"Anzahl\"=dword:0000002a\r\n"
            // "%A%\Ü" and its terminating NUL, as UTF-16LE
            "\"Pfad\"=hex(2):25,00,41,00,25,00,5c,00,dc,00,00,00\r\n\r\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\VelmoraCindral]"
            "\r\n"
            "\"GameLocation\"=\"D:\\\\Velmora\"\r\n"
            "\"Help\"=\"0\"\r\n\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, ReadableSettingsFileTest,
                         ::testing::Values(ReadableFile{"Regedit4ReadAsUtf8.reg"},
                                           ReadableFile{"Utf16WithoutBomLosesKeys.reg"},
                                           ReadableFile{"Utf16BigEndianWithoutBomLosesKeys.reg"},
                                           ReadableFile{"Utf8WithBom.reg"}));

// Files that are no settings file in a known encoding: reading them gives nothing, and writing
// or deleting is refused with a German message naming the file, which stays as it was.
class UnreadableSettingsFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(UnreadableSettingsFileTest, IsRefusedAndNeverReplaced) {
    TempDir dir;
    PortablePlatform platform(dir.path());
    const QString path = platform.registryFilePath(RegistryHive::CurrentUser);
    const QByteArray before =
        readBytes(fixture(QStringLiteral("app/registry/") + QString::fromUtf8(GetParam())));
    writeBytes(path, before);

    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"GameLocation"), L"");
    const auto expectRefusal = [&](const std::function<void()>& change) {
        try {
            change();
            ADD_FAILURE() << "not refused";
        } catch (const PlatformError& e) {
            const QString message = QString::fromStdWString(e.message());
            EXPECT_TRUE(message.startsWith(QStringLiteral("Die Registrierungsdatei")) &&
                        message.contains(QStringLiteral("HKEY_CURRENT_USER.reg")) &&
                        message.contains(QStringLiteral("unverändert")))
                << message.toStdString();
        }
    };
    expectRefusal(
        [&] { platform.writeRegistryString(RegistryHive::CurrentUser, kKey, L"A", L"1"); });
    expectRefusal([&] { platform.deleteRegistryKey(RegistryHive::CurrentUser, kKey); });
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList(QStringLiteral("HKEY_CURRENT_USER.reg")));
}

INSTANTIATE_TEST_SUITE_P(Defects, UnreadableSettingsFileTest,
                         ::testing::Values("NoRegistryExport.reg", "Version5WithInvalidUtf8.reg",
                                           "Utf16WithOddLength.reg", "BinaryJunk.reg"));

// Several values of one key go to the file in one save.
TEST(RegistryFiles, SeveralValuesAreWrittenInOneSave) {
    TempDir dir;
    ScriptedWriter writer;
    PortablePlatform platform(dir.path(), writer);
    platform.writeRegistryStrings(RegistryHive::CurrentUser, kKey,
                                  {{L"A", L"1"}, {L"B", L"2"}, {L"a", L"3"}});
    EXPECT_EQ(writer.calls,
              QStringList({QStringLiteral("write HKEY_CURRENT_USER.reg") + kNewFileSuffix,
                           QStringLiteral("replace HKEY_CURRENT_USER.reg")}));
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"A"), L"3");
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"B"), L"2");

    // A value that can not be written stops the whole save.
    EXPECT_THROW(platform.writeRegistryStrings(RegistryHive::CurrentUser, kKey,
                                               {{L"C", L"3"}, {L"D", L"zwei\nZeilen"}}),
                 PlatformError);
    EXPECT_EQ(read(platform, RegistryHive::CurrentUser, kKey, L"C"), L"");
}

} // namespace

namespace {

// Files whose saved form once read back otherwise (found by fuzzing): a last line ending in one
// or more backslashes continues with nothing, a backslash followed by blanks continues too, so
// that no value ends with a backslash, which a saved file would read as a continuation; and a
// key with blanks before its "-" is no deletion, which its saved form "[-Key]" would be; a key
// ending in a blank and a backslash loses both, not only the backslash.
TEST(RegistryFiles, SavedFilesReadBackAsThemselves) {
    const QString texts[] = {
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[Key]\r\n\"Name\"=\\"),
        QStringLiteral("[]\n\"\"=\\"),
        QStringLiteral("[Key]\r\n\"Name\"=dword:\\\r\n00000001"),
        QStringLiteral("[]\r\n\"\"=\\\\"),
        QStringLiteral("[Key]\r\n\"Name\"=\"a\" \\\\ \\"),
        QStringLiteral("[Key]\r\n\"Name\"=x\\ \r\n\"Other\"=y\r\n"),
        QStringLiteral("[ -Key]\r\n\"Name\"=x\r\n"),
        QStringLiteral("[Key \\]\r\n\"Name\"=x\r\n"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const QString saved = RegistryFile::parse(text).serialize();
        EXPECT_EQ(RegistryFile::parse(saved).serialize(), saved);
    }
    // The fuzzer's inputs as they came, minimised.
    for (const char* name :
         {"TwoBackslashesEndTheFileUtf16.reg", "BlankBeforeBackslashEndingAKeyUtf16.reg"}) {
        SCOPED_TRACE(name);
        const QString saved =
            RegistryFile::fromBytes(
                readBytes(fixture(QStringLiteral("app/registry/") + QString::fromUtf8(name))),
                QString::fromUtf8(name))
                .serialize();
        EXPECT_EQ(RegistryFile::parse(saved).serialize(), saved);
    }
}

} // namespace
