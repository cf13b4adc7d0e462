#include "data/BuildCosts.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorFiles.h"
#include "data/EditorLookups.h"
#include "data/ProductCatalogue.h"

#include <vector>

namespace velmora::data {

namespace {

const QString kNone = QStringLiteral("0");

enum class Side { Current, Original };

// The product's name and picture; no product, or one missing from the catalogue, shows as an
// empty slot does.
void showProduct(CostSlot& slot, const ProductCatalogue& catalogue) {
    const CostSlot empty;
    slot.name = empty.name;
    slot.image = empty.image;
    if (slot.guid == kNone)
        return;
    const Product product = catalogue.find(slot.guid);
    if (!product.name.isEmpty()) {
        slot.name = product.name;
        slot.image = product.icon;
    }
}

// The cost slots of one record (see LoadCosts for the rules of the two sides).
CostSlots readSide(const pugi::xml_node& record, const ProductCatalogue& catalogue, Side side) {
    const std::vector<pugi::xml_node> items = selectNodes(record, "Values/Cost/Costs/Item");
    CostSlots result;
    if (items.empty()) {
        result[0].amount.clear();
        if (side == Side::Original)
            result[0].name.clear();
        return result;
    }
    for (int k = 0; k < kCostSlots && k < int(items.size()); ++k) {
        const pugi::xml_node item = items[std::size_t(k)];
        const QString amount = fromUtf8(item.child("Amount").text().get());
        QString guid = fromUtf8(item.child("Ingredient").text().get());
        if (guid.isEmpty())
            guid = kNone;
        const bool noAmount =
            amount.isEmpty() || (side == Side::Original && amount == QStringLiteral("0"));
        if (noAmount && (k > 0 || (side == Side::Original && !amount.isEmpty())))
            continue; // the slot stays empty
        result[std::size_t(k)].amount = amount;
        result[std::size_t(k)].guid = guid;
        showProduct(result[std::size_t(k)], catalogue);
    }
    return result;
}

} // namespace

BuildCosts LoadCosts(const QString& dataDir, const QString& buildingGuid) {
    EditorFiles files(dataDir);
    return LoadCosts(files, buildingGuid);
}

BuildCosts LoadCosts(EditorFiles& files, const QString& buildingGuid) {
    const ProductCatalogue& catalogue = files.catalogue();
    const XmlDocument& working = files.working();
    const XmlDocument& original = files.original();
    return {readSide(requireAssetRecord(working, buildingGuid), catalogue, Side::Current),
            readSide(requireAssetRecord(original, buildingGuid), catalogue, Side::Original)};
}

CostSlot WrittenCostSlot(int slot, const CostSlot& current) {
    CostSlot written;
    if (current.guid == kNone)
        return written;
    written.guid = current.guid;
    written.amount = current.amount;
    if (written.amount.isEmpty() || written.amount == QStringLiteral("0"))
        written.amount = slot == 0 ? QStringLiteral("10") : QStringLiteral("1");
    written.name = current.name;
    written.image = current.image;
    return written;
}

bool CostSlotDiffers(int slot, const CostSlot& current, const CostSlot& original) {
    const CostSlot written = WrittenCostSlot(slot, current);
    return written.guid != original.guid ||
           (written.guid != kNone && written.amount != original.amount);
}

bool CostsDiffer(const CostSlots& current, const CostSlots& original) {
    for (int k = 0; k < kCostSlots; ++k)
        if (CostSlotDiffers(k, current[std::size_t(k)], original[std::size_t(k)]))
            return true;
    return false;
}

CostApplyResult ApplyCosts(const QString& dataDir, const QString& buildingGuid,
                           const CostSlots& current, FileWriter& writer) {
    EditorFiles files(dataDir);
    const CostApplyResult result = ApplyCosts(files, buildingGuid, current);
    files.save(writer);
    return result;
}

CostApplyResult ApplyCosts(EditorFiles& files, const QString& buildingGuid,
                           const CostSlots& current) {
    // Look everything up first.
    XmlDocument& working = files.working();
    const pugi::xml_node record = requireAssetRecord(working, buildingGuid);
    pugi::xml_node values = record.child("Values");
    if (!values)
        throw DataError(
            QStringLiteral("Der Datensatz des Gebäudes %1 in \u201E%2\u201C hat keine Werte.")
                .arg(buildingGuid, kWorkingAssetsFile));
    const ProductCatalogue& catalogue = files.catalogue();
    const CostSlots before =
        readSide(requireAssetRecord(files.original(), buildingGuid), catalogue, Side::Original);

    CostSlots written;
    for (int k = 0; k < kCostSlots; ++k) {
        CostSlot& slot = written[std::size_t(k)];
        slot = WrittenCostSlot(k, current[std::size_t(k)]);
        if (slot.guid == kNone)
            continue;
        requireGuid(slot.guid);
        if (!isWholeNumber(slot.amount))
            throw DataError(
                QStringLiteral("Die Menge \u201E%1\u201C der Baukosten %2 ist keine ganze Zahl.")
                    .arg(slot.amount)
                    .arg(k));
        const Product product = catalogue.find(slot.guid);
        if (product.name.isEmpty())
            throw DataError(QStringLiteral("Die Ware %1 steht nicht in \u201E%2\u201C.")
                                .arg(slot.guid, kProductCatalogueFile));
        slot.name = product.name;
    }

    const CostApplyResult result{CostsDiffer(current, before)};
    pugi::xml_node entry;
    if (result.changed)
        entry = requireEntry(files.index(), "Building", buildingGuid);

    // Then change: the cost group is rebuilt as the last group of Values.
    while (const pugi::xml_node old = values.child("Cost"))
        values.remove_child(old);
    pugi::xml_node costs = values.append_child("Cost").append_child("Costs");
    for (const CostSlot& slot : written) {
        pugi::xml_node item = costs.append_child("Item");
        if (slot.guid == kNone)
            continue;
        insertNameComment(item, slot.name);
        setElementText(item.append_child("Ingredient"), utf8(slot.guid));
        setElementText(item.append_child("Amount"), utf8(slot.amount));
    }

    files.changed(working);
    if (result.changed) {
        setAttributeAt(entry, kBuildingIsChanged, "true");
        files.changed(files.index());
    }
    return result;
}

} // namespace velmora::data
