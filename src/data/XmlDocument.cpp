#include "data/XmlDocument.h"

#include "data/FileAccess.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string_view>

namespace velmora::data {

namespace {

constexpr unsigned parseOptions =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;

// With lone blanks kept, a white-space text that is an element's only content survives the
// parse; the ones holding a line break are layout and dropped afterwards.
unsigned optionsFor(LoneBlanks blanks) {
    return blanks == LoneBlanks::Keep ? parseOptions | pugi::parse_ws_pcdata_single : parseOptions;
}

} // namespace

void appendXmlEscaped(std::string& out, const char* text, bool attribute) {
    for (const char* p = text; *p; ++p) {
        switch (*p) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            if (attribute)
                out += "&quot;";
            else
                out += '"';
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
            if (attribute)
                out += "&#10;";
            else
                out += '\n';
            break;
        case '\t':
            if (attribute)
                out += "&#9;";
            else
                out += '\t';
            break;
        default:
            out += *p;
        }
    }
}

namespace {

void appendStartTag(std::string& out, const pugi::xml_node& element) {
    out += '<';
    out += element.name();
    for (const pugi::xml_attribute& a : element.attributes()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        appendXmlEscaped(out, a.value(), true);
        out += '"';
    }
}

bool isText(const pugi::xml_node& n) {
    return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
}

// Content made only of text (or nothing) is written on the element's own line.
bool hasOnlyText(const pugi::xml_node& element) {
    for (const pugi::xml_node& c : element.children())
        if (!isText(c))
            return false;
    return true;
}

bool hasText(const pugi::xml_node& element) {
    for (const pugi::xml_node& c : element.children())
        if (isText(c))
            return true;
    return false;
}

void appendRaw(std::string& out, const pugi::xml_node& node) {
    std::ostringstream s;
    node.print(s, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    out += s.str();
}

// Appends a comment's text, each line break in it written as CR LF.
void appendWithCrLf(std::string& out, const char* text) {
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' && (p == text || p[-1] != '\r'))
            out += '\r';
        out += *p;
    }
}

// The layout of a tree. The indent unit and the comment line breaks are parameters so that the
// saved layout (tabs) and the re-formatted layout (two blanks) share one writer. The tree is
// walked through its own links, never by recursion, so the depth of a document costs no stack.
class LayoutWriter {
public:
    // first: whether nothing stands in out yet, so the first node needs no line break before it.
    LayoutWriter(std::string& out, const char* indentUnit, const QString& path, bool first = true,
                 CommentBreaks commentBreaks = CommentBreaks::AsParsed)
        : out_(out), indentUnit_(indentUnit), path_(path), first_(first),
          commentBreaks_(commentBreaks) {}

    // Writes top and everything below it, each element on a line of its own.
    void write(const pugi::xml_node& top, int depth) {
        pugi::xml_node node = top;
        while (true) {
            if (open(node, depth)) {
                node = node.first_child();
                if (++depth >= kMaxNesting)
                    throw tooDeeplyNested(path_);
                continue;
            }
            while (true) {
                if (node == top)
                    return;
                if (const pugi::xml_node next = node.next_sibling()) {
                    node = next;
                    break;
                }
                node = node.parent();
                close(node, --depth);
            }
        }
    }

private:
    void lineStart(int depth) {
        if (!first_)
            out_ += "\r\n";
        first_ = false;
        indent(depth);
    }
    void indent(int depth) {
        const size_t length = static_cast<size_t>(depth) * indentUnit_.size();
        while (indents_.size() < length)
            indents_ += indentUnit_;
        out_.append(indents_.data(), length);
    }

