#include "data/BuildingIndex.h"
#include "data/HelpTable.h"
#include "mod/ModFolder.h"
#include "support/DataDirBuilder.h"
#include "support/ScriptedDialogs.h"
#include "support/ShippedData.h"
#include "ui/EditorWindows.h"
#include "ui/ImageCollection.h"
#include "ui/MainWindow.h"
#include "ui/MessageWindow.h"
#include "ui/UiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora;
using namespace velmora::test;

namespace {

BuildingRow building(const char* guid, const QString& name, const char* region = "1",
                     const char* group = "Farmen", const char* changed = "false",
                     const char* exported = "false") {
    return {QString::fromLatin1(guid),    name,
            QString::fromLatin1(region),  QString::fromUtf8(group),
            QString::fromLatin1(changed), QString::fromLatin1(exported)};
}

// Farms of the first region in file order, named to show the sort rules, plus buildings of
// other regions and groups.
std::vector<BuildingRow> standardRows() {
    return {
        building("1010278", QStringLiteral("Zuckerrohrplantage")),
        building("1010279", QStringLiteral("Ölmühle")),
        building("1010280", QStringLiteral("apfelplantage")),
        building("1010281", QStringLiteral("Baumwollplantage")),
        building("1010282", QStringLiteral("Kartoffelhof")),
        building("1010290", QStringLiteral("Baeckerei"), "1", "Produktion"),
        building("1010300", QStringLiteral("Kaffeeplantage"), "2"),
        building("1010310", QStringLiteral("Erzmine"), "1", "no Group"),
    };
}

std::vector<BuildingRow> manyFarms(int count, const char* changed = "false") {
    std::vector<BuildingRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(building(QByteArray::number(3000 + i).constData(),
                                QStringLiteral("Farm %1").arg(i, 2, 10, QLatin1Char('0')), "1",
                                "Farmen", changed));
    return rows;
}

class MainWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    QString data = dir.file(QStringLiteral("XMLP"));
    QString mods = dir.file(QStringLiteral("mods")) + QStringLiteral("/");
    std::unique_ptr<ui::MainWindow> form;
    std::unique_ptr<ui::MessageWindow> message;

    void open(const std::vector<BuildingRow>& rows) {
        QDir().mkpath(data);
        QDir().mkpath(mods);
        writeDataDir(data, rows);
        // An exported building's mod is in the mods directory: the list's refill brings every
        // flag in line with the folders.
        for (const BuildingRow& row : rows)
            if (row.isExported == QStringLiteral("true"))
                QDir().mkpath(mod::ActiveModFolder(mods, row.guid, row.local));
        form = std::make_unique<ui::MainWindow>(mainWindowSetup(data, mods, dir.path()), dialogs);
        message = std::make_unique<ui::MessageWindow>();
        form->setMessageWindow(message.get());
    }

    template <class T> T* get(const char* name) const { return widget<T>(*form, name); }
    QTreeWidget* list() const { return get<QTreeWidget>("BuildingsView"); }

    QStringList names() const {
        QStringList result;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            result << list()->topLevelItem(i)->text(1);
        return result;
    }
    int selectedRow() const {
        const auto items = list()->selectedItems();
        return items.isEmpty() ? -1 : list()->indexOfTopLevelItem(items.first());
    }
    void click(const char* listName, int row) {
        QListWidget* view = get<QListWidget>(listName);
        view->setCurrentRow(row); // a click selects the row, which runs the list's reaction
    }
    // Enabled state of Produktion, Baukosten, Aktivieren, Deaktivieren, Reset.
    std::vector<bool> actionButtons() const {
        std::vector<bool> states;
        for (const char* name :
             {"BasicFormBtn", "CostBtn", "ActivateBtn", "DeactivateBtn", "ResetBtn"})
            states.push_back(get<QPushButton>(name)->isEnabled());
        return states;
    }
};

