#include "kill/KillOperations.h"

#include "app/DataUpgrade.h"
#include "app/Startup.h"
#include "data/AdditionalProducts.h"
#include "data/BuildCosts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/DataVersion.h"
#include "data/EditsImport.h"
#include "data/FileAccess.h"
#include "data/ProductionSettings.h"
#include "data/XmlDocument.h"
#include "mod/BuildingReset.h"
#include "mod/BulkActivation.h"
#include "mod/ModFolder.h"
#include "mod/ModWriter.h"
#include "mod/NamedPictures.h"

#include <QColor>
#include <QDate>
#include <QDir>
#include <QFile>

namespace velmora::killtest {

namespace {

using namespace velmora::data;

// The building every operation works on: the first of the shipped index.
BuildingEntry firstBuilding(const Workspace& w) {
    const XmlDocument index = XmlDocument::load(dataFilePath(w.data, kBuildingIndexFile));
    return BuildingEntry::fromElement(index.root().child("Building"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw DataError(QStringLiteral("Die Datei %1 kann nicht angelegt werden.").arg(path));
}

// A mod folder as the mod writer leaves it: a few files, some of them nested, enough of them
// that deleting the folder takes a while.
void writeModFolder(const QString& folder) {
    writeFile(folder + QStringLiteral("/modinfo.json"), "{\"Version\": \"1\"}");
    writeFile(folder + QStringLiteral("/data/config/export/main/asset/assets.xml"),
              QByteArray("<ModOps>\r\n") + QByteArray(4000, 'x') + "</ModOps>\r\n");
    for (int i = 0; i < 40; ++i)
        writeFile(folder + QStringLiteral("/data/ui/icons/icon_%1.png").arg(i),
                  QByteArray(2000 + i, static_cast<char>(i)));
}

// A changed and exported building: its working record and buff entry edited, both flags set
// and both mod folders present.
void prepareChangedBuilding(const Workspace& w) {
    const BuildingEntry building = firstBuilding(w);
    XmlDocument working = XmlDocument::load(dataFilePath(w.data, kWorkingAssetsFile));
    const pugi::xml_node record = selectNode(
        working.root(), "//Asset[Values/Standard/GUID=" + xpathLiteral(building.guid) + "]");
    record.child("Values").append_child("CindralEdit").text().set("geändert");
    XmlDocument buffs = XmlDocument::load(dataFilePath(w.data, kBuffTableFile));
    const pugi::xml_node buff =
        selectNode(buffs.root(), "Buff[@GUID=" + xpathLiteral(building.add) + "]");
    setAttributeAt(buff, 1, "1010195");
    setAttributeAt(buff, 2, "3");
    XmlDocument index = XmlDocument::load(dataFilePath(w.data, kBuildingIndexFile));
    const pugi::xml_node entry =
        selectNode(index.root(), "Building[@GUID=" + xpathLiteral(building.guid) + "]");
    setAttributeAt(entry, kBuildingIsChanged, "true");
    setAttributeAt(entry, kBuildingIsExported, "true");
    saveAllOrNothing({&working, &buffs, &index});
    writeModFolder(mod::ActiveModFolder(w.mods, building.guid, building.local));
    writeModFolder(mod::HyphenatedModFolder(w.mods, building.guid, building.local));
}

// Every picture a plain square of a colour of its own: the mod writer needs pictures, not
// particular ones.
class PlainPictures final : public mod::NamedPictures {
public:
    QImage picture(const QString& name, QSize size) const override {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(QColor::fromRgb(qHash(name.toLower()) | 0xff000000u));
        return image;
    }
};

// The fresh copy is the state before for the operations that change values of the data files.
void unchanged(const Workspace&) {}

void resetBuilding(const Workspace& w, FileWriter& writer) {
    const BuildingEntry building = firstBuilding(w);
    const QStringList undeleted =
        mod::ResetBuilding(w.data, w.mods, building.guid, building.local, {}, writer);
    if (!undeleted.isEmpty())
        throw DataError(QStringLiteral("Diese Mod-Ordner konnten nicht gelöscht werden: %1")
                            .arg(undeleted.join(QStringLiteral(", "))));
}

// "Annehmen" of the production window with a changed output amount.
void applyProduction(const Workspace& w, FileWriter& writer) {
    const BuildingEntry building = firstBuilding(w);
    ProductionSettings settings = LoadProductionSettings(w.data, building.guid);
    settings.current.outputAmount = QStringLiteral("7");
    ApplyProductionSettings(w.data, building.guid, settings, writer);
}

// "Annehmen" of the build costs with other coins and a second good.
void applyCosts(const Workspace& w, FileWriter& writer) {
    const BuildingEntry building = firstBuilding(w);
    CostSlots costs = LoadCosts(w.data, building.guid).current;
    costs[0].amount = QStringLiteral("250");
    costs[1].guid = QStringLiteral("1010195");
    costs[1].amount = QStringLiteral("4");
    ApplyCosts(w.data, building.guid, costs, writer);
}

// "Annehmen" of the additional products with a product in the first slot.
void applyAdditionalProducts(const Workspace& w, FileWriter& writer) {
    const BuildingEntry building = firstBuilding(w);
    AddSlots goods = LoadAdditionalProducts(w.data, building.guid).goods;
    goods[0].guid = QStringLiteral("1010195");
    goods[0].amount = QStringLiteral("2");
    goods[0].cycle = QStringLiteral("3");
    ApplyAdditionalProducts(w.data, building.guid, goods, QStringLiteral("0"), writer);
}

void activateMod(const Workspace& w, FileWriter& writer) {
    const BuildingEntry building = firstBuilding(w);
    const mod::ModRequest request{w.data,
                                  w.mods,
                                  building.guid,
                                  building.local,
                                  QStringLiteral("20.1.3.0"),
                                  QStringLiteral("tester"),
                                  QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9))};
    const mod::WrittenMod written = mod::WriteMod(request, PlainPictures(), writer);
    if (!written.leftFolders.isEmpty())
        throw DataError(QStringLiteral("Diese Ordner konnten nicht gelöscht werden: %1")
                            .arg(written.leftFolders.join(QStringLiteral(", "))));
}

// Three changed buildings, the first of them exported with its older mod on the disk.
void prepareChangedBuildings(const Workspace& w) {
    prepareChangedBuilding(w);
    const XmlDocument index = XmlDocument::load(dataFilePath(w.data, kBuildingIndexFile));
    int marked = 0;
    for (const pugi::xml_node& e : index.root().children("Building"))
        if (++marked > 1 && marked <= 3)
            SetBuildingFlag(w.data, BuildingEntry::fromElement(e).guid, kBuildingIsChanged, true);
}

// "Alle aktivieren": a building that fails is reported at the end, as the program does.
void activateAll(const Workspace& w, FileWriter& writer) {
    const mod::BulkReport report =
        mod::ActivateAll({w.data, w.mods, QStringLiteral("20.1.3.0"), QStringLiteral("tester"),
                          QString(), QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9))},
                         PlainPictures(), {}, writer);
    for (const mod::BulkOutcome& o : report.outcomes)
        if (!o.done || !o.notes.isEmpty())
            throw DataError(mod::BulkSummary(report, true));
}

