// The file system calls on Windows: the Win32 API and the standard library only. Every error is
// GetLastError()'s number in windowsErrorCategory(): the C library maps most of them to EIO, which
// would lose the reason (a file in use, a folder not empty).
#include "data/system/FileSystem.h"

#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace velmora::data::system {

namespace {

namespace fs = std::filesystem;

// A handle of CreateFileW that closes itself.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid())
            ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::error_code windowsError(DWORD error) {
    return {static_cast<int>(error), windowsErrorCategory()};
}

// Removes the link itself: it is opened as a reparse point and deleted through that handle. The
// handle must say it holds the reparse point; where the system opened the target instead (Wine
// does so for a Unix link, and would delete the folder it points to), nothing is deleted.
std::error_code removeLink(const fs::path& path) {
    const FileHandle link(::CreateFileW(
        path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!link.valid())
        return lastError();
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!::GetFileInformationByHandleEx(link.get(), FileAttributeTagInfo, &info, sizeof info))
        return lastError();
    if (!(info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        ::SetLastError(ERROR_NOT_A_REPARSE_POINT); // lastError() tells the caller, too
        return lastError();
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(link.get(), FileDispositionInfo, &disposition,
                                      sizeof disposition))
        return lastError();
    return {};
}

} // namespace

EntryKind entryKind(const fs::path& path) {
    // Junctions and other reparse points are not always reported as links by the standard
    // library; the attribute tells every one of them.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::Absent;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return EntryKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::Other;
}

std::error_code renameEntry(const fs::path& from, const fs::path& to) {
    if (!::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return lastError();
    return {};
}

std::error_code removeEntry(const fs::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return removeLink(path);
    const BOOL removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryW(path.c_str())
                                                                 : ::DeleteFileW(path.c_str());
    return removed ? std::error_code() : lastError();
}

OpenedFile openRegularFile(const fs::path& path, std::uintmax_t limit) {
    const auto failed = []() {
        const std::error_code error = lastError();
        const bool absent =
            error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND;
        return OpenedFile{absent ? OpenCheck::Absent : OpenCheck::Failed, -1, error};
    };
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return failed();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {OpenCheck::Folder, -1, {}};
    const int descriptor = ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (descriptor < 0)
        return failed();
    // A pipe or a device has no entry in a folder on Windows; the handle's type tells them all.
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::_close(descriptor);
        return {OpenCheck::NotRegular, -1, {}};
    }
    const long long size = ::_filelengthi64(descriptor);
    if (size < 0 || std::uintmax_t(size) > limit) {
        ::_close(descriptor);
        return {size < 0 ? OpenCheck::Failed : OpenCheck::TooLarge, -1, {}};
    }
    return {OpenCheck::Opened, descriptor, {}};
}

bool syncToDisk(int fileDescriptor) {
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(fileDescriptor))) != 0;
}

std::error_code lastError() {
    return windowsError(::GetLastError());
}

void clearLastError() {
    ::SetLastError(ERROR_SUCCESS);
}

void writeText(std::FILE* stream, std::string_view utf8) {
    std::fflush(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (utf8.empty() || handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode)) {
        // Redirected to a file or a pipe: the UTF-8 bytes.
        std::fwrite(utf8.data(), 1, utf8.size(), stream);
        std::fflush(stream);
        return;
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    for (DWORD done = 0; done < wide.size();) {
        DWORD written = 0;
        if (!::WriteConsoleW(handle, wide.data() + done, static_cast<DWORD>(wide.size() - done),
                             &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

} // namespace velmora::data::system
