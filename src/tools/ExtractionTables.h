#pragma once
// Fixed tables of the building extraction and cleaning steps. The order of every table is
// part of its meaning (replacements and region tests run in this order).
#include <algorithm>
#include <iterator>
#include <string>

namespace velmora::tools::tables {

// Templates of the production buildings, in the order their records are extracted.
inline constexpr const char* kBuildingTemplates[] = {"FactoryBuilding7",
                                                     "FactoryBuilding7_Arctic",
                                                     "FarmBuilding_Arctic",
                                                     "FarmBuilding",
                                                     "FarmBuilding_Electrifiable",
                                                     "FreeAreaBuilding_Arctic",
                                                     "FreeAreaBuilding",
                                                     "HeavyFactoryBuilding",
                                                     "HeavyFreeAreaBuilding_Arctic",
                                                     "HeavyFreeAreaBuilding",
                                                     "FactoryBuilding7_BuildPermit",
                                                     "SlotFactoryBuilding7",
                                                     "SlotFactoryBuilding7_Arctic",
                                                     "FreeAreaRecipeBuilding",
                                                     "Multifactory",
                                                     "RecipeFarm"};

// Templates whose buildings produce goods; every other template gives production flag "0".
inline constexpr const char* kProducingTemplates[] = {
    "FactoryBuilding7",      "FactoryBuilding7_Arctic",
    "HeavyFactoryBuilding",  "HeavyFreeAreaBuilding_Arctic",
    "HeavyFreeAreaBuilding", "FactoryBuilding7_BuildPermit",
    "Multifactory"};

// Template buildings that never count as producing, whatever their template.
inline constexpr const char* kNonProducingGuids[] = {"937", "915", "101262", "7919"};

struct Replacement {
    const char16_t* from;
    const char16_t* to;
};

// Display-name replacements, applied in this order. The first one ignores letter case.
inline constexpr Replacement kNameReplacements[] = {
    {u"<br/>", u""}, {u"\u201E", u""}, {u"\u201C", u""}, {u"\"", u""},  {u"<", u""},
    {u">", u""},     {u"/", u""},      {u"\\", u""},     {u":", u" "},  {u".", u""},
    {u"ß", u"ss"},   {u"Ä", u"Ae"},    {u"ä", u"ae"},    {u"Ö", u"Oe"}, {u"ö", u"oe"},
    {u"Ü", u"Ue"},   {u"ü", u"ue"},    {u"â", u"a"},     {u"ç", u"c"},  {u"é", u"e"},
    {u"ø", u"e"},    {u"?", u""},      {u"Á", u" "},     {u"Í", u"I"},  {u"ñ", u"n"},
    {u"ê", u" "},    {u"è", u" "},     {u"ó", u" "},     {u"á", u" "}};

struct RegionTest {
    const char* substring;
    const char* region;
};

// Tests on the lower-cased AssociatedRegions text; a later match replaces an earlier one.
inline constexpr RegionTest kRegionByAssociatedRegions[] = {
    {"moderate", "1"}, {"colony", "2"}, {"arctic", "3"}, {"africa", "4"}};
// A building's AssociatedRegions text longer than this names several regions: region "5".
inline constexpr int kBuildingRegionTextMaxLength = 9;
// Tests on the lower-cased internal name when AssociatedRegions gave no region.
inline constexpr RegionTest kRegionByName[] = {
    {"colony", "2"}, {"hacienda", "2"}, {"arctic", "3"}, {"colony02", "4"}, {"africa", "4"}};

struct GuidValue {
    const char* guid;
    const char* value;
};

// Output products of derived buildings that differ from their base building's.
inline constexpr GuidValue kDerivedOutputFixes[] = {
    {"1353", "840"}, {"1308", "836"}, {"1388", "1010227"}, {"1390", "5398"}, {"835", "838"}};
inline constexpr GuidValue kDerivedInputFix = {"835", "836"};
inline constexpr GuidValue kDerivedNameFix = {"1418", "Oelpresse"};

// Buildings that are never offered.
inline constexpr const char* kExcludedBuildings[] = {
    "668",    "100782", "100781", "119425", "269951", "101335", "101040", "101186", "101135",
    "270041", "270000", "270001", "269850", "269851", "25507",  "25508",  "25509",  "100008",
    "20828",  "80035",  "80036",  "80038",  "102666", "119031", "119032", "119033", "270172",
    "101303", "24055",  "24110",  "24116",  "24117",  "24118",  "24119",  "24120",  "24121",
    "24122",  "24123",  "24124",  "24125",  "24126",  "24127",  "24128",  "24129",  "24130",
    "24133",  "24134",  "24135",  "24136",  "24137",  "101122", "270044", "24856",  "24857",
    "7319",   "100448", "24836",  "24844",  "100807", "2396",   "123074", "123075", "123076",
    "124528", "124529", "6006",   "100767", "24828",  "949",    "680",    "685",    "686",
    "5989",   "119958", "119959", "101407", "101117", "116035", "119404", "123720", "119408",
    "119409", "131065", "2533",   "5920",   "5921",   "5922",   "5923",   "5924",   "100680",
    "100681", "100682", "100683", "100685", "100686", "7413",   "24652",  "24845",  "24861",
    "25547",  "25548",  "118571", "269840", "119028", "25549",  "24825",  "24820",  "2397",
    "132933", "7399",   "133010", "132780", "132781", "132782", "132770", "135100", "135099",
    "134629", "24794",  "103052", "103053", "103055", "103056", "103057", "103058", "103059",
    "111930", "13991",  "112128", "114544", "114759", "114751"};

// Buildings that are always offered, whatever the other cleaning rules say.
inline constexpr const char* kKeptBuildings[] = {"1418", "101952", "101951", "101953", "102035",
                                                 "403",  "404",    "406",    "1010560"};
// Two more buildings that are always offered; they were once listed with a trailing blank,
// which made them match no GUID.
inline constexpr const char* kKeptBuildingsFormerlyBlankPadded[] = {"6279", "6080"};

// Whether a table of texts lists the value (whole text compared).
template <std::size_t N> bool listed(const char* const (&table)[N], const std::string& value) {
    return std::any_of(std::begin(table), std::end(table),
                       [&](const char* entry) { return value == entry; });
}

// B6: markers of event, story, pirate and outside content, found in the lower-cased texts of a
// record (its icon, object file, internal name and default participant): such a record is not
// in use.
inline constexpr const char* kCleaningEventIconMarker = "eoy21";
inline constexpr const char* kCleaningObjectFileMarkers[] = {"storytelling", "/3rd_party/",
                                                             "/eoy21/"};
inline constexpr const char* kCleaningNameMarkers[] = {"pirates", "third_party"};
inline constexpr const char* kCleaningParticipantMarker = "africa_angereb";

template <typename T, std::size_t N> constexpr std::size_t tableSize(const T (&)[N]) {
    return N;
}

} // namespace velmora::tools::tables
