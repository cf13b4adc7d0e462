#pragma once
// The edits file: the edits of buildings in one small JSON text that people can read and share.
//
//   {
//     "format": "velmora-cindral-edits",
//     "version": 1,
//     "program": "1.0.0.0",
//     "created": "2026-12-11T09:30:00",
//     "buildings": [
//       { "guid": "1010278", "name": "Fischerei",
//         "fields": [
//           { "field": "outputAmount", "game": "1", "edited": "2" },
//           { "field": "input1", "game": "0", "edited": "120008",
//             "gameText": "keine", "editedText": "Weizen" } ] } ]
//   }
//
// "field" is a key of EditFields; "game" is the game's value when the file was written and
// "edited" the edited one, both as texts (a good by GUID, a switch "0" or "1"). "gameText" and
// "editedText" show the values as the editors do and are not read back. Unknown members are
// ignored, so a later version of the same format can add some.
#include "data/BuildingEdits.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace velmora::data {

inline const QString kEditsFormat = QStringLiteral("velmora-cindral-edits");
// The version this program writes; files of this version and older are read.
constexpr int kEditsFormatVersion = 1;

struct EditedField {
    QString key;
    QString game;
    QString edited;
    bool operator==(const EditedField&) const = default;
};

struct EditedBuilding {
    QString guid;
    QString name;
    std::vector<EditedField> fields;
    bool operator==(const EditedBuilding&) const = default;
};

struct EditsFile {
    int version = kEditsFormatVersion;
    QString program; // the version of the program that wrote it
    QString created; // local time, ISO 8601 without zone
    std::vector<EditedBuilding> buildings;
    bool operator==(const EditsFile&) const = default;
};

// The file of the edits (game value and current value become game and edited).
EditsFile EditsFileOf(const std::vector<BuildingEdit>& edits, const QString& program,
                      const QString& created);

// The JSON text, UTF-8, with the goods' names from the catalogue beside their GUIDs.
QByteArray WriteEditsFile(const EditsFile& file, const ProductCatalogue& catalogue);

// The most of an edits file that is read: every field of every building takes well under 1 MiB.
inline constexpr qint64 kEditsFileSizeLimit = qint64(16) << 20;

// Reads an edits file. A text that is no JSON (the parser's fault in German, with line and
// character), in UTF-16 or UTF-32 (named), of another format or of a newer version (the version
// range is checked before it becomes a whole number), a building without a decimal GUID, a GUID
// or a field given twice, a value that is no text, or a text holding half of a surrogate pair
// raises DataError with a German message naming sourceName. A file this program wrote reads
// back as the edits it was written from; a file read and written again reads back the same.
EditsFile ReadEditsFile(const QByteArray& bytes, const QString& sourceName);

} // namespace velmora::data
