#include "data/ProductPicker.h"

#include "data/BuildingBrowser.h"

#include <algorithm>

namespace velmora::data {

namespace {
const QString kEmptyPicture = QStringLiteral("Empty");

SlotAssignment text(const QString& control, const QString& value) {
    return {control, SlotAssignment::Text, value};
}
SlotAssignment picture(const QString& control, const QString& value) {
    return {control, SlotAssignment::Picture, value};
}
QString slotName(const char* stem, int slot) {
    return QString::fromLatin1(stem) + QString::number(slot);
}
} // namespace

Product RemovalRow() {
    return {kNoProduct, kRemovalName, kRemovalPicture, QString(), QString(), kRemovalPos};
}

QStringList PickerCategories(const QString& caller) {
    if (caller == kCallerWorkForce)
        return {QStringLiteral("Arbeitskraft")};
    return {QStringLiteral("Markt"), QStringLiteral("Baustoff"), QStringLiteral("Rohstoff"),
            QStringLiteral("Mine"), QStringLiteral("Zwischenprodukt")};
}

bool OffersRemovalRow(const PickerRequest& request) {
    if (request.caller == kCallerProduction)
        return request.productionSlot >= 0 && request.productionSlot < kOutputSlot;
    return request.caller == kCallerBuildCosts || request.caller == kCallerAdditionalProducts;
}

std::vector<Product> PickerRows(const ProductCatalogue& catalogue, const PickerRequest& request,
                                const QString& category, const QString& region) {
    std::vector<Product> rows;
    if (OffersRemovalRow(request))
        rows.push_back(RemovalRow());
    for (Product& p : catalogue.select(category, region))
        rows.push_back(std::move(p));
    std::stable_sort(rows.begin(), rows.end(), [](const Product& a, const Product& b) {
        return CompareBuildingNames(a.pos, b.pos) < 0;
    });
    return rows;
}

std::vector<SlotAssignment> PickerHandBack(const PickerRequest& request, const Product& product) {
    const bool removal = product.guid == kNoProduct;
    if (removal && !OffersRemovalRow(request))
        return {};
    if (request.caller == kCallerProduction) {
        const int k = request.productionSlot;
        if (k < 0 || k > kOutputSlot)
            return {};
        if (k == kOutputSlot)
            return {text(QStringLiteral("OutputGUID"), product.guid),
                    text(QStringLiteral("OutputName"), product.name),
                    picture(QStringLiteral("OutputImage"), product.icon)};
        if (removal)
            return {text(slotName("InputGUID", k), kNoProduct),
                    text(slotName("InputName", k), kNoChoiceName),
                    picture(slotName("InputImage", k), kEmptyPicture)};
        return {text(slotName("InputGUID", k), product.guid),
                text(slotName("InputName", k), product.name),
                picture(slotName("InputImage", k), product.icon)};
    }
    if (request.caller == kCallerWorkForce)
        return {text(QStringLiteral("MaintenanceGUID2"), product.guid),
                text(QStringLiteral("MaintenanceName2"), product.name),
                picture(QStringLiteral("MaintenanceImage2"), product.icon)};
    if (request.caller == kCallerBuildCosts) {
        const int k = request.costSlot;
        if (removal)
            return {text(slotName("Cost", k), kNoProduct),
                    text(slotName("CostGUID", k), kNoProduct),
                    text(slotName("CostLabel", k), kNoChoiceName),
                    picture(slotName("CostImage", k), kEmptyPicture)};
        return {{slotName("Cost", k), SlotAssignment::TextIfZero, QStringLiteral("1")},
                text(slotName("CostGUID", k), product.guid),
                text(slotName("CostLabel", k), product.name),
                picture(slotName("CostImage", k), product.icon)};
    }
    if (request.caller == kCallerAdditionalProducts) {
        const int k = request.additionalProductSlot;
        if (removal)
            return {text(slotName("AddProductGUID", k), kNoProduct),
                    text(slotName("AddProductAmount", k), kNoProduct),
                    text(slotName("AddProductCycle", k), kNoProduct),
                    text(slotName("AddProductText", k), kNoChoiceName),
                    picture(slotName("AddProductImage", k), kNoInputPicture)};
        return {text(slotName("AddProductGUID", k), product.guid),
                text(slotName("AddProductText", k), product.name),
                picture(slotName("AddProductImage", k), product.icon)};
    }
    return {};
}

} // namespace velmora::data