    // Writes a node, or the start of an element whose element children follow on lines of
    // their own (then true).
    bool open(const pugi::xml_node& node, int depth) {
        switch (node.type()) {
        case pugi::node_element:
            lineStart(depth);
            if (hasText(node) && !hasOnlyText(node)) {
                // Mixed content keeps its exact text: written without layout.
                appendRaw(out_, node);
                return false;
            }
            appendStartTag(out_, node);
            if (!node.first_child()) {
                out_ += "/>";
                return false;
            }
            out_ += '>';
            if (!hasOnlyText(node))
                return true;
            for (const pugi::xml_node& c : node.children()) {
                if (c.type() == pugi::node_cdata) {
                    out_ += "<![CDATA[";
                    out_ += c.value();
                    out_ += "]]>";
                } else {
                    appendXmlEscaped(out_, c.value(), false);
                }
            }
            appendEndTag(node);
            return false;
        case pugi::node_comment:
            lineStart(depth);
            out_ += "<!--";
            if (commentBreaks_ == CommentBreaks::CrLf)
                appendWithCrLf(out_, node.value());
            else
                out_ += node.value();
            out_ += "-->";
            return false;
        case pugi::node_declaration:
            return false; // written by the caller when wanted
        default:
            lineStart(depth);
            appendRaw(out_, node);
            return false;
        }
    }
    // The end tag of an element whose children stood on lines of their own.
    void close(const pugi::xml_node& element, int depth) {
        out_ += "\r\n";
        indent(depth);
        appendEndTag(element);
    }
    void appendEndTag(const pugi::xml_node& element) {
        out_ += "</";
        out_ += element.name();
        out_ += '>';
    }

    std::string& out_;
    const std::string indentUnit_;
    std::string indents_; // indent units in a row, as many as the deepest line needed
    const QString& path_;
    bool first_ = true;
    const CommentBreaks commentBreaks_;
};

bool isLayout(const char* text) {
    bool lineBreak = false;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' || *p == '\r')
            lineBreak = true;
        else if (*p != ' ' && *p != '\t')
            return false;
    }
    return lineBreak;
}

// Stops at the first node nested deeper than kMaxNesting. The library's own walk follows the
// tree's links without recursion and costs one call per node.
class NestingProbe final : public pugi::xml_tree_walker {
public:
    bool tooDeep = false;
    bool for_each(pugi::xml_node&) override {
        // depth() counts from 0 for the children of the document.
        tooDeep = depth() >= kMaxNesting;
        return !tooDeep;
    }
};

// Refuses a nesting deeper than kMaxNesting and, with lone blanks kept, drops the white-space
// texts that only lay out an otherwise empty element.
void checkTree(pugi::xml_document& doc, LoneBlanks blanks, const QString& path) {
    NestingProbe probe;
    doc.traverse(probe);
    if (probe.tooDeep)
        throw tooDeeplyNested(path);
    if (blanks != LoneBlanks::Keep)
        return;
    // A walk through the tree's links, which may remove the leaf it has just left.
    pugi::xml_node node = doc.first_child();
    while (node) {
        if (const pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        const pugi::xml_node done = node;
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
        if (done.type() == pugi::node_pcdata && isLayout(done.value()))
            done.parent().remove_child(done);
    }
}

} // namespace

DataError tooDeeplyNested(const QString& path) {
    return DataError(QStringLiteral("Die Datei %1 ist mehr als %2 Ebenen tief verschachtelt und "
                                    "kann nicht verarbeitet werden.")
                         .arg(quotedPath(path))
                         .arg(kMaxNesting));
}

QString parseStatusText(pugi::xml_parse_status status) {
    switch (status) {
    case pugi::status_ok:
        return QStringLiteral("kein Fehler");
    case pugi::status_file_not_found:
        return QStringLiteral("Die Datei fehlt.");
    case pugi::status_io_error:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case pugi::status_out_of_memory:
        return QStringLiteral("Der Speicher reicht nicht.");
    case pugi::status_internal_error:
        return QStringLiteral("Interner Fehler beim Lesen.");
    case pugi::status_unrecognized_tag:
        return QStringLiteral("Nach \u201E<\u201C folgt kein gültiges Tag.");
    case pugi::status_bad_pi:
        return QStringLiteral("Eine XML-Deklaration oder Verarbeitungsanweisung ist fehlerhaft.");
    case pugi::status_bad_comment:
        return QStringLiteral("Ein Kommentar ist fehlerhaft oder endet nicht.");
    case pugi::status_bad_cdata:
        return QStringLiteral("Ein CDATA-Abschnitt ist fehlerhaft oder endet nicht.");
    case pugi::status_bad_doctype:
        return QStringLiteral("Die Dokumenttyp-Deklaration ist fehlerhaft.");
    case pugi::status_bad_pcdata:
        return QStringLiteral("Ein Text ist fehlerhaft.");
    case pugi::status_bad_start_element:
        return QStringLiteral("Ein Anfangstag ist fehlerhaft.");
    case pugi::status_bad_attribute:
        return QStringLiteral("Ein Attribut ist fehlerhaft.");
    case pugi::status_bad_end_element:
        return QStringLiteral("Ein Endtag ist fehlerhaft.");
    case pugi::status_end_element_mismatch:
        return QStringLiteral("Anfangs- und Endtags passen nicht zusammen (ein Endtag fehlt, ist "
                              "zu viel oder trägt einen anderen Namen).");
    case pugi::status_append_invalid_root:
        return QStringLiteral("Der Inhalt kann an dieser Stelle nicht eingefügt werden.");
    case pugi::status_no_document_element:
        return QStringLiteral("Die Datei enthält kein XML-Element.");
    }
    return QStringLiteral("Unbekannter Fehler (Nummer %1).").arg(static_cast<int>(status));
}

