#include "data/XmlDocument.h"
#include "mod/ModDescription.h"
#include "support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const char* const kCatalogue = "<Products><Product GUID=\"1010017\" Name=\"Münzen\" Icon=\"m\" "
                               "Category=\"\" Region=\"x\" Pos=\"\"/>"
                               "<Product GUID=\"1010196\" Name=\"Bretter\" Icon=\"b\" "
                               "Category=\"Baustoff\" Region=\"x\" Pos=\"\"/>"
                               "<Product GUID=\"1010200\" Name=\"Fische\" Icon=\"f\" "
                               "Category=\"Markt\" Region=\"x\" Pos=\"\"/>"
                               "<Product GUID=\"1010052\" Name=\"Bauern\" Icon=\"B\" "
                               "Category=\"Arbeitskraft\" Region=\"x\" Pos=\"\"/>"
                               "<Product GUID=\"1010192\" Name=\"Getreide\" Icon=\"g\" "
                               "Category=\"Rohstoff\" Region=\"x\" Pos=\"\"/>"
                               "<Product GUID=\"0\" Name=\"keine Auswahl\" Icon=\"NoInput\" "
                               "Category=\"notAllowed\" Region=\"x\" Pos=\"\"/>"
                               "</Products>";
const char* const kFields = "<Fields><Field GUID=\"1010270\" Singular=\"Getreidefeld\" "
                            "Plural=\"Getreidefelder\" /></Fields>";

// The fishery's build costs and upkeep, which every case but the upkeep one shares.
const char* const kCosts =
    "<Cost><Costs><Item><Amount>100</Amount><!--Münzen--><Ingredient>1010017</Ingredient></Item>"
    "<Item><Amount>2</Amount><Ingredient>1010196</Ingredient></Item><Item/>"
    "<Item><Amount>3</Amount></Item><Item><Amount/><Ingredient>1010196</Ingredient></Item>"
    "</Costs></Cost>";
const char* const kUpkeep =
    "<Maintenance><Maintenances><Item><!--Münzen--><Product>1010017</Product><Amount>40</Amount>"
    "</Item><Item><Product>1010052</Product><Amount>25</Amount></Item></Maintenances>"
    "</Maintenance>";

QString buffEntry(const QString& set, const QString& chain, const QStringList& filled = {}) {
    QString xml = QStringLiteral("<Buff GUID=\"2000502800\"");
    for (int k = 0; k < 9; ++k) {
        const QStringList slot = filled.value(k, QStringLiteral("0 1 1")).split(QLatin1Char(' '));
        xml += QStringLiteral(" P%1=\"%2\" A%1=\"%3\" Z%1=\"%4\"")
                   .arg(k)
                   .arg(slot[0], slot[1], slot[2]);
    }
    return xml + QStringLiteral(" Set=\"%1\" Chain=\"%2\"/>").arg(set, chain);
}

// The lines after the fixed start (title, empty line, name, "Baukosten:" and the cost lines).
QStringList describe(const QString& values, const QString& buff) {
    const data::XmlDocument record = data::XmlDocument::parse(
        (QStringLiteral("<Asset><Values>") + values + QStringLiteral("</Values></Asset>")).toUtf8(),
        QStringLiteral("record"));
    const data::XmlDocument products = data::XmlDocument::parse(kCatalogue, QStringLiteral("p"));
    const data::XmlDocument fields = data::XmlDocument::parse(kFields, QStringLiteral("f"));
    const data::XmlDocument buffs = data::XmlDocument::parse(buff.toUtf8(), QStringLiteral("b"));
    QStringList lines = mod::ModDescriptionLines(
        {QStringLiteral("Fischerei"), record.root(), products.root(), fields.root(), buffs.root()});
    const QStringList start = {QStringLiteral("Velmora Cindral"), QString(),
                               QStringLiteral("Fischerei"), QStringLiteral("Baukosten:")};
    EXPECT_EQ(lines.mid(0, 4), start);
    return lines.mid(4);
}

