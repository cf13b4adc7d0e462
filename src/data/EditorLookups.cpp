#include "data/EditorLookups.h"

#include <QFileInfo>

namespace velmora::data {

namespace {
QString fileNameOf(const XmlDocument& doc) {
    return QFileInfo(doc.path()).fileName();
}
} // namespace

bool isWholeNumber(const QString& text) {
    bool digits = !text.isEmpty();
    for (const QChar c : text)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    return digits;
}

void requireGuid(const QString& guid) {
    if (!isWholeNumber(guid))
        throw DataError(QStringLiteral("\u201E%1\u201C ist keine gültige GUID.").arg(guid));
}

pugi::xml_node requireAssetRecord(const XmlDocument& assets, const QString& guid) {
    requireGuid(guid);
    const pugi::xml_node record = assetWithGuid(assets.root(), utf8(guid));
    if (!record)
        throw DataError(QStringLiteral("Das Gebäude %1 steht nicht in \u201E%2\u201C.")
                            .arg(guid, fileNameOf(assets)));
    return record;
}

pugi::xml_node requireEntry(const XmlDocument& table, const char* element, const QString& guid) {
    requireGuid(guid);
    const pugi::xml_node entry = childWithAttribute(table.root(), element, "GUID", utf8(guid));
    if (!entry)
        throw DataError(QStringLiteral("Der Eintrag %1 steht nicht in \u201E%2\u201C.")
                            .arg(guid, fileNameOf(table)));
    return entry;
}

} // namespace velmora::data
