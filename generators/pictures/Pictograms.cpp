#include "generators/pictures/Pictograms.h"

#include "generators/pictures/PathShapes.h"

#include <QTransform>
#include <QtMath>

// Most shapes are drawn in a 100 by 100 box.
namespace velmora::generators::pictogram {

QPainterPath star(int points, qreal innerRatio) {
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2 == 0) ? 50 : 50 * innerRatio;
        const qreal a = qDegreesToRadians(-90.0 + 180.0 * i / points);
        poly << QPointF(50 + r * std::cos(a), 50 + r * std::sin(a));
    }
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    return p;
}

QPainterPath gear(int teeth) {
    QPolygonF poly;
    const qreal step = 360.0 / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal base = i * step;
        // Root, flank up, tooth top, flank down.
        const qreal angles[] = {base, base + step * 0.18, base + step * 0.32, base + step * 0.68,
                                base + step * 0.82};
        const qreal radii[] = {38, 38, 50, 50, 38};
        for (int k = 0; k < 5; ++k) {
            const qreal a = qDegreesToRadians(angles[k]);
            poly << QPointF(50 + radii[k] * std::cos(a), 50 + radii[k] * std::sin(a));
        }
    }
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    return p.subtracted(circle(50, 50, 15));
}

QPainterPath curvedArrow(qreal startDegrees, qreal sweepDegrees, qreal thickness) {
    const QRectF box(14, 14, 72, 72);
    const qreal r = 36;
    QPainterPath arc;
    arc.arcMoveTo(box, startDegrees);
    arc.arcTo(box, startDegrees, sweepDegrees);
    QPainterPathStroker stroker;
    stroker.setWidth(thickness);
    stroker.setCapStyle(Qt::FlatCap);
    const QPainterPath band = stroker.createStroke(arc);
    const qreal a = qDegreesToRadians(startDegrees + sweepDegrees);
    const QPointF end(50 + r * std::cos(a), 50 - r * std::sin(a));
    const qreal sign = sweepDegrees >= 0 ? 1 : -1;
    const QPointF along(sign * -std::sin(a), sign * -std::cos(a));
    const QPointF out(std::cos(a), -std::sin(a));
    const qreal head = thickness * 1.25;
    const QPainterPath tip =
        polygon({end + out * head, end + along * head * 1.3, end - out * head});
    return band.united(tip);
}

QPainterPath arrowRight(qreal length, qreal thickness) {
    const qreal head = thickness * 2.2;
    return unite(
        {rect(0, -thickness / 2, length - head * 0.8, thickness),
         polygon({{length - head, -head * 0.75}, {length, 0}, {length - head, head * 0.75}})});
}

QPainterPath swapArrows() {
    QTransform upper, lower;
    upper.translate(5, 30);
    lower.translate(95, 70);
    lower.rotate(180);
    const QPainterPath a = arrowRight(90, 16);
    return upper.map(a).united(lower.map(a));
}

QPainterPath cross() {
    return unite({rotated(rect(40, 0, 20, 100, 6), 45), rotated(rect(40, 0, 20, 100, 6), -45)});
}

QPainterPath check() {
    QPainterPath p(QPointF(15, 55));
    p.lineTo(40, 80);
    p.lineTo(88, 22);
    return strokedPath(p, 18);
}

QPainterPath plus() {
    return unite({rect(40, 5, 20, 90, 5), rect(5, 40, 90, 20, 5)});
}

QPainterPath house() {
    const QPainterPath body =
        unite({polygon({{50, 5}, {98, 48}, {2, 48}}), rect(14, 44, 72, 52), rect(68, 10, 12, 30)});
    return body.subtracted(rect(42, 64, 16, 32, 3));
}

QPainterPath pencil() {
    const QPainterPath p = unite({rect(38, 0, 24, 70, 3), polygon({{38, 70}, {62, 70}, {50, 96}})});
    QPainterPath ferrule(QPointF(36, 16));
    ferrule.lineTo(64, 16);
    return rotated(engraved(p, ferrule, 4), 40);
}

