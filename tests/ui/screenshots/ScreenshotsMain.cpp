// Writes the screenshots of the README: the main window after start, the main window with an
// empty pseudo-group, the reset question over the main window, and on the shipped data the
// production window for a farm, a free-area building and an industry building, the product
// picker, and the build-cost and additional-products editors. Usage: ui_screenshots <dir>
#include "data/AdditionalProducts.h"
#include "data/BuildCosts.h"
#include "data/BuildingBrowser.h"
#include "data/BuildingIndex.h"
#include "data/EditsImport.h"
#include "data/ProductionSettings.h"
#include "mod/ModWriter.h"
#include "support/DataDirBuilder.h"
#include "support/ScriptedDialogs.h"
#include "support/ShippedData.h"
#include "ui/AdditionalProductsWindow.h"
#include "ui/AppStyle.h"
#include "ui/BuildCostsWindow.h"
#include "ui/BulkProgressWindow.h"
#include "ui/Dialogs.h"
#include "ui/EditsWindow.h"
#include "ui/ImageCollection.h"
#include "ui/ImportPreviewWindow.h"
#include "ui/MainWindow.h"
#include "ui/MessageWindow.h"
#include "ui/ModPictures.h"
#include "ui/ProductPickerWindow.h"
#include "ui/ProductionWindow.h"
#include "ui/UiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

using namespace velmora;
using namespace velmora::test;

