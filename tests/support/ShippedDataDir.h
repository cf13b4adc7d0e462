#pragma once
// A copy of the shipped data directory (resources/data/XMLP) for tests that change its files.
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace velmora::test {

// Copies every shipped data file into dir (created when missing); returns dir.
inline QString copyShippedData(const QString& dir) {
    const QDir shipped(sourcePath(QStringLiteral("resources/data/XMLP")));
    QDir().mkpath(dir);
    for (const QString& name : shipped.entryList(QDir::Files))
        if (!QFile::copy(shipped.filePath(name), QDir(dir).filePath(name)))
            throw std::runtime_error("cannot copy " + name.toStdString());
    return dir;
}

} // namespace velmora::test
