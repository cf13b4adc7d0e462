#include "tools/IndexAndTables.h"

#include "data/DataFiles.h"
#include "data/FileAccess.h"
#include "tools/ExtractionFiles.h"
#include "tools/PrepCommon.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace velmora::tools {

using data::DataError;
using data::XmlDocument;

namespace {

using Attributes = std::initializer_list<std::pair<const char*, QString>>;

// One empty element on one line; values escaped so that any name gives a well-formed file.
QString emptyElement(const char* name, Attributes attributes, bool blankBeforeSlash) {
    QString line = u'<' + QString::fromUtf8(name);
    for (const auto& [attribute, value] : attributes)
        line +=
            u' ' + QString::fromUtf8(attribute) + QStringLiteral("=\"") + xmlEscaped(value) + u'"';
    return line + (blankBeforeSlash ? QStringLiteral(" />") : QStringLiteral("/>"));
}

QString text(const std::string& utf8) {
    return data::fromUtf8(utf8);
}

// Icon paths are file paths: characters no file path may hold stop the step.
void checkIconPath(const QString& path, const pugi::xml_node& record, const QString& file) {
    for (const QChar c : path)
        if (c == u'"' || c == u'<' || c == u'>' || c == u'|' || c.unicode() < 32)
            throw DataError(
                QStringLiteral("Der Symbolpfad \u201E%1\u201C des Gebäudes %2 in der Datei %3 "
                               "enthält ein unzulässiges Zeichen.")
                    .arg(path, recordGuid(record), data::quotedPath(file)));
}

const std::unordered_map<QString, QString>& groupOverrides() {
    static const std::unordered_map<QString, QString> overrides = [] {
        std::unordered_map<QString, QString> map;
        for (const GroupOverride& row : kGroupOverrides)
            for (const QString& guid : QString::fromUtf8(row.guids).split(QStringLiteral(", ")))
                map[guid] = QString::fromUtf8(row.group);
        return map;
    }();
    return overrides;
}

std::string markupOf(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

} // namespace

QString buildingGroup(const QString& templateName, const QString& guid) {
    QString group = templateName;
    for (const GroupRule& rule : kGroupRules)
        if (templateName.contains(QString::fromUtf8(rule.contains)))
            group = QString::fromUtf8(rule.group);
    if (const auto it = groupOverrides().find(guid); it != groupOverrides().end())
        group = it->second;
    return group;
}

void WriteBuffTable(const PrepDirectories& dirs) {
    const QString file = dirs.xmlp() + data::kWorkingAssetsFile;
    const XmlDocument doc = XmlDocument::load(file);
    QStringList lines = {QStringLiteral("<Buffs>")};
    const QString zero = QStringLiteral("0");
    for (const pugi::xml_node& record : recordsOf(doc)) {
        QString line =
            QStringLiteral("<Buff GUID=\"") +
            xmlEscaped(text(requireText(record, "Values/UpgradeList/DefaultBuff", file))) + u'"';
        for (int k = 0; k <= 8; ++k)
            line += QStringLiteral(" P%1=\"0\" A%1=\"0\" Z%1=\"0\"").arg(k);
        lines << line + QStringLiteral(" Set=\"0\" Chain=\"0\"/>");
    }
    lines << QStringLiteral("</Buffs>");
    writeLineFile(dirs.xmlp() + data::kBuffTableFile, lines, LineEncoding::Utf8);
}

void WriteBuildingIndex(const PrepDirectories& dirs) {
    const QString file = dirs.xmlp() + data::kWorkingAssetsFile;
    const XmlDocument doc = XmlDocument::load(file);
    QStringList lines = {QStringLiteral("<Buildings>")};
    QStringList icons;
    // Derived buildings hold their template outside Values/Standard: they take the template
    // (and, without an icon path, the icon) of the record before them.
    QString templateName;
    QString icon;
    for (const pugi::xml_node& record : recordsOf(doc)) {
        const QString guid = text(requireText(record, "Values/Standard/GUID", file));
        const QString local = text(requireText(record, "Values/Standard/Local", file));
        const QString region = text(requireText(record, "Values/Standard/Region", file));
        const QString production = text(requireText(record, "Values/Standard/Production", file));
        const QString buff = text(requireText(record, "Values/UpgradeList/DefaultBuff", file));
        if (const pugi::xml_node t = record.first_element_by_path("Values/Standard/Template"))
            templateName = text(t.child_value());
        if (const pugi::xml_node path =
                record.first_element_by_path("Values/Standard/IconFilename")) {
            const QString iconPath = text(path.child_value());
            checkIconPath(iconPath, record, file);
            icon = iconNameOfPath(iconPath);
        }
        lines << u'\t' + emptyElement("Building",
                                      {{"GUID", guid},
                                       {"Local", local},
                                       {"ICON", icon},
                                       {"Region", region},
                                       {"IsChanged", QStringLiteral("false")},
                                       {"IsExported", QStringLiteral("false")},
                                       {"Group", buildingGroup(templateName, guid)},
                                       {"Production", production},
                                       {"Add", buff},
                                       {"Chain", QString()}},
                                      false);
        icons << icon;
    }
    lines << QStringLiteral("</Buildings>");
    writeLineFile(dirs.xmlp() + data::kBuildingIndexFile, lines, LineEncoding::Utf8WithBom);
    writeLineFile(dirs.tmp() + files::kBuildingIcons, icons, LineEncoding::Windows1252);
}

void WriteFieldTable(const PrepDirectories& dirs) {
    QStringList lines = {QStringLiteral("<Fields>")};
    for (const FieldEntry& field : kFieldTable)
        lines << emptyElement("Field",
                              {{"GUID", QString::fromUtf8(field.guid)},
                               {"Singular", QString::fromUtf8(field.singular)},
                               {"Plural", QString::fromUtf8(field.plural)}},
                              true);
    lines << QStringLiteral("</Fields>");
    writeLineFile(dirs.xmlp() + data::kFieldTableFile, lines, LineEncoding::Utf8WithBom);
}

void CopyBuildingIcons(const PrepDirectories& dirs) {
    const QDir source(dirs.iconSourceDir);
    for (const QString& name :
         readLineFile(dirs.tmp() + files::kBuildingIcons, LineEncoding::Windows1252)) {
        const QString from =
            data::resolveFileName(source.filePath(name + QStringLiteral("_0.png")));
        if (!QFileInfo(from).isFile())
            continue;
        data::writeFileAtomically(dirs.png() + name + QStringLiteral(".png"),
                                  data::readFileBytes(from));
    }
}

void WriteGroupList(const PrepDirectories& dirs) {
    QStringList lines;
    for (const char* line : kGroupListLines)
        lines << QString::fromUtf8(line);
    writeLineFile(dirs.xmlp() + data::kGroupListFile, lines, LineEncoding::Utf8WithBom);
}

void WriteChainList(const PrepDirectories& dirs) {
    const QString chainFile = dirs.org() + files::kGameChains;
    const XmlDocument chainDoc = XmlDocument::load(chainFile);
    const XmlDocument index = XmlDocument::load(dirs.xmlp() + data::kBuildingIndexFile);
    const std::vector<pugi::xml_node> chains = recordsOf(chainDoc);

    std::vector<std::string> buildings;
    for (const pugi::xml_node& entry : recordsOf(index))
        buildings.push_back(data::attributeTextAt(entry, 0));

    // A building GUID is a substring of a chain's markup exactly when it lies inside one of
    // the markup's digit runs: every run is cut into its substrings once, not searched per
    // building.
    std::unordered_set<std::string> decimalGuids;
    size_t longest = 0;
    for (const std::string& guid : buildings)
        if (isPlainNumber(guid)) {
            decimalGuids.insert(guid);
            longest = std::max(longest, guid.size());
        }
    std::unordered_map<std::string, std::vector<size_t>> chainsOfGuid;
    std::vector<std::string> markups;
    markups.reserve(chains.size());
    for (size_t c = 0; c < chains.size(); ++c) {
        markups.push_back(markupOf(chains[c]));
        const std::string& m = markups.back();
        for (size_t start = 0; start < m.size(); ++start) {
            for (size_t len = 1; len <= longest && start + len <= m.size() &&
                                 std::isdigit(static_cast<unsigned char>(m[start + len - 1]));
                 ++len) {
                const auto guid = decimalGuids.find(m.substr(start, len));
                if (guid == decimalGuids.end())
                    continue;
                std::vector<size_t>& found = chainsOfGuid[*guid];
                if (found.empty() || found.back() != c)
                    found.push_back(c);
            }
        }
    }

    QStringList lines;
    const auto addLine = [&](size_t c, const std::string& building) {
        lines << text(requireText(chains[c], "Values/Standard/GUID", chainFile)) + u'#' +
                     text(building);
    };
    for (const std::string& building : buildings) {
        if (isPlainNumber(building)) {
            if (const auto it = chainsOfGuid.find(building); it != chainsOfGuid.end())
                for (size_t c : it->second)
                    addLine(c, building);
            continue;
        }
        for (size_t c = 0; c < chains.size(); ++c) // not a decimal GUID: plain search
            if (markups[c].find(building) != std::string::npos)
                addLine(c, building);
    }
    writeLineFile(dirs.tmp() + files::kChainReport, lines, LineEncoding::Windows1252);
}

} // namespace velmora::tools
