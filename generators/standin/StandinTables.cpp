#include "generators/standin/StandinTables.h"

#include "data/DataError.h"
#include "data/FileAccess.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

namespace velmora::generators::standin {

namespace {

QString dashIsEmpty(const QString& cell) {
    return cell == QLatin1String("-") ? QString() : cell;
}

bool isNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}

[[noreturn]] void fail(const QString& path, int line, const QString& reason) {
    throw data::DataError(QStringLiteral("%1, Zeile %2: %3")
                              .arg(QDir::toNativeSeparators(path))
                              .arg(line)
                              .arg(reason));
}

// Resolves product names of the building table to GUIDs; numbers stand as they are.
class ProductNames {
public:
    explicit ProductNames(const std::vector<ProductRow>& products) {
        for (const ProductRow& p : products) {
            guids_.insert(p.guid);
            if (!p.name.isEmpty() && !byName_.contains(p.name))
                byName_.insert(p.name, p.guid);
        }
    }
    QString guid(const QString& nameOrGuid, const QString& path, int line) const {
        if (isNumber(nameOrGuid)) {
            if (!guids_.contains(nameOrGuid))
                fail(path, line,
                     QStringLiteral("Produkt %1 fehlt in der Produkttabelle.").arg(nameOrGuid));
            return nameOrGuid;
        }
        const auto it = byName_.constFind(nameOrGuid);
        if (it == byName_.constEnd())
            fail(path, line, QStringLiteral("Unbekanntes Produkt \u201E%1\u201C.").arg(nameOrGuid));
        return *it;
    }

private:
    QSet<QString> guids_;
    QHash<QString, QString> byName_;
};

// Rewrites the "Product:Amount" items of a cost or upkeep cell with product GUIDs.
QString resolveItems(const QString& cell, const ProductNames& names, const QString& path,
                     int line) {
    if (cell == QLatin1String("=") || cell == QLatin1String("none"))
        return cell;
    QStringList items = cell.split(QLatin1Char(','));
    for (QString& item : items) {
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        if (colon <= 0 || item.startsWith(QLatin1String("v:")))
            continue;
        item = names.guid(item.left(colon), path, line) + item.mid(colon);
    }
    return items.join(QLatin1Char(','));
}

QHash<QString, QString> parseExtra(const QString& cell) {
    QHash<QString, QString> extra;
    if (cell.isEmpty())
        return extra;
    for (const QString& entry : cell.split(QLatin1Char(';'))) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq < 0)
            extra.insert(entry, QString());
        else
            extra.insert(entry.left(eq), entry.mid(eq + 1));
    }
    return extra;
}

} // namespace

std::vector<TableLine> readTable(const QString& path, int columns) {
    const QString text = QString::fromUtf8(data::readFileBytes(path));
    std::vector<TableLine> rows;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() != columns)
            fail(
                path, i + 1,
                QStringLiteral("%1 Spalten erwartet, %2 gefunden.").arg(columns).arg(cells.size()));
        rows.push_back({i + 1, cells});
    }
    return rows;
}

StandinTables StandinTables::load(const QString& directory) {
    StandinTables t;
    const QString productsPath = directory + QStringLiteral("/products.tsv");
    const QString buildingsPath = directory + QStringLiteral("/buildings.tsv");
    const QString textsPath = directory + QStringLiteral("/texts.tsv");
    const QString othersPath = directory + QStringLiteral("/others.tsv");
    const QString chainsPath = directory + QStringLiteral("/chains.tsv");

    QSet<QString> assetGuids;
    auto claim = [&assetGuids](const QString& guid, const QString& path, int line) {
        if (!isNumber(guid))
            fail(path, line, QStringLiteral("\u201E%1\u201C ist keine GUID.").arg(guid));
        if (assetGuids.contains(guid))
            fail(path, line, QStringLiteral("GUID %1 ist schon vergeben.").arg(guid));
        assetGuids.insert(guid);
    };

    for (const TableLine& row : readTable(productsPath, 6)) {
        const QStringList& c = row.cells;
        claim(c[0], productsPath, row.number);
        t.products.push_back({c[0], c[1], dashIsEmpty(c[2]), dashIsEmpty(c[3]), dashIsEmpty(c[4]),
                              dashIsEmpty(c[5])});
    }
    const ProductNames names(t.products);

    for (const TableLine& row : readTable(buildingsPath, 15)) {
        const QStringList& c = row.cells;
        claim(c[0], buildingsPath, row.number);
        BuildingRow b;
        b.guid = c[0];
        if (c[1].startsWith(QLatin1Char('^')))
            b.baseGuid = c[1].mid(1);
        else
            b.templateName = c[1];
        if (c[2].startsWith(QLatin1Char('@')))
            b.textOverride = c[2].mid(1);
        else
            b.name = dashIsEmpty(c[2]);
        b.regions = dashIsEmpty(c[3]);
        b.icon = dashIsEmpty(c[4]);
        if (!dashIsEmpty(c[5]).isEmpty())
            for (const QString& input : c[5].split(QLatin1Char(',')))
                b.inputs << names.guid(input, buildingsPath, row.number);
        if (!dashIsEmpty(c[6]).isEmpty())
            b.output = names.guid(c[6], buildingsPath, row.number);
        b.cycle = c[7];
        b.costs = resolveItems(c[8], names, buildingsPath, row.number);
        b.upkeep = resolveItems(c[9], names, buildingsPath, row.number);
        b.module = dashIsEmpty(c[10]);
        b.area = dashIsEmpty(c[11]);
        b.fertility = dashIsEmpty(c[12]);
        b.power = dashIsEmpty(c[13]);
        b.extra = parseExtra(dashIsEmpty(c[14]));
        t.buildings.push_back(b);
    }

    for (const TableLine& row : readTable(textsPath, 2))
        t.texts.push_back({row.cells[0], row.cells[1]});

    for (const TableLine& row : readTable(othersPath, 4)) {
        const QStringList& c = row.cells;
        claim(c[0], othersPath, row.number);
        OtherRow o{c[0], c[1], QString(), c[2], c[3]};
        if (c[1].startsWith(QLatin1Char('^'))) {
            o.templateName.clear();
            o.baseGuid = c[1].mid(1);
        }
        t.others.push_back(o);
    }

    for (const TableLine& row : readTable(chainsPath, 3)) {
        const QStringList& c = row.cells;
        claim(c[0], chainsPath, row.number);
        t.chains.push_back({c[0], c[1], c[2].split(QLatin1Char(','))});
    }

    for (const BuildingRow& b : t.buildings)
        if (b.isDerived() && !assetGuids.contains(b.baseGuid))
            fail(buildingsPath, 0,
                 QStringLiteral("Basisgebäude %1 von %2 fehlt.").arg(b.baseGuid, b.guid));
    return t;
}

} // namespace velmora::generators::standin
