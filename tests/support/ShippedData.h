#pragma once
// A copy of the shipped data directory (resources/data/XMLP) for tests that change files.
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

namespace velmora::test {

// Copies every file of the shipped data directory into dir; returns dir.
inline QString copyShippedData(const QString& dir) {
    const QDir source(sourcePath(QStringLiteral("resources/data/XMLP")));
    QDir().mkpath(dir);
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), QDir(dir).filePath(name));
    return dir;
}

} // namespace velmora::test
