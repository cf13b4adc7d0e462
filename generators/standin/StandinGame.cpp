#include "generators/standin/StandinGame.h"

#include "data/DataError.h"
#include "data/FileAccess.h"
#include "data/XmlDocument.h"
#include "generators/standin/GameAssets.h"

#include <QDir>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <algorithm>

namespace velmora::generators::standin {

namespace {

constexpr int kLargeAssetCount = 150000;
constexpr int kLargeTextCount = 120000;
constexpr int kChunkSize = 2000;

QHash<QString, QString> categoryGuids(const StandinTables& tables) {
    QHash<QString, QString> guids;
    for (const TextRow& t : tables.texts)
        if (!guids.contains(t.text))
            guids.insert(t.text, t.guid);
    for (const ProductRow& p : tables.products)
        if (!p.category.isEmpty() && !guids.contains(p.category))
            throw data::DataError(
                QStringLiteral("Die Produktkategorie \u201E%1\u201C hat keinen Text.")
                    .arg(p.category));
    return guids;
}

pugi::xml_node assetGroup(pugi::xml_node groups, const char* name) {
    pugi::xml_node group = groups.append_child("Group");
    data::setElementText(group.append_child("Name"), name);
    return group;
}

// Others are spread around the products and buildings, as in the game's file.
data::XmlDocument assetsDocument(const StandinTables& t) {
    data::XmlDocument doc = data::XmlDocument::withRoot("AssetList");
    pugi::xml_node groups = doc.root().append_child("Groups");
    const size_t half = t.others.size() / 2;

    pugi::xml_node first = assetGroup(groups, "Objects").append_child("Assets");
    for (size_t i = 0; i < half; ++i)
        appendOtherAsset(first, t.others[i]);

    pugi::xml_node goods =
        assetGroup(assetGroup(groups, "Products").append_child("Groups"), "Goods")
            .append_child("Assets");
    const QHash<QString, QString> categories = categoryGuids(t);
    for (const ProductRow& p : t.products)
        appendProductAsset(goods, p, categories);

    pugi::xml_node buildings = assetGroup(groups, "Buildings").append_child("Assets");
    size_t other = half;
    for (size_t i = 0; i < t.buildings.size(); ++i) {
        appendBuildingAsset(buildings, t.buildings[i]);
        if (i % 40 == 39 && other < t.others.size())
            appendOtherAsset(buildings, t.others[other++]);
    }
    pugi::xml_node rest = assetGroup(groups, "Miscellaneous").append_child("Assets");
    for (; other < t.others.size(); ++other)
        appendOtherAsset(rest, t.others[other]);
    return doc;
}

data::XmlDocument textsDocument(const StandinTables& t) {
    data::XmlDocument doc = data::XmlDocument::withRoot("TextExport");
    pugi::xml_node texts = doc.root().append_child("Texts");
    for (const ProductRow& p : t.products)
        if (!p.name.isEmpty())
            appendText(texts, p.guid, p.name);
    for (const BuildingRow& b : t.buildings)
        if (!b.name.isEmpty())
            appendText(texts, b.guid, b.name);
    for (const OtherRow& o : t.others)
        appendText(texts, o.guid, o.name);
    for (const TextRow& row : t.texts)
        appendText(texts, row.guid, row.text);
    return doc;
}

data::XmlDocument chainsDocument(const StandinTables& t) {
    data::XmlDocument doc = data::XmlDocument::withRoot("AssetList");
    for (const ChainRow& c : t.chains)
        appendChainAsset(doc.root(), c);
    return doc;
}

QByteArray iconNames(const StandinTables& t) {
    QStringList names{QStringLiteral("icon_sugar")};
    auto add = [&names](const QString& icon) {
        if (icon.isEmpty())
            return;
        QString name = icon.section(QLatin1Char('/'), -1);
        if (name.endsWith(QLatin1String(".png")))
            name.chop(4);
        names << name;
    };
    for (const ProductRow& p : t.products)
        add(p.icon);
    for (const BuildingRow& b : t.buildings)
        add(b.icon);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return (names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

void writeCommon(const StandinTables& t, const QString& outDir) {
    chainsDocument(t).saveAs(outDir + QStringLiteral("/ProductionChain.xml"));
    data::writeFileAtomically(outDir + QStringLiteral("/IconNames.txt"), iconNames(t));
}

// Splits saved bytes into everything before the last `tailLines` lines and those lines.
std::pair<QByteArray, QByteArray> splitTail(const QByteArray& bytes, int tailLines) {
    qsizetype cut = bytes.size() - 2; // the final CR LF
    for (int i = 0; i < tailLines; ++i)
        cut = bytes.lastIndexOf("\r\n", cut - 1);
    return {bytes.left(cut + 2), bytes.mid(cut + 2)};
}

// The element lines of a saved chunk, without its root's opening and closing line.
QByteArray innerLines(const QByteArray& bytes) {
    const qsizetype start = bytes.indexOf("\r\n") + 2;
    const qsizetype end = bytes.lastIndexOf("\r\n", bytes.size() - 3) + 2;
    return bytes.mid(start, end - start);
}

class StreamedFile {
public:
    explicit StreamedFile(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::WriteOnly))
            throw data::DataError(QStringLiteral("%1 kann nicht geschrieben werden: %2")
                                      .arg(QDir::toNativeSeparators(path), file_.errorString()));
    }
    void write(const QByteArray& bytes) {
        if (file_.write(bytes) != bytes.size())
            throw data::DataError(
                QStringLiteral("%1 kann nicht geschrieben werden: %2")
                    .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString()));
    }
    void commit() {
        if (!file_.commit())
            throw data::DataError(
                QStringLiteral("%1 kann nicht gespeichert werden: %2")
                    .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString()));
    }

private:
    QSaveFile file_;
};

