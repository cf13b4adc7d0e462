#include "tools/PrepCommon.h"

#include "data/FileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace velmora::tools {

namespace {
// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five undefined positions.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

PrepDirectories PrepDirectories::forProgramDir(const QString& programDir,
                                               const QString& iconSourceDir) {
    QString dir = QDir::fromNativeSeparators(programDir);
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return {dir, iconSourceDir};
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        const auto it = std::find(kHighTable.begin(), kHighTable.end(), u);
        out += (u != 0 && it != kHighTable.end())
                   ? static_cast<char>(0x80 + (it - kHighTable.begin()))
                   : '?';
    }
    return out;
}

QString fromWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F)
            out += QChar(kHighTable[u - 0x80] ? kHighTable[u - 0x80]
                                              : u); // undefined bytes map to C1 controls
        else
            out += QChar(u);
    }
    return out;
}

void writeLineFile(const QString& path, const QStringList& lines, LineEncoding encoding) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    QByteArray bytes;
    switch (encoding) {
    case LineEncoding::Utf8WithBom:
        bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        break;
    case LineEncoding::Utf8:
        bytes = text.toUtf8();
        break;
    case LineEncoding::Windows1252:
        bytes = toWindows1252(text);
        break;
    }
    data::writeFileAtomically(path, bytes);
}

QStringList readLineFile(const QString& path, LineEncoding fallback) {
    QByteArray bytes = data::readFileBytes(path);
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else if (fallback == LineEncoding::Windows1252)
        text = fromWindows1252(bytes);
    else
        text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList SortUnique(const QStringList& lines) {
    QStringList sorted = lines;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a.toLower(), b.toLower()) < 0;
    });
    QStringList result;
    for (const QString& line : sorted)
        if (result.isEmpty() ||
            QString::localeAwareCompare(result.last().toLower(), line.toLower()) != 0)
            result << line;
    return result;
}

QString iconNameOfPath(const QString& path) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i)
        if (path[i] == u'\\' || path[i] == u'/' || path[i] == u':')
            start = i + 1;
    const QString fileName = path.mid(start);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString xmlEscaped(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

void reportStep(const StepReporter& report, const char* step, const char* operation) {
    if (report)
        report(QString::fromLatin1(step), QString::fromLatin1(operation));
}

void requireDirectories(const QStringList& directories) {
    for (const QString& directory : directories)
        if (!QFileInfo(directory).isDir())
            throw data::DataError(
                QStringLiteral("Das Verzeichnis %1 fehlt.").arg(data::quotedPath(directory)));
}

void failStep(const QString& path, const QString& reason) {
    throw data::DataError(QStringLiteral("%1: %2").arg(data::quotedPath(path), reason));
}

bool isPlainNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void requirePlainGuid(const std::string& guid, const QString& path, const QString& what) {
    if (!isPlainNumber(guid))
        failStep(path, QStringLiteral("%1 hat die GUID \u201E%2\u201C; eine GUID besteht nur aus "
                                      "Ziffern.")
                           .arg(what, data::fromUtf8(guid)));
}

} // namespace velmora::tools
