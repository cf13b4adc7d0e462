#include "mod/ModDescription.h"

#include "data/AdditionalProducts.h"
#include "data/XmlDocument.h"
#include "mod/ModText.h"

#include <QHash>
#include <functional>

namespace velmora::mod {

using data::attributeTextAt;
using data::childText;
using data::fromUtf8;
using data::utf8;

namespace {

// The site input of a water source is no good of the catalogue; the description names it.
const QString kWaterSource = QStringLiteral("917");

QString text(const pugi::xml_node& context, const char* path) {
    return fromUtf8(childText(context, path));
}

bool has(const pugi::xml_node& context, const char* path) {
    return bool(context.first_element_by_path(path));
}

pugi::xml_node productEntry(const pugi::xml_node& products, const QString& guid) {
    return data::selectNode(products, "Product[@GUID=" + data::xpathLiteral(guid) + "]");
}

} // namespace

QString GoodName(const pugi::xml_node& products, const QString& guid) {
    if (const pugi::xml_node p = productEntry(products, guid))
        return fromUtf8(attributeTextAt(p, 1));
    if (guid == kWaterSource)
        return QStringLiteral("Wasserquelle");
    return QStringLiteral("unbekannte Ware ") + guid;
}

namespace {

// A cost ingredient without entry (or without ingredient) stands without name.
QString costName(const pugi::xml_node& products, const QString& guid) {
    if (guid.isEmpty())
        return {};
    const pugi::xml_node p = productEntry(products, guid);
    return p ? fromUtf8(attributeTextAt(p, 1)) : QString();
}

QString fieldName(const pugi::xml_node& fields, const QString& guid, bool singular) {
    const pugi::xml_node f =
        data::selectNode(fields, "Field[@GUID=" + data::xpathLiteral(guid) + "]");
    if (!f)
        return singular ? QStringLiteral("Feld") : QStringLiteral("Felder");
    return fromUtf8(attributeTextAt(f, singular ? 1 : 2));
}

QString buffAt(const pugi::xml_node& buff, int position) {
    return fromUtf8(attributeTextAt(buff, position));
}

} // namespace

QString FertilityName(const QString& guid) {
    // The one fertility table of the data layer, which the additional-products editor reads too.
    const std::optional<data::Fertility> fertility = data::FertilityByGuid(guid);
    return fertility ? fertility->name : QString();
}

QStringList ModDescriptionLines(const DescriptionSources& s) {
    const pugi::xml_node record = s.record;
    QStringList lines = {QStringLiteral("Velmora Cindral"), QString(), s.buildingName,
                         QStringLiteral("Baukosten:")};

    for (const pugi::xml_node& item : data::selectNodes(record, "Values/Cost/Costs/Item")) {
        const QString amount = text(item, "Amount");
        if (!amount.isEmpty())
            lines << QLatin1Char(' ') + amount + QLatin1Char(' ') +
                         costName(s.products, text(item, "Ingredient"));
    }

    const std::vector<pugi::xml_node> inputs =
        data::selectNodes(record, "Values/FactoryBase/FactoryInputs/Item");
    lines << (inputs.empty() ? QStringLiteral("keine Lieferrohstoffe")
                             : QStringLiteral("Lieferrohstoffe:"));
    for (const pugi::xml_node& item : inputs)
        if (item.child("Product"))
            lines << QLatin1Char(' ') + GoodName(s.products, text(item, "Product"));

    lines << QStringLiteral("Ausgangsware:");
    if (const pugi::xml_node outputs =
            record.first_element_by_path("Values/FactoryBase/FactoryOutputs")) {
        const pugi::xml_node product = data::selectNode(outputs, "Item/Product");
        const pugi::xml_node amount = data::selectNode(outputs, "Item/Amount");
        if (product)
            lines << QLatin1Char(' ') + fromUtf8(amount.child_value()) + QLatin1Char(' ') +
                         GoodName(s.products, fromUtf8(product.child_value()));
    }

    lines << QStringLiteral("Betriebskosten:");
    const std::vector<pugi::xml_node> upkeep =
        data::selectNodes(record, "Values/Maintenance/Maintenances/Item");
    if (upkeep.size() == 1 || upkeep.size() == 2)
        for (const pugi::xml_node& item : upkeep)
            lines << QLatin1Char(' ') + text(item, "Amount") + QLatin1Char(' ') +
                         GoodName(s.products, text(item, "Product"));

    if (text(record, "Values/Industrializable/MandatoryIndustrialization") == QStringLiteral("1")) {
        lines << QStringLiteral("Elektrizität erforderlich");
        if (text(record, "Values/Industrializable/BoostedByIndustrialization") ==
            QStringLiteral("1"))
            lines << QStringLiteral("Elektrizität verwenden");
    }

    if (has(record, "Values/ModuleOwner/ModuleLimits/Main/Limit")) {
        // One module is named in the singular; every other count, 0 included, in the plural.
        const QString limit = text(record, "Values/ModuleOwner/ModuleLimits/Main/Limit");
        const QString module =
            text(record, "Values/ModuleOwner/ConstructionOptions/Item/ModuleGUID");
        lines << QStringLiteral("Erforderliche Felder: ") + limit + QLatin1Char(' ') +
                     fieldName(s.fields, module, limit == QStringLiteral("1"));
        if (has(record, "Values/ModuleOwner/ModuleBuildRadius")) {
            const QString radius = text(record, "Values/ModuleOwner/ModuleBuildRadius");
            if (radius == QStringLiteral("0"))
                lines << QStringLiteral("Kontaktflächenbau");
            else if (radius > QStringLiteral("0"))
                lines << QStringLiteral("erweiterter Flächenbau");
        }
    }

    if (has(record, "Values/FreeAreaProductivity/InfluenceRadius"))
        lines << QLatin1Char(' ') + text(record, "Values/FreeAreaProductivity/InfluenceRadius") +
                     QStringLiteral(" Felder Nutzungsradius");

    if (has(record, "Values/IncidentInfectable/Added"))
        lines << QStringLiteral("Zwischenfälle nicht möglich");
    else if (has(record, "Values/IncidentInfectable/Infectable") ||
             has(record, "Values/IncidentInfectable/IncidentInfectionChanceFactors"))
        lines << QStringLiteral("Zwischenfälle möglich");

    if (buffAt(s.buff, 28) == QStringLiteral("1")) {
        lines << QStringLiteral("zusätzliche Waren:");
        for (int k = 0; k < data::kAddSlots; ++k) {
            const QString product = buffAt(s.buff, data::buffProductPosition(k));
            if (product != QStringLiteral("0"))
                lines << QLatin1Char(' ') + GoodName(s.products, product) + QStringLiteral(" (") +
                             buffAt(s.buff, data::buffCyclePosition(k)) + QLatin1Char('/') +
                             buffAt(s.buff, data::buffAmountPosition(k)) + QLatin1Char(')');
        }
    }

    const QString chain = buffAt(s.buff, 29);
    if (chain != QStringLiteral("0")) {
        const QString name = FertilityName(chain);
        lines << QStringLiteral("Fruchtbarkeit hinzufügen : ") + (name.isEmpty() ? chain : name);
    }
    return lines;
}

QString BuildModDescription(const DescriptionSources& sources) {
    QStringList escaped;
    for (const QString& line : ModDescriptionLines(sources))
        escaped << jsonEscaped(line);
    return escaped.join(QStringLiteral("\\n"));
}

QByteArray ModInfoJson(const QString& version, const QString& title, const QString& description,
                       const QByteArray& picturePng) {
    static const char* const kLanguages[] = {"German",  "English", "French",
                                             "Italian", "Polish",  "Russian"};
    const QString v = jsonEscaped(version), t = jsonEscaped(title);
    QStringList lines;
    // One entry per language, the last one without a comma.
    const auto group = [&](const char* indent, const std::function<QString(int)>& value) {
        for (int i = 0; i < 6; ++i)
            lines << QString::fromLatin1(indent) + QLatin1Char('"') +
                         QString::fromLatin1(kLanguages[i]) + QStringLiteral("\": ") + value(i) +
                         (i < 5 ? QStringLiteral(",") : QString());
    };
    const auto quoted = [](const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); };
    const auto null = [](int) { return QStringLiteral("null"); };

