// The overview of every edit and the import preview, driven through the main window.
#include "data/BuildingIndex.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"
#include "data/ProductionSettings.h"
#include "mod/ModWriter.h"
#include "support/ScriptedDialogs.h"
#include "support/ShippedData.h"
#include "ui/EditsWindow.h"
#include "ui/ImportPreviewWindow.h"
#include "ui/MainWindow.h"
#include "ui/UiTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kBakery = QStringLiteral("1010402");
const QString kFishery = QStringLiteral("1010278");

// Every picture a blue square.
struct BluePictures final : mod::NamedPictures {
    QImage picture(const QString&, QSize size) const override {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        return image;
    }
};

void setOutputAmount(const QString& dataDir, const QString& guid, const char* amount) {
    data::ProductionSettings s = data::LoadProductionSettings(dataDir, guid);
    s.current.outputAmount = QString::fromLatin1(amount);
    data::ApplyProductionSettings(dataDir, guid, s);
}

// The main window on shipped data whose bakery makes 2 instead of 1.
class EditsWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));
    QString mods = dir.file(QStringLiteral("mods"));
    std::unique_ptr<ui::MainWindow> form;

    void SetUp() override {
        QDir().mkpath(mods);
        setOutputAmount(data, kBakery, "2");
        form = std::make_unique<ui::MainWindow>(mainWindowSetup(data, mods, dir.path()), dialogs);
    }
    // Opens the overview from the main window and runs check on it while it is shown.
    void withOverview(const std::function<void(ui::EditsWindow&)>& check) {
        whenModalShows([&] {
            auto* window = qobject_cast<ui::EditsWindow*>(QApplication::activeModalWidget());
            ASSERT_TRUE(window);
            check(*window);
            if (window->isVisible())
                widget<QPushButton>(*window, "CloseBtn")->click();
        });
        widget<QPushButton>(*form, "EditsBtn")->click();
    }
    // "Aktivieren" on the building.
    void activate(const QString& guid, const char* name) const {
        struct NoPictures final : mod::NamedPictures {
            QImage picture(const QString&, QSize size) const override {
                QImage image(size, QImage::Format_ARGB32);
                image.fill(Qt::blue);
                return image;
            }
        } pictures;
        mod::WriteMod({data, mods, guid, QString::fromUtf8(name), QStringLiteral("1.0.0.0"),
                       QStringLiteral("tester")},
                      pictures);
    }
    static QStringList rows(const QTreeWidget* view) {
        QStringList lines;
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* top = view->topLevelItem(i);
            lines << top->text(0) + u'|' + top->text(3);
            for (int k = 0; k < top->childCount(); ++k)
                lines << QStringLiteral("  ") + top->child(k)->text(0) + u'|' +
                             top->child(k)->text(1) + u'|' + top->child(k)->text(2);
        }
        return lines;
    }
};

TEST_F(EditsWindowTest, ListsEveryChangedFieldWithTheStateOfItsMod) {
    withOverview([&](ui::EditsWindow& w) {
        EXPECT_EQ(rows(widget<QTreeWidget>(w, "EditsView")),
                  QStringList({"Baeckerei (1010402)|nicht aktiv", "  Ausgabemenge|1|2"}));
        EXPECT_EQ(widget<QLabel>(w, "CountLabel")->accessibleName(),
                  QStringLiteral("1 geänderte Gebäude, 1 geänderte Felder"));
    });
    // Activated it is current; edited again it is out of date.
    activate(kBakery, "Baeckerei");
    withOverview([&](ui::EditsWindow& w) {
        EXPECT_EQ(rows(widget<QTreeWidget>(w, "EditsView")).first(),
                  QStringLiteral("Baeckerei (1010402)|aktiv, aktuell"));
    });
    setOutputAmount(data, kBakery, "3");
    withOverview([&](ui::EditsWindow& w) {
        EXPECT_EQ(rows(widget<QTreeWidget>(w, "EditsView")),
                  QStringList({"Baeckerei (1010402)|aktiv, veraltet", "  Ausgabemenge|1|3"}));
    });
}

TEST_F(EditsWindowTest, ADoubleClickShowsTheBuildingInTheMainWindow) {
    setOutputAmount(data, kFishery, "2");
    withOverview([&](ui::EditsWindow& w) {
        auto* view = widget<QTreeWidget>(w, "EditsView");
        QTreeWidgetItem* fisheryField = view->topLevelItem(0)->child(0); // index order
        emit view->itemDoubleClicked(fisheryField, 0);
    });
    EXPECT_EQ(form->selection().building, kFishery);
    EXPECT_EQ(widget<QListWidget>(*form, "GroupView")->currentRow(), 0);

    // An active mod without an edit: listed after the edits, shown among the exported buildings;
    // the overview can open on given buildings, as after an import.
    const QString hunter = QStringLiteral("1010314");
    const BluePictures pictures;
    mod::WriteMod({data, mods, hunter, QStringLiteral("Jagdhuette"), QStringLiteral("1.0.0.0"),
                   QStringLiteral("tester")},
                  pictures);
    withOverview([&](ui::EditsWindow& w) {
        auto* view = widget<QTreeWidget>(w, "EditsView");
        EXPECT_EQ(rows(view).last(), QStringLiteral("Jagdhuette (1010314)|aktiv, aktuell"));
        w.showBuildings({hunter});
        ASSERT_EQ(view->selectedItems().size(), 1);
        EXPECT_EQ(view->selectedItems().first()->text(0), QStringLiteral("Jagdhuette (1010314)"));
        emit view->itemDoubleClicked(view->selectedItems().first(), 0);
    });
    EXPECT_EQ(form->selection().building, hunter);
    EXPECT_EQ(widget<QListWidget>(*form, "GroupView")->currentRow(), 1);
}

