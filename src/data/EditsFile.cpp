#include "data/EditsFile.h"

#include "data/EditorLookups.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace velmora::data {

namespace {

// A JSON string literal.
QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

[[noreturn]] void refuse(const QString& sourceName, const QString& why) {
    throw DataError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                        .arg(sourceName.isEmpty()
                                 ? QStringLiteral("der Änderungen")
                                 : QStringLiteral("\u201E%1\u201C").arg(sourceName),
                             why));
}

// Qt's parser error in German.
QString jsonErrorText(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("ein Objekt ist nicht mit \u201E}\u201C abgeschlossen");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("nach einem Namen fehlt \u201E:\u201C");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("eine Liste ist nicht mit \u201E]\u201C abgeschlossen");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("zwischen zwei Werten fehlt \u201E,\u201C");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("ein Wert ist ungültig");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("der Text endet mitten in einer Zahl");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("eine Zahl ist ungültig");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("ein Text enthält eine ungültige Escape-Folge");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("ein Text ist kein gültiges UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("ein Text ist nicht mit \u201E\"\u201C abgeschlossen");
    case QJsonParseError::MissingObject:
        return QStringLiteral("es fehlt ein Objekt oder eine Liste");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("sie ist zu tief verschachtelt");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("sie ist zu groß");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("nach dem Ende des Dokuments folgt weiterer Text");
    case QJsonParseError::NoError:
        break;
    }
    return QStringLiteral("unbekannter Fehler");
}

// The encoding of a text in UTF-16 or UTF-32, told by its byte-order mark or by the NUL bytes
// beside the ASCII characters of its start; "" for anything else.
QString wideEncoding(const QByteArray& bytes) {
    const auto starts = [&bytes](std::initializer_list<unsigned char> prefix) {
        if (bytes.size() < qsizetype(prefix.size()))
            return false;
        qsizetype i = 0;
        for (const unsigned char c : prefix)
            if ((unsigned char)bytes[i++] != c)
                return false;
        return true;
    };
    if (starts({0xFF, 0xFE, 0, 0}) || starts({0, 0, 0xFE, 0xFF}))
        return QStringLiteral("UTF-32");
    if (starts({0xFF, 0xFE}) || starts({0xFE, 0xFF}))
        return QStringLiteral("UTF-16");
    if (bytes.size() >= 4 && (bytes[0] == 0) != (bytes[1] == 0) &&
        (bytes[2] == 0) != (bytes[3] == 0))
        return QStringLiteral("UTF-16");
    return {};
}

// A text that the JSON escapes made no valid Unicode: half of a surrogate pair ("\ud83d").
bool holdsLoneSurrogate(const QString& text) {
    return !QStringView(text).isValidUtf16();
}

QString requireText(const QJsonObject& object, const char* member, const QString& sourceName,
                    const QString& where) {
    const QJsonValue value = object.value(QLatin1String(member));
    if (!value.isString())
        refuse(
            sourceName,
            QStringLiteral("%1 fehlt \u201E%2\u201C als Text.").arg(where, QLatin1String(member)));
    if (holdsLoneSurrogate(value.toString()))
        refuse(sourceName, QStringLiteral("%1 steht in \u201E%2\u201C ein halbes "
                                          "Unicode-Ersatzzeichen (wie \\ud83d), das kein Zeichen "
                                          "ergibt.")
                               .arg(where, QLatin1String(member)));
    return value.toString();
}

// An optional text member: "" when absent; refused like requireText when it holds no valid
// Unicode, so that every text read writes back as itself.
QString optionalText(const QJsonObject& object, const char* member, const QString& sourceName,
                     const QString& where) {
    if (!object.contains(QLatin1String(member)) || !object.value(QLatin1String(member)).isString())
        return {};
    return requireText(object, member, sourceName, where);
}

} // namespace

EditsFile EditsFileOf(const std::vector<BuildingEdit>& edits, const QString& program,
                      const QString& created) {
    EditsFile file;
    file.program = program;
    file.created = created;
    for (const BuildingEdit& b : edits) {
        EditedBuilding building{b.guid, b.name, {}};
        for (const FieldEdit& f : b.fields)
            building.fields.push_back({f.key, f.game, f.current});
        file.buildings.push_back(std::move(building));
    }
    return file;
}

