#pragma once
// A program directory for one pipeline test: ORG, TMP, XMLP, PNG and an icon source.
#include "support/TestSupport.h"
#include "tools/PrepCommon.h"

#include <QDir>

namespace velmora::test {

struct PrepRunDir {
    TempDir temp;
    tools::PrepDirectories dirs;

    PrepRunDir() {
        for (const char* sub : {"ORG", "TMP", "XMLP", "PNG", "icons-source"})
            QDir(temp.path()).mkpath(QString::fromUtf8(sub));
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

} // namespace velmora::test

#include "data/XmlDocument.h"

#include <sstream>

namespace velmora::test {

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

} // namespace velmora::test
