#include "mod/BulkActivation.h"

#include "data/BuildingBrowser.h"
#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "mod/ModFolder.h"
#include "mod/ModStates.h"
#include "mod/ModWriter.h"
#include "mod/OrphanedMods.h"

#include <optional>

namespace velmora::mod {

namespace {

// One mod of the run: the building (or orphaned mod) it belongs to and what is done to it.
struct BulkItem {
    QString guid;
    QString name;
    std::function<QStringList()> step;
};

// The buildings of the pseudo-group, each with its step.
template <class Step>
std::vector<BulkItem> itemsOf(const QString& dataDir, int pseudoGroup, Step step) {
    std::vector<BulkItem> items;
    for (const data::BuildingEntry& b : data::BrowseBuildings(dataDir, 0, pseudoGroup, QString()))
        items.push_back({b.guid, b.local, [step, b] { return step(b); }});
    return items;
}

// Runs one step after the other; a step's DataError is the building's reason.
BulkReport runAll(const std::vector<BulkItem>& items, const BulkProgress& progress) {
    BulkReport report;
    report.total = int(items.size());
    for (const BulkItem& item : items) {
        if (progress && !progress(int(report.outcomes.size()), report.total, item.name)) {
            report.stopped = true;
            break;
        }
        BulkOutcome outcome;
        outcome.guid = item.guid;
        outcome.name = item.name;
        try {
            outcome.notes = item.step();
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
    RequireGameInPlace(r.gameExecutable);
    // The data files no activation writes are read once for the run (again after a building
    // failed to read them, so that each failure names its reason).
    std::optional<ModInputs> inputs;
    const auto activate = [&](const data::BuildingEntry& b) {
        ModRequest request{r.dataDir, r.modsDir, b.guid, b.local, r.version, r.userName};
        request.gameExecutable = r.gameExecutable;
        if (r.createdAt.isValid())
            request.createdAt = r.createdAt;
        RequireWritable(request); // before anything is read, as a single activation does
        if (!inputs)
            inputs = ModInputs::load(r.dataDir);
        return WriteMod(request, pictures, *inputs, writer).leftFolders;
    };
    // The changed buildings, then the other exported ones; a mod that is current stays as it is.
    std::vector<data::BuildingEntry> buildings =
        data::BrowseBuildings(r.dataDir, 0, data::kChangedPseudoGroup, QString());
    for (const data::BuildingEntry& b :
         data::BrowseBuildings(r.dataDir, 0, data::kExportedPseudoGroup, QString()))
        if (b.isChanged != QStringLiteral("true"))
            buildings.push_back(b);
    data::EditorFiles files(r.dataDir);
    const ModsDirectoryListing mods(r.modsDir);
    std::vector<BulkItem> items;
    int current = 0;
    QStringList notes;
    for (const data::BuildingEntry& b : buildings) {
        if (StateOfMod(files, mods, b.guid, b.local, b.isExported == QStringLiteral("true")) ==
            ModState::Current) {
            try {
                // The mod folder stays as it is; what a stopped run left beside it goes, as
                // after a write.
                notes << RemoveOtherFolders(BuildingModFolders(mods, b.guid, b.local), writer);
                ++current;
                continue;
            } catch (const data::DataError&) {
                // A name that can not name a mod folder: the write below says why.
            }
        }
        items.push_back({b.guid, b.local, [activate, b] { return activate(b); }});
    }
    BulkReport report = runAll(items, progress);
    report.current = current;
    report.notes = notes;
    return report;
}

BulkReport DeactivateAll(const BulkRequest& r, const BulkProgress& progress,
                         data::FileWriter& writer) {
    RequireGameInPlace(r.gameExecutable);
    std::vector<BulkItem> items =
        itemsOf(r.dataDir, data::kExportedPseudoGroup, [&](const data::BuildingEntry& b) {
            return RemoveMod(r.dataDir, r.modsDir, b.guid, b.local, r.gameExecutable, writer);
        });
    // The program's mods whose building is gone are its own too.
    for (const OrphanedMod& orphan : FindOrphanedMods(r.dataDir, r.modsDir))
        items.push_back({orphan.guid, orphan.local, [&r, &writer, orphan] {
                             return RemoveOrphanedMod(r.modsDir, orphan, r.gameExecutable, writer);
                         }});
    return runAll(items, progress);
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
    notes << report.notes;
    const QString current =
        QStringLiteral("Bereits aktuell und unverändert gelassen: %1 Mods.").arg(report.current);
    if (report.total == 0 && report.current > 0)
        return QStringLiteral("Alle %1 aktiven Mods sind bereits aktuell; es wurde nichts "
                              "geschrieben.")
            .arg(report.current);
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
    if (report.current > 0)
        lines << current;
    return lines.join(QLatin1Char('\r'));
}

} // namespace velmora::mod
