#pragma once
// The program's named pictures: the state and button pictures the windows ask for by name,
// the workforce pictures, the region pictures "1" to "4", the six group pictures (the group
// list takes them by position, "Group0" to "Group5"), the fertility icons and the window
// background.
#include <QImage>
#include <QList>
#include <QString>

namespace velmora::generators {

// The file name of the main window's background picture, without ".png".
inline const QString kBackgroundName = QStringLiteral("Background");
// Size of the background picture: the main window's client area.
constexpr int kBackgroundWidth = 888;
constexpr int kBackgroundHeight = 863;

// Every name of the named-picture table, in table order (the background is not among them).
QList<QString> namedPictureNames();

// The named picture of that name (ASCII letter case ignored), 128 by 128; a null image when
// the table holds no such name.
QImage renderNamedPicture(const QString& name);

// The window background, kBackgroundWidth by kBackgroundHeight.
QImage renderBackground();

} // namespace velmora::generators
