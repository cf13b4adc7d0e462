#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/ProductionSettings.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"
#include "mod/ModTestSupport.h"
#include "mod/ModText.h"
#include "mod/ModWriter.h"
#include "support/NameComments.h"
#include "support/ScriptedWriter.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kFishery = QStringLiteral("1010278");       // no base asset, no fertility
const QString kDerived = QStringLiteral("100417");        // derived from 100416
const QString kLobsterFishery = QStringLiteral("118729"); // needs fertility 118727

data::XmlDocument assetsOf(const QString& folder) {
    return data::XmlDocument::load(modFile(folder, kAssetsFile));
}

// The written record (the content of the replace ModOp).
pugi::xml_node writtenRecord(const data::XmlDocument& assets) {
    return data::selectNode(assets.root(), "ModOp[@Type='replace']/Asset");
}

QString text(const pugi::xml_node& context, const char* path) {
    return data::fromUtf8(data::childText(context, path));
}

TEST(WriteMod, FisheryGetsItsFolderFilesAndFlag) {
    ShippedData d;
    const QByteArray working = readBytes(d.file(QStringLiteral("Buildings.xml")));
    const QByteArray buffs = readBytes(d.file(QStringLiteral("BuffsShort.xml")));

    const mod::WrittenMod mod = d.activate(kFishery);

    EXPECT_EQ(d.modFolders(), QStringList{QStringLiteral("[Cindral] (1010278) Fischerei")});
    EXPECT_EQ(mod.folder, mod::ActiveModFolder(d.mods, kFishery, QStringLiteral("Fischerei")));
    EXPECT_TRUE(mod.leftFolders.isEmpty());
    const auto entry = data::FindBuilding(d.data, kFishery);
    EXPECT_EQ(entry->isExported, QStringLiteral("true"));
    EXPECT_EQ(entry->isChanged, QStringLiteral("false")); // the writer leaves IsChanged alone
    EXPECT_EQ(readBytes(d.file(QStringLiteral("Buildings.xml"))), working);
    EXPECT_EQ(readBytes(d.file(QStringLiteral("BuffsShort.xml"))), buffs);

    // assets.xml: UTF-8 without byte-order mark, CR LF, header between two rules.
    const QByteArray assets = readBytes(modFile(mod.folder, kAssetsFile));
    const QList<QByteArray> lines = assets.split('\n');
    EXPECT_EQ(lines[0], "<!--\r");
    EXPECT_EQ(lines[1], QByteArray(70, '*') + "\r");
    EXPECT_EQ(lines[2].trimmed(), "Velmora Cindral V 20.1.3.0");
    EXPECT_EQ(lines[3].trimmed(), "(1010278) Fischerei GUID : (1010278)");
    EXPECT_TRUE(lines[4].trimmed().startsWith("erzeugt am : "));
    EXPECT_EQ(lines[5].trimmed(), "by: tester");
    EXPECT_EQ(lines[6], QByteArray(70, '*') + "\r");
    EXPECT_EQ(lines[7], "-->\r");
    EXPECT_EQ(lines[8], "<ModOps>\r");
    EXPECT_EQ(lines[9],
              "  <ModOp Type=\"replace\" Path=\"//Asset[Values/Standard/GUID='1010278']\">\r");
    EXPECT_EQ(lines[10], "    <Asset>\r");
    EXPECT_FALSE(assets.contains("\n\n"));
    EXPECT_EQ(assets.count('\n'), assets.count("\r\n"));
    EXPECT_TRUE(assets.endsWith("</ModOps>\r\n"));

    const data::XmlDocument doc = assetsOf(mod.folder);
    EXPECT_EQ(data::selectNodes(doc.root(), "ModOp").size(), 1u); // buff entry not set
    const pugi::xml_node record = writtenRecord(doc);
    EXPECT_EQ(text(record, "Values/Standard/IconFilename"),
              QStringLiteral("/data/icon/icon_1010278.png"));
    for (const char* gone :
         {"Values/Standard/Region", "Values/Standard/Local", "Values/Standard/Template",
          "Values/Standard/BaseAssetGUID", "BaseAssetGUID"})
        EXPECT_FALSE(record.first_element_by_path(gone)) << gone;
    EXPECT_EQ(text(record, "Template"), QStringLiteral("FactoryBuilding7"));
    EXPECT_EQ(text(record, "Values/FactoryBase/IsMainFactory"), QStringLiteral("1"));
    EXPECT_EQ(text(record, "Values/Standard/Production"), QStringLiteral("1"));
    EXPECT_TRUE(data::selectNode(record, "Values/Cost/Costs/Item/comment()")); // name comments

    // The pictures: the icon with the star over it, the buff picture, the copy in Active.png.
    const QImage icon(modFile(mod.folder, "data/icon/icon_1010278.png"));
    ASSERT_EQ(icon.size(), QSize(128, 128));
    EXPECT_EQ(icon.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(icon.pixel(100, 100),
              d.pictures.picture(QStringLiteral("icon_fish"), {128, 128}).pixel(0, 0));
    EXPECT_EQ(icon, mod.markedIcon);
    const QImage buff(modFile(mod.folder, "data/icon/Buff.png"));
    EXPECT_EQ(buff.size(), QSize(128, 128));
    EXPECT_EQ(buff.pixel(10, 10),
              d.pictures.picture(QStringLiteral("buff"), {128, 128}).pixel(0, 0));
    EXPECT_EQ(readBytes(d.file(QStringLiteral("Active.png"))),
              readBytes(modFile(mod.folder, "data/icon/icon_1010278.png")));
}

TEST(WriteMod, ModInfoHoldsTitleDescriptionAndPicture) {
    ShippedData d;
    const mod::WrittenMod mod = d.activate(kFishery);
    const QByteArray json = readBytes(modFile(mod.folder, "modinfo.json"));
    EXPECT_FALSE(json.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(json.endsWith("}\r\n"));
    EXPECT_EQ(json.count("\r\n"), 44);
    const QJsonObject info = QJsonDocument::fromJson(json).object();
    const QString title = QStringLiteral("(1010278) Fischerei");
    EXPECT_EQ(info[QStringLiteral("Version")].toString(), QStringLiteral("20.1.3.0"));
    EXPECT_EQ(info[QStringLiteral("ModID")].toString(), title);
    for (const QJsonValue& name : info[QStringLiteral("ModName")].toObject())
        EXPECT_EQ(name.toString(), title);
    EXPECT_EQ(info[QStringLiteral("Description")].toObject()[QStringLiteral("German")].toString(),
              QStringLiteral("Velmora Cindral\n\nFischerei\nBaukosten:\n 100 Münzen\n 2 Bretter\n"
                             "keine Lieferrohstoffe\nAusgangsware:\n 1 Fische\nBetriebskosten:\n"
                             " 40 Münzen\n 25 Bauern\nZwischenfälle möglich"));
    EXPECT_EQ(QByteArray::fromBase64(info[QStringLiteral("Image")].toString().toLatin1()),
              readBytes(d.file(QStringLiteral("Active.png"))));
}

// The buff block follows the entry's Set, its slots and its Chain; the fertility only for a
// building that needs one.
TEST(WriteMod, BuffBlockFollowsTheBuffEntry) {
    struct Case {
        const char* what;
        QString building;
        std::vector<std::pair<const char*, QString>> buff; // values set in the entry
        int modOps;
        QStringList products;   // Product, cycle, amount of each item, in order
        QString addedFertility; // "" = none
    };
    const QString one = QStringLiteral("1"), zero = QStringLiteral("0");
    const Case cases[] = {
        {"Set 0", kFishery, {{"P0", QStringLiteral("1010200")}}, 1, {}, {}},
        {"Set 1 without products", kFishery, {{"Set", one}}, 2, {}, {}},
        {"slots 0 and 3",
         kFishery,
         {{"Set", one},
          {"P0", QStringLiteral("1010196")},
          {"A0", QStringLiteral("2")},
          {"Z0", QStringLiteral("5")},
          {"P3", QStringLiteral("1010200")},
          {"A3", QStringLiteral("3")},
          {"Z3", QStringLiteral("7")}},
         2,
         {QStringLiteral("1010196 5 2"), QStringLiteral("1010200 7 3")},
         {}},
        {"fertility for a building that needs none",
         kFishery,
         {{"Set", one}, {"Chain", QStringLiteral("118727")}},
         2,
         {},
         {}},
        {"fertility for a building that needs it",
         kLobsterFishery,
         {{"Set", one}, {"Chain", QStringLiteral("118727")}},
         2,
         {},
         QStringLiteral("118727")},
        {"needed fertility, Chain 0", kLobsterFishery, {{"Set", one}, {"Chain", zero}}, 2, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShippedData d;
        d.setBuff(c.building, c.buff);
        const mod::WrittenMod mod = d.activate(c.building);
        EXPECT_TRUE(QFileInfo::exists(modFile(mod.folder, "data/icon/Buff.png")));
        const data::XmlDocument doc = assetsOf(mod.folder);
        EXPECT_EQ(int(data::selectNodes(doc.root(), "ModOp").size()), c.modOps);
        if (c.modOps == 1)
            continue;
        const pugi::xml_node buff =
            data::selectNode(doc.root(), "ModOp[@Type='addNextSibling'][@GUID='191143']/Asset");
        ASSERT_TRUE(buff);
        EXPECT_EQ(text(buff, "Template"), QStringLiteral("GuildhouseBuff"));
        EXPECT_EQ(text(buff, "Values/Standard/GUID"), data::FindBuilding(d.data, c.building)->add);
        EXPECT_EQ(text(buff, "Values/Standard/Name"),
                  QStringLiteral("Additional Products ") + c.building);
        EXPECT_EQ(text(buff, "Values/Standard/IconFilename"), QStringLiteral("data/icon/buff.png"));
        EXPECT_EQ(text(buff, "Values/ItemEffect/EffectTargets/Item/GUID"), c.building);
        const pugi::xml_node output =
            buff.first_element_by_path("Values/FactoryUpgrade/AdditionalOutput");
        ASSERT_TRUE(output);
        QStringList products;
        for (const pugi::xml_node& item : data::selectNodes(output, "Item"))
            products << text(item, "Product") + QLatin1Char(' ') +
                            text(item, "AdditionalOutputCycle") + QLatin1Char(' ') +
                            text(item, "Amount");
        EXPECT_EQ(products, c.products);
        if (products.isEmpty()) {
            EXPECT_FALSE(output.first_child()); // <AdditionalOutput/>
        }
        EXPECT_EQ(text(buff, "Values/FactoryUpgrade/AddedFertility"), c.addedFertility);
    }
}

TEST(WriteMod, DerivedBuildingEndsWithItsBaseAsset) {
    ShippedData d;
    const mod::WrittenMod mod = d.activate(kDerived);
    const data::XmlDocument doc = assetsOf(mod.folder);
    const pugi::xml_node record = writtenRecord(doc);
    EXPECT_FALSE(record.child("Template"));
    EXPECT_STREQ(record.last_child().name(), "BaseAssetGUID");
    EXPECT_EQ(text(record, "BaseAssetGUID"), QStringLiteral("100416"));
    EXPECT_STREQ(record.last_child().previous_sibling().name(), "Values");
    EXPECT_EQ(text(record, "Values/FactoryBase/IsMainFactory"), QStringLiteral("0"));
    EXPECT_FALSE(record.first_element_by_path("Values/Standard/BaseAssetGUID"));
}

// The record changes on small records: what each keeps and loses.
TEST(PrepareAssetRecord, ChangesOnlyTheCopy) {
    struct Case {
        const char* what;
        const char* record;
        const char* expected; // the record after the changes, unformatted
        const char* iconName;
    };
    const Case cases[] = {
        {"no base asset keeps Template",
         "<Asset><Template>T</Template><Values><Standard><GUID>5</GUID>"
         "<IconFilename>data/ui/icon_fish.png</IconFilename><Template>T</Template><Local>L</Local>"
         "<Region>1</Region><BaseAssetGUID>0</BaseAssetGUID><Production>1</Production>"
         "<Output>x</Output></Standard><FactoryBase><IsMainFactory>1</IsMainFactory></FactoryBase>"
         "</Values></Asset>",
         "<Asset><Template>T</Template><Values><Standard><GUID>5</GUID>"
         "<IconFilename>/data/icon/icon_5.png</IconFilename><Production>1</Production></Standard>"
         "<FactoryBase><IsMainFactory>1</IsMainFactory></FactoryBase></Values></Asset>",
         "icon_fish"},
        {"base asset replaces Template",
         "<Asset><Template>T</Template><Values><Standard><GUID>5</GUID>"
         "<IconFilename>a\\b\\icon_x.y.png</IconFilename><BaseAssetGUID>100416</BaseAssetGUID>"
         "</Standard><FactoryBase><IsMainFactory>1</IsMainFactory></FactoryBase></Values></Asset>",
         "<Asset><Values><Standard><GUID>5</GUID><IconFilename>/data/icon/icon_5.png</IconFilename>"
         "</Standard><FactoryBase><IsMainFactory>0</IsMainFactory></FactoryBase></Values>"
         "<BaseAssetGUID>100416</BaseAssetGUID></Asset>",
         "icon_x.y"},
        {"base asset without IsMainFactory",
         "<Asset><Template>T</Template><Values><Standard><GUID>5</GUID>"
         "<IconFilename>icon_z.png</IconFilename><BaseAssetGUID>7</BaseAssetGUID></Standard>"
         "</Values></Asset>",
         "<Asset><Values><Standard><GUID>5</GUID><IconFilename>/data/icon/icon_5.png</IconFilename>"
         "</Standard></Values><BaseAssetGUID>7</BaseAssetGUID></Asset>",
         "icon_z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const data::XmlDocument doc = data::XmlDocument::parse(c.record, QStringLiteral("record"));
        pugi::xml_document copy;
        const pugi::xml_node record = copy.append_copy(doc.root());
        EXPECT_EQ(mod::PrepareAssetRecord(record, QStringLiteral("5")),
                  QString::fromUtf8(c.iconName));
        std::ostringstream out;
        record.print(out, "", pugi::format_raw);
        EXPECT_EQ(out.str(), c.expected);
    }
}

TEST(HeaderLines, CentredWithinTheRule) {
    struct Case {
        int length;
        int blanks;
    };
    for (const Case c : {Case{10, 30}, Case{67, 1}, Case{68, 1}, Case{69, 0}, Case{70, 0},
                         Case{71, 0}, Case{0, 35}}) {
        SCOPED_TRACE(c.length);
        const QString line(c.length, QLatin1Char('x'));
        EXPECT_EQ(mod::centredHeaderLine(line), QString(c.blanks, QLatin1Char(' ')) + line);
    }
    const QStringList lines = mod::HeaderLines(
        QStringLiteral("1.2.3.4"), QStringLiteral("1010278"), QStringLiteral("Fischerei"),
        QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), QStringLiteral("\tanna  "));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
              QString(22, QLatin1Char(' ')) + QStringLiteral("Velmora Cindral V 1.2.3.4"));
    EXPECT_EQ(lines[1].trimmed(), QStringLiteral("(1010278) Fischerei GUID : (1010278)"));
    EXPECT_TRUE(lines[2].trimmed().startsWith(QStringLiteral("erzeugt am : ")));
    EXPECT_EQ(lines[3], QString(31, QLatin1Char(' ')) + QStringLiteral("by: anna"));
}

TEST(WriteMod, ActivatingTwiceLeavesOneFreshFolder) {
    ShippedData d;
    const QString name = QStringLiteral("Fischerei");
    const QString hyphenated = mod::HyphenatedModFolder(d.mods, kFishery, name);
    writeBytes(hyphenated + QStringLiteral("/modinfo.json"), "{}");
    // What an activation that was stopped half-way leaves beside the mod folder.
    writeBytes(mod::NewModFolder(d.mods, kFishery, name) + QStringLiteral("/modinfo.json"), "{");
    const mod::WrittenMod first = d.activate(kFishery);
    writeBytes(first.folder + QStringLiteral("/data/user.txt"), "mine");

    const mod::WrittenMod second = d.activate(kFishery);

    EXPECT_EQ(second.folder, first.folder);
    EXPECT_EQ(d.modFolders(), QStringList{QStringLiteral("[Cindral] (1010278) Fischerei")});
    EXPECT_FALSE(QFileInfo::exists(first.folder + QStringLiteral("/data/user.txt")));
    EXPECT_TRUE(QFileInfo::exists(modFile(second.folder, "modinfo.json")));
}

TEST(WriteMod, UnusualValuesAreEscaped) {
    ShippedData d;
    // A name with characters that XML and JSON escape, and a product name with quote,
    // backslash and a closing hyphen in the build costs and the buff.
    const QString name = QStringLiteral("Fisch & <Co's> \"--\u00FC\\-");
    mod::ModRequest request = d.request(kFishery);
    request.name = QStringLiteral("Fisch & Co's --Hütte");
    request.userName = QStringLiteral("a--b & c");
    data::XmlDocument products =
        data::XmlDocument::load(d.file(QStringLiteral("ProductsShort.xml")));
    data::selectNode(products.root(), "Product[@GUID='1010196']")
        .attribute("Name")
        .set_value(data::utf8(name).c_str());
    products.save();
    d.setBuff(kFishery, {{"Set", QStringLiteral("1")},
                         {"P0", QStringLiteral("1010196")},
                         {"A0", QStringLiteral("1&2")},
                         {"P1", QStringLiteral("1<0")}});

    const mod::WrittenMod mod = mod::WriteMod(request, d.pictures);

    // The comments holding the names stay well-formed for a strict reader.
    expectStrictlyWellFormed(readBytes(modFile(mod.folder, kAssetsFile)));
    const data::XmlDocument doc = assetsOf(mod.folder);
    EXPECT_EQ(text(data::selectNode(doc.root(), "ModOp/Asset/Values/FactoryUpgrade"),
                   "AdditionalOutput/Item/Amount"),
              QStringLiteral("1&2"));
    EXPECT_EQ(data::selectNodes(doc.root(), "ModOp/Asset/Values/FactoryUpgrade/AdditionalOutput/"
                                            "Item/Product")
                  .at(1)
                  .text()
                  .get(),
              std::string("1<0"));
    const QJsonObject info =
        QJsonDocument::fromJson(readBytes(modFile(mod.folder, "modinfo.json"))).object();
    EXPECT_EQ(info[QStringLiteral("ModID")].toString(),
              QStringLiteral("(1010278) Fisch & Co's --Hütte"));
    const QString description =
        info[QStringLiteral("Description")].toObject()[QStringLiteral("German")].toString();
    EXPECT_TRUE(description.contains(QStringLiteral(" 2 ") + name + QLatin1Char('\n')));
    EXPECT_TRUE(description.contains(QStringLiteral(" ") + name + QStringLiteral(" (0/1&2)")));
}

TEST(WriteMod, NameThatCanNotNameAFolderIsRefusedBeforeAnythingIsWritten) {
    const char* const refused[] = {"a/b",   "a\\b",  "C:",  "..",  "a..b",       "Tab\tName",
                                   "a<b",   "a>b",   "a|b", "a?b", "a*b",        "a\"b",
                                   "Name.", "Name ", "",    "  ",  "Zeile\nZwei"};
    const std::string tooLong(201, 'x');
    std::vector<const char*> names(std::begin(refused), std::end(refused));
    names.push_back(tooLong.c_str());
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ShippedData d;
        const QByteArray index = readBytes(d.file(QStringLiteral("BuildingsShort.xml")));
        const QByteArray active = readBytes(d.file(QStringLiteral("Active.png")));
        mod::ModRequest request = d.request(kFishery);
        request.name = QString::fromUtf8(name);
        EXPECT_FALSE(mod::ModFolderNameFault(request.name).isEmpty());
        try {
            mod::WriteMod(request, d.pictures);
            ADD_FAILURE() << "not refused";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Der Gebäudename")) ||
                        e.message().startsWith(QStringLiteral("Das Gebäude hat keinen Namen")));
        }
        EXPECT_THROW(mod::RemoveMod(d.data, d.mods, kFishery, request.name), data::DataError);
        EXPECT_TRUE(d.modFolders().isEmpty());
        EXPECT_TRUE(QDir(d.dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == 2);
        EXPECT_EQ(readBytes(d.file(QStringLiteral("BuildingsShort.xml"))), index);
        EXPECT_EQ(readBytes(d.file(QStringLiteral("Active.png"))), active);
    }
    for (const char* name :
         {"Fischerei", "Arsenal  Polizeiausruestung", "Öl-Raffinerie (Ost)", "Fisch & Co's"})
        EXPECT_EQ(mod::ModFolderNameFault(QString::fromUtf8(name)), QString()) << name;
}

// A failure at any write leaves the mod of the earlier activation and the flags as they were,
// and nothing beside the mod folder.
TEST(WriteMod, FailedWriteLeavesTheOldModInPlace) {
    ShippedData d;
    const mod::WrittenMod earlier = d.activate(kFishery);
    const QByteArray oldAssets = readBytes(modFile(earlier.folder, kAssetsFile));
    data::SetBuildingFlag(d.data, kFishery, data::kBuildingIsExported, false);
    const QByteArray index = readBytes(d.file(QStringLiteral("BuildingsShort.xml")));
    d.setBuff(kFishery, {{"Set", QStringLiteral("1")}}); // the new mod would differ

    // Writes, in order: assets.xml, the icon, Buff.png, Active.png, modinfo.json.
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        ScriptedWriter writer;
        writer.failWriteNumber = n;
        EXPECT_THROW(mod::WriteMod(d.request(kFishery), d.pictures, writer), data::DataError);
        EXPECT_EQ(d.modFolders(), QStringList{QFileInfo(earlier.folder).fileName()});
        EXPECT_EQ(readBytes(modFile(earlier.folder, kAssetsFile)), oldAssets);
        EXPECT_EQ(readBytes(d.file(QStringLiteral("BuildingsShort.xml"))), index);
    }
    // The old mod can not be moved aside for the new one.
    ScriptedWriter swapFails;
    const QString aside = mod::SetAsideModFolder(d.mods, kFishery, QStringLiteral("Fischerei"));
    swapFails.failReplaceOf = QFileInfo(aside).fileName();
    EXPECT_THROW(mod::WriteMod(d.request(kFishery), d.pictures, swapFails), data::DataError);
    EXPECT_EQ(d.modFolders(), QStringList{QFileInfo(earlier.folder).fileName()});
    EXPECT_EQ(readBytes(modFile(earlier.folder, kAssetsFile)), oldAssets);
    EXPECT_EQ(readBytes(d.file(QStringLiteral("BuildingsShort.xml"))), index);

    // Nothing can take the mod folder's name: the message tells where the old mod lies, and
    // the next activation installs the mod again.
    ScriptedWriter nameTaken;
    nameTaken.failReplaceOf = QFileInfo(earlier.folder).fileName();
    try {
        mod::WriteMod(d.request(kFishery), d.pictures, nameTaken);
        ADD_FAILURE() << "installed";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.message().contains(QFileInfo(aside).fileName())) << e.what();
    }
    EXPECT_EQ(readBytes(modFile(aside, kAssetsFile)), oldAssets);
    EXPECT_EQ(readBytes(d.file(QStringLiteral("BuildingsShort.xml"))), index);
    d.activate(kFishery);
    EXPECT_EQ(d.modFolders(), QStringList{QFileInfo(earlier.folder).fileName()});
}