namespace {

BuildingRow farm(const char* guid, const char* name, const char* icon,
                 const char* changed = "false", const char* exported = "false") {
    BuildingRow row{QString::fromLatin1(guid), QString::fromLatin1(name)};
    row.icon = QString::fromLatin1(icon);
    row.isChanged = QString::fromLatin1(changed);
    row.isExported = QString::fromLatin1(exported);
    return row;
}

std::vector<BuildingRow> demoRows() {
    return {
        farm("1010262", "Getreidefarm", "icon_grain"),
        farm("1010263", "Kartoffelhof", "icon_potatoes", "true"),
        farm("1010264", "Hopfenplantage", "icon_hops"),
        farm("1010265", "Schweinezucht", "icon_meat_raw", "true", "true"),
        farm("1010266", "Schaffarm", "icon_fur"),
        farm("1010267", "Fischerei", "icon_fish"),
        farm("1010268", "Holzfaeller", "icon_wood"),
        farm("1010269", "Imkerei", "icon_beeswax"),
        farm("1010270", "Weinberg", "icon_grapes"),
        farm("1010271", "Rotbeerenplantage", "icon_hibiscus_farm"),
        farm("1010272", "Paprikafarm", "icon_pepper"),
        farm("1010273", "Perlenfarm", "icon_pearls"),
        farm("1010274", "Kraeuterfarm", "icon_herbs_with_flower"),
    };
}

QImage withDialog(const QImage& window, QWidget& dialog) {
    QImage canvas = window;
    QPainter painter(&canvas);
    painter.fillRect(canvas.rect(), QColor(40, 48, 56, 90));
    const QImage d = dialog.grab().toImage();
    painter.drawImage((canvas.width() - d.width()) / 2, (canvas.height() - d.height()) / 2, d);
    return canvas;
}

// The mouse over a control, so that the info panel shows its help.
void hover(QWidget& window, const char* control) {
    QWidget* w = window.findChild<QWidget*>(QString::fromLatin1(control));
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

// The production window and the picker on three shipped buildings.
void productionShots(const QString& dataDir, const QString& out, ui::MainWindow& main,
                     app::UserDialogs& dialogs) {
    ui::ProductPickerWindow picker(dialogs);
    ui::ProductionWindow production(dialogs, picker);
    ui::AdditionalProductsWindow buffs(dialogs);
    production.setAdditionalProductsWindow(&buffs); // BuffBtn enabled, as in the program
    const auto open = [&](const char* guid) {
        const data::BuildingEntry b = *data::FindBuilding(dataDir, QString::fromLatin1(guid));
        production.load(&main, {dataDir, {b.guid, b.local, b.icon, b.region, 0, 1}, {}});
    };
    open("1010262"); // Getreidefarm, with a changed module limit
    production.findChild<QSpinBox*>(QStringLiteral("ModuleLimit"))->setValue(24);
    hover(production, "ModuleLimitPanel");
    production.grab().save(out + QStringLiteral("/production-farm.png"));
    open("1010314"); // Jagdhuette, a free-area building
    hover(production, "InfluenceRadiusPanel");
    production.grab().save(out + QStringLiteral("/production-free-area.png"));
    open("1010280"); // Brillenfabrik, an industry building
    hover(production, "InputPanel1");
    production.grab().save(out + QStringLiteral("/production-industry.png"));

    picker.request() = {QStringLiteral("BasicForm"), 2, 0, 0};
    picker.load(&production, production.context());
    picker.findChild<QListWidget*>(QStringLiteral("CategoryListbox"))->setCurrentRow(4);
    auto* rows = picker.findChild<QTreeWidget*>(QStringLiteral("ProductView"));
    rows->setCurrentItem(rows->topLevelItem(3));
    picker.grab().save(out + QStringLiteral("/product-picker.png"));
}

// The build-cost editor of the grain farm with two edited slots, and the additional-products
// editor of the same farm with two goods and its fertility switched on.
void editorScreenshots(const QString& dataDir, const QString& out, ui::MainWindow& main,
                       app::UserDialogs& dialogs) {
    const QString farm = QStringLiteral("1010262");
    const std::optional<data::BuildingEntry> entry = data::FindBuilding(dataDir, farm);
    if (!entry)
        return;
    data::SelectionValues selection;
    selection.building = farm;
    selection.buildingName = entry->local;
    selection.buildingIcon = entry->icon;
    selection.buildingRegionImage = entry->region;
    const ui::EditorContext context{dataDir, selection, {}};

    ui::ProductPickerWindow picker(dialogs);
    ui::BuildCostsWindow costs(dialogs);
    costs.setProductPicker(&picker);
    if (costs.load(&main, context)) {
        costs.findChild<QSpinBox*>(QStringLiteral("Cost0"))->setValue(150);
        picker.request().caller = data::kCallerBuildCosts;
        picker.request().costSlot = 2;
        ui::ApplySlotAssignments(
            costs, data::PickerHandBack(picker.request(),
                                        {QStringLiteral("1010205"), QStringLiteral("Ziegel"),
                                         QStringLiteral("icon_bricks")}));
        costs.findChild<QSpinBox*>(QStringLiteral("Cost2"))->setValue(4);
        costs.show();
        QCoreApplication::processEvents();
        costs.grab().save(out + QStringLiteral("/cost-editor.png"));
        costs.findChild<QPushButton*>(QStringLiteral("AbortBtn"))->click();
    }

    data::AddSlots goods;
    goods[0] = {QStringLiteral("1010193"), {}, {}, QStringLiteral("2"), QStringLiteral("4")};
    goods[6] = {QStringLiteral("1010196"), {}, {}, QStringLiteral("1"), QStringLiteral("10")};
    data::ApplyAdditionalProducts(dataDir, farm, goods, QStringLiteral("1010571"));
    ui::AdditionalProductsWindow buffs(dialogs);
    buffs.setProductPicker(&picker);
    if (buffs.load(&main, context)) {
        buffs.show();
        QCoreApplication::processEvents();
        buffs.grab().save(out + QStringLiteral("/buff-editor.png"));
        buffs.findChild<QPushButton*>(QStringLiteral("AbortBtn"))->click();
    }
}

// The overview of every edit, and the preview of an import with each kind of row.
void editsShots(const QString& dataDir, const QString& modsDir, const QString& out) {
    const QString bakery = QStringLiteral("1010402");
    data::ProductionSettings s = data::LoadProductionSettings(dataDir, bakery);
    s.current.outputAmount = QStringLiteral("2");
    s.current.moneyAmount = QStringLiteral("90");
    s.current.inputs[1] = {QStringLiteral("1010214"), QStringLiteral("Bier"), {}};
    data::ApplyProductionSettings(dataDir, bakery, s);
    test::ScriptedDialogs dialogs;
    ui::EditsWindow overview({dataDir, modsDir, QStringLiteral("1.0.0.0")}, dialogs);
    overview.show();
    QCoreApplication::processEvents();
    overview.grab().save(out + QStringLiteral("/edits-overview.png"));

    data::EditsFile file;
    file.program = QStringLiteral("1.0.0.0");
    file.created = QStringLiteral("2026-12-11T09:30:00");
    file.buildings = {
        {bakery,
         QStringLiteral("Baeckerei"),
         {{"outputAmount", "1", "3"}, {"upkeep", "50", "80"}, {"input2", "0", "1010214"}}},
        {QStringLiteral("1010401"), QStringLiteral("Saegewerk"), {{"coins", "100", "250"}}},
        {QStringLiteral("118700"),
         QStringLiteral("Korallenriff"),
         {{"workforceAmount", "30", "10"}}},
    };
    data::EditorFiles files(dataDir);
    ui::ImportPreviewWindow preview(QStringLiteral("Velmora-Cindral-Änderungen.json"), file,
                                    data::PreviewImport(files, file), files.catalogue());
    preview.show();
    QCoreApplication::processEvents();
    preview.grab().save(out + QStringLiteral("/import-preview.png"));

    // The first start of a new program version: the old data directory's edits carried onto
    // the new data, a changed game value and a building the new data no longer has.
    data::EditsFile old;
    old.program = QStringLiteral("0.9.0.0");
    old.created = QStringLiteral("2026-12-11T09:30:00");
    old.buildings = {
        {bakery, QStringLiteral("Baeckerei"), {{"outputAmount", "1", "2"}, {"upkeep", "50", "90"}}},
        {QStringLiteral("1010262"),
         QStringLiteral("Getreidefarm"),
         {{"extra1", "0", "1010214"}, {"extra1Amount", "0", "2"}, {"extra1Cycle", "0", "5"}}},
        {QStringLiteral("118799"), QStringLiteral("Perlentaucher"), {{"coins", "100", "80"}}},
    };
    test::TempDir fresh;
    data::EditorFiles newData(test::copyShippedData(fresh.path()) + QLatin1Char('/'));
    ui::ImportPreviewWindow upgrade(QString(), old, data::PreviewImport(newData, old),
                                    newData.catalogue());
    ui::DescribeUpgradePreview(upgrade, old);
    upgrade.show();
    QCoreApplication::processEvents();
    upgrade.grab().save(out + QStringLiteral("/upgrade-preview.png"));
}

// Every active mod with its state: the bakery activated and edited again (out of date), the
// fishery activated without an edit (current), the grain farm's mod left from an edit that new
// game data no longer holds (out of date, not changed); then the main window's stale marks in the
// list "exportierte Gebäude".
void staleShots(const QString& dataDir, const QString& modsDir, const QString& out,
                ui::MainWindow& form) {
    const ui::CollectionPictures pictures(ui::ImageCollection::instance());
    const auto activate = [&](const char* guid, const char* name) {
        mod::WriteMod({dataDir, modsDir, QString::fromLatin1(guid), QString::fromLatin1(name),
                       QStringLiteral("1.0.0.0"), QStringLiteral("spieler")},
                      pictures);
    };
    const QString grainFarm = QStringLiteral("1010262");
    data::BuildCosts costs = data::LoadCosts(dataDir, grainFarm);
    const data::CostSlots game = costs.current;
    costs.current[0].amount = QStringLiteral("80");
    data::ApplyCosts(dataDir, grainFarm, costs.current);
    activate("1010262", "Getreidefarm");
    data::ApplyCosts(dataDir, grainFarm, game);
    data::SetBuildingFlag(dataDir, grainFarm, data::kBuildingIsChanged, false);
    activate("1010402", "Baeckerei");
    activate("1010278", "Fischerei");
    data::ProductionSettings s = data::LoadProductionSettings(dataDir, QStringLiteral("1010402"));
    s.current.outputAmount = QStringLiteral("3");
    data::ApplyProductionSettings(dataDir, QStringLiteral("1010402"), s);

    test::ScriptedDialogs dialogs;
    ui::EditsWindow overview({dataDir, modsDir, QStringLiteral("1.0.0.0")}, dialogs);
    overview.show();
    QCoreApplication::processEvents();
    overview.grab().save(out + QStringLiteral("/edits-overview-stale.png"));
    overview.close();

    form.findChild<QListWidget*>(QStringLiteral("GroupView"))->setCurrentRow(1);
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("BuildingsView"));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == grainFarm)
            list->setCurrentItem(list->topLevelItem(i));
    QCoreApplication::processEvents();
    form.grab().save(out + QStringLiteral("/main-stale-mod.png"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QFontDatabase::addApplicationFont(
        sourcePath(QStringLiteral("resources/fonts/Heuristica-Regular.ttf")));
    QFontDatabase::addApplicationFont(
        sourcePath(QStringLiteral("resources/fonts/Heuristica-Bold.ttf")));
    ui::ApplyApplicationStyle(app);

    // The shipped data files when they exist, with two farms marked as changed and exported;
    // otherwise a small hand-made set.
    TempDir dir;
    const QDir shipped(sourcePath(QStringLiteral("resources/data/XMLP")));
    const bool shippedData = shipped.exists(QStringLiteral("BuildingsShort.xml"));
    if (shippedData) {
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), dir.file(name));
        const std::vector<data::BuildingEntry> farms =
            data::BrowseBuildings(dir.path(), 0, 2, QStringLiteral("Farmen"));
        data::SetBuildingFlag(dir.path(), farms.at(2).guid, data::kBuildingIsChanged, true);
        data::SetBuildingFlag(dir.path(), farms.at(5).guid, data::kBuildingIsChanged, true);
        data::SetBuildingFlag(dir.path(), farms.at(5).guid, data::kBuildingIsExported, true);
    } else {
        writeDataDir(dir.path(), demoRows());
    }
    // Two other mods in the mods directory that change the fishery too.
    for (const auto& [folder, name] : {std::pair{"BessereFischer", "Bessere Fischer"},
                                       std::pair{"GrossesBalancing", "Großes Balancing"}}) {
        const QString root = dir.file(QStringLiteral("mods/") + QLatin1String(folder));
        QDir().mkpath(root + QStringLiteral("/data/config/export/main/asset"));
        QFile assets(root + QStringLiteral("/data/config/export/main/asset/assets.xml"));
        assets.open(QIODevice::WriteOnly);
        assets.write("<ModOps><ModOp Type=\"merge\" "
                     "Path=\"//Asset[Values/Standard/GUID='1010278']/Values\"/></ModOps>");
        QFile info(root + QStringLiteral("/modinfo.json"));
        info.open(QIODevice::WriteOnly);
        info.write(QByteArray("{\"ModName\": {\"German\": \"") + name + "\"}}");
    }
    test::ScriptedDialogs dialogs;
    ui::MainWindow form(test::mainWindowSetup(dir.path(), dir.file(QStringLiteral("mods"))),
                        dialogs);
    ui::MessageWindow message;
    form.setMessageWindow(&message);
    QEventLoop scanned;
    QObject::connect(&form, &ui::MainWindow::foreignModsScanned, &scanned, &QEventLoop::quit);
    QTimer::singleShot(10000, &scanned, &QEventLoop::quit);
    form.show();
    scanned.exec();
    QCoreApplication::processEvents();
    form.grab().save(out + QStringLiteral("/main-start.png"));
    if (shippedData) {
        auto* list = form.findChild<QTreeWidget*>(QStringLiteral("BuildingsView"));
        list->setCurrentItem(list->topLevelItem(1)); // the fishery
        QCoreApplication::processEvents();
        form.grab().save(out + QStringLiteral("/main-conflict.png"));
        ui::BulkProgressWindow progress(QStringLiteral("Alle aktivieren"),
                                        QStringLiteral("geschrieben"), &form);
        progress.report(3, 12, QStringLiteral("Getreidefarm"));
        progress.grab().save(out + QStringLiteral("/bulk-progress.png"));
        progress.finish();
        list->setCurrentItem(list->topLevelItem(0));
    }
    if (shippedData)
        productionShots(dir.path(), out, form, dialogs);

    form.findChild<QTreeWidget*>(QStringLiteral("BuildingsView"))
        ->setCurrentItem(form.findChild<QTreeWidget*>(QStringLiteral("BuildingsView"))
                             ->topLevelItem(5)); // a changed and exported farm
    QTimer::singleShot(0, &app, [&] {
        QCoreApplication::processEvents();
        withDialog(form.grab().toImage(), message)
            .save(out + QStringLiteral("/reset-question.png"));
        message.findChild<QPushButton*>(QStringLiteral("AbortBtn"))->click();
    });
    form.findChild<QPushButton*>(QStringLiteral("ResetBtn"))->click();

    if (shippedData) {
        editorScreenshots(dir.path(), out, form, dialogs);
        editsShots(dir.path(), dir.file(QStringLiteral("mods")), out);
        staleShots(dir.path(), dir.file(QStringLiteral("mods")), out, form);
    }

    writeBuildingIndex(dir.path(),
                       {farm("1010262", "Getreidefarm", "icon_grain")}); // nothing changed
    form.findChild<QListWidget*>(QStringLiteral("GroupView"))->setCurrentRow(0);
    QCoreApplication::processEvents();
    form.grab().save(out + QStringLiteral("/main-empty-pseudogroup.png"));
    return 0;
}