TEST_F(MainWindowTest, WindowHasEveryControlWithItsCaption) {
    open(standardRows());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmora Cindral"));
    EXPECT_EQ(form->size(), QSize(888, 863));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    const std::pair<const char*, QString> captions[] = {
        {"BasicFormBtn", QStringLiteral("Produktion")},
        {"CostBtn", QStringLiteral("Baukosten")},
        {"ActivateBtn", QStringLiteral("Aktivieren")},
        {"DeactivateBtn", QStringLiteral("Deaktivieren")},
        {"ResetBtn", QStringLiteral("Reset")},
        {"CloseBtn", QStringLiteral("Beenden")},
        {"ActivateAllBtn", QStringLiteral("Alle aktivieren")},
        {"DeactivateAllBtn", QStringLiteral("Alle deaktivieren")},
        {"CreateBuildingsBtn", QStringLiteral("CreateBuildings")},
        {"CreateProductsBtn", QStringLiteral("CreateProducts")},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(get<QPushButton>(name)->text(), caption) << name;
    const std::pair<const char*, QString> labels[] = {
        {"RegionLabel", QStringLiteral("Region")},
        {"GroupLabel", QStringLiteral("Gebäudegruppe")},
        {"NoBuildingsAvailableLabel",
         QStringLiteral("Für diese Auswahl existieren keine Einträge")},
        {"Version", QStringLiteral("1.0.0.0")},
    };
    for (const auto& [name, text] : labels)
        EXPECT_EQ(get<QLabel>(name)->text(), text) << name;
    for (const char* name :
         {"Background", "BuildingIconImage", "BuildingNameLabel", "BuildingGUIDLabel",
          "BuildingRegionImage", "InfoLabel", "InfoText", "Image1", "HelpJsonImage"})
        EXPECT_NO_THROW(get<QLabel>(name)) << name;
    for (const char* name : {"Shape1", "Shape3", "Shape4", "NoBuildingAvailablePanel"})
        EXPECT_NO_THROW(get<QWidget>(name)) << name;

    // The developer's controls lie outside the client area.
    for (const char* name : {"CreateBuildingsBtn", "CreateProductsBtn", "HelpJsonImage"})
        EXPECT_FALSE(form->rect().intersects(get<QWidget>(name)->geometry())) << name;
    // The hover areas lie under the mod buttons; Shape4 reaches further right.
    EXPECT_EQ(get<QWidget>("ActivateBtn")->parentWidget(), get<QWidget>("Shape3"));
    EXPECT_EQ(get<QWidget>("DeactivateBtn")->parentWidget(), get<QWidget>("Shape4"));
    EXPECT_GT(get<QWidget>("Shape4")->width(), get<QWidget>("DeactivateBtn")->width());

    QStringList regions;
    for (int i = 0; i < 4; ++i)
        regions << get<QListWidget>("RegionView")->item(i)->text();
    EXPECT_EQ(regions, (QStringList{QStringLiteral("Alte Welt"), QStringLiteral("Neue Welt"),
                                    QStringLiteral("Arktis"), QStringLiteral("Land der Löwen")}));
    QStringList groups;
    for (int i = 0; i < get<QListWidget>("GroupView")->count(); ++i)
        groups << get<QListWidget>("GroupView")->item(i)->text();
    EXPECT_EQ(groups, data::ReadGroupNames(data));
    EXPECT_EQ(form->font().family(), QStringLiteral("Heuristica"));
    EXPECT_EQ(form->font().pointSize(), 10);
    EXPECT_EQ(form->palette().color(QPalette::WindowText), QColor(65, 55, 40));
}

TEST_F(MainWindowTest, StartShowsTheFarmsOfTheFirstRegionInNameOrder) {
    open(standardRows());
    EXPECT_EQ(get<QListWidget>("RegionView")->selectedItems().value(0)->text(),
              QStringLiteral("Alte Welt"));
    EXPECT_EQ(get<QListWidget>("GroupView")->selectedItems().value(0)->text(),
              QStringLiteral("Farmen"));
    // Lower case sorts where its capital would; an umlaut after Z.
    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("apfelplantage"), QStringLiteral("Baumwollplantage"),
                           QStringLiteral("Kartoffelhof"), QStringLiteral("Zuckerrohrplantage"),
                           QStringLiteral("Ölmühle")}));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(get<QLabel>("BuildingsViewCountedLabel")->text(),
              QStringLiteral("5 Gebäude gefunden"));
    EXPECT_EQ(actionButtons(), (std::vector<bool>{true, true, false, false, true}));
    EXPECT_TRUE(list()->isVisibleTo(form.get()));

    EXPECT_EQ(get<QLabel>("BuildingNameLabel")->text(), QStringLiteral("apfelplantage"));
    EXPECT_EQ(get<QLabel>("BuildingGUIDLabel")->text(), QStringLiteral("1010280"));
    const data::SelectionValues& s = form->selection();
    EXPECT_EQ(s.building, QStringLiteral("1010280"));
    EXPECT_EQ(s.buildingName, QStringLiteral("apfelplantage"));
    EXPECT_EQ(s.buildingIcon, QStringLiteral("icon_fish"));
    EXPECT_EQ(s.buildingRegionImage, QStringLiteral("1"));
    EXPECT_EQ(s.listIndex, 0);
    EXPECT_EQ(s.buildingCount, 5);
    // The row caption is the GUID, the first sub-item the name, then both flags.
    const QTreeWidgetItem* first = list()->topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("1010280"));
    EXPECT_EQ(first->text(2), QStringLiteral("false"));
    EXPECT_EQ(first->text(3), QStringLiteral("false"));
}

