#pragma once
// The generator's three commands as operations, so the command line and the tests share them.
// Each creates the output folder when it is missing and raises DataError (German, naming the
// file) when a picture cannot be written.
#include <QString>
#include <QStringList>

namespace velmora::generators {

// Writes every named picture as name + ".png" and the window background into dir; returns the
// file names written.
QStringList writeNamedPictures(const QString& dir);

// Writes the icon of each name as name + suffix + ".png" into dir (suffix "_0" gives the
// file names of an icon source folder); returns the file names written.
QStringList writeIcons(const QString& dir, const QStringList& names, const QString& suffix = {});

// The names of a name list: one per line, blanks around a name and empty lines ignored.
QStringList readNameList(const QString& path);

// Writes the contact sheet of the pictures in dir to file.
void writeContactSheet(const QString& file, const QString& dir);

} // namespace velmora::generators
