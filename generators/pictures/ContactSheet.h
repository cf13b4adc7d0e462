#pragma once
// A labelled overview of all PNG pictures of a folder, for the documentation.
#include <QImage>
#include <QString>

namespace velmora::generators {

// Every "*.png" of dir in name order, each on a checkered cell (so transparency shows) with
// its name below. Pictures larger than a cell are scaled down. Raises DataError when dir holds
// no readable picture.
QImage renderContactSheet(const QString& dir);

} // namespace velmora::generators