    lines << QStringLiteral("{") << QStringLiteral("\"Version\": \"") + v + QStringLiteral("\",")
          << QStringLiteral("\"ModID\": \"") + t + QStringLiteral("\",")
          << QStringLiteral("  \"IncompatibleIds\": null,")
          << QStringLiteral("  \"ModDependencies\": null,") << QStringLiteral("  \"Category\": {");
    group("    ", [&](int) { return quoted(QStringLiteral("Cindral")); });
    lines << QStringLiteral("  },") << QStringLiteral("  \"ModName\": {");
    group("    ", [&](int) { return quoted(t); });
    lines << QStringLiteral("  },") << QStringLiteral("  \"Description\": {");
    group("    ", [&](int i) { return i == 0 ? quoted(description) : QStringLiteral("null"); });
    lines << QStringLiteral("  },") << QStringLiteral("  \"KnownIssues\": [")
          << QStringLiteral("    {");
    group("    ", null);
    lines << QStringLiteral("    }") << QStringLiteral("  ],")
          << QStringLiteral("  \"DLCDependencies\": null,")
          << QStringLiteral("  \"CreatorName\": \"\",")
          << QStringLiteral("  \"CreatorContact\": \"\",")
          << QStringLiteral("  \"Image\": \"") + QString::fromLatin1(picturePng.toBase64()) +
                 QStringLiteral("\"")
          << QStringLiteral("}");
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace velmora::mod
