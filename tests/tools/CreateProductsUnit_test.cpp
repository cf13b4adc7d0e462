#include "tools/CreateProductsUnit.h"
#include "tools/PrepTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;

namespace {

// A program directory with the products fixture in ORG.
void placeProductsFixture(const PrepDirectories& dirs) {
    copyGameFiles(dirs, QStringLiteral("prep-products"));
    writeBytes(dirs.org() + QStringLiteral("empty.xml"), "\xEF\xBB\xBF<AssetList/>\r\n");
}

} // namespace

TEST(ProductsPipeline, BuildsTheFilteredCatalogueInRecordAndRegionOrder) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    placeProductsFixture(dirs);
    QStringList steps;
    RunProductsPipeline(dirs, [&](const QString& step, const QString& operation) {
        steps << step + u' ' + operation;
    });
    EXPECT_EQ(steps, QStringList({"P1 ExtractProducts", "P2 WriteProductList",
                                  "P3 FilterProductList", "P4 CopyProductIcons"}));

    // Products first, then ammunition, each in the order of the asset file; other assets stay out.
    EXPECT_EQ(recordTexts(dirs.org() + QStringLiteral("Products.xml"), "Values/Standard/GUID"),
              (std::vector<std::string>{"1010052", "2000", "2001", "1010017", "1010224", "1010355",
                                        "1414", "846", "1010239", "115918", "3000"}));

    const char* const expected[][6] = {
        {"1010052", "Bauern", "Bauern", "Arbeitskraft", "Alte Welt", "No"}, // workforce
        {"2000", "Fisch & \"Chips\" <gut>", "icon_fish", "Markt", "Alte Welt", "No"},
        {"2000", "Fisch & \"Chips\" <gut>", "icon_fish", "Markt", "Neue Welt", "No"},
        {"2001", "Öl", "Nothing", "Markt", "Arktis", "No"}, // category of the record before
        {"1010017", "Münzen", "icon_coins", "Geld", "Alte Welt", "M140"},
        {"1010017", "Münzen", "icon_coins", "Geld", "no Region", "M140"},
        {"1010224", "Zement", "Nothing", "Geld", "Land der Löwen", "Z84"}, // later table entry wins
        // 1010355 is dropped by the exclusion string "355"; 1414 loses its only region.
        {"846", "Fell", "Nothing", "Mine", "Neue Welt", "Z150"}, // category carried from 1414
        {"1010239", "Zucker", "icon_sugar", "Markt", "Alte Welt", "Z93"},
        {"115918", "Expeditionsschrott", "Nothing", "Markt", "Alte Welt", "No"},
        {"3000", "Munition", "icon_ammo", "Baustoff", "Alte Welt", "No"},
        {"0", "keine Auswahl", "NoInput", "notAllowed", "no Region", ""},
    };
    const data::XmlDocument catalogue =
        data::XmlDocument::load(dirs.xmlp() + QStringLiteral("ProductsShort.xml"));
    std::vector<pugi::xml_node> products;
    for (const pugi::xml_node& p : catalogue.root().children("Product"))
        products.push_back(p);
    ASSERT_EQ(products.size(), std::size(expected));
    for (size_t i = 0; i < products.size(); ++i) {
        std::vector<std::string> row;
        for (const pugi::xml_attribute& a : products[i].attributes())
            row.push_back(a.value());
        EXPECT_EQ(row, std::vector<std::string>(std::begin(expected[i]), std::end(expected[i])))
            << i;
    }
    EXPECT_EQ(std::string(products[0].first_attribute().name()), "GUID");
    EXPECT_EQ(std::string(products[0].last_attribute().name()), "Pos");

    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("MultiRegionProducts.txt")),
              QByteArray("2000#Fisch & \"Chips\" <gut>#Moderate;Colony01\r\n"));
    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("ProductIcons_List.txt")),
              QByteArray("Bauern\r\nicon_ammo\r\nicon_coins\r\nicon_fish\r\nicon_"
                         "sugar\r\nNoInput\r\nNothing\r\n"));
}

TEST(ProductsPipeline, WritesCatalogueLinesInTheirExactFormAndCodePage) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    placeProductsFixture(dirs);
    ExtractProducts(dirs);
    WriteProductList(dirs);
    const QByteArray lines = readBytes(dirs.tmp() + QStringLiteral("ProductsShort.xml"));
    EXPECT_TRUE(
        lines.startsWith("<Products>\r\n<Product GUID=\"1010052\" Name=\"Bauern\" Icon=\"Bauern\" "
                         "Category=\"Arbeitskraft\" Region=\"Alte Welt\" Pos=\"No\" />\r\n"));
    EXPECT_TRUE(lines.contains(
        "\r\n<Product GUID=\"2000\" Name=\"Fisch &amp; &quot;Chips&quot; &lt;gut&gt;\" "
        "Icon=\"icon_fish\" Category=\"Markt\" Region=\"Alte Welt\" Pos=\"No\" />\r\n"));
    EXPECT_TRUE(lines.contains("Name=\"Zement\" Icon=\"Nothing\" Category=\"Geld\" Region=\"Land "
                               "der L\xF6wen\" Pos=\"Z84\" />"));
    EXPECT_TRUE(lines.contains("<Product GUID=\"1010355\""))
        << "the unfiltered list still holds excluded products";
    EXPECT_TRUE(lines.endsWith(
        "\r\n<Product GUID=\"0\" Name=\"keine Auswahl\" Icon=\"NoInput\" Category=\"notAllowed\" "
        "Region=\"no Region\" Pos=\"\" />\r\n</Products>\r\n"));
}

TEST(ProductsPipeline, HandMadeIconsTakePrecedenceOverTheGames) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    writeLineFile(dirs.tmp() + QStringLiteral("ProductIcons_List.txt"),
                  {"Bauern", "icon_coins", "icon_fish", "icon_missing"}, LineEncoding::Windows1252);
    writeBytes(dirs.iconSourceDir + QStringLiteral("/icon_fish_0.png"), "game fish");
    writeBytes(dirs.iconSourceDir + QStringLiteral("/icon_coins_0.png"), "game coins");
    writeBytes(dirs.wor() + QStringLiteral("icon_fish.png"), "hand-made fish");
    writeBytes(dirs.wor() + QStringLiteral("Bauern.png"), "hand-made farmers");
    writeBytes(dirs.png() + QStringLiteral("icon_coins.png"), "old coins");
    CopyProductIcons(dirs);
    EXPECT_EQ(readBytes(dirs.png() + QStringLiteral("icon_fish.png")), "hand-made fish");
    EXPECT_EQ(readBytes(dirs.png() + QStringLiteral("icon_coins.png")), "game coins");
    EXPECT_EQ(readBytes(dirs.png() + QStringLiteral("Bauern.png")), "hand-made farmers");
    EXPECT_EQ(QDir(dirs.png()).entryList(QDir::Files).size(), 3);
}

TEST(ProductPosCode, FixedCodesThenFirstLetterAndNumber) {
    const struct {
        const char* guid;
        const char16_t* first;
        const char16_t* code;
    } cases[] = {
        {"120008", u"H", u"H01"},  {"1010224", u"Z", u"Z84"}, {"1010240", u"S", u"S92"},
        {"119392", u"A", u"A142"}, {"846", u"F", u"Z150"},    {"2524", u"x", u"Z157"},
        {"1010052", u"B", u"No"},  {"1010017", u"", u"140"},  {"114341", u"Ä", u"No"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProductPosCode(QString::fromUtf8(c.guid), QString::fromUtf16(c.first)),
                  QString::fromUtf16(c.code))
            << c.guid;
}
