#include "data/ProductPicker.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

QString shippedData() {
    return sourcePath(QStringLiteral("resources/data/XMLP"));
}

QStringList names(const std::vector<Product>& rows) {
    QStringList result;
    for (const Product& p : rows)
        result << p.name;
    return result;
}

PickerRequest request(const QString& caller, int production = 0, int cost = 0, int buff = 0) {
    return {caller, production, cost, buff};
}

TEST(ProductCatalogue, LooksUpTheFirstEntryOfAGuidAndTheEmptyChoice) {
    const ProductCatalogue catalogue = ProductCatalogue::load(shippedData());
    const Product beef = catalogue.find(QStringLiteral("1010193"));
    EXPECT_EQ(beef.name, QStringLiteral("Rindfleisch"));
    EXPECT_EQ(beef.icon, QStringLiteral("icon_meat_raw"));
    EXPECT_EQ(beef.region, QStringLiteral("Alte Welt"));
    const Product none = catalogue.find(QStringLiteral("0"));
    EXPECT_EQ(none.name, QStringLiteral("keine Auswahl"));
    EXPECT_EQ(none.icon, QStringLiteral("NoInput"));
    // A quote in a GUID can not change the query.
    EXPECT_TRUE(catalogue.find(QStringLiteral("1\"]|//*[\"")).name.isEmpty());
}

TEST(ProductPicker, CategoriesAndRemovalRowFollowTheCaller) {
    const QStringList goods = {QStringLiteral("Markt"), QStringLiteral("Baustoff"),
                               QStringLiteral("Rohstoff"), QStringLiteral("Mine"),
                               QStringLiteral("Zwischenprodukt")};
    struct Case {
        PickerRequest request;
        QStringList categories;
        bool removal;
    };
    const Case cases[] = {
        {request(kCallerProduction, 0), goods, true},  // first input slot
        {request(kCallerProduction, 3), goods, true},  // last input slot
        {request(kCallerProduction, 4), goods, false}, // output
        {request(kCallerWorkForce, 5), {QStringLiteral("Arbeitskraft")}, false},
        {request(kCallerBuildCosts, 4, 0), goods, true}, // production slot left at the output
        {request(kCallerBuildCosts, 0, 6), goods, true},
        {request(kCallerAdditionalProducts, 5, 0, 8), goods, true}, // left at the workforce
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.caller.toStdString() + " " +
                     std::to_string(c.request.productionSlot));
        EXPECT_EQ(PickerCategories(c.request.caller), c.categories);
        EXPECT_EQ(OffersRemovalRow(c.request), c.removal);
    }
}

TEST(ProductPicker, RowsOfTheShippedCatalogueInPickerOrder) {
    const ProductCatalogue catalogue = ProductCatalogue::load(shippedData());
    // Equal positions ("No") keep file order; the removal row comes first where offered.
    EXPECT_EQ(names(PickerRows(catalogue, request(kCallerWorkForce, 5),
                               QStringLiteral("Arbeitskraft"), QStringLiteral("Neue Welt"))),
              (QStringList{QStringLiteral("Jornalero"), QStringLiteral("Obrero"),
                           QStringLiteral("Artista")}));
    EXPECT_EQ(names(PickerRows(catalogue, request(kCallerProduction, 2), QStringLiteral("Mine"),
                               QStringLiteral("Arktis"))),
              (QStringList{QStringLiteral("Entfernen"), QStringLiteral("Arktis-Gas"),
                           QStringLiteral("Gold"), QStringLiteral("Rohstoffvorkommen"),
                           QStringLiteral("Anbaufläche")}));
    // No building category in the picker and none in the old world: only the removal row.
    EXPECT_EQ(names(PickerRows(catalogue, request(kCallerBuildCosts), QStringLiteral("Bauwerke"),
                               QStringLiteral("Alte Welt"))),
              QStringList{QStringLiteral("Entfernen")});
    EXPECT_TRUE(PickerRows(catalogue, request(kCallerProduction, 4), QStringLiteral("Bauwerke"),
                           QStringLiteral("Alte Welt"))
                    .empty());

    // Every list of the picker is sorted by position without regard to ASCII case.
    for (const QString& category : PickerCategories(kCallerProduction))
        for (const QString& region : {QStringLiteral("Alte Welt"), QStringLiteral("Neue Welt"),
                                      QStringLiteral("Arktis"), QStringLiteral("Land der Löwen")}) {
            const std::vector<Product> rows =
                PickerRows(catalogue, request(kCallerProduction, 1), category, region);
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(rows.front().name, QStringLiteral("Entfernen"));
            for (std::size_t i = 1; i < rows.size(); ++i)
                EXPECT_LE(rows[i - 1].pos.toUpper(), rows[i].pos.toUpper())
                    << category.toStdString() << " " << region.toStdString();
        }
}

