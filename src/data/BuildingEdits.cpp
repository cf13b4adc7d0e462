#include "data/BuildingEdits.h"

#include "data/BuildingIndex.h"
#include "data/EditorLookups.h"
#include "data/ProductPicker.h"

namespace velmora::data {

namespace {

const QString kNone = QStringLiteral("0");
const QString kOne = QStringLiteral("1");

std::vector<EditField> makeFields() {
    using K = FieldKind;
    using E = FieldEditor;
    std::vector<EditField> f;
    for (int k = 0; k < 4; ++k)
        f.push_back({QStringLiteral("input%1").arg(k + 1),
                     QStringLiteral("Eingangsprodukt %1").arg(k + 1), K::Good, E::Production, 0, 0,
                     k});
    f.push_back(
        {QStringLiteral("output"), QStringLiteral("Ausgabeprodukt"), K::Good, E::Production});
    f.push_back({QStringLiteral("outputAmount"), QStringLiteral("Ausgabemenge"), K::Number,
                 E::Production, 1, 3});
    f.push_back({QStringLiteral("upkeep"), QStringLiteral("Betriebskosten"), K::Number,
                 E::Production, 0, 5000});
    f.push_back({QStringLiteral("workforce"), QStringLiteral("Art der Arbeitskräfte"), K::Good,
                 E::Production});
    f.push_back({QStringLiteral("workforceAmount"), QStringLiteral("Anzahl Arbeitskräfte"),
                 K::Number, E::Production, 0, 1000});
    f.push_back({QStringLiteral("influenceRadius"), QStringLiteral("Nutzungsradius"), K::Number,
                 E::Production, 0, 15});
    f.push_back({QStringLiteral("moduleLimit"), QStringLiteral("Anzahl der Module"), K::Number,
                 E::Production, 0, 500});
    f.push_back({QStringLiteral("moduleRadius"), QStringLiteral("Modulradius"), K::Number,
                 E::Production, 0, 150});
    f.push_back({QStringLiteral("incidents"), QStringLiteral("Zwischenfälle möglich"), K::Switch,
                 E::Production});
    f.push_back({QStringLiteral("electricityRequired"), QStringLiteral("Elektrizität erforderlich"),
                 K::Switch, E::Production});
    f.push_back({QStringLiteral("electricityUsed"), QStringLiteral("Elektrizität verwenden"),
                 K::Switch, E::Production});
    f.push_back({QStringLiteral("coins"), QStringLiteral("Baukosten Münzen"), K::Number, E::Costs,
                 0, 100000, 0});
    for (int k = 1; k < kCostSlots; ++k) {
        f.push_back({QStringLiteral("cost%1").arg(k), QStringLiteral("Baukosten Ware %1").arg(k),
                     K::Good, E::Costs, 0, 0, k});
        f.push_back({QStringLiteral("cost%1Amount").arg(k),
                     QStringLiteral("Baukosten Ware %1 Menge").arg(k), K::Number, E::Costs, 0, 150,
                     k});
    }
    for (int k = 0; k < kAddSlots; ++k) {
        const int n = k + 1;
        f.push_back({QStringLiteral("extra%1").arg(n), QStringLiteral("Zusatzware %1").arg(n),
                     K::Good, E::AdditionalProducts, 0, 0, k});
        f.push_back({QStringLiteral("extra%1Amount").arg(n),
                     QStringLiteral("Zusatzware %1 Menge").arg(n), K::Number, E::AdditionalProducts,
                     0, 100, k});
        f.push_back({QStringLiteral("extra%1Cycle").arg(n),
                     QStringLiteral("Zusatzware %1 pro Zyklus").arg(n), K::Number,
                     E::AdditionalProducts, 0, 25, k});
    }
    f.push_back({QStringLiteral("fertility"), QStringLiteral("erforderliche Fruchtbarkeit"),
                 K::Switch, E::AdditionalProducts});
    return f;
}

struct ColumnField {
    const char* key;
    QString ProductionColumn::*member;
    std::optional<SidePanel> panel; // the side panel that shows it, if any
};

// The text member of a production column that a number or switch field names, and its panel;
// nullptr for a key of no such field.
const ColumnField* columnField(const QString& key) {
    using P = SidePanel;
    static const ColumnField fields[] = {
        {"outputAmount", &ProductionColumn::outputAmount, std::nullopt},
        {"upkeep", &ProductionColumn::moneyAmount, std::nullopt},
        {"workforceAmount", &ProductionColumn::workforceAmount, std::nullopt},
        {"influenceRadius", &ProductionColumn::influenceRadius, P::InfluenceRadius},
        {"moduleLimit", &ProductionColumn::moduleLimit, P::ModuleLimit},
        {"moduleRadius", &ProductionColumn::moduleRadius, P::ModuleRadius},
        {"incidents", &ProductionColumn::incidents, P::Incidents},
        {"electricityRequired", &ProductionColumn::electricMandatory, P::ElectricMandatory},
        {"electricityUsed", &ProductionColumn::electricBoosted, P::ElectricBoosted},
    };
    for (const ColumnField& f : fields)
        if (key == QLatin1String(f.key))
            return &f;
    return nullptr;
}

// The product slot of a production column that a good field names.
ShownProduct& columnProduct(ProductionColumn& column, const EditField& field) {
    if (field.key == QStringLiteral("output"))
        return column.output;
    if (field.key == QStringLiteral("workforce"))
        return column.workforce;
    return column.inputs[std::size_t(field.slot)];
}
const ShownProduct& columnProduct(const ProductionColumn& column, const EditField& field) {
    return columnProduct(const_cast<ProductionColumn&>(column), field);
}

bool isAmount(const EditField& field) {
    return field.key.endsWith(QStringLiteral("Amount")) || field.key == QStringLiteral("coins");
}

// A cost slot's good and amount as the apply writes them, and the original slot's; a slot
// without a good has amount "0".
FieldValues costValue(const BuildCosts& costs, const EditField& field) {
    const std::size_t k = std::size_t(field.slot);
    const CostSlot written = WrittenCostSlot(field.slot, costs.current[k]);
    const CostSlot& original = costs.original[k];
    if (!isAmount(field))
        return {original.guid, written.guid};
    return {original.guid != kNone ? original.amount : kNone,
            written.guid != kNone ? written.amount : kNone};
}

FieldValues additionalValue(const AdditionalProducts& additional, const EditField& field) {
    if (field.key == QStringLiteral("fertility"))
        return {kNone, additional.fertilityOn ? kOne : kNone};
    const AddSlot& slot = additional.goods[std::size_t(field.slot)];
    if (field.kind == FieldKind::Good)
        return {kNone, slot.guid};
    return {kNone, field.key.endsWith(QStringLiteral("Cycle")) ? slot.cycle : slot.amount};
}

// The categories the picker offers for the field.
QStringList offeredCategories(const EditField& field) {
    return PickerCategories(field.key == QStringLiteral("workforce") ? kCallerWorkForce
                                                                     : kCallerProduction);
}

bool offersRemoval(const EditField& field) {
    return field.key != QStringLiteral("output") && field.key != QStringLiteral("workforce");
}

} // namespace

const std::vector<EditField>& EditFields() {
    static const std::vector<EditField> fields = makeFields();
    return fields;
}

const EditField* FindEditField(const QString& key) {
    for (const EditField& f : EditFields())
        if (f.key == key)
            return &f;
    return nullptr;
}

BuildingState LoadBuildingState(EditorFiles& files, const QString& guid) {
    return {LoadProductionSettings(files, guid), LoadCosts(files, guid),
            LoadAdditionalProducts(files, guid)};
}

std::optional<FieldValues> FieldValue(const BuildingState& state, const EditField& field) {
    switch (field.editor) {
    case FieldEditor::Production: {
        const ProductionSettings& p = state.production;
        if (field.kind == FieldKind::Good) {
            if (field.slot >= 0 && !p.inputsEditable)
                return std::nullopt;
            return FieldValues{columnProduct(p.original, field).guid,
                               columnProduct(p.current, field).guid};
        }
        const ColumnField* column = columnField(field.key);
        if (column->panel && !ShowsPanel(p, *column->panel))
            return std::nullopt;
        return FieldValues{p.original.*column->member, p.current.*column->member};
    }
    case FieldEditor::Costs:
        return costValue(state.costs, field);
    case FieldEditor::AdditionalProducts:
        if (field.key == QStringLiteral("fertility") && !state.additional.fertilityOffered)
            return std::nullopt;
        return additionalValue(state.additional, field);
    }
    return std::nullopt;
}

std::optional<QString> CanonicalValue(const EditField& field, const QString& value) {
    if (field.kind == FieldKind::Switch) {
        if (value == kNone || value == kOne)
            return value;
        return std::nullopt;
    }
    if (!isWholeNumber(value))
        return std::nullopt;
    qsizetype zeros = 0;
    while (zeros + 1 < value.size() && value[zeros] == QLatin1Char('0'))
        ++zeros;
    // A good's GUID fits 18 digits; a number longer than 9 is out of every field's range and is
    // refused as such.
    if (field.kind == FieldKind::Good && value.size() - zeros > 18)
        return std::nullopt;
    return value.mid(zeros);
}

QString FieldValueFault(const BuildingState& state, const EditField& field, const QString& given,
                        const ProductCatalogue& catalogue) {
    if (!FieldValue(state, field))
        return QStringLiteral("Dieses Gebäude hat kein Feld \u201E%1\u201C.").arg(field.label);
    const std::optional<QString> canonical = CanonicalValue(field, given);
    switch (field.kind) {
    case FieldKind::Switch:
        if (!canonical)
            return QStringLiteral("\u201E%1\u201C ist kein Schalterwert (0 oder 1).").arg(given);
        return {};
    case FieldKind::Number: {
        const bool ok = canonical && canonical->size() <= 9;
        const int number = ok ? canonical->toInt() : 0;
        if (!ok || number < field.minimum || number > field.maximum)
            return QStringLiteral("Der Wert \u201E%1\u201C liegt nicht zwischen %2 und %3.")
                .arg(given)
                .arg(field.minimum)
                .arg(field.maximum);
        if (field.key == QStringLiteral("moduleRadius") && SnapModuleRadius(number) != number)
            return QStringLiteral("Ein Modulradius von 1 bis 4 ist nicht erlaubt.");
        return {};
    }
    case FieldKind::Good:
        break;
    }
    if (!canonical)
        return QStringLiteral("\u201E%1\u201C ist keine Waren-GUID.").arg(given);
    const QString& value = *canonical;
    if (value == kNone) {
        if (offersRemoval(field))
            return {};
        return QStringLiteral("\u201E%1\u201C kann nicht leer sein.").arg(field.label);
    }
    const Product product = catalogue.find(value);
    if (product.name.isEmpty())
        return QStringLiteral("Die Ware %1 ist hier unbekannt.").arg(value);
    if (!offeredCategories(field).contains(product.category))
        return QStringLiteral("Die Ware \u201E%1\u201C kann hier nicht gewählt werden.")
            .arg(product.name);
    return {};
}

RuledValue RuleValue(const BuildingState& state, const EditField& field, const QString& value) {
    const auto notApplicable = [](const QString& why) { return RuledValue{{}, why, false}; };
    if (field.key == QStringLiteral("electricityUsed") && value == kNone &&
        state.production.current.electricMandatory == kOne)
        return notApplicable(QStringLiteral("\u201EElektrizität verwenden\u201C bleibt "
                                            "eingeschaltet, solange \u201EElektrizität "
                                            "erforderlich\u201C eingeschaltet ist."));
    // The amounts and cycles of slots (the coins are slot 0 of the costs).
    if (field.kind != FieldKind::Number || field.slot < 0)
        return {value, {}};
    const bool costs = field.editor == FieldEditor::Costs;
    const QString good = costs ? state.costs.current[std::size_t(field.slot)].guid
                               : state.additional.goods[std::size_t(field.slot)].guid;
    if (good == kNone) {
        if (value == kNone)
            return {value, {}};
        const QString slotName = !costs ? QStringLiteral("Zusatzware %1").arg(field.slot + 1)
                                 : field.slot == 0
                                     ? field.label
                                     : QStringLiteral("Baukosten Ware %1").arg(field.slot);
        return notApplicable(
            QStringLiteral("\u201E%1\u201C ist leer; ein Platz ohne Ware hat keine Menge.")
                .arg(slotName));
    }
    if (value != kNone)
        return {value, {}};
    CostSlot slot;
    slot.guid = good;
    slot.amount = value;
    const QString smallest = costs ? WrittenCostSlot(field.slot, slot).amount : kOne;
    return {smallest,
            QStringLiteral("Ein Platz mit Ware hat mindestens %1; 0 wird zu %1.").arg(smallest)};
}

void SetFieldValue(BuildingState& state, const EditField& field, const QString& given,
                   const ProductCatalogue& catalogue) {
    const RuledValue ruled = RuleValue(state, field, CanonicalValue(field, given).value_or(given));
    if (!ruled.applicable)
        return;
    const QString& value = ruled.value;
    const Product product = field.kind == FieldKind::Good ? catalogue.find(value) : Product();
    switch (field.editor) {
    case FieldEditor::Production: {
        ProductionColumn& c = state.production.current;
        if (field.kind == FieldKind::Good) {
            columnProduct(c, field) = {value, product.name, product.icon};
            return;
        }
        c.*columnField(field.key)->member = ruled.value;
        // "Elektrizität erforderlich" switched on switches "Elektrizität verwenden" on.
        if (c.electricMandatory == kOne)
            c.electricBoosted = kOne;
        return;
    }
    case FieldEditor::Costs: {
        CostSlot& slot = state.costs.current[std::size_t(field.slot)];
        if (isAmount(field)) {
            slot.amount = value;
        } else {
            slot.guid = value;
            slot.name = value == kNone ? CostSlot().name : product.name;
            slot.image = value == kNone ? CostSlot().image : product.icon;
        }
        return;
    }
    case FieldEditor::AdditionalProducts: {
        AdditionalProducts& a = state.additional;
        if (field.key == QStringLiteral("fertility")) {
            a.fertilityOn = value == kOne;
            return;
        }
        AddSlot& slot = a.goods[std::size_t(field.slot)];
        if (field.kind == FieldKind::Good && value == kNone) {
            slot = AddSlot(); // the removal row empties the whole slot
        } else if (field.kind == FieldKind::Good) {
            slot.guid = value;
            slot.name = product.name;
            slot.image = product.icon;
            // The boxes of a filled slot start at 1.
            for (QString* number : {&slot.amount, &slot.cycle})
                if (*number == kNone)
                    *number = kOne;
        } else if (field.key.endsWith(QStringLiteral("Cycle"))) {
            slot.cycle = value;
        } else {
            slot.amount = value;
        }
        return;
    }
    }
}

std::vector<FieldEdit> ChangedFields(const BuildingState& state) {
    std::vector<FieldEdit> result;
    for (const EditField& field : EditFields()) {
        const std::optional<FieldValues> v = FieldValue(state, field);
        if (!v || v->game == v->current)
            continue;
        // An amount or cycle counts only for a slot that has a good.
        if (!RuleValue(state, field, v->current).applicable ||
            (field.editor == FieldEditor::Costs && isAmount(field) && v->current == kNone))
            continue;
        result.push_back({field.key, v->game, v->current});
    }
    return result;
}

std::vector<BuildingEdit> ListEdits(EditorFiles& files) {
    std::vector<BuildingEdit> result;
    for (const pugi::xml_node& e : files.index().root().children("Building")) {
        const BuildingEntry entry = BuildingEntry::fromElement(e);
        if (entry.isChanged != QStringLiteral("true"))
            continue;
        BuildingEdit edit{entry.guid, entry.local, entry.isExported == QStringLiteral("true"), {}};
        edit.fields = ChangedFields(LoadBuildingState(files, entry.guid));
        result.push_back(std::move(edit));
    }
    return result;
}

QString ShownValue(const EditField& field, const QString& value,
                   const ProductCatalogue& catalogue) {
    switch (field.kind) {
    case FieldKind::Switch:
        return value == kOne ? QStringLiteral("ja") : QStringLiteral("nein");
    case FieldKind::Number:
        return value;
    case FieldKind::Good:
        break;
    }
    const std::optional<QString> guid = CanonicalValue(field, value);
    if (!guid)
        return value; // no GUID: shown as given, never looked up
    if (*guid == kNone)
        return QStringLiteral("keine");
    const Product product = catalogue.find(*guid);
    return product.name.isEmpty() ? QStringLiteral("unbekannte Ware ") + *guid : product.name;
}

} // namespace velmora::data
