#include "data/EditsImport.h"

#include "data/BuildingIndex.h"
#include "data/EditorLookups.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace velmora::data {

namespace {

// A count with its noun: "1 Feld", "2 Felder".
QString counted(qsizetype n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

// The index entry of the building, or nothing.
std::optional<BuildingEntry> indexEntry(EditorFiles& files, const QString& guid) {
    for (const pugi::xml_node& e : files.index().root().children("Building"))
        if (guid == fromUtf8(attributeTextAt(e, kBuildingGuid)))
            return BuildingEntry::fromElement(e);
    return std::nullopt;
}

// The position of the field in EditFields: the import sets a building's values in this order,
// so that the rules that tie fields together see them as the editors would.
std::size_t fieldOrder(const QString& key) {
    const EditField* field = FindEditField(key);
    return field ? std::size_t(field - EditFields().data()) : EditFields().size();
}

// The row of one field of the building as it is here. projected is the building as the import
// leaves it so far: each row set by default is set there too, so that the editors' rules judge a
// later field as it will be.
ImportRow previewRow(const BuildingState* here, BuildingState* projected,
                     const ProductCatalogue& catalogue, ImportRow row) {
    const EditField* field = FindEditField(row.key);
    if (!field) {
        row.reason = QStringLiteral("Das Feld \u201E%1\u201C ist unbekannt.").arg(row.key);
        return row;
    }
    row.label = field->label;
    if (!here)
        return row; // the reason names the building already
    const std::optional<FieldValues> values = FieldValue(*here, *field);
    if (!values) {
        row.reason =
            QStringLiteral("Dieses Gebäude hat kein Feld \u201E%1\u201C.").arg(field->label);
        return row;
    }
    row.hereGame = values->game;
    row.current = values->current;
    row.reason = FieldValueFault(*projected, *field, row.edited, catalogue);
    if (!row.reason.isEmpty()) {
        if (row.current == row.edited)
            row.status = ImportStatus::AlreadySo; // the value here is the file's, odd or not
        return row;
    }
    const RuledValue ruled = RuleValue(*projected, *field, *CanonicalValue(*field, row.edited));
    row.reason = ruled.note;
    if (!ruled.applicable)
        return row;
    row.edited = ruled.value; // as the editor will hold it
    if (row.current == row.edited) {
        row.status = ImportStatus::AlreadySo;
        return row;
    }
    // The file's game value is compared as the editor would write it; one that is not of the
    // field's kind is shown as given.
    row.fileGame = CanonicalValue(*field, row.fileGame).value_or(row.fileGame);
    // The player's own value here, or a field the game changed since the export, is not
    // overwritten unasked.
    const bool editedHere = row.current != row.hereGame;
    const bool gameChanged = row.hereGame != row.fileGame;
    row.status = editedHere || gameChanged ? ImportStatus::Conflict : ImportStatus::Apply;
    if (row.status == ImportStatus::Apply)
        SetFieldValue(*projected, *field, row.edited, catalogue);
    return row;
}

} // namespace

std::vector<ImportRow> PreviewImport(EditorFiles& files, const EditsFile& edits) {
    std::vector<ImportRow> rows;
    const ProductCatalogue& catalogue = files.catalogue();
    for (const EditedBuilding& b : edits.buildings) {
        const std::optional<BuildingEntry> entry = indexEntry(files, b.guid);
        std::optional<BuildingState> state, projected;
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
        projected = state;
        // The rows in file order, judged in the editors' order.
        std::vector<std::size_t> order(b.fields.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
            return fieldOrder(b.fields[x].key) < fieldOrder(b.fields[y].key);
        });
        const std::size_t first = rows.size();
        rows.resize(first + b.fields.size());
        for (const std::size_t i : order) {
            const EditedField& f = b.fields[i];
            ImportRow row;
            row.guid = b.guid;
            row.name = entry ? entry->local : b.name;
            row.key = f.key;
            row.label = f.key;
            row.fileGame = f.game;
            row.edited = f.edited;
            row.reason = missing;
            rows[first + i] =
                previewRow(state ? &*state : nullptr, projected ? &*projected : nullptr, catalogue,
                           std::move(row));
        }
    }
    return rows;
}

std::vector<ImportChoice> OfferedChoices(const ImportRow& row) {
    switch (row.status) {
    case ImportStatus::Apply:
        return {ImportChoice::Edited};
    case ImportStatus::Conflict: {
        // The file's value differs from the one here, or the row would be AlreadySo.
        std::vector<ImportChoice> choices = {ImportChoice::Skip, ImportChoice::Edited};
        if (row.hereGame != row.fileGame && row.hereGame != row.current &&
            row.hereGame != row.edited)
            choices.push_back(ImportChoice::Game);
        return choices;
    }
    case ImportStatus::AlreadySo:
    case ImportStatus::NotApplicable:
        break;
    }
    return {ImportChoice::Skip};
}

