#include "generators/pictures/GoodsPictograms.h"

#include "generators/pictures/PathShapes.h"
#include "generators/pictures/Pictograms.h"

#include <QtMath>

namespace velmora::generators::pictogram {

namespace {

// A ring: the disc of radius outer with the disc of radius inner taken out.
QPainterPath ring(qreal cx, qreal cy, qreal outer, qreal inner) {
    return circle(cx, cy, outer).subtracted(circle(cx, cy, inner));
}

QPainterPath hexagon(qreal cx, qreal cy, qreal r) {
    QPolygonF poly;
    for (int i = 0; i < 6; ++i) {
        const qreal a = qDegreesToRadians(30.0 + 60.0 * i);
        poly << QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    return p;
}

} // namespace

QPainterPath bread() {
    QPainterPath loaf(QPointF(6, 80));
    loaf.cubicTo(0, 44, 24, 26, 50, 26);
    loaf.cubicTo(76, 26, 100, 44, 94, 80);
    loaf.closeSubpath();
    QPainterPath cuts;
    for (int i = 0; i < 3; ++i) {
        cuts.moveTo(26 + i * 20, 44);
        cuts.lineTo(38 + i * 20, 60);
    }
    return engraved(loaf, cuts, 6);
}

QPainterPath mug() {
    const QPainterPath body = unite(
        {rect(12, 26, 58, 70, 6), circle(22, 24, 12), circle(41, 20, 13), circle(60, 24, 12)});
    QPainterPath staves;
    for (qreal x : {30.0, 52.0}) {
        staves.moveTo(x, 44);
        staves.lineTo(x, 84);
    }
    const QPainterPath handle = strokedPath(rect(64, 40, 28, 36, 12), 10);
    return unite({engraved(body, staves, 6), handle});
}

QPainterPath bottle() {
    QPainterPath body(QPointF(40, 28));
    body.cubicTo(40, 38, 22, 40, 22, 54);
    body.lineTo(22, 92);
    body.quadTo(22, 98, 28, 98);
    body.lineTo(72, 98);
    body.quadTo(78, 98, 78, 92);
    body.lineTo(78, 54);
    body.cubicTo(78, 40, 60, 38, 60, 28);
    body.closeSubpath();
    const QPainterPath all = unite({body, rect(40, 2, 20, 30, 3)});
    return all.subtracted(rect(30, 58, 40, 26, 4));
}

QPainterPath spool() {
    // A spool of thread: two flanges with the wound thread between them and a loose end.
    QPainterPath windings;
    for (int i = 0; i < 4; ++i) {
        windings.moveTo(22, 30 + i * 14);
        windings.lineTo(78, 22 + i * 14);
    }
    const QPainterPath thread = engraved(rect(20, 16, 60, 68, 4), windings, 4);
    QPainterPath tail(QPointF(80, 70));
    tail.cubicTo(96, 74, 98, 90, 86, 98);
    return unite({thread, rect(8, 4, 84, 14, 6), rect(8, 82, 84, 14, 6), strokedPath(tail, 6)});
}

QPainterPath sailboat() {
    QPainterPath main(QPointF(46, 4));
    main.lineTo(46, 70);
    main.lineTo(8, 70);
    main.cubicTo(26, 54, 40, 30, 46, 4);
    const QPainterPath fore = polygon({{56, 18}, {56, 70}, {90, 70}});
    const QPainterPath hull = polygon({{4, 78}, {96, 78}, {82, 96}, {18, 96}});
    return unite({main, fore, hull, rect(47, 4, 8, 76)});
}

QPainterPath soapBar() {
    QPainterPath edge;
    edge.addRoundedRect(QRectF(18, 52, 64, 28), 8, 8);
    return unite({engraved(rect(6, 42, 88, 50, 16), edge, 5), ring(30, 20, 13, 7),
                  ring(58, 14, 9, 4), ring(78, 30, 7, 3)});
}

QPainterPath window() {
    const QPainterPath frame = rect(10, 4, 80, 92, 5);
    QPainterPath panes;
    panes.addRoundedRect(QRectF(20, 14, 25, 34), 2, 2);
    panes.addRoundedRect(QRectF(55, 14, 25, 34), 2, 2);
    panes.addRoundedRect(QRectF(20, 56, 25, 30), 2, 2);
    panes.addRoundedRect(QRectF(55, 56, 25, 30), 2, 2);
    return frame.subtracted(panes);
}

QPainterPath spectacles() {
    QPainterPath bridge(QPointF(40, 54));
    bridge.quadTo(50, 42, 60, 54);
    return unite({ring(24, 60, 22, 13), ring(76, 60, 22, 13), strokedPath(bridge, 7),
                  line({4, 52}, {2, 32}, 6), line({96, 52}, {98, 32}, 6)});
}

QPainterPath girder() {
    // An I-beam seen end on.
    return unite({rect(8, 8, 84, 20, 3), rect(38, 20, 24, 60), rect(8, 72, 84, 20, 3)});
}

QPainterPath pistol() {
    const QPainterPath barrel = rect(4, 24, 84, 20, 4);
    const QPainterPath grip = polygon({{58, 40}, {92, 40}, {98, 94}, {72, 96}});
    QPainterPath guard(QPointF(46, 44));
    guard.quadTo(46, 70, 66, 64);
    return unite(
        {barrel, rect(76, 16, 20, 30, 4), grip, strokedPath(guard, 6), rect(6, 16, 8, 10, 2)});
}

QPainterPath dynamite() {
    QPainterPath sticks;
    for (int i = 0; i < 3; ++i)
        sticks = sticks.united(rect(12 + i * 26, 34, 24, 62, 5));
    QPainterPath band(QPointF(6, 66));
    band.lineTo(94, 66);
    QPainterPath fuse(QPointF(50, 36));
    fuse.cubicTo(50, 20, 62, 22, 70, 12);
    return unite({engraved(sticks, band, 6), strokedPath(fuse, 5),
                  QTransform::fromTranslate(58, 0).map(
                      QTransform::fromScale(0.26, 0.26).map(star(8, 0.4)))});
}

QPainterPath hammer() {
    // A broad striking face on the left, the claw tapering to the right, a long handle.
    const QPainterPath head =
        unite({rect(6, 6, 34, 32, 5), polygon({{36, 10}, {70, 14}, {96, 4}, {82, 30}, {36, 34}})});
    return rotated(unite({head, rect(34, 30, 20, 68, 7)}), 35);
}

QPainterPath candle() {
    QPainterPath flameShape(QPointF(50, 2));
    flameShape.cubicTo(62, 16, 64, 26, 50, 32);
    flameShape.cubicTo(36, 26, 38, 16, 50, 2);
    QPainterPath drip(QPointF(36, 42));
    drip.lineTo(36, 58);
    return unite({flameShape, engraved(rect(30, 38, 40, 52, 4), drip, 5), rect(18, 86, 64, 12, 5)});
}

QPainterPath envelope() {
    QPainterPath flap(QPointF(8, 22));
    flap.lineTo(50, 56);
    flap.lineTo(92, 22);
    return engraved(rect(4, 18, 92, 64, 6), flap, 6);
}

QPainterPath potato() {
    QPainterPath tuber(QPointF(10, 50));
    tuber.cubicTo(8, 20, 46, 14, 66, 18);
    tuber.cubicTo(92, 22, 98, 48, 90, 66);
    tuber.cubicTo(80, 88, 40, 90, 22, 80);
    tuber.cubicTo(12, 74, 10, 62, 10, 50);
    return tuber.subtracted(circle(34, 40, 4))
        .subtracted(circle(64, 36, 4))
        .subtracted(circle(56, 66, 4))
        .subtracted(circle(78, 56, 3.5));
}

QPainterPath vase() {
    QPainterPath body(QPointF(36, 14));
    body.lineTo(64, 14);
    body.cubicTo(64, 30, 90, 42, 86, 68);
    body.cubicTo(84, 88, 70, 96, 50, 96);
    body.cubicTo(30, 96, 16, 88, 14, 68);
    body.cubicTo(10, 42, 36, 30, 36, 14);
    QPainterPath pattern(QPointF(20, 62));
    pattern.quadTo(50, 74, 80, 62);
    return unite({engraved(body, pattern, 6), rect(28, 4, 44, 12, 5)});
}

QPainterPath sewingMachine() {
    const QPainterPath body =
        unite({rect(4, 80, 92, 16, 4), rect(66, 22, 22, 62, 4), rect(10, 18, 78, 22, 10),
               rect(10, 18, 22, 40, 4), line({20, 58}, {20, 76}, 5)});
    return unite({body.subtracted(circle(88, 46, 16)), ring(88, 46, 12, 5)});
}

QPainterPath coat() {
    const QPainterPath shape = polygon({{32, 6},
                                        {42, 12},
                                        {58, 12},
                                        {68, 6},
                                        {96, 24},
                                        {86, 48},
                                        {74, 42},
                                        {74, 96},
                                        {26, 96},
                                        {26, 42},
                                        {14, 48},
                                        {4, 24}});
    QPainterPath seam(QPointF(42, 12));
    seam.lineTo(50, 30);
    seam.lineTo(58, 12);
    seam.moveTo(50, 30);
    seam.lineTo(50, 96);
    return engraved(shape, seam, 5);
}

QPainterPath hat() {
    QPainterPath crown(QPointF(24, 74));
    crown.lineTo(24, 44);
    crown.cubicTo(24, 14, 76, 14, 76, 44);
    crown.lineTo(76, 74);
    crown.closeSubpath();
    QPainterPath brim;
    brim.addEllipse(QPointF(50, 78), 48, 14);
    QPainterPath band(QPointF(20, 58));
    band.lineTo(80, 58);
    return unite(
        {engraved(crown, band, 7),
         brim.subtracted(strokedPath(crown, 6)).united(crown.intersected(rect(0, 70, 100, 10)))});
}

QPainterPath bean() {
    QPainterPath shape;
    shape.addEllipse(QPointF(50, 50), 32, 46);
    QPainterPath crease(QPointF(50, 8));
    crease.cubicTo(36, 30, 64, 70, 50, 92);
    return rotated(engraved(shape, crease, 7), 30);
}

QPainterPath sugarCubes() {
    return unite({rect(6, 54, 42, 42, 6), rect(52, 54, 42, 42, 6), rect(29, 8, 42, 42, 6)});
}

QPainterPath cigar() {
    QPainterPath band(QPointF(68, 30));
    band.lineTo(68, 70);
    QPainterPath ash(QPointF(16, 30));
    ash.lineTo(16, 70);
    const QPainterPath body = engraved(engraved(rect(4, 52, 92, 24, 12), band, 6), ash, 4);
    QPainterPath smoke(QPointF(12, 44));
    smoke.cubicTo(2, 34, 26, 26, 16, 14);
    smoke.cubicTo(10, 6, 20, 2, 24, 2);
    return rotated(unite({body, strokedPath(smoke, 6)}), -20);
}

QPainterPath gem() {
    const QPainterPath stone = polygon({{22, 14}, {78, 14}, {96, 38}, {50, 94}, {4, 38}});
    QPainterPath facets(QPointF(4, 38));
    facets.lineTo(96, 38);
    facets.moveTo(36, 14);
    facets.lineTo(28, 38);
    facets.lineTo(50, 94);
    facets.lineTo(72, 38);
    facets.lineTo(64, 14);
    return engraved(stone, facets, 4);
}

QPainterPath paperSheet() {
    const QPainterPath sheet = polygon({{14, 4}, {62, 4}, {86, 28}, {86, 96}, {14, 96}});
    QPainterPath lines(QPointF(62, 4));
    lines.lineTo(62, 28);
    lines.lineTo(86, 28);
    for (qreal y : {44.0, 58.0, 72.0}) {
        lines.moveTo(26, y);
        lines.lineTo(74, y);
    }
    lines.moveTo(26, 30);
    lines.lineTo(48, 30);
    return engraved(sheet, lines, 5);
}

QPainterPath sack() {
    QPainterPath body(QPointF(36, 22));
    body.cubicTo(8, 34, 6, 96, 22, 96);
    body.lineTo(78, 96);
    body.cubicTo(94, 96, 92, 34, 64, 22);
    body.closeSubpath();
    const QPainterPath top = polygon({{30, 2}, {70, 2}, {62, 20}, {38, 20}});
    QPainterPath tie(QPointF(32, 22));
    tie.lineTo(68, 22);
    return unite({body, top}).subtracted(strokedPath(tie, 5)).subtracted(rect(32, 52, 36, 24, 4));
}

QPainterPath bulb() {
    QPainterPath glass =
        unite({circle(50, 36, 32), polygon({{30, 52}, {70, 52}, {64, 74}, {36, 74}})});
    QPainterPath filament(QPointF(40, 62));
    filament.lineTo(40, 40);
    filament.lineTo(46, 34);
    filament.lineTo(54, 42);
    filament.lineTo(60, 34);
    filament.lineTo(60, 62);
    QPainterPath threads(QPointF(30, 86));
    threads.lineTo(70, 86);
    return unite({engraved(glass, filament, 5), engraved(rect(36, 77, 28, 20, 4), threads, 4)});
}

QPainterPath bicycle() {
    QPainterPath frame(QPointF(20, 68));
    frame.lineTo(44, 68);
    frame.lineTo(70, 38);
    frame.lineTo(38, 38);
    frame.lineTo(20, 68);
    frame.moveTo(38, 38);
    frame.lineTo(44, 68);
    frame.moveTo(70, 38);
    frame.lineTo(80, 68);
    frame.moveTo(32, 28);
    frame.lineTo(46, 28);
    frame.moveTo(38, 28);
    frame.lineTo(38, 38);
    frame.moveTo(70, 38);
    frame.lineTo(66, 24);
    frame.lineTo(78, 22);
    return unite({ring(20, 68, 20, 13), ring(80, 68, 20, 13), strokedPath(frame, 7)});
}

QPainterPath car() {
    const QPainterPath body =
        unite({rect(2, 46, 96, 32, 10), polygon({{20, 50}, {32, 20}, {70, 20}, {84, 50}})});
    QPainterPath windows;
    windows.addPolygon(
        QPolygonF({QPointF(30, 44), QPointF(37, 28), QPointF(48, 28), QPointF(48, 44)}));
    windows.closeSubpath();
    windows.addPolygon(
        QPolygonF({QPointF(56, 44), QPointF(56, 28), QPointF(66, 28), QPointF(74, 44)}));
    windows.closeSubpath();
    const QPainterPath wheels = unite({circle(26, 78, 19), circle(74, 78, 19)});
    return body.subtracted(windows)
        .subtracted(wheels)
        .united(ring(26, 78, 14, 5))
        .united(ring(74, 78, 14, 5));
}

QPainterPath tinCan() {
    QPainterPath rims(QPointF(14, 26));
    rims.lineTo(86, 26);
    rims.moveTo(14, 80);
    rims.lineTo(86, 80);
    return engraved(rect(14, 8, 72, 88, 10), rims, 6).subtracted(rect(28, 40, 44, 26, 4));
}

QPainterPath jug() {
    QPainterPath body(QPointF(28, 12));
    body.lineTo(66, 12);
    body.lineTo(80, 4);
    body.lineTo(74, 24);
    body.cubicTo(88, 44, 86, 80, 76, 96);
    body.lineTo(24, 96);
    body.cubicTo(14, 80, 12, 44, 28, 24);
    body.closeSubpath();
    QPainterPath handle(QPointF(20, 34));
    handle.cubicTo(-2, 40, 0, 66, 20, 72);
    QPainterPath level(QPointF(20, 44));
    level.lineTo(80, 44);
    return unite({engraved(body, level, 5), strokedPath(handle, 8)});
}

QPainterPath apple() {
    QPainterPath fruit(QPointF(50, 30));
    fruit.cubicTo(70, 16, 98, 24, 94, 58);
    fruit.cubicTo(90, 88, 70, 100, 50, 92);
    fruit.cubicTo(30, 100, 10, 88, 6, 58);
    fruit.cubicTo(2, 24, 30, 16, 50, 30);
    QPainterPath stem(QPointF(50, 30));
    stem.quadTo(48, 14, 42, 6);
    QPainterPath leafShape(QPointF(54, 20));
    leafShape.cubicTo(60, 4, 78, 2, 88, 6);
    leafShape.cubicTo(80, 20, 66, 24, 54, 20);
    QPainterPath shine(QPointF(22, 56));
    shine.quadTo(22, 44, 32, 38);
    return unite({engraved(fruit, shine, 6), strokedPath(stem, 7), leafShape});
}

QPainterPath banana() {
    QPainterPath fruit(QPointF(86, 8));
    fruit.cubicTo(96, 60, 60, 96, 8, 86);
    fruit.cubicTo(4, 80, 8, 76, 14, 76);
    fruit.cubicTo(56, 74, 74, 50, 74, 12);
    fruit.closeSubpath();
    QPainterPath ridge(QPointF(84, 22));
    ridge.cubicTo(84, 60, 60, 84, 22, 84);
    return unite({engraved(fruit, ridge, 4), rect(72, 2, 14, 14, 3)});
}

QPainterPath honeycomb() {
    const qreal r = 22;
    const qreal w = r * std::sqrt(3.0);
    QPainterPath all;
    const QPointF centres[] = {{50 - w / 2, 30},        {50 + w / 2, 30},
                               {50 - w, 30 + r * 1.5},  {50, 30 + r * 1.5},
                               {50 + w, 30 + r * 1.5},  {50 - w / 2, 30 + r * 3},
                               {50 + w / 2, 30 + r * 3}};
    for (const QPointF& c : centres)
        all = all.united(hexagon(c.x(), c.y(), r - 2.5));
    return all;
}

QPainterPath feather() {
    QPainterPath vane(QPointF(50, 2));
    vane.cubicTo(74, 20, 74, 66, 54, 82);
    vane.lineTo(46, 82);
    vane.cubicTo(26, 66, 26, 20, 50, 2);
    QPainterPath rib(QPointF(50, 14));
    rib.lineTo(50, 82);
    rib.moveTo(28, 44);
    rib.lineTo(40, 52);
    rib.moveTo(70, 34);
    rib.lineTo(60, 42);
    return rotated(unite({engraved(vane, rib, 4), line({50, 80}, {50, 98}, 6)}), 35);
}

QPainterPath hide() {
    return polygon({{32, 6},
                    {68, 6},
                    {66, 20},
                    {92, 12},
                    {80, 38},
                    {84, 66},
                    {96, 88},
                    {68, 82},
                    {50, 98},
                    {32, 82},
                    {4, 88},
                    {16, 66},
                    {20, 38},
                    {8, 12},
                    {34, 20}});
}

QPainterPath clock() {
    QPainterPath hands(QPointF(50, 24));
    hands.lineTo(50, 56);
    hands.lineTo(70, 66);
    return unite({engraved(circle(50, 56, 42), hands, 7), rect(42, 2, 16, 12, 3)});
}

QPainterPath cookingPot() {
    QPainterPath body(QPointF(12, 40));
    body.lineTo(88, 40);
    body.lineTo(86, 80);
    body.cubicTo(86, 96, 74, 96, 70, 96);
    body.lineTo(30, 96);
    body.cubicTo(26, 96, 14, 96, 14, 80);
    body.closeSubpath();
    QPainterPath steam;
    for (qreal x : {34.0, 50.0, 66.0}) {
        steam.moveTo(x, 28);
        steam.cubicTo(x - 8, 20, x + 8, 14, x, 4);
    }
    return unite({body, rect(4, 34, 92, 12, 5), rect(0, 50, 14, 10, 4), rect(86, 50, 14, 10, 4),
                  strokedPath(steam, 5)});
}

QPainterPath barn() {
    const QPainterPath shape =
        polygon({{50, 4}, {84, 20}, {98, 48}, {98, 96}, {2, 96}, {2, 48}, {16, 20}});
    QPainterPath door;
    door.addRect(QRectF(30, 56, 40, 40));
    door.moveTo(30, 56);
    door.lineTo(70, 96);
    door.moveTo(70, 56);
    door.lineTo(30, 96);
    return engraved(shape, door, 5).subtracted(rect(40, 24, 20, 16, 2));
}

QPainterPath bow() {
    QPainterPath limb(QPointF(30, 4));
    limb.cubicTo(88, 14, 88, 86, 30, 96);
    const QPainterPath arrow =
        unite({line({6, 50}, {84, 50}, 6), polygon({{76, 38}, {98, 50}, {76, 62}}),
               polygon({{4, 38}, {16, 38}, {24, 50}, {16, 62}, {4, 62}, {12, 50}})});
    return unite({strokedPath(limb, 10), line({30, 4}, {30, 96}, 3), arrow});
}

QPainterPath barrel() {
    QPainterPath body(QPointF(24, 4));
    body.lineTo(76, 4);
    body.cubicTo(92, 30, 92, 70, 76, 96);
    body.lineTo(24, 96);
    body.cubicTo(8, 70, 8, 30, 24, 4);
    QPainterPath hoops(QPointF(14, 26));
    hoops.quadTo(50, 32, 86, 26);
    hoops.moveTo(14, 74);
    hoops.quadTo(50, 80, 86, 74);
    hoops.moveTo(50, 36);
    hoops.lineTo(50, 66);
    return engraved(body, hoops, 6);
}

QPainterPath cleaver() {
    const QPainterPath blade = rect(4, 18, 64, 50, 5).subtracted(circle(18, 32, 6));
    return rotated(unite({blade, rect(64, 32, 34, 16, 7)}), -20);
}

QPainterPath mine() {
    // A pick resting on a heap of rock.
    const QPainterPath rock =
        polygon({{4, 96}, {14, 70}, {34, 58}, {58, 64}, {78, 56}, {96, 78}, {98, 96}});
    const QPainterPath pick =
        QTransform::fromTranslate(14, -6).map(QTransform::fromScale(0.72, 0.72).map(pickaxe()));
    return rock.subtracted(strokedPath(pick, 10)).united(pick);
}

} // namespace velmora::generators::pictogram
