#pragma once
// The version file of the data directory ("DataVersion.xml"): which game the data files were
// derived from and by which program version. velmora-dataprep writes it beside the data files,
// the data archive carries it, and an unpacked data directory keeps it, so the directory
// remembers which archive it came from.
//
//   <DataVersion program="1.0.0.0">
//     <Game version="1.0">
//       <Executable size="93" sha256="…"/>
//       <Assets size="123456" sha256="…"/>
//     </Game>
//   </DataVersion>
#include "data/DataFiles.h"

#include <QByteArray>
#include <QString>

namespace velmora::data {

// A file told apart by its size and the SHA-256 of its bytes (lower-case hexadecimal).
// Empty when unknown.
struct Fingerprint {
    qint64 size = -1;
    QString sha256;
    bool known() const { return size >= 0 && !sha256.isEmpty(); }
    bool operator==(const Fingerprint&) const = default;
};

struct DataVersion {
    QString program;     // the version of the program the data was made for
    QString gameVersion; // the game's version as the preparer named it
    Fingerprint executable, assets;
    bool operator==(const DataVersion&) const = default;
};

// The fingerprint of a regular file, read in pieces. Raises DataError naming the file when it
// can not be read.
Fingerprint FingerprintOf(const QString& path);

// The version file's text.
QByteArray WriteDataVersion(const DataVersion& version);
// Reads a version file. A damaged file raises DataError naming sourceName.
DataVersion ReadDataVersion(const QByteArray& bytes, const QString& sourceName);

} // namespace velmora::data
