#pragma once
// One document layer for every XML file of the system.
//
// A document is loaded completely (text made only of white space is dropped, comments are
// kept, attribute order is kept), queried with XPath 1.0, changed through pugixml nodes and
// saved atomically: a temporary file beside the target replaces it by rename, so a failed
// save leaves the old file as it was.
//
// Saved layout: UTF-8 without byte-order mark, no XML declaration, one element per line
// indented by one tab per level, lines ended by CR LF, an empty element as <Name/>.
//
// Re-formatted layout (ReformatXml, ReformatXmlFile): like the saved one, but indented by two
// blanks per level and with a declaration's version, encoding and standalone values kept. On
// request, line breaks inside comments become CR LF too, and the text ends with a line break.
//
// Every walk of a tree, in loading, saving, re-formatting, copying and removing, follows the
// tree's own links, never recursion: the depth of a document costs no stack.
#include "data/DataError.h"
#include "data/FileWriter.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace velmora::data {

// The deepest nesting of elements a document may have: far beyond any real file. A deeper
// document is refused on load and on save with a German message naming the file.
inline constexpr int kMaxNesting = 4096;

// The error for a file nested deeper than kMaxNesting, naming it.
DataError tooDeeplyNested(const QString& path);

// Whether a text handed to the parser is known to nest no deeper than kMaxNesting.
enum class Nesting { Unchecked, Checked };

// The German text of a parse status of the XML library.
QString parseStatusText(pugi::xml_parse_status status);

// What becomes of an element whose whole text is white space. Layout between elements is
// always dropped; the help table holds texts made of a lone blank, which are content there.
enum class LoneBlanks { Drop, Keep };

// What the bytes of a file may be. Any: whatever the parser takes, also text in an 8-bit code
// page, whose bytes are kept as they are. Unicode: UTF-8 (with or without byte-order mark) or
// UTF-16/32; bytes that are no UTF-8, such as umlauts saved in code page 1252, are refused with
// a German message naming the file and the line instead of being read garbled.
enum class Encoding { Any, Unicode };

class XmlDocument {
public:
    XmlDocument() = default;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;
    XmlDocument(XmlDocument&&) = default;
    XmlDocument& operator=(XmlDocument&&) = default;

    // Loads the file at path (its name matched regardless of letter case). A missing, malformed
    // or too deeply nested file raises DataError with a German message that names the file.
    static XmlDocument load(const QString& path, LoneBlanks blanks = LoneBlanks::Drop,
                            Encoding encoding = Encoding::Any);
    // Parses text held in memory; sourceName names it in error messages.
    static XmlDocument parse(const QByteArray& bytes, const QString& sourceName,
                             LoneBlanks blanks = LoneBlanks::Drop);
    // Parses a buffer in place and takes it over, so large texts are not copied. The buffer
    // must come from pugi::get_memory_allocation_function(); it is freed with the document,
    // also when the parse fails. Nesting::Checked: the caller has refused deeper nesting.
    static XmlDocument parseOwned(char* buffer, size_t size, const QString& sourceName,
                                  LoneBlanks blanks = LoneBlanks::Drop,
                                  Nesting nesting = Nesting::Unchecked);
    // A new document holding only an empty root element of the given name.
    static XmlDocument withRoot(const char* rootName, const QString& path = QString());

    // The root element; raises DataError when the document has none.
    pugi::xml_node root() const;
    pugi::xml_document& document() { return *doc_; }
    const pugi::xml_document& document() const { return *doc_; }
    const QString& path() const { return path_; }

    // Saves to the path the document was loaded from, or to another path.
    void save(FileWriter& writer = diskWriter()) const;
    void saveAs(const QString& path, FileWriter& writer = diskWriter()) const;
    // The bytes save() writes.
    QByteArray serialize() const;

private:
    // Raises DataError for a failed parse or a document without root; drops layout texts.
    void checkParsed(const pugi::xml_parse_result& result, qsizetype faultLine, LoneBlanks blanks,
                     Nesting nesting = Nesting::Unchecked) const;
    // Raises DataError for a NUL character in the bytes, which the parser would take for the
    // end of the text.
    void refuseNulCharacter(const char* bytes, size_t size) const;

    std::unique_ptr<pugi::xml_document> doc_ = std::make_unique<pugi::xml_document>();
    QString path_;
};

// Raises DataError naming the file when the document's root element is not called rootName.
void requireRoot(const XmlDocument& doc, const char* rootName);

