#pragma once
// Writes the stand-in for the game's extracted files into a directory: "Assets.xml",
// "texts_german.xml", "ProductionChain.xml" and "IconNames.txt" (the icon names whose
// pictures the icon source directory holds, one per line). The same tables always give the
// same bytes.
#include "generators/standin/StandinTables.h"

#include <QString>

namespace velmora::generators::standin {

void writeStandinGame(const StandinTables& tables, const QString& outDir);

// The large variant for the pipeline benchmark: the stand-in with its products cloned fifteen
// times and its buildings twice, padded with unrelated assets to about 150,000 assets
// (about 250 MB) and about 120,000 texts. Written piece by piece, never whole in memory.
void writeLargeStandinGame(const StandinTables& tables, const QString& outDir);

// The tables with the clones of the large variant added.
StandinTables withClones(const StandinTables& tables, int productRounds, int buildingRounds);

} // namespace velmora::generators::standin
