#pragma once
// Joining the extracted building lists and removing the buildings the editor must not offer.
//   B5 MergeBuildingLists  TMP/Template_Buildings.xml + TMP/BaseAsset_Buildings.xml
//                          -> TMP/Buildings_Standard_UnCleaned.xml
//   B6 CleanBuildingList   -> TMP/Buildings_Standard_Cleaned.xml, TMP/NotInUse_Buildings.xml
#include "data/XmlDocument.h"
#include "tools/PrepCommon.h"

namespace velmora::tools {

// Joins the two record lists as text: the first loses its closing line, the second its
// opening line. Both lists must hold at least one record each.
void MergeBuildingLists(const PrepDirectories& dirs);

// Sorts every record into the kept or the removed list by the cleaning rules.
void CleanBuildingList(const PrepDirectories& dirs);

// Whether the cleaning rules keep the record.
bool KeepsBuilding(const pugi::xml_node& record);

} // namespace velmora::tools