QString fillerGuid(int index) {
    return QString::number(5000000 + index);
}

} // namespace

void writeStandinGame(const StandinTables& tables, const QString& outDir) {
    assetsDocument(tables).saveAs(outDir + QStringLiteral("/Assets.xml"));
    textsDocument(tables).saveAs(outDir + QStringLiteral("/texts_german.xml"));
    writeCommon(tables, outDir);
}

StandinTables withClones(const StandinTables& tables, int productRounds, int buildingRounds) {
    StandinTables t = tables;
    const QString suffix = QStringLiteral(" %1");
    for (int round = 1; round <= productRounds; ++round) {
        for (size_t i = 0; i < tables.products.size(); ++i) {
            ProductRow p = tables.products[i];
            p.guid = QString::number(2000000 + round * 10000 + static_cast<int>(i));
            if (!p.name.isEmpty())
                p.name += suffix.arg(round + 1);
            t.products.push_back(p);
        }
    }
    auto cloneGuid = [](int round, size_t i) {
        return QString::number(3000000 + round * 10000 + static_cast<int>(i));
    };
    for (int round = 1; round <= buildingRounds; ++round) {
        for (size_t i = 0; i < tables.buildings.size(); ++i) {
            // Only template buildings are cloned: the cleaning rules name buildings by GUID, so a
            // cloned base building may be dropped where the original is kept, and a derived
            // building without its base stops the cost inheritance.
            BuildingRow b = tables.buildings[i];
            if (b.isDerived())
                continue;
            b.guid = cloneGuid(round, i);
            if (!b.name.isEmpty())
                b.name += suffix.arg(round + 1);
            t.buildings.push_back(b);
        }
    }
    return t;
}

void writeLargeStandinGame(const StandinTables& tables, const QString& outDir) {
    const StandinTables t = withClones(tables, 15, 2);
    const int fillers = kLargeAssetCount -
                        static_cast<int>(t.products.size() + t.buildings.size() + t.others.size());

    {
        StreamedFile out(outDir + QStringLiteral("/Assets.xml"));
        const auto [head, tail] = splitTail(assetsDocument(t).serialize(), 2);
        out.write(head);
        for (int first = 0; first < fillers; first += kChunkSize) {
            data::XmlDocument chunk = data::XmlDocument::withRoot("Group");
            data::setElementText(chunk.root().append_child("Name"), "Filler");
            pugi::xml_node assets = chunk.root().append_child("Assets");
            for (int i = first; i < std::min(fillers, first + kChunkSize); ++i)
                appendFillerAsset(assets, i, fillerGuid(i),
                                  i % 10 == 9 ? fillerGuid(i - 1) : QString());
            out.write(chunk.serialize());
        }
        out.write(tail);
        out.commit();
    }
    {
        StreamedFile out(outDir + QStringLiteral("/texts_german.xml"));
        data::XmlDocument texts = textsDocument(t);
        const int fillerTexts = std::min(
            fillers, kLargeTextCount -
                         static_cast<int>(texts.root().first_child().select_nodes("Text").size()));
        const auto [head, tail] = splitTail(texts.serialize(), 2);
        out.write(head);
        for (int first = 0; first < fillerTexts; first += kChunkSize) {
            data::XmlDocument chunk = data::XmlDocument::withRoot("Texts");
            for (int i = first; i < std::min(fillerTexts, first + kChunkSize); ++i)
                appendText(chunk.root(), fillerGuid(i), QStringLiteral("Füllobjekt %1").arg(i));
            out.write(innerLines(chunk.serialize()));
        }
        out.write(tail);
        out.commit();
    }
    writeCommon(t, outDir);
}

StandinTables withGameUpdate(const StandinTables& tables) {
    StandinTables updated = tables;
    const auto row = [&](const QString& guid) -> BuildingRow& {
        for (BuildingRow& building : updated.buildings)
            if (building.guid == guid)
                return building;
        throw data::DataError(
            QStringLiteral("Die Tabellen enthalten das Gebäude %1 nicht.").arg(guid));
    };
    const auto replaceIn = [](QString& cell, const QString& from, const QString& to) {
        if (!cell.contains(from))
            throw data::DataError(
                QStringLiteral("Die Zelle „%1“ enthält „%2“ nicht.").arg(cell, from));
        cell.replace(from, to);
    };
    BuildingRow& grainFarm = row(QStringLiteral("1010262"));
    replaceIn(grainFarm.costs, QStringLiteral("100,"), QStringLiteral("120,"));
    replaceIn(grainFarm.upkeep, QStringLiteral(":10"), QStringLiteral(":8"));
    replaceIn(row(QStringLiteral("1010402")).upkeep, QStringLiteral("60,"), QStringLiteral("70,"));
    const BuildingRow& lobster = row(QStringLiteral("118729"));
    std::erase_if(updated.buildings,
                  [&](const BuildingRow& building) { return building.guid == lobster.guid; });
    return updated;
}

QByteArray standinExecutable(int gameVersion) {
    QByteArray text = "Stand-in for the game executable: the editor recognises a game directory "
                      "by this file alone.\n";
    if (gameVersion > 1)
        text += "Version " + QByteArray::number(gameVersion) + ": the game after an update.\n";
    return text;
}

} // namespace velmora::generators::standin
