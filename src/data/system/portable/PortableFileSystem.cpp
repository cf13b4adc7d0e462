// The file system calls on POSIX systems: the standard library and the C library.
#include "data/system/FileSystem.h"

#include <cerrno>
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