TEST(ProductPicker, PositionsCompareWithoutAsciiCase) {
    TempDir dir;
    writeBytes(dir.file(QStringLiteral("ProductsShort.xml")),
               "<Products>\r\n"
               "<Product GUID=\"1\" Name=\"b02\" Icon=\"i\" Category=\"Markt\" Region=\"Arktis\" "
               "Pos=\"b02\"/>\r\n"
               "<Product GUID=\"2\" Name=\"Z150\" Icon=\"i\" Category=\"Markt\" Region=\"Arktis\" "
               "Pos=\"Z150\"/>\r\n"
               "<Product GUID=\"3\" Name=\"B01\" Icon=\"i\" Category=\"Markt\" Region=\"Arktis\" "
               "Pos=\"B01\"/>\r\n"
               "<Product GUID=\"4\" Name=\"a07\" Icon=\"i\" Category=\"Markt\" Region=\"Arktis\" "
               "Pos=\"a07\"/>\r\n"
               "</Products>\r\n");
    const ProductCatalogue catalogue = ProductCatalogue::load(dir.path());
    EXPECT_EQ(names(PickerRows(catalogue, request(kCallerAdditionalProducts),
                               QStringLiteral("Markt"), QStringLiteral("Arktis"))),
              (QStringList{QStringLiteral("Entfernen"), QStringLiteral("a07"),
                           QStringLiteral("B01"), QStringLiteral("b02"), QStringLiteral("Z150")}));
}

TEST(ProductPicker, HandBackNamesTheOpenersSlots) {
    const Product wood{QStringLiteral("120008"),
                       QStringLiteral("Holz"),
                       QStringLiteral("icon_wood"),
                       QString(),
                       QString(),
                       QStringLiteral("H01")};
    const Product removal = RemovalRow();
    using A = SlotAssignment;
    const auto t = [](const char* c, const QString& v) {
        return A{QString::fromLatin1(c), A::Text, v};
    };
    const auto p = [](const char* c, const char* v) {
        return A{QString::fromLatin1(c), A::Picture, QString::fromLatin1(v)};
    };
    const QString guid = wood.guid, name = wood.name;
    const QString zero = QStringLiteral("0"), none = QStringLiteral("keine Auswahl");
    struct Case {
        const char* what;
        PickerRequest request;
        Product chosen;
        std::vector<A> expected;
    };
    const Case cases[] = {
        {"input 2",
         request(kCallerProduction, 2),
         wood,
         {t("InputGUID2", guid), t("InputName2", name), p("InputImage2", "icon_wood")}},
        {"input 2 removed",
         request(kCallerProduction, 2),
         removal,
         {t("InputGUID2", zero), t("InputName2", none), p("InputImage2", "Empty")}},
        {"output",
         request(kCallerProduction, 4),
         wood,
         {t("OutputGUID", guid), t("OutputName", name), p("OutputImage", "icon_wood")}},
        {"output never removed", request(kCallerProduction, 4), removal, {}},
        {"workforce",
         request(kCallerWorkForce, 5),
         wood,
         {t("MaintenanceGUID2", guid), t("MaintenanceName2", name),
          p("MaintenanceImage2", "icon_wood")}},
        {"cost 3",
         request(kCallerBuildCosts, 0, 3),
         wood,
         {A{QStringLiteral("Cost3"), A::TextIfZero, QStringLiteral("1")}, t("CostGUID3", guid),
          t("CostLabel3", name), p("CostImage3", "icon_wood")}},
        {"cost 3 removed",
         request(kCallerBuildCosts, 4, 3),
         removal,
         {t("Cost3", zero), t("CostGUID3", zero), t("CostLabel3", none), p("CostImage3", "Empty")}},
        {"additional product 8",
         request(kCallerAdditionalProducts, 0, 0, 8),
         wood,
         {t("AddProductGUID8", guid), t("AddProductText8", name),
          p("AddProductImage8", "icon_wood")}},
        {"additional product 8 removed",
         request(kCallerAdditionalProducts, 5, 0, 8),
         removal,
         {t("AddProductGUID8", zero), t("AddProductAmount8", zero), t("AddProductCycle8", zero),
          t("AddProductText8", none), p("AddProductImage8", "NoInput")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PickerHandBack(c.request, c.chosen), c.expected);
    }
}

} // namespace
