#pragma once
// Conventions shared by every step of the data-preparation pipelines: the program's work
// directories, line files in their three encodings, SortUnique and the icon name of a path.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace velmora::tools {

// The directories a pipeline run works in. All must exist before a run; none is created.
struct PrepDirectories {
    QString programDir; // with trailing separator
    QString iconSourceDir;
    // The folder the data files are written to instead of XMLP (a staging folder), or "".
    QString dataDir = QString();
    QString org() const { return programDir + QStringLiteral("ORG/"); }
    QString tmp() const { return programDir + QStringLiteral("TMP/"); }
    QString xmlp() const {
        return dataDir.isEmpty() ? programDir + QStringLiteral("XMLP/") : dataDir;
    }
    QString png() const { return programDir + QStringLiteral("PNG/"); }
    QString wor() const { return programDir + QStringLiteral("WOR/"); }
    static PrepDirectories forProgramDir(const QString& programDir, const QString& iconSourceDir);
};

// Told of each step as it starts: step id ("B3", "P1") and operation name.
using StepReporter = std::function<void(const QString& step, const QString& operation)>;

// How a line file is written and, without a byte-order mark, how it is read.
enum class LineEncoding { Utf8WithBom, Utf8, Windows1252 };

// Encodes/decodes Windows-1252 the same way on every platform. Characters the code page
// lacks become '?' when encoding.
QByteArray toWindows1252(const QString& text);
QString fromWindows1252(const QByteArray& bytes);

// Writes the lines, each followed by CR LF (the last one too), atomically.
void writeLineFile(const QString& path, const QStringList& lines, LineEncoding encoding);
// Reads a line file: split at CR, LF or CR LF; a byte-order mark selects UTF-8, otherwise
// fallback names the encoding. A missing file raises DataError. The empty text after the
// final line break is not a line.
QStringList readLineFile(const QString& path, LineEncoding fallback = LineEncoding::Windows1252);

// Sorts case-insensitively and drops repeated entries: "99", "100", "100" gives "100", "99".
QStringList SortUnique(const QStringList& lines);

// File name of a path without directory and extension; "\\", "/" and ":" separate directories.
QString iconNameOfPath(const QString& path);

// Escapes a value for an attribute or text of a line-written XML file.
QString xmlEscaped(const QString& value);

} // namespace velmora::tools
