#include "ui/ImageCollection.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace velmora::ui {

ImageCollection::ImageCollection(const QString& folder) {
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    for (const QFileInfo& f : files) {
        const QString k = key(f.completeBaseName());
        if (!files_.contains(k))
            files_.insert(k, f.filePath());
    }
}

const ImageCollection& ImageCollection::instance() {
    static const ImageCollection collection;
    return collection;
}

QString ImageCollection::key(const QString& name) {
    QString k = name;
    for (QChar& c : k)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return k;
}

bool ImageCollection::contains(const QString& name) const {
    return files_.contains(key(name));
}

QPixmap ImageCollection::picture(const QString& name) const {
    const QString k = key(name);
    const auto file = files_.constFind(k);
    if (file == files_.constEnd())
        return {};
    auto cached = loaded_.constFind(k);
    if (cached == loaded_.constEnd())
        cached = loaded_.insert(k, QPixmap(*file));
    return *cached;
}

QPixmap ImageCollection::picture(const QString& name, QSize size) const {
    const QPixmap source = picture(name);
    if (source.isNull() || size.isEmpty())
        return {};
    if (source.size() == size)
        return source;
    const QPixmap scaled = source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.size() == size)
        return scaled;
    QPixmap framed(size);
    framed.fill(Qt::transparent);
    QPainter painter(&framed);
    painter.drawPixmap((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2,
                       scaled);
    return framed;
}

QIcon ImageCollection::icon(const QString& name, QSize size) const {
    const QPixmap p = picture(name, size);
    if (p.isNull())
        return {};
    QIcon icon(p);
    icon.addPixmap(p, QIcon::Selected); // a selected row shows the picture as it is
    return icon;
}

} // namespace velmora::ui
