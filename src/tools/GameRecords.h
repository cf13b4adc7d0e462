#pragma once
// Reading the game's extracted files: element texts, the German text table, indexes of the
// asset records built in one pass, and moving records out of their document.
//
// The game's asset file is very large, so every look-up is built once per document and never
// by scanning the document again per record.
#include "data/XmlDocument.h"
#include "tools/PrepCommon.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velmora::tools {

// All text below an element, in document order ("" for an empty node).
std::string nodeText(const pugi::xml_node& node);

// ASCII letters lowered; other characters stay as they are.
std::string asciiLower(std::string text);

// Text of the first element at a relative path ("Values/Standard/GUID"), if there is one.
bool findText(const pugi::xml_node& context, const char* path, std::string& text);

// Every element of the given name in the document of context, at any depth, in document order:
// one scan of the whole document.
std::vector<pugi::xml_node> allElementsNamed(const pugi::xml_node& context, const char* name);

// Whether node still lies below ancestor (or is it).
bool liesBelow(pugi::xml_node node, const pugi::xml_node& ancestor);

// The German texts of the game: for a GUID, the Text child of the first Text element (at any
// depth, in document order) whose GUID child holds that GUID.
class GameTexts {
public:
    static GameTexts load(const QString& path);
    // Nothing when the table holds no text for the GUID.
    std::optional<std::string_view> find(std::string_view guid) const;
    const QString& path() const { return path_; }

private:
    QString path_;
    std::string_view textOf(const pugi::xml_node& element);

    // Keys and texts point into the loaded document, which the table keeps; texts made of
    // several nodes are kept beside it.
    std::shared_ptr<data::XmlDocument> document_;
    std::shared_ptr<std::deque<std::string>> joinedTexts_;
    std::unordered_map<std::string_view, std::string_view> byGuid_;
};

// The Asset records of a document, indexed once: by the text of their Template children
// (only the names asked for) and, in document order of those children, the records holding a
// BaseAssetGUID child.
struct AssetIndex {
    std::unordered_map<std::string, std::vector<pugi::xml_node>> byTemplate;
    std::vector<pugi::xml_node> withBaseAsset;
    static AssetIndex build(const pugi::xml_node& root,
                            const std::unordered_set<std::string>& templates,
                            bool collectBaseAssets);
};

// Records taken out of a document are moved into a holding element of the same document, so
// a record leaves its document exactly as an append to another document would take it, and
// node handles of records not yet visited stay valid. copyTo() hands the collected records,
// in the order taken, to the document that is saved.
class RecordStaging {
public:
    explicit RecordStaging(pugi::xml_document& document);
    // Whether record still lies in the document's own tree (not yet taken).
    bool inSource(const pugi::xml_node& record) const;
    // The records of candidates that have not been taken yet: the list a query would select now.
    std::vector<pugi::xml_node> remaining(const std::vector<pugi::xml_node>& candidates) const;
    void take(const pugi::xml_node& record);
    void copyTo(pugi::xml_node root) const;

private:
    pugi::xml_node source_;
    pugi::xml_node holding_;
};

// Tells the reporter (if any) that a step starts.
void reportStep(const StepReporter& report, const char* step, const char* operation);

// Raises DataError naming the first of the directories that does not exist.
void requireDirectories(const QStringList& directories);

// A step that stops: DataError naming the file and the reason.
[[noreturn]] void failStep(const QString& path, const QString& reason);

// Whether a text is a plain decimal number, as every GUID of the data files is.
bool isPlainNumber(std::string_view text);
// Stops the step when the GUID of a record is not a plain number: the data files would carry
// it into queries and the program would refuse them. what names the record ("Ein Produkt").
void requirePlainGuid(const std::string& guid, const QString& path, const QString& what);

} // namespace velmora::tools
