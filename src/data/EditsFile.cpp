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

QString requireText(const QJsonObject& object, const char* member, const QString& sourceName,
                    const QString& where) {
    const QJsonValue value = object.value(QLatin1String(member));
    if (!value.isString())
        refuse(
            sourceName,
            QStringLiteral("%1 fehlt \u201E%2\u201C als Text.").arg(where, QLatin1String(member)));
    return value.toString();
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
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        refuse(sourceName, QStringLiteral("Sie ist kein gültiges JSON (Zeichen %1: %2).")
                               .arg(error.offset)
                               .arg(error.errorString()));
    if (!doc.isObject())
        refuse(sourceName, QStringLiteral("Sie ist keine Datei der Änderungen."));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kEditsFormat)
        refuse(sourceName, QStringLiteral("Sie ist keine Datei der Änderungen dieses Programms."));
    const QJsonValue version = root.value(QStringLiteral("version"));
    const double number = version.toDouble(-1);
    if (!version.isDouble() || number < 1 || number != double(qint64(number)))
        refuse(sourceName, QStringLiteral("Ihre Formatversion fehlt oder ist ungültig."));
    if (number > kEditsFormatVersion)
        refuse(sourceName, QStringLiteral("Sie hat die Formatversion %1; dieses Programm liest "
                                          "bis Version %2. Bitte verwenden Sie eine neuere "
                                          "Programmversion.")
                               .arg(qint64(number))
                               .arg(kEditsFormatVersion));
    EditsFile file;
    file.version = int(number);
    file.program = root.value(QStringLiteral("program")).toString();
    file.created = root.value(QStringLiteral("created")).toString();
    const QJsonValue buildings = root.value(QStringLiteral("buildings"));
    if (!buildings.isArray())
        refuse(sourceName, QStringLiteral("Die Liste \u201Ebuildings\u201C fehlt."));
    QSet<QString> guids;
    int position = 0;
    for (const QJsonValue& value : buildings.toArray()) {
        ++position;
        const QString where = QStringLiteral("Dem Gebäude Nr. %1").arg(position);
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
        building.name = object.value(QStringLiteral("name")).toString();
        const QJsonValue fields = object.value(QStringLiteral("fields"));
        if (!fields.isArray())
            refuse(sourceName, QStringLiteral("Dem Gebäude %1 fehlt die Liste \u201Efields\u201C.")
                                   .arg(building.guid));
        QSet<QString> keys;
        for (const QJsonValue& f : fields.toArray()) {
            const QString fieldWhere =
                QStringLiteral("Einem Feld des Gebäudes %1").arg(building.guid);
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
