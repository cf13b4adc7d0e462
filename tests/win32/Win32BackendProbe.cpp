// The Windows backend run for real: built with the mingw-w64 cross compiler together with the
// project's version resource and run under Wine by RunWin32Backend.sh. Each mode checks one
// part of the backend and exits 0 when it holds; what went wrong is printed in ASCII (the
// console's code page under Wine is not ours to choose).
//
//   settings            the eight settings values written in their order and read back
//   machine-keys        the two machine-wide InstallDir values prepared by the script
//   hold                takes the single-instance guard, prints "held", keeps it until a file
//                       named "stop" appears in the working folder (at most two minutes)
//   try                 takes the guard: exit 0 when taken, 2 when another process holds it
//   user NAME           the logged-on user's name is NAME
//   version TEXT        the version resource reads TEXT
#include "app/platform/Platform.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using velmora::app::defaultPlatform;
using velmora::app::PlatformError;
using velmora::app::RegistryHive;

namespace {

// The program's settings key and its values in the order the start-up writes them.
const std::wstring kSettingsKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\VelmoraCindral";
const std::vector<std::wstring> kValueOrder = {L"GameLocation", L"ModLocation", L"ModLoader",
                                               L"PrgPath",      L"Help",        L"DPVer",
                                               L"Company",      L"TimeStamp"};
// The machine-wide keys and the values RunWin32Backend.sh imports into them.
const std::wstring kGameKey = L"SOFTWARE\\WOW6432Node\\Orlane\\Velmora";
const std::wstring kLauncherKey = L"SOFTWARE\\WOW6432Node\\Orlane\\Launcher\\Installs\\4553";
const std::wstring kGameInstallDir = L"C:\\Program Files (x86)\\Orlane\\Velm\u00F6ra Gr\u00FCnland";
const std::wstring kLauncherInstallDir = L"D:\\Spiele\\\u00C4\u00DFe\\Velmora\\";

// Non-ASCII characters printed as \uXXXX so that a mismatch is readable in any console.
std::string ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

bool expectEqual(const char* what, const std::wstring& expected, const std::wstring& actual) {
    if (expected == actual)
        return true;
    std::printf("%s: expected \"%s\", got \"%s\"\n", what, ascii(expected).c_str(),
                ascii(actual).c_str());
    return false;
}

// The value names of the settings key in the order the registry hands them out.
std::vector<std::wstring> storedValueNames() {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey.substr(1).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

int checkSettings() {
    auto& platform = defaultPlatform();
    const std::vector<std::wstring> values = {L"C:\\Users\\M\u00FCller\\Spiele\\Velmora",
                                              L"C:\\Users\\M\u00FCller\\Spiele\\Velmora\\mods\\",
                                              L"0.8.6",
                                              L"C:\\Users\\M\u00FCller\\Programme\\Velmora Cindral",
                                              L"0",
                                              L"1.0.0.0",
                                              L"Velmora Cindral Projekt",
                                              L"10.12.26"};
    bool ok = true;
    // Twice: the second round overwrites in place and must keep the order.
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < kValueOrder.size(); ++i)
            platform.writeRegistryString(RegistryHive::CurrentUser, kSettingsKey, kValueOrder[i],
                                         values[i]);
    for (std::size_t i = 0; i < kValueOrder.size(); ++i)
        ok &= expectEqual(
            ascii(kValueOrder[i]).c_str(), values[i],
            platform.readRegistryString(RegistryHive::CurrentUser, kSettingsKey, kValueOrder[i]));
    // Wine hands value names out sorted, Windows in the order written: compare as sets.
    std::vector<std::wstring> order = storedValueNames();
    std::vector<std::wstring> expected = kValueOrder;
    std::sort(order.begin(), order.end());
    std::sort(expected.begin(), expected.end());
    if (order != expected) {
        std::printf("stored values:");
        for (const auto& name : order)
            std::printf(" %s", ascii(name).c_str());
        std::printf("\n");
        ok = false;
    }
    ok &= expectEqual(
        "missing value", L"",
        platform.readRegistryString(RegistryHive::CurrentUser, kSettingsKey, L"NotThere"));
    platform.deleteRegistryKey(RegistryHive::CurrentUser, kSettingsKey);
    ok &= expectEqual(
        "after delete", L"",
        platform.readRegistryString(RegistryHive::CurrentUser, kSettingsKey, L"GameLocation"));
    platform.deleteRegistryKey(RegistryHive::CurrentUser, kSettingsKey); // missing: no error
    return ok ? 0 : 1;
}

int checkMachineKeys() {
    auto& platform = defaultPlatform();
    bool ok = expectEqual(
        "game key", kGameInstallDir,
        platform.readRegistryString(RegistryHive::LocalMachine, kGameKey, L"InstallDir"));
    ok &= expectEqual(
        "launcher key", kLauncherInstallDir,
        platform.readRegistryString(RegistryHive::LocalMachine, kLauncherKey, L"InstallDir"));
    return ok ? 0 : 1;
}

const std::wstring kGuardName = L"VelmoraProduction";

int holdGuard() {
    auto& platform = defaultPlatform();
    if (!platform.holdSingleInstance(kGuardName)) {
        std::printf("refused\n");
        return 2;
    }
    if (!platform.holdSingleInstance(kGuardName)) {
        std::printf("the holder itself was refused\n");
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    for (int i = 0; i < 2400; ++i) {
        if (GetFileAttributesW(L"stop") != INVALID_FILE_ATTRIBUTES)
            return 0;
        Sleep(50);
    }
    std::printf("no stop file within two minutes\n");
    return 1;
}

int tryGuard() {
    const bool held = defaultPlatform().holdSingleInstance(kGuardName);
    std::printf(held ? "held\n" : "refused\n");
    return held ? 0 : 2;
}

std::wstring widen(const char* text) {
    std::wstring out;
    for (; *text; ++text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "settings")
            return checkSettings();
        if (mode == "machine-keys")
            return checkMachineKeys();
        if (mode == "hold")
            return holdGuard();
        if (mode == "try")
            return tryGuard();
        if (mode == "user" && argc > 2)
            return expectEqual("user name", widen(argv[2]), defaultPlatform().userName()) ? 0 : 1;
        if (mode == "version" && argc > 2)
            return expectEqual("version", widen(argv[2]), defaultPlatform().versionString()) ? 0
                                                                                             : 1;
    } catch (const PlatformError& e) {
        std::printf("PlatformError: %s\n", ascii(e.message()).c_str());
        return 1;
    }
    std::printf("usage: settings | machine-keys | hold | try | user NAME | version TEXT\n");
    return 64;
}
