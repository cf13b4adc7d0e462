#include "app/AppTestSupport.h"
#include "app/platform/portable/PortablePlatform.h"
#include "app/platform/portable/RegistryFile.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::test;

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

} // namespace
