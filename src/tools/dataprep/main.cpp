// velmora-dataprep: derives the shipped data files from the game's extracted files.
//
//   velmora-dataprep buildings|products|all --program-dir DIR [--icon-source DIR]
//                    [--game-dir DIR] [--game-version TEXT]
//
// Prints each step as it starts and a one-line summary at the end. A step that stops prints
// the step and the reason (which names the file) and ends the program with exit code 1;
// wrong arguments end it with exit code 2.
//
// One run at a time works in a program directory (a second one is refused), and the data files
// are written to a staging folder that replaces XMLP only when every step succeeded. "all" also
// writes the version file: the game's executable (below --game-dir) and "Assets.xml" it read,
// each by size and SHA-256, the game version as given and this program's version.
#include "tools/CreateBuildingsUnit.h"
#include "tools/ExtractionFiles.h"

#include "data/ConsoleText.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/DataVersion.h"
#include "data/FileAccess.h"
#include "data/XmlDocument.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>
#include <cstdio>

using namespace velmora;

namespace {

const char* const kUsage =
    "Aufruf: velmora-dataprep buildings|products|all --program-dir VERZEICHNIS [--icon-source "
    "VERZEICHNIS]\n"
    "       [--game-dir VERZEICHNIS] [--game-version TEXT]\n"
    "\n"
    "  buildings   Gebäude-Schritte (Asset-Listen, Gebäudeindex, Buff-Tabelle, Feld- und "
    "Gruppenliste,\n"
    "              Gebäudesymbole)\n"
    "  products    Produkt-Schritte (Produktkatalog, Produktsymbole)\n"
    "  all         das ganze Datenverzeichnis aus ORG und den Symbolquellen; legt fehlende\n"
    "              Verzeichnisse TMP, XMLP, PNG und WOR an\n"
    "\n"
    "  --program-dir VERZEICHNIS  Programmverzeichnis mit ORG, TMP, XMLP, PNG (und WOR)\n"
    "  --icon-source VERZEICHNIS  Symbolbilder des Spiels (Name + \"_0.png\");\n"
    "                             Vorgabe: Programmverzeichnis/icons-source\n"
    "  --game-dir VERZEICHNIS     Hauptverzeichnis des Spiels, dessen Programmdatei (Bin/Win64/\n"
    "                             Velmora.exe) in der Versionsdatei vermerkt wird (nur \"all\")\n"
    "  --game-version TEXT        Version des Spiels für die Versionsdatei (nur \"all\")\n";

void print(FILE* stream, const QString& text) {
    data::printText(stream, text);
}

// Modification stamps of every file below the run's directories.
QHash<QString, QPair<qint64, qint64>> fileStamps(const tools::PrepDirectories& dirs) {
    QHash<QString, QPair<qint64, qint64>> stamps;
    for (const QString& dir : {dirs.org(), dirs.tmp(), dirs.xmlp(), dirs.png()}) {
        QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            stamps.insert(info.absoluteFilePath(),
                          {info.lastModified().toMSecsSinceEpoch(), info.size()});
        }
    }
    return stamps;
}

qsizetype countElements(const QString& path, const char* name) {
    if (!QFileInfo::exists(path))
        return 0;
    try {
        const data::XmlDocument doc = data::XmlDocument::load(path);
        qsizetype n = 0;
        for (const pugi::xml_node& child : doc.root().children(name))
            (void)child, ++n;
        return n;
    } catch (const data::DataError&) {
        return 0;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString command, programDir, iconSource, gameDir, gameVersion;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            print(stdout, QString::fromUtf8(kUsage));
            return 0;
        }
        QString* const value = a == QStringLiteral("--program-dir")    ? &programDir
                               : a == QStringLiteral("--icon-source")  ? &iconSource
                               : a == QStringLiteral("--game-dir")     ? &gameDir
                               : a == QStringLiteral("--game-version") ? &gameVersion
                                                                       : nullptr;
        if (value && i + 1 < args.size())
            *value = args[++i];
        else if (command.isEmpty() && !a.startsWith(QStringLiteral("--")))
            command = a;
        else {
            print(stderr, QStringLiteral("Unbekanntes Argument \u201E%1\u201C.\n\n").arg(a) +
                              QString::fromUtf8(kUsage));
            return 2;
        }
    }
    const QStringList commands = {QStringLiteral("buildings"), QStringLiteral("products"),
                                  QStringLiteral("all")};
    if (!commands.contains(command) || programDir.isEmpty()) {
        print(stderr, QString::fromUtf8(kUsage));
        return 2;
    }
    if (iconSource.isEmpty())
        iconSource = QDir(programDir).filePath(QStringLiteral("icons-source"));
    const tools::PrepDirectories dirs =
        tools::PrepDirectories::forProgramDir(programDir, iconSource);

    QString current;
    const tools::StepReporter report = [&](const QString& step, const QString& operation) {
        current = step + u' ' + operation;
        print(stdout, current + QStringLiteral(" ...\n"));
    };
    try {
        tools::PrepareRunDirectories(dirs, command == QStringLiteral("all"));
        const tools::ProgramDirLock lock(dirs);
        const auto before = fileStamps(dirs);
        tools::RunWithStagedDataDirectory(dirs, [&](const tools::PrepDirectories& staged) {
            if (command == QStringLiteral("buildings"))
                tools::RunBuildingsPipeline(staged, report);
            else if (command == QStringLiteral("products"))
                tools::RunProductsPipeline(staged, report);
            else {
                tools::RunAllPipelines(staged, report);
                data::DataVersion version;
                version.program = QStringLiteral(VELMORA_PROGRAM_VERSION);
                version.gameVersion = gameVersion;
                if (!gameDir.isEmpty())
                    version.executable = data::FingerprintOf(
                        QDir(gameDir).filePath(QStringLiteral("Bin/Win64/Velmora.exe")));
                version.assets = data::FingerprintOf(staged.org() + tools::files::kGameAssets);
                data::writeFileAtomically(staged.xmlp() + data::kDataVersionFile,
                                          data::WriteDataVersion(version));
            }
        });
        const auto after = fileStamps(dirs);
        qsizetype written = 0;
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            if (before.value(it.key(), {-1, -1}) != it.value())
                ++written;
        print(stdout, QStringLiteral("Fertig: %1 Gebäude, %2 Produkte, %3 Dateien geschrieben.\n")
                          .arg(countElements(dirs.xmlp() + data::kBuildingIndexFile, "Building"))
                          .arg(countElements(dirs.xmlp() + data::kProductCatalogueFile, "Product"))
                          .arg(written));
        return 0;
    } catch (const data::DataError& e) {
        const QString where =
            current.isEmpty() ? QString() : QStringLiteral("Schritt %1 abgebrochen: ").arg(current);
        print(stderr, where + e.message() + u'\n');
        return 1;
    } catch (const std::exception& e) {
        const QString where =
            current.isEmpty() ? QString() : QStringLiteral("Schritt %1 abgebrochen: ").arg(current);
        print(stderr, where + QString::fromLocal8Bit(e.what()) + u'\n');
        return 1;
    }
}
