#include "app/platform/portable/RegistryFile.h"

#include "data/DataError.h"
#include "data/FileAccess.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velmora::app {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kRegedit4Header = QStringLiteral("REGEDIT4");

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Reads a quoted text starting at pos (on the opening quote); pos ends behind the closing one.
// Returns false when the quote is not closed.
bool readQuoted(QStringView line, qsizetype& pos, QString& out) {
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return true;
        }
        if (c == QLatin1Char('\\') && pos + 1 < line.size())
            out += line[++pos]; // \\ and \" stand for the character itself
        else
            out += c;
    }
    return false;
}

// A key without the blanks and backslashes around it: "[Key \\ ]" is "Key", also once saved.
QString normalisedKey(const QString& key) {
    QString k = key.trimmed();
    while (k.endsWith(QLatin1Char('\\')))
        k = k.chopped(1).trimmed();
    return k;
}

// Names of keys and values compare like the registry compares them: regardless of case.
// Names are mostly ASCII, which is folded here without the full Unicode tables.
QString folded(const QString& name) {
    QString out(name.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return name.toCaseFolded();
        *to++ = QChar(u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u);
    }
    return out;
}

// The Windows code page 1252: Latin-1, except for the printable characters at 0x80 to 0x9F.
// The five codes it leaves free stand for the control character of the same number.
QString fromWindows1252(QByteArrayView bytes) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

// The bytes decoded without a single replacement; nothing when they are not of the encoding.
std::optional<QString> strictly(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Whether the 8-bit text begins, after blank lines, with the header of the older export.
bool startsWithRegedit4(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return QByteArrayView(bytes).sliced(i).startsWith("REGEDIT4");
}

// The first line that is not blank, trimmed.
QString firstLine(const QString& text) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QString line = text.sliced(start, end - start).trimmed();
        if (!line.isEmpty())
            return line;
        start = end + 1;
    }
    return {};
}

// A "REGEDIT4" file holds expandable and multi-string values as bytes of code page 1252; the
// newer export holds them as UTF-16LE. Data that is no such list of bytes stays as it stands.
QString utf16HexData(const QString& data) {
    for (const QLatin1String prefix : {QLatin1String("hex(2):"), QLatin1String("hex(7):")}) {
        if (!data.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        QByteArray bytes;
        const QString list = data.mid(prefix.size()).trimmed();
        if (!list.isEmpty()) {
            for (const QString& item : list.split(QLatin1Char(','))) {
                bool ok = false;
                const uint byte = item.trimmed().toUInt(&ok, 16);
                if (!ok || byte > 0xFF)
                    return data;
                bytes.append(static_cast<char>(byte));
            }
        }
        const QString text = fromWindows1252(bytes);
        QStringList hex;
        for (const QChar c : text)
            hex << QStringLiteral("%1,%2")
                       .arg(c.unicode() & 0xFF, 2, 16, QLatin1Char('0'))
                       .arg(c.unicode() >> 8, 2, 16, QLatin1Char('0'));
        return prefix + hex.join(QLatin1Char(','));
    }
    return data;
}

} // namespace

std::optional<QString> RegistryFile::decode(const QByteArray& bytes) {
    std::optional<QString> text;
    const QByteArrayView all(bytes);
    if (all.startsWith("\xFF\xFE")) {
        if (all.size() % 2 == 0)
            text = strictly(QStringConverter::Utf16LE, all.sliced(2));
    } else if (all.startsWith("\xFE\xFF")) {
        if (all.size() % 2 == 0)
            text = strictly(QStringConverter::Utf16BE, all.sliced(2));
    } else if (all.startsWith("\xEF\xBB\xBF")) {
        text = strictly(QStringConverter::Utf8, all.sliced(3));
    } else if (all.size() >= 2 && all[0] != '\0' && all[1] == '\0') {
        // UTF-16 without byte-order mark: the header's first character is ASCII.
        if (all.size() % 2 == 0)
            text = strictly(QStringConverter::Utf16LE, all);
    } else if (all.size() >= 2 && all[0] == '\0' && all[1] != '\0') {
        if (all.size() % 2 == 0)
            text = strictly(QStringConverter::Utf16BE, all);
    } else if (startsWithRegedit4(bytes)) {
        text = fromWindows1252(all);
    } else {
        text = strictly(QStringConverter::Utf8, all);
    }
    if (!text)
        return std::nullopt;
    const QString header = firstLine(*text);
    if (header != kHeader && header != kRegedit4Header)
        return std::nullopt;
    return text;
}

RegistryFile RegistryFile::load(const QString& path) {
    return fromBytes(
        data::readRegularFileIfPresent(path, kRegistryFileSizeLimit).value_or(QByteArray()), path);
}

RegistryFile RegistryFile::fromBytes(const QByteArray& bytes, const QString& path) {
    if (bytes.isEmpty())
        return {};
    const std::optional<QString> text = decode(bytes);
    if (!text)
        throw data::DataError(
            QStringLiteral("Die Registrierungsdatei %1 kann nicht gelesen werden: Sie ist keine "
                           "Registrierungsdatei in einer bekannten Kodierung. Sie bleibt "
                           "unverändert.")
                .arg(data::quotedPath(path)));
    return parse(*text);
}

