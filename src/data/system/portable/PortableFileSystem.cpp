// The file system calls on POSIX systems: the standard library and the C library.
#include "data/system/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::data::system {

namespace fs = std::filesystem;

EntryKind entryKind(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || status.type() == fs::file_type::not_found)
        return EntryKind::Absent;
    if (status.type() == fs::file_type::symlink)
        return EntryKind::Link;
    return status.type() == fs::file_type::directory ? EntryKind::Folder : EntryKind::Other;
}

std::error_code renameEntry(const fs::path& from, const fs::path& to) {
    // rename() renames a link as itself.
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec;
}

std::error_code removeEntry(const fs::path& path) {
    // remove() unlinks a link as itself and removes only an empty folder.
    std::error_code ec;
    fs::remove(path, ec);
    return ec;
}

OpenedFile openRegularFile(const fs::path& path, std::uintmax_t limit) {
    const auto judge = [limit](const struct stat& info) {
        if (S_ISDIR(info.st_mode))
            return OpenCheck::Folder;
        if (!S_ISREG(info.st_mode))
            return OpenCheck::NotRegular;
        if (std::uintmax_t(info.st_size) > limit)
            return OpenCheck::TooLarge;
        return OpenCheck::Opened;
    };
    const auto failed = []() {
        const std::error_code error = lastError();
        const std::error_condition c = error.default_error_condition();
        if (c == std::errc::no_such_file_or_directory || c == std::errc::not_a_directory)
            return OpenedFile{OpenCheck::Absent, -1, error};
        return OpenedFile{OpenCheck::Failed, -1, error};
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return failed();
    if (const OpenCheck check = judge(info); check != OpenCheck::Opened)
        return {check, -1, {}};
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return failed();
    if (::fstat(descriptor, &info) != 0) {
        OpenedFile result = failed();
        ::close(descriptor);
        result.check = OpenCheck::Failed;
        return result;
    }
    if (const OpenCheck check = judge(info); check != OpenCheck::Opened) {
        ::close(descriptor);
        return {check, -1, {}};
    }
    return {OpenCheck::Opened, descriptor, {}};
}

bool syncToDisk(int fileDescriptor) {
    return ::fsync(fileDescriptor) == 0;
}

std::error_code lastError() {
    return {errno, std::generic_category()};
}

void clearLastError() {
    errno = 0;
}

void writeText(std::FILE* stream, std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

} // namespace velmora::data::system
