#pragma once
// Game-style icons for goods and buildings ("icon_fish", "icon_meat_raw"): a rounded tile
// whose colour and pictogram come from a keyword of the name, or a colour from the name's
// hash and a one- or two-letter monogram when no keyword matches.
#include <QImage>
#include <QString>

namespace velmora::tools {

// The icon of a goods or building name, 128 by 128.
QImage renderGameIcon(const QString& name);

// The picture for a name as the icon collection needs it: the named picture when the table
// of named pictures holds the name (workforce pictures such as "Bauern"), else the game icon.
QImage renderIconPicture(const QString& name);

// The letters of the monogram drawn for a name without a keyword: "icon_cane_sugar_1" gives
// "CS", "icon_potatoes" gives "Po".
QString monogramOf(const QString& name);

} // namespace velmora::tools