// Writes one file damaged: what a faulty disk or driver could hand back.
class DamagingWriter final : public data::FileWriter {
public:
    QString damaged;
    void writeNew(const QString& path, const QByteArray& bytes) override {
        data::diskWriter().writeNew(
            path, QFileInfo(path).fileName() == damaged ? bytes.left(bytes.size() / 2) : bytes);
    }
    void replace(const QString& from, const QString& to) override {
        data::diskWriter().replace(from, to);
    }
    bool remove(const QString& path) override { return data::diskWriter().remove(path); }
};

// The buff entry is read by position, so one cut short would shift every value of the buff
// block: it is refused, naming the table, before anything is written.
TEST(WriteMod, ABuffEntryCutShortIsRefused) {
    ShippedData d;
    data::XmlDocument buffs = data::XmlDocument::load(d.file(QStringLiteral("BuffsShort.xml")));
    pugi::xml_node buff = data::selectNode(
        buffs.root(),
        "Buff[@GUID=\"" + data::utf8(data::FindBuilding(d.data, kFishery)->add) + "\"]");
    buff.remove_attribute(buff.last_attribute());
    buffs.save();
    try {
        d.activate(kFishery);
        FAIL() << "no error";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("BuffsShort.xml"))) << e.what();
    }
    EXPECT_TRUE(d.modFolders().isEmpty());
    EXPECT_EQ(data::FindBuilding(d.data, kFishery)->isExported, QStringLiteral("false"));
}

