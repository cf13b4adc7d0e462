#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/XmlDocument.h"
#include "support/ScriptedDialogs.h"
#include "support/ShippedData.h"
#include "ui/MainWindow.h"
#include "ui/ProductPickerWindow.h"
#include "ui/ProductionWindow.h"
#include "ui/UiTestSupport.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

class ProductionWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));
    ScriptedDialogs dialogs;
    ui::ProductPickerWindow picker{dialogs};
    ui::ProductionWindow form{dialogs, picker};

    void SetUp() override { data::LoadHelpTable(data::dataFilePath(data, data::kHelpFile)); }

    ui::EditorContext context(const char* guid) const {
        const data::BuildingEntry b = *data::FindBuilding(data, QString::fromLatin1(guid));
        return {data, {b.guid, b.local, b.icon, b.region, 0, 1}, {}};
    }
    void load(const char* guid) {
        ASSERT_TRUE(form.load(nullptr, context(guid)))
            << dialogs.shown.join(QStringLiteral("\n")).toStdString();
    }

    template <class T> T* get(const char* name) const { return widget<T>(form, name); }
    QString text(const char* name) const { return ui::controlText(get<QWidget>(name)); }
    QString picture(const char* name) const { return ui::pictureName(get<QLabel>(name)); }
    void click(const char* button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    bool marked(const char* name) const {
        return get<QWidget>(name)->property("differsFromOriginal").toBool();
    }
    // The shown panels, top to bottom, each with the top of its original twin.
    std::vector<std::pair<QString, int>> shownPanels() const {
        std::vector<std::pair<QString, int>> shown;
        for (const char* name :
             {"InfluenceRadiusPanel", "ModuleLimitPanel", "ModuleRadiusPanel", "ExplosionPanel",
              "ElectricMandatoryPanel", "ElectricBoostedPanel"}) {
            const QFrame* panel = get<QFrame>(name);
            const QFrame* twin = get<QFrame>(("Org" + std::string(name)).c_str());
            EXPECT_EQ(panel->isHidden(), twin->isHidden()) << name;
            if (!panel->isHidden()) {
                EXPECT_EQ(twin->y(), panel->y()) << name;
                shown.emplace_back(QString::fromLatin1(name), panel->y());
            }
        }
        std::sort(shown.begin(), shown.end(), [](auto& a, auto& b) { return a.second < b.second; });
        return shown;
    }
    // Opens the picker through a change button, chooses the named row (in the given category
    // and region row) and accepts; returns the names the picker offered.
    QStringList pickThrough(const char* button, const QString& product, int category = 0,
                            int region = 0) {
        QStringList offered;
        whenModalShows([&] {
            widget<QListWidget>(picker, "CategoryListbox")->setCurrentRow(category);
            widget<QListWidget>(picker, "RegionView")->setCurrentRow(region);
            auto* rows = widget<QTreeWidget>(picker, "ProductView");
            for (int i = 0; i < rows->topLevelItemCount(); ++i) {
                offered << rows->topLevelItem(i)->text(1);
                if (rows->topLevelItem(i)->text(1) == product)
                    rows->setCurrentItem(rows->topLevelItem(i));
            }
            QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
            if (picker.isVisible()) // nothing chosen: leave without a hand-back
                QTest::mouseClick(widget<QPushButton>(picker, "AbortBtn"), Qt::LeftButton);
        });
        click(button);
        return offered;
    }
};

