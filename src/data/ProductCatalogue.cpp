#include "data/ProductCatalogue.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"

namespace velmora::data {

Product Product::fromElement(const pugi::xml_node& e) {
    const auto at = [&](int pos) { return fromUtf8(attributeTextAt(e, pos)); };
    return {at(kProductGuid),     at(kProductName),   at(kProductIcon),
            at(kProductCategory), at(kProductRegion), at(kProductPos)};
}

ProductCatalogue ProductCatalogue::load(const QString& dataDir) {
    return fromDocument(loadDataFile(dataDir, kProductCatalogueFile));
}

ProductCatalogue ProductCatalogue::fromDocument(XmlDocument doc) {
    ProductCatalogue catalogue;
    catalogue.doc_ = std::move(doc);
    catalogue.doc_.root(); // a file without root element is no catalogue
    return catalogue;
}

Product ProductCatalogue::find(const QString& guid) const {
    const pugi::xml_node e = childWithAttribute(doc_.root(), "Product", "GUID", utf8(guid));
    if (e)
        return Product::fromElement(e);
    if (guid == kNoProduct)
        return {kNoProduct,
                kNoChoiceName,
                kNoInputPicture,
                QStringLiteral("notAllowed"),
                QStringLiteral("no Region"),
                QString()};
    return {guid, QString(), QString(), QString(), QString(), QString()};
}

std::vector<Product> ProductCatalogue::select(const QString& category,
                                              const QString& region) const {
    std::vector<Product> products;
    for (const pugi::xml_node& e :
         selectNodes(doc_.root(), "Product[@Category=" + xpathLiteral(category) +
                                      "][@Region=" + xpathLiteral(region) + "]"))
        products.push_back(Product::fromElement(e));
    return products;
}

} // namespace velmora::data
