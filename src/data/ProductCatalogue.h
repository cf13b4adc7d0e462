#pragma once
// The product catalogue ("ProductsShort.xml"): goods, workforce types and resources by region
// and category. Attributes are read by position (GUID, Name, Icon, Category, Region, Pos); the
// order is part of the file format. A product of several regions has one element per region;
// a look-up by GUID takes the first in file order.
#include "data/XmlDocument.h"

#include <QString>
#include <vector>

namespace velmora::data {

enum ProductAttribute : int {
    kProductGuid = 0,
    kProductName = 1,
    kProductIcon = 2,
    kProductCategory = 3,
    kProductRegion = 4,
    kProductPos = 5,
};

// The GUID of an empty slot and the catalogue's entry for it.
inline const QString kNoProduct = QStringLiteral("0");
inline const QString kNoChoiceName = QStringLiteral("keine Auswahl");
inline const QString kNoInputPicture = QStringLiteral("NoInput");

struct Product {
    QString guid, name, icon, category, region, pos;
    static Product fromElement(const pugi::xml_node& element);
};

class ProductCatalogue {
public:
    // Loads "ProductsShort.xml" of the data directory; a missing or malformed file raises
    // DataError naming it.
    static ProductCatalogue load(const QString& dataDir);
    static ProductCatalogue fromDocument(XmlDocument doc);

    // The first product with the GUID; GUID "0" yields "keine Auswahl" with "NoInput" (also when
    // the file lacks that entry). An unknown GUID yields a product with empty name and icon.
    Product find(const QString& guid) const;
    // The products of a category and region, in file order.
    std::vector<Product> select(const QString& category, const QString& region) const;
    // The catalogue's root element.
    pugi::xml_node root() const { return doc_.root(); }

private:
    XmlDocument doc_;
};

} // namespace velmora::data
