#include "mod/ForeignMods.h"

#include "data/DataError.h"
#include "data/FileAccess.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstring>

namespace velmora::mod {

namespace {

const QString kAssetsPath = QStringLiteral("data/config/export/main/asset/assets.xml");

// The folders the program writes, in any letter case, are its own; the game skips hidden ones.
bool isForeign(const QString& name) {
    return !IsProgramFolderName(name) && !name.startsWith(QLatin1Char('-')) &&
           !name.startsWith(QLatin1Char('.'));
}

// German, else English, else the folder's name. ModName may also be a plain text. A
// modinfo.json that is there but can not be read raises DataError.
QString modName(const QString& folder, const QString& fallback) {
    const std::optional<QByteArray> bytes = data::readRegularFileIfPresent(
        QDir(folder).filePath(QStringLiteral("modinfo.json")), kModInfoSizeLimit);
    if (!bytes)
        return fallback;
    const QJsonValue name =
        QJsonDocument::fromJson(*bytes).object().value(QStringLiteral("ModName"));
    QString text = name.isString() ? name.toString() : QString();
    for (const char* language : {"German", "English"}) {
        if (!PlainModName(text).trimmed().isEmpty())
            break;
        text = name.toObject().value(QLatin1String(language)).toString();
    }
    text = PlainModName(text).trimmed();
    return text.isEmpty() ? fallback : text;
}

// The digits at text as a GUID; false when there are none.
bool readGuid(const char*& text, quint64& guid) {
    if (*text < '0' || *text > '9')
        return false;
    guid = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        guid = guid * 10 + quint64(*text - '0');
    return true;
}

void skipBlanks(const char*& text) {
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n')
        ++text;
}

// The GUIDs a Path compares Values/Standard/GUID with: "…GUID='1'", "…GUID = \"2\"", "…GUID=3".
void guidsOfPath(const char* path, std::vector<quint64>& guids) {
    static const char kCompared[] = "Standard/GUID";
    for (const char* at = std::strstr(path, kCompared); at; at = std::strstr(at, kCompared)) {
        at += sizeof kCompared - 1;
        skipBlanks(at);
        if (*at != '=')
            continue;
        ++at;
        skipBlanks(at);
        if (*at == '\'' || *at == '"')
            ++at;
        skipBlanks(at);
        if (quint64 guid = 0; readGuid(at, guid))
            guids.push_back(guid);
    }
}

// A GUID attribute: one GUID or a comma-separated list of them.
void guidsOfAttribute(const char* value, std::vector<quint64>& guids) {
    for (const char* at = value; *at;) {
        skipBlanks(at);
        quint64 guid = 0;
        if (readGuid(at, guid))
            guids.push_back(guid);
        while (*at && *at != ',')
            ++at;
        if (*at == ',')
            ++at;
    }
}

// Every ModOp of the document, also inside the groups some mods wrap them in.
void guidsOfModOps(const pugi::xml_node& root, std::vector<quint64>& guids) {
    std::vector<pugi::xml_node> open = {root};
    while (!open.empty()) {
        const pugi::xml_node node = open.back();
        open.pop_back();
        if (std::strcmp(node.name(), "ModOp") == 0) {
            guidsOfPath(node.attribute("Path").value(), guids);
            guidsOfAttribute(node.attribute("GUID").value(), guids);
            continue; // the content of a ModOp is the game's assets, not more ModOps
        }
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element)
                open.push_back(child);
    }
}

} // namespace

ForeignMods ScanForeignMods(const QString& modsDir, const std::atomic<bool>* stop) {
    ForeignMods result;
    const QDir dir(modsDir);
    const QStringList folders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    std::vector<quint64> guids;
    for (const QString& folderName : folders) {
        if (stop && stop->load()) {
            result.stopped = true;
            break;
        }
        if (!isForeign(folderName))
            continue;
        const QString folder = dir.filePath(folderName);
        const QString shownName = PlainModName(folderName);
        guids.clear();
        QString name;
        try {
            const std::optional<QByteArray> assets = data::readRegularFileIfPresent(
                QDir(folder).filePath(kAssetsPath), kModAssetsSizeLimit);
            if (!assets)
                continue; // a mod without assets changes no building
            guidsOfModOps(
                data::XmlDocument::parse(*assets, QDir(folder).filePath(kAssetsPath)).root(),
                guids);
            if (!guids.empty())
                name = modName(folder, shownName);
        } catch (const data::DataError& e) {
            // The message names the file by its path, which holds the folder's name as it is.
            result.skipped << PlainModName(
                QStringLiteral("\u201E%1\u201C: %2").arg(shownName, e.message()));
            continue;
        }
        ++result.modCount;
        if (guids.empty())
            continue;
        const auto index = quint32(result.names.size());
        result.names << name;
        for (const quint64 guid : guids)
            result.changes.emplace_back(guid, index);
    }
    std::sort(result.changes.begin(), result.changes.end());
    result.changes.erase(std::unique(result.changes.begin(), result.changes.end()),
                         result.changes.end());
    return result;
}

QString PlainModName(const QString& name) {
    QString plain;
    plain.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        if (pair)
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
        switch (QChar::category(c)) {
        case QChar::Other_Control:       // line breaks, tabs, NUL
        case QChar::Other_Format:        // direction marks, embeddings, isolates, joiners
        case QChar::Separator_Line:      // U+2028
        case QChar::Separator_Paragraph: // U+2029
        case QChar::Other_Surrogate:     // half of a character whose other half is missing
            break;
        default:
            plain += QStringView(name).mid(i, pair ? 2 : 1);
        }
        if (pair)
            ++i;
    }
    return plain;
}

QStringList ConflictingMods(const ForeignMods& mods, const QString& buildingGuid,
                            const QString& buffGuid) {
    QStringList names;
    for (const QString& text : {buildingGuid, buffGuid}) {
        bool number = false;
        const quint64 guid = text.toULongLong(&number);
        if (!number || guid == 0)
            continue;
        const auto first = std::lower_bound(mods.changes.begin(), mods.changes.end(),
                                            std::pair<quint64, quint32>(guid, 0));
        for (auto it = first; it != mods.changes.end() && it->first == guid; ++it)
            names << mods.names.at(qsizetype(it->second));
    }
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString ConflictText(const QStringList& names) {
    if (names.isEmpty())
        return {};
    return QStringLiteral("Wird auch geändert von: ") + names.join(QStringLiteral(", "));
}

QString ConflictQuestion(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names)
        quoted << QStringLiteral("\u201E%1\u201C").arg(name);
    QString who;
    if (quoted.size() == 1) {
        who = QStringLiteral("Der Mod %1 ändert").arg(quoted.first());
    } else {
        const QString last = quoted.takeLast();
        who = QStringLiteral("Die Mods %1 und %2 ändern")
                  .arg(quoted.join(QStringLiteral(", ")), last);
    }
    return who + QStringLiteral(" dieses Gebäude ebenfalls. Der Mod, den das Spiel zuletzt lädt, "
                                "gewinnt. Trotzdem aktivieren?");
}

QString SkippedModsNote(const ForeignMods& mods) {
    if (mods.skipped.isEmpty())
        return {};
    return QStringLiteral("Diese Mods im Mod-Ordner des Spiels konnten nicht gelesen werden und "
                          "wurden bei der Suche nach Überschneidungen übergangen:\r") +
           mods.skipped.join(QLatin1Char('\r'));
}

} // namespace velmora::mod
