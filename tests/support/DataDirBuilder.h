#pragma once
// Builds small data directories in the shipped formats for tests: a building index from a table
// of rows, the shipped group list, both asset lists, the buff table and the main window's part
// of the help table.
#include "support/TestSupport.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace velmora::test {

struct BuildingRow {
    QString guid;
    QString local;
    QString region = QStringLiteral("1");
    QString group = QStringLiteral("Farmen");
    QString isChanged = QStringLiteral("false");
    QString isExported = QStringLiteral("false");
    QString icon = QStringLiteral("icon_fish");
};

inline QByteArray xmlText(const QString& s) {
    return s.toHtmlEscaped().toUtf8();
}

// The buff GUID of the building at position i of the index, as the shipped index counts them.
inline QString buffGuidAt(std::size_t i) {
    return QString::number(2000502800ULL + i);
}

// "BuildingsShort.xml": the ten attributes in their fixed order.
inline void writeBuildingIndex(const QString& dir, const std::vector<BuildingRow>& rows) {
    QByteArray xml = "<Buildings>\r\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const BuildingRow& r = rows[i];
        xml += "\t<Building GUID=\"" + xmlText(r.guid) + "\" Local=\"" + xmlText(r.local) +
               "\" ICON=\"" + xmlText(r.icon) + "\" Region=\"" + xmlText(r.region) +
               "\" IsChanged=\"" + xmlText(r.isChanged) + "\" IsExported=\"" +
               xmlText(r.isExported) + "\" Group=\"" + xmlText(r.group) +
               "\" Production=\"1\" Add=\"" + buffGuidAt(i).toUtf8() + "\" Chain=\"\"/>\r\n";
    }
    xml += "</Buildings>\r\n";
    writeBytes(dir + QStringLiteral("/BuildingsShort.xml"), xml);
}

// "BuildingGroups.xml" exactly as the data tools write it.
inline void writeGroupList(const QString& dir) {
    const QByteArray xml =
        QStringLiteral(
            "\uFEFF<Groups>\r\n"
            "  <Group Name=\"editierte Gebäude\" ICON=\"editierte Gebäude\" Index=\"0\"/>\r\n"
            "  <Group Name=\"exportierte Gebäude\" ICON=\"exportierte Gebäude\" Index=\"1\"/>\r\n"
            "\t<Group Name=\"Farmen\" ICON=\"Farmen\" Index=\"1\" />\r\n"
            "\t<Group Name=\"Produktion\" ICON=\"Produktion\" Index=\"2\"/>\r\n"
            "\t<Group Name=\"Industrie\" ICON=\"Industrie\" Index=\"3\"/>\r\n"
            "\t<Group Name=\"Bodenschätze\" ICON=\"Bodenschätze\" Index=\"4\"/>\r\n"
            "</Groups>\r\n")
            .toUtf8();
    writeBytes(dir + QStringLiteral("/BuildingGroups.xml"), xml);
}

// One asset record; marker stands in for everything an editor may change.
inline QByteArray assetRecord(const QString& guid, const QString& marker) {
    return "\t<Asset>\r\n\t\t<Template>FarmBuilding</"
           "Template>\r\n\t\t<Values>\r\n\t\t\t<Standard>\r\n"
           "\t\t\t\t<GUID>" +
           xmlText(guid) +
           "</GUID>\r\n\t\t\t</Standard>\r\n"
           "\t\t\t<Maintenance>\r\n\t\t\t\t<Maintenances>\r\n\t\t\t\t\t<Item>\r\n"
           "\t\t\t\t\t\t<!--Münzen-->\r\n\t\t\t\t\t\t<Product>1010017</Product>\r\n"
           "\t\t\t\t\t\t<Amount>" +
           xmlText(marker) +
           "</Amount>\r\n"
           "\t\t\t\t\t</Item>\r\n\t\t\t\t</Maintenances>\r\n\t\t\t</Maintenance>\r\n"
           "\t\t</Values>\r\n\t</Asset>\r\n";
}

// "Buildings.xml" and "BuildingsOrg.xml" with one record per GUID; workingMarker is the value
// the working list holds where the original list holds "10".
inline void writeAssetLists(const QString& dir, const std::vector<BuildingRow>& rows,
                            const QString& workingMarker = QStringLiteral("10")) {
    QByteArray working = "<AssetList>\r\n", original = "<AssetList>\r\n";
    for (const BuildingRow& r : rows) {
        working += assetRecord(r.guid, workingMarker);
        original += assetRecord(r.guid, QStringLiteral("10"));
    }
    working += "</AssetList>\r\n";
    original += "</AssetList>\r\n";
    writeBytes(dir + QStringLiteral("/Buildings.xml"), working);
    writeBytes(dir + QStringLiteral("/BuildingsOrg.xml"), original);
}

// "BuffsShort.xml": one entry per building with all thirty attributes set to value.
inline void writeBuffTable(const QString& dir, std::size_t count,
                           const QString& value = QStringLiteral("0")) {
    QByteArray xml = "<Buffs>\r\n";
    for (std::size_t i = 0; i < count; ++i) {
        xml += "\t<Buff GUID=\"" + buffGuidAt(i).toUtf8() + "\"";
        for (int k = 0; k < 9; ++k) {
            const QByteArray n = QByteArray::number(k), v = xmlText(value);
            xml += " P" + n + "=\"" + v + "\" A" + n + "=\"" + v + "\" Z" + n + "=\"" + v + "\"";
        }
        xml += " Set=\"" + xmlText(value) + "\" Chain=\"" + xmlText(value) + "\"/>\r\n";
    }
    xml += "</Buffs>\r\n";
    writeBytes(dir + QStringLiteral("/BuffsShort.xml"), xml);
}

