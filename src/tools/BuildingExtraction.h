#pragma once
// Extraction of the production buildings from the game's asset file.
//
// Steps, in this order, sharing the asset document loaded by the first:
//   B2 WriteTemplateList
//        ORG/Assets.xml, ORG/texts_german.xml -> TMP/Building_Templates.xml
//   B3 ExtractTemplateBuildings
//        -> ORG/empty.xml, TMP/Template_Buildings.xml, TMP/Template_Buildings.txt
//   B4 ExtractDerivedBuildings
//        -> TMP/BaseAsset_Buildings.xml
// RunExtractionSteps continues with the merge and cleaning steps B5 and B6.
#include "data/XmlDocument.h"
#include "tools/PrepCommon.h"

#include <QString>

namespace velmora::tools {

// B2 to B6 in order.
void RunExtractionSteps(const PrepDirectories& dirs, const StepReporter& report);

// The display name stored for a German text: fixed replacements, a round trip through the
// 8-bit code page read back as UTF-8, and question marks turned into blanks.
QString NormaliseName(const QString& text);
// Writes ORG "empty.xml", the empty record document into which record lists are collected.
void WriteEmptyAssetList(const PrepDirectories& dirs);

// Region number "1" to "5" of a building record, or "" when no rule matches.
QString RegionOfRecord(const pugi::xml_node& record);

// "1" when buildings of the template produce goods, otherwise "0".
QString ProductionFlag(const QString& templateName);

} // namespace velmora::tools
