#pragma once
// The operating system as the start-up sequence sees it: the registry, the single-instance
// guard, the logged-on user and the program's version.
//
// This header uses the standard library only, so that the Windows backend compiles without
// Qt. Texts are wide strings (UTF-16 on Windows); callers convert with QString::fromStdWString.
// Registry key paths are written as on Windows, with backslashes and without the hive
// ("SOFTWARE\\WOW6432Node\\Orlane\\Velmora"); a leading backslash is ignored.
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::app {

enum class RegistryHive { CurrentUser, LocalMachine };

// A string value of a registry key: its name and its text.
struct RegistryValue {
    std::wstring name;
    std::wstring value;
};

// A failing system call. message() is German and names what failed.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(std::wstring message)
        : std::runtime_error("platform error"), message_(std::move(message)) {}
    const std::wstring& message() const { return message_; }

private:
    std::wstring message_;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A string value; a missing key, a missing value or a value of another type reads as "".
    virtual std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                            const std::wstring& name) = 0;
    // Writes string values in their order, creating the key when needed. A backend that keeps
    // the registry in a file saves it once for all of them. Raises PlatformError on failure.
    virtual void writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                                      const std::vector<RegistryValue>& values) = 0;
    // One string value.
    void writeRegistryString(RegistryHive hive, const std::wstring& key, const std::wstring& name,
                             const std::wstring& value) {
        writeRegistryStrings(hive, key, {{name, value}});
    }
    // Deletes a key with all its values and subkeys; a missing key is no error.
    virtual void deleteRegistryKey(RegistryHive hive, const std::wstring& key) = 0;

    // Takes the system-wide guard of the given name and keeps it until the process ends.
    // False when another process holds it; true again when this process already holds it.
    // A process may hold guards of several names.
    virtual bool holdSingleInstance(const std::wstring& name) = 0;

    // A text naming the folder at path itself, alike for every path that leads to it (through
    // links, "..", or in other letter case on Windows): on Windows the volume's serial number and
    // the folder's file ID, elsewhere its resolved canonical path. A folder that does not exist
    // yet is named by the nearest existing folder above it and the rest of the path. Raises
    // PlatformError when the system can not tell.
    virtual std::wstring folderIdentity(const std::wstring& path) = 0;

    // The logged-on user's name. Raises PlatformError when the system can not tell.
    virtual std::wstring userName() = 0;
    // The program's file version, "major.minor.release.build". Raises PlatformError.
    virtual std::wstring versionString() = 0;

    // The separator of paths shown to the user and stored in the registry.
    virtual wchar_t pathSeparator() const = 0;
};

// The backend of the platform the program was built for.
Platform& defaultPlatform();

} // namespace velmora::app