size_t characterWidth(const char* bytes, size_t size) {
    const auto startsWith = [&](std::string_view head) {
        return size >= head.size() && std::memcmp(bytes, head.data(), head.size()) == 0;
    };
    using namespace std::string_view_literals;
    if (startsWith("\0\0\xFE\xFF"sv) || startsWith("\xFF\xFE\0\0"sv) || startsWith("<\0\0\0"sv) ||
        startsWith("\0\0\0<"sv))
        return 4;
    if (size >= 2 &&
        (bytes[0] == '\0' || bytes[1] == '\0' || startsWith("\xFF\xFE") || startsWith("\xFE\xFF")))
        return 2;
    return 1;
}

namespace {

// Line number of a parse fault, counted in the raw bytes.
qsizetype faultLine(const char* bytes, size_t size, ptrdiff_t offset) {
    const size_t end = std::min(size, static_cast<size_t>(std::max<ptrdiff_t>(offset, 0)));
    return std::count(bytes, bytes + end, '\n') + 1;
}

// The error of a file that can not be parsed, with the line and the reason.
DataError damagedFile(const QString& path, qsizetype line, const QString& reason) {
    return DataError(
        QStringLiteral("Die Datei %1 ist beschädigt und kann nicht gelesen werden. Zeile %2: %3")
            .arg(quotedPath(path))
            .arg(line)
            .arg(reason));
}

// The first NUL character of a file's bytes, or -1, with the line it stands on. XML allows
// none, and the parser takes one for the end of the text: what follows would be dropped
// without a word.
struct NulCharacter {
    ptrdiff_t offset = -1;
    qsizetype line = 0;
};

NulCharacter findNulCharacter(const char* bytes, size_t size) {
    const size_t unit = characterWidth(bytes, size);
    NulCharacter found;
    if (unit == 1) {
        const void* at = std::memchr(bytes, 0, size);
        if (!at)
            return found;
        found.offset = static_cast<const char*>(at) - bytes;
        found.line = std::count(bytes, bytes + found.offset, '\n') + 1;
        return found;
    }
    qsizetype line = 1;
    for (size_t i = 0; i + unit <= size; i += unit) {
        size_t zeros = 0, lineFeeds = 0;
        for (size_t b = 0; b < unit; ++b) {
            zeros += bytes[i + b] == 0;
            lineFeeds += bytes[i + b] == '\n';
        }
        if (zeros == unit) {
            found.offset = static_cast<ptrdiff_t>(i);
            found.line = line;
            return found;
        }
        if (zeros == unit - 1 && lineFeeds == 1)
            ++line;
    }
    return found;
}

// Offset of the first byte that is no part of a UTF-8 character, or size when there is none.
// Overlong forms, surrogates and values beyond U+10FFFF count as invalid.
size_t firstNonUtf8(const unsigned char* bytes, size_t size) {
    size_t i = 0;
    while (i < size) {
        // Runs of ASCII, the bulk of every file, eight bytes at a time.
        std::uint64_t word = 0;
        while (size - i >= sizeof word &&
               (std::memcpy(&word, bytes + i, sizeof word), (word & 0x8080808080808080ull) == 0))
            i += sizeof word;
        if (i >= size)
            break;
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (size - i < static_cast<size_t>(length) || bytes[i + 1] < low || bytes[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF)
                return i;
        i += static_cast<size_t>(length);
    }
    return size;
}

} // namespace

void XmlDocument::refuseNulCharacter(const char* bytes, size_t size) const {
    const NulCharacter nul = findNulCharacter(bytes, size);
    if (nul.offset >= 0)
        throw damagedFile(
            path_, nul.line,
            QStringLiteral("Sie enthält ein Nullzeichen, das in XML nicht erlaubt ist."));
}

void XmlDocument::checkParsed(const pugi::xml_parse_result& r, qsizetype line, LoneBlanks blanks,
                              Nesting nesting) const {
    if (!doc_->document_element() && (r || r.status == pugi::status_no_document_element))
        throw DataError(
            QStringLiteral("Die Datei %1 enthält kein XML-Element.").arg(quotedPath(path_)));
    if (!r)
        throw damagedFile(path_, line, parseStatusText(r.status));
    // The walk over the tree costs a good part of a parse: skipped when there is nothing for it.
    if (blanks == LoneBlanks::Keep || nesting == Nesting::Unchecked)
        checkTree(*doc_, blanks, path_);
}

XmlDocument XmlDocument::parse(const QByteArray& bytes, const QString& sourceName,
                               LoneBlanks blanks) {
    XmlDocument d;
    d.path_ = sourceName;
    d.refuseNulCharacter(bytes.constData(), static_cast<size_t>(bytes.size()));
    const pugi::xml_parse_result r =
        d.doc_->load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                            optionsFor(blanks), pugi::encoding_auto);
    d.checkParsed(r,
                  r ? 0 : faultLine(bytes.constData(), static_cast<size_t>(bytes.size()), r.offset),
                  blanks);
    return d;
}

