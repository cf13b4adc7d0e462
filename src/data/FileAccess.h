#pragma once
// File access shared by every layer: names matched regardless of letter case, atomic writes.
#include "data/FileWriter.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <system_error>
#include <vector>

class QFile;

namespace velmora::data {

// The path of an existing file whose name equals the last component of path ignoring the case
// of letters ("Farmfield.xml" finds "FarmField.xml"); the path itself when the file exists as
// named or no file matches.
QString resolveFileName(const QString& path);

// Why a system call failed, in German: a missing file or folder, no permission, a read-only
// or full disk, a file in use by another program, a folder in the file's place, a path too long,
// too little memory, a name already taken, a folder not empty, another drive, too many links, a
// link the system does not reach itself, a device error, a bad name, too many open files; for
// errno values and for Windows' own numbers (windowsErrorCategory()). Any other errno keeps the
// system's own text (systemText, or else the error code's); any other Windows number is named
// by its number. The one table of such sentences: every layer words the same error alike.
QString fileErrorReason(const std::error_code& error, const QString& systemText = QString());
// The same for an error number (errno) of the C library, or of a library that hands one on.
QString fileErrorReason(int errorNumber);
// The error the system reported for the call that failed last on this thread.
std::error_code lastSystemError();

// Opens the file at path (its name matched regardless of case) for reading; a missing or
// unreadable file raises DataError with a German message naming it.
void openForReading(QFile& file, const QString& path);
// Raises the German "cannot be read" error for a file opened by openForReading; error is what
// the system reported for the read that failed.
[[noreturn]] void failedToRead(const QFile& file, std::error_code error = lastSystemError());

// Reads a whole file; raises DataError with a German message naming the file when it fails.
QByteArray readFileBytes(const QString& path);

// Reads a file the program does not own (another mod's files, an edits file the player chose, a
// registry export): only a regular file is opened (a link to one is followed), without ever
// blocking on a pipe or a device, and at most limit bytes are read. Anything else raises
// DataError with a German message naming the file: not a regular file, larger than limit, or
// unreadable (also a folder on the way that may not be entered). nullopt when nothing is at
// path (its name matched regardless of case).
std::optional<QByteArray> readRegularFileIfPresent(const QString& path, qint64 limit);
// The same, where a missing file is an error too ("Die Datei … fehlt.").
QByteArray readRegularFile(const QString& path, qint64 limit);

// Writes bytes to a new file beside path and renames it over path. A failure raises DataError
// and leaves an existing file untouched.
void writeFileAtomically(const QString& path, const QByteArray& bytes,
                         FileWriter& writer = diskWriter());

// One file of a save of several files.
struct FileContent {
    QString path;
    QByteArray bytes;
};

// Saves several files all or nothing: every new file is written beside its target first; the
// targets are replaced only when all are written; when replacing one fails, the targets already
// replaced get their old content back. A failure raises DataError; the files then hold what
// they held before (unless putting one back fails too, which the message then names).
void writeFilesAllOrNothing(const std::vector<FileContent>& files,
                            FileWriter& writer = diskWriter());

} // namespace velmora::data
