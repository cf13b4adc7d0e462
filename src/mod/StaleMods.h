#pragma once
// The active mods that hold old values: after an import (or any change of the data files) a
// building's active mod is stale when its assets.xml is no longer what "Aktivieren" would write
// (the overview's "aktiv, veraltet"). The import names them in its last line, and the overview
// opens on them.
#include "mod/EditsOverview.h"

#include <QString>
#include <vector>

namespace velmora::mod {

// The buildings of the overview whose active mod is stale, in the overview's order.
std::vector<const OverviewBuilding*> StaleOverviewBuildings(const EditsOverview& overview);

// The line naming them in German:
//   "Kein aktiver Mod ist veraltet."
//   "1 aktiver Mod ist nun veraltet: Fischerei (1010278). Aktivieren Sie …"
//   "2 aktive Mods sind nun veraltet: Baeckerei (1010402), Fischerei (1010278). Aktivieren …"
QString StaleModsText(const EditsOverview& overview);

} // namespace velmora::mod