TEST(WriteMod, FileThatDoesNotParseIsNotInstalled) {
    for (const char* file : {"assets.xml", "modinfo.json"}) {
        SCOPED_TRACE(file);
        ShippedData d;
        DamagingWriter writer;
        writer.damaged = QString::fromLatin1(file);
        try {
            mod::WriteMod(d.request(kFishery), d.pictures, writer);
            ADD_FAILURE() << "installed";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(file))) << e.what();
        }
        EXPECT_TRUE(d.modFolders().isEmpty());
        EXPECT_EQ(data::FindBuilding(d.data, kFishery)->isExported, QStringLiteral("false"));
    }
}

TEST(WriteMod, MissingPictureIsNamedAndNothingIsWritten) {
    for (const char* picture : {"icon_fish", "star", "buff"}) {
        SCOPED_TRACE(picture);
        ShippedData d;
        d.pictures.missing.insert(QString::fromLatin1(picture));
        const QByteArray active = readBytes(d.file(QStringLiteral("Active.png")));
        try {
            d.activate(kFishery);
            ADD_FAILURE() << "written";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(picture), Qt::CaseInsensitive));
        }
        EXPECT_TRUE(d.modFolders().isEmpty());
        EXPECT_EQ(readBytes(d.file(QStringLiteral("Active.png"))), active);
    }
}

