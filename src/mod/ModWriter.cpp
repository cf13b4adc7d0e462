#include "mod/ModWriter.h"

#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/FileAccess.h"
#include "data/XmlDocument.h"
#include "mod/ModDescription.h"
#include "mod/ModFolder.h"
#include "mod/ModText.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QPainter>
#include <sstream>

namespace velmora::mod {

using namespace velmora::data;

namespace {

constexpr QSize kIconSize(128, 128);
constexpr int kLongestName = 200;

const QString kAssetFolder = QStringLiteral("data/config/export/main/asset");
const QString kIconFolder = QStringLiteral("data/icon");

QString below(const QString& folder, const QString& relative) {
    return folder + QLatin1Char('/') + relative;
}

// GUIDs are decimal texts; anything else would break the queries and names built from them.
void requireGuid(const QString& guid) {
    bool digitsOnly = !guid.isEmpty();
    for (const QChar c : guid)
        digitsOnly = digitsOnly && c.unicode() >= '0' && c.unicode() <= '9';
    if (!digitsOnly)
        throw DataError(QStringLiteral("\u201E%1\u201C ist keine gültige GUID.").arg(guid));
}

void requireFolderInputs(const QString& modsDir, const QString& guid, const QString& name) {
    requireGuid(guid);
    if (const QString fault = ModFolderNameFault(name); !fault.isEmpty())
        throw DataError(fault);
    if (modsDir.isEmpty())
        throw DataError(QStringLiteral("Der Mod-Ordner des Spiels ist nicht bekannt."));
}

[[noreturn]] void missing(const QString& what, const QString& fileName) {
    throw DataError(QStringLiteral("%1 steht nicht in \u201E%2\u201C.").arg(what, fileName));
}

pugi::xml_node entryByGuid(const XmlDocument& doc, const char* element, const QString& guid,
                           const QString& what, const QString& fileName) {
    const pugi::xml_node e =
        selectNode(doc.root(), std::string(element) + "[@GUID=" + xpathLiteral(guid) + "]");
    if (!e)
        missing(what, fileName);
    return e;
}

void requireRemoved(const QString& path) {
    if (!RemoveModFolder(path))
        throw DataError(QStringLiteral("Der Ordner %1 kann nicht vollständig gelöscht werden.")
                            .arg(quotedPath(path)));
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path))
        throw DataError(
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(quotedPath(path)));
}

QImage requirePicture(const NamedPictures& pictures, const QString& name) {
    const QImage picture = pictures.picture(name, kIconSize);
    if (picture.isNull())
        throw DataError(
            QStringLiteral("Das Bild \u201E%1\u201C fehlt in der Bildersammlung.").arg(name));
    return picture;
}

// Pictures of 128 x 128 pixels: a light compression keeps them small and takes a fraction of
// the time of the strongest.
constexpr int kPngQuality = 80;

QByteArray png(const QImage& image, const QString& fileName) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG", kPngQuality))
        throw DataError(
            QStringLiteral("Das Bild \u201E%1\u201C kann nicht erzeugt werden.").arg(fileName));
    return bytes;
}

// The building's icon with "Star" stretched over the whole of it.
QImage markedIcon(const QImage& icon, const QImage& star) {
    QImage marked = icon.scaled(kIconSize).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&marked);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), kIconSize), star);
    painter.end();
    return marked.convertToFormat(QImage::Format_ARGB32);
}

// The file name of an icon path without folder and extension.
QString iconStem(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

void removeChildren(pugi::xml_node parent, const char* name) {
    while (pugi::xml_node c = parent.child(name))
        parent.remove_child(c);
}

// Reads back what was written and refuses files that do not parse.
void checkWrittenFiles(const QString& folder) {
    const QString assets = below(folder, kAssetFolder + QStringLiteral("/assets.xml"));
    try {
        XmlDocument::parse(readFileBytes(assets), assets);
    } catch (const DataError& e) {
        throw DataError(QStringLiteral("Der Mod wurde nicht eingerichtet, weil seine Datei "
                                       "\u201Eassets.xml\u201C fehlerhaft ist: ") +
                        e.message());
    }
    const QString modinfo = below(folder, QStringLiteral("modinfo.json"));
    QJsonParseError error;
    QJsonDocument::fromJson(readFileBytes(modinfo), &error);
    if (error.error != QJsonParseError::NoError)
        throw DataError(
            QStringLiteral("Der Mod wurde nicht eingerichtet, weil seine Datei "
                           "\u201Emodinfo.json\u201C fehlerhaft ist (%1, Zeichen %2): %3")
                .arg(quotedPath(modinfo))
                .arg(error.offset)
                .arg(error.errorString()));
}

// The new folder takes the mod folder's name; the old mod is moved aside first and put back
// when the new one can not take its place.
void swapIn(const QString& fresh, const QString& folder, const QString& aside, FileWriter& writer) {
    const bool hadMod = QFileInfo::exists(folder);
    try {
        if (hadMod)
            writer.replace(folder, aside);
    } catch (const DataError& e) {
        RemoveModFolder(fresh);
        throw DataError(QStringLiteral("Der Mod-Ordner %1 kann nicht ersetzt werden: %2")
                            .arg(quotedPath(folder), e.message()));
    }
    try {
        writer.replace(fresh, folder);
    } catch (const DataError& e) {
        QString message = QStringLiteral("Der Mod-Ordner %1 kann nicht ersetzt werden: %2")
                              .arg(quotedPath(folder), e.message());
        if (hadMod) {
            try {
                writer.replace(aside, folder);
            } catch (const DataError&) {
                message +=
                    QStringLiteral("\rDer bisherige Mod liegt in %1.").arg(quotedPath(aside));
            }
        }
        RemoveModFolder(fresh);
        throw DataError(message);
    }
}

} // namespace