QString ChoiceText(const ImportRow& row, ImportChoice choice) {
    switch (choice) {
    case ImportChoice::Edited:
        return QStringLiteral("Wert aus der Datei übernehmen");
    case ImportChoice::Game:
        return QStringLiteral("neuen Spielwert übernehmen");
    case ImportChoice::Skip:
        break;
    }
    if (row.status != ImportStatus::Conflict)
        return QStringLiteral("überspringen");
    return row.current == row.hereGame ? QStringLiteral("neuen Spielwert behalten")
                                       : QStringLiteral("meinen Wert behalten");
}

ImportChoice DefaultChoice(const ImportRow& row, ImportChoice preferConflicts) {
    const std::vector<ImportChoice> offered = OfferedChoices(row);
    if (row.status == ImportStatus::Conflict &&
        std::find(offered.begin(), offered.end(), preferConflicts) != offered.end())
        return preferConflicts;
    return offered.front();
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
        if (choices[i] == ImportChoice::Skip)
            continue;
        const std::vector<ImportChoice> offered = OfferedChoices(row);
        if (std::find(offered.begin(), offered.end(), choices[i]) == offered.end())
            throw DataError(QStringLiteral("Das Feld \u201E%1\u201C des Gebäudes %2 bietet die "
                                           "Entscheidung \u201E%3\u201C nicht an.")
                                .arg(row.label, row.guid, ChoiceText(row, choices[i])));
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
        int set = 0; // the fields of the building given another value
        auto& settings = chosen[guid];
        std::stable_sort(settings.begin(), settings.end(), [](const auto& x, const auto& y) {
            return fieldOrder(x.first->key) < fieldOrder(y.first->key);
        });
        for (const auto& [row, choice] : settings) {
            const EditField* field = FindEditField(row->key);
            const std::optional<FieldValues> here =
                field ? FieldValue(state, *field) : std::nullopt;
            if (!here)
                throw DataError(QStringLiteral("Das Feld \u201E%1\u201C des Gebäudes %2 kann "
                                               "nicht gesetzt werden.")
                                    .arg(row->label, guid));
            // The new game value is the original column's, as a reset would copy it.
            const QString value = choice == ImportChoice::Game ? here->game : row->edited;
            if (value == here->current)
                continue; // nothing to set, nothing to count
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
            ++set;
        }
        if (set == 0)
            continue;
        outcome.fields += set;
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
    // A building the preview could not load (shown as not applicable) had nothing set: it keeps
    // its mark as it is rather than failing the whole import.
    const auto holdsEdits = [&](const QString& guid) {
        try {
            return !ChangedFields(LoadBuildingState(files, guid)).empty();
        } catch (const DataError&) {
            return false;
        }
    };
    for (const QString& guid : inFile) {
        const std::optional<BuildingEntry> entry = indexEntry(files, guid);
        if (!entry || entry->isChanged == QStringLiteral("true") || !holdsEdits(guid))
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
    // What the editor's rules made of the file's value, if anything.
    const QString note = row.reason.isEmpty() ? QString() : QStringLiteral(": ") + row.reason;
    switch (row.status) {
    case ImportStatus::Apply:
        return head + QStringLiteral(" (%1 → %2)").arg(shown(row.current), shown(row.edited)) +
               note;
    case ImportStatus::AlreadySo:
        return head + QStringLiteral(" (%1)").arg(shown(row.current)) + note;
    case ImportStatus::Conflict:
        return head + QStringLiteral(" (Spielwert beim Export %1, Spielwert jetzt %2, aktuell %3, "
                                     "bearbeitet %4)")
                          .arg(shown(row.fileGame), shown(row.hereGame), shown(row.current),
                               shown(row.edited));
    case ImportStatus::NotApplicable:
        break;
    }
    return head + QStringLiteral(": ") + row.reason;
}

bool NothingToSet(const std::vector<ImportRow>& rows) {
    return std::none_of(rows.begin(), rows.end(), [](const ImportRow& row) {
        return row.status == ImportStatus::Apply || row.status == ImportStatus::Conflict;
    });
}

QString NothingToSetText() {
    return QStringLiteral("Die Datei ändert hier nichts: jedes Feld ist bereits so oder nicht "
                          "anwendbar.");
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

QString PreviewSummaryText(const std::vector<ImportRow>& rows) {
    int counts[4] = {};
    for (const ImportRow& row : rows)
        ++counts[int(row.status)];
    return QStringLiteral("%1 übernehmen, %2, %3 bereits so, %4 nicht anwendbar.")
               .arg(counted(counts[int(ImportStatus::Apply)], "Feld", "Felder"),
                    counted(counts[int(ImportStatus::Conflict)], "Konflikt", "Konflikte"))
               .arg(counts[int(ImportStatus::AlreadySo)])
               .arg(counts[int(ImportStatus::NotApplicable)]) +
           (NothingToSet(rows) ? QLatin1Char(' ') + NothingToSetText() : QString());
}

QString OutcomeText(const std::vector<ImportRow>& rows, const ImportOutcome& outcome) {
    if (NothingToSet(rows))
        return NothingToSetText();
    return QStringLiteral("%1 in %2 übernommen.")
        .arg(counted(outcome.fields, "Feld", "Felder"),
             counted(outcome.buildings.size(), "Gebäude", "Gebäuden"));
}

} // namespace velmora::data
