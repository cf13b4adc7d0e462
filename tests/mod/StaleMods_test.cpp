// The line that ends an import: every active mod that is stale, by name, in singular or plural.
#include "mod/StaleMods.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

mod::OverviewBuilding building(const char* guid, const char* name, mod::ModState state) {
    return {{QString::fromLatin1(guid), QString::fromLatin1(name), true, {}}, state};
}

TEST(StaleMods, TheLineNamesEveryStaleActiveModAndNoOther) {
    using S = mod::ModState;
    const struct Case {
        std::vector<mod::OverviewBuilding> buildings;
        const char* line;
    } cases[] = {
        {{building("1010402", "Baeckerei", S::Current), building("118729", "X", S::Orphaned),
          building("1010262", "Getreidefarm", S::Inactive)},
         "Kein aktiver Mod ist veraltet."},
        {{building("1010402", "Baeckerei", S::Current),
          building("1010278", "Fischerei", S::OutOfDate)},
         "1 aktiver Mod ist nun veraltet: Fischerei (1010278). Aktivieren Sie das Gebäude erneut, "
         "damit das Spiel die neuen Werte lädt."},
        {{building("1010278", "Fischerei", S::OutOfDate),
          building("1010402", "Baeckerei", S::Current),
          building("1010262", "Getreidefarm", S::OutOfDate)},
         "2 aktive Mods sind nun veraltet: Fischerei (1010278), Getreidefarm (1010262). "
         "Aktivieren Sie diese Gebäude erneut („Alle aktivieren“), damit das Spiel die neuen "
         "Werte lädt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(mod::StaleModsText({c.buildings}), QString::fromUtf8(c.line));
    }
}

} // namespace
