#include "support/TestSupport.h"

#include "support/BadInput.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(dir).relativeFilePath(path);
        const QFileInfo info(path);
        if (info.isDir())
            entries.insert(relative + QLatin1Char('/'), QByteArray());
        else if (!info.isFile()) // a pipe or a device, which would never end reading
            entries.insert(relative, "(no regular file: " + info.symLinkTarget().toUtf8() + ")");
        else
            entries.insert(relative, readBytes(path));
    }
    return entries;
}

static bool setImmutable(const QString& path, bool on) {
    return QProcess::execute(QStringLiteral("chattr"),
                             {on ? QStringLiteral("+i") : QStringLiteral("-i"), path}) == 0;
}

Immutable::Immutable(QString path) : path_(std::move(path)), held_(setImmutable(path_, true)) {}
Immutable::~Immutable() {
    if (held_)
        setImmutable(path_, false);
}

} // namespace velmora::test
