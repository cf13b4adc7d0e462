#pragma once
// The tables from which the stand-in game files are written (sample-game/tables/*.tsv): one
// line per product, building, text, other asset and production chain, cells split by tabs.
// Lines that are empty or begin with '#' are comments.
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace velmora::generators::standin {

struct ProductRow {
    QString guid;
    QString templateName; // "Product" or "Product_Ammunition"
    QString name;         // empty: the game has no text for it
    QString icon;         // empty: no icon file
    QString category;     // category text, empty: none
    QString regions;      // associated regions, empty: none
};

struct BuildingRow {
    QString guid;
    QString templateName; // empty for a derived building
    QString baseGuid;     // empty for a template building
    QString name;         // German text; empty: none
    QString textOverride; // GUID of the text to use instead, or empty
    QString regions;
    QString icon;       // icon name or a full path; empty: none
    QStringList inputs; // product GUIDs
    QString output;     // product GUID or empty
    QString cycle;
    QString costs;  // cell as written (see the table's header)
    QString upkeep; // cell as written, product names already turned into GUIDs
    QString module;
    QString area;
    QString fertility;
    QString power;
    QHash<QString, QString> extra;
    bool isDerived() const { return !baseGuid.isEmpty(); }
};

struct TextRow {
    QString guid;
    QString text;
};

struct OtherRow {
    QString guid;
    QString templateName; // empty for a derived asset
    QString baseGuid;
    QString name;
    QString icon;
};

struct ChainRow {
    QString guid;
    QString name;
    QStringList buildings;
};

struct StandinTables {
    std::vector<ProductRow> products;
    std::vector<BuildingRow> buildings;
    std::vector<TextRow> texts;
    std::vector<OtherRow> others;
    std::vector<ChainRow> chains;

    // Reads and checks all tables of a directory. A malformed line, an unknown product name
    // or a GUID used twice raises DataError naming the file and line.
    static StandinTables load(const QString& directory);
};

// Splits a table file into its rows of exactly `columns` cells, with their line numbers.
struct TableLine {
    int number = 0;
    QStringList cells;
};
std::vector<TableLine> readTable(const QString& path, int columns);

} // namespace velmora::generators::standin
