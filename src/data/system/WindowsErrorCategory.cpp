// Windows' error numbers as an error category, on every system: the Windows backend reports its
// errors in it, and the German texts for them are tested everywhere.
#include "data/system/FileSystem.h"

#include <cerrno>
#include <string>

namespace velmora::data {

namespace {

class WindowsErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }
    std::string message(int value) const override {
        return "Windows-Fehler " + std::to_string(value);
    }
    // The errno values the standard library compares with, for the numbers that have one.
    std::error_condition default_error_condition(int value) const noexcept override {
        switch (value) {
        case 2: // ERROR_FILE_NOT_FOUND
        case 3: // ERROR_PATH_NOT_FOUND
            return std::errc::no_such_file_or_directory;
        case 5: // ERROR_ACCESS_DENIED
            return std::errc::permission_denied;
        case 80:  // ERROR_FILE_EXISTS
        case 183: // ERROR_ALREADY_EXISTS
            return std::errc::file_exists;
        case 145: // ERROR_DIR_NOT_EMPTY
            return std::errc::directory_not_empty;
        default:
            return {value, *this};
        }
    }
};

} // namespace

const std::error_category& windowsErrorCategory() {
    static const WindowsErrorCategory category;
    return category;
}

} // namespace velmora::data
