#include "tools/BuildingExtraction.h"

#include "tools/BuildingListCleaning.h"
#include "tools/ExtractionFiles.h"
#include "tools/ExtractionTables.h"
#include "tools/GameAssetFilter.h"
#include "tools/GameRecords.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <optional>

namespace velmora::tools {

namespace {

const char* const kNoGermanText = "no german";
const char* const kNoIconFile = "No Iconfile";

void appendTextElement(pugi::xml_node parent, const char* name, const std::string& text) {
    data::setElementText(parent.append_child(name), text);
}

// The code page has no room for this character: a similar one (its base letter) or '?'.
QString bestFit(char32_t codePoint) {
    const QString decomposed =
        QString::fromUcs4(&codePoint, 1).normalized(QString::NormalizationForm_D);
    if (!decomposed.isEmpty() && decomposed[0].unicode() < 0x80 && decomposed[0].isLetter())
        return decomposed.left(1);
    return QStringLiteral("?");
}

QByteArray toCodePageWithBestFit(const QString& text) {
    QString fitted;
    fitted.reserve(text.size());
    for (const char32_t codePoint : text.toUcs4()) {
        const QString one = QString::fromUcs4(&codePoint, 1);
        fitted += fromWindows1252(toWindows1252(one)) == one ? one : bestFit(codePoint);
    }
    return toWindows1252(fitted);
}

// Every element GUID at Values/Standard/GUID of a record.
template <typename Visit> void forEachRecordGuid(const pugi::xml_node& record, Visit visit) {
    for (const pugi::xml_node& values : record.children("Values"))
        for (const pugi::xml_node& standard : values.children("Standard"))
            for (const pugi::xml_node& guid : standard.children("GUID"))
                visit(nodeText(guid));
}

class BuildingExtraction {
public:
    explicit BuildingExtraction(const PrepDirectories& dirs) : dirs_(dirs) {}

    void writeTemplateList();
    void extractTemplateBuildings();
    void extractDerivedBuildings();

private:
    QString org(const QString& name) const { return dirs_.org() + name; }
    QString tmp(const QString& name) const { return dirs_.tmp() + name; }
    std::string displayName(const pugi::xml_node& record, const std::string& guid) const;
    data::XmlDocument loadEmptyList() const {
        return data::XmlDocument::load(org(files::kEmptyList));
    }
    void saveRecordList(const RecordStaging& staging, const QString& path) const;

