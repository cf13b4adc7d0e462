#include "mod/BulkActivation.h"

#include <optional>

#include "data/BuildingBrowser.h"
#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "mod/ModWriter.h"

namespace velmora::mod {

namespace {

// Runs one step per building of the pseudo-group; a step's DataError is the building's reason.
template <class Step>
BulkReport runAll(const QString& dataDir, int pseudoGroup, const BulkProgress& progress,
                  Step step) {
    const std::vector<data::BuildingEntry> buildings =
        data::BrowseBuildings(dataDir, 0, pseudoGroup, QString());
    BulkReport report;
    report.total = int(buildings.size());
    for (const data::BuildingEntry& b : buildings) {
        if (progress && !progress(int(report.outcomes.size()), report.total, b.local)) {
            report.stopped = true;
            break;
        }
        BulkOutcome outcome;
        outcome.guid = b.guid;
        outcome.name = b.local;
        try {
            outcome.notes = step(b);
            outcome.done = true;
        } catch (const data::DataError& e) {
            outcome.reason = e.message();
        }
        report.outcomes.push_back(outcome);
    }
    return report;
}

} // namespace

BulkReport ActivateAll(const BulkRequest& r, const NamedPictures& pictures,
                       const BulkProgress& progress, data::FileWriter& writer) {
    // The data files no activation writes are read once for the run (again after a building
    // failed to read them, so that each failure names its reason).
    std::optional<ModInputs> inputs;
    return runAll(
        r.dataDir, data::kChangedPseudoGroup, progress, [&](const data::BuildingEntry& b) {
            ModRequest request{r.dataDir, r.modsDir, b.guid, b.local, r.version, r.userName};
            request.gameExecutable = r.gameExecutable;
            if (r.createdAt.isValid())
                request.createdAt = r.createdAt;
            RequireWritable(request); // before anything is read, as a single activation does
            if (!inputs)
                inputs = ModInputs::load(r.dataDir);
            return WriteMod(request, pictures, *inputs, writer).leftFolders;
        });
}

BulkReport DeactivateAll(const BulkRequest& r, const BulkProgress& progress,
                         data::FileWriter& writer) {
    return runAll(r.dataDir, data::kExportedPseudoGroup, progress,
                  [&](const data::BuildingEntry& b) {
                      return RemoveMod(r.dataDir, r.modsDir, b.guid, b.local, writer);
                  });
}

QString BulkSummary(const BulkReport& report, bool activation) {
    QStringList done, failed, notes;
    for (const BulkOutcome& o : report.outcomes) {
        if (o.done)
            done << o.name;
        else
            failed << QStringLiteral("%1: %2").arg(o.name, o.reason);
        notes << o.notes;
    }
    if (report.total == 0)
        return activation ? QStringLiteral("Es gibt keine geänderten Gebäude.")
                          : QStringLiteral("Es gibt keine aktiven Mods dieses Programms.");
    QStringList lines;
    lines << (activation ? QStringLiteral("Geschrieben: %1 von %2 Gebäuden.")
                         : QStringLiteral("Entfernt: %1 von %2 Mods."))
                 .arg(done.size())
                 .arg(report.total);
    if (!failed.isEmpty())
        lines << QStringLiteral("Fehlgeschlagen:") << failed;
    if (report.stopped)
        lines << QStringLiteral("Abgebrochen: %1 Gebäude wurden nicht mehr bearbeitet.")
                     .arg(report.total - int(report.outcomes.size()));
    if (!notes.isEmpty())
        lines << QStringLiteral("Zurückgeblieben:") << notes;
    return lines.join(QLatin1Char('\r'));
}

} // namespace velmora::mod
