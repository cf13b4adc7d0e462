#include "mod/ModText.h"

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

} // namespace velmora::mod
