#pragma once
// The pictures a mod is made of, looked up by name. The program hands in its picture store; a
// test hands in plain images.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace velmora::mod {

class NamedPictures {
public:
    virtual ~NamedPictures() = default;
    // The picture of that name (letter case of the name ignored) scaled to size, or a null
    // image when there is no picture of that name.
    virtual QImage picture(const QString& name, QSize size) const = 0;
    // The picture's stored PNG file when it is of exactly that size, so that it can be written
    // as it is instead of being encoded again; empty when there is none (the default).
    virtual QByteArray storedPng(const QString& name, QSize size) const {
        (void)name, (void)size;
        return {};
    }
};

} // namespace velmora::mod
