// The stand-in game files and the shipped data files are generated, never edited by hand:
// regenerating them from the tables must give the committed bytes.
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace velmora::test;

namespace {

// Runs a tool of the build; the test fails with its output when it does not succeed.
void runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_BIN_DIR "/") + tool, arguments);
    ASSERT_TRUE(process.waitForFinished(600000)) << tool.toStdString();
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit) << tool.toStdString();
    ASSERT_EQ(process.exitCode(), 0)
        << tool.toStdString() << ": " << process.readAll().toStdString();
}

// Every file of `generated` equals the committed file of the same name in `committed`.
void expectSameFiles(const QString& generated, const QString& committed, const QStringList& files) {
    ASSERT_FALSE(files.isEmpty()) << generated.toStdString();
    for (const QString& file : files)
        EXPECT_EQ(readBytes(generated + QLatin1Char('/') + file),
                  readBytes(committed + QLatin1Char('/') + file))
            << file.toStdString();
}

QStringList filesOf(const QString& directory) {
    return QDir(directory).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(ShippedDataRegeneration, TablesGiveTheCommittedGameFilesAndDataFiles) {
    TempDir program;
    const QString org = program.file(QStringLiteral("ORG"));
    const QString icons = program.file(QStringLiteral("icons"));
    const QString executable = program.file(QStringLiteral("game/Bin/Win64/Velmora.exe"));
    runTool(QStringLiteral("velmora-standin"),
            {QStringLiteral("--out"), org, QStringLiteral("--executable"), executable});
    EXPECT_EQ(readBytes(executable),
              readBytes(sourcePath(QStringLiteral("sample-game/Bin/Win64/Velmora.exe"))));
    EXPECT_EQ(filesOf(org), filesOf(sourcePath(QStringLiteral("sample-game/ORG"))));
    expectSameFiles(org, sourcePath(QStringLiteral("sample-game/ORG")), filesOf(org));

    runTool(QStringLiteral("velmora-pictures"),
            {QStringLiteral("icons"), QStringLiteral("--out"), icons, QStringLiteral("--suffix"),
             QStringLiteral("_0"), QStringLiteral("--names-file"),
             org + QStringLiteral("/IconNames.txt")});
    EXPECT_EQ(filesOf(icons), filesOf(sourcePath(QStringLiteral("sample-game/icons"))));
    expectSameFiles(icons, sourcePath(QStringLiteral("sample-game/icons")), filesOf(icons));

    runTool(QStringLiteral("velmora-dataprep"),
            {QStringLiteral("all"), QStringLiteral("--program-dir"), program.path(),
             QStringLiteral("--icon-source"), icons, QStringLiteral("--game-dir"),
             program.file(QStringLiteral("game")), QStringLiteral("--game-version"),
             QStringLiteral("1.0")});
    // "Help.xml" and "Active.png" are made by hand, not by the data tools.
    QStringList dataFiles = filesOf(program.file(QStringLiteral("XMLP")));
    dataFiles.removeAll(QStringLiteral("Help.xml"));
    dataFiles.removeAll(QStringLiteral("Active.png"));
    EXPECT_EQ(dataFiles.size(), 8);
    expectSameFiles(program.file(QStringLiteral("XMLP")),
                    sourcePath(QStringLiteral("resources/data/XMLP")), dataFiles);
    // The collected building and product pictures are embedded from resources/pictures.
    expectSameFiles(program.file(QStringLiteral("PNG")),
                    sourcePath(QStringLiteral("resources/pictures")),
                    filesOf(program.file(QStringLiteral("PNG"))));
}
