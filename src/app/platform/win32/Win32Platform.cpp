// The platform on Windows: registry, named mutex, user name and the version resource.
#include "app/platform/Platform.h"
#include "app/platform/win32/Win32Handles.h"
#include "app/platform/win32/Win32Registry.h"

#include <lmcons.h>

#include <memory>
#include <vector>

namespace velmora::app {

namespace win32 {

std::wstring describeSystemError(const std::wstring& what, DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description =
        length && text ? std::wstring(text, length) : L"Fehler " + std::to_wstring(code);
    if (text)
        LocalFree(text);
    while (!description.empty() && (description.back() == L'\r' || description.back() == L'\n'))
        description.pop_back();
    return what + L": " + description;
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
    void writeRegistryString(RegistryHive hive, const std::wstring& key, const std::wstring& name,
                             const std::wstring& value) override {
        win32::writeRegistryString(hive, key, name, value);
    }
    void deleteRegistryKey(RegistryHive hive, const std::wstring& key) override {
        win32::deleteRegistryKey(hive, key);
    }

    bool holdSingleInstance(const std::wstring& name) override {
        if (instanceMutex_)
            return true;
        KernelHandle mutex(CreateMutexW(nullptr, TRUE, name.c_str()));
        // Read the error before anything else can overwrite it.
        const DWORD error = GetLastError();
        if (!mutex)
            throw PlatformError(
                describeSystemError(L"Die Programmsperre kann nicht angelegt werden", error));
        if (error == ERROR_ALREADY_EXISTS)
            return false; // the running copy keeps its mutex; ours is closed here
        instanceMutex_ = std::move(mutex);
        return true;
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
    KernelHandle instanceMutex_;
};

} // namespace
} // namespace win32

Platform& defaultPlatform() {
    static win32::Win32Platform platform;
    return platform;
}

} // namespace velmora::app
