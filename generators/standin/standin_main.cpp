// velmora-standin: writes the stand-in for the game's extracted files from the tables.
//   velmora-standin --out DIR [--tables DIR] [--large] [--update] [--executable FILE]
// --update writes the game's second version (an update with changed tables), --executable also
// writes the stand-in for the game's executable of that version.
#include "data/DataError.h"
#include "data/FileAccess.h"
#include "generators/standin/StandinGame.h"
#include "generators/standin/StandinTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

using namespace velmora;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString outDir;
    QString tablesDir = QStringLiteral(VELMORA_STANDIN_TABLES);
    QString executable;
    bool large = false, update = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            outDir = args[++i];
        else if (args[i] == QLatin1String("--tables") && i + 1 < args.size())
            tablesDir = args[++i];
        else if (args[i] == QLatin1String("--large"))
            large = true;
        else if (args[i] == QLatin1String("--update"))
            update = true;
        else if (args[i] == QLatin1String("--executable") && i + 1 < args.size())
            executable = args[++i];
        else
            outDir.clear(), i = static_cast<int>(args.size());
    }
    if (outDir.isEmpty()) {
        std::fprintf(stderr,
                     "Aufruf: velmora-standin --out VERZEICHNIS [--tables VERZEICHNIS] [--large] "
                     "[--update] [--executable DATEI]\n");
        return 2;
    }
    try {
        if (!QDir().mkpath(outDir))
            throw data::DataError(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.")
                                      .arg(QDir::toNativeSeparators(outDir)));
        generators::standin::StandinTables tables =
            generators::standin::StandinTables::load(tablesDir);
        if (update)
            tables = generators::standin::withGameUpdate(tables);
        if (!executable.isEmpty()) {
            QDir().mkpath(QFileInfo(executable).absolutePath());
            data::writeFileAtomically(executable,
                                      generators::standin::standinExecutable(update ? 2 : 1));
        }
        if (large)
            generators::standin::writeLargeStandinGame(tables, outDir);
        else
            generators::standin::writeStandinGame(tables, outDir);
    } catch (const data::DataError& e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    std::printf("Spielstand-Ersatz geschrieben nach %s\n",
                QDir::toNativeSeparators(outDir).toUtf8().constData());
    return 0;
}
