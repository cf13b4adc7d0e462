#pragma once
// The mod description ("modinfo.json"): the German description of a building's mod, built from
// its prepared asset record, the product catalogue, the field table and its buff entry, and the
// 44 lines of the file.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace velmora::mod {

// What the description is built from; every node belongs to a document the caller keeps.
struct DescriptionSources {
    QString buildingName;    // the Local name as the building list shows it
    pugi::xml_node record;   // the prepared asset record
    pugi::xml_node products; // root of the product catalogue
    pugi::xml_node fields;   // root of the field table
    pugi::xml_node buff;     // the building's entry of the buff table
};

// The German name of a fertility GUID, "" for a GUID the fertility table does not hold.
QString FertilityName(const QString& guid);

// The catalogue name of a product GUID. A product the catalogue lacks must not stop a mod: the
// water source ("917", a site input) is named "Wasserquelle", any other by its GUID.
QString GoodName(const pugi::xml_node& products, const QString& guid);

// The description's lines, in order, as plain text.
QStringList ModDescriptionLines(const DescriptionSources& sources);
// The description as it stands in modinfo.json: each line JSON-escaped, joined by "\n" (a
// backslash and the letter n).
QString BuildModDescription(const DescriptionSources& sources);

// The 44 lines of modinfo.json, each ended by CR LF. version and title are JSON-escaped here;
// description is already in its JSON form; picturePng is encoded as Base64.
QByteArray ModInfoJson(const QString& version, const QString& title, const QString& description,
                       const QByteArray& picturePng);

} // namespace velmora::mod
