#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace velmora::test {

TempDir::TempDir() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary directory");
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString fixture(const QString& relative) {
    return QStringLiteral(VELMORA_FIXTURES "/") + relative;
}
QString sourcePath(const QString& relative) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/") + relative;
}

} // namespace velmora::test
