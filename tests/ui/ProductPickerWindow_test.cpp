#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "ui/EditorWindow.h"
#include "ui/ProductPickerWindow.h"
#include "ui/UiTestSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// An opener with the slot controls of the build-cost and additional-products editors.
struct Opener : QWidget {
    Opener() {
        setObjectName(QStringLiteral("Opener"));
        for (const QString k : {QStringLiteral("0"), QStringLiteral("1")}) {
            for (const char* stem : {"Cost", "AddProductAmount", "AddProductCycle"}) {
                auto* box = new QSpinBox(this);
                box->setObjectName(QString::fromLatin1(stem) + k);
                box->setRange(0, 1000);
                box->setValue(stem[0] == 'C' ? 0 : 5);
            }
            for (const char* stem : {"CostGUID", "CostLabel", "CostImage", "AddProductGUID",
                                     "AddProductText", "AddProductImage"})
                (new QLabel(QStringLiteral("0"), this))
                    ->setObjectName(QString::fromLatin1(stem) + k);
        }
    }
    QString text(const char* name) const { return ui::controlText(widget<QWidget>(*this, name)); }
    QString picture(const char* name) const { return ui::pictureName(widget<QLabel>(*this, name)); }
};

class ProductPickerWindowTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    ui::ProductPickerWindow picker{dialogs};
    Opener opener;
    ui::EditorContext context{sourcePath(QStringLiteral("resources/data/XMLP")),
                              {QStringLiteral("1010278"), QStringLiteral("Fischerei"),
                               QStringLiteral("icon_fish"), QStringLiteral("1"), 0, 15},
                              {}};

    QTreeWidget* products() const { return widget<QTreeWidget>(picker, "ProductView"); }
    QStringList rowNames() const {
        QStringList names;
        for (int i = 0; i < products()->topLevelItemCount(); ++i)
            names << products()->topLevelItem(i)->text(1);
        return names;
    }
    void choose(const QString& name) {
        for (int i = 0; i < products()->topLevelItemCount(); ++i)
            if (products()->topLevelItem(i)->text(1) == name)
                products()->setCurrentItem(products()->topLevelItem(i));
    }
    // Opens the picker modally, runs action inside it, returns the dialog result.
    int pick(std::function<void()> action) {
        whenModalShows(std::move(action));
        return picker.openFor(&opener, context);
    }
};

TEST_F(ProductPickerWindowTest, ShowsTheCallersCategoriesAndStartsAtTheFirstRow) {
    picker.request() = {data::kCallerWorkForce, 5, 0, 0};
    ASSERT_TRUE(picker.load(&opener, context));
    auto* categories = widget<QListWidget>(picker, "CategoryListbox");
    ASSERT_EQ(categories->count(), 1);
    EXPECT_EQ(categories->currentItem()->text(), QStringLiteral("Arbeitskraft"));
    EXPECT_EQ(widget<QListWidget>(picker, "RegionView")->currentItem()->text(),
              QStringLiteral("Alte Welt"));
    EXPECT_FALSE(rowNames().contains(QStringLiteral("Entfernen")));
    EXPECT_EQ(products()->currentItem(), products()->topLevelItem(0));
    EXPECT_EQ(widget<QLabel>(picker, "BuildingNameLabel")->text(), QStringLiteral("Fischerei"));
    EXPECT_EQ(ui::pictureName(widget<QLabel>(picker, "BuildingRegionImage")), QStringLiteral("1"));

    widget<QListWidget>(picker, "RegionView")->setCurrentRow(1);
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("Jornalero"), QStringLiteral("Obrero"),
                                       QStringLiteral("Artista")}));
    EXPECT_TRUE(products()->selectedItems().isEmpty());
}

