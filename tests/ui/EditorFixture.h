#pragma once
// Support for the tests of the cost and additional-products editors: a copy of the shipped data
// with its help table loaded, the picker, the selection of a building as the main window sets
// it, and a choice made in the picker while it runs modally.
#include "data/BuildingIndex.h"
#include "data/HelpTable.h"
#include "support/ScriptedDialogs.h"
#include "support/ShippedData.h"
#include "ui/EditorWindow.h"
#include "ui/ProductPickerWindow.h"
#include "ui/UiTestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace velmora::test {

class EditorFixture : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));
    ui::ProductPickerWindow picker{dialogs};

    EditorFixture() { data::LoadHelpTable(data::dataFilePath(data, QStringLiteral("Help.xml"))); }

    QString file(const QString& name) const { return data::dataFilePath(data, name); }

    // The context the main window hands an editor for the building.
    ui::EditorContext contextFor(const QString& guid, int listIndex = 0) const {
        const std::optional<data::BuildingEntry> entry = data::FindBuilding(data, guid);
        if (!entry)
            throw std::runtime_error("no building " + guid.toStdString());
        data::SelectionValues selection;
        selection.building = guid;
        selection.buildingName = entry->local;
        selection.buildingIcon = entry->icon;
        selection.buildingRegionImage = entry->region;
        selection.listIndex = listIndex;
        return {data, selection, {}};
    }

    // Once the picker runs: chooses the row with the GUID in the category (of "Alte Welt") and
    // presses "Annehmen"; "0" is the removal row.
    void pickWhenShown(const QString& category, const QString& guid) {
        whenModalShows([this, category, guid] {
            auto* categories = widget<QListWidget>(picker, "CategoryListbox");
            const QList<QListWidgetItem*> found = categories->findItems(category, Qt::MatchExactly);
            if (!found.isEmpty())
                categories->setCurrentItem(found.first());
            auto* products = widget<QTreeWidget>(picker, "ProductView");
            for (int i = 0; i < products->topLevelItemCount(); ++i)
                if (products->topLevelItem(i)->text(0) == guid)
                    products->setCurrentItem(products->topLevelItem(i));
            widget<QPushButton>(picker, "AcceptBtn")->click();
            if (picker.isVisible()) { // the GUID was not offered: leave the picker anyway
                ADD_FAILURE() << "the picker offers no " << guid.toStdString();
                widget<QPushButton>(picker, "AbortBtn")->click();
            }
        });
    }
};

// The controls a user operates that carry no accessible name (a button's caption is its name).
inline QStringList controlsWithoutAccessibleName(const QWidget& window) {
    QStringList missing;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        const bool operated =
            (button && button->text().isEmpty()) || qobject_cast<const QAbstractSpinBox*>(w);
        if (operated && w->accessibleName().isEmpty())
            missing << w->objectName();
    }
    return missing;
}

} // namespace velmora::test
