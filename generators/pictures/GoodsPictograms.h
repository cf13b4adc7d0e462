#pragma once
// Pictograms of goods and of the kinds of production buildings, for the game icons. Same
// manner as Pictograms.h: closed outlines in a 100 by 100 box, details cut in as grooves.
#include <QPainterPath>

namespace velmora::generators::pictogram {

// Goods.
QPainterPath bread();
QPainterPath mug();
QPainterPath bottle();
QPainterPath spool();
QPainterPath sailboat();
QPainterPath soapBar();
QPainterPath window();
QPainterPath spectacles();
QPainterPath girder();
QPainterPath pistol();
QPainterPath dynamite();
QPainterPath hammer();
QPainterPath sewingMachine();
QPainterPath coat();
QPainterPath hat();
QPainterPath bean();
QPainterPath sugarCubes();
QPainterPath cigar();
QPainterPath gem();
QPainterPath paperSheet();
QPainterPath sack();
QPainterPath bulb();
QPainterPath bicycle();
QPainterPath car();
QPainterPath tinCan();
QPainterPath jug();
QPainterPath apple();
QPainterPath banana();
QPainterPath honeycomb();
QPainterPath feather();
QPainterPath hide();
QPainterPath clock();
QPainterPath cookingPot();
QPainterPath candle();
QPainterPath envelope();
QPainterPath potato();
QPainterPath vase();

// Buildings.
QPainterPath barn();
QPainterPath bow();
QPainterPath barrel();
QPainterPath cleaver();
QPainterPath mine();

} // namespace velmora::generators::pictogram
