#pragma once
// Fixed tables of the cost and upkeep steps.
#include <QtGlobal>
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

} // namespace velmora::tools