// "Änderungen importieren" of a file with edits of three buildings, one for each editor, so that
// all three data files are written; the preview is taken afresh by every run.
// An edits file imported with the default choices, as "Übernehmen" of an untouched preview.
void importWithDefaults(const Workspace& w, const EditsFile& file, FileWriter& writer) {
    std::vector<ImportRow> rows;
    {
        EditorFiles files(w.data);
        rows = PreviewImport(files, file);
    }
    std::vector<ImportChoice> choices;
    for (const ImportRow& row : rows)
        choices.push_back(DefaultChoice(row));
    ApplyImport(w.data, rows, choices, writer);
}

void importEdits(const Workspace& w, FileWriter& writer) {
    EditsFile file;
    file.buildings = {
        {QStringLiteral("1010402"),
         QStringLiteral("Baeckerei"),
         {{"outputAmount", "1", "2"}, {"upkeep", "60", "90"}}},
        {QStringLiteral("1010262"), QStringLiteral("Getreidefarm"), {{"extra1", "0", "1010195"}}},
        {QStringLiteral("1010278"), QStringLiteral("Fischerei"), {{"coins", "100", "300"}}},
    };
    importWithDefaults(w, file, writer);
}

// The data directory of an older program version: its version file names program 0.9.0.0, its
// help table an older text, and three buildings are edited (production, additional products,
// build costs), none in conflict with the running program's data.
void prepareOldDataDirectory(const Workspace& w) {
    const QString version = dataFilePath(w.data, kDataVersionFile);
    DataVersion old = ReadDataVersion(readRegularFile(version, 1 << 20), version);
    old.program = QStringLiteral("0.9.0.0");
    writeFile(version, WriteDataVersion(old));
    XmlDocument help = XmlDocument::load(dataFilePath(w.data, kHelpFile), LoneBlanks::Keep);
    help.root().child("Texts").child("Text").child("Label").text().set("alt");
    help.save();
    EditsFile file;
    file.buildings = {
        {QStringLiteral("1010402"), QStringLiteral("Baeckerei"), {{"outputAmount", "1", "2"}}},
        {QStringLiteral("1010262"), QStringLiteral("Getreidefarm"), {{"extra1", "0", "1010195"}}},
        {QStringLiteral("1010278"), QStringLiteral("Fischerei"), {{"coins", "100", "300"}}},
    };
    importWithDefaults(w, file, diskWriter());
}

