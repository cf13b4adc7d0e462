#pragma once
// The code every step of the data-preparation pipelines shares: the program's work
// directories, the step reporter, a step's checks and failures, line files in their three
// encodings, SortUnique, the icon name of a path, and the access to the records of a record
// document.
#include "data/DataError.h"
#include "data/XmlDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::tools {

// The directories a pipeline run works in. The steps require the ones they use to exist
// (requireDirectories); only PrepareRunDirectories, for "velmora-dataprep all", creates the
// missing work directories.
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

// Tells the reporter (if any) that a step starts.
void reportStep(const StepReporter& report, const char* step, const char* operation);

// Raises DataError naming the first of the directories that does not exist.
void requireDirectories(const QStringList& directories);

// A step that stops: DataError naming the file and the reason.
[[noreturn]] void failStep(const QString& path, const QString& reason);

// Whether a text is a plain decimal number, as every GUID of the data files is.
bool isPlainNumber(std::string_view text);
// Stops the step when the GUID of a record is not a plain number: the data files would carry
// it into queries and the program would refuse them. what names the record ("Ein Produkt").
void requirePlainGuid(const std::string& guid, const QString& path, const QString& what);

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

// The element children of the root, in document order: the records of a record document.
inline std::vector<pugi::xml_node> recordsOf(const data::XmlDocument& doc) {
    std::vector<pugi::xml_node> records;
    for (const pugi::xml_node& child : doc.root().children())
        if (child.type() == pugi::node_element)
            records.push_back(child);
    return records;
}

inline QString recordGuid(const pugi::xml_node& record) {
    return data::fromUtf8(data::childText(record, "Values/Standard/GUID"));
}

// The element at a path below a record; a record without it stops the step.
inline pugi::xml_node requireElement(const pugi::xml_node& record, const char* path,
                                     const QString& file) {
    const pugi::xml_node element = record.first_element_by_path(path);
    if (!element) {
        const QString guid = recordGuid(record);
        throw data::DataError(
            QStringLiteral("In der Datei %1 fehlt dem Datensatz %2 das Element \u201E%3\u201C.")
                .arg(data::quotedPath(file),
                     guid.isEmpty() ? QStringLiteral("ohne GUID")
                                    : QStringLiteral("mit der GUID ") + guid,
                     QString::fromUtf8(path)));
    }
    return element;
}

inline std::string requireText(const pugi::xml_node& record, const char* path,
                               const QString& file) {
    return requireElement(record, path, file).child_value();
}

} // namespace velmora::tools
