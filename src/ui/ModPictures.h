#pragma once
// The mod writer's pictures, taken from the program's picture store.
#include "mod/NamedPictures.h"
#include "ui/ImageCollection.h"

namespace velmora::ui {

class CollectionPictures final : public mod::NamedPictures {
public:
    explicit CollectionPictures(const ImageCollection& collection) : collection_(collection) {}
    QImage picture(const QString& name, QSize size) const override {
        return collection_.picture(name, size).toImage();
    }
    QByteArray storedPng(const QString& name, QSize size) const override {
        return collection_.storedPng(name, size);
    }

private:
    const ImageCollection& collection_;
};

} // namespace velmora::ui
