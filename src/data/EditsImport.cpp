#include "data/EditsImport.h"

#include "data/BuildingIndex.h"
#include "data/EditorLookups.h"

#include <QHash>
#include <optional>

namespace velmora::data {

namespace {

// The index entry of the building, or nothing.
std::optional<BuildingEntry> indexEntry(EditorFiles& files, const QString& guid) {
    for (const pugi::xml_node& e : files.index().root().children("Building"))
        if (guid == fromUtf8(attributeTextAt(e, kBuildingGuid)))
            return BuildingEntry::fromElement(e);
    return std::nullopt;
}

ImportRow previewRow(const BuildingState* state, const ProductCatalogue& catalogue, ImportRow row) {
    const EditField* field = FindEditField(row.key);
    if (!field) {
        row.reason = QStringLiteral("Das Feld \u201E%1\u201C ist unbekannt.").arg(row.key);
        return row;
    }
    row.label = field->label;
    if (!state)
        return row; // the reason names the building already
    const std::optional<FieldValues> here = FieldValue(*state, *field);
    if (!here) {
        row.reason =
            QStringLiteral("Dieses Gebäude hat kein Feld \u201E%1\u201C.").arg(field->label);
        return row;
    }
    row.hereGame = here->game;
    row.current = here->current;
    if (row.current == row.edited) {
        row.status = ImportStatus::AlreadySo;
        return row;
    }
    row.reason = FieldValueFault(*state, *field, row.edited, catalogue);
    if (!row.reason.isEmpty())
        return row;
    row.status = row.hereGame != row.fileGame && row.edited != row.hereGame ? ImportStatus::Conflict
                                                                            : ImportStatus::Apply;
    return row;
}

} // namespace

std::vector<ImportRow> PreviewImport(EditorFiles& files, const EditsFile& edits) {
    std::vector<ImportRow> rows;
    const ProductCatalogue& catalogue = files.catalogue();
    for (const EditedBuilding& b : edits.buildings) {
        const std::optional<BuildingEntry> entry = indexEntry(files, b.guid);
        std::optional<BuildingState> state;
        QString missing;
        if (entry) {
            try {
                state = LoadBuildingState(files, b.guid);
            } catch (const DataError& e) {
                missing = e.message();
            }
        } else {
            missing =
                QStringLiteral("Das Gebäude %1 gibt es in diesen Spieldaten nicht.").arg(b.guid);
        }
        for (const EditedField& f : b.fields) {
            ImportRow row;
            row.guid = b.guid;
            row.name = entry ? entry->local : b.name;
            row.key = f.key;
            row.label = f.key;
            row.fileGame = f.game;
            row.edited = f.edited;
            row.reason = missing;
            rows.push_back(previewRow(state ? &*state : nullptr, catalogue, std::move(row)));
        }
    }
    return rows;
}

ImportChoice DefaultChoice(const ImportRow& row, ImportChoice preferConflicts) {
    switch (row.status) {
    case ImportStatus::Apply:
        return ImportChoice::Edited;
    case ImportStatus::Conflict:
        return preferConflicts;
    case ImportStatus::AlreadySo:
    case ImportStatus::NotApplicable:
        break;
    }
    return ImportChoice::Skip;
}

ImportOutcome ApplyImport(const QString& dataDir, const std::vector<ImportRow>& rows,
                          const std::vector<ImportChoice>& choices, FileWriter& writer) {
    if (choices.size() != rows.size())
        throw DataError(QStringLiteral("Zur Vorschau der Änderungen fehlen Entscheidungen."));
    // The rows to set, building by building in file order.
    QStringList order;
    QHash<QString, std::vector<std::pair<const ImportRow*, ImportChoice>>> chosen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ImportRow& row = rows[i];
        const bool settable =
            row.status == ImportStatus::Apply || row.status == ImportStatus::Conflict;
        if (choices[i] == ImportChoice::Skip || !settable)
            continue;
        if (!chosen.contains(row.guid))
            order << row.guid;
        chosen[row.guid].push_back({&row, choices[i]});
    }