XmlDocument XmlDocument::load(const QString& path, LoneBlanks blanks, Encoding encoding) {
    QFile file;
    openForReading(file, path);
    const QString resolved = file.fileName();
    // The document parses the file's bytes in place and owns them: large game files are
    // held once, not copied.
    const size_t size = static_cast<size_t>(file.size());
    char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size ? size : 1));
    if (!buffer)
        throw DataError(QStringLiteral("Für die Datei %1 reicht der Speicher nicht.")
                            .arg(quotedPath(resolved)));
    if (file.read(buffer, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        const std::error_code error = lastSystemError();
        pugi::get_memory_deallocation_function()(buffer);
        failedToRead(file, error);
    }
    if (encoding == Encoding::Unicode && characterWidth(buffer, size) == 1) {
        const size_t bad = firstNonUtf8(reinterpret_cast<const unsigned char*>(buffer), size);
        if (bad != size) {
            const qsizetype line = faultLine(buffer, size, static_cast<ptrdiff_t>(bad));
            pugi::get_memory_deallocation_function()(buffer);
            throw DataError(QStringLiteral("Die Datei %1 ist nicht in UTF-8 gespeichert: Zeile %2 "
                                           "enthält ein Zeichen einer anderen Kodierung.")
                                .arg(quotedPath(resolved))
                                .arg(line));
        }
    }
    return parseOwned(buffer, size, resolved, blanks);
}

XmlDocument XmlDocument::parseOwned(char* buffer, size_t size, const QString& sourceName,
                                    LoneBlanks blanks, Nesting nesting) {
    XmlDocument d;
    d.path_ = sourceName;
    try {
        d.refuseNulCharacter(buffer, size);
    } catch (...) {
        pugi::get_memory_deallocation_function()(buffer);
        throw;
    }
    const pugi::xml_parse_result r =
        d.doc_->load_buffer_inplace_own(buffer, size, optionsFor(blanks), pugi::encoding_auto);
    d.checkParsed(r, r || r.encoding != pugi::encoding_utf8 ? 0 : faultLine(buffer, size, r.offset),
                  blanks, nesting);
    return d;
}

