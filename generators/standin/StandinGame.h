#pragma once
// Writes the stand-in for the game's extracted files into a directory: "Assets.xml",
// "texts_german.xml", "ProductionChain.xml" and "IconNames.txt" (the icon names whose
// pictures the icon source directory holds, one per line). The same tables always give the
// same bytes.
#include "generators/standin/StandinTables.h"

#include <QByteArray>
#include <QString>

namespace velmora::generators::standin {

void writeStandinGame(const StandinTables& tables, const QString& outDir);

// The large variant for the pipeline benchmark: the stand-in with its products cloned fifteen
// times and its buildings twice, padded with unrelated assets to about 150,000 assets
// (about 250 MB) and about 120,000 texts. Written piece by piece, never whole in memory.
void writeLargeStandinGame(const StandinTables& tables, const QString& outDir);

// The stand-in game's second version, an update of the game: the grain farm costs 120 coins
// instead of 100 and needs 8 farmers instead of 10, the bakery's upkeep is 70 instead of 60,
// and the lobster fishery is gone. Raises DataError when the tables lack one of these rows.
StandinTables withGameUpdate(const StandinTables& tables);

// The stand-in for the game's executable of a version (1 or 2): a short text, different for
// each version, as the executable of a real update differs.
QByteArray standinExecutable(int gameVersion);

// The tables with the clones of the large variant added.
StandinTables withClones(const StandinTables& tables, int productRounds, int buildingRounds);

} // namespace velmora::generators::standin
