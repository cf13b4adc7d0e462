#include "data/DataError.h"
#include "generators/pictures/GameIcons.h"
#include "generators/pictures/NamedPictures.h"
#include "generators/pictures/PictureCommands.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

using namespace velmora::generators;
using namespace velmora::test;

namespace {

// Drawing text needs a GUI application; one per test process is enough.
void ensureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_tools";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at process exit Qt's thread storage is gone before static destructors run.
    new QGuiApplication(argc, argv);
}

class Pictures : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApplication(); }
};

// The pixels of the white pictogram, leaving out the coloured tile, as one byte each.
QByteArray pictogramMask(const QImage& icon) {
    const QImage image = icon.convertToFormat(QImage::Format_ARGB32);
    QByteArray mask;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            mask.append(qRed(c) >= 240 && qGreen(c) >= 240 && qBlue(c) >= 240 ? '1' : '0');
        }
    return mask;
}

QImage loadPng(const QString& path) {
    QImage image;
    image.loadFromData(readBytes(path), "PNG");
    return image;
}

} // namespace

TEST_F(Pictures, TableHoldsEveryPictureTheWindowsAskForByName) {
    // The names the windows and the mod writer request, spelt as they ask for them: the
    // lookup ignores the case of ASCII letters ("Delete" finds "delete"), but not that of umlauts.
    const char* const requested[] = {"Empty",
                                     "empty",
                                     "IsChanged128",
                                     "IsExported128",
                                     "Conflict128",
                                     "Stale128",
                                     "NoMainFormIcon",
                                     "Back",
                                     "Boosted",
                                     "buff",
                                     "ChangeProduct",
                                     "ChangeProductRed",
                                     "Cycle",
                                     "delete",
                                     "Delete",
                                     "explosion",
                                     "Fertile",
                                     "field",
                                     "fire",
                                     "FormLineHorizontal",
                                     "FormLineVertikal",
                                     "FullReset36",
                                     "gear",
                                     "gear256",
                                     "Influence",
                                     "Item96",
                                     "Mandatory",
                                     "Money",
                                     "NoInput",
                                     "Region96",
                                     "Reset",
                                     "Reset36",
                                     "Riot",
                                     "Star",
                                     "UserEdit",
                                     "Vertikal",
                                     "Älteste",
                                     "Arbeiter",
                                     "Artista",
                                     "Bauern",
                                     "Entdecker",
                                     "Gelehrte",
                                     "Handwerker",
                                     "Hirten",
                                     "Ingenieure",
                                     "Investoren",
                                     "Jornalero",
                                     "Obrero",
                                     "Techniker",
                                     "Touristen",
                                     "1",
                                     "2",
                                     "3",
                                     "4",
                                     "Group0",
                                     "Group1",
                                     "Group2",
                                     "Group3",
                                     "Group4",
                                     "Group5",
                                     "icon_potatoes",
                                     "icon_Seafood",
                                     "icon_seafood",
                                     "icon_herbs_with_flower",
                                     "icon_fur"};
    for (const char* name : requested) {
        const QImage image = renderNamedPicture(QString::fromUtf8(name));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(128, 128)) << name;
    }
    EXPECT_TRUE(renderNamedPicture(QStringLiteral("Unbekannt")).isNull());
    EXPECT_FALSE(renderNamedPicture(QStringLiteral("ÄLTESTE")).isNull());
    EXPECT_TRUE(renderNamedPicture(QStringLiteral("älteste")).isNull()); // only ASCII letters fold
}

TEST_F(Pictures, NamedCommandWritesTheSameBytesOnEveryRun) {
    TempDir first, second;
    const QStringList files = writeNamedPictures(first.path());
    EXPECT_EQ(writeNamedPictures(second.path()), files);
    // File names keep the exact spelling the program looks them up by.
    for (const char* expected :
         {"Älteste.png", "delete.png", "IsChanged128.png", "1.png", "Group5.png", "Background.png"})
        EXPECT_TRUE(files.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(QDir(first.path()).entryList(QDir::Files).size(), files.size());
    for (const QString& file : files) {
        const QByteArray bytes = readBytes(first.file(file));
        EXPECT_EQ(bytes, readBytes(second.file(file))) << file.toStdString();
        // The program embeds the committed copies: a changed drawer needs them regenerated.
        EXPECT_EQ(bytes, readBytes(sourcePath(QStringLiteral("resources/pictures/") + file)))
            << file.toStdString();
        const QImage image = loadPng(first.file(file));
        const QSize expected =
            file == QStringLiteral("Background.png") ? QSize(888, 863) : QSize(128, 128);
        EXPECT_EQ(image.size(), expected) << file.toStdString();
    }
    // "Empty" marks an unset flag: nothing may show. "Star" is drawn over a whole icon, so most
    // of it must stay see-through.
    const QImage empty = loadPng(first.file(QStringLiteral("Empty.png")));
    const QImage star = loadPng(first.file(QStringLiteral("Star.png")));
    int starOpaque = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            EXPECT_EQ(qAlpha(empty.pixel(x, y)), 0);
            if (qAlpha(star.pixel(x, y)) > 0)
                ++starOpaque;
        }
    EXPECT_GT(starOpaque, 0);
    EXPECT_LT(starOpaque, 128 * 128 / 4);
}

