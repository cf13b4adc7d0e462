// The additional-products editor on the shipped data, offscreen, controls found by objectName.
#include "data/AdditionalProducts.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "ui/AdditionalProductsWindow.h"
#include "ui/EditorFixture.h"
#include "ui/ProductionWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kGrainFarm = QStringLiteral("1010262"); // needs 1010571 "Getreide"
const QString kFishery = QStringLiteral("1010278");   // needs none

class AdditionalProductsWindowTest : public EditorFixture {
protected:
    ui::AdditionalProductsWindow form{dialogs};
    // The production window's part: its state label HasBuff.
    QWidget opener;
    QLabel* hasBuff = new QLabel(QStringLiteral("?"), &opener);

    AdditionalProductsWindowTest() {
        form.setProductPicker(&picker);
        hasBuff->setObjectName(QStringLiteral("HasBuff"));
    }

    template <class T> T* get(const QString& name) const {
        return widget<T>(form, name.toLatin1().constData());
    }
    QString text(const QString& name) const { return get<QLabel>(name)->text(); }
    QCheckBox* toggle() const { return get<QCheckBox>(QStringLiteral("FertilityToggle")); }
    QSpinBox* box(const char* stem, int k) const {
        return get<QSpinBox>(QString::fromLatin1(stem) + QString::number(k));
    }
    void open(const QString& guid) { ASSERT_TRUE(form.load(&opener, contextFor(guid))); }
    void click(const QString& name) { get<QPushButton>(name)->click(); }
    bool fertilityShown() const {
        return !toggle()->isHidden() &&
               !get<QLabel>(QStringLiteral("FertilityLabel"))->isHidden() &&
               !get<QLabel>(QStringLiteral("FertilityImage"))->isHidden();
    }

    // The buff entry of the building, its attributes by position.
    QStringList entry(const QString& guid) const {
        const data::XmlDocument doc = data::XmlDocument::load(file(data::kBuffTableFile));
        const pugi::xml_node buff = data::selectNode(
            doc.root(), "Buff[@GUID=\"" + data::utf8(data::FindBuilding(data, guid)->add) + "\"]");
        QStringList values;
        for (const pugi::xml_attribute& a : buff.attributes())
            values << QString::fromUtf8(a.value());
        return values;
    }
    void setEntry(const QString& guid, int position, const char* value) {
        data::XmlDocument doc = data::XmlDocument::load(file(data::kBuffTableFile));
        data::setAttributeAt(
            data::selectNode(doc.root(), "Buff[@GUID=\"" +
                                             data::utf8(data::FindBuilding(data, guid)->add) +
                                             "\"]"),
            position, value);
        doc.save();
    }
};