TEST_F(EditsWindowTest, ExportThenImportWithAConflictDecidedInThePreview) {
    setOutputAmount(data, kFishery, "3");
    const QString file = dir.file(QStringLiteral("edits.json"));
    dialogs.files = {dir.file(QStringLiteral("edits"))}; // the suffix is added
    withOverview([&](ui::EditsWindow& w) { widget<QPushButton>(w, "ExportBtn")->click(); });
    ASSERT_TRUE(QFileInfo::exists(file)) << dialogs.shown.join(u'\n').toStdString();
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("Änderungen exportieren|2 Gebäude wurden nach "
                                                   "„%1“ exportiert.")
                                        .arg(QDir::toNativeSeparators(file)));

    // Another data directory where the game's fishery makes 2 and the bakery was not edited.
    const QString other = copyShippedData(dir.file(QStringLiteral("other")));
    {
        data::XmlDocument original = data::loadDataFile(other, data::kOriginalAssetsFile);
        data::setElementText(data::selectNode(original.root(),
                                              "//Asset[Values/Standard/GUID=\"1010278\"]/Values/"
                                              "FactoryBase/FactoryOutputs/Item/Amount"),
                             "2");
        original.save();
    }
    ScriptedDialogs otherDialogs;
    otherDialogs.files = {file};
    ui::EditsWindow overview({other, mods, QStringLiteral("1.0.0.0")}, otherDialogs);
    QStringList preview;
    whenModalShows([&] {
        auto* window = qobject_cast<ui::ImportPreviewWindow*>(QApplication::activeModalWidget());
        ASSERT_TRUE(window);
        auto* view = widget<QTreeWidget>(*window, "PreviewView");
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            preview << view->topLevelItem(i)->text(0) + u'|' + view->topLevelItem(i)->text(2);
        EXPECT_EQ(widget<QLabel>(*window, "SummaryLabel")->text(),
                  QStringLiteral("1 Feld übernehmen, 1 Konflikt, 0 bereits so, 0 nicht "
                                 "anwendbar."));
        auto* choice = widget<QComboBox>(*window, "ConflictChoice");
        EXPECT_EQ(choice->accessibleName(),
                  QStringLiteral("Entscheidung für Fischerei, Ausgabemenge"));
        QStringList offered;
        for (int i = 0; i < choice->count(); ++i)
            offered << choice->itemText(i);
        EXPECT_EQ(offered, QStringList({"meinen Wert behalten", "Wert aus der Datei übernehmen",
                                        "neuen Spielwert übernehmen"}));
        choice->setCurrentIndex(1); // the file's value
        widget<QPushButton>(*window, "AcceptBtn")->click();
    });
    overview.ImportBtnClick();
    EXPECT_EQ(preview,
              QStringList({"Fischerei (1010278)|Konflikt", "Baeckerei (1010402)|übernehmen"}));
    EXPECT_EQ(data::LoadProductionSettings(other, kFishery).current.outputAmount, "3");
    EXPECT_EQ(data::LoadProductionSettings(other, kBakery).current.outputAmount, "2");
    EXPECT_EQ(otherDialogs.shown.last(),
              QStringLiteral("Änderungen importieren|2 Felder in 2 Gebäuden übernommen.\rKein "
                             "aktiver Mod ist veraltet."));
    EXPECT_EQ(rows(widget<QTreeWidget>(overview, "EditsView")).size(), 4);

    // "Abbrechen" in the preview changes nothing; a damaged file is refused with its name.
    const auto before = snapshot(other);
    otherDialogs.files = {file};
    whenModalShows(
        [&] { widget<QPushButton>(*QApplication::activeModalWidget(), "AbortBtn")->click(); });
    overview.ImportBtnClick();
    writeBytes(dir.file(QStringLiteral("cut.json")), readBytes(file).left(40));
    otherDialogs.files = {dir.file(QStringLiteral("cut.json"))};
    overview.ImportBtnClick();
    EXPECT_TRUE(otherDialogs.shown.last().startsWith(
        QStringLiteral("Änderungen importieren|Die Datei „cut.json“ kann nicht gelesen werden")));
    EXPECT_EQ(snapshot(other), before);
}

