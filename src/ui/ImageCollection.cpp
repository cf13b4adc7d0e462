#include "ui/ImageCollection.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>

namespace velmora::ui {

// The folder is walked unsorted (the program's own holds some 440 pictures, and sorting their
// file infos cost more than the rest of the look-up); of two names that differ only in case the
// one first in name order is kept.
ImageCollection::ImageCollection(const QString& folder) {
    // The suffix is compared by hand: a name filter matches each entry against a pattern.
    QDirIterator it(folder, QDir::Files);
    const QString prefix = folder + QLatin1Char('/');
    while (it.hasNext()) {
        it.next();
        const QString fileName = it.fileName();
        if (fileName.size() <= 4 || !fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            continue;
        const QString k = key(fileName.left(fileName.size() - 4)); // without ".png"
        const QString path = prefix + fileName;
        const auto existing = files_.constFind(k);
        if (existing == files_.constEnd() || path < *existing)
            files_.insert(k, path);
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

QByteArray ImageCollection::storedPng(const QString& name, QSize size) const {
    const auto file = files_.constFind(key(name));
    if (file == files_.constEnd())
        return {};
    QFile f(*file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    // The signature, then the header chunk with width and height, big-endian.
    if (bytes.size() < 24 || !bytes.startsWith("\x89PNG\r\n\x1a\n") || bytes.mid(12, 4) != "IHDR")
        return {};
    const auto at = [&](int offset) {
        return (quint32(quint8(bytes[offset])) << 24) | (quint32(quint8(bytes[offset + 1])) << 16) |
               (quint32(quint8(bytes[offset + 2])) << 8) | quint32(quint8(bytes[offset + 3]));
    };
    if (at(16) != quint32(size.width()) || at(20) != quint32(size.height()))
        return {};
    return bytes;
}

namespace {

// An icon whose picture is taken from the collection, and scaled, when it is first drawn; every
// mode and state shows the same picture (a selected row shows the picture as it is).
class LazyIconEngine final : public QIconEngine {
public:
    LazyIconEngine(const ImageCollection& collection, QString name, QSize size)
        : collection_(collection), name_(std::move(name)), size_(size) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QPixmap& p = picture();
        if (p.isNull() || size == size_)
            return p;
        return p.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QPixmap p = pixmap(rect.size(), mode, state);
        painter->drawPixmap(rect.x() + (rect.width() - p.width()) / 2,
                            rect.y() + (rect.height() - p.height()) / 2, p);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return size_.scaled(size, Qt::KeepAspectRatio).boundedTo(size_);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {size_}; }
    QIconEngine* clone() const override { return new LazyIconEngine(collection_, name_, size_); }
    QString key() const override { return QStringLiteral("VelmoraLazyIcon"); }
    bool isNull() override { return !collection_.contains(name_); }

private:
    const QPixmap& picture() {
        if (!decoded_) {
            picture_ = collection_.picture(name_, size_);
            decoded_ = true;
        }
        return picture_;
    }

    const ImageCollection& collection_;
    QString name_;
    QSize size_;
    QPixmap picture_;
    bool decoded_ = false;
};

} // namespace

QIcon ImageCollection::icon(const QString& name, QSize size) const {
    if (!contains(name) || size.isEmpty())
        return {};
    return QIcon(new LazyIconEngine(*this, name, size));
}

} // namespace velmora::ui