TEST_F(MainWindowTest, StartWithTheShippedData) {
    const QString shipped = sourcePath(QStringLiteral("resources/data/XMLP"));
    if (!QFileInfo::exists(shipped + QStringLiteral("/BuildingsShort.xml")))
        GTEST_SKIP() << "resources/data/XMLP ist noch nicht erzeugt";
    form = std::make_unique<ui::MainWindow>(mainWindowSetup(shipped, mods, dir.path()), dialogs);
    // The complete data set lists 15 farms in the first region; a smaller one what it holds.
    const bool complete =
        readBytes(shipped + QStringLiteral("/BuildingsShort.xml")).count("<Building ") == 208;
    const int farms =
        complete ? 15 : int(data::ListBuildings(shipped, 0, 2, QStringLiteral("Farmen")).size());
    ASSERT_GT(farms, 0);
    EXPECT_EQ(get<QListWidget>("GroupView")->selectedItems().value(0)->text(),
              QStringLiteral("Farmen"));
    EXPECT_EQ(list()->topLevelItemCount(), farms);
    EXPECT_EQ(get<QLabel>("BuildingsViewCountedLabel")->text(),
              QString::number(farms) + QStringLiteral(" Gebäude gefunden"));
    const QStringList shown = names();
    for (int i = 1; i < shown.size(); ++i)
        EXPECT_LE(data::CompareBuildingNames(shown[i - 1], shown[i]), 0)
            << shown[i - 1].toStdString();
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(actionButtons(), (std::vector<bool>{true, true, false, false, true}));
    EXPECT_FALSE(get<QLabel>("BuildingRegionImage")->pixmap().isNull());
    // Every building of the complete data set has its picture.
    if (complete) {
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            EXPECT_FALSE(list()->topLevelItem(i)->icon(0).isNull()) << shown[i].toStdString();
    }
}

// The editors are built when they are first opened, once for the run.
TEST_F(MainWindowTest, EditorsAreBuiltWhenFirstOpened) {
    const auto windowsNamed = [](const char* name) {
        int n = 0;
        for (const QWidget* w : QApplication::topLevelWidgets())
            n += w->objectName() == QLatin1String(name) ? 1 : 0;
        return n;
    };
    const QString shipped = copyShippedData(dir.file(QStringLiteral("shipped")));
    QDir().mkpath(mods);
    form = std::make_unique<ui::MainWindow>(mainWindowSetup(shipped, mods, dir.path()), dialogs);
    const int before = windowsNamed("BasicForm");
    ui::EditorWindows editors(dialogs);
    form->setEditorWindows(&editors);
    EXPECT_EQ(windowsNamed("BasicForm"), before);
    EXPECT_EQ(windowsNamed("CostForm"), 0);
    for (int round = 0; round < 2; ++round) {
        QWidget* opened = nullptr;
        whenModalShows([&] {
            opened = QApplication::activeModalWidget();
            widget<QPushButton>(*opened, "AbortBtn")->click();
        });
        get<QPushButton>("BasicFormBtn")->click();
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->objectName(), QStringLiteral("BasicForm"));
        EXPECT_EQ(windowsNamed("BasicForm"), before + 1) << round;
    }
    EXPECT_EQ(windowsNamed("CostForm"), 0);
}

