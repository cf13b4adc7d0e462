#include "data/ProductionSettings.h"

#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorFiles.h"
#include "data/EditorLookups.h"
#include "data/ProductCatalogue.h"
#include "data/XmlDocument.h"

#include <QHash>
#include <algorithm>

namespace velmora::data {

namespace {

constexpr int kInputSlots = 4;
constexpr int kFieldSingular = 1;
constexpr int kFieldPlural = 2;
const char* const kCoins = "1010017";
const QString kOne = QStringLiteral("1");
const QString kZero = QStringLiteral("0");

// Site inputs stand for the building's site, not for a good.
bool isSiteInput(const std::string& product) {
    return product == "1955" || product == "1591" || product == "917";
}

// Output storage: the two oil refineries store 200, every other building six cycles.
QString outputStorage(const QString& guid, const QString& amount) {
    if (guid == QStringLiteral("101331") || guid == QStringLiteral("1010561"))
        return QStringLiteral("200");
    return QString::number(6 * amount.toInt());
}

// The record of a building: the first Asset whose Values/Standard/GUID is the GUID.
pugi::xml_node assetRecord(const XmlDocument& doc, const QString& guid, const QString& file) {
    const pugi::xml_node asset = assetWithGuid(doc.root(), utf8(guid));
    if (!asset)
        throw DataError(
            QStringLiteral("Das Gebäude %1 steht nicht in \u201E%2\u201C.").arg(guid, file));
    return asset;
}

pugi::xml_node indexEntry(const XmlDocument& index, const QString& guid) {
    const pugi::xml_node entry = childWithAttribute(index.root(), "Building", "GUID", utf8(guid));
    if (!entry)
        throw DataError(QStringLiteral("Das Gebäude %1 steht nicht in \u201E%2\u201C.")
                            .arg(guid, kBuildingIndexFile));
    return entry;
}

QString text(const pugi::xml_node& context, const char* path, const QString& fallback = kZero) {
    const pugi::xml_node node = selectNode(context, path);
    return node ? fromUtf8(node.text().get()) : fallback;
}

ShownProduct shown(const ProductCatalogue& catalogue, const QString& guid) {
    const Product p = catalogue.find(guid);
    return {guid, p.name, p.icon};
}

void readInputs(const pugi::xml_node& record, const ProductCatalogue& catalogue,
                ProductionColumn& column) {
    const std::vector<pugi::xml_node> items =
        selectNodes(record, "Values/FactoryBase/FactoryInputs/Item");
    for (std::size_t k = 0; k < items.size() && k < kInputSlots; ++k) {
        const pugi::xml_node product = items[k].child("Product");
        if (product)
            column.inputs[k] = shown(catalogue, fromUtf8(product.text().get()));
    }
}

void readOutput(const pugi::xml_node& record, const ProductCatalogue& catalogue,
                ProductionColumn& column) {
    QString guid = kZero, amount = kZero;
    if (const pugi::xml_node item = selectNode(record, "Values/FactoryBase/FactoryOutputs/Item")) {
        guid = text(item, "Product");
        amount = text(item, "Amount");
    }
    column.output = shown(catalogue, guid);
    column.outputAmount = amount;
}

// Item 1 of the upkeep is money, item 2 the workforce; further items are not the window's.
void readMaintenance(const pugi::xml_node& record, const ProductCatalogue& catalogue,
                     ProductionColumn& column) {
    const std::vector<pugi::xml_node> items =
        selectNodes(record, "Values/Maintenance/Maintenances/Item");
    const auto product = [&](std::size_t i) {
        if (i >= items.size())
            return ShownProduct{kZero, QString(), QStringLiteral("NoInput")};
        return shown(catalogue, text(items[i], "Product"));
    };
    const auto amount = [&](std::size_t i) {
        return i < items.size() ? text(items[i], "Amount") : kZero;
    };
    column.money = product(0);
    column.moneyAmount = amount(0);
    column.workforce = product(1);
    column.workforceAmount = amount(1);
}

void readModules(const pugi::xml_node& record, const XmlDocument& fields,
                 ProductionColumn& column) {
    column.moduleRadius = text(record, "Values/ModuleOwner/ModuleBuildRadius");
    column.moduleLimit = text(record, "Values/ModuleOwner/ModuleLimits/Main/Limit");
    column.moduleName = kNoModulesName;
    const pugi::xml_node module =
        selectNode(record, "Values/ModuleOwner/ConstructionOptions/Item/ModuleGUID");
    const int limit = column.moduleLimit.toInt();
    if (column.moduleLimit == kZero || !module || limit < 1)
        return;
    const pugi::xml_node field =
        childWithAttribute(fields.root(), "Field", "GUID", module.text().get());
    column.moduleName =
        fromUtf8(attributeTextAt(field, limit == 1 ? kFieldSingular : kFieldPlural));
}

QString incidentFlag(const pugi::xml_node& record, bool honourMarker) {
    const bool possible =
        selectNode(record, "Values/IncidentInfectable/Infectable") ||
        selectNode(record, "Values/IncidentInfectable/IncidentInfectionChanceFactors");
    if (honourMarker && selectNode(record, "Values/IncidentInfectable/Added"))
        return kZero;
    return possible ? kOne : kZero;
}

QString flag(const pugi::xml_node& record, const char* path) {
    return text(record, path) == kOne ? kOne : kZero;
}

// Everything of one column that does not depend on the other column.
void readColumn(const pugi::xml_node& record, const ProductCatalogue& catalogue,
                const XmlDocument& fields, bool current, ProductionColumn& column) {
    readOutput(record, catalogue, column);
    readMaintenance(record, catalogue, column);
    readModules(record, fields, column);
    column.incidents = incidentFlag(record, current);
    column.electricMandatory = flag(record, "Values/Industrializable/MandatoryIndustrialization");
    column.electricBoosted = flag(record, "Values/Industrializable/BoostedByIndustrialization");
}

bool oneOf(const QString& value, std::initializer_list<const char*> texts) {
    for (const char* t : texts)
        if (value == QLatin1String(t))
            return true;
    return false;
}

// --- applying -------------------------------------------------------------------------------

// The groups the operation rebuilds in place; a record without one can not be applied.
void requireGroups(const pugi::xml_node& record, const QString& guid, const QString& name) {
    QStringList missing;
    for (const char* path :
         {"Values/FactoryBase", "Values/Maintenance", "Values/IncidentInfectable"})
        if (!selectNode(record, path))
            missing << QString::fromLatin1(path);
    if (selectNode(record, "Values/ModuleOwner/ModuleLimits") &&
        !selectNode(record, "Values/ModuleOwner/ModuleLimits/Main/Limit"))
        missing << QStringLiteral("Values/ModuleOwner/ModuleLimits/Main/Limit");
    if (missing.isEmpty())
        return;
    throw DataError(QStringLiteral("Dem Gebäude \u201E%1\u201C (%2) fehlt in \u201E%3\u201C: %4. "
                                   "Es wurde nichts gespeichert.")
                        .arg(name, guid, kWorkingAssetsFile, missing.join(QStringLiteral(", "))));
}

pugi::xml_node appendText(pugi::xml_node parent, const char* name, const QString& value) {
    pugi::xml_node element = parent.append_child(name);
    setElementText(element, utf8(value));
    return element;
}

void appendNameComment(pugi::xml_node item, const ProductCatalogue& catalogue,
                       const QString& guid) {
    insertNameComment(item, catalogue.find(guid).name);
}

// Removes the child of that name (if any) and appends a new empty one.
pugi::xml_node rebuild(pugi::xml_node parent, const char* name) {
    if (pugi::xml_node old = parent.child(name))
        parent.remove_child(old);
    return parent.append_child(name);
}

pugi::xml_node childOrAppend(pugi::xml_node parent, const char* name) {
    pugi::xml_node child = parent.child(name);
    return child ? child : parent.append_child(name);
}

bool keepsInputList(const pugi::xml_node& record) {
    // A raw-material producer keeps its list: its slots were never loaded, so rebuilding from
    // them would drop what it has.
    if (childText(record, "Values/Standard/Production") == "0")
        return true;
    for (const pugi::xml_node& item : selectNodes(record, "Values/FactoryBase/FactoryInputs/Item"))
        if (const pugi::xml_node product = item.child("Product");
            product && isSiteInput(product.text().get()))
            return true;
    return false;
}

void writeInputs(pugi::xml_node factory, const ProductionColumn& column,
                 const ProductCatalogue& catalogue) {
    pugi::xml_node inputs = rebuild(factory, "FactoryInputs");
    bool any = false;
    for (const ShownProduct& p : column.inputs)
        any = any || p.guid != kZero;
    if (!any)
        return;
    for (const ShownProduct& p : column.inputs) {
        pugi::xml_node item = inputs.append_child("Item");
        if (p.guid == kZero)
            continue;
        appendNameComment(item, catalogue, p.guid);
        appendText(item, "Product", p.guid);
        appendText(item, "Amount", kOne);
        appendText(item, "StorageAmount", QStringLiteral("4"));
    }
}

void writeOutput(pugi::xml_node factory, const QString& guid, const ProductionColumn& column,
                 const ProductCatalogue& catalogue) {
    if (!factory.child("FactoryOutputs"))
        return;
    pugi::xml_node item = rebuild(factory, "FactoryOutputs").append_child("Item");
    appendNameComment(item, catalogue, column.output.guid);
    appendText(item, "Product", column.output.guid);
    appendText(item, "Amount", column.outputAmount);
    appendText(item, "StorageAmount", outputStorage(guid, column.outputAmount));
}

void writeMaintenance(pugi::xml_node maintenance, const ProductionColumn& column,
                      const ProductCatalogue& catalogue) {
    pugi::xml_node list = rebuild(maintenance, "Maintenances");
    const std::pair<QString, QString> items[] = {{QString::fromLatin1(kCoins), column.moneyAmount},
                                                 {column.workforce.guid, column.workforceAmount}};
    for (const auto& [product, amount] : items) {
        pugi::xml_node item = list.append_child("Item");
        appendNameComment(item, catalogue, product);
        appendText(item, "Product", product);
        appendText(item, "Amount", amount);
        appendText(item, "InactiveAmount", kZero);
    }
}

void writeModules(pugi::xml_node record, const ProductionColumn& column) {
    if (!selectNode(record, "Values/ModuleOwner/ModuleLimits"))
        return;
    setElementText(selectNode(record, "Values/ModuleOwner/ModuleLimits/Main/Limit"),
                   utf8(column.moduleLimit));
    if (pugi::xml_node radius = selectNode(record, "Values/ModuleOwner/ModuleBuildRadius"))
        setElementText(radius, utf8(column.moduleRadius));
}

void writeInfluenceRadius(pugi::xml_node record, const ProductionColumn& column) {
    pugi::xml_node radius = selectNode(record, "Values/FreeAreaProductivity/InfluenceRadius");
    if (!radius)
        return;
    const bool positive = column.influenceRadius != kZero;
    setElementText(radius, utf8(positive ? column.influenceRadius : kZero));
    if (pugi::xml_node percent =
            selectNode(record, "Values/FreeAreaProductivity/NeededAreaPercent"))
        setElementText(percent,
                       positive ? std::to_string(9 * column.influenceRadius.toInt()) : "100");
}

// The block that switches every incident off, marked as written by the window.
void appendIncidentsOff(pugi::xml_node values) {
    pugi::xml_node group = values.append_child("IncidentInfectable");
    setElementText(group.append_child("Added"), "true");
    pugi::xml_node explosion = group.append_child("Explosion");
    for (const char* name :
         {"ExplosionCoreDamage", "DamageExplosionChance", "DamageExplosionCheckMax"})
        setElementText(explosion.append_child(name), "0");
    for (const char* kind : {"Fire", "Illness", "Riot"})
        setElementText(group.append_child(kind).append_child("Base"), "0");
    pugi::xml_node factors = group.append_child("IncidentInfectionChanceFactors");
    for (const char* kind : {"Explosion", "Fire", "Riot", "Illness"})
        setElementText(factors.append_child(kind).append_child("BaseChance"), "0");
}

void writeIncidents(pugi::xml_node values, const pugi::xml_node& originalRecord,
                    const ProductionColumn& column) {
    if (column.incidents != kOne) {
        if (pugi::xml_node old = values.child("IncidentInfectable"))
            values.remove_child(old);
        appendIncidentsOff(values);
        return;
    }
    const pugi::xml_node original = originalRecord.child("Values").child("IncidentInfectable");
    if (pugi::xml_node working = values.child("IncidentInfectable"); working && original)
        replaceChild(values, working, original);
}

void writeElectricity(pugi::xml_node values, const QString& guid, const ProductionColumn& column) {
    pugi::xml_node industry = childOrAppend(values, "Industrializable");
    pugi::xml_node mandatory = childOrAppend(industry, "MandatoryIndustrialization");
    pugi::xml_node boosted = childOrAppend(industry, "BoostedByIndustrialization");
    setElementText(mandatory, column.electricMandatory == kOne ? "1" : "0");
    setElementText(boosted, column.electricBoosted == kOne ? "1" : "0");
    // The calamari fishery and the fish-oil factory have no power menu.
    if (guid == QStringLiteral("7919") || guid == QStringLiteral("101262"))
        return;
    pugi::xml_node menu =
        childOrAppend(childOrAppend(values, "Electrifiable"), "ShowPowerInObjectMenu");
    setElementText(menu, column.electricBoosted == kOne ? "1" : "0");
}

} // namespace

std::vector<SidePanel> PanelLayout(const QString& group, const QString& guid, const QString& region,
                                   const QString& templateName) {
    using P = SidePanel;
    const std::vector<P> incidents = {P::Incidents};
    const std::vector<P> withElectricity = {P::Incidents, P::ElectricMandatory, P::ElectricBoosted};
    const int regionNumber = region.toInt();
    if (group == QStringLiteral("Farmen")) {
        if (oneOf(guid, {"114705", "1010298", "1345"}))
            return withElectricity;
        if (oneOf(guid, {"1010278", "101262", "118729", "7919"}))
            return incidents;
        if (templateName.contains(QStringLiteral("FreeArea")))
            return {P::InfluenceRadius, P::Incidents};
        return {P::ModuleLimit, P::ModuleRadius, P::Incidents};
    }
    if (group == QStringLiteral("Produktion"))
        return regionNumber >= 3 ? incidents : withElectricity;
    if (group == QStringLiteral("Industrie"))
        return withElectricity;
    if (group == QStringLiteral("Bodenschätze")) {
        if (oneOf(guid, {"101331", "1010261"}) || regionNumber >= 3)
            return incidents;
        return withElectricity;
    }
    return {};
}

bool ShowsPanel(const ProductionSettings& settings, SidePanel panel) {
    return std::find(settings.panels.begin(), settings.panels.end(), panel) !=
           settings.panels.end();
}

ProductionSettings LoadProductionSettings(const QString& dataDir, const QString& guid) {
    EditorFiles files(dataDir);
    return LoadProductionSettings(files, guid);
}

ProductionSettings LoadProductionSettings(EditorFiles& files, const QString& guid) {
    const pugi::xml_node originalRecord = assetRecord(files.original(), guid, kOriginalAssetsFile);
    const pugi::xml_node workingRecord = assetRecord(files.working(), guid, kWorkingAssetsFile);
    const BuildingEntry building = BuildingEntry::fromElement(indexEntry(files.index(), guid));
    const ProductCatalogue& catalogue = files.catalogue();
    const XmlDocument& fields = files.fields();

    ProductionSettings s;
    s.inputsEditable = childText(workingRecord, "Values/Standard/Production") != "0";
    if (s.inputsEditable) {
        readInputs(workingRecord, catalogue, s.current);
        readInputs(originalRecord, catalogue, s.original);
    }
    readColumn(workingRecord, catalogue, fields, true, s.current);
    readColumn(originalRecord, catalogue, fields, false, s.original);
    if (selectNode(workingRecord, "Values/FreeAreaProductivity/InfluenceRadius")) {
        s.current.influenceRadius =
            text(workingRecord, "Values/FreeAreaProductivity/InfluenceRadius");
        s.original.influenceRadius =
            text(originalRecord, "Values/FreeAreaProductivity/InfluenceRadius");
    }
    // A building that needs electricity always uses it.
    if (s.current.electricMandatory == kOne)
        s.current.electricBoosted = kOne;

    s.panels = PanelLayout(building.group, guid, building.region,
                           fromUtf8(workingRecord.child("Template").text().get()));
    // A panel whose value the record does not hold is not shown: "Annehmen" could not write it.
    const auto holds = [&workingRecord](SidePanel panel) {
        switch (panel) {
        case SidePanel::InfluenceRadius:
            return bool(selectNode(workingRecord, "Values/FreeAreaProductivity/InfluenceRadius"));
        case SidePanel::ModuleLimit:
            return bool(selectNode(workingRecord, "Values/ModuleOwner/ModuleLimits/Main/Limit"));
        case SidePanel::ModuleRadius:
            return selectNode(workingRecord, "Values/ModuleOwner/ModuleLimits") &&
                   selectNode(workingRecord, "Values/ModuleOwner/ModuleBuildRadius");
        case SidePanel::Incidents:
        case SidePanel::ElectricMandatory:
        case SidePanel::ElectricBoosted:
            break;
        }
        return true;
    };
    s.panels.erase(std::remove_if(s.panels.begin(), s.panels.end(),
                                  [&holds](SidePanel panel) { return !holds(panel); }),
                   s.panels.end());

    const pugi::xml_node buff = requireEntry(files.buffs(), "Buff", building.add);
    s.hasBuff = attributeTextAt(buff, kBuffSetPosition) == "1" ? kOne : kZero;
    return s;
}

bool ProductionChanged(const ProductionSettings& s) {
    const ProductionColumn& c = s.current;
    const ProductionColumn& o = s.original;
    bool changed = s.hasBuff == kOne;
    for (int k = 0; k < kInputSlots; ++k)
        changed = changed || c.inputs[k].guid != o.inputs[k].guid;
    const std::pair<const QString&, const QString&> pairs[] = {
        {c.outputAmount, o.outputAmount},
        {c.output.guid, o.output.guid},
        {c.moneyAmount, o.moneyAmount},
        {c.workforceAmount, o.workforceAmount},
        {c.workforce.guid, o.workforce.guid},
        {c.influenceRadius, o.influenceRadius},
        {c.moduleLimit, o.moduleLimit},
        {c.moduleRadius, o.moduleRadius},
        {c.incidents, o.incidents},
        {c.electricMandatory, o.electricMandatory},
        {c.electricBoosted, o.electricBoosted},
    };
    for (const auto& [current, original] : pairs)
        changed = changed || current != original;
    return changed;
}

int SnapModuleRadius(int radius) {
    return (radius > 0 && radius < 5) ? 5 : radius;
}

QString WorkforceArchetype(const QString& workforceGuid) {
    static const QHash<QString, QString> table = {
        {QStringLiteral("1010052"), QStringLiteral("Resident_tier01_atWork")},
        {QStringLiteral("1010115"), QStringLiteral("Resident_tier02_atWork")},
        {QStringLiteral("1010116"), QStringLiteral("Resident_tier03_atWork")},
        {QStringLiteral("1010117"), QStringLiteral("Resident_tier04_atWork")},
        {QStringLiteral("1010128"), QStringLiteral("Resident_tier05_atWork")},
        {QStringLiteral("1010366"), QStringLiteral("SA_Resident_tier01_atWork")},
        {QStringLiteral("1010367"), QStringLiteral("SA_Resident_tier02_atWork")},
        {QStringLiteral("5406"), QStringLiteral("SA_Resident_tier03_atWork")},
        {QStringLiteral("112653"), QStringLiteral("Arctic_Resident_tier01_atWork")},
        {QStringLiteral("112654"), QStringLiteral("Arctic_Resident_tier02_atWork")},
        {QStringLiteral("114340"), QStringLiteral("Africa_Resident_tier01")},
        {QStringLiteral("114341"), QStringLiteral("Africa_Resident_tier02")},
    };
    return table.value(workforceGuid);
}

bool ApplyProductionSettings(const QString& dataDir, const QString& guid,
                             const ProductionSettings& settings, FileWriter& writer) {
    EditorFiles files(dataDir);
    const bool changed = ApplyProductionSettings(files, guid, settings);
    files.save(writer);
    return changed;
}

bool ApplyProductionSettings(EditorFiles& files, const QString& guid,
                             const ProductionSettings& settings) {
    const ProductionColumn& c = settings.current;
    // 1. The changed flag.
    const bool changed = ProductionChanged(settings);

    // Look everything up before anything changes.
    XmlDocument& working = files.working();
    pugi::xml_node record = assetRecord(working, guid, kWorkingAssetsFile);
    const pugi::xml_node originalRecord = assetRecord(files.original(), guid, kOriginalAssetsFile);
    XmlDocument& index = files.index();
    const pugi::xml_node entry = indexEntry(index, guid);
    requireGroups(record, guid, fromUtf8(attributeTextAt(entry, kBuildingLocal)));
    // 2. The product names of the name comments.
    const ProductCatalogue& catalogue = files.catalogue();

    pugi::xml_node values = record.child("Values");
    pugi::xml_node factory = values.child("FactoryBase");
    // 3.-5. Inputs: a kept list gets no items appended either.
    if (!keepsInputList(record))
        writeInputs(factory, c, catalogue);
    // 6. Output, 7. maintenance.
    writeOutput(factory, guid, c, catalogue);
    writeMaintenance(values.child("Maintenance"), c, catalogue);
    // 8. Workforce archetype (the element is never created).
    if (pugi::xml_node archetype =
            selectNode(record, "Values/Selection/ParticipantMessageArcheType"))
        setElementText(archetype, utf8(WorkforceArchetype(c.workforce.guid)));
    // 9. Modules, 10. influence radius, 11. incidents, 12. electricity.
    writeModules(record, c);
    writeInfluenceRadius(record, c);
    writeIncidents(values, originalRecord, c);
    writeElectricity(values, guid, c);

    // 13.-14. The record and the flag are saved together or not at all.
    setAttributeAt(entry, kBuildingIsChanged, changed ? "true" : "false");
    files.changed(working);
    files.changed(index);
    return changed;
}

} // namespace velmora::data
