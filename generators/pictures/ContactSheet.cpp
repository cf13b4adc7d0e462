#include "generators/pictures/ContactSheet.h"

#include "data/DataError.h"
#include "data/FileAccess.h"
#include "generators/pictures/PictureCanvas.h"

#include <QDir>
#include <algorithm>

namespace velmora::generators {

namespace {

constexpr int kColumns = 8;
constexpr int kCellWidth = 150;
constexpr int kCellHeight = 164;
constexpr int kMargin = 12;
constexpr qreal kLabelSize = 13;

void checkered(QPainter& p, const QRect& area) {
    p.fillRect(area, QColor(0xf4, 0xf4, 0xf4));
    for (int y = area.top(); y < area.bottom(); y += 8)
        for (int x = area.left() + ((y - area.top()) / 8 % 2) * 8; x < area.right(); x += 16)
            p.fillRect(QRect(x, y, 8, 8).intersected(area), QColor(0xdd, 0xdd, 0xdd));
}

} // namespace

QImage renderContactSheet(const QString& dir) {
    QStringList files = QDir(dir).entryList({QStringLiteral("*.png")}, QDir::Files);
    // Plain code-point order, the same under every locale.
    std::sort(files.begin(), files.end());
    QList<QPair<QString, QImage>> pictures;
    for (const QString& file : files) {
        QImage image;
        if (image.loadFromData(data::readFileBytes(dir + u'/' + file), "PNG"))
            pictures.append({file.chopped(4), image});
    }
    if (pictures.isEmpty())
        throw data::DataError(QStringLiteral("Im Ordner %1 liegen keine PNG-Bilder.")
                                  .arg(QDir::toNativeSeparators(dir)));

    const int rows = (static_cast<int>(pictures.size()) + kColumns - 1) / kColumns;
    QImage sheet(kMargin * 2 + kColumns * kCellWidth, kMargin * 2 + rows * kCellHeight,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xfc, 0xfc, 0xfb));
    QPainter p(&sheet);
    prepareSmooth(p);
    for (int i = 0; i < pictures.size(); ++i) {
        const QPoint cell(kMargin + (i % kColumns) * kCellWidth,
                          kMargin + (i / kColumns) * kCellHeight);
        const QRect frame(cell.x() + (kCellWidth - kPictureSize) / 2, cell.y() + 4, kPictureSize,
                          kPictureSize);
        checkered(p, frame);
        const QImage& picture = pictures[i].second;
        const QSize fitted =
            picture.size().scaled(frame.size(), Qt::KeepAspectRatio).boundedTo(picture.size());
        const QRect target(frame.center().x() - fitted.width() / 2 + 1,
                           frame.center().y() - fitted.height() / 2 + 1, fitted.width(),
                           fitted.height());
        p.drawImage(target, picture);

        QPainterPath label = textPath(pictures[i].first, kLabelSize);
        const QRectF bounds = label.boundingRect();
        const qreal room = kCellWidth - 8;
        if (bounds.width() > room)
            label = QTransform::fromScale(room / bounds.width(), room / bounds.width()).map(label);
        const QRectF shrunk = label.boundingRect();
        label.translate(cell.x() + (kCellWidth - shrunk.width()) / 2 - shrunk.left(),
                        frame.bottom() + 22);
        p.fillPath(label, inkColour());
    }
    p.end();
    return sheet;
}

} // namespace velmora::generators
