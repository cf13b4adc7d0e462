#include "tools/GameRecords.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace velmora::tools {

std::string nodeText(const pugi::xml_node& node) {
    if (!node)
        return {};
    // The common case, an element holding one text, needs no walk.
    const pugi::xml_node first = node.first_child();
    if (first && !first.next_sibling() &&
        (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return first.value();
    std::string text;
    for (pugi::xml_node n = first; n;) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            text += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling() && n != node)
            n = n.parent();
        if (!n || n == node)
            break;
        n = n.next_sibling();
    }
    return text;
}

std::string asciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool findText(const pugi::xml_node& context, const char* path, std::string& text) {
    const pugi::xml_node element = context.first_element_by_path(path);
    if (!element)
        return false;
    text = nodeText(element);
    return true;
}

std::vector<pugi::xml_node> allElementsNamed(const pugi::xml_node& context, const char* name) {
    return data::selectNodes(context, std::string("//") + name);
}

bool liesBelow(pugi::xml_node node, const pugi::xml_node& ancestor) {
    for (; node; node = node.parent())
        if (node == ancestor)
            return true;
    return false;
}

GameTexts GameTexts::load(const QString& path) {
    GameTexts texts;
    texts.path_ = path;
    texts.document_ = std::make_shared<data::XmlDocument>(data::XmlDocument::load(path));
    texts.joinedTexts_ = std::make_shared<std::deque<std::string>>();
    for (const pugi::xml_node& entry : allElementsNamed(texts.document_->root(), "Text")) {
        const pugi::xml_node text = entry.child("Text");
        if (!text)
            continue; // an entry without text matches no look-up
        for (const pugi::xml_node& guid : entry.children("GUID")) {
            const std::string_view key = texts.textOf(guid);
            if (!texts.byGuid_.count(key))
                texts.byGuid_.emplace(key, texts.textOf(text)); // the first entry wins
        }
    }
    return texts;
}

std::string_view GameTexts::textOf(const pugi::xml_node& element) {
    const pugi::xml_node first = element.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() &&
        (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return first.value();
    return joinedTexts_->emplace_back(nodeText(element));
}

std::optional<std::string_view> GameTexts::find(std::string_view guid) const {
    const auto it = byGuid_.find(guid);
    if (it == byGuid_.end())
        return std::nullopt;
    return it->second;
}

AssetIndex AssetIndex::build(const pugi::xml_node& root,
                             const std::unordered_set<std::string>& templates,
                             bool collectBaseAssets) {
    AssetIndex index;
    for (const pugi::xml_node& asset : allElementsNamed(root, "Asset")) {
        for (const pugi::xml_node& child : asset.children()) {
            if (collectBaseAssets && std::strcmp(child.name(), "BaseAssetGUID") == 0) {
                index.withBaseAsset.push_back(asset);
            } else if (std::strcmp(child.name(), "Template") == 0) {
                const std::string name = nodeText(child);
                if (!templates.count(name))
                    continue;
                auto& records = index.byTemplate[name];
                if (records.empty() || records.back() != asset)
                    records.push_back(asset);
            }
        }
    }
    return index;
}

RecordStaging::RecordStaging(pugi::xml_document& document)
    : source_(document.document_element()), holding_(document.append_child("AssetList")) {}

bool RecordStaging::inSource(const pugi::xml_node& record) const {
    return liesBelow(record, source_);
}

std::vector<pugi::xml_node>
RecordStaging::remaining(const std::vector<pugi::xml_node>& candidates) const {
    std::vector<pugi::xml_node> result;
    result.reserve(candidates.size());
    for (const pugi::xml_node& record : candidates)
        if (inSource(record))
            result.push_back(record);
    return result;
}

void RecordStaging::take(const pugi::xml_node& record) {
    if (!holding_.append_move(record))
        throw data::DataError(
            QStringLiteral("Ein Datensatz \u201E%1\u201C kann nicht übernommen werden.")
                .arg(QString::fromUtf8(record.name())));
}

void RecordStaging::copyTo(pugi::xml_node root) const {
    for (const pugi::xml_node& record : holding_.children())
        root.append_copy(record);
}

} // namespace velmora::tools