XmlDocument XmlDocument::withRoot(const char* rootName, const QString& path) {
    XmlDocument d;
    d.path_ = path;
    d.doc_->append_child(rootName);
    return d;
}

pugi::xml_node XmlDocument::root() const {
    const pugi::xml_node r = doc_->document_element();
    if (!r)
        throw DataError(
            QStringLiteral("Die Datei %1 enthält kein XML-Element.").arg(quotedPath(path_)));
    return r;
}

void requireRoot(const XmlDocument& doc, const char* rootName) {
    if (std::string_view(doc.root().name()) != rootName)
        throw DataError(QStringLiteral("Die Datei %1 hat nicht den erwarteten Aufbau: ihr "
                                       "Wurzelelement ist <%2> statt <%3>.")
                            .arg(quotedPath(doc.path()), QString::fromUtf8(doc.root().name()),
                                 QString::fromUtf8(rootName)));
}

QByteArray XmlDocument::serialize() const {
    std::string out;
    LayoutWriter writer(out, "\t", path_);
    for (const pugi::xml_node& n : doc_->children())
        writer.write(n, 0);
    out += "\r\n";
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

namespace {
void requireSavePath(const QString& path) {
    if (path.isEmpty())
        throw DataError(
            QStringLiteral("Ein Dokument ohne Dateinamen kann nicht gespeichert werden."));
}
} // namespace

void XmlDocument::save(FileWriter& writer) const {
    saveAs(path_, writer);
}

void XmlDocument::saveAs(const QString& path, FileWriter& writer) const {
    requireSavePath(path);
    writeFileAtomically(path, serialize(), writer);
}

void saveAllOrNothing(const std::vector<const XmlDocument*>& documents, FileWriter& writer) {
    std::vector<FileContent> files;
    for (const XmlDocument* doc : documents) {
        requireSavePath(doc->path());
        files.push_back(FileContent{doc->path(), doc->serialize()});
    }
    writeFilesAllOrNothing(files, writer);
}

std::string xpathLiteral(const std::string& value) {
    if (value.find('"') == std::string::npos)
        return '"' + value + '"';
    if (value.find('\'') == std::string::npos)
        return "'" + value + "'";
    std::string out = "concat(";
    std::string part;
    for (const char c : value) {
        if (c == '"') {
            if (!part.empty())
                out += '"' + part + "\", ";
            out += "'\"', ";
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        out += '"' + part + "\", ";
    out += "\"\")";
    return out;
}

pugi::xml_node childWithAttribute(const pugi::xml_node& parent, const char* element,
                                  const char* attribute, const std::string& text) {
    for (const pugi::xml_node& child : parent.children(element))
        if (text == child.attribute(attribute).value())
            return child;
    return {};
}

pugi::xml_node assetWithGuid(const pugi::xml_node& context, const std::string& guid) {
    const auto matches = [&guid](const pugi::xml_node& node) {
        return std::strcmp(node.name(), "Asset") == 0 &&
               guid == node.child("Values").child("Standard").child("GUID").text().get();
    };
    for (const pugi::xml_node& asset : context.children("Asset"))
        if (matches(asset))
            return asset;
    return context.find_node(matches);
}

pugi::xml_node selectNode(const pugi::xml_node& context, const std::string& xpath) {
    try {
        return context.select_node(xpath.c_str()).node();
    } catch (const pugi::xpath_exception& e) {
        throw DataError(QStringLiteral("Ungültige XPath-Abfrage \u201E%1\u201C: %2")
                            .arg(QString::fromStdString(xpath), QString::fromUtf8(e.what())));
    }
}

std::vector<pugi::xml_node> selectNodes(const pugi::xml_node& context, const std::string& xpath) {
    std::vector<pugi::xml_node> result;
    try {
        const pugi::xpath_node_set set = context.select_nodes(xpath.c_str());
        result.reserve(set.size());
        for (const pugi::xpath_node& n : set)
            if (n.node())
                result.push_back(n.node());
    } catch (const pugi::xpath_exception& e) {
        throw DataError(QStringLiteral("Ungültige XPath-Abfrage \u201E%1\u201C: %2")
                            .arg(QString::fromStdString(xpath), QString::fromUtf8(e.what())));
    }
    return result;
}

pugi::xml_attribute attributeAt(const pugi::xml_node& element, int position) {
    if (position < 0)
        return {};
    pugi::xml_attribute a = element.first_attribute();
    for (int i = 0; a && i < position; ++i)
        a = a.next_attribute();
    return a;
}

std::string attributeTextAt(const pugi::xml_node& element, int position) {
    return attributeAt(element, position).value();
}

void setAttributeAt(pugi::xml_node element, int position, const std::string& value) {
    pugi::xml_attribute a = attributeAt(element, position);
    if (!a)
        throw DataError(
            QStringLiteral("Das Element \u201E%1\u201C hat kein Attribut an Position %2.")
                .arg(QString::fromUtf8(element.name()))
                .arg(position));
    a.set_value(value.c_str());
}

pugi::xml_node elementChildAt(const pugi::xml_node& parent, int index) {
    int i = 0;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (i++ == index)
            return c;
    }
    return {};
}

std::string childText(const pugi::xml_node& context, const std::string& relativePath) {
    return context.first_element_by_path(relativePath.c_str()).child_value();
}

void setElementText(pugi::xml_node element, const std::string& text) {
    // Only the text children are replaced; element children stay.
    for (pugi::xml_node c = element.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (isText(c))
            element.remove_child(c);
        c = next;
    }
    if (!text.empty())
        element.prepend_child(pugi::node_pcdata).set_value(text.c_str());
}

std::string nameCommentText(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        out += c;
        if (c == QLatin1Char('\\'))
            out += c;
        else if (c == QLatin1Char('-') && (i + 1 == name.size() || name[i + 1] == QLatin1Char('-')))
            out += QLatin1Char('\\');
    }
    return utf8(out);
}

QString nameFromComment(const std::string& text) {
    const QString in = fromUtf8(text);
    QString out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != QLatin1Char('\\')) {
            out += in[i];
        } else if (i + 1 < in.size() && in[i + 1] == QLatin1Char('\\')) {
            out += in[i];
            ++i;
        } // else the mark after a hyphen, which stands for nothing
    }
    return out;
}