TEST_F(Pictures, IconsOfDifferentNamesDiffer) {
    const struct {
        const char* a;
        const char* b;
    } pairs[] = {
        {"icon_fish", "icon_fish_2"},           // same pictogram, colour follows the name
        {"icon_cocoa", "icon_cotton"},          // same monogram "Co"
        {"icon_resource_money_4", "icon_coin"}, // same pictogram
        {"icon_cattle", "icon_pigs"},           // monograms of unknown goods
        {"icon_coffee", "icon_coffee_farm"},    // the building adds its emblem to the goods
        {"icon_wood", "icon_grain"},            // different keywords
    };
    for (const auto& pair : pairs)
        EXPECT_NE(renderGameIcon(QString::fromUtf8(pair.a)),
                  renderGameIcon(QString::fromUtf8(pair.b)))
            << pair.a << " / " << pair.b;
    // Workforce names get their named picture, so a catalogue icon "Bauern" looks the same
    // everywhere.
    EXPECT_EQ(renderIconPicture(QStringLiteral("Bauern")),
              renderNamedPicture(QStringLiteral("Bauern")));
    EXPECT_EQ(renderIconPicture(QStringLiteral("icon_meat_raw")).size(), QSize(128, 128));
}

TEST_F(Pictures, NameWordsChooseGoodsAndBuildingPictograms) {
    const struct {
        const char* name;
        const char* goods;
        const char* building;
    } cases[] = {
        {"icon_steel_beams", "beam", ""}, // the more specific goods word wins
        {"icon_fur_hats", "hat", ""},
        {"icon_fish_oil", "fish", ""},
        {"icon_banana_bread", "bread", ""},
        {"icon_glasses", "spectacles", ""},        // not the plural of "glass"
        {"icon_blubber_boiler", "oil", "factory"}, // whole words: "boiler" holds no "oil"
        {"icon_potatoes", "potato", ""},           // plural with "es"
        {"icon_Cars", "car", ""},                  // letter case does not matter
        {"icon_steelworks", "metal", "factory"},   // a compound names goods and building
        {"icon_goldsmiths", "jewel", "workshop"},
        {"icon_bakery", "bread", "house"},
        {"icon_coffee_roaster", "bean", "factory"},
        {"icon_rum_distillery", "bottle", "barrel"},
        {"icon_iron_mine", "metal", "mine"},
        {"icon_slaughterhouse_nw", "meat", "cleaver"},
        {"icon_hacienda", "", "farm"},
        {"icon_hunting_lodge_arctic", "", "hunt"},
        {"icon_sea_mines", "", ""}, // building words match only as written
        {"icon_cattle", "", ""},
    };
    for (const auto& c : cases) {
        const IconDesign design = iconDesignOf(QString::fromUtf8(c.name));
        EXPECT_EQ(design.goods, QString::fromUtf8(c.goods)) << c.name;
        EXPECT_EQ(design.building, QString::fromUtf8(c.building)) << c.name;
    }
}

