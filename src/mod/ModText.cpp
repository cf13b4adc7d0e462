#include "mod/ModText.h"

#include "data/XmlDocument.h"

#include <sstream>

namespace velmora::mod {

QString xmlEscaped(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString commentSafe(const QString& value) {
    QString out = value;
    while (out.contains(QStringLiteral("--")))
        out.replace(QStringLiteral("--"), QStringLiteral("- -"));
    return out;
}

QString jsonEscaped(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == '"' || u == '\\') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u == '\n') {
            out += QStringLiteral("\\n");
        } else if (u == '\r') {
            out += QStringLiteral("\\r");
        } else if (u == '\t') {
            out += QStringLiteral("\\t");
        } else if (u < 0x20) {
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString centredHeaderLine(const QString& line) {
    const int lead = line.size() >= kHeaderWidth ? 0 : int(kHeaderWidth - line.size()) / 2;
    return QString(lead, QLatin1Char(' ')) + line;
}

namespace {

bool isText(const pugi::xml_node& n) {
    return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
}

// Line breaks inside a comment are written as CR LF like every other line of the file.
void appendCommentText(std::string& out, const char* text) {
    for (const char* p = text; *p; ++p) {
        if (*p == '\n')
            out += "\r\n";
        else
            out += *p;
    }
}

class Formatter {
public:
    std::string out;

    void node(const pugi::xml_node& n, int depth) {
        switch (n.type()) {
        case pugi::node_element:
            element(n, depth);
            return;
        case pugi::node_comment:
            lineStart(depth);
            out += "<!--";
            appendCommentText(out, n.value());
            out += "-->";
            return;
        case pugi::node_declaration:
        case pugi::node_pi:
        case pugi::node_doctype:
            lineStart(depth);
            raw(n);
            return;
        default:
            return; // layout text between elements is not kept
        }
    }

private:
    bool first_ = true;

    void lineStart(int depth) {
        if (!first_)
            out += "\r\n";
        first_ = false;
        out.append(static_cast<size_t>(depth) * 2, ' ');
    }

    void raw(const pugi::xml_node& n) {
        std::ostringstream s;
        n.print(s, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        out += s.str();
    }

    void element(const pugi::xml_node& e, int depth) {
        lineStart(depth);
        bool anyText = false, onlyText = true;
        for (const pugi::xml_node& c : e.children()) {
            if (isText(c))
                anyText = true;
            else
                onlyText = false;
        }
        if (anyText && !onlyText) {
            raw(e); // mixed content keeps its exact text
            return;
        }
        out += '<';
        out += e.name();
        for (const pugi::xml_attribute& a : e.attributes()) {
            out += ' ';
            out += a.name();
            out += "=\"";
            data::appendXmlEscaped(out, a.value(), true);
            out += '"';
        }
        if (!e.first_child()) {
            out += "/>";
            return;
        }
        out += '>';
        if (onlyText) {
            for (const pugi::xml_node& c : e.children()) {
                if (c.type() == pugi::node_cdata) {
                    out += "<![CDATA[";
                    out += c.value();
                    out += "]]>";
                } else {
                    data::appendXmlEscaped(out, c.value(), false);
                }
            }
        } else {
            for (const pugi::xml_node& c : e.children())
                node(c, depth + 1);
            lineStart(depth);
        }
        out += "</";
        out += e.name();
        out += '>';
    }
};

} // namespace

QByteArray reformatXml(const QByteArray& text, const QString& sourceName) {
    const data::XmlDocument doc = data::XmlDocument::parse(text, sourceName);
    Formatter f;
    f.out.reserve(static_cast<size_t>(text.size()) * 2);
    for (const pugi::xml_node& n : doc.document().children())
        f.node(n, 0);
    f.out += "\r\n";
    return QByteArray(f.out.data(), static_cast<qsizetype>(f.out.size()));
}

} // namespace velmora::mod