TEST_F(ProductPickerWindowTest, CostSlotGetsTheProductAndAnAmountOfOne) {
    picker.request() = {data::kCallerBuildCosts, 0, 1, 0};
    const int result = pick([&] {
        widget<QListWidget>(picker, "CategoryListbox")->setCurrentRow(1); // Baustoff
        choose(QStringLiteral("Holz"));
        QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(opener.text("Cost1"), QStringLiteral("1"));
    EXPECT_EQ(opener.text("CostLabel1"), QStringLiteral("Holz"));
    EXPECT_NE(opener.text("CostGUID1"), QStringLiteral("0"));
    EXPECT_FALSE(widget<QLabel>(opener, "CostImage1")->pixmap().isNull());
    EXPECT_EQ(opener.text("Cost0"), QStringLiteral("0")); // other slots untouched
    EXPECT_EQ(picker.request().costSlot, 1);              // the request stays set

    // An amount other than "0" stays; the removal row empties the slot.
    widget<QSpinBox>(opener, "Cost1")->setValue(40);
    pick([&] {
        widget<QListWidget>(picker, "CategoryListbox")->setCurrentRow(1);
        choose(QStringLiteral("Holz"));
        QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(opener.text("Cost1"), QStringLiteral("40"));
    pick([&] {
        choose(QStringLiteral("Entfernen"));
        QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(opener.text("Cost1"), QStringLiteral("0"));
    EXPECT_EQ(opener.text("CostLabel1"), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(opener.picture("CostImage1"), QStringLiteral("Empty"));
}

TEST_F(ProductPickerWindowTest, RemovalEmptiesAnAdditionalProductSlot) {
    picker.request() = {data::kCallerAdditionalProducts, 4, 0, 0};
    pick([&] {
        EXPECT_EQ(rowNames().value(0), QStringLiteral("Entfernen"));
        QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(opener.text("AddProductGUID0"), QStringLiteral("0"));
    EXPECT_EQ(opener.text("AddProductAmount0"), QStringLiteral("0"));
    EXPECT_EQ(opener.text("AddProductCycle0"), QStringLiteral("0"));
    EXPECT_EQ(opener.text("AddProductText0"), QStringLiteral("keine Auswahl"));
    EXPECT_EQ(opener.picture("AddProductImage0"), QStringLiteral("NoInput"));
    EXPECT_EQ(opener.text("AddProductAmount1"), QStringLiteral("5"));
}

TEST_F(ProductPickerWindowTest, AcceptWithoutSelectedRowKeepsThePickerOpen) {
    picker.request() = {data::kCallerBuildCosts, 0, 0, 0};
    bool stillOpen = false;
    const int result = pick([&] {
        widget<QListWidget>(picker, "CategoryListbox")->setCurrentRow(2); // no row selected now
        QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
        stillOpen = picker.isVisible();
        // Alt+F4, the system's close request it stands for, and Escape do not close it
        // either; "Abbrechen" does, without a hand-back.
        QTest::keyClick(&picker, Qt::Key_F4, Qt::AltModifier);
        QTest::keyClick(&picker, Qt::Key_Escape);
        stillOpen = stillOpen && picker.isVisible();
        EXPECT_FALSE(picker.windowHandle()->close());
        stillOpen = stillOpen && picker.isVisible();
        QTest::mouseClick(widget<QPushButton>(picker, "AbortBtn"), Qt::LeftButton);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(opener.text("CostLabel0"), QStringLiteral("0"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(ProductPickerWindowTest, OpensCentredOnItsOpener) {
    opener.setGeometry(100, 80, 900, 800);
    opener.show();
    picker.request() = {data::kCallerBuildCosts, 0, 0, 0};
    QPoint centre;
    pick([&] {
        centre = picker.frameGeometry().center();
        QTest::mouseClick(widget<QPushButton>(picker, "AbortBtn"), Qt::LeftButton);
    });
    EXPECT_LE((centre - opener.frameGeometry().center()).manhattanLength(), 2);
}

TEST_F(ProductPickerWindowTest, AMissingSlotIsReportedAndNothingChanges) {
    picker.request() = {data::kCallerProduction, 1, 0, 0}; // the opener has no input slots
    bool stillOpen = false;
    pick([&] {
        QTest::mouseClick(widget<QPushButton>(picker, "AcceptBtn"), Qt::LeftButton);
        stillOpen = picker.isVisible();
        QTest::mouseClick(widget<QPushButton>(picker, "AbortBtn"), Qt::LeftButton);
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].contains(QStringLiteral("InputGUID1")))
        << dialogs.shown[0].toStdString();
}

// A click on the category or region already selected refills the list with no row selected, as
// a click on another one does.
TEST_F(ProductPickerWindowTest, ClickingTheSelectedCategoryOrRegionRefillsWithNoRowSelected) {
    picker.request() = {data::kCallerBuildCosts, 0, 1, 0};
    ASSERT_TRUE(picker.load(&opener, context));
    picker.show();
    for (const char* listName : {"CategoryListbox", "RegionView"}) {
        SCOPED_TRACE(listName);
        auto* list = widget<QListWidget>(picker, listName);
        choose(rowNames().value(1));
        ASSERT_FALSE(products()->selectedItems().isEmpty());
        const QRect row = list->visualItemRect(list->currentItem());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        EXPECT_TRUE(products()->selectedItems().isEmpty());
        EXPECT_FALSE(rowNames().isEmpty());
    }
    widget<QPushButton>(picker, "AbortBtn")->click();
}

} // namespace