QByteArray WriteEditsFile(const EditsFile& file, const ProductCatalogue& catalogue) {
    QStringList lines;
    lines << QStringLiteral("{") << QStringLiteral("  \"format\": ") + quoted(kEditsFormat) + ','
          << QStringLiteral("  \"version\": %1,").arg(file.version)
          << QStringLiteral("  \"program\": ") + quoted(file.program) + ','
          << QStringLiteral("  \"created\": ") + quoted(file.created) + ','
          << (file.buildings.empty() ? QStringLiteral("  \"buildings\": []")
                                     : QStringLiteral("  \"buildings\": ["));
    for (std::size_t b = 0; b < file.buildings.size(); ++b) {
        const EditedBuilding& building = file.buildings[b];
        lines << QStringLiteral("    {")
              << QStringLiteral("      \"guid\": ") + quoted(building.guid) + ','
              << QStringLiteral("      \"name\": ") + quoted(building.name) + ','
              << QStringLiteral("      \"fields\": [");
        for (std::size_t i = 0; i < building.fields.size(); ++i) {
            const EditedField& f = building.fields[i];
            QString line = QStringLiteral("        { \"field\": ") + quoted(f.key) +
                           QStringLiteral(", \"game\": ") + quoted(f.game) +
                           QStringLiteral(", \"edited\": ") + quoted(f.edited);
            const EditField* field = FindEditField(f.key);
            if (field && field->kind == FieldKind::Good)
                line += QStringLiteral(", \"gameText\": ") +
                        quoted(ShownValue(*field, f.game, catalogue)) +
                        QStringLiteral(", \"editedText\": ") +
                        quoted(ShownValue(*field, f.edited, catalogue));
            line += i + 1 < building.fields.size() ? QStringLiteral(" },") : QStringLiteral(" }");
            lines << line;
        }
        lines << QStringLiteral("      ]")
              << (b + 1 < file.buildings.size() ? QStringLiteral("    },")
                                                : QStringLiteral("    }"));
    }
    if (!file.buildings.empty())
        lines << QStringLiteral("  ]");
    lines << QStringLiteral("}");
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

EditsFile ReadEditsFile(const QByteArray& bytes, const QString& sourceName) {
    if (const QString wide = wideEncoding(bytes); !wide.isEmpty())
        refuse(sourceName, QStringLiteral("Sie ist in %1 gespeichert; Dateien der Änderungen "
                                          "sind UTF-8.")
                               .arg(wide));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = bytes.left(error.offset);
        const qsizetype lineStart = before.lastIndexOf('\n') + 1;
        refuse(sourceName, QStringLiteral("Sie ist kein gültiges JSON (Zeile %1, Zeichen %2: %3).")
                               .arg(before.count('\n') + 1)
                               .arg(QString::fromUtf8(before.mid(lineStart)).size() + 1)
                               .arg(jsonErrorText(error.error)));
    }
    if (!doc.isObject())
        refuse(sourceName, QStringLiteral("Sie ist keine Datei der Änderungen."));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kEditsFormat)
        refuse(sourceName, QStringLiteral("Sie ist keine Datei der Änderungen dieses Programms."));
    const QJsonValue version = root.value(QStringLiteral("version"));
    const double number = version.toDouble(-1);
    // The range is checked on the double before it becomes a whole number.
    constexpr double kLargestVersion = 1e9;
    if (!version.isDouble() || !(number >= 1 && number <= kLargestVersion) ||
        number != double(qint64(number)))
        refuse(sourceName, QStringLiteral("Ihre Formatversion fehlt oder ist ungültig."));
    if (number > kEditsFormatVersion)
        refuse(sourceName, QStringLiteral("Sie hat die Formatversion %1; dieses Programm liest "
                                          "bis Version %2. Bitte verwenden Sie eine neuere "
                                          "Programmversion.")
                               .arg(qint64(number))
                               .arg(kEditsFormatVersion));
    EditsFile file;
    file.version = int(number);
    const QString top = QStringLiteral("Im Kopf der Datei");
    file.program = optionalText(root, "program", sourceName, top);
    file.created = optionalText(root, "created", sourceName, top);
    const QJsonValue buildings = root.value(QStringLiteral("buildings"));
    if (!buildings.isArray())
        refuse(sourceName, QStringLiteral("Die Liste \u201Ebuildings\u201C fehlt."));
    QSet<QString> guids;
    int position = 0;
    for (const QJsonValue& value : buildings.toArray()) {
        ++position;
        const QString where = QStringLiteral("Beim Gebäude Nr. %1").arg(position);
        if (!value.isObject())
            refuse(sourceName, QStringLiteral("Das Gebäude Nr. %1 ist kein Objekt.").arg(position));
        const QJsonObject object = value.toObject();
        EditedBuilding building;
        building.guid = requireText(object, "guid", sourceName, where);
        if (!isWholeNumber(building.guid))
            refuse(sourceName,
                   QStringLiteral("Die GUID \u201E%1\u201C ist keine Zahl.").arg(building.guid));
        if (guids.contains(building.guid))
            refuse(sourceName,
                   QStringLiteral("Das Gebäude %1 steht zweimal darin.").arg(building.guid));
        guids.insert(building.guid);
        building.name = optionalText(object, "name", sourceName, where);
        const QJsonValue fields = object.value(QStringLiteral("fields"));
        if (!fields.isArray())
            refuse(sourceName, QStringLiteral("Dem Gebäude %1 fehlt die Liste \u201Efields\u201C.")
                                   .arg(building.guid));
        QSet<QString> keys;
        for (const QJsonValue& f : fields.toArray()) {
            const QString fieldWhere =
                QStringLiteral("Bei einem Feld des Gebäudes %1").arg(building.guid);
            if (!f.isObject())
                refuse(sourceName, QStringLiteral("%1 ist kein Objekt.").arg(fieldWhere));
            const QJsonObject field = f.toObject();
            EditedField edited{requireText(field, "field", sourceName, fieldWhere),
                               requireText(field, "game", sourceName, fieldWhere),
                               requireText(field, "edited", sourceName, fieldWhere)};
            if (keys.contains(edited.key))
                refuse(sourceName, QStringLiteral("Das Feld \u201E%1\u201C des Gebäudes %2 steht "
                                                  "zweimal darin.")
                                       .arg(edited.key, building.guid));
            keys.insert(edited.key);
            building.fields.push_back(std::move(edited));
        }
        file.buildings.push_back(std::move(building));
    }
    return file;
}

} // namespace velmora::data