QPainterPath flame() {
    QPainterPath p(QPointF(50, 100));
    p.cubicTo(20, 100, 8, 75, 22, 52);
    p.cubicTo(30, 40, 32, 28, 28, 8);
    p.cubicTo(46, 20, 58, 36, 54, 54);
    p.cubicTo(62, 48, 66, 40, 64, 28);
    p.cubicTo(84, 45, 94, 70, 80, 88);
    p.cubicTo(73, 97, 62, 100, 50, 100);
    QPainterPath inner(QPointF(50, 96));
    inner.cubicTo(36, 96, 32, 82, 40, 70);
    inner.cubicTo(44, 64, 46, 58, 46, 52);
    inner.cubicTo(56, 60, 62, 70, 60, 82);
    inner.cubicTo(58, 92, 54, 96, 50, 96);
    return p.subtracted(inner);
}

QPainterPath drop() {
    QPainterPath p(QPointF(50, 0));
    p.cubicTo(60, 25, 85, 45, 85, 68);
    p.cubicTo(85, 88, 70, 100, 50, 100);
    p.cubicTo(30, 100, 15, 88, 15, 68);
    p.cubicTo(15, 45, 40, 25, 50, 0);
    QPainterPath shine(QPointF(30, 66));
    shine.cubicTo(30, 78, 36, 86, 46, 88);
    return engraved(p, shine, 6);
}

QPainterPath coin() {
    QPainterPath ring;
    ring.addEllipse(QPointF(50, 50), 36, 36);
    return engraved(circle(50, 50, 50), ring, 6);
}

QPainterPath fish() {
    QPainterPath body(QPointF(8, 50));
    body.cubicTo(28, 18, 64, 18, 80, 50);
    body.cubicTo(64, 82, 28, 82, 8, 50);
    const QPainterPath tail = polygon({{72, 50}, {99, 26}, {92, 50}, {99, 74}});
    QPainterPath gill(QPointF(36, 34));
    gill.cubicTo(44, 44, 44, 56, 36, 66);
    return engraved(body.united(tail), gill, 5).subtracted(circle(24, 46, 5));
}

QPainterPath log() {
    // Three stacked log ends with their year rings.
    QPainterPath all;
    QPainterPath rings;
    const QPointF centres[] = {{27, 70}, {73, 70}, {50, 30}};
    for (const QPointF& c : centres) {
        all = all.united(circle(c.x(), c.y(), 23));
        rings.addEllipse(c, 13, 13);
        rings.addEllipse(c, 4, 4);
    }
    return engraved(all, rings, 4);
}

QPainterPath wheat() {
    QPainterPath stalk(QPointF(50, 100));
    stalk.cubicTo(50, 80, 50, 50, 50, 30);
    QPainterPath all = strokedPath(stalk, 7);
    QPainterPath grain;
    grain.addEllipse(QPointF(0, 0), 9, 15);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 68 - i * 18;
        QTransform l, r;
        l.translate(38, y);
        l.rotate(-35);
        r.translate(62, y);
        r.rotate(35);
        all = all.united(l.map(grain)).united(r.map(grain));
    }
    QTransform top;
    top.translate(50, 16);
    return all.united(top.map(grain));
}

QPainterPath ham() {
    // A drumstick: a teardrop of meat narrowing into a short bone with two knobs.
    QPainterPath meat(QPointF(66, 66));
    meat.cubicTo(40, 78, 4, 66, 4, 36);
    meat.cubicTo(4, 10, 36, -2, 58, 10);
    meat.cubicTo(78, 22, 80, 50, 66, 66);
    QPainterPath shine(QPointF(18, 34));
    shine.cubicTo(20, 22, 30, 16, 40, 15);
    return unite({engraved(meat, shine, 6), line({60, 60}, {82, 82}, 12), circle(90, 80, 9),
                  circle(80, 91, 9)});
}