TEST(ModDescription, RowsFollowTheRecord) {
    struct Case {
        const char* what;
        QString values; // the content of Values besides the costs
        QString buff;
        QStringList lines; // the lines after the cost lines
    };
    // An item without ingredient stands without name; an item with an empty amount is left out.
    const QStringList costLines = {QStringLiteral(" 100 Münzen"), QStringLiteral(" 2 Bretter"),
                                   QStringLiteral(" 3 ")};
    const QString unset = buffEntry(QStringLiteral("0"), QStringLiteral("0"));
    const QString output = QStringLiteral(
        "<FactoryBase><FactoryOutputs><Item><Product>1010200</Product><Amount>1</Amount></Item>"
        "</FactoryOutputs></FactoryBase>");
    const QString upkeep = QString::fromUtf8(kUpkeep);
    const auto tail = [&](const char* middle) {
        return (QStringLiteral("keine Lieferrohstoffe\nAusgangsware:\nBetriebskosten:\n 40 Münzen\n"
                               " 25 Bauern\n") +
                QString::fromUtf8(middle))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    const auto farm = [&](const char* limit, const char* radius) {
        QString xml = QStringLiteral("<ModuleOwner><ConstructionOptions><Item><ModuleGUID>1010270"
                                     "</ModuleGUID></Item></ConstructionOptions>");
        if (limit)
            xml += QStringLiteral("<ModuleLimits><Main><Limit>%1</Limit></Main></ModuleLimits>")
                       .arg(QString::fromLatin1(limit));
        if (radius)
            xml += QStringLiteral("<ModuleBuildRadius>%1</ModuleBuildRadius>")
                       .arg(QString::fromLatin1(radius));
        return xml + QStringLiteral("</ModuleOwner>") + upkeep;
    };
    const auto electricity = [&](const char* mandatory, const char* boosted) {
        return QStringLiteral("<Industrializable><MandatoryIndustrialization>%1"
                              "</MandatoryIndustrialization><BoostedByIndustrialization>%2"
                              "</BoostedByIndustrialization></Industrializable>")
                   .arg(QString::fromLatin1(mandatory), QString::fromLatin1(boosted)) +
               upkeep;
    };
    const Case cases[] = {
        {"fishery: no inputs, output, incidents possible",
         output + upkeep +
             QStringLiteral("<IncidentInfectable><Infectable><Fire>1</Fire></Infectable>"
                            "</IncidentInfectable>"),
         unset,
         {QStringLiteral("keine Lieferrohstoffe"), QStringLiteral("Ausgangsware:"),
          QStringLiteral(" 1 Fische"), QStringLiteral("Betriebskosten:"),
          QStringLiteral(" 40 Münzen"), QStringLiteral(" 25 Bauern"),
          QStringLiteral("Zwischenfälle möglich")}},
        {"only empty input items",
         QStringLiteral(
             "<FactoryBase><FactoryInputs><Item/><Item/></FactoryInputs></FactoryBase>") +
             upkeep,
         unset,
         {QStringLiteral("Lieferrohstoffe:"), QStringLiteral("Ausgangsware:"),
          QStringLiteral("Betriebskosten:"), QStringLiteral(" 40 Münzen"),
          QStringLiteral(" 25 Bauern")}},
        {"inputs with the water source, which the catalogue lacks",
         QStringLiteral(
             "<FactoryBase><FactoryInputs><Item><!--Getreide--><Product>1010192</Product>"
             "<Amount>1</Amount></Item><Item><Product>917</Product></Item><Item/>"
             "<Item><Product>555</Product></Item></FactoryInputs></FactoryBase>") +
             upkeep,
         unset,
         {QStringLiteral("Lieferrohstoffe:"), QStringLiteral(" Getreide"),
          QStringLiteral(" Wasserquelle"), QStringLiteral(" unbekannte Ware 555"),
          QStringLiteral("Ausgangsware:"), QStringLiteral("Betriebskosten:"),
          QStringLiteral(" 40 Münzen"), QStringLiteral(" 25 Bauern")}},
        {"one field, contact", farm("1", "0"), unset,
         tail("Erforderliche Felder: 1 Getreidefeld\nKontaktflächenbau")},
        {"64 fields, radius", farm("64", "9"), unset,
         tail("Erforderliche Felder: 64 Getreidefelder\nerweiterter Flächenbau")},
        {"fields without radius", farm("3", nullptr), unset,
         tail("Erforderliche Felder: 3 Getreidefelder")},
        {"limit 0 in the plural", farm("0", nullptr), unset,
         tail("Erforderliche Felder: 0 Getreidefelder")},
        {"module without limit", farm(nullptr, "9"), unset, tail("")},
        {"influence radius",
         QStringLiteral("<FreeAreaProductivity><InfluenceRadius>11</InfluenceRadius>"
                        "</FreeAreaProductivity>") +
             upkeep,
         unset, tail(" 11 Felder Nutzungsradius")},
        {"electricity required and used", electricity("1", "1"), unset,
         tail("Elektrizität erforderlich\nElektrizität verwenden")},
        {"electricity required only", electricity("1", "0"), unset,
         tail("Elektrizität erforderlich")},
        {"electricity used only", electricity("0", "1"), unset, tail("")},
        {"incidents switched off",
         upkeep + QStringLiteral("<IncidentInfectable><Added>true</Added>"
                                 "<IncidentInfectionChanceFactors><Fire><BaseChance>0</BaseChance>"
                                 "</Fire></IncidentInfectionChanceFactors></IncidentInfectable>"),
         unset, tail("Zwischenfälle nicht möglich")},
        {"incident factors only",
         upkeep + QStringLiteral("<IncidentInfectable><IncidentInfectionChanceFactors/>"
                                 "</IncidentInfectable>"),
         unset, tail("Zwischenfälle möglich")},
        {"buff with products, no fertility", upkeep,
         buffEntry(QStringLiteral("1"), QStringLiteral("0"),
                   {QStringLiteral("1010196 2 5"), QStringLiteral("0 1 1"),
                    QStringLiteral("1010200 3 7")}),
         tail("zusätzliche Waren:\n Bretter (5/2)\n Fische (7/3)")},
        {"buff set without products, with fertility", upkeep,
         buffEntry(QStringLiteral("1"), QStringLiteral("1010571")),
         tail("zusätzliche Waren:\nFruchtbarkeit hinzufügen : Getreide")},
        {"buff not set", upkeep,
         buffEntry(QStringLiteral("0"), QStringLiteral("0"), {QStringLiteral("1010196 2 5")}),
         tail("")},
        {"four upkeep items",
         QStringLiteral("<Maintenance><Maintenances><Item><Product>1010017</Product><Amount>1"
                        "</Amount></Item><Item><Product>1010017</Product><Amount>2</Amount></Item>"
                        "<Item><Product>1010017</Product><Amount>3</Amount></Item><Item><Product>"
                        "1010017</Product><Amount>4</Amount></Item></Maintenances></Maintenance>"),
         unset,
         {QStringLiteral("keine Lieferrohstoffe"), QStringLiteral("Ausgangsware:"),
          QStringLiteral("Betriebskosten:")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList lines = describe(QString::fromUtf8(kCosts) + c.values, c.buff);
        EXPECT_EQ(lines.mid(0, 3), costLines);
        EXPECT_EQ(lines.mid(3), c.lines);
    }
}

TEST(ModDescription, JoinedByBackslashN) {
    const data::XmlDocument record =
        data::XmlDocument::parse("<Asset><Values/></Asset>", QStringLiteral("r"));
    const data::XmlDocument products = data::XmlDocument::parse(kCatalogue, QStringLiteral("p"));
    const data::XmlDocument fields = data::XmlDocument::parse(kFields, QStringLiteral("f"));
    const data::XmlDocument buffs = data::XmlDocument::parse(
        buffEntry(QStringLiteral("0"), QStringLiteral("0")).toUtf8(), QStringLiteral("b"));
    EXPECT_EQ(mod::BuildModDescription({QStringLiteral("Say \"hi\""), record.root(),
                                        products.root(), fields.root(), buffs.root()}),
              QStringLiteral("Velmora Cindral\\n\\nSay \\\"hi\\\"\\nBaukosten:\\n"
                             "keine Lieferrohstoffe\\nAusgangsware:\\nBetriebskosten:"));
}

// The whole file for the fishery's mod: its title, a description already in its JSON form and a
// picture; a title with quotes is escaped wherever it stands.
TEST(ModInfoJson, FortyFourLinesInTheirOrder) {
    const char* const expected = R"({
"Version": "20.1.3.0",
"ModID": "(1010278) Fischerei",
  "IncompatibleIds": null,
  "ModDependencies": null,
  "Category": {
    "German": "Cindral",
    "English": "Cindral",
    "French": "Cindral",
    "Italian": "Cindral",
    "Polish": "Cindral",
    "Russian": "Cindral"
  },
  "ModName": {
    "German": "(1010278) Fischerei",
    "English": "(1010278) Fischerei",
    "French": "(1010278) Fischerei",
    "Italian": "(1010278) Fischerei",
    "Polish": "(1010278) Fischerei",
    "Russian": "(1010278) Fischerei"
  },
  "Description": {
    "German": "Velmora Cindral\n\nFischerei\nBaukosten:\n 100 Münzen",
    "English": null,
    "French": null,
    "Italian": null,
    "Polish": null,
    "Russian": null
  },
  "KnownIssues": [
    {
    "German": null,
    "English": null,
    "French": null,
    "Italian": null,
    "Polish": null,
    "Russian": null
    }
  ],
  "DLCDependencies": null,
  "CreatorName": "",
  "CreatorContact": "",
  "Image": "iVBORw=="
}
)";
    const QByteArray json = mod::ModInfoJson(
        QStringLiteral("20.1.3.0"), QStringLiteral("(1010278) Fischerei"),
        QStringLiteral("Velmora Cindral\\n\\nFischerei\\nBaukosten:\\n 100 Münzen"),
        QByteArray("\x89PNG", 4));
    EXPECT_EQ(json.toStdString(), QByteArray(expected).replace("\n", "\r\n").toStdString());

    const QByteArray quoted = mod::ModInfoJson(QStringLiteral("1.0"), QStringLiteral("(5) A \"B\""),
                                               QStringLiteral("x\\ny"), QByteArray());
    const QList<QByteArray> lines = quoted.split('\n');
    ASSERT_EQ(lines.size(), 45); // 44 lines and the empty rest after the last CR LF
    EXPECT_EQ(lines[2], "\"ModID\": \"(5) A \\\"B\\\"\",\r");
    EXPECT_EQ(lines[19], "    \"Russian\": \"(5) A \\\"B\\\"\"\r");
    QJsonParseError error;
    const QJsonObject info = QJsonDocument::fromJson(quoted, &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(info[QStringLiteral("ModID")].toString(), QStringLiteral("(5) A \"B\""));
    EXPECT_EQ(info[QStringLiteral("Description")].toObject()[QStringLiteral("German")].toString(),
              QStringLiteral("x\ny"));
}

} // namespace
