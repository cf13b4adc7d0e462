#include "tools/CreateProductsUnit.h"

#include "data/DataFiles.h"
#include "data/FileAccess.h"
#include "tools/ExtractionFiles.h"
#include "tools/GameAssetFilter.h"
#include "tools/GameRecords.h"
#include "tools/ProductTables.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace velmora::tools {

namespace {

const char* const kNoIcon = "Nothing";
const char* const kNoGermanText = "no german";
// The catalogue's last entry: the choice of no product.
const QString kNoProductLine =
    QStringLiteral("<Product GUID=\"0\" Name=\"keine Auswahl\" Icon=\"NoInput\" "
                   "Category=\"notAllowed\" Region=\"no Region\" Pos=\"\" />");

struct RegionCorrection {
    const char* const* cleared;
    std::size_t clearedCount;
    const char* const* set;
    std::size_t setCount;
};

template <std::size_t C, std::size_t S>
constexpr RegionCorrection correction(const char* const (&cleared)[C],
                                      const char* const (&set)[S]) {
    return {cleared, C, set, S};
}

// In the order of tables::kProductRegions.
const std::array<RegionCorrection, 4> kRegionCorrections = {
    correction(tables::kOldWorldCleared, tables::kOldWorldSet),
    correction(tables::kNewWorldCleared, tables::kNewWorldSet),
    correction(tables::kArcticCleared, tables::kArcticSet),
    correction(tables::kAfricaCleared, tables::kAfricaSet)};

bool among(const char* const* entries, std::size_t count, const std::string& guid) {
    return std::any_of(entries, entries + count, [&](const char* entry) { return guid == entry; });
}

template <std::size_t N>
const char* valueFor(const tables::GuidValue (&table)[N], const std::string& key) {
    const char* value = nullptr;
    for (const tables::GuidValue& entry : table)
        if (key == entry.guid)
            value = entry.value; // a later entry wins
    return value;
}

QString catalogueLine(const std::string& guid, const QString& name, const QString& icon,
                      const QString& category, const QString& region, const QString& pos) {
    return QStringLiteral("<Product GUID=\"%1\" Name=\"%2\" Icon=\"%3\" Category=\"%4\" "
                          "Region=\"%5\" Pos=\"%6\" />")
        .arg(xmlEscaped(data::fromUtf8(guid)), xmlEscaped(name), xmlEscaped(icon),
             xmlEscaped(category), xmlEscaped(region), xmlEscaped(pos));
}

void copyIcon(const QString& from, const QString& to) {
    if (QFileInfo::exists(from))
        data::writeFileAtomically(to, data::readFileBytes(from));
}

} // namespace

QString ProductPosCode(const QString& guid, const QString& firstCharacterOfName) {
    const std::string key = data::utf8(guid);
    if (const char* code = valueFor(tables::kFixedPosCodes, key))
        return QString::fromUtf8(code);
    if (const char* number = valueFor(tables::kPosNumbers, key))
        return firstCharacterOfName + QString::fromUtf8(number);
    return QString::fromUtf8(tables::kNoPosCode);
}

void ExtractProducts(const PrepDirectories& dirs) {
    requireDirectories({dirs.org()});
    const std::unordered_set<std::string> templates(std::begin(tables::kProductTemplates),
                                                    std::end(tables::kProductTemplates));
    data::XmlDocument assets =
        loadGameAssets(dirs.org() + files::kGameAssets,
                       [&](std::string_view record) { return holdsTemplate(record, templates); });
    const AssetIndex index = AssetIndex::build(assets.root(), templates, false);
    data::XmlDocument products = data::XmlDocument::load(dirs.org() + files::kEmptyList);
    RecordStaging staging(assets.document());
    for (const char* templateName : tables::kProductTemplates) {
        const auto indexed = index.byTemplate.find(templateName);
        if (indexed == index.byTemplate.end())
            continue;
        for (const pugi::xml_node& record : staging.remaining(indexed->second))
            staging.take(record);
    }
    staging.copyTo(products.root());
    products.saveAs(dirs.org() + files::kGameProducts);
}

