#include "app/platform/win32/Win32Registry.h"

#include "app/platform/win32/Win32Handles.h"

#include <vector>

namespace velmora::app::win32 {

namespace {

HKEY rootOf(RegistryHive hive) {
    return hive == RegistryHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The API refuses key paths that begin with a backslash.
std::wstring subKeyOf(const std::wstring& key) {
    const std::size_t start = key.find_first_not_of(L'\\');
    return start == std::wstring::npos ? std::wstring() : key.substr(start);
}

std::wstring hiveName(RegistryHive hive) {
    return hive == RegistryHive::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

} // namespace

std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                const std::wstring& name) {
    // Reading needs no more than read access, also for the machine-wide keys.
    RegistryKey opened;
    if (RegOpenKeyExW(rootOf(hive), subKeyOf(key).c_str(), 0, KEY_READ, opened.receive()) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    // The stored string need not end with a NUL: read into a buffer one character longer.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
        return {};
    std::wstring value(buffer.data(), bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    return value;
}

void writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                          const std::vector<RegistryValue>& values) {
    RegistryKey created;
    LONG status =
        RegCreateKeyExW(rootOf(hive), subKeyOf(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, created.receive(), nullptr);
    if (status != ERROR_SUCCESS)
        throw PlatformError(describeSystemError(L"Der Registrierungsschlüssel " + hiveName(hive) +
                                                    L"\\" + subKeyOf(key) +
                                                    L" kann nicht angelegt werden",
                                                static_cast<DWORD>(status)));
    for (const RegistryValue& v : values) {
        const DWORD bytes = static_cast<DWORD>((v.value.size() + 1) * sizeof(wchar_t));
        status = RegSetValueExW(created.get(), v.name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(v.value.c_str()), bytes);
        if (status != ERROR_SUCCESS)
            throw PlatformError(describeSystemError(L"Der Registrierungswert " + v.name +
                                                        L" kann nicht geschrieben werden",
                                                    static_cast<DWORD>(status)));
    }
}

void deleteRegistryKey(RegistryHive hive, const std::wstring& key) {
    const std::wstring subKey = subKeyOf(key);
    if (subKey.empty())
        return; // never the whole hive
    const LONG status = RegDeleteTreeW(rootOf(hive), subKey.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw PlatformError(describeSystemError(L"Der Registrierungsschlüssel " + hiveName(hive) +
                                                    L"\\" + subKey + L" kann nicht gelöscht werden",
                                                static_cast<DWORD>(status)));
}

} // namespace velmora::app::win32
