#pragma once
// Drawing basics shared by every picture: the transparent canvas, the embedded font, colours
// derived from names, the two badge shapes and the outlined fill that keeps symbols legible
// on light and dark backgrounds alike. Everything here is deterministic: no clock, no random
// source, no installed font.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace velmora::generators {

// Side of every square picture of the collection.
constexpr int kPictureSize = 128;

// A transparent picture of the given size, ready for drawing.
QImage transparentCanvas(int width = kPictureSize, int height = kPictureSize);
// Turns on anti-aliasing; every drawer starts with it.
void prepareSmooth(QPainter& painter);

// Scales and centres path into box, keeping its proportions.
QPainterPath fitIn(const QPainterPath& path, const QRectF& box);
// The outline of text set in the embedded bold font, scaled and centred to fit box.
QPainterPath fittedTextPath(const QString& text, const QRectF& box);
// The outline of text in the embedded bold font at the given pixel size, baseline at y = 0.
QPainterPath textPath(const QString& text, qreal pixelSize);

// A stable 32-bit hash of a name (FNV-1a over its UTF-8 bytes).
quint32 nameHash(const QString& name);
// A clear, saturated colour whose hue is taken from the name's hash.
QColor hashedColour(const QString& name);
// base with its hue turned by up to maxDegrees either way, chosen by the name's hash.
QColor nudgedColour(const QColor& base, const QString& name, int maxDegrees = 12);

// Dark ink used for outlines and shadows.
QColor inkColour();

// Fills path with fill and draws a dark outline around it, over a soft drop shadow.
void drawOutlined(QPainter& painter, const QPainterPath& path, const QBrush& fill,
                  qreal outline = 5.0);
// The area that a stroke of the given width along path covers, with round ends.
QPainterPath strokedPath(const QPainterPath& path, qreal width);

// Round badge filling most of the canvas: a gradient from a light to a dark shade of colour
// with a light rim. Returns the inner circle's bounds for the content.
QRectF drawRoundBadge(QPainter& painter, const QColor& colour);
// Rounded-square tile in the same manner, the shape of every game icon.
QRectF drawTileBadge(QPainter& painter, const QColor& colour);

// Encodes a picture as PNG; the same picture always gives the same bytes.
QByteArray pngBytes(const QImage& image);
// Writes a picture as PNG atomically; raises DataError naming the file on failure.
void writePng(const QImage& image, const QString& path);

} // namespace velmora::generators