TEST(RemoveMod, DeletesBothFoldersAndClearsTheFlag) {
    struct Case {
        const char* what;
        bool active, hyphenated, userFiles;
    };
    for (const Case c : {Case{"both folders", true, true, false}, Case{"none", false, false, false},
                         Case{"user files inside", true, false, true},
                         Case{"hyphenated only", false, true, true}}) {
        SCOPED_TRACE(c.what);
        ShippedData d;
        const QString name = QStringLiteral("Fischerei");
        const QString other = mod::ActiveModFolder(d.mods, QStringLiteral("1010279"), name);
        writeBytes(other + QStringLiteral("/modinfo.json"), "{}");
        data::SetBuildingFlag(d.data, kFishery, data::kBuildingIsChanged, true);
        if (c.active)
            d.activate(kFishery);
        else
            data::SetBuildingFlag(d.data, kFishery, data::kBuildingIsExported, true);
        const QString active = mod::ActiveModFolder(d.mods, kFishery, name);
        const QString hyphenated = mod::HyphenatedModFolder(d.mods, kFishery, name);
        if (c.hyphenated)
            writeBytes(hyphenated + QStringLiteral("/modinfo.json"), "{}");
        if (c.userFiles)
            writeBytes((c.active ? active : hyphenated) + QStringLiteral("/notes/mine.txt"), "x");
        const QByteArray working = readBytes(d.file(QStringLiteral("Buildings.xml")));

        mod::RemoveMod(d.data, d.mods, kFishery, name);

        EXPECT_EQ(d.modFolders(), QStringList{QFileInfo(other).fileName()});
        const auto entry = data::FindBuilding(d.data, kFishery);
        EXPECT_EQ(entry->isExported, QStringLiteral("false"));
        EXPECT_EQ(entry->isChanged, QStringLiteral("true"));
        EXPECT_EQ(readBytes(d.file(QStringLiteral("Buildings.xml"))), working);
    }
}

