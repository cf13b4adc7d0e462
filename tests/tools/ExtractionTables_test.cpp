#include "tools/ProductTables.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace velmora::tools::tables;

TEST(ExtractionTables, HoldTheirStatedNumberOfEntries) {
    EXPECT_EQ(tableSize(kBuildingTemplates), 16u);
    EXPECT_EQ(tableSize(kNameReplacements), 29u);
    EXPECT_EQ(tableSize(kProducingTemplates), 7u);
    EXPECT_EQ(tableSize(kNonProducingGuids), 4u);
    EXPECT_EQ(tableSize(kRegionByAssociatedRegions), 4u);
    EXPECT_EQ(tableSize(kRegionByName), 5u);
    EXPECT_EQ(tableSize(kDerivedOutputFixes), 5u);
    EXPECT_EQ(tableSize(kExcludedBuildings), 132u);
    EXPECT_EQ(tableSize(kKeptBuildings), 9u);
    EXPECT_EQ(tableSize(kKeptBuildingsFormerlyBlankPadded), 2u);

    EXPECT_EQ(tableSize(kProductRegions), 4u);
    EXPECT_EQ(tableSize(kOldWorldCleared), 21u);
    EXPECT_EQ(tableSize(kOldWorldSet), 7u);
    EXPECT_EQ(tableSize(kNewWorldCleared), 5u);
    EXPECT_EQ(tableSize(kNewWorldSet), 3u);
    EXPECT_EQ(tableSize(kArcticCleared), 7u);
    EXPECT_EQ(tableSize(kArcticSet), 2u);
    EXPECT_EQ(tableSize(kAfricaCleared), 4u);
    EXPECT_EQ(tableSize(kAfricaSet), 2u);
    EXPECT_EQ(tableSize(kNoRegionProducts), 3u);
    EXPECT_EQ(tableSize(kWorkforce), 14u);
    EXPECT_EQ(tableSize(kCategoryRenames), 7u);
    EXPECT_EQ(tableSize(kCategoryByGuid), 50u);
    EXPECT_EQ(tableSize(kPosNumbers), 144u);
    EXPECT_EQ(tableSize(kFixedPosCodes), 8u);
    EXPECT_EQ(tableSize(kExcludedProductStrings), 80u);
}

TEST(ExtractionTables, ListsWithoutRepeatsHoldNone) {
    const auto distinct = [](const auto& table) {
        std::set<std::string> seen;
        for (const auto& entry : table)
            seen.insert(entry);
        return seen.size();
    };
    EXPECT_EQ(distinct(kExcludedBuildings), tableSize(kExcludedBuildings));
    EXPECT_EQ(distinct(kExcludedProductStrings), tableSize(kExcludedProductStrings));
    std::set<std::string> posGuids;
    for (const GuidValue& entry : kPosNumbers)
        posGuids.insert(entry.guid);
    EXPECT_EQ(posGuids.size(), 139u) << "five GUIDs are listed twice";
}
