#include "app/AppTestSupport.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QStringDecoder>

namespace velmora::test {

void makeGame(const QString& dir, bool withMods) {
    writeBytes(dir + QStringLiteral("/Bin/Win64/Velmora.exe"),
               readBytes(sourcePath(QStringLiteral("sample-game/Bin/Win64/Velmora.exe"))));
    if (withMods)
        QDir().mkpath(dir + QStringLiteral("/mods"));
}

QString registryText(const QString& path) {
    const QByteArray bytes = readBytes(path);
    if (!bytes.startsWith("\xFF\xFE"))
        return {};
    QStringDecoder utf16(QStringDecoder::Utf16LE);
    return utf16(bytes.mid(2));
}

void copyShippedData(const QString& dataDir) {
    const QString shipped = sourcePath(QStringLiteral("resources/data/XMLP"));
    for (const QString& name : QDir(shipped).entryList(QDir::Files))
        writeBytes(QDir(dataDir).filePath(name), readBytes(QDir(shipped).filePath(name)));
}

} // namespace velmora::test
