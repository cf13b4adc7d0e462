#include "generators/standin/GameAssets.h"

#include "data/ProductionSettings.h"
#include "data/XmlDocument.h"

#include <QStringList>

namespace velmora::generators::standin {

namespace {

const char* const kCoins = "1010017";

pugi::xml_node child(pugi::xml_node parent, const char* name) {
    return parent.append_child(name);
}

pugi::xml_node leaf(pugi::xml_node parent, const char* name, const QString& text) {
    pugi::xml_node node = parent.append_child(name);
    data::setElementText(node, data::utf8(text));
    return node;
}

// An Asset holding its template (or the asset it derives from), its Values and their
// Standard group with GUID and internal name.
struct AssetStart {
    pugi::xml_node values;
    pugi::xml_node standard;
};

AssetStart startAsset(pugi::xml_node parent, const QString& templateName, const QString& baseGuid,
                      const QString& guid, const QString& name) {
    pugi::xml_node asset = child(parent, "Asset");
    if (templateName.isEmpty())
        leaf(asset, "BaseAssetGUID", baseGuid);
    else
        leaf(asset, "Template", templateName);
    AssetStart start{child(asset, "Values"), {}};
    start.standard = child(start.values, "Standard");
    leaf(start.standard, "GUID", guid);
    leaf(start.standard, "Name", name);
    return start;
}

bool isSiteInput(const QString& product) {
    return product == QLatin1String("1955") || product == QLatin1String("1591") ||
           product == QLatin1String("917");
}

void appendInheritedReference(pugi::xml_node item, int index) {
    leaf(child(item, "VectorElement"), "InheritedIndex", QString::number(index));
}

// Cost items: a bare amount at position k refers to the k-th slot of the inherited cost list;
// "=" inherits every slot; "none" writes a cost list without items.
void appendCosts(pugi::xml_node values, const QString& cell) {
    pugi::xml_node costs = child(child(values, "Cost"), "Costs");
    if (cell == QLatin1String("none"))
        return;
    const QStringList items =
        cell == QLatin1String("=") ? QStringList() : cell.split(QLatin1Char(','));
    for (int k = 0; k < 6; ++k) {
        pugi::xml_node item = child(costs, "Item");
        if (cell == QLatin1String("=")) {
            appendInheritedReference(item, k);
            continue;
        }
        if (k >= items.size() || items[k] == QLatin1String("-"))
            continue;
        const qsizetype colon = items[k].indexOf(QLatin1Char(':'));
        if (colon < 0) {
            appendInheritedReference(item, k);
            leaf(item, "Amount", items[k]);
            continue;
        }
        if (colon > 0)
            leaf(item, "Ingredient", items[k].left(colon));
        if (colon + 1 < items[k].size())
            leaf(item, "Amount", items[k].mid(colon + 1));
    }
}

// Upkeep items: the first a money amount or "Product:Amount", "v:N" an inherited entry with
// its own amount, "=" two inherited entries. An item ending in "~" also carries the
// VectorElement child of an inherited entry, as some of the game's own items do.
QString appendUpkeep(pugi::xml_node values, const QString& cell) {
    pugi::xml_node list = child(child(values, "Maintenance"), "Maintenances");
    QString workforce;
    if (cell == QLatin1String("=")) {
        for (int k = 0; k < 2; ++k)
            appendInheritedReference(child(list, "Item"), k);
        return workforce;
    }
    const QStringList items = cell.split(QLatin1Char(','));
    for (int k = 0; k < items.size(); ++k) {
        pugi::xml_node item = child(list, "Item");
        QString text = items[k];
        if (text == QLatin1String("-"))
            continue;
        const bool withReference = text.endsWith(QLatin1Char('~'));
        if (withReference)
            text.chop(1);
        if (text.startsWith(QLatin1String("v:"))) {
            appendInheritedReference(item, k);
            leaf(item, "Amount", text.mid(2));
            continue;
        }
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        const QString product = colon < 0 ? QString::fromLatin1(kCoins) : text.left(colon);
        const QString amount = colon < 0 ? text : text.mid(colon + 1);
        leaf(item, "Product", product);
        leaf(item, "Amount", amount);
        if (product == QLatin1String(kCoins))
            leaf(item, "InactiveAmount", QString::number(amount.toInt() / 2));
        else
            workforce = product;
        if (withReference)
            appendInheritedReference(item, k);
    }
    return workforce;
}

void appendFactory(pugi::xml_node values, const BuildingRow& b) {
    pugi::xml_node factory = child(values, "FactoryBase");
    if (!b.inputs.isEmpty()) {
        pugi::xml_node inputs = child(factory, "FactoryInputs");
        for (const QString& input : b.inputs) {
            pugi::xml_node item = child(inputs, "Item");
            leaf(item, "Product", input);
            if (!isSiteInput(input))
                leaf(item, "Amount", QStringLiteral("1"));
            leaf(item, "StorageAmount", QStringLiteral("6"));
        }
    }
    if (!b.output.isEmpty()) {
        pugi::xml_node item = child(child(factory, "FactoryOutputs"), "Item");
        leaf(item, "Product", b.output);
        leaf(item, "Amount", QStringLiteral("1"));
        leaf(item, "StorageAmount",
             b.output == QLatin1String("1010566") ? QStringLiteral("200") : QStringLiteral("6"));
    }
    leaf(factory, "CycleTime", b.cycle);
    if (!b.isDerived())
        leaf(factory, "IsMainFactory", QStringLiteral("1"));
}

// "limit/radius/module": a limit of "-" leaves out the limit and the radius.
void appendModules(pugi::xml_node values, const QString& cell) {
    const QStringList parts = cell.split(QLatin1Char('/'));
    pugi::xml_node owner = child(values, "ModuleOwner");
    leaf(child(child(owner, "ConstructionOptions"), "Item"), "ModuleGUID", parts.value(2));
    if (parts.value(0) != QLatin1String("-")) {
        leaf(child(child(owner, "ModuleLimits"), "Main"), "Limit", parts.value(0));
        leaf(owner, "ModuleBuildRadius", parts.value(1));
    }
}

void appendIncidents(pugi::xml_node values) {
    pugi::xml_node incidents = child(values, "IncidentInfectable");
    pugi::xml_node infectable = child(incidents, "Infectable");
    leaf(infectable, "Fire", QStringLiteral("1"));
    leaf(infectable, "Illness", QStringLiteral("1"));
    pugi::xml_node factors = child(incidents, "IncidentInfectionChanceFactors");
    leaf(child(factors, "Fire"), "BaseChance", QStringLiteral("10"));
    leaf(child(factors, "Illness"), "BaseChance", QStringLiteral("5"));
}

void appendPower(pugi::xml_node values, const QString& power) {
    if (power.isEmpty())
        return;
    pugi::xml_node industry = child(values, "Industrializable");
    leaf(industry, "MandatoryIndustrialization",
         power == QLatin1String("m") ? QStringLiteral("1") : QStringLiteral("0"));
    leaf(industry, "BoostedByIndustrialization",
         power == QLatin1String("n") ? QStringLiteral("0") : QStringLiteral("1"));
}

QString iconStem(const QString& icon) {
    QString stem = icon.section(QLatin1Char('/'), -1);
    stem.chop(stem.endsWith(QLatin1String(".png")) ? 4 : 0);
    return stem.startsWith(QLatin1String("icon_")) ? stem.mid(5) : stem;
}

} // namespace

QString iconPath(const QString& icon) {
    if (icon.contains(QLatin1Char('/')))
        return icon;
    return QStringLiteral("data/ui/2kimages/main/3dicons/") + icon + QStringLiteral(".png");
}

QString internalBuildingName(const BuildingRow& b) {
    if (b.extra.contains(QStringLiteral("name")))
        return b.extra.value(QStringLiteral("name"));
    const QString stem = b.icon.isEmpty() ? QStringLiteral("building") : iconStem(b.icon);
    return stem + QLatin1Char('_') + b.guid;
}

void appendBuildingAsset(pugi::xml_node parent, const BuildingRow& b) {
    const AssetStart start =
        startAsset(parent, b.templateName, b.baseGuid, b.guid, internalBuildingName(b));
    const pugi::xml_node values = start.values;
    if (!b.icon.isEmpty())
        leaf(start.standard, "IconFilename", iconPath(b.icon));

    pugi::xml_node building = child(values, "Building");
    if (!b.regions.isEmpty())
        leaf(building, "AssociatedRegions", b.regions);
    leaf(building, "BuildModeRandomRotation", QStringLiteral("90"));
    if (!b.isDerived()) {
        pugi::xml_node blocker = child(child(values, "Blocking"), "BuildBlocker");
        leaf(blocker, "x", QStringLiteral("3"));
        leaf(blocker, "z", QStringLiteral("3"));
    }
    appendCosts(values, b.costs);

    pugi::xml_node object = child(values, "Object");
    const QString variation =
        b.extra.value(QStringLiteral("var"), QStringLiteral("data/graphics/buildings/production/") +
                                                 internalBuildingName(b) + QStringLiteral(".cfg"));
    leaf(child(child(object, "Variations"), "Item"), "Filename", variation);
    if (b.extra.contains(QStringLiteral("part")))
        leaf(object, "DefaultParticipant", b.extra.value(QStringLiteral("part")));

    pugi::xml_node selection = child(values, "Selection");
    if (!b.textOverride.isEmpty())
        leaf(child(values, "Text"), "TextOverride", b.textOverride);
    child(values, "UpgradeList");
    if (!b.fertility.isEmpty())
        leaf(child(values, "Factory7"), "NeededFertility", b.fertility);
    appendFactory(values, b);
    if (!b.module.isEmpty())
        appendModules(values, b.module);
    if (!b.area.isEmpty()) {
        pugi::xml_node area = child(values, "FreeAreaProductivity");
        leaf(area, "InfluenceRadius", b.area.section(QLatin1Char('/'), 0, 0));
        if (b.area.contains(QLatin1Char('/')))
            leaf(area, "NeededAreaPercent", b.area.section(QLatin1Char('/'), 1, 1));
    }
    if (b.extra.contains(QStringLiteral("recipe"))) {
        pugi::xml_node recipe = child(values, "RecipeBuilding");
        leaf(child(child(recipe, "RecipeList"), "Item"), "Recipe", b.output);
        if (b.extra.value(QStringLiteral("recipe")) == QLatin1String("blank"))
            leaf(recipe, "IsBlank", QStringLiteral("1"));
    }
    const QString workforce = appendUpkeep(values, b.upkeep);
    const QString archetype = data::WorkforceArchetype(workforce);
    if (!archetype.isEmpty())
        leaf(selection, "ParticipantMessageArcheType", archetype);
    if (!b.extra.contains(QStringLiteral("noincidents")))
        appendIncidents(values);
    appendPower(values, b.power);
}

void appendProductAsset(pugi::xml_node parent, const ProductRow& p,
                        const QHash<QString, QString>& categoryGuids) {
    const QString name = (p.icon.isEmpty() ? QStringLiteral("product") : iconStem(p.icon)) +
                         QLatin1Char('_') + p.guid;
    const AssetStart start = startAsset(parent, p.templateName, QString(), p.guid, name);
    const pugi::xml_node values = start.values;
    if (!p.icon.isEmpty())
        leaf(start.standard, "IconFilename", iconPath(p.icon));
    pugi::xml_node product = child(values, "Product");
    if (!p.category.isEmpty())
        leaf(product, "ProductCategory", categoryGuids.value(p.category));
    if (!p.regions.isEmpty())
        leaf(product, "AssociatedRegion", p.regions);
    leaf(product, "StorageLevel", QStringLiteral("1"));
    leaf(child(values, "ExpeditionAttribute"), "ExpeditionAttributes", QString());
}

void appendOtherAsset(pugi::xml_node parent, const OtherRow& o) {
    const AssetStart start = startAsset(parent, o.templateName, o.baseGuid, o.guid,
                                        iconStem(o.icon) + QLatin1Char('_') + o.guid);
    leaf(start.standard, "IconFilename", iconPath(o.icon));
    leaf(child(start.values, "Text"), "LocaText", o.name);
}

void appendChainAsset(pugi::xml_node parent, const ChainRow& c) {
    const AssetStart start =
        startAsset(parent, QStringLiteral("ProductionChain"), QString(), c.guid, c.name);
    pugi::xml_node tiers = child(child(start.values, "ProductionChain"), "Tiers");
    for (const QString& building : c.buildings)
        leaf(child(tiers, "Item"), "ProductionBuilding", building);
}

void appendFillerAsset(pugi::xml_node parent, int index, const QString& guid,
                       const QString& baseGuid) {
    static const char* const kTemplates[] = {"Residence7", "Guildhouse",         "ItemEffect",
                                             "Quest",      "OrnamentalBuilding", "Ship"};
    static const char* const kRegions[] = {"Moderate", "Colony01", "Arctic", "Africa"};
    const QString name = QStringLiteral("filler_asset_%1").arg(index);
    const QString templateName =
        baseGuid.isEmpty() ? QString::fromLatin1(kTemplates[index % 6]) : QString();
    const AssetStart start = startAsset(parent, templateName, baseGuid, guid, name);
    const pugi::xml_node values = start.values;
    const pugi::xml_node standard = start.standard;
    leaf(standard, "IconFilename",
         QStringLiteral("data/ui/2kimages/main/3dicons/icon_filler_%1.png").arg(index % 97));
    leaf(standard, "InfoDescription", QString::number(100000 + index % 5000));
    pugi::xml_node building = child(values, "Building");
    leaf(building, "AssociatedRegions", QString::fromLatin1(kRegions[index % 4]));
    leaf(building, "BuildModeRandomRotation", QStringLiteral("90"));
    pugi::xml_node costs = child(child(values, "Cost"), "Costs");
    for (int k = 0; k < 4; ++k) {
        pugi::xml_node item = child(costs, "Item");
        leaf(item, "Ingredient", QString::fromLatin1(k == 0 ? kCoins : "1010196"));
        leaf(item, "Amount", QString::number((index * 7 + k * 13) % 900 + 10));
    }
    pugi::xml_node variations = child(child(values, "Object"), "Variations");
    for (int k = 0; k < 2; ++k)
        leaf(child(variations, "Item"), "Filename",
             QStringLiteral("data/graphics/buildings/ornamental/%1/variation_%2.cfg")
                 .arg(name)
                 .arg(k));
    pugi::xml_node maintenance = child(child(values, "Maintenance"), "Maintenances");
    for (int k = 0; k < 2; ++k) {
        pugi::xml_node item = child(maintenance, "Item");
        leaf(item, "Product", QString::fromLatin1(k == 0 ? kCoins : "1010052"));
        leaf(item, "Amount", QString::number((index * 3 + k) % 300));
    }
    pugi::xml_node blocker = child(child(values, "Blocking"), "BuildBlocker");
    leaf(blocker, "x", QString::number(index % 7 + 1));
    leaf(blocker, "z", QString::number(index % 5 + 1));
    pugi::xml_node mesh = child(values, "Mesh");
    for (int k = 0; k < 2; ++k) {
        pugi::xml_node item = child(mesh, "Item");
        leaf(item, "MeshFile",
             QStringLiteral("data/graphics/meshes/%1_lod%2.rdm").arg(name).arg(k));
        leaf(item, "Distance", QString::number(50 * (k + 1)));
    }
}

void appendText(pugi::xml_node parent, const QString& guid, const QString& text) {
    pugi::xml_node entry = child(parent, "Text");
    leaf(entry, "GUID", guid);
    leaf(entry, "Text", text);
}

} // namespace velmora::generators::standin
