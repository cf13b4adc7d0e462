#include "mod/ModWriter.h"

#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorLookups.h"
#include "data/FileAccess.h"
#include "data/FileTree.h"
#include "data/XmlDocument.h"
#include "mod/ForeignMods.h"
#include "mod/ModDescription.h"
#include "mod/ModFolder.h"
#include "mod/ModText.h"
#include "mod/PngEncoding.h"

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

const QString kAssetFolder = QStringLiteral("data/config/export/main/asset");
const QString kIconFolder = QStringLiteral("data/icon");

QString below(const QString& folder, const QString& relative) {
    return folder + QLatin1Char('/') + relative;
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

// The record of the building: the records are children of the root, so they are looked at first;
// a search of the whole document is the fallback.
pugi::xml_node workingRecord(const XmlDocument& working, const QString& guid) {
    const std::string key = utf8(guid);
    for (const pugi::xml_node& asset : working.root().children("Asset"))
        if (key == asset.child("Values").child("Standard").child("GUID").text().get())
            return asset;
    return selectNode(working.root(), "//Asset[Values/Standard/GUID=" + xpathLiteral(guid) + "]");
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

QByteArray png(const QImage& image, const QString& fileName) {
    const QByteArray bytes = EncodePng(image);
    if (bytes.isEmpty())
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
// modinfo.json is made as text; it must read as JSON before it is written.
void requireJson(const QByteArray& modinfo) {
    QJsonParseError error;
    QJsonDocument::fromJson(modinfo, &error);
    if (error.error != QJsonParseError::NoError)
        throw DataError(QStringLiteral("Der Mod wurde nicht eingerichtet, weil seine Datei "
                                       "\u201Emodinfo.json\u201C fehlerhaft ist (Zeichen %1): %2")
                            .arg(error.offset)
                            .arg(error.errorString()));
}

// assets.xml and modinfo.json as they are on the disk must be the bytes that were written:
// assets.xml was re-formatted from a parsed document and modinfo.json read as JSON in memory, so
// comparing the bytes checks more than parsing them again would.
void checkWrittenFiles(const QString& folder, const QByteArray& assets, const QByteArray& modinfo) {
    const std::pair<QString, const QByteArray&> files[] = {
        {below(folder, kAssetFolder + QStringLiteral("/assets.xml")), assets},
        {below(folder, QStringLiteral("modinfo.json")), modinfo},
    };
    for (const auto& [path, written] : files)
        if (readFileBytes(path) != written)
            throw DataError(QStringLiteral("Der Mod wurde nicht eingerichtet, weil seine Datei %1 "
                                           "nicht so auf dem Datenträger steht, wie sie "
                                           "geschrieben wurde.")
                                .arg(quotedPath(path)));
}

// Where the swap left the mod folders, so that it can be undone.
struct Swap {
    bool hadMod = false;      // the old mod folder lies under the set-aside name
    bool removedLink = false; // a link under the mod folder's name was removed where it stood
};

// The new folder takes the mod folder's name; the old mod is moved aside first and put back
// when the new one can not take its place. A link under the name is removed where it stands
// (never renamed: some systems would move what it points to) and can not be put back.
Swap swapIn(const BuildingModFolders& f, FileWriter& writer) {
    Swap swap;
    const data::EntryKind old = data::entryKindOf(f.active());
    try {
        if (old == data::EntryKind::Link) {
            RemoveLink(f.active(), writer);
            swap.removedLink = true;
        } else if (old != data::EntryKind::Absent) {
            RenameFolder(f.active(), f.setAside(), writer);
            swap.hadMod = true;
        }
    } catch (const DataError& e) {
        DeleteFolder(f.fresh(), writer);
        throw DataError(QStringLiteral("Der Mod-Ordner %1 kann nicht ersetzt werden: %2")
                            .arg(quotedPath(f.active()), e.message()));
    }
    try {
        RenameFolder(f.fresh(), f.active(), writer);
    } catch (const DataError& e) {
        QString message = QStringLiteral("Der Mod-Ordner %1 kann nicht ersetzt werden: %2")
                              .arg(quotedPath(f.active()), e.message());
        if (swap.hadMod) {
            try {
                RenameFolder(f.setAside(), f.active(), writer);
            } catch (const DataError&) {
                message += QStringLiteral("\rDer bisherige Mod liegt in %1.")
                               .arg(quotedPath(f.setAside()));
            }
        }
        if (swap.removedLink)
            message += QStringLiteral("\rDie Verknüpfung %1 wurde entfernt; ihr Ziel ist "
                                      "unverändert.")
                           .arg(quotedPath(f.active()));
        DeleteFolder(f.fresh(), writer);
        throw DataError(message);
    }
    return swap;
}

// Undoes a swap after the flag could not be saved: the new mod leaves the folder's name and the
// old one (or none) is back, so the game loads what the flag says. Returns "" when done, else
// a German sentence saying what the game now loads.
QString undoSwap(const BuildingModFolders& f, const Swap& swap, FileWriter& writer) {
    try {
        RenameFolder(f.active(), f.fresh(), writer);
    } catch (const DataError&) {
        return QStringLiteral("Der neue Mod liegt trotzdem in %1 und wird vom Spiel geladen; "
                              "beim nächsten Start wird er als exportiert vermerkt.")
            .arg(quotedPath(f.active()));
    }
    DeleteFolder(f.fresh(), writer);
    if (swap.hadMod) {
        try {
            RenameFolder(f.setAside(), f.active(), writer);
        } catch (const DataError&) {
            return QStringLiteral("Der bisherige Mod liegt in %1 und wird vom Spiel nicht geladen.")
                .arg(quotedPath(f.setAside()));
        }
    }
    if (swap.removedLink)
        return QStringLiteral("Die Verknüpfung %1 wurde entfernt; ihr Ziel ist unverändert.")
            .arg(quotedPath(f.active()));
    return {};
}

} // namespace

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

QByteArray AssetsXml(const AssetsSources& sources) {
    // assets.xml keeps CR LF on every line, also inside its header comment, and ends with one.
    return ReformatXml(XmlDocument::parse(AssetsText(sources), QStringLiteral("assets.xml")),
                       {CommentBreaks::CrLf, FinalBreak::CrLf});
}

bool ModIsCurrent(data::EditorFiles& files, const ModsDirectoryListing& mods, const QString& guid,
                  const QString& local) {
    const QString path =
        below(below(mods.resolve(ActiveModFolder(mods.dir(), guid, local)), kAssetFolder),
              QStringLiteral("assets.xml"));
    if (!QFileInfo(path).isFile())
        return false;
    try {
        const pugi::xml_node original = workingRecord(files.working(), guid);
        const pugi::xml_node entry =
            entryByGuid(files.index(), "Building", guid, QStringLiteral("Das Gebäude %1").arg(guid),
                        kBuildingIndexFile);
        const QString buffGuid = fromUtf8(attributeTextAt(entry, kBuildingAdd));
        const pugi::xml_node buff =
            entryByGuid(files.buffs(), "Buff", buffGuid, buffGuid, kBuffTableFile);
        if (!original || !attributeAt(buff, kBuffChainPosition))
            return false;
        pugi::xml_document preparedDoc;
        const pugi::xml_node record = preparedDoc.append_copy(original);
        PrepareAssetRecord(record, guid);
        // The header (program version, time, user) stands before the ModOps and is left aside.
        const QByteArray now = AssetsXml({guid, local, QString(), QString(), QDateTime(), record,
                                          files.catalogue().root(), buff});
        // In the player's mods directory: read as another mod's file would be.
        const QByteArray written = readRegularFile(path, kModAssetsSizeLimit);
        const auto modOps = [](const QByteArray& text) {
            const qsizetype at = text.indexOf("<ModOps>");
            return at < 0 ? QByteArray() : text.mid(at);
        };
        return !modOps(written).isEmpty() && modOps(written) == modOps(now);
    } catch (const DataError&) {
        return false;
    }
}

ModInputs ModInputs::load(const QString& dataDir) {
    return {loadDataFile(dataDir, kWorkingAssetsFile), loadDataFile(dataDir, kProductCatalogueFile),
            loadDataFile(dataDir, kBuffTableFile), loadDataFile(dataDir, kFieldTableFile)};
}

void RequireWritable(const ModRequest& r) {
    BuildingModFolders(r.modsDir, r.guid, r.name);
    // The game may have been moved or removed since the start: nothing is created under a path
    // that no longer holds it.
    RequireGameInPlace(r.gameExecutable);
}

WrittenMod WriteMod(const ModRequest& r, const NamedPictures& pictures, FileWriter& writer) {
    RequireWritable(r); // before anything is read
    return WriteMod(r, pictures, ModInputs::load(r.dataDir), writer);
}

WrittenMod WriteMod(const ModRequest& r, const NamedPictures& pictures, const ModInputs& inputs,
                    FileWriter& writer) {
    RequireWritable(r);
    const BuildingModFolders f(r.modsDir, r.guid, r.name);
    const QString building = QStringLiteral("Das Gebäude %1").arg(r.guid);

    // Look everything up first.
    const XmlDocument& working = inputs.working;
    const pugi::xml_node original = workingRecord(working, r.guid);
    if (!original)
        missing(building, kWorkingAssetsFile);
    const XmlDocument& products = inputs.products;
    XmlDocument index = loadDataFile(r.dataDir, kBuildingIndexFile);
    const pugi::xml_node entry =
        entryByGuid(index, "Building", r.guid, building, kBuildingIndexFile);
    const QString buffGuid = fromUtf8(attributeTextAt(entry, kBuildingAdd));
    data::requireGuid(buffGuid);
    const XmlDocument& buffs = inputs.buffs;
    const pugi::xml_node buff = entryByGuid(
        buffs, "Buff", buffGuid, QStringLiteral("Der Eintrag %1").arg(buffGuid), kBuffTableFile);
    if (!attributeAt(buff, kBuffChainPosition))
        throw DataError(QStringLiteral("Der Eintrag %1 in \u201E%2\u201C ist unvollständig.")
                            .arg(buffGuid, kBuffTableFile));
    const XmlDocument& fields = inputs.fields;

    // The prepared record is a copy: the working asset list is never changed.
    pugi::xml_document preparedDoc;
    const pugi::xml_node record = preparedDoc.append_copy(original);
    const QString iconName = PrepareAssetRecord(record, r.guid);
    const QImage icon = requirePicture(pictures, iconName);
    const QImage star = requirePicture(pictures, QStringLiteral("Star"));
    // The buff picture is the same for every mod: its stored file is written as it is.
    QByteArray buffPng = pictures.storedPng(QStringLiteral("buff"), kIconSize);
    if (buffPng.isEmpty())
        buffPng = png(requirePicture(pictures, QStringLiteral("buff")), QStringLiteral("Buff.png"));

    // Every file in memory.
    const QString iconFile = QStringLiteral("icon_") + r.guid + QStringLiteral(".png");
    const QImage marked = markedIcon(icon, star);
    const QByteArray markedPng = png(marked, iconFile);
    const QByteArray assets = AssetsXml(
        {r.guid, r.name, r.version, r.userName, r.createdAt, record, products.root(), buff});
    const QByteArray modinfo = ModInfoJson(
        r.version, ModTitle(r.guid, r.name),
        BuildModDescription({r.name, record, products.root(), fields.root(), buff}), markedPng);
    requireJson(modinfo);

    // The names the swap needs must be free: a file under the mod folder's name is no mod and
    // not the program's to replace, and leftovers of a stopped run are deleted only when they
    // are real folders.
    if (data::entryKindOf(f.active()) == data::EntryKind::Other)
        throw DataError(QStringLiteral("Unter dem Namen des Mod-Ordners liegt die Datei %1. Sie "
                                       "wurde nicht verändert und der Mod nicht geschrieben; "
                                       "bitte verschieben oder löschen Sie sie.")
                            .arg(quotedPath(f.active())));
    for (const QString& left : {f.fresh(), f.setAside()})
        if (const QString note = RemoveLeftover(f.modsDir(), left, writer); !note.isEmpty())
            throw DataError(note + QStringLiteral(" Der Mod wurde nicht geschrieben."));

    // Write the files into the new folder beside the mod folder and check them.
    try {
        makeFolder(below(f.fresh(), kAssetFolder));
        writer.writeNew(below(f.fresh(), kAssetFolder + QStringLiteral("/assets.xml")), assets);
        makeFolder(below(f.fresh(), kIconFolder));
        writer.writeNew(below(f.fresh(), kIconFolder + QLatin1Char('/') + iconFile), markedPng);
        writer.writeNew(below(f.fresh(), kIconFolder + QStringLiteral("/Buff.png")), buffPng);
        writeFileAtomically(dataFilePath(r.dataDir, kActivePictureFile), markedPng, writer);
        writer.remove(dataFilePath(r.dataDir, QStringLiteral("ActiveIcon.png"))); // may fail
        writer.writeNew(below(f.fresh(), QStringLiteral("modinfo.json")), modinfo);
        checkWrittenFiles(f.fresh(), assets, modinfo);
    } catch (...) {
        DeleteFolder(f.fresh(), writer);
        throw;
    }

    // Swap it in, then mark the building exported; when the flag can not be saved the swap is
    // undone, so the flag still tells what the game loads.
    Swap swap;
    try {
        swap = swapIn(f, writer);
    } catch (const DataError& e) {
        // The old mod could not be put back: the flag must not claim it any longer.
        if (GameLoadsMod(f.active()) || attributeTextAt(entry, kBuildingIsExported) != "true")
            throw;
        QString message = e.message();
        try {
            setAttributeAt(entry, kBuildingIsExported, "false");
            index.save(writer);
            message += QStringLiteral("\rDas Gebäude ist jetzt als nicht exportiert vermerkt.");
        } catch (const DataError&) {
            message += QStringLiteral("\rBeim nächsten Start wird das Gebäude als nicht "
                                      "exportiert vermerkt.");
        }
        throw DataError(message);
    }
    if (attributeTextAt(entry, kBuildingIsExported) != "true") {
        try {
            setAttributeAt(entry, kBuildingIsExported, "true");
            index.save(writer);
        } catch (const DataError& e) {
            QString message = e.message() + QStringLiteral("\rDer Mod wurde nicht aktiviert.");
            if (const QString left = undoSwap(f, swap, writer); !left.isEmpty())
                message += QLatin1Char(' ') + left;
            throw DataError(message);
        }
    }

    const MovedAside oldMod{swap.hadMod ? f.setAside() : QString(), QString(), QString()};
    return {f.active(), marked, FinishRemoval(oldMod, f, writer)};
}

QStringList RemoveMod(const QString& dataDir, const QString& modsDir, const QString& guid,
                      const QString& name, const QString& gameExecutable, FileWriter& writer) {
    const BuildingModFolders f(modsDir, guid, name);
    RequireGameInPlace(gameExecutable);
    XmlDocument index = loadDataFile(dataDir, kBuildingIndexFile);
    const pugi::xml_node entry = entryByGuid(
        index, "Building", guid, QStringLiteral("Das Gebäude %1").arg(guid), kBuildingIndexFile);
    for (const QString& folder : {f.active(), f.hyphenated()})
        RequireRemovable(folder);

    // The mod leaves its name in one step first: when that fails the flag stays as it was.
    const MovedAside moved = MoveAside(modsDir, f.active(), writer);
    if (attributeTextAt(entry, kBuildingIsExported) != "false") {
        try {
            setAttributeAt(entry, kBuildingIsExported, "false");
            index.save(writer);
        } catch (const DataError& e) {
            QString message = e.message();
            if (const QString back = PutBack(moved, f.active(), writer); !back.isEmpty())
                message += QLatin1Char('\r') + back;
            throw DataError(message);
        }
    }

    return FinishRemoval(moved, f, writer);
}

} // namespace velmora::mod