QPainterPath ingot() {
    const QPainterPath p = polygon({{26, 28}, {74, 28}, {94, 74}, {6, 74}});
    QPainterPath face(QPointF(20, 44));
    face.lineTo(80, 44);
    return engraved(p, face, 5);
}

QPainterPath lump() {
    const QPainterPath p =
        polygon({{18, 62}, {28, 30}, {54, 16}, {80, 28}, {94, 56}, {78, 84}, {44, 90}, {20, 80}});
    QPainterPath facets(QPointF(28, 30));
    facets.lineTo(50, 50);
    facets.lineTo(94, 56);
    facets.moveTo(50, 50);
    facets.lineTo(44, 90);
    return engraved(p, facets, 4);
}

QPainterPath grapes() {
    QPainterPath all = line({50, 22}, {56, 4}, 6);
    all = all.united(rotated(rect(56, 6, 26, 14, 7), -20, {56, 12}));
    const int perRow[] = {4, 3, 2, 1};
    for (int row = 0; row < 4; ++row)
        for (int i = 0; i < perRow[row]; ++i) {
            const qreal x = 50 + (i - (perRow[row] - 1) / 2.0) * 21;
            all = all.united(circle(x, 32 + row * 19, 11.5));
        }
    return all;
}

QPainterPath bricks() {
    QPainterPath mortar;
    for (int row = 0; row < 3; ++row) {
        const qreal y = 24 + row * 18;
        mortar.moveTo(2, y + 18);
        mortar.lineTo(98, y + 18);
        for (qreal x = (row % 2 == 0) ? 33 : 18; x < 98; x += 32) {
            mortar.moveTo(x, y);
            mortar.lineTo(x, y + 18);
        }
    }
    return engraved(rect(2, 24, 96, 72, 4), mortar, 5);
}

QPainterPath leaf() {
    QPainterPath p(QPointF(12, 88));
    p.cubicTo(6, 40, 44, 8, 92, 8);
    p.cubicTo(92, 56, 60, 92, 12, 88);
    QPainterPath rib(QPointF(18, 82));
    rib.lineTo(76, 24);
    return engraved(p, rib, 5).united(line({4, 96}, {18, 82}, 6));
}

QPainterPath flower() {
    QPainterPath all;
    QPainterPath petal;
    petal.addEllipse(QPointF(50, 22), 15, 22);
    for (int i = 0; i < 5; ++i)
        all = all.united(rotated(petal, i * 72.0));
    QPainterPath heart;
    heart.addEllipse(QPointF(50, 50), 12, 12);
    return engraved(all, heart, 5);
}

QPainterPath pickaxe() {
    QPainterPath head(QPointF(6, 44));
    head.cubicTo(30, 14, 70, 14, 94, 44);
    const QPainterPath p = unite({strokedPath(head, 13), line({50, 24}, {50, 98}, 12)});
    return rotated(p, -30);
}

QPainterPath factory() {
    const QPainterPath body = unite({polygon({{2, 96},
                                              {2, 44},
                                              {28, 58},
                                              {28, 44},
                                              {54, 58},
                                              {54, 44},
                                              {80, 58},
                                              {98, 58},
                                              {98, 96}}),
                                     rect(70, 8, 16, 52)});
    QPainterPath windows;
    for (int i = 0; i < 3; ++i)
        windows.addRect(QRectF(12 + i * 28, 70, 14, 12));
    return body.subtracted(windows);
}

QPainterPath anvil() {
    return polygon({{4, 24},
                    {96, 24},
                    {96, 36},
                    {80, 44},
                    {70, 58},
                    {84, 82},
                    {84, 94},
                    {16, 94},
                    {16, 82},
                    {30, 58},
                    {30, 46},
                    {14, 42}});
}

QPainterPath burst() {
    QPolygonF poly;
    const qreal radii[] = {50, 24, 44, 22, 50, 26, 40, 22, 48, 24, 42, 20};
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 30.0 * i);
        poly << QPointF(50 + radii[i] * std::cos(a), 50 + radii[i] * std::sin(a));
    }
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    return p;
}