// What the start of the new program version does: a stopped step is finished or undone, then a
// data directory of another archive is upgraded, its edits carried over.
void finishUpgrade(const Workspace& w) {
    app::FinishDataUpgrade(w.data);
}
void upgradeDataDirectory(const Workspace& w, FileWriter& writer) {
    app::FinishDataUpgrade(w.data, writer);
    const QByteArray archive = app::EmbeddedDataArchive();
    if (!app::DataUpgradeNeeded(archive, w.data))
        return;
    // No row of these edits needs a choice; the dialogs' default takes the default choices.
    class NoDialogs final : public app::UserDialogs {
    public:
        QString chooseFolder(const QString&, const QString&) override { return {}; }
        void showError(const QString&, const QString&) override {}
        void showNotice(const QString&, const QString&) override {}
    } dialogs;
    app::UpgradeDataDirectory(archive, w.data, dialogs, QDate::currentDate(), writer);
}

void deactivateMod(const Workspace& w, FileWriter& writer) {
    const BuildingEntry building = firstBuilding(w);
    const QStringList notes =
        mod::RemoveMod(w.data, w.mods, building.guid, building.local, {}, writer);
    if (!notes.isEmpty())
        throw DataError(notes.join(QStringLiteral(", ")));
}

} // namespace

const std::map<QString, Operation>& operationTable() {
    // Aktivieren starts from an exported building with an older mod in both folders, so that
    // the new mod replaces one; Deaktivieren removes that.
    static const std::map<QString, Operation> table = {
        {QStringLiteral("Reset"), {prepareChangedBuilding, resetBuilding}},
        {QStringLiteral("Produktion"), {unchanged, applyProduction}},
        {QStringLiteral("Baukosten"), {unchanged, applyCosts}},
        {QStringLiteral("Zusatzwaren"), {unchanged, applyAdditionalProducts}},
        {QStringLiteral("Aktivieren"), {prepareChangedBuilding, activateMod}},
        {QStringLiteral("Deaktivieren"), {prepareChangedBuilding, deactivateMod}},
        {QStringLiteral("AlleAktivieren"), {prepareChangedBuildings, activateAll}},
        {QStringLiteral("Importieren"), {unchanged, importEdits}},
        {QStringLiteral("Aktualisieren"),
         {prepareOldDataDirectory, upgradeDataDirectory, finishUpgrade}},
    };
    return table;
}

} // namespace velmora::killtest
