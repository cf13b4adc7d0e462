#pragma once
// Simple pictograms as closed outlines. Each is built in its own coordinates; fitIn
// (PictureCanvas.h) scales it into the box a picture has for it. Outlines rather than strokes, so
// every symbol can be filled and outlined the same way.
#include <QPainterPath>
#include <QRectF>

namespace velmora::generators::pictogram {

QPainterPath star(int points = 5, qreal innerRatio = 0.45);
QPainterPath gear(int teeth = 8);
// An arc of the given sweep (degrees, counter-clockwise from start) with an arrowhead at its end.
QPainterPath curvedArrow(qreal startDegrees, qreal sweepDegrees, qreal thickness = 14);
// An arrow pointing right along the x axis.
QPainterPath arrowRight(qreal length = 90, qreal thickness = 20);
// Two opposite arrows, one above the other.
QPainterPath swapArrows();
QPainterPath cross();
QPainterPath check();
QPainterPath plus();
QPainterPath house();
QPainterPath pencil();
QPainterPath flame();
QPainterPath drop();
QPainterPath coin();
QPainterPath fish();
QPainterPath log();
QPainterPath wheat();
QPainterPath ham();
QPainterPath ingot();
QPainterPath lump();
QPainterPath grapes();
QPainterPath bricks();
QPainterPath leaf();
QPainterPath flower();
QPainterPath pickaxe();
QPainterPath factory();
QPainterPath anvil();
QPainterPath burst();
QPainterPath sprout();
QPainterPath globe();
QPainterPath crate();
QPainterPath warning();
QPainterPath rings();
QPainterPath pitchfork();
QPainterPath bolt();
QPainterPath fieldRows();
QPainterPath forbidden();
QPainterPath bust();

} // namespace velmora::generators::pictogram
