#include "data/AdditionalProducts.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorFiles.h"
#include "data/EditorLookups.h"
#include "data/ProductCatalogue.h"

#include <QHash>

namespace velmora::data {

namespace {

const QString kNone = QStringLiteral("0");

const QHash<QString, Fertility>& fertilityTable() {
    static const QHash<QString, Fertility> table = [] {
        const std::pair<const char*, Fertility> rows[] = {
            {"0", {QStringLiteral("keine"), QStringLiteral("empty")}},
            {"1010569", {QStringLiteral("Kartoffeln"), QStringLiteral("icon_potatoes")}},
            {"1010571", {QStringLiteral("Getreide"), QStringLiteral("icon_cereals_2")}},
            {"1010572", {QStringLiteral("Hopfen"), QStringLiteral("icon_hops")}},
            {"120013", {QStringLiteral("Trauben"), QStringLiteral("icon_grapes")}},
            {"1010570", {QStringLiteral("Paprika"), QStringLiteral("icon_pepper")}},
            {"1010573", {QStringLiteral("Zucker"), QStringLiteral("icon_cane_sugar_1")}},
            {"1010575", {QStringLiteral("Kakao"), QStringLiteral("icon_cocoa")}},
            {"1010574", {QStringLiteral("Kautschuk"), QStringLiteral("icon_caoutchouc")}},
            {"1010576", {QStringLiteral("Baumwolle"), QStringLiteral("icon_cotton")}},
            {"1010577", {QStringLiteral("Tabak"), QStringLiteral("icon_tobacco")}},
            {"120018", {QStringLiteral("Perlen"), QStringLiteral("icon_pearls")}},
            {"120038", {QStringLiteral("Mais"), QStringLiteral("icon_corn")}},
            {"120039", {QStringLiteral("Kaffee"), QStringLiteral("icon_coffee_beans")}},
            {"120040", {QStringLiteral("Bananen"), QStringLiteral("icon_banana")}},
            {"114343", {QStringLiteral("Flachs"), QStringLiteral("icon_linen_farm")}},
            {"114352", {QStringLiteral("Hibiscus"), QStringLiteral("icon_hibiscus_farm")}},
            {"114345", {QStringLiteral("Tef-Grass"), QStringLiteral("icon_teff_grass")}},
            {"114347", {QStringLiteral("Indigo"), QStringLiteral("icon_indigo")}},
            {"114348", {QStringLiteral("Gewürze"), QStringLiteral("icon_spices")}},
            {"114349", {QStringLiteral("Bienen"), QStringLiteral("icon_beeswax")}},
            {"118727", {QStringLiteral("Hummer"), QStringLiteral("icon_Seafood")}},
            {"112859", {QStringLiteral("Bärenfelle"), QStringLiteral("icon_bear_fur")}},
            {"6251", {QStringLiteral("Orchideen"), QStringLiteral("icon_orchid")}},
            {"6250", {QStringLiteral("Kräuter"), QStringLiteral("icon_herbs_with_flower")}},
            {"112858",
             {QStringLiteral("Rentiere im Überfluss"), QStringLiteral("icon_reindeer_meat")}},
            {"1010581", {QStringLiteral("Jagdgründe"), QStringLiteral("icon_fur")}},
        };
        QHash<QString, Fertility> t;
        for (const auto& [guid, fertility] : rows)
            t.insert(QString::fromLatin1(guid), fertility);
        return t;
    }();
    return table;
}

// The buff entry of the building: its Add in the index names it. The entry must carry all
// thirty attributes, since they are addressed by position.
pugi::xml_node buffEntry(const XmlDocument& index, const XmlDocument& buffs,
                         const QString& buildingGuid) {
    const pugi::xml_node building = requireEntry(index, "Building", buildingGuid);
    const pugi::xml_node buff =
        requireEntry(buffs, "Buff", fromUtf8(attributeTextAt(building, kBuildingAdd)));
    if (!attributeAt(buff, kBuffChainPosition))
        throw DataError(QStringLiteral("Der Eintrag %1 in \u201E%2\u201C ist unvollständig.")
                            .arg(fromUtf8(attributeTextAt(buff, 0)), kBuffTableFile));
    return buff;
}

QString at(const pugi::xml_node& element, int position) {
    return fromUtf8(attributeTextAt(element, position));
}

} // namespace

std::optional<Fertility> FertilityByGuid(const QString& guid) {
    const auto found = fertilityTable().constFind(guid);
    if (found == fertilityTable().constEnd())
        return std::nullopt;
    return *found;
}

bool FertilityExcluded(const QString& buildingGuid) {
    static const QStringList excluded = {QStringLiteral("114705"), QStringLiteral("114703"),
                                         QStringLiteral("112674"), QStringLiteral("112666"),
                                         QStringLiteral("1010310")};
    return excluded.contains(buildingGuid);
}

QString FertilityCaption(bool on, const QString& fertilityGuid) {
    if (!on)
        return QStringLiteral("erforderliche Fruchtbarkeit nicht hinzufügen");
    const std::optional<Fertility> fertility = FertilityByGuid(fertilityGuid);
    return QStringLiteral("erforderliche Fruchtbarkeit (") +
           (fertility ? fertility->name : QString()) + QStringLiteral(") hinzufügen");
}

AdditionalProducts LoadAdditionalProducts(const QString& dataDir, const QString& buildingGuid) {
    EditorFiles files(dataDir);
    return LoadAdditionalProducts(files, buildingGuid);
}

AdditionalProducts LoadAdditionalProducts(EditorFiles& files, const QString& buildingGuid) {
    const XmlDocument& index = files.index();
    const ProductCatalogue& catalogue = files.catalogue();
    const XmlDocument& buffs = files.buffs();
    const pugi::xml_node buff = buffEntry(index, buffs, buildingGuid);

    AdditionalProducts state;
    if (!FertilityExcluded(buildingGuid)) {
        const pugi::xml_node needed = requireAssetRecord(files.working(), buildingGuid)
                                          .first_element_by_path("Values/Factory7/NeededFertility");
        const QString fertility = fromUtf8(needed.text().get());
        if (needed && !fertility.isEmpty()) {
            state.fertilityGuid = fertility;
            state.fertilityOffered = true;
            state.fertilityOn = at(buff, kBuffChainPosition) != kNone;
        }
    }
    state.hasBuff = at(buff, kBuffSetPosition) == QStringLiteral("1") ? QStringLiteral("1") : kNone;

    for (int k = 0; k < kAddSlots; ++k) {
        AddSlot& slot = state.goods[std::size_t(k)];
        slot.guid = at(buff, buffProductPosition(k));
        slot.amount = at(buff, buffAmountPosition(k));
        slot.cycle = at(buff, buffCyclePosition(k));
        const Product product = catalogue.find(slot.guid);
        if (!product.name.isEmpty()) {
            slot.name = product.name;
            slot.image = product.icon;
        } else {
            slot.name = QStringLiteral("unbekannte Ware ") + slot.guid;
        }
    }
    return state;
}

BuffApplyResult ApplyAdditionalProducts(const QString& dataDir, const QString& buildingGuid,
                                        const AddSlots& goods, const QString& fertilityActive,
                                        FileWriter& writer) {
    EditorFiles files(dataDir);
    const BuffApplyResult result =
        ApplyAdditionalProducts(files, buildingGuid, goods, fertilityActive);
    files.save(writer);
    return result;
}

BuffApplyResult ApplyAdditionalProducts(EditorFiles& files, const QString& buildingGuid,
                                        const AddSlots& goods, const QString& fertilityActive) {
    // Look up and check everything first.
    const XmlDocument& index = files.index();
    XmlDocument& buffs = files.buffs();
    const pugi::xml_node buff = buffEntry(index, buffs, buildingGuid);
    for (int k = 0; k < kAddSlots; ++k) {
        const AddSlot& slot = goods[std::size_t(k)];
        requireGuid(slot.guid);
        for (const QString& number : {slot.amount, slot.cycle})
            if (!isWholeNumber(number))
                throw DataError(
                    QStringLiteral(
                        "Die Zahl \u201E%1\u201C der Zusatzware %2 ist keine ganze Zahl.")
                        .arg(number)
                        .arg(k));
    }
    requireGuid(fertilityActive);

    // Then write by position.
    BuffApplyResult result{kNone};
    bool found = false;
    for (int k = 0; k < kAddSlots; ++k) {
        const AddSlot& slot = goods[std::size_t(k)];
        setAttributeAt(buff, buffProductPosition(k), utf8(slot.guid));
        setAttributeAt(buff, buffAmountPosition(k), utf8(slot.amount));
        setAttributeAt(buff, buffCyclePosition(k), utf8(slot.cycle));
        found = found || slot.guid != kNone;
    }
    setAttributeAt(buff, kBuffChainPosition, utf8(fertilityActive));
    found = found || fertilityActive != kNone;
    if (found) {
        setAttributeAt(buff, kBuffSetPosition, "1");
        result.hasBuff = QStringLiteral("1");
    }
    files.changed(buffs);
    return result;
}

} // namespace velmora::data
