// velmora-standin: writes the stand-in for the game's extracted files from the tables.
//   velmora-standin --out DIR [--tables DIR] [--large]
#include "data/DataError.h"
#include "generators/standin/StandinGame.h"
#include "generators/standin/StandinTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

using namespace velmora;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString outDir;
    QString tablesDir = QStringLiteral(VELMORA_STANDIN_TABLES);
    bool large = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            outDir = args[++i];
        else if (args[i] == QLatin1String("--tables") && i + 1 < args.size())
            tablesDir = args[++i];
        else if (args[i] == QLatin1String("--large"))
            large = true;
        else
            outDir.clear(), i = static_cast<int>(args.size());
    }
    if (outDir.isEmpty()) {
        std::fprintf(
            stderr, "Aufruf: velmora-standin --out VERZEICHNIS [--tables VERZEICHNIS] [--large]\n");
        return 2;
    }
    try {
        if (!QDir().mkpath(outDir))
            throw data::DataError(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.")
                                      .arg(QDir::toNativeSeparators(outDir)));
        const generators::standin::StandinTables tables =
            generators::standin::StandinTables::load(tablesDir);
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