QPainterPath sprout() {
    QPainterPath stem(QPointF(50, 98));
    stem.cubicTo(50, 80, 48, 60, 50, 44);
    QPainterPath left(QPointF(50, 58));
    left.cubicTo(30, 62, 6, 50, 4, 24);
    left.cubicTo(28, 22, 46, 34, 50, 58);
    QPainterPath right(QPointF(50, 46));
    right.cubicTo(56, 20, 74, 4, 96, 6);
    right.cubicTo(96, 32, 76, 48, 50, 46);
    return unite({strokedPath(stem, 9), left, right});
}

QPainterPath globe() {
    QPainterPath lines;
    lines.addEllipse(QPointF(50, 50), 20, 48);
    lines.moveTo(50, 2);
    lines.lineTo(50, 98);
    lines.moveTo(4, 50);
    lines.lineTo(96, 50);
    lines.moveTo(12, 28);
    lines.lineTo(88, 28);
    lines.moveTo(12, 72);
    lines.lineTo(88, 72);
    return engraved(circle(50, 50, 48), lines, 4);
}

QPainterPath crate() {
    QPainterPath planks;
    planks.addRect(QRectF(14, 14, 72, 72));
    planks.moveTo(14, 14);
    planks.lineTo(86, 86);
    return engraved(rect(4, 4, 92, 92, 6), planks, 5);
}

QPainterPath warning() {
    QPainterPath tri = strokedPath(polygon({{50, 10}, {92, 86}, {8, 86}}), 14);
    tri = tri.united(polygon({{50, 10}, {92, 86}, {8, 86}}));
    return tri.subtracted(rect(44, 34, 12, 32, 5)).subtracted(circle(50, 76, 6.5));
}

QPainterPath rings() {
    QPainterPath p;
    p.addEllipse(QPointF(50, 50), 50, 50);
    p.addEllipse(QPointF(50, 50), 39, 39);
    p.addEllipse(QPointF(50, 50), 29, 29);
    p.addEllipse(QPointF(50, 50), 18, 18);
    p.addEllipse(QPointF(50, 50), 9, 9);
    p.setFillRule(Qt::OddEvenFill);
    return p;
}

QPainterPath pitchfork() {
    QPainterPath tines(QPointF(22, 8));
    tines.lineTo(22, 34);
    tines.cubicTo(22, 46, 34, 50, 50, 50);
    tines.cubicTo(66, 50, 78, 46, 78, 34);
    tines.lineTo(78, 8);
    const QPainterPath p = unite(
        {strokedPath(tines, 9), line({50, 8}, {50, 98}, 10), polygon({{16, 10}, {22, 0}, {28, 10}}),
         polygon({{44, 10}, {50, 0}, {56, 10}}), polygon({{72, 10}, {78, 0}, {84, 10}})});
    return rotated(p, 20);
}

QPainterPath bolt() {
    return polygon({{58, 0}, {16, 56}, {44, 56}, {34, 100}, {84, 38}, {54, 38}, {70, 0}});
}

QPainterPath fieldRows() {
    const QPainterPath land = polygon({{22, 30}, {78, 30}, {98, 92}, {2, 92}});
    QPainterPath furrows;
    for (int i = 1; i < 5; ++i) {
        furrows.moveTo(22 + i * 11.2, 30);
        furrows.lineTo(2 + i * 19.2, 92);
    }
    return engraved(land, furrows, 4);
}

QPainterPath forbidden() {
    QPainterPath ring = circle(50, 50, 50).subtracted(circle(50, 50, 37));
    return ring.united(rotated(rect(44, 4, 12, 92), 45).intersected(circle(50, 50, 45)));
}

QPainterPath bust() {
    QPainterPath shoulders(QPointF(10, 100));
    shoulders.cubicTo(10, 66, 28, 58, 50, 58);
    shoulders.cubicTo(72, 58, 90, 66, 90, 100);
    shoulders.closeSubpath();
    return shoulders.united(circle(50, 32, 20));
}

} // namespace velmora::generators::pictogram
