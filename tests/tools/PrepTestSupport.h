#pragma once
// The program directory of a pipeline test: the work directories and an icon source, with game
// files copied into ORG; and reading back what the steps wrote.
#include "data/XmlDocument.h"
#include "support/TestSupport.h"
#include "tools/PrepCommon.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::test {

// ORG, TMP, XMLP, PNG, WOR and the icon source "icons-source" in a temporary directory, all
// but the ones named in without.
struct PrepRunDir {
    TempDir temp;
    tools::PrepDirectories dirs;

    explicit PrepRunDir(const QStringList& without = {}) {
        for (const char* name : {"ORG", "TMP", "XMLP", "PNG", "WOR", "icons-source"})
            if (!without.contains(QString::fromLatin1(name)))
                QDir(temp.path()).mkpath(QString::fromLatin1(name));
        dirs = tools::PrepDirectories::forProgramDir(temp.path(),
                                                     temp.file(QStringLiteral("icons-source")));
    }
    QString path(const QString& relative) const { return dirs.programDir + relative; }
    // Copies a fixture below tests/fixtures to a path relative to the program directory.
    void place(const QString& fixtureFile, const QString& relative) const {
        writeBytes(path(relative), readBytes(fixture(fixtureFile)));
    }
    QByteArray bytes(const QString& relative) const { return readBytes(path(relative)); }
};

// Copies the files of a fixture family (tests/fixtures/<family>/) into ORG.
inline void copyGameFiles(const tools::PrepDirectories& dirs, const QString& family) {
    const QDir source(fixture(family));
    for (const QString& name : source.entryList(QDir::Files))
        writeBytes(dirs.org() + name, readBytes(source.filePath(name)));
}

// The markup of a node on one line, without layout.
inline std::string rawMarkup(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

// The markup of every node an XPath query selects in a file.
inline std::vector<std::string> markupOf(const QString& file, const char* xpath) {
    const data::XmlDocument doc = data::XmlDocument::load(file);
    std::vector<std::string> result;
    for (const pugi::xml_node& node : data::selectNodes(doc.root(), xpath))
        result.push_back(rawMarkup(node));
    return result;
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