TEST_F(ProductionWindowTest, WindowFrameHeaderAndNamedControls) {
    load("1010262");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Produktion"));
    EXPECT_EQ(form.size(), QSize(1323, 640));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                       Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_EQ(text("BuildingGUIDLabel"), QStringLiteral("1010262"));
    EXPECT_EQ(text("BuildingNameLabel"), QStringLiteral("Getreidefarm"));
    EXPECT_EQ(picture("BuildingIconImage"), QStringLiteral("icon_grain_farm"));
    EXPECT_EQ(picture("BuildingRegionImage"), QStringLiteral("1"));
    EXPECT_EQ(get<QLabel>("BuildingRegionImage")->pixmap().size(), QSize(96, 96));
    EXPECT_EQ(text("CurrentHeading"), QStringLiteral("aktuell"));
    EXPECT_EQ(text("OriginalHeading"), QStringLiteral("original"));
    EXPECT_EQ(text("OutputHeading"), QStringLiteral("Produktion (Ausgabeprodukt)"));
    EXPECT_EQ(get<QPushButton>("AcceptBtn")->text(), QStringLiteral("Annehmen"));
    EXPECT_EQ(get<QPushButton>("AbortBtn")->text(), QStringLiteral("Abbrechen"));
    // State labels lie beyond the client area, still found by name.
    for (const char* state : {"InputGUID0", "OrgOutPutGUID", "MaintenanceGUID2", "IncidentChance",
                              "ElectricBoostedStatus", "HasBuff"})
        EXPECT_GE(get<QLabel>(state)->x(), form.width()) << state;
    // Every control a user operates says in German what it is.
    const std::pair<const char*, const char*> names[] = {
        {"OutPutValue", "Ausgabemenge aktuell"},
        {"ChangeInputBtn2", "Eingangsprodukt 3 ändern"},
        {"ResetInputBtn0", "Eingangsprodukt 1 zurücksetzen"},
        {"ChangeInputBtn5", "Art der Arbeitskräfte ändern"},
        {"ModuleRadius", "Modulradius aktuell"},
        {"ElecricityBoostedToogle", "Elektrizität verwenden aktuell"},
    };
    for (const auto& [control, accessible] : names)
        EXPECT_EQ(get<QWidget>(control)->accessibleName(), QString::fromUtf8(accessible));
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<QAbstractButton*>(w);
        if (button || qobject_cast<QAbstractSpinBox*>(w)) {
            EXPECT_TRUE(!w->accessibleName().isEmpty() || (button && !button->text().isEmpty()))
                << w->objectName().toStdString();
        }
    }
}