pugi::xml_node insertNameComment(pugi::xml_node parent, const QString& name,
                                 const pugi::xml_node& before) {
    pugi::xml_node comment = before ? parent.insert_child_before(pugi::node_comment, before)
                                    : parent.append_child(pugi::node_comment);
    comment.set_value(nameCommentText(name).c_str());
    return comment;
}

void removeNode(pugi::xml_node node) {
    // The library frees a subtree by recursion: the subtree is taken apart from its leaves up,
    // each leaf removed on its own, in one pass.
    pugi::xml_node n = node;
    while (true) {
        while (const pugi::xml_node child = n.first_child())
            n = child;
        pugi::xml_node parent = n.parent();
        parent.remove_child(n);
        if (n == node)
            return;
        n = parent;
    }
}

pugi::xml_node replaceChild(pugi::xml_node parent, pugi::xml_node child,
                            const pugi::xml_node& source) {
    pugi::xml_node copy = parent.insert_copy_before(source, child);
    removeNode(child);
    return copy;
}

QByteArray ReformatXml(const XmlDocument& document, ReformatOptions options) {
    std::string out;
    for (const pugi::xml_node& n : document.document().children()) {
        if (n.type() == pugi::node_declaration) {
            // Version, standalone and encoding of the source's declaration are kept.
            out += "<?xml";
            for (const char* name : {"version", "encoding", "standalone"}) {
                const pugi::xml_attribute a = n.attribute(name);
                if (!a)
                    continue;
                out += ' ';
                out += name;
                out += "=\"";
                out += a.value();
                out += '"';
            }
            out += "?>";
            continue;
        }
        LayoutWriter(out, "  ", document.path(), out.empty(), options.commentBreaks).write(n, 0);
    }
    if (options.finalBreak == FinalBreak::CrLf)
        out += "\r\n";
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

bool ReformatXmlFile(const QString& path) {
    const XmlDocument source = XmlDocument::load(path);
    writeFileAtomically(source.path(), ReformatXml(source));
    return true;
}

} // namespace velmora::data