    PrepDirectories dirs_;
    data::XmlDocument assets_;
    AssetIndex assetIndex_;
    std::optional<GameTexts> texts_;
    // Holds the template buildings taken from the asset document; it stays there so that the
    // records of the derived buildings' query can still be told apart from taken ones.
    std::optional<RecordStaging> templateStaging_;
};

std::string BuildingExtraction::displayName(const pugi::xml_node& record,
                                            const std::string& guid) const {
    if (const auto text = texts_->find(guid))
        return std::string(*text);
    std::string overrideGuid;
    if (!findText(record, "Values/Text/TextOverride", overrideGuid))
        return kNoGermanText;
    if (const auto text = texts_->find(overrideGuid))
        return std::string(*text);
    failStep(texts_->path(), QStringLiteral("Der Text %1, auf den das Gebäude %2 verweist, fehlt.")
                                 .arg(data::fromUtf8(overrideGuid), data::fromUtf8(guid)));
}

void BuildingExtraction::saveRecordList(const RecordStaging& staging, const QString& path) const {
    data::XmlDocument output = loadEmptyList();
    staging.copyTo(output.root());
    output.saveAs(path);
    data::ReformatXmlFile(path);
}

void BuildingExtraction::writeTemplateList() {
    requireDirectories({dirs_.org(), dirs_.tmp()});
    const std::unordered_set<std::string> templates(std::begin(tables::kBuildingTemplates),
                                                    std::end(tables::kBuildingTemplates));
    // Only template buildings and records deriving from another asset are used later.
    assets_ = loadGameAssets(org(files::kGameAssets), [&](std::string_view record) {
        return holdsTemplate(record, templates) || holdsElement(record, "BaseAssetGUID");
    });
    texts_ = GameTexts::load(org(files::kGameTexts));

    assetIndex_ = AssetIndex::build(assets_.root(), templates, true);

    QStringList lines{QStringLiteral("<BuildingTemplates>")};
    for (const char* name : tables::kBuildingTemplates)
        lines << QStringLiteral("\t<Template>%1</Template>").arg(QString::fromUtf8(name));
    lines << QStringLiteral("</BuildingTemplates>");
    writeLineFile(tmp(files::kTemplateList), lines, LineEncoding::Utf8WithBom);
}

void BuildingExtraction::extractTemplateBuildings() {
    QStringList templateNames;
    {
        const data::XmlDocument list = data::XmlDocument::load(tmp(files::kTemplateList));
        for (const pugi::xml_node& entry : list.root().children())
            if (entry.type() == pugi::node_element)
                templateNames << data::fromUtf8(nodeText(entry));
    }
    WriteEmptyAssetList(dirs_);

    templateStaging_.emplace(assets_.document());
    RecordStaging& staging = *templateStaging_;
    QStringList guids;
    for (const QString& templateName : templateNames) {
        const std::string name = data::utf8(templateName);
        const auto indexed = assetIndex_.byTemplate.find(name);
        if (indexed == assetIndex_.byTemplate.end())
            continue;
        for (const pugi::xml_node& record : staging.remaining(indexed->second)) {
            pugi::xml_node standard = record.first_element_by_path("Values/Standard");
            if (!standard)
                failStep(
                    org(files::kGameAssets),
                    QStringLiteral("Ein Gebäude der Vorlage %1 hat kein Element Values/Standard.")
                        .arg(templateName));
            appendTextElement(standard, "Template", name);
            std::string guid;
            if (!findText(record, "Values/Standard/GUID", guid))
                failStep(
                    org(files::kGameAssets),
                    QStringLiteral("Ein Gebäude der Vorlage %1 hat keine GUID.").arg(templateName));
            requirePlainGuid(guid, org(files::kGameAssets),
                             QStringLiteral("Ein Gebäude der Vorlage %1").arg(templateName));
            guids << data::fromUtf8(guid);
            appendTextElement(standard, "Local",
                              data::utf8(NormaliseName(data::fromUtf8(displayName(record, guid)))));
            appendTextElement(standard, "Region", data::utf8(RegionOfRecord(record)));
            appendTextElement(standard, "BaseAssetGUID", "0");
            const bool neverProducing = tables::listed(tables::kNonProducingGuids, guid);
            appendTextElement(standard, "Production",
                              neverProducing ? "0" : data::utf8(ProductionFlag(templateName)));
            staging.take(record);
        }
    }
    saveRecordList(staging, tmp(files::kTemplateBuildings));
    writeLineFile(tmp(files::kTemplateGuids), SortUnique(guids), LineEncoding::Windows1252);
}

void BuildingExtraction::extractDerivedBuildings() {
    // Every record deriving from another asset, in the order of its BaseAssetGUID elements.
    data::XmlDocument derived = loadEmptyList();
    {
        RecordStaging derivedStaging(assets_.document());
        for (const pugi::xml_node& record : templateStaging_->remaining(assetIndex_.withBaseAsset))
            derivedStaging.take(record);
        derivedStaging.copyTo(derived.root());
    }
    derived.saveAs(tmp(files::kDerivedBuildings));
    // The asset document is not needed any more: release its memory before the next loads.
    templateStaging_.reset();
    assetIndex_ = {};
    assets_ = data::XmlDocument();

    const data::XmlDocument templates = data::XmlDocument::load(tmp(files::kTemplateBuildings));
    const QStringList baseGuids =
        readLineFile(tmp(files::kTemplateGuids), LineEncoding::Windows1252);

    std::unordered_map<std::string, pugi::xml_node> templateByGuid;
    for (const pugi::xml_node& record : allElementsNamed(templates.root(), "Asset"))
        forEachRecordGuid(
            record, [&](const std::string& guid) { templateByGuid.try_emplace(guid, record); });
    std::unordered_map<std::string, std::vector<pugi::xml_node>> derivedByBase;
    for (const pugi::xml_node& record : allElementsNamed(derived.root(), "Asset")) {
        for (const pugi::xml_node& base : record.children("BaseAssetGUID")) {
            auto& records = derivedByBase[nodeText(base)];
            if (records.empty() || records.back() != record)
                records.push_back(record);
        }
    }

    RecordStaging staging(derived.document());
    for (const QString& baseGuidText : baseGuids) {
        const std::string baseGuid = data::utf8(baseGuidText);
        const auto indexed = derivedByBase.find(baseGuid);
        if (indexed == derivedByBase.end())
            continue;
        const std::vector<pugi::xml_node> records = staging.remaining(indexed->second);
        if (records.empty())
            continue;
        const auto found = templateByGuid.find(baseGuid);
        if (found == templateByGuid.end())
            failStep(tmp(files::kTemplateBuildings),
                     QStringLiteral("Das Basisgebäude %1 fehlt.").arg(baseGuidText));
        const pugi::xml_node base = found->second;
        if (!base.child("Template"))
            failStep(tmp(files::kTemplateBuildings),
                     QStringLiteral("Das Basisgebäude %1 hat keine Vorlage.").arg(baseGuidText));
        const std::string templateName = nodeText(base.child("Template"));

        for (pugi::xml_node record : records) {
            std::string guid;
            if (!findText(record, "Values/Standard/GUID", guid))
                failStep(tmp(files::kDerivedBuildings),
                         QStringLiteral("Ein von %1 abgeleitetes Gebäude hat keine GUID.")
                             .arg(baseGuidText));
            requirePlainGuid(guid, tmp(files::kDerivedBuildings),
                             QStringLiteral("Ein von %1 abgeleitetes Gebäude").arg(baseGuidText));

            if (const pugi::xml_node base = record.child("BaseAssetGUID"))
                data::removeNode(base);
            const pugi::xml_node values = record.child("Values");
            data::setElementText(values ? record.insert_child_before("Template", values)
                                        : record.append_child("Template"),
                                 templateName);

            pugi::xml_node standard = record.first_element_by_path("Values/Standard");
            std::string icon = kNoIconFile;
            if (!findText(record, "Values/Standard/IconFilename", icon))
                findText(base, "Values/Standard/IconFilename", icon);
            appendTextElement(standard, "IconFilename", icon);

            std::string name = data::utf8(NormaliseName(data::fromUtf8(displayName(record, guid))));
            if (guid == tables::kDerivedNameFix.guid)
                name = tables::kDerivedNameFix.value;
            appendTextElement(standard, "Local", name);
            appendTextElement(standard, "Region", data::utf8(RegionOfRecord(record)));
            appendTextElement(standard, "BaseAssetGUID", baseGuid);
            appendTextElement(standard, "Production",
                              data::utf8(ProductionFlag(data::fromUtf8(templateName))));

            // A derived building produces exactly as its base building does.
            const pugi::xml_node baseFactory = base.first_element_by_path("Values/FactoryBase");
            const pugi::xml_node factory = record.first_element_by_path("Values/FactoryBase");
            if (baseFactory && factory)
                data::replaceChild(factory.parent(), factory, baseFactory);

            if (pugi::xml_node output =
                    record.first_element_by_path("Values/FactoryBase/FactoryOutputs/Item/Product"))
                for (const tables::GuidValue& fix : tables::kDerivedOutputFixes)
                    if (guid == fix.guid)
                        data::setElementText(output, fix.value);
            if (guid == tables::kDerivedInputFix.guid)
                if (pugi::xml_node input = record.first_element_by_path(
                        "Values/FactoryBase/FactoryInputs/Item/Product"))
                    data::setElementText(input, tables::kDerivedInputFix.value);

            staging.take(record);
        }
    }
    saveRecordList(staging, tmp(files::kDerivedBuildings));
}

} // namespace

QString NormaliseName(const QString& text) {
    QString name = text;
    bool first = true;
    for (const tables::Replacement& r : tables::kNameReplacements) {
        name.replace(QString::fromUtf16(r.from), QString::fromUtf16(r.to),
                     first ? Qt::CaseInsensitive : Qt::CaseSensitive);
        first = false;
    }
    // The code page's bytes read as UTF-8: letters outside ASCII become U+FFFD.
    QStringDecoder strictUtf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    name = strictUtf8.decode(toCodePageWithBestFit(name));
    name.replace(QStringLiteral("-?"), QStringLiteral("-"));
    name.replace(u'?', u' ');
    return name;
}

QString RegionOfRecord(const pugi::xml_node& record) {
    std::string associated;
    findText(record, "Values/Building/AssociatedRegions", associated);
    const std::string regions = asciiLower(associated);
    QString region;
    for (const tables::RegionTest& test : tables::kRegionByAssociatedRegions)
        if (regions.find(test.substring) != std::string::npos)
            region = QString::fromUtf8(test.region);
    if (data::fromUtf8(associated).size() > tables::kBuildingRegionTextMaxLength)
        region = QStringLiteral("5");
    if (!region.isEmpty())
        return region;

    std::string internalName;
    findText(record, "Values/Standard/Name", internalName);
    internalName = asciiLower(internalName);
    for (const tables::RegionTest& test : tables::kRegionByName)
        if (internalName.find(test.substring) != std::string::npos)
            region = QString::fromUtf8(test.region);
    return region;
}

QString ProductionFlag(const QString& templateName) {
    return tables::listed(tables::kProducingTemplates, data::utf8(templateName))
               ? QStringLiteral("1")
               : QStringLiteral("0");
}

void RunExtractionSteps(const PrepDirectories& dirs, const StepReporter& report) {
    BuildingExtraction extraction(dirs);
    reportStep(report, "B2", "WriteTemplateList");
    extraction.writeTemplateList();
    reportStep(report, "B3", "ExtractTemplateBuildings");
    extraction.extractTemplateBuildings();
    reportStep(report, "B4", "ExtractDerivedBuildings");
    extraction.extractDerivedBuildings();
    reportStep(report, "B5", "MergeBuildingLists");
    MergeBuildingLists(dirs);
    reportStep(report, "B6", "CleanBuildingList");
    CleanBuildingList(dirs);
}

void WriteEmptyAssetList(const PrepDirectories& dirs) {
    writeLineFile(dirs.org() + files::kEmptyList, {QStringLiteral("<AssetList/>")},
                  LineEncoding::Utf8WithBom);
}

} // namespace velmora::tools