TEST_F(Pictures, EveryPictogramKindHasItsOwnShape) {
    // One name per kind whose shape is not shared; the white drawing alone must tell them apart.
    const char* const names[] = {"icon_bread",
                                 "icon_beer",
                                 "icon_schnapps",
                                 "icon_wool",
                                 "icon_sails",
                                 "icon_soap",
                                 "icon_windows",
                                 "icon_glasses",
                                 "icon_steel_beams",
                                 "icon_weapons",
                                 "icon_dynamite",
                                 "icon_sewing_machines",
                                 "icon_work_clothes",
                                 "icon_hats",
                                 "icon_coffee",
                                 "icon_sugar",
                                 "icon_cigars",
                                 "icon_jewelry",
                                 "icon_paper",
                                 "icon_cement",
                                 "icon_light_bulbs",
                                 "icon_bicycles",
                                 "icon_cars",
                                 "icon_canned_food",
                                 "icon_goat_milk",
                                 "icon_apples",
                                 "icon_banana",
                                 "icon_honey",
                                 "icon_feathers",
                                 "icon_fur",
                                 "icon_pocket_watches",
                                 "icon_goulash",
                                 "icon_candles",
                                 "icon_mail_local",
                                 "icon_potatoes",
                                 "icon_porcelain",
                                 "icon_relief_packages",
                                 "icon_fish",
                                 "icon_wood",
                                 "icon_grain",
                                 "icon_meat_raw",
                                 "icon_oil",
                                 "icon_coal",
                                 "icon_iron",
                                 "icon_money",
                                 "icon_grapes",
                                 "icon_bricks",
                                 "icon_herbs",
                                 "icon_orchid",
                                 "icon_arctic_gas",
                                 "icon_electricity",
                                 "icon_gears",
                                 "icon_hacienda",
                                 "icon_hunting_lodge",
                                 "icon_trader_workshop",
                                 "icon_trading_post",
                                 "icon_porcelain_works",
                                 "icon_clay_pit",
                                 "icon_butcher",
                                 "icon_brewery"};
    QList<QByteArray> masks;
    for (const char* name : names)
        masks.append(pictogramMask(renderGameIcon(QString::fromUtf8(name))));
    for (qsizetype i = 0; i < masks.size(); ++i) {
        EXPECT_TRUE(masks[i].contains('1')) << names[i];
        for (qsizetype j = i + 1; j < masks.size(); ++j)
            EXPECT_NE(masks[i], masks[j]) << names[i] << " / " << names[j];
    }
}

TEST_F(Pictures, MonogramTakesTheInitialsOfTheName) {
    const struct {
        const char* name;
        const char* letters;
    } cases[] = {
        {"icon_cane_sugar_1", "CS"}, {"icon_potatoes", "Po"}, {"icon_resource_money_4", "Mo"},
        {"Ölmühle", "Öl"},           {"icon_7", "?"},         {"x", "X"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(monogramOf(QString::fromUtf8(c.name)), QString::fromUtf8(c.letters)) << c.name;
}

TEST_F(Pictures, IconsCommandReadsNameListsAndAppendsTheSuffix) {
    TempDir dir;
    writeBytes(dir.file(QStringLiteral("names.txt")),
               "\xEF\xBB\xBFicon_fish\r\n\r\n  icon_meat_raw \r\nBauern\r\n");
    const QStringList names = readNameList(dir.file(QStringLiteral("names.txt")));
    EXPECT_EQ(names, QStringList({QStringLiteral("icon_fish"), QStringLiteral("icon_meat_raw"),
                                  QStringLiteral("Bauern")}));
    const QString out = dir.file(QStringLiteral("source/icons"));
    EXPECT_EQ(writeIcons(out, names, QStringLiteral("_0")),
              QStringList({QStringLiteral("icon_fish_0.png"), QStringLiteral("icon_meat_raw_0.png"),
                           QStringLiteral("Bauern_0.png")}));
    EXPECT_EQ(loadPng(out + QStringLiteral("/icon_fish_0.png")),
              renderGameIcon(QStringLiteral("icon_fish")).convertToFormat(QImage::Format_ARGB32));
    EXPECT_THROW(readNameList(dir.file(QStringLiteral("missing.txt"))), velmora::data::DataError);
}

TEST_F(Pictures, ContactSheetWrapsThePicturesOfTheFolderIntoRows) {
    TempDir dir;
    const QString few = dir.file(QStringLiteral("few"));
    const QString many = dir.file(QStringLiteral("many"));
    writeIcons(few, {QStringLiteral("icon_a"), QStringLiteral("icon_b"), QStringLiteral("icon_c")});
    writeBytes(few + QStringLiteral("/notes.txt"), "not a picture");
    QStringList nine;
    for (char c = 'a'; c <= 'i'; ++c)
        nine.append(QStringLiteral("icon_") + QChar::fromLatin1(c));
    writeIcons(many, nine);
    writeContactSheet(dir.file(QStringLiteral("docs/few.png")), few);
    writeContactSheet(dir.file(QStringLiteral("docs/many.png")), many);
    const QImage fewSheet = loadPng(dir.file(QStringLiteral("docs/few.png")));
    const QImage manySheet = loadPng(dir.file(QStringLiteral("docs/many.png")));
    EXPECT_GT(fewSheet.width(), 3 * 128);
    EXPECT_EQ(manySheet.width(), fewSheet.width());
    EXPECT_GT(manySheet.height(), fewSheet.height() + 128);

    QDir().mkpath(dir.file(QStringLiteral("empty")));
    EXPECT_THROW(
        writeContactSheet(dir.file(QStringLiteral("x.png")), dir.file(QStringLiteral("empty"))),
        velmora::data::DataError);
}
