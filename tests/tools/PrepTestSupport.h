#pragma once
// The program directory of a pipeline test: the work directories and an icon source, with game
// files copied into ORG; and reading back what the steps wrote.
#include "data/XmlDocument.h"
#include "support/TestSupport.h"
#include "tools/PrepCommon.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
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

// A program directory holding the stand-in game's files, its XMLP filled with marked files.
struct GameProgramDir {
    TempDir temp;
    QString dir = temp.file(QStringLiteral("program"));
    GameProgramDir() {
        const QString game = sourcePath(QStringLiteral("sample-game/ORG/"));
        for (const QString& file : QDir(game).entryList(QDir::Files))
            writeBytes(dir + QStringLiteral("/ORG/") + file, readBytes(game + file));
        for (const char* file : {"Buildings.xml", "BuffsShort.xml", "Help.xml"})
            writeBytes(xmlp(file), QByteArray("before the run: ") + file);
    }
    QString xmlp(const char* file) const {
        return dir + QStringLiteral("/XMLP/") + QString::fromUtf8(file);
    }
    // Runs velmora-dataprep all; returns its exit code and output.
    std::pair<int, QString> runAll() const {
        QProcess process;
        process.start(QStringLiteral(VELMORA_BIN_DIR "/velmora-dataprep"),
                      {QStringLiteral("all"), QStringLiteral("--program-dir"), dir,
                       QStringLiteral("--icon-source"),
                       sourcePath(QStringLiteral("sample-game/icons"))});
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "velmora-dataprep crashed";
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput() +
                                                           process.readAllStandardError())};
    }
    QStringList dataFolderEntries() const {
        return QDir(dir)
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
            .filter(QStringLiteral("XMLP"));
    }
};

} // namespace velmora::test