    EditorFiles files(dataDir);
    const ProductCatalogue& catalogue = files.catalogue();
    ImportOutcome outcome;
    for (const QString& guid : order) {
        BuildingState state = LoadBuildingState(files, guid);
        bool production = false, costs = false, additional = false;
        for (const auto& [row, choice] : chosen[guid]) {
            const EditField* field = FindEditField(row->key);
            const std::optional<FieldValues> here =
                field ? FieldValue(state, *field) : std::nullopt;
            if (!here)
                throw DataError(QStringLiteral("Das Feld \u201E%1\u201C des Gebäudes %2 kann "
                                               "nicht gesetzt werden.")
                                    .arg(row->label, guid));
            // The new game value is the original column's, as a reset would copy it.
            const QString value = choice == ImportChoice::Game ? here->game : row->edited;
            if (choice == ImportChoice::Edited) {
                const QString fault = FieldValueFault(state, *field, value, catalogue);
                if (!fault.isEmpty())
                    throw DataError(QStringLiteral("Das Feld \u201E%1\u201C des Gebäudes %2: %3")
                                        .arg(field->label, guid, fault));
            }
            SetFieldValue(state, *field, value, catalogue);
            production = production || field->editor == FieldEditor::Production;
            costs = costs || field->editor == FieldEditor::Costs;
            additional = additional || field->editor == FieldEditor::AdditionalProducts;
            ++outcome.fields;
        }
        if (additional) {
            const AdditionalProducts& a = state.additional;
            const BuffApplyResult buff = ApplyAdditionalProducts(
                files, guid, a.goods, a.fertilityOn ? a.fertilityGuid : QStringLiteral("0"));
            state.production.hasBuff = buff.hasBuff;
        }
        if (production || additional)
            ApplyProductionSettings(files, guid, state.production);
        if (costs)
            ApplyCosts(files, guid, state.costs.current);
        outcome.buildings << QStringLiteral("%1 (%2)").arg(chosen[guid].front().first->name, guid);
    }
    // A building of the file that holds edits here but is not marked changed (an import stopped
    // between the saves of its files) gets its mark, so that importing again completes it.
    QStringList inFile;
    for (const ImportRow& row : rows)
        if (!inFile.contains(row.guid))
            inFile << row.guid;
    for (const QString& guid : inFile) {
        const std::optional<BuildingEntry> entry = indexEntry(files, guid);
        if (!entry || entry->isChanged == QStringLiteral("true") ||
            ChangedFields(LoadBuildingState(files, guid)).empty())
            continue;
        setAttributeAt(requireEntry(files.index(), "Building", guid), kBuildingIsChanged, "true");
        files.changed(files.index());
    }
    files.save(writer);
    return outcome;
}

QString RowText(const ImportRow& row, const ProductCatalogue& catalogue) {
    const EditField* field = FindEditField(row.key);
    const auto shown = [&](const QString& value) {
        return field ? ShownValue(*field, value, catalogue) : value;
    };
    const QString head = QStringLiteral("%1 (%2), %3: %4")
                             .arg(row.name, row.guid, row.label, StatusText(row.status));
    switch (row.status) {
    case ImportStatus::Apply:
        return head + QStringLiteral(" (%1 → %2)").arg(shown(row.current), shown(row.edited));
    case ImportStatus::AlreadySo:
        return head + QStringLiteral(" (%1)").arg(shown(row.current));
    case ImportStatus::Conflict:
        return head +
               QStringLiteral(" (Spielwert beim Export %1, Spielwert jetzt %2, bearbeitet %3)")
                   .arg(shown(row.fileGame), shown(row.hereGame), shown(row.edited));
    case ImportStatus::NotApplicable:
        break;
    }
    return head + QStringLiteral(": ") + row.reason;
}

QString StatusText(ImportStatus status) {
    switch (status) {
    case ImportStatus::Apply:
        return QStringLiteral("übernehmen");
    case ImportStatus::AlreadySo:
        return QStringLiteral("bereits so");
    case ImportStatus::Conflict:
        return QStringLiteral("Konflikt");
    case ImportStatus::NotApplicable:
        break;
    }
    return QStringLiteral("nicht anwendbar");
}

} // namespace velmora::data
