#pragma once
// The program-wide store of named pictures (building and goods icons, region pictures, state
// pictures). Every window takes its pictures from here by name, at the size it needs. Names
// match regardless of the case of ASCII letters; of two pictures whose names differ only so,
// the first in name order wins. An unknown name yields an empty picture.
//
// A picture is decoded the first time it is asked for and then kept. An icon (icon()) is not
// even that: it decodes and scales its picture the first time it is drawn, so a list of
// hundreds of rows decodes the screenful it shows.
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace velmora::ui {

class ImageCollection {
public:
    // The pictures found in folder (by default the ones the executable carries).
    explicit ImageCollection(const QString& folder = QStringLiteral(":/pictures"));
    // The collection of this run.
    static const ImageCollection& instance();

    bool contains(const QString& name) const;
    // The picture as stored, or an empty pixmap.
    QPixmap picture(const QString& name) const;
    // The picture scaled smoothly to size (aspect ratio kept, centred on a transparent square
    // when it is not square), or an empty pixmap.
    QPixmap picture(const QString& name, QSize size) const;
    // The picture as an icon of size, drawn the same when selected; decoded on its first use.
    // An icon of an unknown name is null.
    QIcon icon(const QString& name, QSize size) const;
    // The picture's file as stored, when it is a PNG of exactly size; empty otherwise.
    QByteArray storedPng(const QString& name, QSize size) const;
    // How many pictures are held decoded.
    int decodedCount() const { return int(loaded_.size()); }

private:
    static QString key(const QString& name);
    QHash<QString, QString> files_; // key -> file path
    mutable QHash<QString, QPixmap> loaded_;
};

} // namespace velmora::ui
