#include "app/platform/portable/RegistryFile.h"

#include "data/FileAccess.h"

#include <QFile>
#include <QStringDecoder>

namespace velmora::app {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Reads a quoted text starting at pos (on the opening quote); pos ends behind the closing one.
// Returns false when the quote is not closed.
bool readQuoted(const QString& line, qsizetype& pos, QString& out) {
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

QString normalisedKey(const QString& key) {
    QString k = key.trimmed();
    while (k.endsWith(QLatin1Char('\\')))
        k.chop(1);
    return k;
}

QString decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return utf16(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return utf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
}

} // namespace

RegistryFile RegistryFile::load(const QString& path) {
    if (!QFile::exists(path))
        return {};
    return parse(decode(data::readFileBytes(path)));
}

RegistryFile RegistryFile::parse(const QString& text) {
    RegistryFile file;
    Section* current = nullptr;
    bool skipping = false; // inside a [-Key] section, which only deletes
    const QStringList rawLines = text.split(QLatin1Char('\n'));
    QString line;
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        QString part = rawLines[i];
        if (part.endsWith(QLatin1Char('\r')))
            part.chop(1);
        line += line.isEmpty() ? part : part.trimmed();
        // A value written over several lines ends each but the last with a backslash.
        if (line.endsWith(QLatin1Char('\\')) && !line.startsWith(QLatin1Char('[')) &&
            i + 1 < rawLines.size()) {
            line.chop(1);
            continue;
        }
        const QString trimmed = line.trimmed();
        line.clear();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || trimmed == kHeader ||
            trimmed == QLatin1String("REGEDIT4"))
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString key = trimmed.mid(1, trimmed.size() - 2);
            skipping = key.startsWith(QLatin1Char('-'));
            current = nullptr;
            if (skipping)
                continue;
            current = file.findSection(key);
            if (!current) {
                file.sections_.append({normalisedKey(key), {}});
                current = &file.sections_.last();
            }
            continue;
        }
        if (!current || skipping)
            continue;
        Value value;
        qsizetype pos = 0;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (!trimmed.startsWith(QLatin1Char('"')) || !readQuoted(trimmed, pos, value.name)) {
            continue; // not a value line
        }
        while (pos < trimmed.size() && trimmed[pos].isSpace())
            ++pos;
        if (pos >= trimmed.size() || trimmed[pos] != QLatin1Char('='))
            continue;
        value.data = trimmed.mid(pos + 1).trimmed();
        bool replaced = false;
        for (Value& existing : current->values) {
            if (existing.name.compare(value.name, Qt::CaseInsensitive) == 0) {
                existing = value;
                replaced = true;
            }
        }
        if (!replaced)
            current->values.append(value);
    }
    return file;
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
    const QString text = serialize();
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        bytes.append(static_cast<char>(unit & 0xFF));
        bytes.append(static_cast<char>(unit >> 8));
    }
    return bytes;
}

void RegistryFile::save(const QString& path) const {
    data::writeFileAtomically(path, encode());
}

RegistryFile::Section* RegistryFile::findSection(const QString& key) {
    const QString wanted = normalisedKey(key);
    for (Section& s : sections_)
        if (s.key.compare(wanted, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const RegistryFile::Section* RegistryFile::findSection(const QString& key) const {
    return const_cast<RegistryFile*>(this)->findSection(key);
}

bool RegistryFile::hasKey(const QString& key) const {
    return findSection(key) != nullptr;
}

QString RegistryFile::stringValue(const QString& key, const QString& name) const {
    const Section* section = findSection(key);
    if (!section)
        return {};
    for (const Value& value : section->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype pos = 0;
        QString text;
        if (!value.data.startsWith(QLatin1Char('"')) || !readQuoted(value.data, pos, text))
            return {};
        return text;
    }
    return {};
}

void RegistryFile::setStringValue(const QString& key, const QString& name, const QString& value) {
    Section* section = findSection(key);
    if (!section) {
        sections_.append({normalisedKey(key), {}});
        section = &sections_.last();
    }
    for (Value& existing : section->values) {
        if (existing.name.compare(name, Qt::CaseInsensitive) == 0) {
            existing.data = quoted(value);
            return;
        }
    }
    section->values.append({name, quoted(value)});
}

void RegistryFile::deleteKey(const QString& key) {
    const QString wanted = normalisedKey(key);
    const QString below = wanted + QLatin1Char('\\');
    sections_.removeIf([&](const Section& s) {
        return s.key.compare(wanted, Qt::CaseInsensitive) == 0 ||
               s.key.startsWith(below, Qt::CaseInsensitive);
    });
}

} // namespace velmora::app
