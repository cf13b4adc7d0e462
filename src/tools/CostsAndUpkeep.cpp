#include "tools/CostsAndUpkeep.h"

#include "data/DataFiles.h"
#include "tools/ExtractionFiles.h"
#include "tools/PrepCommon.h"

#include <unordered_map>

namespace velmora::tools {

using data::DataError;
using data::XmlDocument;

namespace {

const char* const kCostItems = "Values/Cost/Costs/Item";
const char* const kUpkeepItems = "Values/Maintenance/Maintenances/Item";

void saveAssetLists(const XmlDocument& doc, const PrepDirectories& dirs) {
    doc.saveAs(dirs.xmlp() + data::kWorkingAssetsFile);
    doc.saveAs(dirs.xmlp() + data::kOriginalAssetsFile);
}

void removeChildren(pugi::xml_node parent, const char* name) {
    while (const pugi::xml_node child = parent.child(name))
        data::removeNode(child);
}

void appendTextElement(pugi::xml_node parent, const char* name, const std::string& text) {
    data::setElementText(parent.append_child(name), text);
}

QString ingredientOfSlot(const std::string& inheritedIndex) {
    for (const CostSlot& slot : kCostSlotTable)
        if (inheritedIndex == slot.inheritedIndex)
            return QString::fromUtf8(slot.ingredient);
    return {};
}

// Amount and product inherited of one derived building, indexed by entry position.
struct Slots {
    std::vector<std::string> amount = std::vector<std::string>(kInheritanceSlots, "0");
    std::vector<std::string> product = std::vector<std::string>(kInheritanceSlots, "0");
    void set(size_t k, const pugi::xml_node& amountElement, const pugi::xml_node& productElement) {
        if (k >= amount.size()) {
            amount.resize(k + 1, "0");
            product.resize(k + 1, "0");
        }
        amount[k] = amountElement.child_value();
        // An entry that gave only its amount carries an empty product after the cost slots
        // were resolved: it keeps the base building's product at that position.
        if (productElement && *productElement.child_value())
            product[k] = productElement.child_value();
    }
};

// Writes out the entries of every derived building: each position takes the base building's
// product and amount, unless the derived building gave its own amount there.
// writtenProduct maps (derived GUID, product) to the product written.
template <typename ProductFix>
void inheritFromBase(const XmlDocument& doc, const QString& file, const char* itemsPath,
                     const char* productName, ProductFix writtenProduct) {
    const std::vector<pugi::xml_node> records = recordsOf(doc);
    std::unordered_map<std::string, pugi::xml_node> byGuid; // the first record of a GUID counts
    byGuid.reserve(records.size());
    for (const pugi::xml_node& record : records)
        byGuid.emplace(data::childText(record, "Values/Standard/GUID"), record);

    for (const pugi::xml_node& derived : records) {
        const pugi::xml_node baseElement =
            derived.first_element_by_path("Values/Standard/BaseAssetGUID");
        if (!baseElement || std::string_view(baseElement.child_value()) == "0")
            continue;
        const std::string dg = data::childText(derived, "Values/Standard/GUID");
        const std::string base = baseElement.child_value();
        const auto baseRecord = byGuid.find(base);
        if (baseRecord == byGuid.end())
            throw DataError(
                QStringLiteral("In der Datei %1 fehlt das Basisgebäude %2 des Gebäudes %3.")
                    .arg(data::quotedPath(file), data::fromUtf8(base), data::fromUtf8(dg)));

        Slots inherited;
        size_t k = 0;
        for (const pugi::xml_node& item : data::selectNodes(baseRecord->second, itemsPath))
            for (const pugi::xml_node& amount : item.children("Amount"))
                inherited.set(k++, amount, item.child(productName));

        const std::vector<pugi::xml_node> items = data::selectNodes(derived, itemsPath);
        for (size_t i = 0; i < items.size(); ++i)
            if (const pugi::xml_node amount = items[i].child("Amount"))
                inherited.set(i, amount, items[i].child(productName));

        for (size_t i = 0; i < items.size(); ++i) {
            removeChildren(items[i], productName);
            removeChildren(items[i], "Amount");
            removeChildren(items[i], "VectorElement");
            if (i >= inherited.amount.size() || inherited.amount[i] == "0")
                continue;
            appendTextElement(items[i], productName, writtenProduct(dg, inherited.product[i]));
            appendTextElement(items[i], "Amount", inherited.amount[i]);
        }
    }
}

// Puts a comment with the product's name before the product element of each entry.
template <typename NameOf>
void commentProducts(const std::vector<pugi::xml_node>& records, const char* itemsPath,
                     const char* productName, NameOf nameOf) {
    for (const pugi::xml_node& record : records)
        for (pugi::xml_node item : data::selectNodes(record, itemsPath)) {
            pugi::xml_node product = item.child(productName);
            if (!product)
                continue;
            data::insertNameComment(item, nameOf(record, QString::fromUtf8(product.child_value())),
                                    product);
        }
}

} // namespace

QString fixedUpkeepProduct(const QString& building, const QString& product) {
    for (const UpkeepFix& fix : kUpkeepFixes)
        if (building == QLatin1StringView(fix.building) && product == QLatin1StringView(fix.found))
            return QString::fromUtf8(fix.written);
    return product;
}

void ResolveCostSlots(const PrepDirectories& dirs) {
    XmlDocument doc = XmlDocument::load(dirs.tmp() + files::kCleanedBuildings);
    for (const pugi::xml_node& record : recordsOf(doc))
        for (pugi::xml_node item : data::selectNodes(record, kCostItems)) {
            const bool hasAmount = item.child("Amount");
            if (!hasAmount) {
                if (const pugi::xml_node ingredient = item.child("Ingredient"))
                    data::removeNode(ingredient);
            } else if (!item.child("Ingredient")) {
                const std::string index = data::childText(item, "VectorElement/InheritedIndex");
                appendTextElement(item, "Ingredient", data::utf8(ingredientOfSlot(index)));
            }
            if (const pugi::xml_node vector = item.child("VectorElement"))
                data::removeNode(vector);
        }
    doc.saveAs(dirs.tmp() + files::kCostBuildings);
}

void InheritDerivedCosts(const PrepDirectories& dirs) {
    const QString file = dirs.tmp() + files::kCostBuildings;
    XmlDocument doc = XmlDocument::load(file);
    inheritFromBase(doc, file, kCostItems, "Ingredient",
                    [](const std::string&, const std::string& product) { return product; });
    doc.saveAs(dirs.tmp() + files::kCostAllBuildings);
}

void InheritDerivedUpkeep(const PrepDirectories& dirs) {
    const QString file = dirs.tmp() + files::kCostAllBuildings;
    XmlDocument doc = XmlDocument::load(file);
    inheritFromBase(
        doc, file, kUpkeepItems, "Product", [](const std::string& dg, const std::string& product) {
            return data::utf8(fixedUpkeepProduct(data::fromUtf8(dg), data::fromUtf8(product)));
        });
    saveAssetLists(doc, dirs);
}

void NumberDefaultBuffs(const PrepDirectories& dirs) {
    const QString file = dirs.xmlp() + data::kWorkingAssetsFile;
    XmlDocument doc = XmlDocument::load(file);
    qint64 n = 0;
    for (const pugi::xml_node& record : recordsOf(doc)) {
        const qint64 buff = kFirstDefaultBuff + n++;
        if (const pugi::xml_node given =
                record.first_element_by_path("Values/UpgradeList/DefaultBuff")) {
            requirePlainGuid(given.child_value(), file,
                             QStringLiteral("Der Buff des Gebäudes %1").arg(recordGuid(record)));
            continue;
        }
        appendTextElement(requireElement(record, "Values/UpgradeList", file), "DefaultBuff",
                          std::to_string(buff));
    }
    saveAssetLists(doc, dirs);
}

void WriteNameComments(const PrepDirectories& dirs) {
    const QString assetFile = dirs.xmlp() + data::kWorkingAssetsFile;
    const QString catalogueFile = dirs.xmlp() + data::kProductCatalogueFile;
    XmlDocument doc = XmlDocument::load(assetFile);
    const XmlDocument catalogue = XmlDocument::load(catalogueFile);

    std::unordered_map<QString, QString> names; // the first Product of a GUID counts
    for (const pugi::xml_node& product : catalogue.root().children("Product"))
        names.emplace(QString::fromUtf8(product.attribute("GUID").value()),
                      QString::fromUtf8(data::attributeTextAt(product, 1).c_str()));

    const auto catalogueName = [&](const pugi::xml_node& record, const QString& product) {
        const auto it = names.find(product);
        if (it == names.end())
            throw DataError(
                QStringLiteral("Das Produkt \u201E%1\u201C des Gebäudes %2 fehlt im Produktkatalog "
                               "%3.")
                    .arg(product, recordGuid(record), data::quotedPath(catalogueFile)));
        return it->second;
    };
    // Site inputs may be missing from the catalogue; a product without any name keeps its GUID
    // as comment so that every reference still carries one.
    const auto productionName = [&](const pugi::xml_node&, const QString& product) {
        if (const auto it = names.find(product); it != names.end())
            return it->second;
        for (const FixedProductName& fixed : kFixedProductNames)
            if (product == QLatin1StringView(fixed.product))
                return QString::fromUtf8(fixed.name);
        return product;
    };

    const std::vector<pugi::xml_node> records = recordsOf(doc);
    commentProducts(records, kCostItems, "Ingredient", catalogueName);
    commentProducts(records, kUpkeepItems, "Product", catalogueName);
    commentProducts(records, "Values/FactoryBase/FactoryInputs/Item", "Product", productionName);
    commentProducts(records, "Values/FactoryBase/FactoryOutputs/Item", "Product", productionName);

    saveAssetLists(doc, dirs);
    data::ReformatXmlFile(dirs.xmlp() + data::kWorkingAssetsFile);
    data::ReformatXmlFile(dirs.xmlp() + data::kOriginalAssetsFile);
}

} // namespace velmora::tools
