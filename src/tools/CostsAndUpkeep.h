#pragma once
// From cleaned building records to the working and original asset lists.
//
// The runner calls the steps in this order: ResolveCostSlots, InheritDerivedCosts,
// InheritDerivedUpkeep, NumberDefaultBuffs, (the building index), WriteNameComments.
// The game writes many cost and upkeep entries as references into the list of a template
// or base asset; the editors need every entry explicit, so these steps write them out, give
// every record its buff GUID and put the product's German name before every reference.
#include "tools/PrepCommon.h"

#include <array>

namespace velmora::tools {

// Ingredient of a cost entry that refers to the inherited cost list by index. Any other
// index, or none, gives an empty Ingredient.
struct CostSlot {
    const char* inheritedIndex;
    const char* ingredient;
};
inline constexpr std::array<CostSlot, 6> kCostSlotTable = {{
    {"0", "1010017"},
    {"1", "1010196"},
    {"2", "1010205"},
    {"3", "1010218"},
    {"4", "1010207"},
    {"5", "1010202"},
}};

// Upkeep products replaced when a derived building's upkeep entry is written.
struct UpkeepFix {
    const char* building;
    const char* found;
    const char* written;
};
inline constexpr std::array<UpkeepFix, 12> kUpkeepFixes = {{
    {"101260", "1010052", "1010366"},
    {"101261", "1010052", "1010366"},
    {"101267", "1010115", "1010367"},
    {"835", "1010115", "1010367"},
    {"1010288", "1010115", "1010367"},
    {"1010115", "1010115", "1010367"},
    {"1308", "1010115", "1010367"},
    {"1353", "1010115", "1010367"},
    {"1390", "1010115", "1010367"},
    {"1010561", "1010115", "1010367"},
    {"101296", "1010115", "1010367"},
    {"101311", "1010115", "1010367"},
}};

// Names of input and output products the catalogue may lack (site inputs).
struct FixedProductName {
    const char* product;
    const char* name;
};
inline constexpr std::array<FixedProductName, 2> kFixedProductNames = {{
    {"1955", "Jagd/Anbaugebiet"},
    {"1591", "Wasserquelle"},
}};

// Buff GUID of the first record; the n-th record owns this number + n.
inline constexpr qint64 kFirstDefaultBuff = 2000502800;

// Slots of the inheritance steps; longer lists grow them as needed.
inline constexpr int kInheritanceSlots = 11;

// The product written for an upkeep entry of a derived building.
QString fixedUpkeepProduct(const QString& building, const QString& product);

// TMP "Buildings_Standard_Cleaned.xml" -> TMP "Buildings_Standard_Cleaned_And_Cost.xml".
void ResolveCostSlots(const PrepDirectories& dirs);
// TMP "Buildings_Standard_Cleaned_And_Cost.xml" -> TMP
// "Buildings_Standard_Cleaned_And_Cost_all.xml".
void InheritDerivedCosts(const PrepDirectories& dirs);
// TMP "Buildings_Standard_Cleaned_And_Cost_all.xml" -> XMLP "Buildings.xml" and "BuildingsOrg.xml".
void InheritDerivedUpkeep(const PrepDirectories& dirs);
// XMLP "Buildings.xml" -> both asset lists, every record with a DefaultBuff.
void NumberDefaultBuffs(const PrepDirectories& dirs);
// XMLP "Buildings.xml" and "ProductsShort.xml" -> both asset lists with name comments,
// re-formatted.
void WriteNameComments(const PrepDirectories& dirs);

} // namespace velmora::tools
