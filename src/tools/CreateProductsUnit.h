#pragma once
// The products pipeline: the product catalogue of the data directory and the product icons.
//
// Steps, in this order:
//   P1 ExtractProducts    ORG/Assets.xml, ORG/empty.xml -> ORG/Products.xml
//   P2 WriteProductList   ORG/Products.xml, ORG/texts_german.xml
//                         -> TMP/ProductsShort.xml, TMP/MultiRegionProducts.txt
//   P3 FilterProductList  -> XMLP/ProductsShort.xml, TMP/ProductIcons_List.txt
//   P4 CopyProductIcons   icon source directory, WOR -> PNG
// ORG/empty.xml is written by the buildings pipeline.
#include "tools/PrepCommon.h"

#include <QString>

namespace velmora::tools {

// P1 to P4 in order.
void RunProductsPipeline(const PrepDirectories& dirs, const StepReporter& report);

void ExtractProducts(const PrepDirectories& dirs);
void WriteProductList(const PrepDirectories& dirs);
void FilterProductList(const PrepDirectories& dirs);
void CopyProductIcons(const PrepDirectories& dirs);

// Sort code of a product: a fixed code, or the first character of its name followed by its
// number, or "No".
QString ProductPosCode(const QString& guid, const QString& firstCharacterOfName);

} // namespace velmora::tools