QString ModFolderNameFault(const QString& name) {
    const QString start = QStringLiteral("Der Gebäudename \u201E%1\u201C kann nicht Teil eines "
                                         "Ordnernamens sein: ")
                              .arg(name);
    if (name.trimmed().isEmpty())
        return QStringLiteral("Das Gebäude hat keinen Namen; ohne ihn lässt sich kein Mod-Ordner "
                              "benennen.");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return start + QStringLiteral("er enthält ein Steuerzeichen.");
        if (QStringLiteral("<>:\"/\\|?*").contains(c))
            return start + QStringLiteral("er enthält das Zeichen \u201E%1\u201C.").arg(c);
    }
    if (name.contains(QStringLiteral("..")))
        return start + QStringLiteral("er enthält \u201E..\u201C.");
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return start + QStringLiteral("er endet mit einem Punkt oder Leerzeichen.");
    // A folder name holds at most 255 characters, the prefix, GUID and suffixes included.
    if (name.size() > kLongestName)
        return start + QStringLiteral("er ist länger als %1 Zeichen.").arg(kLongestName);
    return {};
}

QString PrepareAssetRecord(pugi::xml_node record, const QString& guid) {
    pugi::xml_node standard = record.child("Values").child("Standard");
    pugi::xml_node icon = standard.child("IconFilename");
    if (!icon)
        throw DataError(
            QStringLiteral("Der Datensatz des Gebäudes %1 hat keinen Eintrag IconFilename.")
                .arg(guid));
    const QString iconName = iconStem(fromUtf8(icon.child_value()));
    setElementText(icon, "/data/icon/icon_" + utf8(guid) + ".png");

    for (const char* name : {"Region", "Local", "Template"})
        removeChildren(standard, name);

    const std::string base = standard.child("BaseAssetGUID").child_value();
    if (!base.empty() && base != "0") {
        removeChildren(record, "Template");
        setElementText(record.append_child("BaseAssetGUID"), base);
        if (pugi::xml_node main = record.first_element_by_path("Values/FactoryBase/IsMainFactory"))
            setElementText(main, "0");
    }
    removeChildren(standard, "BaseAssetGUID");
    removeChildren(standard, "Output");
    return iconName;
}

QStringList HeaderLines(const QString& version, const QString& guid, const QString& name,
                        const QDateTime& createdAt, const QString& userName) {
    const QLocale locale = QLocale::system();
    return {centredHeaderLine(QStringLiteral("Velmora Cindral V ") + version),
            centredHeaderLine(ModTitle(guid, name) + QStringLiteral(" GUID : (") + guid +
                              QLatin1Char(')')),
            centredHeaderLine(QStringLiteral("erzeugt am : ") +
                              locale.toString(createdAt.date(), QLocale::ShortFormat) +
                              QLatin1Char(' ') +
                              locale.toString(createdAt.time(), QLocale::LongFormat)),
            centredHeaderLine(QStringLiteral("by: ") + userName.trimmed())};
}