// The building is looked up before any folder is deleted.
TEST(RemoveMod, UnknownBuildingChangesNothing) {
    ShippedData d;
    const QString folder =
        mod::ActiveModFolder(d.mods, QStringLiteral("42"), QStringLiteral("Fischerei"));
    writeBytes(folder + QStringLiteral("/modinfo.json"), "{}");
    EXPECT_THROW(mod::RemoveMod(d.data, d.mods, QStringLiteral("42"), QStringLiteral("Fischerei")),
                 data::DataError);
    EXPECT_TRUE(QFileInfo::exists(folder));
}

// The overview tells an active mod that holds the edits from one written before them.
TEST(ModIsCurrent, FollowsTheEditsAfterTheActivation) {
    ShippedData d;
    const QString local = data::FindBuilding(d.data, kFishery)->local;
    const auto current = [&] {
        data::EditorFiles files(d.data);
        return mod::ModIsCurrent(files, mod::ModsDirectoryListing(d.mods), kFishery, local);
    };
    EXPECT_FALSE(current()); // no mod
    d.activate(kFishery);
    EXPECT_TRUE(current());
    data::ProductionSettings s = data::LoadProductionSettings(d.data, kFishery);
    s.current.outputAmount = QStringLiteral("3");
    data::ApplyProductionSettings(d.data, kFishery, s);
    EXPECT_FALSE(current());
    d.activate(kFishery);
    EXPECT_TRUE(current());
    d.setBuff(kFishery, {{"Set", QStringLiteral("1")}, {"P0", QStringLiteral("1010214")}});
    EXPECT_FALSE(current()); // the additional products are part of the mod too
}

