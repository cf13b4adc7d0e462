#pragma once
// The short files derived from the asset lists and the fixed tables: buff table, building
// index with its icon list, field table, building icons, group list and the chain report.
//
// The runner calls them in this order: WriteBuildingIndex (after the buff numbering), then,
// after the name comments, WriteBuffTable, WriteFieldTable, CopyBuildingIcons, WriteGroupList,
// WriteChainList. The buff table is written from the asset list of the same run so that its
// GUIDs always match the building index.
#include "tools/PrepCommon.h"

#include <array>

namespace velmora::tools {

// Group of a building by its template: each contained string (exact letter case) that
// matches sets the group, a later match replacing an earlier one.
struct GroupRule {
    const char* contains;
    const char* group;
};
inline constexpr std::array<GroupRule, 5> kGroupRules = {{
    {"Factory", "Produktion"},
    {"HeavyFactory", "Industrie"},
    {"Farm", "Farmen"},
    {"FreeArea", "Farmen"},
    {"Multifactory", "Industrie"},
}};

// Buildings whose group is set whatever their template says; GUIDs separated by ", ".
struct GroupOverride {
    const char* group;
    const char* guids;
};
inline constexpr std::array<GroupOverride, 7> kGroupOverrides = {{
    {"Produktion",
     "24801, 25126, 25350, 25508, 25064, 117744, 101268, 101261, 114704, 134622, 135361, 135148, "
     "135418, 135397, 135407, 135669"},
    {"Farmen",
     "114705, 1010298, 1345, 1010278, 1010339, 118729, 101262, 112666, 112674, 114451, 7919"},
    {"Werften", "1010520, 101277, 1010521"},
    {"Bodenschätze",
     "1010561, 101331, 1010560, 1010310, 114440, 100416, 1010304, 1010305, 1010307, 1010308, "
     "1010309, 101311, 117743, 116029, 112690, 101332, 100524, 113751, 114544, 2400, 2399, 1308, "
     "1353, 1388, 1390, 101267"},
    {"Industrie",
     "5659, 835, 5988, 6279, 1010297, 1010299, 1010301, 1010302, 1010303, 1010282, 100780, 117547, "
     "1010286, 1010285, 1010289, 1010300, 1010319, 1010321, 1010323, 1010324, 1010284, 1010326, "
     "101250, 1010296, 1010280, 6083, 5658, 5862, 7399, 6080, 5164"},
    {"Kontor", "1010540, 1010517"},
    {"no Group", "114759, 1010311"},
}};

// The farm modules of the field table, in file order.
struct FieldEntry {
    const char* guid;
    const char* singular;
    const char* plural;
};
inline constexpr std::array<FieldEntry, 35> kFieldTable = {{
    {"1010270", "Getreidefeld", "Getreidefelder"},
    {"1010271", "Rindergehege", "Rindergehege"},
    {"1010272", "Hopfenfeld", "Hopfenfelder"},
    {"1010273", "Kartoffelfeld", "Kartoffelfelder"},
    {"1010274", "Wald", "Wald"},
    {"1010275", "Schafpferch", "Schafpferche"},
    {"1010277", "Schweinestall", "Schweineställe"},
    {"1010559", "Jagdrevier", "Jagdreviere"},
    {"100657", "Weingut", "Weinstöcke"},
    {"100656", "Paprikafeld", "Paprikafelder"},
    {"1010334", "Zuckerrohrfeld", "Zuckerrohrfelder"},
    {"1010335", "Tabakfeld", "Tabakfelder"},
    {"1010336", "Baumwollfeld", "Baumwollfelder"},
    {"1010337", "Kakaofeld", "Kakaofelder"},
    {"1010338", "Kautschukfeld", "Kautschukfelder"},
    {"101253", "Kaffeefeld", "Kaffeefelder"},
    {"101280", "Bananenplantage", "Bananenplantagen"},
    {"101282", "Maisfeld", "Maisfelder"},
    {"112677", "Gänseställe", "Gänseställe"},
    {"112683", "Huskyzwinger", "Huskyzwinger"},
    {"114489", "Wanza-Hain", "Wanza-Hain"},
    {"114488", "Hibiskusfeld", "Hibiskusfelder"},
    {"114490", "Flachsfeld", "Flachsfelder"},
    {"114492", "Tef-Feld", "Teffelder"},
    {"114494", "Indigo-Feld", "Indigofelder"},
    {"114495", "Gewürzfeld", "Gewürzfelder"},
    {"114496", "Imkerei-Feld", "Bienenstöcke"},
    {"114499", "Sanga-Weide", "Sangagehege"},
    {"114498", "Ziegenweide", "Ziegenweiden"},
    {"101283", "Alpakaweide", "Alpakaweiden"},
    {"101281", "Rindergehege", "Rindergehege"},
    {"25890", "Gewürzfeld", "Gewürzfelder"},
    {"5815", "Orchideenfeld", "Orchideenfelder"},
    {"5464", "Kräutergarten", "Kräutergärten"},
    {"8026", "Nandugehege", "Nandugehege"},
}};

// The group list, line by line: the two pseudo-groups indented by two blanks, the real
// groups by a tab, and a blank before "/>" in the "Farmen" line only.
inline constexpr std::array<const char*, 8> kGroupListLines = {{
    "<Groups>",
    "  <Group Name=\"editierte Gebäude\" ICON=\"editierte Gebäude\" Index=\"0\"/>",
    "  <Group Name=\"exportierte Gebäude\" ICON=\"exportierte Gebäude\" Index=\"1\"/>",
    "\t<Group Name=\"Farmen\" ICON=\"Farmen\" Index=\"1\" />",
    "\t<Group Name=\"Produktion\" ICON=\"Produktion\" Index=\"2\"/>",
    "\t<Group Name=\"Industrie\" ICON=\"Industrie\" Index=\"3\"/>",
    "\t<Group Name=\"Bodenschätze\" ICON=\"Bodenschätze\" Index=\"4\"/>",
    "</Groups>",
}};

// The group of a building: the template rule, then the overrides by GUID.
QString buildingGroup(const QString& templateName, const QString& guid);

// XMLP "Buildings.xml" -> XMLP "BuffsShort.xml" (UTF-8 lines, no byte-order mark).
void WriteBuffTable(const PrepDirectories& dirs);
// XMLP "Buildings.xml" -> XMLP "BuildingsShort.xml" (UTF-8 lines with byte-order mark) and
// TMP "BuildingIcons_List.txt" (Windows-1252).
void WriteBuildingIndex(const PrepDirectories& dirs);
// -> XMLP "FarmField.xml" (UTF-8 lines with byte-order mark).
void WriteFieldTable(const PrepDirectories& dirs);
// TMP "BuildingIcons_List.txt" + icon source -> PNG; icons without a source file are skipped.
void CopyBuildingIcons(const PrepDirectories& dirs);
// -> XMLP "BuildingGroups.xml" (UTF-8 lines with byte-order mark).
void WriteGroupList(const PrepDirectories& dirs);
// ORG "ProductionChain.xml" + XMLP "BuildingsShort.xml" -> TMP "ChainGUIDs.txt" (Windows-1252).
void WriteChainList(const PrepDirectories& dirs);

} // namespace velmora::tools
