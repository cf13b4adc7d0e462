// The build-cost editor on the shipped data, offscreen, controls found by objectName.
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "ui/BuildCostsWindow.h"
#include "ui/EditorFixture.h"
#include "ui/MainWindow.h"
#include "ui/UiTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kGrainFarm = QStringLiteral("1010262");   // coins 100, Bretter 2
const QString kOilRefinery = QStringLiteral("1010561"); // a cost list without items

class BuildCostsWindowTest : public EditorFixture {
protected:
    ui::BuildCostsWindow form{dialogs};

    BuildCostsWindowTest() { form.setProductPicker(&picker); }

    template <class T> T* get(const QString& name) const {
        return widget<T>(form, name.toLatin1().constData());
    }
    QString text(const QString& name) const { return get<QLabel>(name)->text(); }
    QString picture(const QString& name) const { return ui::pictureName(get<QLabel>(name)); }
    QSpinBox* amount(int k) const { return get<QSpinBox>(QStringLiteral("Cost%1").arg(k)); }
    void open(const QString& guid) { ASSERT_TRUE(form.load(nullptr, contextFor(guid))); }
    void click(const QString& name) { get<QPushButton>(name)->click(); }

    // The Amount texts of the seven written items ("" for an empty item).
    QStringList writtenAmounts(const QString& guid) const {
        const data::XmlDocument doc = data::XmlDocument::load(file(data::kWorkingAssetsFile));
        QStringList amounts;
        for (const pugi::xml_node& item :
             data::selectNodes(doc.root(), "//Asset[Values/Standard/GUID=\"" + data::utf8(guid) +
                                               "\"]/Values/Cost/Costs/Item"))
            amounts << QString::fromUtf8(item.child("Amount").text().get());
        return amounts;
    }
    QStringList dataFiles() const {
        QStringList bytes;
        for (const QString& name : data::kDataArchiveFiles)
            bytes << QString::fromLatin1(readBytes(file(name)).toBase64());
        return bytes;
    }
};

TEST_F(BuildCostsWindowTest, WindowHasItsControlsCaptionsAndHelp) {
    open(kGrainFarm);
    EXPECT_EQ(text(QStringLiteral("CostFormLabel")), QStringLiteral("Baukosten"));
    EXPECT_EQ(text(QStringLiteral("Label1")), QStringLiteral("aktuell"));
    EXPECT_EQ(text(QStringLiteral("Label2")), QStringLiteral("original"));
    EXPECT_EQ(text(QStringLiteral("BuildingGUIDLabel")), kGrainFarm);
    EXPECT_EQ(text(QStringLiteral("BuildingNameLabel")), QStringLiteral("Getreidefarm"));
    EXPECT_EQ(get<QPushButton>(QStringLiteral("AcceptBtn"))->text(), QStringLiteral("Annehmen"));
    EXPECT_EQ(get<QPushButton>(QStringLiteral("AbortBtn"))->text(), QStringLiteral("Abbrechen"));
    EXPECT_TRUE(text(QStringLiteral("InfoText"))
                    .startsWith(QStringLiteral("Auf dieser Seite können Sie festlegen, welche "
                                               "Baukosten für das Gebäude gelten sollen.")));
    EXPECT_EQ(controlsWithoutAccessibleName(form), QStringList());
    EXPECT_EQ(amount(0)->accessibleName(), QStringLiteral("Baukosten Münzen aktuell"));

    // Slot 0 takes the coins in steps of 10 and 100, the others goods in steps of 1 and 5.
    EXPECT_EQ(amount(0)->maximum(), 100000);
    EXPECT_EQ(amount(0)->singleStep(), 10);
    EXPECT_EQ(amount(3)->maximum(), 150);
    EXPECT_EQ(amount(3)->singleStep(), 1);
    EXPECT_EQ(get<QPushButton>(QStringLiteral("ChangeCostBtn0"))->property("pictureName"),
              QStringLiteral("ChangeProductRed"));

    // Out of sight: the GUIDs and the full reset.
    for (const char* name : {"CostGUID0", "OrgCostGUID6", "FullResetBtn"})
        EXPECT_FALSE(form.rect().intersects(get<QWidget>(QString::fromLatin1(name))->geometry()))
            << name;
    EXPECT_EQ(text(QStringLiteral("UnusedLabel")), QStringLiteral("ungenutzt"));
    EXPECT_EQ(text(QStringLiteral("OrgUnusedLabel")), QStringLiteral("ungnutzt"));
    EXPECT_EQ(text(QStringLiteral("OrgUnusedCost")), QStringLiteral("0"));
}