// Saves several documents, each to the path it was loaded from, all or nothing: when one can not
// be written, every file keeps its old content (see writeFilesAllOrNothing).
void saveAllOrNothing(const std::vector<const XmlDocument*>& documents,
                      FileWriter& writer = diskWriter());

// A value as an XPath 1.0 string literal, so that a value holding quotes can not change the
// query: "a" -> "\"a\"", a"b -> 'a"b', one holding both kinds -> concat("a", '"', ...).
std::string xpathLiteral(const std::string& value);
inline std::string xpathLiteral(const QString& value) {
    return xpathLiteral(value.toStdString());
}

// XPath queries. An invalid expression raises DataError; no match yields an empty node or list.
pugi::xml_node selectNode(const pugi::xml_node& context, const std::string& xpath);
std::vector<pugi::xml_node> selectNodes(const pugi::xml_node& context, const std::string& xpath);

// Look-ups by a value: the value is compared as text and never put into a query. The first
// child element of that name whose attribute holds exactly the text, and the first Asset element
// (children of the context first, then any descendant) whose Values/Standard/GUID holds it; an
// empty node when there is none.
pugi::xml_node childWithAttribute(const pugi::xml_node& parent, const char* element,
                                  const char* attribute, const std::string& text);
pugi::xml_node assetWithGuid(const pugi::xml_node& context, const std::string& guid);

// Attributes by position (0 = first); an absent position yields an empty attribute.
pugi::xml_attribute attributeAt(const pugi::xml_node& element, int position);
std::string attributeTextAt(const pugi::xml_node& element, int position);
// Sets the attribute at a position; raises DataError when the element has no such attribute.
void setAttributeAt(pugi::xml_node element, int position, const std::string& value);

// The i-th element child (comments skipped), or an empty node.
pugi::xml_node elementChildAt(const pugi::xml_node& parent, int index);
// Text of the element at a relative path below context ("Values/Standard/GUID"), or "".
std::string childText(const pugi::xml_node& context, const std::string& relativePath);
// Sets the text of an element, replacing whatever text it held.
void setElementText(pugi::xml_node element, const std::string& text);
// Name comments: a product's name as the text of an XML comment. A comment may not hold "--" nor
// end with "-", so a hyphen followed by another or ending the name gets a backslash after it,
// and a backslash of the name is doubled; other names are written as they are.
std::string nameCommentText(const QString& name);
// The name a comment of nameCommentText holds.
QString nameFromComment(const std::string& text);
// Inserts a name comment before the node, or appends it to parent when before is empty.
pugi::xml_node insertNameComment(pugi::xml_node parent, const QString& name,
                                 const pugi::xml_node& before = pugi::xml_node());
// Removes a node with everything below it, however deep.
void removeNode(pugi::xml_node node);
// Replaces child by a deep copy of source (possibly from another document), at the same place.
pugi::xml_node replaceChild(pugi::xml_node parent, pugi::xml_node child,
                            const pugi::xml_node& source);

// Appends text XML-escaped as an attribute value (quotes and line breaks escaped too) or as
// element text.
void appendXmlEscaped(std::string& out, const char* text, bool attribute);

// How many bytes a character takes as the parser reads the text: 4 for UTF-32 (a byte-order
// mark or a "<" of four bytes), 2 for UTF-16 (a byte-order mark, or a NUL among the first two
// bytes: a "<" of two), 1 for everything else.
size_t characterWidth(const char* bytes, size_t size);

// Conversions between QString and the UTF-8 texts of the documents.
inline std::string utf8(const QString& s) {
    return s.toStdString();
}
inline QString fromUtf8(const std::string& s) {
    return QString::fromStdString(s);
}
inline QString fromUtf8(const char* s) {
    return QString::fromUtf8(s);
}

// Line breaks inside comments: as the parser left them (LF), or CR LF like every other line.
enum class CommentBreaks { AsParsed, CrLf };
// Whether a re-formatted text ends with a line break.
enum class FinalBreak { None, CrLf };
struct ReformatOptions {
    CommentBreaks commentBreaks = CommentBreaks::AsParsed;
    FinalBreak finalBreak = FinalBreak::None;
};

// The document in the re-formatted layout: CR LF and two blanks per level before each element.
// A document nested deeper than kMaxNesting raises DataError naming its path.
QByteArray ReformatXml(const XmlDocument& document, ReformatOptions options = {});
// Re-indents an XML file in place (ReformatXml with the default options).
bool ReformatXmlFile(const QString& path);

} // namespace velmora::data