void WriteProductList(const PrepDirectories& dirs) {
    requireDirectories({dirs.org(), dirs.tmp()});
    const GameTexts texts = GameTexts::load(dirs.org() + files::kGameTexts);
    const data::XmlDocument products = data::XmlDocument::load(dirs.org() + files::kGameProducts);
    QStringList lines{QStringLiteral("<Products>")};
    QStringList multiRegion;
    std::string category; // a product without a category of its own takes the one before it
    for (const pugi::xml_node& record : products.root().children()) {
        if (record.type() != pugi::node_element)
            continue;
        std::string guid;
        if (!findText(record, "Values/Standard/GUID", guid))
            failStep(dirs.org() + files::kGameProducts,
                     QStringLiteral("Ein Produkt hat keine GUID."));
        requirePlainGuid(guid, dirs.org() + files::kGameProducts, QStringLiteral("Ein Produkt"));

        std::string iconPath;
        QString icon = QString::fromUtf8(kNoIcon);
        if (findText(record, "Values/Standard/IconFilename", iconPath))
            icon = iconNameOfPath(data::fromUtf8(iconPath));
        if (guid == tables::kProductIconFix.guid)
            icon = QString::fromUtf8(tables::kProductIconFix.value);

        const auto text = texts.find(guid);
        QString name = text ? QString::fromUtf8(text->data(), qsizetype(text->size()))
                            : QString::fromUtf8(kNoGermanText);
        if (guid == tables::kProductNameFix.guid)
            name = QString::fromUtf8(tables::kProductNameFix.value);

        std::string categoryGuid;
        if (findText(record, "Values/Product/ProductCategory", categoryGuid))
            if (const auto categoryText = texts.find(categoryGuid))
                category = *categoryText;
        if (const char* renamed = valueFor(tables::kCategoryRenames, category))
            category = renamed;
        if (const char* byGuid = valueFor(tables::kCategoryByGuid, guid))
            category = byGuid;
        if (const char* workforce = valueFor(tables::kWorkforce, guid)) {
            category = tables::kWorkforceCategory;
            name = icon = QString::fromUtf8(workforce);
        }

        std::array<bool, 4> inRegion{};
        std::string associated;
        if (findText(record, "Values/Product/AssociatedRegion", associated)) {
            const QString regions = data::fromUtf8(associated);
            if (regions.size() > tables::kProductRegionTextMaxLength)
                multiRegion << data::fromUtf8(guid) + u'#' + name + u'#' + regions;
            for (std::size_t i = 0; i < inRegion.size(); ++i)
                inRegion[i] = associated.find(tables::kProductRegions[i].associatedRegion) !=
                              std::string::npos;
        }
        for (std::size_t i = 0; i < inRegion.size(); ++i) {
            const RegionCorrection& fix = kRegionCorrections[i];
            if (among(fix.cleared, fix.clearedCount, guid))
                inRegion[i] = false;
            if (among(fix.set, fix.setCount, guid))
                inRegion[i] = true;
        }

        const QString pos = ProductPosCode(data::fromUtf8(guid), name.left(1));
        const QString categoryText = data::fromUtf8(category);
        for (std::size_t i = 0; i < inRegion.size(); ++i)
            if (inRegion[i])
                lines << catalogueLine(
                    guid, name, icon, categoryText,
                    QString::fromUtf8(tables::kProductRegions[i].catalogueRegion), pos);
        if (tables::listed(tables::kNoRegionProducts, guid))
            lines << catalogueLine(guid, name, icon, categoryText,
                                   QString::fromUtf8(tables::kNoRegion), pos);
    }
    lines << kNoProductLine << QStringLiteral("</Products>");
    writeLineFile(dirs.tmp() + files::kProductLines, lines, LineEncoding::Windows1252);
    writeLineFile(dirs.tmp() + files::kMultiRegionProducts, multiRegion, LineEncoding::Windows1252);
}

void FilterProductList(const PrepDirectories& dirs) {
    requireDirectories({dirs.tmp(), dirs.xmlp()});
    QStringList lines = readLineFile(dirs.tmp() + files::kProductLines, LineEncoding::Windows1252);
    for (const char* excluded : tables::kExcludedProductStrings) {
        const QString text = QString::fromUtf8(excluded);
        for (qsizetype i = lines.size() - 1; i >= 0; --i)
            if (lines[i].contains(text))
                lines.removeAt(i);
    }
    const QString cataloguePath = dirs.xmlp() + data::kProductCatalogueFile;
    writeLineFile(cataloguePath, lines, LineEncoding::Utf8);
    data::ReformatXmlFile(cataloguePath);

    const data::XmlDocument catalogue = data::XmlDocument::load(cataloguePath);
    QStringList icons;
    for (const pugi::xml_node& product : catalogue.root().children("Product"))
        icons << data::fromUtf8(data::attributeTextAt(product, 2));
    writeLineFile(dirs.tmp() + files::kProductIcons, SortUnique(icons), LineEncoding::Windows1252);
}

void CopyProductIcons(const PrepDirectories& dirs) {
    requireDirectories({dirs.tmp(), dirs.iconSourceDir, dirs.wor(), dirs.png()});
    const QDir iconSource(dirs.iconSourceDir);
    for (const QString& icon :
         readLineFile(dirs.tmp() + files::kProductIcons, LineEncoding::Windows1252)) {
        if (icon.isEmpty())
            continue;
        const QString target = dirs.png() + icon + QStringLiteral(".png");
        copyIcon(iconSource.filePath(icon + QStringLiteral("_0.png")), target);
        copyIcon(dirs.wor() + icon + QStringLiteral(".png"),
                 target); // hand-made icons take precedence
    }
}

void RunProductsPipeline(const PrepDirectories& dirs, const StepReporter& report) {
    reportStep(report, "P1", "ExtractProducts");
    ExtractProducts(dirs);
    reportStep(report, "P2", "WriteProductList");
    WriteProductList(dirs);
    reportStep(report, "P3", "FilterProductList");
    FilterProductList(dirs);
    reportStep(report, "P4", "CopyProductIcons");
    CopyProductIcons(dirs);
}

} // namespace velmora::tools