TEST_F(MainWindowTest, UnknownIconLeavesThePicturesEmpty) {
    BuildingRow row = building("1", QStringLiteral("Farm"));
    row.icon = QStringLiteral("icon_that_does_not_exist");
    open({row});
    EXPECT_TRUE(list()->topLevelItem(0)->icon(0).isNull());
    EXPECT_TRUE(get<QLabel>("BuildingIconImage")->pixmap().isNull());
    EXPECT_EQ(get<QLabel>("BuildingNameLabel")->text(), QStringLiteral("Farm"));
}

TEST_F(MainWindowTest, ModButtonsFollowTheFlagsOfTheSelectedBuilding) {
    struct Case {
        const char* changed;
        const char* exported;
        bool activate, deactivate;
    };
    const Case cases[] = {
        {"false", "false", false, false},
        {"true", "false", true, false},
        {"true", "true", true, true},
        {"false", "true", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.changed) + "/" + c.exported);
        open({building("1", QStringLiteral("Farm"), "1", "Farmen", c.changed, c.exported)});
        EXPECT_EQ(actionButtons(), (std::vector<bool>{true, true, c.activate, c.deactivate, true}));
    }
}

TEST_F(MainWindowTest, EmptySelectionHidesTheListAndKeepsTheSelectionValues) {
    open(standardRows());
    click("GroupView", 0); // no building is changed
    EXPECT_FALSE(list()->isVisibleTo(form.get()));
    EXPECT_TRUE(get<QWidget>("NoBuildingAvailablePanel")->isVisibleTo(form.get()));
    EXPECT_EQ(actionButtons(), (std::vector<bool>(5, false)));
    EXPECT_EQ(get<QLabel>("BuildingsViewCountedLabel")->text(),
              QStringLiteral("0 Gebäude gefunden"));
    EXPECT_TRUE(get<QLabel>("BuildingNameLabel")->text().isEmpty());
    EXPECT_TRUE(get<QLabel>("BuildingGUIDLabel")->text().isEmpty());
    const QImage none = ui::ImageCollection::instance()
                            .picture(QStringLiteral("NoMainFormIcon"), {128, 128})
                            .toImage();
    EXPECT_EQ(get<QLabel>("BuildingIconImage")->pixmap().toImage(), none);
    EXPECT_EQ(get<QLabel>("BuildingRegionImage")->pixmap().toImage(), none);
    EXPECT_EQ(form->selection().building, QStringLiteral("1010280"));
    EXPECT_EQ(form->selection().buildingName, QStringLiteral("apfelplantage"));
    EXPECT_EQ(form->selection().buildingCount, 0);

    click("GroupView", 2); // back to a group with buildings
    EXPECT_TRUE(list()->isVisibleTo(form.get()));
    EXPECT_EQ(actionButtons(), (std::vector<bool>{true, true, false, false, true}));
}

