#include "data/DataVersion.h"

#include "data/DataError.h"
#include "data/FileAccess.h"
#include "data/XmlDocument.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace velmora::data {

Fingerprint FingerprintOf(const QString& path) {
    // Only a regular file is opened: a pipe under that name would never end.
    if (!QFileInfo(path).isFile())
        throw DataError(
            QStringLiteral("Die Datei %1 fehlt oder ist keine Datei.").arg(quotedPath(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                            .arg(quotedPath(path), file.errorString()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        throw DataError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                            .arg(quotedPath(path), file.errorString()));
    return {file.size(), QString::fromLatin1(hash.result().toHex())};
}

namespace {

void writeFingerprint(pugi::xml_node parent, const char* name, const Fingerprint& print) {
    pugi::xml_node node = parent.append_child(name);
    node.append_attribute("size").set_value(std::to_string(print.size).c_str());
    node.append_attribute("sha256").set_value(utf8(print.sha256).c_str());
}

Fingerprint readFingerprint(const pugi::xml_node& parent, const char* name) {
    const pugi::xml_node node = parent.child(name);
    Fingerprint print;
    if (!node)
        return print;
    bool ok = false;
    const qint64 size = QString::fromUtf8(node.attribute("size").value()).toLongLong(&ok);
    if (ok && size >= 0)
        print.size = size;
    print.sha256 = fromUtf8(node.attribute("sha256").value());
    return print;
}

} // namespace

QByteArray WriteDataVersion(const DataVersion& version) {
    XmlDocument doc = XmlDocument::withRoot("DataVersion");
    pugi::xml_node root = doc.root();
    root.append_attribute("program").set_value(utf8(version.program).c_str());
    pugi::xml_node game = root.append_child("Game");
    game.append_attribute("version").set_value(utf8(version.gameVersion).c_str());
    writeFingerprint(game, "Executable", version.executable);
    writeFingerprint(game, "Assets", version.assets);
    return doc.serialize();
}

DataVersion ReadDataVersion(const QByteArray& bytes, const QString& sourceName) {
    const XmlDocument doc = XmlDocument::parse(bytes, sourceName);
    requireRoot(doc, "DataVersion");
    DataVersion version;
    version.program = fromUtf8(doc.root().attribute("program").value());
    const pugi::xml_node game = doc.root().child("Game");
    version.gameVersion = fromUtf8(game.attribute("version").value());
    version.executable = readFingerprint(game, "Executable");
    version.assets = readFingerprint(game, "Assets");
    return version;
}

} // namespace velmora::data