RegistryFile RegistryFile::parse(const QString& text) {
    RegistryFile file;
    const bool regedit4 = firstLine(text) == kRegedit4Header;
    Section* current = nullptr;
    bool skipping = false; // inside a [-Key] section, which only deletes
    QString joined;        // a value written over several lines, so far
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView part = QStringView(text).sliced(start, end - start);
        const bool lastLine = end >= text.size();
        start = end + 1;
        if (part.endsWith(QLatin1Char('\r')))
            part.chop(1);
        if (!joined.isEmpty())
            joined += part.trimmed();
        QStringView line = joined.isEmpty() ? part : QStringView(joined);
        // A value written over several lines ends each but the last with a backslash (blanks
        // after it do not count). One at the end of the file continues with nothing, and so
        // does every one left there once it is dropped: read so, no value ends with a
        // backslash, and a saved file (whose lines all end with a line break) reads back the
        // same.
        if (line.trimmed().endsWith(QLatin1Char('\\')) &&
            !line.trimmed().startsWith(QLatin1Char('['))) {
            if (joined.isEmpty())
                joined = line.toString();
            joined = QStringView(joined).trimmed().chopped(1).toString();
            if (!lastLine)
                continue;
            while (QStringView(joined).trimmed().endsWith(QLatin1Char('\\')))
                joined = QStringView(joined).trimmed().chopped(1).toString();
            line = QStringView(joined);
        }
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || trimmed == kHeader ||
            trimmed == kRegedit4Header) {
            joined.clear();
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QStringView key = trimmed.sliced(1, trimmed.size() - 2);
            // Judged on the key as it is kept: " -Key" would be saved as "[-Key]".
            skipping = key.trimmed().startsWith(QLatin1Char('-'));
            current = skipping ? nullptr : &file.sectionFor(key.toString());
            joined.clear();
            continue;
        }
        if (current && !skipping) {
            Value value;
            if (readValueLine(trimmed, value)) {
                if (regedit4)
                    value.data = utf16HexData(value.data);
                putValue(*current, std::move(value));
            }
        }
        joined.clear();
    }
    return file;
}

bool RegistryFile::readValueLine(QStringView line, Value& value) {
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else if (!line.startsWith(QLatin1Char('"')) || !readQuoted(line, pos, value.name)) {
        return false;
    }
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    if (pos >= line.size() || line[pos] != QLatin1Char('='))
        return false;
    value.data = line.sliced(pos + 1).trimmed().toString();
    return true;
}

QString RegistryFile::serialize() const {
    const QString crlf = QStringLiteral("\r\n");
    QString out = kHeader + crlf + crlf;
    for (const Section& section : sections_) {
        out += QLatin1Char('[') + section.key + QLatin1Char(']') + crlf;
        for (const Value& value : section.values)
            out += (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) +
                   QLatin1Char('=') + value.data + crlf;
        out += crlf;
    }
    return out;
}

QByteArray RegistryFile::encode() const {
    QStringEncoder utf16(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(utf16(serialize()));
}

RegistryFile::Section* RegistryFile::findSection(const QString& key) {
    const auto it = sectionAt_.constFind(folded(normalisedKey(key)));
    return it == sectionAt_.cend() ? nullptr : &sections_[*it];
}

const RegistryFile::Section* RegistryFile::findSection(const QString& key) const {
    return const_cast<RegistryFile*>(this)->findSection(key);
}

RegistryFile::Section& RegistryFile::sectionFor(const QString& key) {
    const QString normalised = normalisedKey(key);
    const QString name = folded(normalised);
    const auto it = sectionAt_.constFind(name);
    if (it != sectionAt_.cend())
        return sections_[*it];
    sectionAt_.insert(name, sections_.size());
    sections_.append({normalised, name, {}, {}});
    return sections_.last();
}

qsizetype RegistryFile::valuePosition(const Section& section, const QString& name) {
    if (section.valueAt.isEmpty()) {
        for (qsizetype i = 0; i < section.values.size(); ++i)
            if (section.values[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    return section.valueAt.value(folded(name), -1);
}

void RegistryFile::putValue(Section& section, Value value) {
    const qsizetype at = valuePosition(section, value.name);
    if (at >= 0) {
        section.values[at] = std::move(value);
        return;
    }
    // Most keys hold a few values, which a scan finds fastest; a key with many gets an index.
    if (!section.valueAt.isEmpty()) {
        section.valueAt.insert(folded(value.name), section.values.size());
    } else if (section.values.size() + 1 >= kIndexedValues) {
        for (qsizetype i = 0; i < section.values.size(); ++i)
            section.valueAt.insert(folded(section.values[i].name), i);
        section.valueAt.insert(folded(value.name), section.values.size());
    }
    section.values.append(std::move(value));
}

void RegistryFile::reindex() {
    sectionAt_.clear();
    for (qsizetype i = 0; i < sections_.size(); ++i)
        sectionAt_.insert(sections_[i].foldedKey, i);
}

bool RegistryFile::hasKey(const QString& key) const {
    return findSection(key) != nullptr;
}

QString RegistryFile::stringValue(const QString& key, const QString& name) const {
    const Section* section = findSection(key);
    if (!section)
        return {};
    const qsizetype at = valuePosition(*section, name);
    if (at < 0)
        return {};
    const QString& data = section->values[at].data;
    qsizetype pos = 0;
    QString text;
    if (!data.startsWith(QLatin1Char('"')) || !readQuoted(data, pos, text))
        return {};
    return text;
}

void RegistryFile::setStringValue(const QString& key, const QString& name, const QString& value) {
    putValue(sectionFor(key), {name, quoted(value)});
}

void RegistryFile::deleteKey(const QString& key) {
    const QString wanted = folded(normalisedKey(key));
    const QString below = wanted + QLatin1Char('\\');
    const qsizetype removed = sections_.removeIf(
        [&](const Section& s) { return s.foldedKey == wanted || s.foldedKey.startsWith(below); });
    if (removed > 0)
        reindex();
}

} // namespace velmora::app
