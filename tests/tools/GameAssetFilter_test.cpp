#include "tools/GameAssetFilter.h"
#include "tools/GameRecords.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;

namespace {

const std::unordered_set<std::string> kWanted = {"FarmBuilding"};

bool keepWanted(std::string_view record) {
    return holdsTemplate(record, kWanted) || holdsElement(record, "BaseAssetGUID");
}

QString filterFixture(const char* name) {
    return fixture(QStringLiteral("prep-assetfilter/") + QString::fromUtf8(name));
}

std::string printed(const pugi::xml_node& node) {
    std::ostringstream s;
    node.print(s, "", pugi::format_raw);
    return s.str();
}

// The records a step selects from the document: by template, then those with a base asset.
std::vector<std::string> selectedRecords(const data::XmlDocument& document) {
    const AssetIndex index = AssetIndex::build(document.root(), kWanted, true);
    std::vector<std::string> records;
    for (const auto& [name, nodes] : index.byTemplate)
        for (const pugi::xml_node& node : nodes)
            records.push_back(name + ": " + printed(node));
    for (const pugi::xml_node& node : index.withBaseAsset)
        records.push_back("base: " + printed(node));
    return records;
}

// Chunk sizes that split tokens and elements at every kind of place, and the usual one.
const qsizetype kChunkSizes[] = {1, 2, 7, 64, kAssetChunkSize};

} // namespace

// The filtered document selects exactly the records the whole document selects, whatever the
// chunk size; only outermost Asset elements the filter accepts are kept.
TEST(GameAssetFilter, SelectsWhatTheWholeDocumentSelects) {
    const struct {
        const char* file;
        int keptRecords; // outermost Asset elements kept below the root
    } cases[] = {
        {"NestedAssets.xml", 2},           {"SelfClosingAsset.xml", 1},
        {"AssetTextInComment.xml", 2}, // the CDATA text naming the template keeps its record
        {"GreaterThanInAttribute.xml", 1}, {"TemplateWithEntity.xml", 1},
        {"Utf8ByteOrderMark.xml", 1},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> expected =
            selectedRecords(data::XmlDocument::load(filterFixture(c.file)));
        ASSERT_FALSE(expected.empty()) << c.file;
        for (const qsizetype chunkSize : kChunkSizes) {
            SCOPED_TRACE(std::string(c.file) + " / chunk " + std::to_string(chunkSize));
            const data::XmlDocument filtered =
                loadGameAssets(filterFixture(c.file), keepWanted, chunkSize);
            EXPECT_EQ(selectedRecords(filtered), expected);
            EXPECT_EQ(std::distance(filtered.root().begin(), filtered.root().end()), c.keptRecords);
        }
    }
}

TEST(GameAssetFilter, Utf16FileIsLoadedWhole) {
    const data::XmlDocument loaded =
        loadGameAssets(filterFixture("Utf16LittleEndian.xml"), keepWanted, 7);
    EXPECT_EQ(selectedRecords(loaded),
              selectedRecords(data::XmlDocument::load(filterFixture("NestedAssets.xml"))));
    EXPECT_STREQ(loaded.root().name(), "AssetList");
}

TEST(GameAssetFilter, MalformedOrMissingFileNamesTheFile) {
    const struct {
        const char* file;
        const char* expected; // part of the message besides the file name
    } cases[] = {
        {"UnterminatedAsset.xml", "Zeile 3: Element Asset ohne Endtag"},
        {"UnterminatedComment.xml", "Zeile 3: Kommentar ohne Ende"},
        {"StrayAssetEndTag.xml", "Zeile 3: Endtag </Asset> ohne Anfangstag"},
        // The whole document's parser ends the text at a NUL, so the Asset after it was kept
        // by the scanner alone.
        {"NulAfterRoot.xml", "Zeile 2: ein Nullzeichen"},
        {"NoSuchFile.xml", "fehlt"},
    };
    for (const auto& c : cases) {
        for (const qsizetype chunkSize : {qsizetype(3), kAssetChunkSize}) {
            SCOPED_TRACE(std::string(c.file) + " / chunk " + std::to_string(chunkSize));
            try {
                loadGameAssets(filterFixture(c.file), keepWanted, chunkSize);
                ADD_FAILURE() << "no error";
            } catch (const data::DataError& e) {
                EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.file)))
                    << e.message().toStdString();
                EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.expected)))
                    << e.message().toStdString();
            }
        }
    }
}

// The filters read raw markup: a near miss must not count, and a text only the parser can
// settle must keep its record.
TEST(GameAssetFilter, FiltersTellWantedRecords) {
    const struct {
        const char* record;
        bool kept;
    } cases[] = {
        {"<Asset><Template>FarmBuilding</Template></Asset>", true},
        {"<Asset><Values/><Template >FarmBuilding</Template ></Asset>", true},
        {"<Asset><Template>FarmBuildings</Template></Asset>", false},
        {"<Asset><Template>Farm</Template><X>FarmBuilding</X></Asset>", false},
        {"<Asset><Templates>FarmBuilding</Templates></Asset>", false},
        {"<Asset><Template/><Y>FarmBuilding</Y></Asset>", false},
        {"<Asset><Template Note=\"a>b\">FarmBuilding</Template></Asset>", true},
        {"<Asset><Template>Farm&#66;uilding</Template></Asset>", true},
        {"<Asset><Template>Farm<!-- -->Building</Template></Asset>", true},
        {"<Asset><BaseAssetGUID>1</BaseAssetGUID></Asset>", true},
        {"<Asset><BaseAssetGUID/></Asset>", true},
        {"<Asset><BaseAssetGUIDs>1</BaseAssetGUIDs></Asset>", false},
        {"<Asset><Template>Other</Template></Asset>", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keepWanted(c.record), c.kept) << c.record;
}
