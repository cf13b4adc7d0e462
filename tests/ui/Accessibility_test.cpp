// What a screen reader meets in the editors and the picker: every label that shows a value is
// read as that value, also after a product was handed back from the picker, and nothing that
// reports itself as showing lies outside its window (the hidden state labels of the logic).
#include "data/EditsImport.h"
#include "data/ProductionSettings.h"
#include "ui/AdditionalProductsWindow.h"
#include "ui/BuildCostsWindow.h"
#include "ui/EditorFixture.h"
#include "ui/EditsWindow.h"
#include "ui/ImportPreviewWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProductionWindow.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kFishery = QStringLiteral("1010278");

QString spoken(QObject* object) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(QAccessible::Name) : QString();
}

// Labels showing a text whose accessible name does not hold that text.
QStringList unreadValues(const QWidget& window) {
    QStringList faults;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QString shown = label->text().simplified();
        if (shown.isEmpty() || !label->isVisibleTo(&window))
            continue;
        if (!spoken(label).simplified().contains(shown))
            faults << label->objectName() + QStringLiteral(" shows \u201E") + shown +
                          QStringLiteral("\u201C, is read as \u201E") + spoken(label) +
                          QStringLiteral("\u201C");
    }
    return faults;
}

// Accessible objects that report themselves as showing but lie outside the window's area.
QStringList showingOutside(QWidget& window) {
    QStringList faults;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    const QRect area = root->rect();
    std::vector<QAccessibleInterface*> pending{root};
    while (!pending.empty()) {
        QAccessibleInterface* a = pending.back();
        pending.pop_back();
        for (int i = 0; i < a->childCount(); ++i)
            if (QAccessibleInterface* child = a->child(i))
                pending.push_back(child);
        if (a == root || a->state().invisible || a->state().offscreen)
            continue;
        if (!area.contains(a->rect()))
            faults << a->object()->objectName() + QStringLiteral(" (") +
                          a->text(QAccessible::Name) + QStringLiteral(")");
    }
    return faults;
}

class AccessibilityTest : public EditorFixture {
protected:
    // Every window checked as it is shown, and the picker each time it runs.
    void expectReadable(QWidget& window, const char* when) {
        SCOPED_TRACE(window.objectName().toStdString() + ", " + when);
        EXPECT_EQ(unreadValues(window), QStringList());
        EXPECT_EQ(showingOutside(window), QStringList());
    }
    // Chooses the product in the running picker after checking it.
    void checkPickerAndPick(const QString& category, const QString& guid) {
        whenModalShows([this, category, guid] {
            expectReadable(picker, "picker open");
            auto* categories = widget<QListWidget>(picker, "CategoryListbox");
            categories->setCurrentItem(categories->findItems(category, Qt::MatchExactly).value(0));
            auto* products = widget<QTreeWidget>(picker, "ProductView");
            for (int i = 0; i < products->topLevelItemCount(); ++i)
                if (products->topLevelItem(i)->text(0) == guid)
                    products->setCurrentItem(products->topLevelItem(i));
            expectReadable(picker, "product chosen");
            widget<QPushButton>(picker, "AcceptBtn")->click();
            if (picker.isVisible())
                widget<QPushButton>(picker, "AbortBtn")->click();
        });
    }
};

TEST_F(AccessibilityTest, TheBuildCostEditorReadsTheGoodsItShows) {
    ui::BuildCostsWindow form{dialogs};
    form.setProductPicker(&picker);
    ASSERT_TRUE(form.load(nullptr, contextFor(kFishery)));
    form.show();
    expectReadable(form, "loaded");
    checkPickerAndPick(QStringLiteral("Baustoff"), QStringLiteral("1010205"));
    widget<QPushButton>(form, "ChangeCostBtn2")->click();
    EXPECT_EQ(spoken(widget<QLabel>(form, "CostLabel2")), QStringLiteral("Ziegel"));
    expectReadable(form, "after the hand-back");
    widget<QPushButton>(form, "ResetCostBtn2")->click();
    expectReadable(form, "after the reset");
    widget<QPushButton>(form, "AbortBtn")->click();
}

TEST_F(AccessibilityTest, TheAdditionalProductsEditorReadsTheGoodsItShows) {
    ui::AdditionalProductsWindow form{dialogs};
    form.setProductPicker(&picker);
    QWidget opener;
    (new QLabel(QStringLiteral("0"), &opener))->setObjectName(QStringLiteral("HasBuff"));
    ASSERT_TRUE(form.load(&opener, contextFor(kFishery)));
    form.show();
    expectReadable(form, "loaded");
    checkPickerAndPick(QStringLiteral("Baustoff"), QStringLiteral("1010205"));
    widget<QPushButton>(form, "AddProductBtn1")->click();
    EXPECT_EQ(spoken(widget<QLabel>(form, "AddProductText1")), QStringLiteral("Ziegel"));
    expectReadable(form, "after the hand-back");
    widget<QPushButton>(form, "ResetAddBtn1")->click();
    EXPECT_EQ(spoken(widget<QLabel>(form, "AddProductText1")), QStringLiteral("keine Auswahl"));
    widget<QPushButton>(form, "AbortBtn")->click();
}

TEST_F(AccessibilityTest, TheProductionWindowReadsTheValuesItShows) {
    ui::ProductionWindow form{dialogs, picker};
    const data::BuildingEntry b = *data::FindBuilding(data, kFishery);
    ASSERT_TRUE(form.load(nullptr, {data, {b.guid, b.local, b.icon, b.region, 0, 1}, {}}));
    form.show();
    expectReadable(form, "loaded");
    widget<QPushButton>(form, "AbortBtn")->click();
}

TEST_F(AccessibilityTest, TheMainWindowReadsTheValuesItShows) {
    const QString mods = dir.file(QStringLiteral("mods"));
    QDir().mkpath(mods);
    ui::MainWindow form(mainWindowSetup(data, mods), dialogs);
    form.show();
    expectReadable(form, "started");
}

TEST_F(AccessibilityTest, TheOverviewAndTheImportPreviewReadTheirValues) {
    data::ProductionSettings s = data::LoadProductionSettings(data, kFishery);
    s.current.outputAmount = QStringLiteral("2");
    data::ApplyProductionSettings(data, kFishery, s);
    ui::EditsWindow overview({data, dir.file(QStringLiteral("mods")), QStringLiteral("1.0.0.0")},
                             dialogs);
    overview.show();
    expectReadable(overview, "loaded");

    data::EditsFile file;
    file.buildings.push_back({kFishery, QStringLiteral("Fischerei"), {{"outputAmount", "3", "2"}}});
    data::EditorFiles files(data);
    ui::ImportPreviewWindow preview(QStringLiteral("a.json"), file,
                                    data::PreviewImport(files, file), files.catalogue());
    preview.show();
    expectReadable(preview, "conflict shown");
}

} // namespace
