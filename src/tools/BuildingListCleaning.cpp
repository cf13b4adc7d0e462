#include "tools/BuildingListCleaning.h"

#include "tools/ExtractionFiles.h"
#include "tools/ExtractionTables.h"
#include "tools/GameRecords.h"

#include <algorithm>
#include <sstream>

namespace velmora::tools {

namespace {

std::string lowered(const pugi::xml_node& record, const char* path, bool& found) {
    std::string text;
    found = findText(record, path, text);
    return asciiLower(text);
}

template <std::size_t N>
bool containsAny(const std::string& text, const char* const (&markers)[N]) {
    return std::any_of(std::begin(markers), std::end(markers),
                       [&](const char* marker) { return text.find(marker) != std::string::npos; });
}

std::string markupOf(const pugi::xml_node& record) {
    std::ostringstream out;
    record.print(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

void writeRecordList(const QString& path, QStringList lines) {
    lines << QStringLiteral("</AssetList>");
    writeLineFile(path, lines, LineEncoding::Utf8WithBom);
    data::ReformatXmlFile(path);
}

} // namespace

void MergeBuildingLists(const PrepDirectories& dirs) {
    requireDirectories({dirs.tmp()});
    const QString templatePath = dirs.tmp() + files::kTemplateBuildings;
    const QString derivedPath = dirs.tmp() + files::kDerivedBuildings;
    const QString mergedPath = dirs.tmp() + files::kUncleanedBuildings;

    QStringList templateLines = readLineFile(templatePath, LineEncoding::Utf8);
    if (!templateLines.isEmpty())
        templateLines.removeLast();
    writeLineFile(templatePath, templateLines, LineEncoding::Utf8);
    QStringList derivedLines = readLineFile(derivedPath, LineEncoding::Utf8);
    if (!derivedLines.isEmpty())
        derivedLines.removeFirst();
    writeLineFile(derivedPath, derivedLines, LineEncoding::Utf8);

    writeLineFile(mergedPath,
                  readLineFile(templatePath, LineEncoding::Utf8) +
                      readLineFile(derivedPath, LineEncoding::Utf8),
                  LineEncoding::Utf8WithBom);
    try {
        data::ReformatXmlFile(mergedPath);
    } catch (const data::DataError& e) {
        failStep(mergedPath,
                 QStringLiteral(
                     "Die Gebäudelisten lassen sich nicht zusammenführen; jede muss mindestens "
                     "ein Gebäude enthalten. %1")
                     .arg(e.message()));
    }
}

bool KeepsBuilding(const pugi::xml_node& record) {
    bool keep = true;
    bool found = false;
    std::string guid;
    if (findText(record, "Values/Standard/GUID", guid)) {
        std::string icon = lowered(record, "Values/Standard/IconFilename", found);
        if (!found)
            icon = "no icon";
        if (icon.find(tables::kCleaningEventIconMarker) != std::string::npos)
            keep = false;
        const std::string objectFile =
            lowered(record, "Values/Object/Variations/Item/Filename", found);
        if (found && containsAny(objectFile, tables::kCleaningObjectFileMarkers))
            keep = false;
    }
    std::string name;
    if (findText(record, "Values/Standard/Name", name)) {
        if (name.find('Q') != std::string::npos)
            keep = false;
        if (containsAny(lowered(record, "Values/Standard/Name", found),
                        tables::kCleaningNameMarkers))
            keep = false;
    }
    const std::string participant = lowered(record, "Values/Object/DefaultParticipant", found);
    if (found && participant.find(tables::kCleaningParticipantMarker) != std::string::npos)
        keep = false;
    if (record.first_element_by_path("Values/RecipeBuilding/RecipeList") &&
        record.first_element_by_path("Values/RecipeBuilding/IsBlank"))
        keep = false;
    if (tables::listed(tables::kExcludedBuildings, guid))
        keep = false;
    if (tables::listed(tables::kKeptBuildings, guid) ||
        tables::listed(tables::kKeptBuildingsFormerlyBlankPadded, guid))
        keep = true;
    return keep;
}

void CleanBuildingList(const PrepDirectories& dirs) {
    requireDirectories({dirs.tmp()});
    const data::XmlDocument buildings =
        data::XmlDocument::load(dirs.tmp() + files::kUncleanedBuildings);
    QStringList kept{QStringLiteral("<AssetList>")};
    QStringList removed = kept;
    for (const pugi::xml_node& record : buildings.root().children()) {
        if (record.type() != pugi::node_element)
            continue;
        (KeepsBuilding(record) ? kept : removed) << data::fromUtf8(markupOf(record));
    }
    writeRecordList(dirs.tmp() + files::kCleanedBuildings, kept);
    writeRecordList(dirs.tmp() + files::kRemovedBuildings, removed);
}

} // namespace velmora::tools
