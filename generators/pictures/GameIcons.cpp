#include "generators/pictures/GameIcons.h"

#include "generators/pictures/GoodsPictograms.h"
#include "generators/pictures/NamedPictures.h"
#include "generators/pictures/Pictograms.h"
#include "generators/pictures/PictureCanvas.h"

#include <QRegularExpression>
#include <QStringList>

namespace velmora::generators {

namespace pg = pictogram;

namespace {

struct Keyword {
    const char* kind;
    QStringList words; // whole words of the name; goods words also match their plural
    QPainterPath (*shape)();
    QColor colour;
};

QStringList words(const char* spaced) {
    return QString::fromLatin1(spaced).split(u' ');
}

// Goods, the more specific first: "steel_beams" are beams before steel, "fur_hats" hats
// before fur, "fish_oil" fish before oil, "banana_bread" bread before bananas.
const QList<Keyword>& goodsTable() {
    static const QList<Keyword> table = {
        {"beam", words("beam"), pg::girder, QColor(0x5d, 0x74, 0x8a)},
        {"sewing", words("sewing"), pg::sewingMachine, QColor(0x6a, 0x5a, 0x8c)},
        {"spectacles", words("glasses spectacle"), pg::spectacles, QColor(0x4b, 0x8a, 0xa8)},
        {"bulb", words("bulb light filament lamp lantern"), pg::bulb, QColor(0xe0, 0xb0, 0x24)},
        {"car", words("car cab carriage"), pg::car, QColor(0xb8, 0x3a, 0x3a)},
        {"bicycle", words("bicycle"), pg::bicycle, QColor(0x2f, 0x9a, 0x8c)},
        {"cigar", words("cigar cigarette"), pg::cigar, QColor(0x8a, 0x55, 0x2e)},
        {"can", words("canned cannery canning"), pg::tinCan, QColor(0x8c, 0x96, 0xa0)},
        {"dynamite", words("dynamite bomb firework explosive"), pg::dynamite,
         QColor(0xc8, 0x3c, 0x2e)},
        {"weapon", words("weapon gun rifle arsenal cannon"), pg::pistol, QColor(0x55, 0x5e, 0x6b)},
        {"jewel", words("jewelry jewel pearl necklace bead goldsmiths"), pg::gem,
         QColor(0x3e, 0x8f, 0xd0)},
        {"coat", words("clothes coat parka robe poncho shirt tailor"), pg::coat,
         QColor(0x4a, 0x6f, 0xb5)},
        {"hat", words("hat sombrero bombin bowler"), pg::hat, QColor(0x7a, 0x4f, 0x9a)},
        {"sail", words("sail sailmakers shipyard"), pg::sailboat, QColor(0x2e, 0x8a, 0xc4)},
        {"soap", words("soap"), pg::soapBar, QColor(0x5b, 0xb0, 0xc8)},
        {"window", words("window glass glassmakers"), pg::window, QColor(0x3f, 0xa0, 0xc8)},
        {"paper", words("paper newspaper leaflet postcard scroll printing book"), pg::paperSheet,
         QColor(0x8a, 0x7a, 0x5e)},
        {"cement", words("cement concrete"), pg::sack, QColor(0x80, 0x86, 0x8c)},
        {"bottle",
         words("schnapps rum champagne liqueur firewater distillery lemonade juice perfume bottle"),
         pg::bottle, QColor(0x3c, 0x8c, 0x5a)},
        {"beer", words("beer brewery cider ale"), pg::mug, QColor(0xd2, 0x8c, 0x1e)},
        {"bread", words("bread bakery tortilla injera empanada cake"), pg::bread,
         QColor(0xc0, 0x7a, 0x34)},
        {"grapes", words("grape wine winery vineyard"), pg::grapes, QColor(0x7d, 0x3f, 0x98)},
        {"honey", words("honey apiary beekeeper beeswax bee wax"), pg::honeycomb,
         QColor(0xe0, 0x9a, 0x1c)},
        {"milk", words("milk cheese dairy"), pg::jug, QColor(0x5a, 0x9c, 0xd6)},
        {"bean", words("coffee cocoa bean roaster chocolate praline"), pg::bean,
         QColor(0x7a, 0x4a, 0x2a)},
        {"sugar", words("sugar sweet confectionery candy"), pg::sugarCubes,
         QColor(0xd0, 0x6a, 0x8c)},
        {"fish", words("fish seafood lobster calamari"), pg::fish, QColor(0x2f, 0x7f, 0xc1)},
        {"meat", words("meat sausage beef pork venison butcher slaughterhouse"), pg::ham,
         QColor(0xc0, 0x44, 0x3b)},
        {"pot", words("goulash pemmican stew soup"), pg::cookingPot, QColor(0xa8, 0x50, 0x30)},
        {"cloth",
         words("fabric cloth wool linen cotton textile felt yarn blanket carpet tapestries weaver "
               "spinnery hammock"),
         pg::spool, QColor(0xb0, 0x5a, 0x9a)},
        {"feather", words("feather down plucker"), pg::feather, QColor(0x6a, 0x9a, 0xb8)},
        {"hide", words("fur leather pelt hide tannery"), pg::hide, QColor(0x96, 0x62, 0x3a)},
        {"wood", words("wood log timber lumber plank chipboard woodcutter sawmill"), pg::log,
         QColor(0x9a, 0x64, 0x32)},
        {"grain", words("grain wheat cereal corn flour malt malthouse teff"), pg::wheat,
         QColor(0xc9, 0xa2, 0x27)},
        {"ore", words("ore coal charcoal"), pg::lump, QColor(0x4a, 0x4f, 0x57)},
        {"gold", words("gold"), pg::ingot, QColor(0xd4, 0xa7, 0x2c)},
        {"metal", words("iron steel steelworks copper brass zinc tin metal"), pg::ingot,
         QColor(0x6f, 0x83, 0x96)},
        {"money", words("money coin credit"), pg::coin, QColor(0xd9, 0xa5, 0x20)},
        {"bricks", words("brick clay brickyard tile"), pg::bricks, QColor(0xb5, 0x54, 0x2f)},
        {"herbs", words("herb tea tobacco spice hop mate pepper indigo"), pg::leaf,
         QColor(0x4f, 0x9a, 0x45)},
        {"flower", words("orchid hibiscus flower"), pg::flower, QColor(0xd9, 0x58, 0x9a)},
        {"banana", words("banana"), pg::banana, QColor(0xd8, 0xb4, 0x1c)},
        {"fruit", words("apple fruit guava date pumpkin citrus lemon"), pg::apple,
         QColor(0xc8, 0x4a, 0x2a)},
        {"rubber", words("rubber caoutchouc latex"), pg::drop, QColor(0x6a, 0x7a, 0x4a)},
        {"water", words("water"), pg::drop, QColor(0x2f, 0x8f, 0xd0)},
        {"salt", words("salt saltpeter niter sulphur"), pg::lump, QColor(0xa0, 0x9a, 0x6a)},
        {"stone", words("marble stone quartz sand"), pg::lump, QColor(0x8a, 0x8c, 0x90)},
        {"oil", words("oil blubber whaling"), pg::drop, QColor(0x3b, 0x3f, 0x45)},
        {"gas", words("gas heat"), pg::flame, QColor(0xd0, 0x5a, 0x24)},
        {"power", words("electricity power"), pg::bolt, QColor(0x3a, 0x6a, 0xc0)},
        {"clock", words("watch clock clockmakers"), pg::clock, QColor(0x8c, 0x6a, 0x3a)},
        {"gear", words("gear engine part"), [] { return pg::gear(); }, QColor(0x5f, 0x6e, 0x7d)},
        {"tools", words("tool"), pg::hammer, QColor(0x6a, 0x6a, 0x72)},
        {"candle", words("candle tallow"), pg::candle, QColor(0xc8, 0x8a, 0x2a)},
        {"mail", words("mail letter"), pg::envelope, QColor(0x3a, 0x7a, 0xb8)},
        {"potato", words("potato"), pg::potato, QColor(0xa0, 0x7a, 0x44)},
        {"ceramics", words("ceramic porcelain vase pottery"), pg::vase, QColor(0x3a, 0x82, 0xa8)},
        {"package", words("package crate"), pg::crate, QColor(0xa8, 0x74, 0x3e)},
        {"dye", words("dye ink"), pg::drop, QColor(0x4a, 0x3a, 0xa0)},
    };
    return table;
}

// Kinds of building, matched only as written ("mines" are goods, "mine" is a building).
const QList<Keyword>& buildingTable() {
    static const QList<Keyword> table = {
        {"cleaver", words("butcher slaughterhouse"), pg::cleaver, QColor(0xa8, 0x3a, 0x34)},
        {"barrel", words("brewery distillery cellar winery"), pg::barrel, QColor(0x8a, 0x5a, 0x2e)},
        {"mine", words("mine pit quarry pan divers"), pg::mine, QColor(0x7a, 0x5a, 0x44)},
        {"farm",
         words("farm plantation ranch grove garden meadow hacienda vineyard nursery apiary "
               "beekeeper field"),
         pg::barn, QColor(0x5a, 0x9a, 0x3a)},
        {"hunt", words("hunter hunting lodge whaling trapper"), pg::bow, QColor(0x6a, 0x7a, 0x3a)},
        {"factory",
         words("factory works plant mill sawmill steelworks refinery combine smelter foundry line "
               "press "
               "spinnery cannery brickyard malthouse kiln boiler roaster studio"),
         pg::factory, QColor(0x5f, 0x6e, 0x7d)},
        {"workshop",
         words("workshop maker makers tailor weaver darner plucker printer producer goldsmiths "
               "glassmakers "
               "clockmakers sailmakers ropery tannery"),
         pg::hammer, QColor(0x8a, 0x6a, 0x4a)},
        {"house",
         words("bakery kitchen cookhouse house shop post camp station dealer confectionery"),
         pg::house, QColor(0x6a, 0x7a, 0x9a)},
    };
    return table;
}

// The words of a name without the "icon_" prefix, in lower case.
QStringList wordsOf(const QString& name) {
    static const QRegularExpression separators(QStringLiteral("[_\\s\\-]+"));
    QString stem = name.toLower();
    if (stem.startsWith(u"icon_"))
        stem.remove(0, 5);
    return stem.split(separators, Qt::SkipEmptyParts);
}

bool matchesWithPlural(const QString& word, const QString& keyword) {
    if (word == keyword)
        return true;
    if (word.size() <= keyword.size() || !word.startsWith(keyword))
        return false;
    const QStringView ending = QStringView(word).mid(keyword.size());
    return ending == u"s" || ending == u"es";
}

const Keyword* findIn(const QList<Keyword>& table, const QStringList& nameWords, bool plurals) {
    for (const Keyword& k : table)
        for (const QString& keyword : k.words)
            for (const QString& w : nameWords)
                if (plurals ? matchesWithPlural(w, keyword) : w == keyword)
                    return &k;
    return nullptr;
}

struct Match {
    const Keyword* goods = nullptr;
    const Keyword* building = nullptr;
};

Match matchOf(const QString& name) {
    const QStringList nameWords = wordsOf(name);
    return {findIn(goodsTable(), nameWords, true), findIn(buildingTable(), nameWords, false)};
}

void drawMonogram(QPainter& p, const QString& name) {
    const QRectF content = drawTileBadge(p, hashedColour(name));
    const QString letters = monogramOf(name);
    const qreal width = letters.size() > 1 ? content.width() : content.width() * 0.62;
    const QRectF box(content.center().x() - width / 2, content.top() + 8, width,
                     content.height() - 16);
    drawOutlined(p, fittedTextPath(letters, box), QColor(0xfb, 0xfb, 0xf8), 4);
}

} // namespace

IconDesign iconDesignOf(const QString& name) {
    const Match m = matchOf(name);
    IconDesign design;
    if (m.goods)
        design.goods = QString::fromLatin1(m.goods->kind);
    if (m.building)
        design.building = QString::fromLatin1(m.building->kind);
    return design;
}

QString monogramOf(const QString& name) {
    QStringList letterWords;
    for (const QString& w : wordsOf(name)) {
        if (!w.front().isLetter() || w == u"resource")
            continue;
        letterWords.append(w);
    }
    if (letterWords.isEmpty())
        return QStringLiteral("?");
    QString letters = letterWords[0].left(1).toUpper();
    if (letterWords.size() > 1)
        letters += letterWords[1].left(1).toUpper();
    else if (letterWords[0].size() > 1)
        letters += letterWords[0].mid(1, 1);
    return letters;
}

QImage renderGameIcon(const QString& name) {
    QImage image = transparentCanvas();
    QPainter p(&image);
    prepareSmooth(p);
    const QColor white(0xfb, 0xfb, 0xf8);
    const Match m = matchOf(name);
    const Keyword* main = m.goods ? m.goods : m.building;
    if (!main) {
        drawMonogram(p, name);
    } else {
        // The hue moves a little with the name, so "icon_fish" and "icon_fish_2" differ.
        const QColor colour = nudgedColour(main->colour, name);
        const QRectF content = drawTileBadge(p, colour);
        if (m.goods && m.building) {
            // The goods fill the upper left; the building kind sits on a dark disc in the corner.
            drawOutlined(p, fitIn(main->shape(), content.adjusted(-4, -4, -20, -20)), white, 4);
            const QRectF disc(content.right() - 40, content.bottom() - 42, 52, 52);
            QPainterPath round;
            round.addEllipse(disc);
            drawOutlined(p, round, colour.darker(170), 3);
            drawOutlined(p, fitIn(m.building->shape(), disc.adjusted(8, 8, -8, -8)), white, 2.5);
        } else {
            drawOutlined(p, fitIn(main->shape(), content.adjusted(2, 2, -2, -2)), white, 4);
        }
    }
    p.end();
    return image;
}

QImage renderIconPicture(const QString& name) {
    const QImage named = renderNamedPicture(name);
    return named.isNull() ? renderGameIcon(name) : named;
}

} // namespace velmora::generators
