#pragma once
// A program directory for a pipeline run: the work directories, with game files copied into ORG.
#include "data/XmlDocument.h"
#include "support/TestSupport.h"
#include "tools/PrepCommon.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora::test {

inline tools::PrepDirectories makeProgramDir(const TempDir& dir, const QStringList& without = {}) {
    for (const char* name : {"ORG", "TMP", "XMLP", "PNG", "WOR", "icons"})
        if (!without.contains(QString::fromLatin1(name)))
            QDir(dir.path()).mkpath(QString::fromLatin1(name));
    return tools::PrepDirectories::forProgramDir(dir.path(), dir.file(QStringLiteral("icons")));
}

// Copies the files of a fixture family (tests/fixtures/<family>/) into ORG.
inline void copyGameFiles(const tools::PrepDirectories& dirs, const QString& family) {
    const QDir source(fixture(family));
    for (const QString& name : source.entryList(QDir::Files))
        writeBytes(dirs.org() + name, readBytes(source.filePath(name)));
}

// Texts at a path below every record of a record document, in record order.
inline std::vector<std::string> recordTexts(const QString& path, const char* relativePath) {
    const data::XmlDocument document = data::XmlDocument::load(path);
    std::vector<std::string> texts;
    for (const pugi::xml_node& record : document.root().children("Asset"))
        texts.push_back(data::childText(record, relativePath));
    return texts;
}

} // namespace velmora::test