struct HelpEntry {
    QString id, label;
    std::vector<QString> texts; // Text0, Text1, ... as far as given
};

// The entries the main window shows, in the help table's format.
inline const std::vector<HelpEntry>& mainWindowHelp() {
    static const QString blank = QStringLiteral(" ");
    static const std::vector<HelpEntry> entries = {
        {QStringLiteral("0"),
         QStringLiteral("Velmora Cindral \u00B7 Werkstatt"),
         {blank, blank, blank, blank}},
        {QStringLiteral("10"), blank, {blank, blank, blank, blank}},
        {QStringLiteral("11"),
         QStringLiteral("Region"),
         {QStringLiteral(
              "Wählen Sie hier als Filter aus, in welcher Region das gewünschte Gebäude das Sie "
              "bearbeiten möchten zu finden ist."),
          QStringLiteral("Beachten Sie, das nicht in allen Regionen in allen Gruppen auch Gebäude "
                         "enthalten sind!"),
          QString(), blank}},
        {QStringLiteral("12"),
         QStringLiteral("Gebäudegruppe"),
         {QStringLiteral(
              "Wählen Sie hier als Filter aus, zu welcher Gruppe das Gebäude gerechnet wird."),
          QStringLiteral(
              "Gelegentlich finden Sie ein Gebäude nicht dort, wo Sie es einordnen würde, aber die "
              "nach der Spielmechanik dort nicht hingehören!"),
          blank, blank}},
        {QStringLiteral("13"),
         QStringLiteral("Gebäude"),
         {QStringLiteral("Hier werden alle Gebäude angezeigt, die entsprechend der "
                         "Filtereinstellungen links zur "
                         "Region und Gebäudegruppe gehören."),
          QStringLiteral("Durch anklicken eines Eintrages - ergo Gebäudes - aktivieren die dieses. "
                         "Alle folgenden "
                         "Aktionen beziehen sich auf dieses Gebäude."),
          QString(), QString()}},
        {QStringLiteral("14"),
         QStringLiteral("Produktion"),
         {QStringLiteral("Hiermit öffnen Sie das Formular für die Festlegung aller für dieses "
                         "Gebäude möglichen "
                         "(sinnvollen) Einstellungsoptionen."),
          blank, blank, blank}},
        {QStringLiteral("15"),
         QStringLiteral("Baukosten"),
         {QStringLiteral(
              "Dies ruft den Bildschirm zur Einstellungen der Bauskosten für diese Gebäude auf."),
          blank, blank, blank}},
        {QStringLiteral("16"),
         QStringLiteral("Aktiveren"),
         {QStringLiteral("Nachdem Sie alle gewünschten Einstellungen für das gewählte Gebäude "
                         "gemacht haben müssen "
                         "Sie es noch aktivieren."),
          QStringLiteral("Dieser Schalter erzeugt die eigentliche Modifikation im Mod Ordner des "
                         "Spiels sowie eine "
                         "Informationsdatei (modinfo.json)"),
          blank, blank}},
        {QStringLiteral("17"),
         QStringLiteral("Deaktivieren"),
         {QStringLiteral(
              "Sie können mit diesem Schalter aktivierte Gebäude - ergo Modifikationen - "
              "deaktivieren. "
              "Die sich im Mod Ordner des Spiels befindliche Modifikation wird entfernt."),
          QStringLiteral("Da die von Ihnen vorgenommenen Einstellungen hier im Programm "
                         "gespeichert sind können Sie "
                         "das Gebäude jederzeit wieder aktivieren."),
          blank, blank}},
        {QStringLiteral("18"),
         QStringLiteral("Reset"),
         {QStringLiteral(
              "Der Schalter setzt alle Ihre Einstellungen für das gewählte Gebäude nach einer "
              "Sicherheitsabfrage auf den Spielstandard zurück und entfernt die Modifikation aus "
              "dem Mod "
              "Ordner des Spiels."),
          blank, blank, blank}},
    };
    return entries;
}

// "Help.xml" with the given entries, in the shipped layout (declaration, Texts, comments).
inline void writeHelpTable(const QString& dir,
                           const std::vector<HelpEntry>& entries = mainWindowHelp()) {
    QByteArray xml = "<?xml version=\"1.0\"?>\r\n<TextExport>\r\n\t<Texts>\r\n";
    xml += "\t\t<!--Start der Aufrufe für ItemEditForm ****-->\r\n";
    for (const HelpEntry& e : entries) {
        xml += "\t\t<Text>\r\n\t\t\t<GUID>" + xmlText(e.id) + "</GUID>\r\n\t\t\t<Label>" +
               xmlText(e.label) + "</Label>\r\n";
        for (std::size_t k = 0; k < e.texts.size(); ++k) {
            const QByteArray tag = "Text" + QByteArray::number(qulonglong(k));
            xml += e.texts[k].isEmpty()
                       ? "\t\t\t<" + tag + "/>\r\n"
                       : "\t\t\t<" + tag + ">" + xmlText(e.texts[k]) + "</" + tag + ">\r\n";
        }
        xml += "\t\t</Text>\r\n";
    }
    xml += "\t</Texts>\r\n</TextExport>\r\n";
    writeBytes(dir + QStringLiteral("/Help.xml"), xml);
}

// A complete data directory for the main window: every file it or the reset reads.
inline void writeDataDir(const QString& dir, const std::vector<BuildingRow>& rows) {
    writeBuildingIndex(dir, rows);
    writeGroupList(dir);
    writeAssetLists(dir, rows);
    writeBuffTable(dir, rows.size());
    writeHelpTable(dir);
}

} // namespace velmora::test