// An import that changes a building with an active mod: the summary's last line names that mod,
// and the overview opens on it. The fishery's mod, which the import left alone, stays current and
// unnamed.
TEST_F(EditsWindowTest, AfterAnImportTheOverviewOpensOnTheModsItMadeStale) {
    setOutputAmount(data, kFishery, "2");
    activate(kFishery, "Fischerei");
    activate(kBakery, "Baeckerei");
    const QString file = dir.file(QStringLiteral("upkeep.json"));
    {
        data::EditsFile edits;
        edits.buildings.push_back({kBakery, QStringLiteral("Baeckerei"), {{"upkeep", "60", "75"}}});
        data::EditorFiles files(data);
        writeBytes(file, data::WriteEditsFile(edits, files.catalogue()));
    }
    dialogs.files = {file};
    whenModalShows(
        [&] { widget<QPushButton>(*QApplication::activeModalWidget(), "AcceptBtn")->click(); });
    ui::EditsWindow overview({data, mods, QStringLiteral("1.0.0.0")}, dialogs);
    overview.ImportBtnClick();
    EXPECT_EQ(dialogs.shown.last(),
              QStringLiteral("Änderungen importieren|1 Feld in 1 Gebäude übernommen.\r1 aktiver "
                             "Mod ist nun veraltet: Baeckerei (1010402). Aktivieren Sie das "
                             "Gebäude erneut, damit das Spiel die neuen Werte lädt."));
    auto* view = widget<QTreeWidget>(overview, "EditsView");
    EXPECT_EQ(
        rows(view).filter(QStringLiteral("(")),
        QStringList({"Fischerei (1010278)|aktiv, aktuell", "Baeckerei (1010402)|aktiv, veraltet"}));
    QStringList selected;
    for (const QTreeWidgetItem* item : view->selectedItems())
        selected << item->text(0);
    EXPECT_EQ(selected, QStringList({"Baeckerei (1010402)"}));
    ASSERT_TRUE(view->currentItem());
    EXPECT_EQ(view->currentItem()->text(0), QStringLiteral("Baeckerei (1010402)"));
}

// New game data without the lobster fishery: its mod is still the program's own. The start
// names it once; the overview lists it as "verwaist" and "Mod entfernen" removes it.
TEST_F(EditsWindowTest, AnOrphanedModIsNamedAtTheStartAndRemovedFromTheOverview) {
    {
        data::XmlDocument index = data::loadDataFile(data, data::kBuildingIndexFile);
        index.root().remove_child(
            index.root().find_child_by_attribute("Building", "GUID", "118729"));
        index.save();
    }
    const QString orphan = mods + QStringLiteral("/[Cindral] (118729) Hummerfischerei");
    writeBytes(orphan + QStringLiteral("/modinfo.json"), "{}");
    form = std::make_unique<ui::MainWindow>(mainWindowSetup(data, mods, dir.path()), dialogs);
    form->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1) << dialogs.shown.join(u'\n').toStdString();
    EXPECT_TRUE(dialogs.shown.first().startsWith(QStringLiteral("Mod-Ordner|Im Mod-Ordner des "
                                                                "Spiels liegen Mods dieses "
                                                                "Programms, deren Gebäude")));
    EXPECT_TRUE(
        dialogs.shown.first().endsWith(QStringLiteral("\r[Cindral] (118729) Hummerfischerei")));

    withOverview([&](ui::EditsWindow& w) {
        auto* view = widget<QTreeWidget>(w, "EditsView");
        EXPECT_EQ(rows(view), QStringList({"Baeckerei (1010402)|nicht aktiv", "  Ausgabemenge|1|2",
                                           "Hummerfischerei (118729)|verwaist"}));
        EXPECT_EQ(widget<QLabel>(w, "CountLabel")->text(),
                  QStringLiteral("1 geänderte Gebäude, 1 geänderte Felder. Verwaiste Mods (ihr "
                                 "Gebäude fehlt in den Daten): 1"));
        widget<QPushButton>(w, "RemoveModBtn")->click(); // nothing chosen
        view->topLevelItem(1)->setSelected(true);
        widget<QPushButton>(w, "RemoveModBtn")->click();
        EXPECT_EQ(rows(view),
                  QStringList({"Baeckerei (1010402)|nicht aktiv", "  Ausgabemenge|1|2"}));
    });
    EXPECT_FALSE(QFileInfo::exists(orphan));
    EXPECT_EQ(dialogs.shown.mid(1),
              QStringList({"Mod entfernen|Bitte wählen Sie genau ein Gebäude, dessen Mod entfernt "
                           "werden soll.",
                           "Mod entfernen|Der Mod „(118729) Hummerfischerei“ wurde entfernt."}));
}

TEST_F(EditsWindowTest, TheReportIsASpreadsheetWithGermanHeadings) {
    dialogs.files = {dir.file(QStringLiteral("bericht.csv"))};
    withOverview([&](ui::EditsWindow& w) { widget<QPushButton>(w, "ReportBtn")->click(); });
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("bericht.csv"))),
              QByteArray("\xEF\xBB\xBFGeb\xC3\xA4ude;GUID;Feld;Spielwert;aktueller Wert;Mod\r\n"
                         "Baeckerei;1010402;Ausgabemenge;1;2;nicht aktiv\r\n"));
}

} // namespace
