#pragma once
// Fixed tables of the product catalogue steps.
#include "tools/ExtractionTables.h"

namespace velmora::tools::tables {

// Templates of the product records.
inline constexpr const char* kProductTemplates[] = {"Product", "Product_Ammunition"};
// The one product whose icon and the one whose name the catalogue corrects.
inline constexpr GuidValue kProductIconFix = {"1010239", "icon_sugar"};
inline constexpr GuidValue kProductNameFix = {"115918", "Expeditionsschrott"};
// A product's AssociatedRegion text longer than this names several regions (the report of
// multi-region products lists it).
inline constexpr int kProductRegionTextMaxLength = 8;

struct RegionFlagRule {
    const char* associatedRegion; // found in AssociatedRegion, exact letter case
    const char* catalogueRegion;
};

// The four region flags, in the order their catalogue lines are written.
inline constexpr RegionFlagRule kProductRegions[] = {{"Moderate", "Alte Welt"},
                                                     {"Colony01", "Neue Welt"},
                                                     {"Arctic", "Arktis"},
                                                     {"Africa", "Land der L\u00F6wen"}};

// Region flag corrections, by flag in the order of kProductRegions.
inline constexpr const char* kOldWorldCleared[] = {
    "5831",   "5830",    "6265",    "25546",  "1010233", "1010255", "1010256",
    "120037", "1010258", "1010259", "114357", "114391",  "114390",  "114404",
    "114410", "114414",  "836",     "838",    "840",     "112706",  "1414"};
inline constexpr const char* kOldWorldSet[] = {"1010052", "1010115", "1010116", "1010117",
                                               "1010128", "124478",  "132723"};
inline constexpr const char* kNewWorldCleared[] = {"1010350", "1010349", "112518", "112520",
                                                   "112523"};
inline constexpr const char* kNewWorldSet[] = {"1010366", "1010367", "5406"};
inline constexpr const char* kArcticCleared[] = {"1010217", "1010216", "1010204", "1010226",
                                                 "112518",  "112520",  "112523"};
inline constexpr const char* kArcticSet[] = {"112653", "112654"};
inline constexpr const char* kAfricaCleared[] = {"120020", "1010252", "1010253", "1010566"};
inline constexpr const char* kAfricaSet[] = {"114340", "114341"};

// Products that get one more line outside every region.
inline constexpr const char* kNoRegionProducts[] = {"1010017", "1010190", "119392"};
inline constexpr const char* kNoRegion = "no Region";

// Workforce products: fixed name and icon, category "Arbeitskraft".
inline constexpr GuidValue kWorkforce[] = {
    {"1010052", "Bauern"},     {"1010115", "Arbeiter"},    {"1010116", "Handwerker"},
    {"1010117", "Ingenieure"}, {"1010128", "Investoren"},  {"1010366", "Jornalero"},
    {"1010367", "Obrero"},     {"112653", "Entdecker"},    {"112654", "Techniker"},
    {"114340", "Hirten"},      {"114341", "\u00C4lteste"}, {"124478", "Gelehrte"},
    {"5406", "Artista"},       {"132723", "Touristen"}};
inline constexpr const char* kWorkforceCategory = "Arbeitskraft";

// Category texts of the game renamed to the editor's categories (whole text compared).
inline constexpr GuidValue kCategoryRenames[] = {
    {"Abwurfware", "Markt"},           {"Grundbed\u00FCrfnis", "Markt"},
    {"Konsumbed\u00FCrfnis", "Markt"}, {"Lufttransportwaren", "Markt"},
    {"Luxusbed\u00FCrfnis", "Markt"},  {"Baumaterial", "Baustoff"},
    {"Strategischer Rohstoff", "Mine"}};

// Categories set by GUID after the renaming (the workforce products get kWorkforceCategory).
inline constexpr GuidValue kCategoryByGuid[] = {
    {"1010201", "Baustoff"}, {"120008", "Baustoff"},

    {"24807", "Rohstoff"},

    {"1010232", "Mine"},     {"1010228", "Mine"},     {"1010226", "Mine"},
    {"1010227", "Mine"},     {"1010229", "Mine"},     {"1010230", "Mine"},
    {"1010231", "Mine"},     {"1010233", "Mine"},     {"112706", "Mine"},
    {"836", "Mine"},         {"840", "Mine"},

    {"1010349", "Bauwerke"}, {"1010350", "Bauwerke"}, {"1010351", "Bauwerke"},
    {"1010352", "Bauwerke"}, {"1010353", "Bauwerke"}, {"1010355", "Bauwerke"},
    {"1010356", "Bauwerke"}, {"120050", "Bauwerke"},  {"1010348", "Bauwerke"},
    {"112693", "Bauwerke"},  {"114890", "Bauwerke"},  {"114355", "Bauwerke"},
    {"114361", "Bauwerke"},  {"114362", "Bauwerke"},  {"114425", "Bauwerke"},
    {"120020", "Bauwerke"},  {"133891", "Bauwerke"},  {"132751", "Bauwerke"},
    {"132754", "Bauwerke"},  {"132755", "Bauwerke"},  {"133573", "Bauwerke"},
    {"601485", "Bauwerke"},  {"133535", "Bauwerke"},  {"355", "Bauwerke"},
    {"134257", "Bauwerke"},  {"132761", "Bauwerke"},  {"133536", "Bauwerke"},
    {"134781", "Bauwerke"},  {"137757", "Bauwerke"},  {"135108", "Bauwerke"},
    {"135107", "Bauwerke"},  {"135109", "Bauwerke"},  {"5831", "Bauwerke"},
    {"5830", "Bauwerke"},    {"6265", "Bauwerke"},    {"25546", "Bauwerke"}};

// Sort numbers of products, tested in this order: a GUID listed twice takes its later number.
inline constexpr GuidValue kPosNumbers[] = {
    {"120008", "01"},  {"1010196", "02"}, {"1010200", "03"},  {"1010195", "04"}, {"1010216", "05"},
    {"1010197", "06"}, {"1010237", "07"}, {"1010201", "08"},  {"1010205", "09"}, {"1010199", "10"},
    {"1010238", "11"}, {"1010192", "12"}, {"1010235", "13"},  {"1010210", "14"}, {"1010213", "15"},
    {"1010226", "16"}, {"1010203", "17"}, {"1010214", "18"},  {"1010194", "19"}, {"1010193", "20"},
    {"1010198", "21"}, {"1010217", "22"}, {"1010209", "23"},  {"1010206", "24"}, {"1010257", "25"},
    {"1010247", "26"}, {"120030", "27"},  {"1010245", "28"},  {"1010246", "29"}, {"120032", "30"},
    {"1010208", "31"}, {"1010225", "32"}, {"1010248", "33"},  {"1010250", "34"}, {"120016", "35"},
    {"1010258", "36"}, {"1010259", "37"}, {"120033", "38"},   {"120035", "39"},  {"120043", "40"},
    {"120037", "41"},  {"1010227", "42"}, {"1010228", "43"},  {"1010229", "44"}, {"1010230", "45"},
    {"1010231", "46"}, {"1010232", "47"}, {"1010233", "48"},  {"1010566", "49"}, {"112706", "50"},
    {"120042", "51"},  {"120041", "52"},  {"1010251", "53"},  {"1010253", "54"}, {"120036", "55"},
    {"1010255", "56"}, {"120034", "57"},  {"120031", "58"},   {"120014", "59"},  {"1010252", "60"},
    {"1010254", "61"}, {"112694", "62"},  {"112697", "63"},   {"112695", "64"},  {"112698", "65"},
    {"112699", "66"},  {"112696", "67"},  {"1010218", "68"},  {"1010221", "69"}, {"1010207", "70"},
    {"1010202", "71"}, {"1010224", "72"}, {"1010223", "73"},  {"112518", "74"},  {"112520", "75"},
    {"112523", "76"},  {"115980", "77"},  {"1010219", "78"},  {"1010234", "79"}, {"1010236", "80"},
    {"1010241", "81"}, {"1010215", "82"}, {"1010204", "83"},  {"1010224", "84"}, {"1010249", "85"},
    {"1010243", "86"}, {"1010222", "87"}, {"1010240", "88"},  {"1010249", "89"}, {"1010243", "90"},
    {"1010222", "91"}, {"1010240", "92"}, {"1010239", "93"},  {"120044", "94"},  {"1010242", "95"},
    {"1010256", "96"}, {"1010211", "97"}, {"112705", "98"},   {"112702", "99"},  {"112701", "100"},
    {"112700", "101"}, {"112704", "102"}, {"112703", "103"},  {"114356", "104"}, {"114364", "105"},
    {"114365", "106"}, {"114367", "107"}, {"114368", "108"},  {"114369", "109"}, {"114370", "110"},
    {"114357", "111"}, {"114371", "112"}, {"114358", "113"},  {"117702", "114"}, {"118728", "115"},
    {"114391", "116"}, {"114408", "117"}, {"117701", "118"},  {"114359", "119"}, {"114401", "120"},
    {"114390", "121"}, {"114402", "122"}, {"118724", "123"},  {"114404", "124"}, {"114410", "125"},
    {"114414", "126"}, {"117698", "127"}, {"117699", "128"},  {"114428", "129"}, {"114430", "130"},
    {"114431", "131"}, {"133183", "132"}, {"133181", "133"},  {"133185", "134"}, {"133532", "135"},
    {"133093", "136"}, {"133095", "137"}, {"133097", "138"},  {"134616", "139"}, {"1010017", "140"},
    {"120022", "143"}, {"112708", "144"}, {"1010190", "141"}, {"119392", "142"}};

// Products with a fixed sort code, whatever their name.
inline constexpr GuidValue kFixedPosCodes[] = {{"846", "Z150"}, {"847", "Z151"}, {"848", "Z152"},
                                               {"849", "Z153"}, {"850", "Z154"}, {"535", "Z155"},
                                               {"536", "Z156"}, {"2524", "Z157"}};
inline constexpr const char* kNoPosCode = "No";

// A catalogue line containing any of these strings anywhere is dropped.
inline constexpr const char* kExcludedProductStrings[] = {
    "135816",  "135876",  "135877",  "135878",  "135879",  "135880",  "135881", "135882",
    "135883",  "135884",  "135885",  "135886",  "135887",  "135888",  "135889", "269751",
    "24837",   "270042",  "24807",   "120021",  "120022",  "24320",   "114433", "114429",
    "114427",  "2038",    "6261",    "6262",    "6263",    "24187",   "112708", "6360",
    "24846",   "24850",   "24851",   "24852",   "24863",   "25073",   "5399",   "5387",
    "917",     "1010354", "24821",   "24824",   "4267",    "4268",    "120020", "1010349",
    "1010350", "1010351", "1010352", "1010353", "1010355", "1010356", "120050", "1010348",
    "133891",  "132751",  "132754",  "132755",  "133573",  "601485",  "133535", "355",
    "134257",  "132761",  "133536",  "134781",  "114361",  "114362",  "114425", "112693",
    "114890",  "135108",  "135107",  "135109",  "6265",    "5830",    "5831",   "137757"};

} // namespace velmora::tools::tables