TEST_F(BuildCostsWindowTest, BothSidesShowTheRecords) {
    open(kGrainFarm);
    EXPECT_EQ(amount(0)->value(), 100);
    EXPECT_EQ(text(QStringLiteral("CostLabel0")), QStringLiteral("Münzen"));
    EXPECT_EQ(text(QStringLiteral("CostGUID1")), QStringLiteral("1010196"));
    EXPECT_EQ(picture(QStringLiteral("CostImage1")), QStringLiteral("icon_planks"));
    EXPECT_EQ(text(QStringLiteral("OrgCost1")), QStringLiteral("2"));
    EXPECT_EQ(text(QStringLiteral("OrgCostLabel1")), QStringLiteral("Bretter"));
    EXPECT_EQ(text(QStringLiteral("CostLabel2")), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(picture(QStringLiteral("CostImage2")), QStringLiteral("Empty"));
    EXPECT_EQ(picture(QStringLiteral("OrgCostImage6")), QStringLiteral("Empty"));
    EXPECT_FALSE(amount(0)->property("differsFromOriginal").toBool());

    // The oil refinery, whose records hold no cost item, opens with every slot empty.
    open(kOilRefinery);
    for (int k = 0; k < data::kCostSlots; ++k) {
        EXPECT_EQ(text(QStringLiteral("CostGUID%1").arg(k)), QStringLiteral("0")) << k;
        EXPECT_EQ(text(QStringLiteral("OrgCostGUID%1").arg(k)), QStringLiteral("0")) << k;
        EXPECT_EQ(picture(QStringLiteral("CostImage%1").arg(k)), QStringLiteral("Empty")) << k;
        EXPECT_EQ(amount(k)->value(), 0) << k;
    }
}

TEST_F(BuildCostsWindowTest, CoinsSetToZeroAreWrittenAsTen) {
    open(kGrainFarm);
    amount(0)->setValue(0);
    EXPECT_TRUE(amount(0)->property("differsFromOriginal").toBool()); // marked at once
    click(QStringLiteral("AcceptBtn"));
    EXPECT_EQ(writtenAmounts(kGrainFarm),
              (QStringList{"10", "2", "", "", "", "", ""})); // seven items
    EXPECT_EQ(amount(0)->value(), 10);                       // the reload shows what was written
    EXPECT_EQ(data::FindBuilding(data, kGrainFarm)->isChanged, QStringLiteral("true"));
}

TEST_F(BuildCostsWindowTest, AProductChosenForASlotAtZeroTakesOne) {
    open(kGrainFarm);
    pickWhenShown(QStringLiteral("Baustoff"), QStringLiteral("1010205"));
    click(QStringLiteral("ChangeCostBtn2"));
    EXPECT_EQ(text(QStringLiteral("CostGUID2")), QStringLiteral("1010205"));
    EXPECT_EQ(text(QStringLiteral("CostLabel2")), QStringLiteral("Ziegel"));
    EXPECT_EQ(picture(QStringLiteral("CostImage2")), QStringLiteral("icon_bricks"));
    EXPECT_EQ(amount(2)->value(), 1);
    EXPECT_TRUE(
        get<QLabel>(QStringLiteral("CostLabel2"))->property("differsFromOriginal").toBool());

    // Set back to 0 after the choice, it is still written with 1.
    amount(2)->setValue(0);
    click(QStringLiteral("AcceptBtn"));
    EXPECT_EQ(writtenAmounts(kGrainFarm).at(2), QStringLiteral("1"));
}

TEST_F(BuildCostsWindowTest, TheRemovalRowEmptiesASlot) {
    open(kGrainFarm);
    pickWhenShown(QStringLiteral("Markt"), QStringLiteral("0"));
    click(QStringLiteral("ChangeCostBtn1"));
    EXPECT_EQ(text(QStringLiteral("CostGUID1")), QStringLiteral("0"));
    EXPECT_EQ(text(QStringLiteral("CostLabel1")), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(amount(1)->value(), 0);
    EXPECT_EQ(picture(QStringLiteral("CostImage1")), QStringLiteral("Empty"));
}

TEST_F(BuildCostsWindowTest, AResetRestoresTheOriginalSlotAndWritesNothing) {
    const QStringList before = dataFiles();
    open(kGrainFarm);
    pickWhenShown(QStringLiteral("Baustoff"), QStringLiteral("1010218"));
    click(QStringLiteral("ChangeCostBtn1"));
    amount(1)->setValue(9);
    amount(6)->setValue(4);
    ASSERT_EQ(text(QStringLiteral("CostLabel1")), QStringLiteral("Stahlträger"));

    click(QStringLiteral("ResetCostBtn1"));
    EXPECT_EQ(text(QStringLiteral("CostGUID1")), QStringLiteral("1010196"));
    EXPECT_EQ(text(QStringLiteral("CostLabel1")), QStringLiteral("Bretter"));
    EXPECT_EQ(picture(QStringLiteral("CostImage1")), QStringLiteral("icon_planks"));
    EXPECT_EQ(amount(1)->value(), 2);
    EXPECT_FALSE(
        get<QLabel>(QStringLiteral("CostLabel1"))->property("differsFromOriginal").toBool());
    click(QStringLiteral("ResetCostBtn6")); // slot 6 resets like the others
    EXPECT_EQ(amount(6)->value(), 0);
    EXPECT_EQ(dataFiles(), before);
}

TEST_F(BuildCostsWindowTest, AbortWritesNothing) {
    const QStringList before = dataFiles();
    open(kGrainFarm);
    amount(0)->setValue(5000);
    click(QStringLiteral("AbortBtn"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(dataFiles(), before);
}

TEST_F(BuildCostsWindowTest, AnApplyWithoutDifferenceLeavesIsChangedAsItWas) {
    struct Case {
        bool changedBefore;
        const char* after;
    };
    for (const Case c : {Case{false, "false"}, Case{true, "true"}}) {
        data::SetBuildingFlag(data, kGrainFarm, data::kBuildingIsChanged, c.changedBefore);
        open(kGrainFarm);
        amount(3)->setValue(7); // an amount without a good is not written
        click(QStringLiteral("AcceptBtn"));
        EXPECT_EQ(data::FindBuilding(data, kGrainFarm)->isChanged, QString::fromLatin1(c.after));
    }
}

TEST_F(BuildCostsWindowTest, BaukostenOpensTheEditorAndItsApplyRefreshesTheMainWindow) {
    ui::MainWindow main(mainWindowSetup(data, dir.file(QStringLiteral("mods")), dir.path()),
                        dialogs);
    main.setBuildCostsWindow(&form);
    auto* list = widget<QTreeWidget>(main, "BuildingsView");
    list->setCurrentItem(list->topLevelItem(2));
    const QString building = main.selection().building;
    whenModalShows([&] {
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(text(QStringLiteral("BuildingGUIDLabel")), building);
        amount(0)->setValue(amount(0)->value() + 10);
        click(QStringLiteral("AcceptBtn"));
    });
    widget<QPushButton>(main, "CostBtn")->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(list->topLevelItem(2)->text(2), QStringLiteral("true")); // the list shows the flag
    EXPECT_EQ(main.selection().building, building);                    // on the same row
    EXPECT_TRUE(widget<QPushButton>(main, "ActivateBtn")->isEnabled());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(QLatin1Char('\n')).toStdString();
}

// Enter in a number box commits the typed value; the window stays open and writes nothing.
TEST_F(BuildCostsWindowTest, EnterInANumberBoxCommitsTheValueAndKeepsTheWindowOpen) {
    const QStringList before = dataFiles();
    open(kGrainFarm);
    form.show();
    amount(0)->setFocus();
    amount(0)->selectAll();
    QTest::keyClicks(amount(0), QStringLiteral("250"));
    QTest::keyClick(amount(0), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(amount(0)->value(), 250);
    EXPECT_EQ(dataFiles(), before);
    click(QStringLiteral("AbortBtn"));
}

} // namespace