TEST_F(ProductionWindowTest, LoadsAFarmWithFieldModules) {
    load("1010262");
    EXPECT_EQ(text("InputName0"), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(picture("InputImage3"), QStringLiteral("NoInput"));
    EXPECT_EQ(text("OutputName"), QStringLiteral("Getreide"));
    EXPECT_EQ(text("OutPutValue"), QStringLiteral("1"));
    EXPECT_EQ(text("MaintenanceName1"), QStringLiteral("Münzen"));
    EXPECT_EQ(text("OrgMaintenanceName1"), QStringLiteral("Münzen"));
    EXPECT_EQ(text("MaintenanceName2"), QStringLiteral("Bauern"));
    EXPECT_EQ(text("MaintenanceGUID2"), QStringLiteral("1010052"));
    EXPECT_EQ(text("ModuleLimitName"), QStringLiteral("Getreidefelder"));
    EXPECT_EQ(text("ModuleLimit"), text("OrgModuleLimit"));
    EXPECT_EQ(text("ModuleRadiusLabel"), text("OrgModuleRadiusLabel"));
    EXPECT_EQ(text("ExplosionLabel"), QStringLiteral("Zwischenfälle möglich"));
    EXPECT_EQ(text("IncidentChance"), QStringLiteral("1"));
    EXPECT_EQ(text("HasBuff"), QStringLiteral("0"));
    EXPECT_EQ(shownPanels(),
              (std::vector<std::pair<QString, int>>{{QStringLiteral("ModuleLimitPanel"), 228},
                                                    {QStringLiteral("ModuleRadiusPanel"), 272},
                                                    {QStringLiteral("ExplosionPanel"), 316}}));
    EXPECT_FALSE(marked("OutputName"));
}

TEST_F(ProductionWindowTest, LoadsFreeAreaIndustryAndRawMaterialBuildings) {
    load("1010314"); // Jagdhuette: free area, site input, raw-material producer
    EXPECT_EQ(text("InfluenceRadius"), QStringLiteral("11"));
    EXPECT_EQ(text("OrgInfluenceRadius"), QStringLiteral("11"));
    EXPECT_EQ(text("InfluenceRadiusLabel"), QStringLiteral(" Felder Nutzungsradius"));
    EXPECT_EQ(shownPanels(),
              (std::vector<std::pair<QString, int>>{{QStringLiteral("InfluenceRadiusPanel"), 228},
                                                    {QStringLiteral("ExplosionPanel"), 272}}));
    for (const char* slot : {"InputName0", "OrgInputName0", "InputName3", "OrgInputName3"})
        EXPECT_EQ(text(slot), QStringLiteral("keine Auswahl")) << slot;
    EXPECT_EQ(get<QPushButton>("ChangeInputBtn1")->property("pictureName").toString(),
              QStringLiteral("ChangeProductRed"));
    // Its input change buttons do nothing: no picker opens.
    bool pickerOpened = false;
    whenModalShows([&] {
        pickerOpened = picker.isVisible();
        if (pickerOpened)
            QTest::mouseClick(widget<QPushButton>(picker, "AbortBtn"), Qt::LeftButton);
    });
    click("ChangeInputBtn1");
    QCoreApplication::processEvents();
    EXPECT_FALSE(pickerOpened);

    load("1010280"); // Brillenfabrik: industry, needs electricity
    EXPECT_EQ(get<QPushButton>("ChangeInputBtn1")->property("pictureName").toString(),
              QStringLiteral("ChangeProduct"));
    EXPECT_EQ(text("InputGUID0"), QStringLiteral("1010208"));
    EXPECT_EQ(text("InputGUID2"), QStringLiteral("0"));
    EXPECT_EQ(text("InputName2"), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(shownPanels(), (std::vector<std::pair<QString, int>>{
                                 {QStringLiteral("ExplosionPanel"), 228},
                                 {QStringLiteral("ElectricMandatoryPanel"), 272},
                                 {QStringLiteral("ElectricBoostedPanel"), 316}}));
    EXPECT_TRUE(get<QCheckBox>("ElectricityMandatoryToggle")->isChecked());
    EXPECT_EQ(text("ElectricityMandatoryLabel"), QStringLiteral("Elektrizität erforderlich"));
    EXPECT_TRUE(get<QCheckBox>("ElecricityBoostedToogle")->isChecked());
    EXPECT_FALSE(get<QCheckBox>("ElecricityBoostedToogle")->isEnabled());
    EXPECT_EQ(text("ElectricBoostedStatus"), QStringLiteral("1"));

    load("1010262"); // the next building starts afresh: the toggle is usable again
    EXPECT_TRUE(get<QCheckBox>("ElecricityBoostedToogle")->isEnabled());
    EXPECT_EQ(text("InputGUID0"), QStringLiteral("0"));
}

TEST_F(ProductionWindowTest, IncidentsSwitchedOffLoadOffBesideTheOriginal) {
    data::ProductionSettings s = data::LoadProductionSettings(data, QStringLiteral("1010262"));
    s.current.incidents = QStringLiteral("0");
    data::ApplyProductionSettings(data, QStringLiteral("1010262"), s);
    load("1010262");
    EXPECT_FALSE(get<QCheckBox>("ExplosionToggle")->isChecked());
    EXPECT_EQ(text("ExplosionLabel"), QStringLiteral("Zwischenfälle nicht möglich"));
    EXPECT_EQ(text("OrgExplosionLabel"), QStringLiteral("Zwischenfälle möglich"));
    EXPECT_TRUE(marked("ExplosionLabel"));
}

TEST_F(ProductionWindowTest, TogglesKeepLabelsAndEachOtherConsistent) {
    load("1010282"); // Naehmaschinenfabrik: electricity possible and used
    auto* mandatory = get<QCheckBox>("ElectricityMandatoryToggle");
    auto* boosted = get<QCheckBox>("ElecricityBoostedToogle");
    boosted->setChecked(false);
    EXPECT_EQ(text("ElectricityBoostedLabel"), QStringLiteral("Elektrizität nicht verwenden"));
    EXPECT_EQ(text("ElectricBoostedStatus"), QStringLiteral("0"));
    EXPECT_TRUE(marked("ElectricityBoostedLabel"));
    mandatory->setChecked(true);
    EXPECT_EQ(text("ElectricMandatoryStatus"), QStringLiteral("1"));
    EXPECT_TRUE(boosted->isChecked());
    EXPECT_FALSE(boosted->isEnabled());
    EXPECT_EQ(text("ElectricityBoostedLabel"), QStringLiteral("Elektrizität verwenden"));
    mandatory->setChecked(false);
    EXPECT_EQ(text("ElectricityMandatoryLabel"), QStringLiteral("Elektrizität möglich"));
    EXPECT_TRUE(boosted->isEnabled());
    EXPECT_TRUE(boosted->isChecked());
    EXPECT_FALSE(marked("ElectricityBoostedLabel"));

    get<QCheckBox>("ExplosionToggle")->setChecked(false);
    EXPECT_EQ(text("ExplosionLabel"), QStringLiteral("Zwischenfälle nicht möglich"));
    EXPECT_EQ(text("IncidentChance"), QStringLiteral("0"));
}

TEST_F(ProductionWindowTest, ModuleRadiusSnapsAndResetsRestoreTheOriginal) {
    load("1010262");
    auto* radius = get<QSpinBox>("ModuleRadius");
    for (const auto& [typed, value, label] :
         {std::tuple{"3", "5", "erweiterter Flächenbau"}, std::tuple{"0", "0", "Kontaktflächenbau"},
          std::tuple{"12", "12", "erweiterter Flächenbau"}}) {
        radius->setFocus();
        radius->selectAll();
        QTest::keyClicks(radius, QString::fromLatin1(typed));
        QTest::keyClick(radius, Qt::Key_Return);
        EXPECT_EQ(text("ModuleRadius"), QString::fromLatin1(value)) << typed;
        EXPECT_EQ(text("ModuleRadiusLabel"), QString::fromUtf8(label)) << typed;
    }
    get<QSpinBox>("ModuleLimit")->setValue(2);
    get<QSpinBox>("OutPutValue")->setValue(3);
    get<QSpinBox>("MaintenanceAmountValue1")->setValue(999);
    EXPECT_TRUE(marked("OutPutValue"));
    EXPECT_TRUE(marked("ModuleLimit"));
    click("ModuleRadiusReset");
    click("ModuleLimitReset");
    click("ResetOutputBtn");
    click("ResetMaintenance1Btn");
    EXPECT_EQ(text("ModuleRadius"), text("OrgModuleRadius"));
    EXPECT_EQ(text("ModuleRadiusLabel"), text("OrgModuleRadiusLabel"));
    EXPECT_EQ(text("ModuleLimit"), text("OrgModuleLimit"));
    EXPECT_EQ(text("OutPutValue"), QStringLiteral("1"));
    EXPECT_EQ(text("MaintenanceAmountValue1"), text("OrgMaintenanceAmount1"));
    for (const char* control :
         {"OutPutValue", "ModuleLimit", "ModuleRadius", "MaintenanceAmountValue1"})
        EXPECT_FALSE(marked(control)) << control;
}

TEST_F(ProductionWindowTest, ChangeButtonsOpenThePickerForTheirSlot) {
    load("1010280");
    // Input 3: the removal row first; choosing a product fills the slot.
    const QStringList offered = pickThrough("ChangeInputBtn3", QStringLiteral("Holz"), 1);
    EXPECT_EQ(offered.value(0), QStringLiteral("Entfernen"));
    EXPECT_EQ(picker.request().productionSlot, 3);
    EXPECT_EQ(text("InputName3"), QStringLiteral("Holz"));
    EXPECT_EQ(text("InputGUID3"), QStringLiteral("120008"));
    EXPECT_TRUE(marked("InputName3"));
    // Input 0 removed: "keine Auswahl" with the "Empty" picture; the reset brings it back.
    pickThrough("ChangeInputBtn0", QStringLiteral("Entfernen"));
    EXPECT_EQ(text("InputGUID0"), QStringLiteral("0"));
    EXPECT_EQ(text("InputName0"), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(picture("InputImage0"), QStringLiteral("Empty"));
    click("ResetInputBtn0");
    EXPECT_EQ(text("InputGUID0"), QStringLiteral("1010208"));
    EXPECT_EQ(picture("InputImage0"), picture("OrgInputImage0"));
    click("ResetInputBtn3"); // empty in the original column
    EXPECT_EQ(text("InputGUID3"), QStringLiteral("0"));
    EXPECT_EQ(picture("InputImage3"), QStringLiteral("NoInput"));
    // The output offers no removal row.
    EXPECT_FALSE(pickThrough("ChangeOutputBtn4", QString()).contains(QStringLiteral("Entfernen")));
    // The workforce: "Arbeitskraft" only; a worker of the new world.
    whenModalShows([&] {
        EXPECT_EQ(widget<QListWidget>(picker, "CategoryListbox")->count(), 1);
        QTest::mouseClick(widget<QPushButton>(picker, "AbortBtn"), Qt::LeftButton);
    });
    click("ChangeInputBtn5");
    EXPECT_EQ(picker.request().caller, QStringLiteral("BasicFormWorkForce"));
    pickThrough("ChangeInputBtn5", QStringLiteral("Obrero"), 0, 1);
    EXPECT_EQ(text("MaintenanceGUID2"), QStringLiteral("1010367"));
    EXPECT_EQ(text("MaintenanceName2"), QStringLiteral("Obrero"));
    click("ResetMaintenance2Btn");
    EXPECT_EQ(text("MaintenanceGUID2"), text("OrgMaintenanceGUID2"));
}

TEST_F(ProductionWindowTest, MouseOverShowsHelpAndHelpDescribesControls) {
    load("1010262");
    const auto hover = [&](const char* name) {
        QWidget* w = get<QWidget>(name);
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    };
    const std::pair<const char*, const char*> cases[] = {
        {"InputPanel2", "31"},          {"OutputName", "32"},      {"MaintenancePanel1", "33"},
        {"MaintenancePanel2", "34"},    {"InfluenceRadius", "35"}, {"ModuleLimitPanel", "36"},
        {"ModuleRadius", "37"},         {"ExplosionPanel", "38"},  {"ElectricMandatoryPanel", "39"},
        {"ElectricBoostedPanel", "40"}, {"BuffBtnArea", "41"},     {"Background", "30"},
    };
    for (const auto& [control, id] : cases) {
        hover(control);
        EXPECT_EQ(text("InfoLabel"), data::GetHelpLabel(QString::fromLatin1(id))) << control;
    }
    EXPECT_FALSE(get<QPushButton>("BuffBtn")->isEnabled());
    form.show();
    EXPECT_TRUE(get<QWidget>("OutputPanel")
                    ->accessibleDescription()
                    .contains(QStringLiteral("Ware die das Gebäude herstellt")));
    // Alt+F4, the system's close request it stands for, and Escape leave the window open.
    QTest::keyClick(&form, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.windowHandle()->close());
    EXPECT_TRUE(form.isVisible());
    click("AbortBtn");
    EXPECT_FALSE(form.isVisible());
}

// "Produktion" in the main window opens the window; "Annehmen" saves and refreshes the list.
TEST_F(ProductionWindowTest, AcceptFromTheMainWindowSavesAndRefreshes) {
    ui::MainWindow main(mainWindowSetup(data, dir.file(QStringLiteral("mods/")), dir.path()),
                        dialogs);
    main.setProductionWindow(&form);
    auto* list = widget<QTreeWidget>(main, "BuildingsView");
    list->setCurrentItem(list->topLevelItem(2));
    const QString guid = main.selection().building;
    whenModalShows([&] {
        EXPECT_EQ(text("BuildingGUIDLabel"), guid);
        get<QSpinBox>("MaintenanceAmountValue1")->setValue(7);
        click("AcceptBtn");
    });
    QTest::mouseClick(widget<QPushButton>(main, "BasicFormBtn"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(QStringLiteral("\n")).toStdString();
    EXPECT_EQ(data::FindBuilding(data, guid)->isChanged, QStringLiteral("true"));
    EXPECT_EQ(main.selection().listIndex, 2);
    EXPECT_EQ(list->currentItem()->text(0), guid);
    EXPECT_EQ(list->currentItem()->text(2), QStringLiteral("true"));
    EXPECT_TRUE(widget<QPushButton>(main, "ActivateBtn")->isEnabled());

    // Under the pseudo-group of changed buildings: undone, the building leaves the list.
    widget<QListWidget>(main, "GroupView")->setCurrentRow(0);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    whenModalShows([&] {
        click("ResetMaintenance1Btn");
        click("AcceptBtn");
    });
    QTest::mouseClick(widget<QPushButton>(main, "BasicFormBtn"), Qt::LeftButton);
    EXPECT_EQ(data::FindBuilding(data, guid)->isChanged, QStringLiteral("false"));
    EXPECT_TRUE(list->isHidden());
}

TEST_F(ProductionWindowTest, AFailingApplyIsShownAndTheWindowStaysOpen) {
    load("1010262");
    QFile::remove(data::dataFilePath(data, data::kOriginalAssetsFile));
    bool stillOpen = false;
    whenModalShows([&] {
        click("AcceptBtn");
        stillOpen = form.isVisible();
        click("AbortBtn");
    });
    form.exec();
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].contains(QStringLiteral("BuildingsOrg.xml")));
}

// Enter in a number box commits the typed value (the radius snaps at once); the window stays
// open and writes nothing, while a focused button still takes Enter itself.
TEST_F(ProductionWindowTest, EnterInANumberBoxCommitsTheValueAndKeepsTheWindowOpen) {
    const QByteArray working = readBytes(data::dataFilePath(data, data::kWorkingAssetsFile));
    const QByteArray index = readBytes(data::dataFilePath(data, data::kBuildingIndexFile));
    load("1010262");
    form.show();
    for (const auto& [box, typed, shown] :
         {std::tuple{"MaintenanceAmountValue1", "3", "3"}, std::tuple{"ModuleRadius", "3", "5"}}) {
        auto* number = get<QSpinBox>(box);
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, QString::fromLatin1(typed));
        QTest::keyClick(number, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << box;
        EXPECT_EQ(text(box), QString::fromLatin1(shown)) << box;
    }
    EXPECT_EQ(readBytes(data::dataFilePath(data, data::kWorkingAssetsFile)), working);
    EXPECT_EQ(readBytes(data::dataFilePath(data, data::kBuildingIndexFile)), index);
    auto* abort = get<QPushButton>("AbortBtn");
    abort->setFocus();
    QTest::keyClick(abort, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
