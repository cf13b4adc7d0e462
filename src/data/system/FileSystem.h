#pragma once
// The file system calls of the data layer, one backend per operating system (CMake picks
// system/win32/ or system/portable/; callers never test the platform).
//
// This header uses the standard library only, so that the Windows backend compiles without
// Qt. Errors come back as std::error_code: on Windows in windowsErrorCategory(), whose values
// are the numbers GetLastError() reports, elsewhere in std::generic_category() (errno).
// data::fileErrorReason turns either into German.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace velmora::data {

enum class EntryKind {
    Absent, // nothing under that name
    Folder, // a real folder
    Link,   // a link, whatever it points to (or nothing)
    Other,  // a file or anything else
};

// The category of Windows' error numbers (GetLastError()). Defined everywhere, so that the
// German texts for them can be tested on every system.
const std::error_category& windowsErrorCategory();

namespace system {

// What the entry at path is, the entry itself looked at, never what a link points to. On
// Windows a junction and every other reparse point counts as a link.
EntryKind entryKind(const std::filesystem::path& path);

// Renames from to to in one step, replacing a file at to. Returns the error, or none.
std::error_code renameEntry(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file, an empty folder, or a link as itself. A link is removed only where the
// system removes the link and not what it points to: where it would reach the target instead
// (Wine removes the folder a Unix link points to), the link is left as it is and the error is
// windowsErrorCategory()'s ERROR_NOT_A_REPARSE_POINT. Returns the error, or none.
std::error_code removeEntry(const std::filesystem::path& path);

// What opening a file for a bounded read found.
enum class OpenCheck {
    Opened,     // descriptor holds the open file
    Absent,     // nothing under that name
    Folder,     // a folder
    NotRegular, // a pipe, a device or anything else that is no regular file: never read
    TooLarge,   // larger than the limit
    Failed,     // the system refused; error says why
};
struct OpenedFile {
    OpenCheck check = OpenCheck::Failed;
    int descriptor = -1; // a C library file descriptor, the caller's to close; -1 unless Opened
    std::error_code error;
};

// Opens path for reading only when it is a regular file of at most limit bytes, without ever
// blocking: the kind is looked at before the file is opened (opening a pipe would wait for its
// writer) and again on the opened handle (the entry may have been exchanged in between).
OpenedFile openRegularFile(const std::filesystem::path& path, std::uintmax_t limit);

// Writes what the system still holds of the open file (a C library file descriptor) to the
// disk; false when that fails.
bool syncToDisk(int fileDescriptor);

// The error of the system call that failed last on this thread, and clearing it.
std::error_code lastError();
void clearLastError();

// Writes UTF-8 text to an output stream (stdout, stderr): to a Windows console as wide text,
// so that umlauts and German quotes show whatever its code page; anywhere else, also to a file
// or a pipe, as the UTF-8 bytes.
void writeText(std::FILE* stream, std::string_view utf8);

} // namespace system
} // namespace velmora::data
