#include "generators/pictures/PictureCanvas.h"

#include "data/DataError.h"
#include "data/FileAccess.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QStringList>

namespace velmora::generators {

namespace {

// Loads the embedded font once and gives its family name.
QString embeddedFamily() {
    static const QString family = [] {
        const int id =
            QFontDatabase::addApplicationFont(QStringLiteral(":/pictures/Heuristica-Bold.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty())
            throw data::DataError(QStringLiteral(
                "Die eingebettete Schrift Heuristica-Bold.ttf lässt sich nicht laden."));
        return families.first();
    }();
    return family;
}

QFont embeddedFont() {
    QFont font(embeddedFamily());
    font.setBold(true);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    // Never let a missing glyph pull in an installed font.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    return font;
}

} // namespace

QImage transparentCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepareSmooth(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterPath textPath(const QString& text, qreal pixelSize) {
    QPainterPath raw;
    raw.addText(0, 0, embeddedFont(), text);
    return QTransform::fromScale(pixelSize / 100.0, pixelSize / 100.0).map(raw);
}

QPainterPath fitIn(const QPainterPath& path, const QRectF& box) {
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty())
        return path;
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t.map(path);
}

QPainterPath fittedTextPath(const QString& text, const QRectF& box) {
    return fitIn(textPath(text, 100), box);
}

quint32 nameHash(const QString& name) {
    quint32 h = 2166136261u;
    for (const char c : name.toUtf8()) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

QColor hashedColour(const QString& name) {
    const quint32 h = nameHash(name);
    return QColor::fromHsv(static_cast<int>(h % 360), 150 + static_cast<int>((h >> 9) % 60),
                           150 + static_cast<int>((h >> 17) % 50));
}

QColor nudgedColour(const QColor& base, const QString& name, int maxDegrees) {
    const quint32 h = nameHash(name);
    const int turn = static_cast<int>(h % static_cast<quint32>(2 * maxDegrees + 1)) - maxDegrees;
    const int shade = static_cast<int>((h >> 11) % 25) - 12;
    const QColor hsv = base.toHsv();
    const int hue = ((hsv.hsvHue() < 0 ? 0 : hsv.hsvHue()) + turn + 360) % 360;
    return QColor::fromHsv(hue, hsv.hsvSaturation(), std::clamp(hsv.value() + shade, 40, 255));
}

QColor inkColour() {
    return QColor(0x24, 0x2b, 0x33);
}

void drawOutlined(QPainter& painter, const QPainterPath& shape, const QBrush& fill, qreal outline) {
    // Boolean operations leave tiny slivers where outlines meet; they would show as notches.
    const QPainterPath path = shape.simplified();
    painter.save();
    QColor shadow(0, 0, 0, 70);
    painter.setPen(QPen(shadow, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(shadow);
    painter.drawPath(path.translated(0, 3));
    painter.setPen(QPen(inkColour(), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

QPainterPath strokedPath(const QPainterPath& path, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

namespace {

// The shared body of both badge shapes: shadow, gradient body, light rim.
QRectF drawBadge(QPainter& painter, const QColor& colour, const QPainterPath& shape) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawPath(shape.translated(0, 3));
    const QRectF r = shape.boundingRect();
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, colour.lighter(135));
    body.setColorAt(1, colour.darker(135));
    painter.setBrush(body);
    painter.setPen(QPen(colour.darker(190), 3));
    painter.drawPath(shape);
    // A soft highlight on the upper half gives the badge some depth.
    QRadialGradient gloss(r.center().x(), r.top() + r.height() * 0.2, r.width() * 0.6);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.setPen(QPen(QColor(255, 255, 255, 110), 2));
    painter.drawPath(shape);
    painter.restore();
    return r.adjusted(14, 14, -14, -14);
}

} // namespace

QRectF drawRoundBadge(QPainter& painter, const QColor& colour) {
    QPainterPath shape;
    shape.addEllipse(QRectF(6, 4, 116, 116));
    return drawBadge(painter, colour, shape);
}

QRectF drawTileBadge(QPainter& painter, const QColor& colour) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(6, 4, 116, 116), 24, 24);
    return drawBadge(painter, colour, shape);
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Straight alpha, as every PNG reader expects; opaque pictures go without an alpha channel.
    image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32)
        .save(&buffer, "PNG");
    return bytes;
}

void writePng(const QImage& image, const QString& path) {
    const QByteArray bytes = pngBytes(image);
    if (bytes.isEmpty())
        throw data::DataError(
            QStringLiteral("Das Bild %1 lässt sich nicht als PNG kodieren.").arg(path));
    data::writeFileAtomically(path, bytes);
}

} // namespace velmora::generators
