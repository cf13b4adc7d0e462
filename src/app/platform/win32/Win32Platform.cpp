// The platform on Windows: registry, named mutex, user name and the version resource.
#include "app/platform/Platform.h"
#include "app/platform/win32/Win32Handles.h"
#include "app/platform/win32/Win32Registry.h"

#include <lmcons.h>

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

namespace velmora::app {

namespace win32 {

namespace {

// The common failures in the words of a German system; nullptr for the others.
const wchar_t* germanReason(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return L"Das System kann die angegebene Datei nicht finden.";
    case ERROR_PATH_NOT_FOUND:
        return L"Das System kann den angegebenen Pfad nicht finden.";
    case ERROR_ACCESS_DENIED:
        return L"Zugriff verweigert.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return L"Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return L"Die Datei wird von einem anderen Prozess verwendet.";
    case ERROR_WRITE_PROTECT:
        return L"Der Datenträger ist schreibgeschützt.";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return L"Nicht genügend Arbeitsspeicher.";
    case ERROR_RESOURCE_DATA_NOT_FOUND:
    case ERROR_RESOURCE_TYPE_NOT_FOUND:
    case ERROR_RESOURCE_NAME_NOT_FOUND:
        return L"Die Programmdatei enthält die Angabe nicht.";
    default:
        return nullptr;
    }
}

// The system's own description, in German where the system has that language.
std::wstring systemDescription(DWORD code) {
    for (const DWORD language : {DWORD(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), DWORD(0)}) {
        wchar_t* text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::wstring description = length && text ? std::wstring(text, length) : std::wstring();
        if (text)
            LocalFree(text);
        while (!description.empty() && (description.back() == L'\r' || description.back() == L'\n'))
            description.pop_back();
        if (!description.empty())
            return description;
    }
    return L"Systemfehler " + std::to_wstring(code) + L".";
}

} // namespace

std::wstring describeSystemError(const std::wstring& what, DWORD code) {
    const wchar_t* german = germanReason(code);
    return what + L": " + (german ? std::wstring(german) : systemDescription(code));
}

namespace {

std::wstring executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            throw PlatformError(describeSystemError(L"Der Programmpfad kann nicht ermittelt werden",
                                                    GetLastError()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2); // the path was cut off
    }
}

class Win32Platform final : public Platform {
public:
    std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                    const std::wstring& name) override {
        return win32::readRegistryString(hive, key, name);
    }
    void writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                              const std::vector<RegistryValue>& values) override {
        win32::writeRegistryStrings(hive, key, values);
    }
    void deleteRegistryKey(RegistryHive hive, const std::wstring& key) override {
        win32::deleteRegistryKey(hive, key);
    }

    bool holdSingleInstance(const std::wstring& name) override {
        if (instanceMutexes_.count(name))
            return true;
        KernelHandle mutex(CreateMutexW(nullptr, TRUE, name.c_str()));
        // Read the error before anything else can overwrite it.
        const DWORD error = GetLastError();
        if (!mutex)
            throw PlatformError(
                describeSystemError(L"Die Programmsperre kann nicht angelegt werden", error));
        if (error == ERROR_ALREADY_EXISTS)
            return false; // the running copy keeps its mutex; ours is closed here
        instanceMutexes_[name] = std::move(mutex);
        return true;
    }

    std::wstring folderIdentity(const std::wstring& path) override {
        std::error_code ignored;
        std::filesystem::path at = std::filesystem::absolute(path, ignored);
        std::wstring rest; // the part of the path that does not exist yet
        for (;;) {
            // FILE_FLAG_BACKUP_SEMANTICS opens a folder; a link or junction on the way is
            // followed to the folder it leads to.
            KernelHandle folder(
                ::CreateFileW(at.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
            const DWORD error = GetLastError();
            if (folder.get() == INVALID_HANDLE_VALUE)
                *folder.receive() = nullptr; // nothing to close
            if (folder) {
                BY_HANDLE_FILE_INFORMATION info{};
                if (!GetFileInformationByHandle(folder.get(), &info))
                    throw PlatformError(describeSystemError(L"Der Ordner \u201E" + path +
                                                                L"\u201C kann nicht erkannt werden",
                                                            GetLastError()));
                const unsigned long long index =
                    (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) |
                    info.nFileIndexLow;
                return std::to_wstring(info.dwVolumeSerialNumber) + L":" + std::to_wstring(index) +
                       rest;
            }
            const std::filesystem::path parent = at.parent_path();
            if ((error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) || parent == at)
                throw PlatformError(describeSystemError(
                    L"Der Ordner \u201E" + path + L"\u201C kann nicht erkannt werden", error));
            rest = L"\\" + at.filename().wstring() + rest;
            at = parent;
        }
    }

    std::wstring userName() override {
        std::vector<wchar_t> buffer(512, L'\0');
        DWORD length = static_cast<DWORD>(buffer.size());
        if (!GetUserNameW(buffer.data(), &length))
            throw PlatformError(describeSystemError(L"Der Benutzername kann nicht ermittelt werden",
                                                    GetLastError()));
        // length counts the terminating NUL.
        return std::wstring(buffer.data(), length > 0 ? length - 1 : 0);
    }

    std::wstring versionString() override {
        const std::wstring path = executablePath();
        const auto fail = [](DWORD code) {
            return PlatformError(
                describeSystemError(L"Die Versionsinformation kann nicht gelesen werden", code));
        };
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0)
            throw fail(GetLastError());
        std::vector<BYTE> block(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
            throw fail(GetLastError());
        VS_FIXEDFILEINFO* info = nullptr;
        UINT infoSize = 0;
        if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
            !info || infoSize < sizeof(VS_FIXEDFILEINFO))
            throw fail(ERROR_RESOURCE_DATA_NOT_FOUND);
        return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
               std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
               std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
               std::to_wstring(LOWORD(info->dwFileVersionLS));
    }

    wchar_t pathSeparator() const override { return L'\\'; }

private:
    // Held, never released, until the process ends.
    std::map<std::wstring, KernelHandle> instanceMutexes_; // guard name -> its mutex
};

} // namespace
} // namespace win32

Platform& defaultPlatform() {
    static win32::Win32Platform platform;
    return platform;
}

} // namespace velmora::app
