#pragma once
// "Alle aktivieren" and "Alle deaktivieren": the mod of every changed building written, or every
// mod of this program removed, one building after the other in the order of the list's
// pseudo-groups ("editierte Gebäude", "exportierte Gebäude").
//
// "Alle aktivieren" takes the changed buildings and then the other exported ones, and leaves
// every active mod that is current (ModStates.h) as it is, bytes and file times: it writes the
// changed buildings without a mod and rewrites the stale mods only, also the mod of a building
// that is no longer changed (after new game data it would still bring the old values). Beside a
// current mod, the hyphenated folder and what a stopped run left are removed as a write would.
//
// "Alle deaktivieren" also removes the program's mods whose building is gone (OrphanedMods.h),
// after the buildings. Both refuse to start, with the message of a single click, when the game is
// no longer where the start found it.
//
// Each building goes through WriteMod or RemoveMod as a single click would, so each one is all or
// nothing and keeps the flag rule. A building that fails is noted with its reason and the next
// one goes on. Before each building the progress is told and may stop the run: a run is only ever
// stopped between two buildings.
#include "data/FileWriter.h"
#include "mod/NamedPictures.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace velmora::mod {

struct BulkRequest {
    QString dataDir;
    QString modsDir;
    QString version;
    QString userName;
    QString gameExecutable = {}; // as ModRequest::gameExecutable
    QDateTime createdAt = {};    // the time in every mod's header; invalid: when it is written
};

struct BulkOutcome {
    QString guid;
    QString name;
    bool done = false; // written or removed
    QString reason;    // the German message of a failure
    QStringList notes; // folders left behind, named in German
};

struct BulkReport {
    std::vector<BulkOutcome> outcomes; // in the order the buildings were taken
    int total = 0;                     // buildings the run would take
    int current = 0;                   // active mods that were current already and left alone
    QStringList notes;                 // folders left beside those, named in German
    bool stopped = false;              // stopped before the last building
};

// Told before each building: how many are done, how many in all, the building's name. Returns
// false to stop the run there.
using BulkProgress = std::function<bool(int done, int total, const QString& name)>;

// Raise data::DataError, having changed nothing, when the game is no longer where the start
// found it.
BulkReport ActivateAll(const BulkRequest& request, const NamedPictures& pictures,
                       const BulkProgress& progress, data::FileWriter& writer = data::diskWriter());
BulkReport DeactivateAll(const BulkRequest& request, const BulkProgress& progress,
                         data::FileWriter& writer = data::diskWriter());

// The German summary at the end of a run: written or removed, failed with the reason per
// building, what was not taken after a stop, and how many mods were current already.
QString BulkSummary(const BulkReport& report, bool activation);

} // namespace velmora::mod