TEST_F(MainWindowTest, PseudoGroupsListFlaggedBuildingsOfEveryRegion) {
    open({building("1", QStringLiteral("Alpha"), "3", "Farmen", "true", "false"),
          building("2", QStringLiteral("Beta"), "1", "Produktion", "true", "true"),
          building("3", QStringLiteral("Gamma"), "2", "Farmen", "false", "true"),
          building("4", QStringLiteral("Delta"), "1", "Farmen")});
    struct Case {
        int group;
        QStringList expected;
    };
    const Case cases[] = {
        {0, {QStringLiteral("Alpha"), QStringLiteral("Beta")}},
        {1, {QStringLiteral("Beta"), QStringLiteral("Gamma")}},
        {2, {QStringLiteral("Delta")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        click("GroupView", c.group);
        EXPECT_EQ(names(), c.expected);
        // Switching the region changes nothing under a pseudo-group.
        for (int region : {3, 1, 0}) {
            click("RegionView", region);
            if (c.group < 2) {
                EXPECT_EQ(names(), c.expected) << "region " << region;
            }
        }
    }
}

TEST_F(MainWindowTest, WithoutRegionOrGroupSelected) {
    open({building("1", QStringLiteral("Alpha"), "1", "Farmen", "true")});
    // No region: a real group finds nothing, the pseudo-groups still list their buildings.
    get<QListWidget>("RegionView")->clearSelection();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(form->selection().buildingCount, 0);
    click("GroupView", 0);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Alpha")});

    // No group: region clicks change nothing.
    click("RegionView", 0);
    click("GroupView", 2);
    get<QListWidget>("GroupView")->clearSelection();
    click("RegionView", 1);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Alpha")});
    EXPECT_EQ(form->selection().buildingCount, 1);
}

TEST_F(MainWindowTest, RefreshKeepsTheRememberedRowWhileItExists) {
    struct Case {
        const char* what;
        int rowsAfter;
        int group;
        int expected;
    };
    const Case cases[] = {
        {"row still there", 8, 2, 5},
        {"list got shorter", 5, 2, 0},
        {"changed buildings start at the top", 8, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(manyFarms(8, "true"));
        click("GroupView", c.group);
        list()->setCurrentItem(list()->topLevelItem(5)); // the user picks row 5
        EXPECT_EQ(form->selection().listIndex, 5);
        writeBuildingIndex(data, manyFarms(c.rowsAfter, "true")); // an editor saved
        form->FillBuildingList();
        EXPECT_EQ(selectedRow(), c.expected);
        EXPECT_EQ(form->selection().listIndex, c.expected);
        EXPECT_EQ(form->selection().building, list()->topLevelItem(c.expected)->text(0));
    }
}

TEST_F(MainWindowTest, SeventeenRowsLeaveNoRoomForThePlaceholderColumn) {
    struct Case {
        int rows;
        bool placeholder;
    };
    for (const Case c : {Case{16, true}, Case{17, false}, Case{3, true}}) {
        SCOPED_TRACE(c.rows);
        open(manyFarms(c.rows));
        form->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(list()->header()->sectionSize(list()->columnCount() - 1) > 0, c.placeholder);
        // The list is made for sixteen rows: a seventeenth needs the scroll bar.
        EXPECT_EQ(list()->verticalScrollBar()->isVisible(), !c.placeholder);
        form->hide();
    }
}

TEST_F(MainWindowTest, ScrollToSelectionMovesTheRowTowardsTheMiddle) {
    open(manyFarms(40));
    form->show();
    QCoreApplication::processEvents();
    QScrollBar* bar = list()->verticalScrollBar();
    const int rowHeight = list()->visualItemRect(list()->topLevelItem(1)).top() -
                          list()->visualItemRect(list()->topLevelItem(0)).top();
    const int visible = list()->viewport()->height() / rowHeight;
    list()->scrollToTop();
    {
        const QSignalBlocker quiet(list());
        list()->topLevelItem(25)->setSelected(true);
        list()->topLevelItem(0)->setSelected(false);
    }
    bar->setValue(0);
    ui::ScrollToSelection(list());
    EXPECT_EQ(bar->value(),
              std::min(bar->maximum(), rowHeight * (25 - 0 - (visible + 1) / 2) + 60));

    // The refresh after an editor saved keeps the row and brings it into view.
    form->RefreshAfterChange(30, true);
    EXPECT_EQ(selectedRow(), 30);
    EXPECT_EQ(form->selection().building, list()->topLevelItem(30)->text(0));
    EXPECT_TRUE(
        list()->viewport()->rect().contains(list()->visualItemRect(list()->topLevelItem(30))));

    open(manyFarms(10)); // every row visible: nothing moves
    form->show();
    QCoreApplication::processEvents();
    list()->setCurrentItem(list()->topLevelItem(9));
    bar = list()->verticalScrollBar();
    ASSERT_EQ(bar->maximum(), 0);
    bar->setRange(0, 1000); // widened by hand, so that a scroll would show
    ui::ScrollToSelection(list());
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(MainWindowTest, RefreshSelectsTheRememberedRowOrRowZeroAndShowsIt) {
    struct Case {
        const char* what;
        int group;      // the group selected while an editor saved
        int userRow;    // the row the user had selected
        int rowsAfter;  // rows of the list after the save
        int remembered; // the row the editor remembered
        int expected;   // the row selected and shown after the refresh
    };
    const Case cases[] = {
        {"remembered row still there", 2, 3, 8, 5, 5},
        {"remembered row gone", 2, 3, 5, 7, 0},
        {"no row remembered", 2, 3, 8, -1, 0},
        {"changed buildings start at the top", 0, 3, 8, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(manyFarms(8, "true"));
        click("GroupView", c.group);
        list()->setCurrentItem(list()->topLevelItem(c.userRow));
        writeBuildingIndex(data, manyFarms(c.rowsAfter, "true")); // an editor saved
        form->RefreshAfterChange(c.remembered, true);
        ASSERT_EQ(selectedRow(), c.expected);
        const QString guid = list()->topLevelItem(c.expected)->text(0);
        EXPECT_EQ(form->selection().listIndex, c.expected);
        EXPECT_EQ(form->selection().building, guid);
        EXPECT_EQ(get<QLabel>("BuildingGUIDLabel")->text(), guid); // BuildingsViewClick ran
    }
}

// A click on the region or group already selected runs its reaction all the same: the list
// starts again at row 0. The keyboard still changes the group.
TEST_F(MainWindowTest, ClickOnTheSelectedRegionOrGroupStartsTheListAgain) {
    open(standardRows());
    form->show();
    QCoreApplication::processEvents();
    for (const char* name : {"GroupView", "RegionView"}) {
        SCOPED_TRACE(name);
        list()->setCurrentItem(list()->topLevelItem(3));
        ASSERT_EQ(form->selection().listIndex, 3);
        QListWidget* view = get<QListWidget>(name);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualItemRect(view->currentItem()).center());
        EXPECT_EQ(selectedRow(), 0);
        EXPECT_EQ(form->selection().listIndex, 0);
    }

    QListWidget* groups = get<QListWidget>("GroupView");
    groups->setFocus();
    QTest::keyClick(groups, Qt::Key_Down); // Farmen to Produktion
    EXPECT_EQ(groups->currentRow(), 3);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Baeckerei")});
}

// Over a disabled "Produktion", "Baukosten" or "Reset" what lies beneath answers: there the
// Background, whose entry 10 looks empty.
TEST_F(MainWindowTest, DisabledButtonsLetTheBackgroundAnswer) {
    open(standardRows());
    form->show();
    QCoreApplication::processEvents();
    click("GroupView", 0); // no changed building: every action is disabled
    ASSERT_EQ(actionButtons(), std::vector<bool>(5, false));
    for (const char* name : {"BasicFormBtn", "CostBtn", "ResetBtn"}) {
        SCOPED_TRACE(name);
        QWidget* region = get<QWidget>("RegionView");
        QTest::mouseMove(region, region->rect().center());
        QCoreApplication::processEvents();
        ASSERT_EQ(get<QLabel>("InfoLabel")->text(), QStringLiteral("Region"));
        QWidget* button = get<QWidget>(name);
        QTest::mouseMove(button, button->rect().center());
        QCoreApplication::processEvents();
        EXPECT_EQ(get<QLabel>("InfoLabel")->text(), data::GetHelpLabel(QStringLiteral("10")));
        EXPECT_EQ(
            get<QLabel>("InfoText")->text(),
            data::GetHelpText(QStringLiteral("10")).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
}

TEST_F(MainWindowTest, MouseOverAControlShowsItsHelp) {
    open(standardRows());
    form->show();
    QCoreApplication::processEvents();
    QLabel* label = get<QLabel>("InfoLabel");
    QLabel* text = get<QLabel>("InfoText");
    const auto shows = [&](const char* id) {
        EXPECT_EQ(label->text(), data::GetHelpLabel(QString::fromLatin1(id)));
        EXPECT_EQ(text->text(), data::GetHelpText(QString::fromLatin1(id))
                                    .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    };
    shows("0"); // on show

    // The mod buttons are disabled: their hover areas answer.
    ASSERT_FALSE(get<QWidget>("ActivateBtn")->isEnabled());
    const std::pair<const char*, const char*> cases[] = {
        {"RegionView", "11"},    {"GroupView", "12"},      {"BuildingsView", "13"},
        {"BasicFormBtn", "14"},  {"CostBtn", "15"},        {"ActivateBtn", "16"},
        {"DeactivateBtn", "17"}, {"ResetBtn", "18"},       {"Image1", "0"},
        {"Shape4", "17"},        {"ActivateAllBtn", "26"}, {"DeactivateAllBtn", "27"},
        {"Background", "10"},
    };
    for (const auto& [name, id] : cases) {
        SCOPED_TRACE(name);
        QWidget* control = get<QWidget>(name);
        // Shape4 reaches beyond its button: aim there.
        const QPoint inside = QString::fromLatin1(name) == QStringLiteral("Shape4")
                                  ? QPoint(control->width() - 4, control->height() / 2)
                                  : QPoint(control->width() / 2, control->height() / 2);
        const QPoint point =
            QString::fromLatin1(name) == QStringLiteral("Background") ? QPoint(260, 5) : inside;
        QTest::mouseMove(control, point);
        QCoreApplication::processEvents();
        shows(id);
    }
    EXPECT_EQ(label->text(), QStringLiteral(" ")); // entry 10 looks empty

    // A control without an entry leaves the panel as it is.
    QTest::mouseMove(get<QWidget>("ResetBtn"), {5, 5});
    QTest::mouseMove(get<QWidget>("CloseBtn"), {5, 5});
    QCoreApplication::processEvents();
    shows("18");
}

struct ResetCase {
    const char* what;
    int group;
    bool confirm;
};

TEST_F(MainWindowTest, ResetAsksAndReturnsTheBuildingToTheGameValues) {
    const std::vector<BuildingRow> rows = {
        building("1010294", QStringLiteral("Arsenal  Polizeiausruestung"), "1", "Farmen", "true",
                 "true"),
        building("1010295", QStringLiteral("Zucker"), "1", "Farmen", "true", "false"),
    };
    const ResetCase cases[] = {
        {"confirmed in the group", 2, true},
        {"cancelled", 2, false},
        {"confirmed among the changed buildings", 0, true},
    };
    for (const ResetCase& c : cases) {
        SCOPED_TRACE(c.what);
        open(rows);
        writeAssetLists(data, rows, QStringLiteral("99"));
        writeBuffTable(data, rows.size(), QStringLiteral("7"));
        // A changed and exported building with both of its mod folders.
        const QString active = mod::ActiveModFolder(mods, rows[0].guid, rows[0].local);
        const QString hyphenated = mod::HyphenatedModFolder(mods, rows[0].guid, rows[0].local);
        writeBytes(active + QStringLiteral("/assets.xml"), "x");
        writeBytes(hyphenated + QStringLiteral("/data/icon.png"), "x");
        click("GroupView", c.group);
        ASSERT_EQ(list()->topLevelItem(0)->text(0), rows[0].guid);
        const QByteArray indexBefore = readBytes(data + QStringLiteral("/BuildingsShort.xml"));

        QString asked, header;
        bool okFocused = false;
        whenModalShows([&] {
            header = widget<QLabel>(*message, "HeaderLabel")->text();
            asked = widget<QLabel>(*message, "MsgBoxLabel")->text();
            okFocused = message->focusWidget() == widget<QPushButton>(*message, "OKBtn");
            widget<QPushButton>(*message, c.confirm ? "OKBtn" : "AbortBtn")->click();
        });
        get<QPushButton>("ResetBtn")->click();

        EXPECT_EQ(header, QStringLiteral("Gebäude zurücksetzen"));
        EXPECT_EQ(asked, QStringLiteral("Arsenal  Polizeiausruestung\n\nDieses Gebäude auf die "
                                        "Standardwerte zurücksetzen?\n"));
        EXPECT_TRUE(okFocused);
        if (!c.confirm) {
            EXPECT_EQ(readBytes(data + QStringLiteral("/BuildingsShort.xml")), indexBefore);
            EXPECT_TRUE(QFileInfo::exists(active));
            continue;
        }
        const auto entry = data::FindBuilding(data, rows[0].guid);
        EXPECT_EQ(entry->isChanged, QStringLiteral("false"));
        EXPECT_EQ(entry->isExported, QStringLiteral("false"));
        EXPECT_FALSE(QFileInfo::exists(active));
        EXPECT_FALSE(QFileInfo::exists(hyphenated));
        EXPECT_EQ(readBytes(data + QStringLiteral("/Buildings.xml")).count("<Amount>99</Amount>"),
                  1); // the other one
        EXPECT_TRUE(readBytes(data + QStringLiteral("/BuffsShort.xml"))
                        .contains("GUID=\"2000502800\" P0=\"0\" A0=\"1\" Z0=\"1\""));
        if (c.group == 0) {
            // The building leaves the list of changed buildings; the other one is selected.
            EXPECT_EQ(names(), QStringList{QStringLiteral("Zucker")});
            EXPECT_EQ(form->selection().building, rows[1].guid);
        } else {
            EXPECT_EQ(list()->topLevelItem(0)->text(2), QStringLiteral("false"));
            EXPECT_EQ(list()->topLevelItem(0)->text(3), QStringLiteral("false"));
            EXPECT_EQ(selectedRow(), 0);
            EXPECT_FALSE(get<QPushButton>("ActivateBtn")->isEnabled());
            EXPECT_FALSE(get<QPushButton>("DeactivateBtn")->isEnabled());
        }
    }
}

TEST_F(MainWindowTest, ResettingTheOnlyChangedBuildingEmptiesThePseudoGroup) {
    open({building("7", QStringLiteral("Farm"), "1", "Farmen", "true")});
    click("GroupView", 0);
    whenModalShows([&] { widget<QPushButton>(*message, "OKBtn")->click(); });
    get<QPushButton>("ResetBtn")->click();
    EXPECT_FALSE(list()->isVisibleTo(form.get()));
    EXPECT_EQ(get<QLabel>("BuildingsViewCountedLabel")->text(),
              QStringLiteral("0 Gebäude gefunden"));
}

} // namespace

// The developer buttons run the pipelines in the program directory; a missing work directory is
// reported in the error box, not a crash.
TEST_F(MainWindowTest, DeveloperButtonsRunTheProductsPipelineOrReportWhatIsMissing) {
    const QString program = dir.file(QStringLiteral("program")) + QStringLiteral("/");
    QDir().mkpath(data);
    QDir().mkpath(mods);
    writeDataDir(data, standardRows());
    form = std::make_unique<ui::MainWindow>(mainWindowSetup(data, mods, program), dialogs);
    QDir().mkpath(program);

    dialogs.shown.clear();
    QTest::mouseClick(get<QPushButton>("CreateProductsBtn"), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown.first().startsWith(QStringLiteral("Fehler|")))
        << dialogs.shown.first().toStdString();
    EXPECT_TRUE(dialogs.shown.first().contains(QStringLiteral("ORG")))
        << dialogs.shown.first().toStdString();

    for (const char* sub : {"ORG", "TMP", "XMLP", "PNG", "WOR", "icons-source"})
        QDir().mkpath(program + QString::fromLatin1(sub));
    const QString org = sourcePath(QStringLiteral("sample-game/ORG"));
    for (const QString& name : QDir(org).entryList(QDir::Files))
        writeBytes(program + QStringLiteral("ORG/") + name,
                   readBytes(org + QLatin1Char('/') + name));
    writeBytes(program + QStringLiteral("ORG/empty.xml"), "<AssetList/>\r\n");
    dialogs.shown.clear();
    QTest::mouseClick(get<QPushButton>("CreateProductsBtn"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(program + QStringLiteral("XMLP/ProductsShort.xml")));
}

namespace {

// The flags follow the mods directory: a mod folder deleted by hand clears the flag, one put
// back sets it; the index is saved and the player told once, after the window is shown.
TEST_F(MainWindowTest, FlagsFollowModFoldersChangedByHandAndThePlayerIsToldOnce) {
    open({building("1", QStringLiteral("Alpha"), "1", "Farmen", "true", "true"),
          building("2", QStringLiteral("Beta"), "1", "Farmen", "true", "false")});
    QDir(mod::ActiveModFolder(mods, QStringLiteral("1"), QStringLiteral("Alpha")))
        .removeRecursively();
    QDir().mkpath(mod::ActiveModFolder(mods, QStringLiteral("2"), QStringLiteral("Beta")));
    dialogs.shown.clear();
    click("GroupView", 1);
    click("GroupView", 2); // refilled with the folders as they now are
    form->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1) << dialogs.shown.join("\n").toStdString();
    EXPECT_TRUE(dialogs.shown.first().startsWith(QStringLiteral("Mod-Ordner|")));
    EXPECT_TRUE(dialogs.shown.first().contains(QStringLiteral("(1) Alpha: sein Mod-Ordner fehlt")));
    EXPECT_TRUE(dialogs.shown.first().contains(QStringLiteral("(2) Beta: sein Mod-Ordner ist da")));
    EXPECT_EQ(data::FindBuilding(data, QStringLiteral("1"))->isExported, QStringLiteral("false"));
    EXPECT_EQ(data::FindBuilding(data, QStringLiteral("2"))->isExported, QStringLiteral("true"));
    list()->setCurrentItem(list()->topLevelItem(0)); // Alpha: "Aktivieren" possible again
    form->BuildingsViewClick();
    EXPECT_EQ(actionButtons(), (std::vector<bool>{true, true, true, false, true}));

    click("GroupView", 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.shown.size(), 1); // nothing new to tell
}

} // namespace