QByteArray AssetsText(const AssetsSources& s) {
    const QString rule(kHeaderWidth, QLatin1Char('*'));
    const QString title = ModTitle(s.guid, s.name);
    QStringList lines = {QStringLiteral("<!--"), rule};
    for (const QString& line : HeaderLines(s.version, s.guid, s.name, s.createdAt, s.userName))
        lines << commentSafe(line);
    lines << rule << QStringLiteral("-->") << QStringLiteral("<ModOps>")
          << QStringLiteral("<ModOp Type=\"replace\" Path=\"//Asset[Values/Standard/GUID='") +
                 s.guid + QStringLiteral("']\">");
    std::ostringstream record;
    s.preparedRecord.print(record, "", pugi::format_raw, pugi::encoding_utf8);
    lines << fromUtf8(record.str()) << QStringLiteral("</ModOp>");

    const auto buffValue = [&](int position) {
        return xmlEscaped(fromUtf8(attributeTextAt(s.buff, position)));
    };
    if (attributeTextAt(s.buff, kBuffSetPosition) == "1") {
        lines << QStringLiteral("<!-- Buff Cindral für  ") + s.guid + QStringLiteral(" -->")
              << QStringLiteral("<ModOp Type=\"addNextSibling\" GUID=\"191143\">")
              << QStringLiteral("<Asset>") << QStringLiteral("<Template>GuildhouseBuff</Template>")
              << QStringLiteral("<Values>") << QStringLiteral("<Standard>")
              << QStringLiteral("<GUID>") + buffValue(0) + QStringLiteral("</GUID>")
              << QStringLiteral("<Name>Additional Products ") + s.guid + QStringLiteral("</Name>")
              << QStringLiteral("<IconFilename>data/icon/buff.png</IconFilename>")
              << QStringLiteral("</Standard>") << QStringLiteral("<ItemEffect>")
              << QStringLiteral("<EffectTargets>") << QStringLiteral("<Item>")
              << QStringLiteral("<!-- ") + commentSafe(title) + QStringLiteral(" -->")
              << QStringLiteral("<GUID>") + s.guid + QStringLiteral("</GUID>")
              << QStringLiteral("</Item>") << QStringLiteral("</EffectTargets>")
              << QStringLiteral("</ItemEffect>") << QStringLiteral("<FactoryUpgrade>")
              << QStringLiteral("<AdditionalOutput>");
        for (int k = 0; k < kAddSlots; ++k) {
            const QString product = fromUtf8(attributeTextAt(s.buff, buffProductPosition(k)));
            const QString name = GoodName(s.products, product);
            if (product == QStringLiteral("0"))
                continue;
            lines << QStringLiteral("<Item>")
                  << QStringLiteral("<!-- ") + commentSafe(name) + QStringLiteral(" -->")
                  << QStringLiteral("  <Product>") + xmlEscaped(product) +
                         QStringLiteral("</Product>")
                  << QStringLiteral("  <AdditionalOutputCycle>") + buffValue(buffCyclePosition(k)) +
                         QStringLiteral("</AdditionalOutputCycle>")
                  << QStringLiteral("  <Amount>") + buffValue(buffAmountPosition(k)) +
                         QStringLiteral("</Amount>")
                  << QStringLiteral("</Item>");
        }
        lines << QStringLiteral("</AdditionalOutput>");
        if (attributeTextAt(s.buff, kBuffChainPosition) != "0" &&
            s.preparedRecord.first_element_by_path("Values/Factory7/NeededFertility"))
            lines << QStringLiteral("<AddedFertility>") + buffValue(kBuffChainPosition) +
                         QStringLiteral("</AddedFertility>");
        lines << QStringLiteral("</FactoryUpgrade>") << QStringLiteral("</Values>")
              << QStringLiteral("</Asset>") << QStringLiteral("</ModOp>");
    }
    lines << QStringLiteral("</ModOps>");
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

WrittenMod WriteMod(const ModRequest& r, const NamedPictures& pictures, FileWriter& writer) {
    requireFolderInputs(r.modsDir, r.guid, r.name);
    const QString building = QStringLiteral("Das Gebäude %1").arg(r.guid);

    // Look everything up first.
    const XmlDocument working = loadDataFile(r.dataDir, kWorkingAssetsFile);
    const pugi::xml_node original =
        selectNode(working.root(), "//Asset[Values/Standard/GUID=" + xpathLiteral(r.guid) + "]");
    if (!original)
        missing(building, kWorkingAssetsFile);
    const XmlDocument products = loadDataFile(r.dataDir, kProductCatalogueFile);
    XmlDocument index = loadDataFile(r.dataDir, kBuildingIndexFile);
    const pugi::xml_node entry =
        entryByGuid(index, "Building", r.guid, building, kBuildingIndexFile);
    const QString buffGuid = fromUtf8(attributeTextAt(entry, kBuildingAdd));
    requireGuid(buffGuid);
    const XmlDocument buffs = loadDataFile(r.dataDir, kBuffTableFile);
    const pugi::xml_node buff = entryByGuid(
        buffs, "Buff", buffGuid, QStringLiteral("Der Eintrag %1").arg(buffGuid), kBuffTableFile);
    if (!attributeAt(buff, kBuffChainPosition))
        throw DataError(QStringLiteral("Der Eintrag %1 in \u201E%2\u201C ist unvollständig.")
                            .arg(buffGuid, kBuffTableFile));
    const XmlDocument fields = loadDataFile(r.dataDir, kFieldTableFile);

    // The prepared record is a copy: the working asset list is never changed.
    pugi::xml_document preparedDoc;
    const pugi::xml_node record = preparedDoc.append_copy(original);
    const QString iconName = PrepareAssetRecord(record, r.guid);
    const QImage icon = requirePicture(pictures, iconName);
    const QImage star = requirePicture(pictures, QStringLiteral("Star"));
    const QImage buffPicture = requirePicture(pictures, QStringLiteral("buff"));

    // Every file in memory.
    const QString iconFile = QStringLiteral("icon_") + r.guid + QStringLiteral(".png");
    const QImage marked = markedIcon(icon, star);
    const QByteArray markedPng = png(marked, iconFile);
    const QByteArray buffPng = png(buffPicture.scaled(kIconSize), QStringLiteral("Buff.png"));
    // assets.xml keeps CR LF on every line, also inside its header comment, and ends with one.
    const QByteArray assets =
        ReformatXml(XmlDocument::parse(AssetsText({r.guid, r.name, r.version, r.userName,
                                                   r.createdAt, record, products.root(), buff}),
                                       QStringLiteral("assets.xml")),
                    {CommentBreaks::CrLf, FinalBreak::CrLf});
    const QByteArray modinfo = ModInfoJson(
        r.version, ModTitle(r.guid, r.name),
        BuildModDescription({r.name, record, products.root(), fields.root(), buff}), markedPng);

    // Write them into a new folder beside the mod folder and check them.
    const QString folder = ActiveModFolder(r.modsDir, r.guid, r.name);
    const QString fresh = NewModFolder(r.modsDir, r.guid, r.name);
    const QString aside = SetAsideModFolder(r.modsDir, r.guid, r.name);
    requireRemoved(fresh); // left by an activation that was stopped
    requireRemoved(aside);
    try {
        makeFolder(below(fresh, kAssetFolder));
        writer.writeNew(below(fresh, kAssetFolder + QStringLiteral("/assets.xml")), assets);
        makeFolder(below(fresh, kIconFolder));
        writer.writeNew(below(fresh, kIconFolder + QLatin1Char('/') + iconFile), markedPng);
        writer.writeNew(below(fresh, kIconFolder + QStringLiteral("/Buff.png")), buffPng);
        writeFileAtomically(dataFilePath(r.dataDir, kActivePictureFile), markedPng, writer);
        writer.remove(dataFilePath(r.dataDir, QStringLiteral("ActiveIcon.png"))); // may fail
        writer.writeNew(below(fresh, QStringLiteral("modinfo.json")), modinfo);
        checkWrittenFiles(fresh);
    } catch (...) {
        RemoveModFolder(fresh);
        throw;
    }

    // Swap it in, then mark the building exported.
    swapIn(fresh, folder, aside, writer);
    setAttributeAt(entry, kBuildingIsExported, "true");
    index.save(writer);

    WrittenMod result{folder, marked, {}};
    for (const QString& left : {aside, HyphenatedModFolder(r.modsDir, r.guid, r.name)})
        if (!RemoveModFolder(left))
            result.leftFolders << left;
    return result;
}

void RemoveMod(const QString& dataDir, const QString& modsDir, const QString& guid,
               const QString& name, FileWriter& writer) {
    requireFolderInputs(modsDir, guid, name);
    XmlDocument index = loadDataFile(dataDir, kBuildingIndexFile);
    const pugi::xml_node entry = entryByGuid(
        index, "Building", guid, QStringLiteral("Das Gebäude %1").arg(guid), kBuildingIndexFile);

    const QString folders[] = {
        ActiveModFolder(modsDir, guid, name), HyphenatedModFolder(modsDir, guid, name),
        NewModFolder(modsDir, guid, name), SetAsideModFolder(modsDir, guid, name)};
    for (const QString& folder : folders)
        RequireRemovable(folder);

    // The flag first: a run stopped while deleting must not leave the building marked exported
    // without its mod folder.
    setAttributeAt(entry, kBuildingIsExported, "false");
    index.save(writer);

    for (const QString& folder : folders)
        requireRemoved(folder);
}

} // namespace velmora::mod
