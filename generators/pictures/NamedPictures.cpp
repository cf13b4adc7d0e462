#include "generators/pictures/NamedPictures.h"

#include "generators/pictures/GameIcons.h"
#include "generators/pictures/Pictograms.h"
#include "generators/pictures/PictureCanvas.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace velmora::generators {

namespace pg = pictogram;

namespace {

using Drawer = void (*)(QPainter&, const QString& name);

struct NamedEntry {
    QString name;
    Drawer draw;
};

const QRectF kSymbolBox(12, 10, 104, 104);

// A free-standing symbol: coloured, dark outline, soft shadow.
void symbol(QPainter& p, const QPainterPath& shape, const QBrush& fill,
            const QRectF& box = kSymbolBox) {
    drawOutlined(p, fitIn(shape, box), fill, 5);
}

// A white symbol on a round badge of the given colour.
void badgeSymbol(QPainter& p, const QColor& badge, const QPainterPath& shape, qreal inset = 6) {
    const QRectF content = drawRoundBadge(p, badge).adjusted(inset, inset, -inset, -inset);
    drawOutlined(p, fitIn(shape, content), QColor(0xfb, 0xfb, 0xf8), 4);
}

QLinearGradient verticalGradient(const QColor& top, const QColor& bottom, qreal y0 = 10,
                                 qreal y1 = 118) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A separator line across the picture, fading out towards both ends.
void separator(QPainter& p, Qt::Orientation orientation, int lines) {
    const QColor ink(0x4a, 0x55, 0x60);
    for (int i = 0; i < lines; ++i) {
        const qreal offset = 64 + (i - (lines - 1) / 2.0) * 8;
        QLinearGradient g = orientation == Qt::Horizontal ? QLinearGradient(0, 0, 128, 0)
                                                          : QLinearGradient(0, 0, 0, 128);
        g.setColorAt(0, QColor(ink.red(), ink.green(), ink.blue(), 0));
        g.setColorAt(0.15, ink);
        g.setColorAt(0.85, ink);
        g.setColorAt(1, QColor(ink.red(), ink.green(), ink.blue(), 0));
        const QRectF band = orientation == Qt::Horizontal ? QRectF(0, offset - 2, 128, 4)
                                                          : QRectF(offset - 2, 0, 4, 128);
        p.fillRect(band, g);
    }
}

// --- Workforce: a person on a badge, told apart by colour and headwear. ---

enum class Hat {
    StrawHat,
    Cap,
    Beret,
    HardHat,
    TopHat,
    Sombrero,
    Hood,
    Goggles,
    Headscarf,
    Turban,
    Mortarboard,
    SunHat
};

struct Workforce {
    QString name;
    QColor colour;
    Hat hat;
};

const QList<Workforce>& workforces() {
    static const QList<Workforce> table = {
        {QStringLiteral("Bauern"), QColor(0x6d, 0x9b, 0x3a), Hat::StrawHat},
        {QStringLiteral("Arbeiter"), QColor(0x3f, 0x7f, 0xbf), Hat::Cap},
        {QStringLiteral("Handwerker"), QColor(0xc0, 0x65, 0x2f), Hat::Beret},
        {QStringLiteral("Ingenieure"), QColor(0x7a, 0x5b, 0xb5), Hat::HardHat},
        {QStringLiteral("Investoren"), QColor(0xb8, 0x96, 0x2e), Hat::TopHat},
        {QStringLiteral("Jornalero"), QColor(0x3a, 0xa3, 0x9a), Hat::Sombrero},
        {QStringLiteral("Obrero"), QColor(0xd0, 0x5a, 0x7c), Hat::Cap},
        {QStringLiteral("Artista"), QColor(0x9c, 0x4f, 0xb3), Hat::Beret},
        {QStringLiteral("Entdecker"), QColor(0x4a, 0x9c, 0xcf), Hat::Hood},
        {QStringLiteral("Techniker"), QColor(0x55, 0x70, 0x8a), Hat::Goggles},
        {QStringLiteral("Hirten"), QColor(0xc9, 0xa0, 0x4a), Hat::Headscarf},
        {QStringLiteral("Älteste"), QColor(0xa0, 0x52, 0x2d), Hat::Turban},
        {QStringLiteral("Gelehrte"), QColor(0x2f, 0x6f, 0x8f), Hat::Mortarboard},
        {QStringLiteral("Touristen"), QColor(0xe0, 0x7b, 0x39), Hat::SunHat},
    };
    return table;
}

// Headwear in the coordinates of pictogram::bust (head centre 50,32, radius 20).
QPainterPath hatPath(Hat hat) {
    QPainterPath p;
    switch (hat) {
    case Hat::StrawHat:
        p.addEllipse(QPointF(50, 17), 36, 7);
        p.addRoundedRect(QRectF(34, 0, 32, 17), 8, 8);
        break;
    case Hat::SunHat:
        p.addEllipse(QPointF(50, 18), 32, 9);
        p.addEllipse(QPointF(50, 10), 18, 11);
        break;
    case Hat::Cap:
        p.moveTo(29, 24);
        p.cubicTo(29, 4, 71, 4, 71, 24);
        p.lineTo(86, 26);
        p.lineTo(86, 30);
        p.lineTo(29, 28);
        p.closeSubpath();
        break;
    case Hat::Beret:
        p.addEllipse(QPointF(46, 14), 26, 10);
        p.addEllipse(QPointF(48, 3), 4, 4);
        break;
    case Hat::HardHat:
        p.moveTo(28, 22);
        p.cubicTo(28, 0, 72, 0, 72, 22);
        p.closeSubpath();
        p.addRoundedRect(QRectF(22, 19, 56, 7), 3, 3);
        break;
    case Hat::TopHat:
        p.addRect(QRectF(34, -18, 32, 34));
        p.addEllipse(QPointF(50, 16), 30, 5);
        break;
    case Hat::Sombrero:
        p.addEllipse(QPointF(50, 17), 46, 8);
        p.moveTo(36, 17);
        p.cubicTo(38, -10, 62, -10, 64, 17);
        p.closeSubpath();
        break;
    case Hat::Hood: {
        QPainterPath outer;
        outer.addEllipse(QPointF(50, 34), 29, 30);
        QPainterPath face;
        face.addEllipse(QPointF(50, 38), 16, 18);
        QPainterPath lower;
        lower.addRect(QRectF(0, 50, 100, 60));
        return outer.subtracted(face).subtracted(lower); // already fits the head
    }
    case Hat::Goggles:
        p.addRect(QRectF(29, 20, 42, 5));
        p.addEllipse(QPointF(41, 22), 8, 8);
        p.addEllipse(QPointF(59, 22), 8, 8);
        break;
    case Hat::Headscarf:
        p.moveTo(26, 40);
        p.cubicTo(24, 2, 76, 2, 74, 40);
        p.lineTo(80, 62);
        p.lineTo(68, 62);
        p.lineTo(68, 30);
        p.cubicTo(60, 22, 40, 22, 32, 30);
        p.lineTo(32, 62);
        p.lineTo(20, 62);
        p.closeSubpath();
        break;
    case Hat::Turban:
        p.addEllipse(QPointF(50, 20), 25, 11);
        p.addEllipse(QPointF(50, 10), 19, 9);
        p.addEllipse(QPointF(50, 2), 6, 5);
        break;
    case Hat::Mortarboard:
        p.moveTo(50, 0);
        p.lineTo(86, 10);
        p.lineTo(50, 20);
        p.lineTo(14, 10);
        p.closeSubpath();
        p.addRect(QRectF(34, 14, 32, 10));
        p.addRect(QRectF(82, 10, 3, 20));
        break;
    }
    // Slightly oversized, so the headwear still tells the groups apart at small sizes.
    QTransform grow;
    grow.translate(50, 28);
    grow.scale(1.25, 1.25);
    grow.translate(-50, -28);
    return grow.map(QPainterPath().united(p)); // overlapping parts become one outline
}

void drawWorkforce(QPainter& p, const QString& name) {
    for (const Workforce& w : workforces()) {
        if (w.name != name)
            continue; // the table's own spelling is passed in
        const QRectF content = drawRoundBadge(p, w.colour);
        // Person and hat share one transform, so the hat sits on the head.
        const QPainterPath person = pg::bust();
        const QPainterPath hat = hatPath(w.hat);
        const QRectF both = person.boundingRect().united(hat.boundingRect());
        const qreal scale =
            std::min(content.width() / both.width(), content.height() / both.height()) * 1.06;
        QTransform t;
        t.translate(content.center().x(), content.center().y() + 6);
        t.scale(scale, scale);
        t.translate(-both.center().x(), -both.center().y());
        // The badge clips the shoulders, so the person stands on its lower edge.
        p.save();
        QPainterPath clip;
        clip.addEllipse(QRectF(8, 6, 112, 112));
        p.setClipPath(clip);
        drawOutlined(p, t.map(person), QColor(0xfb, 0xfb, 0xf8), 4);
        p.restore();
        drawOutlined(p, t.map(hat), QColor(0x3c, 0x2d, 0x23), 4);
        return;
    }
}

// --- Regions: small landscapes on a rounded tile. ---

QPainterPath tileShape() {
    QPainterPath tile;
    tile.addRoundedRect(QRectF(6, 4, 116, 116), 24, 24);
    return tile;
}

void landscape(QPainter& p, const QColor& skyTop, const QColor& skyBottom,
               void (*scene)(QPainter&)) {
    const QPainterPath tile = tileShape();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(tile.translated(0, 3));
    p.setClipPath(tile);
    p.fillRect(QRectF(0, 0, 128, 128), verticalGradient(skyTop, skyBottom, 4, 90));
    p.setPen(QPen(inkColour(), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    scene(p);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(inkColour(), 3));
    p.drawPath(tile);
    p.setPen(QPen(QColor(255, 255, 255, 110), 2));
    p.drawRoundedRect(QRectF(9, 7, 110, 110), 21, 21);
}

void oldWorld(QPainter& p) {
    QPainterPath far(QPointF(0, 84));
    far.cubicTo(30, 60, 60, 66, 80, 74);
    far.cubicTo(100, 66, 118, 64, 128, 70);
    far.lineTo(128, 128);
    far.lineTo(0, 128);
    p.setBrush(QColor(0x7f, 0xb0, 0x55));
    p.drawPath(far);
    QPainterPath near(QPointF(0, 100));
    near.cubicTo(40, 84, 80, 92, 128, 96);
    near.lineTo(128, 128);
    near.lineTo(0, 128);
    p.setBrush(QColor(0x4e, 0x8a, 0x35));
    p.drawPath(near);
    p.setBrush(QColor(0x7a, 0x50, 0x2e));
    p.drawRect(QRectF(36, 58, 8, 26));
    p.setBrush(QColor(0x3d, 0x7a, 0x2f));
    p.drawEllipse(QPointF(40, 48), 20, 18);
    p.setBrush(QColor(0xb0, 0x45, 0x3a));
    p.drawPath(fitIn(pg::house(), QRectF(74, 52, 28, 28)));
}

void newWorld(QPainter& p) {
    p.setBrush(QColor(0x2a, 0x9d, 0xb8));
    p.drawRect(QRectF(-4, 80, 136, 60));
    QPainterPath island(QPointF(14, 104));
    island.cubicTo(40, 80, 90, 80, 116, 104);
    island.closeSubpath();
    p.setBrush(QColor(0xe8, 0xcf, 0x8a));
    p.drawPath(island);
    QPainterPath trunk(QPointF(62, 94));
    trunk.cubicTo(60, 74, 66, 56, 76, 42);
    p.setBrush(QColor(0x8a, 0x5a, 0x32));
    p.drawPath(strokedPath(trunk, 7));
    p.setBrush(QColor(0x2f, 0x8a, 0x3c));
    for (int i = 0; i < 5; ++i) {
        QPainterPath frond(QPointF(0, 0));
        frond.cubicTo(10, -8, 24, -6, 30, 4);
        frond.cubicTo(20, 0, 10, 2, 0, 0);
        QTransform t;
        t.translate(76, 42);
        t.rotate(-160 + i * 50);
        p.drawPath(t.map(frond));
    }
}

void arctic(QPainter& p) {
    QPainterPath back;
    back.moveTo(-4, 96);
    back.lineTo(30, 44);
    back.lineTo(52, 72);
    back.lineTo(80, 30);
    back.lineTo(132, 96);
    back.closeSubpath();
    p.setBrush(QColor(0x8f, 0xa9, 0xc0));
    p.drawPath(back);
    QPainterPath snow;
    snow.moveTo(80, 30);
    snow.lineTo(92, 46);
    snow.lineTo(84, 44);
    snow.lineTo(78, 50);
    snow.lineTo(72, 42);
    snow.lineTo(67, 49);
    snow.closeSubpath();
    snow.moveTo(30, 44);
    snow.lineTo(39, 58);
    snow.lineTo(31, 55);
    snow.lineTo(24, 58);
    snow.closeSubpath();
    p.setBrush(QColor(0xfa, 0xfd, 0xff));
    p.drawPath(snow);
    p.setBrush(QColor(0xe6, 0xf1, 0xf8));
    p.drawRect(QRectF(-4, 92, 136, 40));
    p.setBrush(QColor(0xbd, 0xd9, 0xea));
    p.drawEllipse(QPointF(30, 104), 18, 5);
}

void lionLand(QPainter& p) {
    p.setBrush(QColor(0xff, 0xe0, 0x7a));
    p.drawEllipse(QPointF(84, 44), 18, 18);
    QPainterPath far(QPointF(-4, 86));
    far.cubicTo(30, 66, 60, 70, 132, 84);
    far.lineTo(132, 132);
    far.lineTo(-4, 132);
    p.setBrush(QColor(0xd9, 0x9a, 0x4e));
    p.drawPath(far);
    QPainterPath near(QPointF(-4, 106));
    near.cubicTo(40, 88, 90, 94, 132, 108);
    near.lineTo(132, 132);
    near.lineTo(-4, 132);
    p.setBrush(QColor(0xe8, 0xb8, 0x6a));
    p.drawPath(near);
    // An acacia: flat crown on a thin forked trunk.
    QPainterPath tree(QPointF(36, 92));
    tree.lineTo(38, 70);
    tree.lineTo(28, 56);
    tree.moveTo(38, 70);
    tree.lineTo(46, 56);
    p.setBrush(QColor(0x5a, 0x3b, 0x22));
    p.drawPath(strokedPath(tree, 5));
    p.setBrush(QColor(0x5f, 0x7d, 0x2c));
    p.drawEllipse(QPointF(37, 52), 24, 8);
}

void drawRegion(QPainter& p, const QString& name) {
    if (name == u"1")
        landscape(p, QColor(0x8e, 0xc8, 0xf0), QColor(0xd6, 0xee, 0xfb), oldWorld);
    if (name == u"2")
        landscape(p, QColor(0x5c, 0xc6, 0xe0), QColor(0xc8, 0xf0, 0xf2), newWorld);
    if (name == u"3")
        landscape(p, QColor(0x9d, 0xb4, 0xcc), QColor(0xe4, 0xee, 0xf6), arctic);
    if (name == u"4")
        landscape(p, QColor(0xf0, 0x9a, 0x4a), QColor(0xfb, 0xdc, 0x9a), lionLand);
}

// --- Groups of the group list, by position. ---

// A house with a small coloured mark in its lower right corner.
void houseWithMark(QPainter& p, const QColor& badge, const QPainterPath& mark,
                   const QColor& markFill) {
    const QRectF content = drawRoundBadge(p, badge);
    drawOutlined(p, fitIn(pg::house(), content.adjusted(0, 0, -14, -14)), QColor(0xfb, 0xfb, 0xf8),
                 4);
    drawOutlined(p, fitIn(mark, QRectF(content.right() - 40, content.bottom() - 40, 48, 48)),
                 markFill, 4);
}

void drawGroup(QPainter& p, const QString& name) {
    const int position = name.right(1).toInt();
    switch (position) {
    case 0:
        houseWithMark(p, QColor(0xd9, 0x85, 0x2b), pg::pencil(), QColor(0xff, 0xd5, 0x4f));
        break;
    case 1:
        houseWithMark(p, QColor(0x3f, 0x9b, 0x4f), pg::check(), QColor(0xb9, 0xf0, 0x8a));
        break;
    case 2:
        badgeSymbol(p, QColor(0x8a, 0xa8, 0x2f), pg::wheat());
        break;
    case 3:
        badgeSymbol(p, QColor(0x3d, 0x7c, 0xc9), pg::gear(), 4);
        break;
    case 4:
        badgeSymbol(p, QColor(0x5f, 0x6e, 0x7d), pg::factory(), 4);
        break;
    case 5:
        badgeSymbol(p, QColor(0x8d, 0x5a, 0x3b), pg::pickaxe(), 2);
        break;
    }
}

// --- State and button pictures. ---

const QColor kBlue(0x3d, 0x7c, 0xc9);
const QColor kRed(0xd2, 0x3f, 0x3a);
const QColor kTeal(0x2f, 0x9c, 0x95);
const QColor kGold(0xf2, 0xc1, 0x2e);
const QColor kOrange(0xe8, 0x8a, 0x2c);
const QColor kGreen(0x4c, 0xa8, 0x50);
const QColor kGrey(0x9a, 0xa3, 0xab);
const QColor kSteel(0x87, 0x95, 0xa3);

void drawEmpty(QPainter&, const QString&) {} // a flag that is not set shows nothing

void drawStar(QPainter& p, const QString&) {
    // Drawn over a whole building icon, so only its top right corner is covered.
    drawOutlined(p, fitIn(pg::star(), QRectF(66, 4, 58, 58)),
                 verticalGradient(QColor(0xff, 0xe5, 0x6b), QColor(0xf0, 0xa8, 0x1c), 4, 62), 4);
}

void drawNoMainFormIcon(QPainter& p, const QString&) {
    p.setPen(QPen(kGrey, 4, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(8, 8, 112, 112), 22, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9a, 0xa3, 0xab, 150));
    p.drawPath(fitIn(pg::house(), QRectF(30, 28, 68, 68)));
}

void drawFire(QPainter& p, const QString&) {
    symbol(p, pg::flame(),
           verticalGradient(QColor(0xe8, 0x3a, 0x1e), QColor(0xff, 0xc1, 0x3b), 14, 112));
}

void drawExplosion(QPainter& p, const QString&) {
    symbol(p, pg::burst(), kOrange);
    drawOutlined(p, fitIn(pg::burst(), QRectF(40, 38, 48, 48)), QColor(0xff, 0xe0, 0x5c), 3);
}

void drawFullReset(QPainter& p, const QString&) {
    symbol(p, pg::curvedArrow(60, 280, 16), kOrange);
    drawOutlined(p, fitIn(pg::curvedArrow(60, 280, 16), QRectF(42, 40, 44, 44)), kOrange, 4);
}

void drawCycle(QPainter& p, const QString&) {
    symbol(p, pg::curvedArrow(100, 150).united(pg::curvedArrow(280, 150)), kTeal);
}

void drawUserEdit(QPainter& p, const QString&) {
    symbol(p, pg::bust(), kBlue, QRectF(8, 12, 84, 100));
    drawOutlined(p, fitIn(pg::pencil(), QRectF(64, 52, 60, 60)), QColor(0xff, 0xd5, 0x4f), 4);
}

void drawGear256(QPainter& p, const QString&) {
    symbol(p, pg::gear(12), verticalGradient(QColor(0xb7, 0xc3, 0xcf), QColor(0x5f, 0x6e, 0x7d)));
}

const QList<NamedEntry>& namedTable() {
    static const QList<NamedEntry> table = [] {
        QList<NamedEntry> t = {
            // States of the building list and the detail pane.
            {QStringLiteral("Empty"), drawEmpty},
            {QStringLiteral("IsChanged128"),
             [](QPainter& p, const QString&) { badgeSymbol(p, kOrange, pg::pencil(), 4); }},
            {QStringLiteral("IsExported128"),
             [](QPainter& p, const QString&) { badgeSymbol(p, kGreen, pg::check(), 8); }},
            // Another mod of the mods directory changes the building too.
            {QStringLiteral("Conflict128"),
             [](QPainter& p, const QString&) { badgeSymbol(p, kRed, pg::swapArrows(), 8); }},
            // The building's active mod is out of date: "Aktivieren" would write it anew.
            {QStringLiteral("Stale128"),
             [](QPainter& p, const QString&) {
                 badgeSymbol(p, kOrange,
                             pg::curvedArrow(100, 150).united(pg::curvedArrow(280, 150)), 10);
             }},
            {QStringLiteral("NoMainFormIcon"), drawNoMainFormIcon},
            // The mod writer: the mark drawn over an exported icon and the buff's picture.
            {QStringLiteral("Star"), drawStar},
            {QStringLiteral("buff"),
             [](QPainter& p, const QString&) {
                 const QPainterPath up = QTransform().rotate(-90).map(pg::arrowRight(90, 26));
                 badgeSymbol(p, QColor(0x7b, 0x4f, 0xb0), up, 6);
             }},
            // Empty slots and the picker's removal row.
            {QStringLiteral("NoInput"),
             [](QPainter& p, const QString&) {
                 symbol(p, pg::forbidden(), kGrey, QRectF(16, 14, 96, 96));
             }},
            {QStringLiteral("delete"),
             [](QPainter& p, const QString&) { badgeSymbol(p, kRed, pg::cross(), 12); }},
            // Buttons.
            {QStringLiteral("Back"),
             [](QPainter& p, const QString&) {
                 symbol(p, QTransform().rotate(180).map(pg::arrowRight()), kBlue);
             }},
            {QStringLiteral("ChangeProduct"),
             [](QPainter& p, const QString&) { symbol(p, pg::swapArrows(), kBlue); }},
            {QStringLiteral("ChangeProductRed"),
             [](QPainter& p, const QString&) { symbol(p, pg::swapArrows(), kRed); }},
            {QStringLiteral("Reset"),
             [](QPainter& p, const QString&) { symbol(p, pg::curvedArrow(60, 280), kTeal); }},
            {QStringLiteral("Reset36"),
             [](QPainter& p, const QString&) { symbol(p, pg::curvedArrow(60, 280, 20), kTeal); }},
            {QStringLiteral("FullReset36"), drawFullReset},
            {QStringLiteral("Cycle"), drawCycle},
            {QStringLiteral("UserEdit"), drawUserEdit},
            // Properties of a building shown by the editors.
            {QStringLiteral("Boosted"),
             [](QPainter& p, const QString&) { symbol(p, pg::bolt(), kGold); }},
            {QStringLiteral("explosion"), drawExplosion},
            {QStringLiteral("Fertile"),
             [](QPainter& p, const QString&) { symbol(p, pg::sprout(), kGreen); }},
            {QStringLiteral("field"),
             [](QPainter& p, const QString&) {
                 symbol(p, pg::fieldRows(), QColor(0x9c, 0x6b, 0x3c));
             }},
            {QStringLiteral("fire"), drawFire},
            {QStringLiteral("gear"),
             [](QPainter& p, const QString&) { symbol(p, pg::gear(), kSteel); }},
            {QStringLiteral("gear256"), drawGear256},
            {QStringLiteral("Influence"),
             [](QPainter& p, const QString&) { symbol(p, pg::rings(), kTeal); }},
            {QStringLiteral("Item96"),
             [](QPainter& p, const QString&) {
                 symbol(p, pg::crate(), QColor(0xb9, 0x83, 0x4c), QRectF(16, 14, 96, 96));
             }},
            {QStringLiteral("Mandatory"),
             [](QPainter& p, const QString&) { symbol(p, pg::warning(), kGold); }},
            {QStringLiteral("Money"),
             [](QPainter& p, const QString&) {
                 symbol(p, pg::coin(),
                        verticalGradient(QColor(0xff, 0xe0, 0x70), QColor(0xd9, 0x9a, 0x1a)));
             }},
            {QStringLiteral("Region96"),
             [](QPainter& p, const QString&) { symbol(p, pg::globe(), kBlue); }},
            {QStringLiteral("Riot"),
             [](QPainter& p, const QString&) { badgeSymbol(p, kRed, pg::pitchfork(), 2); }},
            // Window decoration.
            {QStringLiteral("FormLineHorizontal"),
             [](QPainter& p, const QString&) { separator(p, Qt::Horizontal, 1); }},
            {QStringLiteral("FormLineVertikal"),
             [](QPainter& p, const QString&) { separator(p, Qt::Vertical, 1); }},
            {QStringLiteral("Vertikal"),
             [](QPainter& p, const QString&) { separator(p, Qt::Vertical, 2); }},
        };
        for (const Workforce& w : workforces())
            t.append({w.name, drawWorkforce});
        for (const char* region : {"1", "2", "3", "4"})
            t.append({QString::fromLatin1(region), drawRegion});
        for (int g = 0; g < 6; ++g)
            t.append({QStringLiteral("Group%1").arg(g), drawGroup});
        // Fertilities a farm can bring along, drawn like every other goods icon.
        for (const char* icon : {"icon_potatoes",      "icon_cereals_2",  "icon_hops",
                                 "icon_grapes",        "icon_pepper",     "icon_cane_sugar_1",
                                 "icon_cocoa",         "icon_caoutchouc", "icon_cotton",
                                 "icon_tobacco",       "icon_pearls",     "icon_corn",
                                 "icon_coffee_beans",  "icon_banana",     "icon_linen_farm",
                                 "icon_hibiscus_farm", "icon_teff_grass", "icon_indigo",
                                 "icon_spices",        "icon_beeswax",    "icon_Seafood",
                                 "icon_bear_fur",      "icon_orchid",     "icon_herbs_with_flower",
                                 "icon_reindeer_meat", "icon_fur"})
            t.append({QString::fromLatin1(icon),
                      [](QPainter& p, const QString& n) { p.drawImage(0, 0, renderGameIcon(n)); }});
        return t;
    }();
    return table;
}

// Names match when they differ at most in the case of the ASCII letters: "Delete" finds
// "delete", while "ÄLTESTE" does not find "Älteste".
bool sameNameIgnoringAsciiCase(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    const auto fold = [](QChar c) {
        return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
    };
    for (qsizetype i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

const NamedEntry* findEntry(const QString& name) {
    for (const NamedEntry& e : namedTable())
        if (sameNameIgnoringAsciiCase(e.name, name))
            return &e;
    return nullptr;
}

} // namespace

QList<QString> namedPictureNames() {
    QList<QString> names;
    for (const NamedEntry& e : namedTable())
        names.append(e.name);
    return names;
}

QImage renderNamedPicture(const QString& name) {
    const NamedEntry* entry = findEntry(name);
    if (!entry)
        return {};
    QImage image = transparentCanvas();
    QPainter p(&image);
    prepareSmooth(p);
    entry->draw(p, entry->name);
    p.end();
    return image;
}

QImage renderBackground() {
    QImage image(kBackgroundWidth, kBackgroundHeight, QImage::Format_RGB32);
    QPainter p(&image);
    prepareSmooth(p);
    QLinearGradient base(0, 0, kBackgroundWidth * 0.3, kBackgroundHeight);
    base.setColorAt(0, QColor(0xe4, 0xe8, 0xec));
    base.setColorAt(1, QColor(0xcc, 0xd3, 0xda));
    p.fillRect(image.rect(), base);
    // A faint woven texture: fine diagonal hatching and a little grain seeded from the name.
    p.setPen(QPen(QColor(0x5a, 0x66, 0x72, 10), 1));
    for (int x = -kBackgroundHeight; x < kBackgroundWidth; x += 6)
        p.drawLine(QPointF(x, 0), QPointF(x + kBackgroundHeight, kBackgroundHeight));
    quint32 state = nameHash(kBackgroundName);
    for (int i = 0; i < 9000; ++i) {
        state = state * 1664525u + 1013904223u;
        const int x = static_cast<int>((state >> 8) % kBackgroundWidth);
        state = state * 1664525u + 1013904223u;
        const int y = static_cast<int>((state >> 8) % kBackgroundHeight);
        const int shade = (state >> 4) % 2 ? 255 : 0;
        p.fillRect(QRect(x, y, 1, 1), QColor(shade, shade, shade, 9));
    }
    // Soft light from the upper left, darker edges.
    QRadialGradient vignette(kBackgroundWidth * 0.35, kBackgroundHeight * 0.3,
                             kBackgroundWidth * 0.95);
    vignette.setColorAt(0, QColor(255, 255, 255, 30));
    vignette.setColorAt(1, QColor(0x30, 0x3a, 0x44, 40));
    p.fillRect(image.rect(), vignette);
    p.end();
    return image;
}

} // namespace velmora::generators
