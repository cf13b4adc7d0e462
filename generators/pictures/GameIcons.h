#pragma once
// Game-style icons for goods and buildings ("icon_fish", "icon_coffee_roaster"): a rounded
// tile whose colour and pictogram come from the words of the name. A name with a goods word
// shows the goods; a building word adds a small emblem of the building kind in the corner, or
// fills the tile when the name holds no goods word. Names without a known word get a colour
// from the name's hash and a one- or two-letter monogram.
#include <QImage>
#include <QString>

namespace velmora::generators {

// What an icon shows: the kinds of pictogram found for the goods and the building in the
// name ("bread" and "house" for "icon_banana_bakery"); both empty for a monogram.
struct IconDesign {
    QString goods;
    QString building;
};
IconDesign iconDesignOf(const QString& name);

// The icon of a goods or building name, 128 by 128.
QImage renderGameIcon(const QString& name);

// The picture for a name as the icon collection needs it: the named picture when the table
// of named pictures holds the name (workforce pictures such as "Bauern"), else the game icon.
QImage renderIconPicture(const QString& name);

// The letters of the monogram drawn for a name without a keyword: "icon_cane_sugar_1" gives
// "CS", "icon_potatoes" gives "Po".
QString monogramOf(const QString& name);

} // namespace velmora::generators
