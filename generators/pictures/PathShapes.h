#pragma once
// Small building blocks for the pictograms, all in the pictograms' 100 by 100 coordinates.
#include "generators/pictures/PictureCanvas.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <initializer_list>

namespace velmora::generators::pictogram {

inline QPainterPath circle(qreal cx, qreal cy, qreal r) {
    QPainterPath p;
    p.addEllipse(QPointF(cx, cy), r, r);
    return p;
}

inline QPainterPath rect(qreal x, qreal y, qreal w, qreal h, qreal radius = 0) {
    QPainterPath p;
    p.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return p;
}

inline QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}

inline QPainterPath line(QPointF from, QPointF to, qreal width) {
    QPainterPath p(from);
    p.lineTo(to);
    return strokedPath(p, width);
}

inline QPainterPath rotated(const QPainterPath& path, qreal degrees, QPointF about = {50, 50}) {
    QTransform t;
    t.translate(about.x(), about.y());
    t.rotate(degrees);
    t.translate(-about.x(), -about.y());
    return t.map(path);
}

// Cuts a groove of the given width along detail into shape: a drawn line that stays legible
// because the badge behind shows through it.
inline QPainterPath engraved(const QPainterPath& shape, const QPainterPath& detail,
                             qreal width = 5) {
    return shape.subtracted(strokedPath(detail, width));
}

inline QPainterPath unite(std::initializer_list<QPainterPath> parts) {
    QPainterPath all;
    for (const QPainterPath& p : parts)
        all = all.united(p);
    return all;
}

} // namespace velmora::generators::pictogram