// The buff picture is the same for every mod: a store that has it as a file of the right size
// hands over that file, which is written as it is; otherwise the picture is encoded.
TEST(ModWriter, BuffPictureIsWrittenFromTheStoredFile) {
    struct StoredBuff final : mod::NamedPictures {
        PlainPictures plain;
        QByteArray stored = QByteArray("\x89PNG stored bytes of the buff picture");
        QImage picture(const QString& name, QSize size) const override {
            return plain.picture(name, size);
        }
        QByteArray storedPng(const QString& name, QSize size) const override {
            return name.compare(QStringLiteral("buff"), Qt::CaseInsensitive) == 0 &&
                           size == QSize(128, 128)
                       ? stored
                       : QByteArray();
        }
    } pictures;
    ShippedData d;
    const mod::WrittenMod mod = mod::WriteMod(d.request(kFishery), pictures);
    EXPECT_EQ(readBytes(modFile(mod.folder, "data/icon/Buff.png")), pictures.stored);
}

// What is on the disk after the writes must be what was written: a file layer that loses bytes
// stops the activation before the swap, and the old mod stays.
TEST(ModWriter, FilesThatDoNotReadBackAsWrittenStopTheActivation) {
    class LosingWriter final : public data::FileWriter {
    public:
        QString loses; // the file whose last byte is lost
        void writeNew(const QString& path, const QByteArray& bytes) override {
            data::diskWriter().writeNew(path, QFileInfo(path).fileName() == loses ? bytes.chopped(1)
                                                                                  : bytes);
        }
        void replace(const QString& from, const QString& to) override {
            data::diskWriter().replace(from, to);
        }
        bool remove(const QString& path) override { return data::diskWriter().remove(path); }
    };
    ShippedData d;
    const mod::WrittenMod earlier = d.activate(kFishery);
    const QByteArray oldAssets = readBytes(modFile(earlier.folder, kAssetsFile));
    d.setBuff(kFishery, {{"Set", QStringLiteral("1")}}); // the new mod would differ
    for (const char* file : {"assets.xml", "modinfo.json"}) {
        SCOPED_TRACE(file);
        LosingWriter writer;
        writer.loses = QString::fromLatin1(file);
        try {
            mod::WriteMod(d.request(kFishery), d.pictures, writer);
            ADD_FAILURE() << "written";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("nicht so auf dem Datenträger")))
                << e.message().toStdString();
        }
        EXPECT_EQ(d.modFolders(), QStringList{QFileInfo(earlier.folder).fileName()});
        EXPECT_EQ(readBytes(modFile(earlier.folder, kAssetsFile)), oldAssets);
    }
}

} // namespace
