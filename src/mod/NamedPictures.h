#pragma once
// The pictures a mod is made of, looked up by name. The program hands in its picture store; a
// test hands in plain images.
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
};

} // namespace velmora::mod
