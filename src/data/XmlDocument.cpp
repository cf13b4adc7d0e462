#include "data/XmlDocument.h"

#include "data/FileAccess.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <sstream>

namespace velmora::data {

namespace {

constexpr unsigned parseOptions =
    pugi::parse_default | pugi::parse_comments | pugi::parse_declaration;

// With lone blanks kept, a white-space text that is an element's only content survives the
// parse; the ones holding a line break are layout and dropped afterwards.
unsigned optionsFor(LoneBlanks blanks) {
    return blanks == LoneBlanks::Keep ? parseOptions | pugi::parse_ws_pcdata_single : parseOptions;
}

void appendEscaped(std::string& out, const char* text, bool attribute) {
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

void appendStartTag(std::string& out, const pugi::xml_node& element) {
    out += '<';
    out += element.name();
    for (const pugi::xml_attribute& a : element.attributes()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        appendEscaped(out, a.value(), true);
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

// Writes node on a line of its own. newline and indent unit are parameters so that the
// saved layout (tabs) and the re-formatted layout (two blanks) share one writer.
void appendNode(std::string& out, const pugi::xml_node& node, int depth, const char* indentUnit,
                bool& first) {
    const auto lineStart = [&] {
        if (!first)
            out += "\r\n";
        first = false;
        for (int i = 0; i < depth; ++i)
            out += indentUnit;
    };
    switch (node.type()) {
    case pugi::node_element: {
        lineStart();
        if (hasText(node) && !hasOnlyText(node)) {
            // Mixed content keeps its exact text: written without layout.
            appendRaw(out, node);
            return;
        }
        appendStartTag(out, node);
        if (!node.first_child()) {
            out += "/>";
            return;
        }
        out += '>';
        if (hasOnlyText(node)) {
            for (const pugi::xml_node& c : node.children()) {
                if (c.type() == pugi::node_cdata) {
                    out += "<![CDATA[";
                    out += c.value();
                    out += "]]>";
                } else {
                    appendEscaped(out, c.value(), false);
                }
            }
        } else {
            for (const pugi::xml_node& c : node.children())
                appendNode(out, c, depth + 1, indentUnit, first);
            out += "\r\n";
            for (int i = 0; i < depth; ++i)
                out += indentUnit;
        }
        out += "</";
        out += node.name();
        out += '>';
        return;
    }
    case pugi::node_comment:
        lineStart();
        out += "<!--";
        out += node.value();
        out += "-->";
        return;
    case pugi::node_declaration:
        return; // written by the caller when wanted
    default:
        lineStart();
        appendRaw(out, node);
    }
}

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

// Drops the white-space texts that only lay out an otherwise empty element.
void dropLayoutTexts(pugi::xml_node node) {
    for (pugi::xml_node c = node.first_child(); c;) {
        const pugi::xml_node next = c.next_sibling();
        if (c.type() == pugi::node_element)
            dropLayoutTexts(c);
        else if (c.type() == pugi::node_pcdata && isLayout(c.value()))
            node.remove_child(c);
        c = next;
    }
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

namespace {

// Line number of a parse fault, counted in the raw bytes.
qsizetype faultLine(const char* bytes, size_t size, ptrdiff_t offset) {
    const size_t end = std::min(size, static_cast<size_t>(std::max<ptrdiff_t>(offset, 0)));
    return std::count(bytes, bytes + end, '\n') + 1;
}

} // namespace

void XmlDocument::checkParsed(const pugi::xml_parse_result& r, qsizetype line,
                              LoneBlanks blanks) const {
    if (!r)
        throw DataError(
            QStringLiteral("Die Datei \u201E%1\u201C ist beschädigt und kann nicht gelesen werden "
                           "(Zeile %2: %3).")
                .arg(nativePath(path_))
                .arg(line)
                .arg(QString::fromUtf8(r.description())));
    if (!doc_->document_element())
        throw DataError(QStringLiteral("Die Datei \u201E%1\u201C enthält kein XML-Element.")
                            .arg(nativePath(path_)));
    if (blanks == LoneBlanks::Keep)
        dropLayoutTexts(*doc_);
}

XmlDocument XmlDocument::parse(const QByteArray& bytes, const QString& sourceName,
                               LoneBlanks blanks) {
    XmlDocument d;
    d.path_ = sourceName;
    const pugi::xml_parse_result r =
        d.doc_->load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                            optionsFor(blanks), pugi::encoding_auto);
    d.checkParsed(r,
                  r ? 0 : faultLine(bytes.constData(), static_cast<size_t>(bytes.size()), r.offset),
                  blanks);
    return d;
}

XmlDocument XmlDocument::load(const QString& path, LoneBlanks blanks) {
    QFile file;
    openForReading(file, path);
    const QString resolved = file.fileName();
    // The document parses the file's bytes in place and owns them: large game files are
    // held once, not copied.
    const size_t size = static_cast<size_t>(file.size());
    char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size ? size : 1));
    if (!buffer)
        throw DataError(QStringLiteral("Für die Datei \u201E%1\u201C reicht der Speicher nicht.")
                            .arg(nativePath(resolved)));
    if (file.read(buffer, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        pugi::get_memory_deallocation_function()(buffer);
        failedToRead(file);
    }
    return parseOwned(buffer, size, resolved, blanks);
}

XmlDocument XmlDocument::parseOwned(char* buffer, size_t size, const QString& sourceName,
                                    LoneBlanks blanks) {
    XmlDocument d;
    d.path_ = sourceName;
    const pugi::xml_parse_result r =
        d.doc_->load_buffer_inplace_own(buffer, size, optionsFor(blanks), pugi::encoding_auto);
    d.checkParsed(r, r || r.encoding != pugi::encoding_utf8 ? 0 : faultLine(buffer, size, r.offset),
                  blanks);
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
        throw DataError(QStringLiteral("Die Datei \u201E%1\u201C enthält kein XML-Element.")
                            .arg(nativePath(path_)));
    return r;
}

QByteArray XmlDocument::serialize() const {
    std::string out;
    bool first = true;
    for (const pugi::xml_node& n : doc_->children())
        appendNode(out, n, 0, "\t", first);
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

pugi::xml_node appendCopy(pugi::xml_node parent, const pugi::xml_node& source) {
    return parent.append_copy(source);
}

pugi::xml_node replaceChild(pugi::xml_node parent, pugi::xml_node child,
                            const pugi::xml_node& source) {
    pugi::xml_node copy = parent.insert_copy_before(source, child);
    parent.remove_child(child);
    return copy;
}

bool ReformatXmlFile(const QString& path) {
    const XmlDocument source = XmlDocument::load(path);
    std::string out;
    bool first = true;
    for (const pugi::xml_node& n : source.document().children()) {
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
            first = false;
            continue;
        }
        appendNode(out, n, 0, "  ", first);
    }
    writeFileAtomically(source.path(), QByteArray(out.data(), static_cast<qsizetype>(out.size())));
    return true;
}

} // namespace velmora::data