TEST_F(AdditionalProductsWindowTest, WindowHasItsControlsCaptionsAndHelp) {
    open(kGrainFarm);
    EXPECT_EQ(text(QStringLiteral("Label1")), QStringLiteral("Zusatzwaren"));
    EXPECT_EQ(text(QStringLiteral("BuildingNameLabel")), QStringLiteral("Getreidefarm"));
    EXPECT_TRUE(text(QStringLiteral("InfoText"))
                    .startsWith(QStringLiteral("Auf dieser Seite können Sie festlegen, welche "
                                               "Waren das Gebäude zusätzlich erzeugen soll.")));
    EXPECT_EQ(controlsWithoutAccessibleName(form), QStringList());
    EXPECT_EQ(box("AddProductAmount", 2)->accessibleName(), QStringLiteral("Zusatzware 3 Menge"));
    EXPECT_EQ(box("AddProductAmount", 8)->maximum(), 100);
    EXPECT_EQ(box("AddProductCycle", 8)->maximum(), 25);
    for (const char* name :
         {"AddProductGUID0", "AddProductGUID8", "FertilityGUID", "FertilityGUIDActive"})
        EXPECT_FALSE(form.rect().intersects(get<QWidget>(QString::fromLatin1(name))->geometry()))
            << name;
    // An empty slot shows and stores "0".
    EXPECT_EQ(text(QStringLiteral("AddProductText4")), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(ui::pictureName(get<QLabel>(QStringLiteral("AddProductImage4"))),
              QStringLiteral("NoInput"));
    EXPECT_EQ(box("AddProductAmount", 4)->text(), QStringLiteral("0"));
    EXPECT_EQ(hasBuff->text(), QStringLiteral("0"));
}

TEST_F(AdditionalProductsWindowTest, AFarmBringsItsFertilityWhenSwitchedOn) {
    open(kGrainFarm);
    EXPECT_TRUE(fertilityShown());
    EXPECT_FALSE(toggle()->isChecked());
    EXPECT_EQ(text(QStringLiteral("FertilityLabel")),
              QStringLiteral("erforderliche Fruchtbarkeit nicht hinzufügen"));
    EXPECT_EQ(ui::pictureName(get<QLabel>(QStringLiteral("FertilityImage"))),
              QStringLiteral("icon_cereals_2"));

    toggle()->click();
    EXPECT_EQ(text(QStringLiteral("FertilityLabel")),
              QStringLiteral("erforderliche Fruchtbarkeit (Getreide) hinzufügen"));
    EXPECT_EQ(text(QStringLiteral("FertilityGUIDActive")), QStringLiteral("1010571"));
    click(QStringLiteral("AcceptBtn"));
    const QStringList values = entry(kGrainFarm);
    EXPECT_EQ(values.at(data::kBuffChainPosition), QStringLiteral("1010571"));
    EXPECT_EQ(values.at(data::kBuffSetPosition), QStringLiteral("1"));
    EXPECT_EQ(hasBuff->text(), QStringLiteral("1"));

    // Reopened, the switch is on.
    open(kGrainFarm);
    EXPECT_TRUE(toggle()->isChecked());
}

TEST_F(AdditionalProductsWindowTest,
       ABuildingWithoutOrExcludedFromTheFertilityNeverShowsTheSwitch) {
    const QString buildings[] = {kFishery,
                                 QStringLiteral("114705"),
                                 QStringLiteral("114703"),
                                 QStringLiteral("112674"),
                                 QStringLiteral("112666"),
                                 QStringLiteral("1010310")};
    for (const QString& building : buildings) {
        SCOPED_TRACE(building.toStdString());
        // Right after a building whose switch is on.
        setEntry(kGrainFarm, data::kBuffChainPosition, "1010571");
        open(kGrainFarm);
        ASSERT_TRUE(toggle()->isChecked());
        setEntry(building, data::kBuffChainPosition, "1010571"); // a stale Chain
        open(building);
        EXPECT_FALSE(fertilityShown());
        EXPECT_EQ(text(QStringLiteral("FertilityGUIDActive")), QStringLiteral("0"));
        click(QStringLiteral("AcceptBtn"));
        EXPECT_EQ(entry(building).at(data::kBuffChainPosition), QStringLiteral("0"));
    }
}

TEST_F(AdditionalProductsWindowTest, ProductsInSlotsZeroAndThreeAreWrittenAtTheirPositions) {
    open(kGrainFarm);
    pickWhenShown(QStringLiteral("Rohstoff"), QStringLiteral("1010193"));
    click(QStringLiteral("AddProductBtn0"));
    EXPECT_EQ(text(QStringLiteral("AddProductText0")), QStringLiteral("Rindfleisch"));
    EXPECT_EQ(box("AddProductAmount", 0)->value(), 1); // a good starts its boxes at 1
    EXPECT_EQ(box("AddProductCycle", 0)->value(), 1);
    pickWhenShown(QStringLiteral("Baustoff"), QStringLiteral("1010196"));
    click(QStringLiteral("AddProductBtn3"));
    box("AddProductAmount", 3)->setValue(4);
    box("AddProductCycle", 3)->setValue(25);
    click(QStringLiteral("AcceptBtn"));

    const QStringList values = entry(kGrainFarm);
    EXPECT_EQ(values.mid(1, 3), (QStringList{"1010193", "1", "1"}));
    EXPECT_EQ(values.mid(10, 3), (QStringList{"1010196", "4", "25"}));
    for (int k : {1, 2, 4, 5, 6, 7, 8})
        EXPECT_EQ(values.at(data::buffProductPosition(k)), QStringLiteral("0")) << k;
    EXPECT_EQ(values.at(data::kBuffSetPosition), QStringLiteral("1"));
    EXPECT_EQ(hasBuff->text(), QStringLiteral("1"));

    // The removal row empties a slot again.
    open(kGrainFarm);
    EXPECT_EQ(text(QStringLiteral("AddProductText3")), QStringLiteral("Bretter"));
    pickWhenShown(QStringLiteral("Markt"), QStringLiteral("0"));
    click(QStringLiteral("AddProductBtn3"));
    EXPECT_EQ(text(QStringLiteral("AddProductGUID3")), QStringLiteral("0"));
    EXPECT_EQ(text(QStringLiteral("AddProductText3")), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(box("AddProductAmount", 3)->value(), 0);
    EXPECT_EQ(box("AddProductCycle", 3)->value(), 0);
}

TEST_F(AdditionalProductsWindowTest, AllEmptyAndSwitchedOffLeavesSetAndClearsHasBuff) {
    setEntry(kGrainFarm, data::kBuffSetPosition, "1");
    setEntry(kGrainFarm, data::buffProductPosition(5), "1010193");
    setEntry(kGrainFarm, data::kBuffChainPosition, "1010571");
    open(kGrainFarm);
    EXPECT_EQ(hasBuff->text(), QStringLiteral("1"));
    EXPECT_EQ(text(QStringLiteral("AddProductText5")), QStringLiteral("Rindfleisch"));
    click(QStringLiteral("FullResetBtn"));
    EXPECT_FALSE(toggle()->isChecked());
    EXPECT_EQ(text(QStringLiteral("AddProductGUID5")), QStringLiteral("0"));
    click(QStringLiteral("AcceptBtn"));

    const QStringList values = entry(kGrainFarm);
    EXPECT_EQ(values.at(data::kBuffSetPosition), QStringLiteral("1")); // left as it was
    EXPECT_EQ(values.at(data::kBuffChainPosition), QStringLiteral("0"));
    EXPECT_EQ(values.at(data::buffAmountPosition(5)), QStringLiteral("0"));
    EXPECT_EQ(hasBuff->text(), QStringLiteral("0"));
}

TEST_F(AdditionalProductsWindowTest, TheResetButtonsEmptyTheirSlotAndTheFirstAlsoTheFertility) {
    for (int k : {0, 4, 7})
        setEntry(kGrainFarm, data::buffProductPosition(k), "1010193");
    setEntry(kGrainFarm, data::kBuffChainPosition, "1010571");
    open(kGrainFarm);
    ASSERT_TRUE(toggle()->isChecked());

    click(QStringLiteral("ResetAddBtn4"));
    EXPECT_EQ(text(QStringLiteral("AddProductGUID4")), QStringLiteral("0"));
    EXPECT_TRUE(toggle()->isChecked());
    EXPECT_EQ(text(QStringLiteral("AddProductGUID7")), QStringLiteral("1010193"));

    click(QStringLiteral("ResetAddBtn0"));
    EXPECT_EQ(text(QStringLiteral("AddProductGUID0")), QStringLiteral("0"));
    EXPECT_EQ(ui::pictureName(get<QLabel>(QStringLiteral("AddProductImage0"))),
              QStringLiteral("NoInput"));
    EXPECT_FALSE(toggle()->isChecked());
    EXPECT_EQ(text(QStringLiteral("FertilityGUIDActive")), QStringLiteral("0"));
    EXPECT_EQ(text(QStringLiteral("AddProductGUID7")), QStringLiteral("1010193"));
}

TEST_F(AdditionalProductsWindowTest, AbortWritesNothing) {
    const QByteArray before = readBytes(file(data::kBuffTableFile));
    open(kGrainFarm);
    toggle()->click();
    click(QStringLiteral("AbortBtn"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readBytes(file(data::kBuffTableFile)), before);
}

TEST_F(AdditionalProductsWindowTest, TheProductionWindowOpensTheEditorAndTakesHasBuffBack) {
    ui::ProductionWindow production(dialogs, picker);
    EXPECT_FALSE(widget<QPushButton>(production, "BuffBtn")->isEnabled()); // no editor yet
    production.setAdditionalProductsWindow(&form);
    ASSERT_TRUE(production.load(nullptr, contextFor(kGrainFarm)));
    auto* buffBtn = widget<QPushButton>(production, "BuffBtn");
    ASSERT_TRUE(buffBtn->isEnabled());
    auto* productionHasBuff = widget<QLabel>(production, "HasBuff");
    EXPECT_EQ(productionHasBuff->text(), QStringLiteral("0"));

    whenModalShows([&] {
        EXPECT_EQ(text(QStringLiteral("BuildingGUIDLabel")), kGrainFarm);
        toggle()->click();
        click(QStringLiteral("AcceptBtn"));
    });
    buffBtn->click();
    EXPECT_EQ(productionHasBuff->text(), QStringLiteral("1"));
    EXPECT_TRUE(buffBtn->property("differsFromOriginal").toBool());
    EXPECT_EQ(entry(kGrainFarm).at(data::kBuffChainPosition), QStringLiteral("1010571"));

    // With HasBuff "1" the production window's apply marks the building as changed.
    widget<QPushButton>(production, "AcceptBtn")->click();
    EXPECT_EQ(data::FindBuilding(data, kGrainFarm)->isChanged, QStringLiteral("true"));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(QLatin1Char('\n')).toStdString();
}

// Enter in a number box commits the typed value; the window stays open and writes nothing.
TEST_F(AdditionalProductsWindowTest, EnterInANumberBoxCommitsTheValueAndKeepsTheWindowOpen) {
    const QByteArray before = readBytes(file(data::kBuffTableFile));
    open(kGrainFarm);
    form.show();
    QSpinBox* amount = box("AddProductAmount", 0);
    amount->setFocus();
    amount->selectAll();
    QTest::keyClicks(amount, QStringLiteral("4"));
    QTest::keyClick(amount, Qt::Key_Enter);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(amount->value(), 4);
    EXPECT_EQ(readBytes(file(data::kBuffTableFile)), before);
    click(QStringLiteral("AbortBtn"));
}

} // namespace
