#include "mod/EditsOverview.h"

#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "mod/ModWriter.h"
#include "mod/OrphanedMods.h"

#include <QSet>
#include <QStringList>
#include <algorithm>

namespace velmora::mod {

namespace {

// A field of the report, quoted when it holds the separator, a quote or a line break.
QString csvField(const QString& text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

int EditsOverview::fieldCount() const {
    int n = 0;
    for (const OverviewBuilding& b : buildings)
        n += int(b.edit.fields.size());
    return n;
}

int EditsOverview::editedCount() const {
    return int(std::count_if(buildings.begin(), buildings.end(),
                             [](const OverviewBuilding& b) { return b.edited; }));
}

int EditsOverview::countOf(ModState state) const {
    return int(std::count_if(buildings.begin(), buildings.end(),
                             [state](const OverviewBuilding& b) { return b.mod == state; }));
}

EditsOverview LoadEditsOverview(data::EditorFiles& files, const QString& modsDir) {
    EditsOverview overview;
    const ModsDirectoryListing mods(modsDir);
    QSet<QString> listed;
    for (data::BuildingEdit& edit : data::ListEdits(files)) {
        listed.insert(edit.guid);
        overview.buildings.push_back({std::move(edit), ModState::Inactive});
    }
    // An active mod counts without an edit too: after new game data it may hold the old values.
    for (const pugi::xml_node& e : files.index().root().children("Building")) {
        const data::BuildingEntry entry = data::BuildingEntry::fromElement(e);
        if (entry.isExported == QStringLiteral("true") && !listed.contains(entry.guid))
            overview.buildings.push_back(
                {{entry.guid, entry.local, true, {}}, ModState::Inactive, false});
    }
    for (OverviewBuilding& b : overview.buildings)
        b.mod = StateOfMod(files, mods, b.edit.guid, b.edit.name, b.edit.exported);
    for (const OrphanedMod& orphan : FindOrphanedMods(files.index(), mods))
        overview.buildings.push_back(
            {{orphan.guid, orphan.local, true, {}}, ModState::Orphaned, false});
    return overview;
}

QStringList RemoveModOf(const OverviewBuilding& b, const QString& dataDir, const QString& modsDir,
                        const QString& gameExecutable, data::FileWriter& writer) {
    switch (b.mod) {
    case ModState::Orphaned:
        return RemoveOrphanedMod(modsDir, {b.edit.guid, b.edit.name, QString()}, gameExecutable,
                                 writer);
    case ModState::Current:
    case ModState::OutOfDate:
        return RemoveMod(dataDir, modsDir, b.edit.guid, b.edit.name, gameExecutable, writer);
    case ModState::Inactive:
        break;
    }
    throw data::DataError(
        QStringLiteral("Das Gebäude \u201E%1\u201C hat keinen aktiven Mod; es gibt nichts zu "
                       "entfernen.")
            .arg(ModTitle(b.edit.guid, b.edit.name)));
}

QByteArray EditsReportCsv(const EditsOverview& overview, const data::ProductCatalogue& catalogue) {
    QStringList lines = {QStringLiteral("Gebäude;GUID;Feld;Spielwert;aktueller Wert;Mod")};
    for (const OverviewBuilding& b : overview.buildings) {
        const QString head = csvField(b.edit.name) + u';' + b.edit.guid + u';';
        const QString tail = u';' + ModStateText(b.mod);
        if (b.edit.fields.empty())
            lines << head + QStringLiteral(";;") + tail;
        for (const data::FieldEdit& f : b.edit.fields) {
            const data::EditField* field = data::FindEditField(f.key);
            lines << head + csvField(field->label) + u';' +
                         csvField(data::ShownValue(*field, f.game, catalogue)) + u';' +
                         csvField(data::ShownValue(*field, f.current, catalogue)) + tail;
        }
    }
    return QByteArray("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
}

} // namespace velmora::mod
