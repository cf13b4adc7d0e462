#include "data/BuildingIndex.h"
#include "data/ProductionSettings.h"
#include "mod/ModFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "ui/BulkProgressWindow.h"
#include "ui/MainWindow.h"
#include "ui/UiTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// The main window on a copy of the shipped data with the fishery changed, so that "Aktivieren"
// is offered for it, and the fishery selected in the farms of the first region.
class ModButtonsTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    QString data = dir.file(QStringLiteral("XMLP"));
    QString mods = dir.file(QStringLiteral("mods"));
    const QString fishery = QStringLiteral("1010278");
    std::unique_ptr<ui::MainWindow> form;

    void SetUp() override {
        QDir().mkpath(data);
        QDir().mkpath(mods);
        const QDir shipped(sourcePath(QStringLiteral("resources/data/XMLP")));
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), data + QLatin1Char('/') + name);
        data::SetBuildingFlag(data, fishery, data::kBuildingIsChanged, true);
        ui::MainWindowSetup setup = mainWindowSetup(data, mods, dir.path());
        setup.userName = QStringLiteral("tester");
        form = std::make_unique<ui::MainWindow>(setup, dialogs);
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            if (list()->topLevelItem(i)->text(0) == fishery)
                list()->setCurrentItem(list()->topLevelItem(i)); // runs BuildingsViewClick
        ASSERT_EQ(form->selection().building, fishery);
        row = form->selection().listIndex;
    }

    template <class T> T* get(const char* name) const { return widget<T>(*form, name); }
    QTreeWidget* list() const { return get<QTreeWidget>("BuildingsView"); }
    QString folder() const {
        return mod::ActiveModFolder(mods, fishery, QStringLiteral("Fischerei"));
    }
    int row = -1;

    // The selected row, its exported cell and the two mod buttons.
    void expectShown(const char* exported) const {
        const auto selected = list()->selectedItems();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(list()->indexOfTopLevelItem(selected.first()), row);
        EXPECT_EQ(selected.first()->text(0), fishery);
        EXPECT_EQ(selected.first()->text(3), QString::fromLatin1(exported));
        EXPECT_TRUE(get<QPushButton>("ActivateBtn")->isEnabled());
        EXPECT_EQ(get<QPushButton>("DeactivateBtn")->isEnabled(),
                  QString::fromLatin1(exported) == QStringLiteral("true"));
    }
};

TEST_F(ModButtonsTest, ActivateWritesTheModAndDeactivateRemovesIt) {
    EXPECT_FALSE(get<QPushButton>("DeactivateBtn")->isEnabled());

    get<QPushButton>("ActivateBtn")->click();

    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/modinfo.json")));
    EXPECT_EQ(data::FindBuilding(data, fishery)->isExported, QStringLiteral("true"));
    expectShown("true");
    EXPECT_EQ(get<QLabel>("HelpJsonImage")->pixmap().size(), QSize(128, 128));

    get<QPushButton>("DeactivateBtn")->click();

    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder()));
    EXPECT_EQ(data::FindBuilding(data, fishery)->isExported, QStringLiteral("false"));
    expectShown("false");
}

TEST_F(ModButtonsTest, FailedActivationIsShownAndChangesNothing) {
    QFile::remove(data + QStringLiteral("/Buildings.xml"));

    get<QPushButton>("ActivateBtn")->click();

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].contains(QStringLiteral("Buildings.xml")))
        << dialogs.shown[0].toStdString();
    EXPECT_TRUE(QDir(mods).isEmpty());
    EXPECT_EQ(data::FindBuilding(data, fishery)->isExported, QStringLiteral("false"));
    expectShown("false");
}

} // namespace

namespace {

// Another mod of the mods directory that changes the fishery, and one that can not be read:
// once the window is shown the scan marks the fishery's row, the detail pane names the other
// mod, the damaged one is named in one note, and "Aktivieren" asks before writing.
TEST_F(ModButtonsTest, AnotherModChangingTheBuildingIsMarkedNamedAndAskedAbout) {
    const QString other = mods + QStringLiteral("/Bessere Fischer");
    QDir().mkpath(other + QStringLiteral("/data/config/export/main/asset"));
    writeBytes(other + QStringLiteral("/data/config/export/main/asset/assets.xml"),
               "<ModOps><ModOp Type=\"merge\" "
               "Path=\"//Asset[Values/Standard/GUID='1010278']/Values/FactoryBase\"/></ModOps>");
    writeBytes(other + QStringLiteral("/modinfo.json"),
               "{\"ModName\": {\"German\": \"Bessere Fischer\"}}");
    QDir().mkpath(mods + QStringLiteral("/Kaputt/data/config/export/main/asset"));
    writeBytes(mods + QStringLiteral("/Kaputt/data/config/export/main/asset/assets.xml"),
               "<ModOps");

    EXPECT_TRUE(list()->topLevelItem(row)->icon(5).isNull()); // nothing known before the scan
    QSignalSpy scanned(form.get(), &ui::MainWindow::foreignModsScanned);
    form->show();
    ASSERT_TRUE(scanned.wait(10000));

    QTreeWidgetItem* fisheryRow = list()->topLevelItem(row);
    EXPECT_FALSE(fisheryRow->icon(5).isNull());
    EXPECT_EQ(fisheryRow->text(5), QStringLiteral("Wird auch geändert von: Bessere Fischer"));
    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
        if (i == row)
            continue;
        EXPECT_TRUE(list()->topLevelItem(i)->icon(5).isNull()) << i;
    }
    EXPECT_EQ(get<QLabel>("ConflictLabel")->text(),
              QStringLiteral("Wird auch geändert von: Bessere Fischer"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith(QStringLiteral("Andere Mods|")));
    EXPECT_TRUE(dialogs.shown[0].contains(QStringLiteral("Kaputt")));

    // "Abbrechen" writes nothing; confirmed, the mod is written and the mark stays.
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "confirmed" : "cancelled");
        QString question;
        whenModalShows([&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(window);
            for (QLabel* label : window->findChildren<QLabel*>())
                question += label->text();
            widget<QPushButton>(*window, confirm ? "OKBtn" : "AbortBtn")->click();
        });
        get<QPushButton>("ActivateBtn")->click();
        EXPECT_TRUE(question.contains(QStringLiteral("Der Mod \u201EBessere Fischer\u201C ändert "
                                                     "dieses Gebäude ebenfalls")))
            << question.toStdString();
        EXPECT_EQ(QFileInfo::exists(folder() + QStringLiteral("/modinfo.json")), confirm);
    }
    EXPECT_FALSE(list()->topLevelItem(row)->icon(5).isNull());
    EXPECT_EQ(dialogs.shown.size(), 1);
}

} // namespace

namespace {

// Another mod whose assets.xml is a pipe that no program writes to: the scan ends all the same,
// names the mod in its note, and the window closes. Should the scan wait on the pipe, the test
// writes to it after a while, which lets the scan go on, and fails instead of hanging.
TEST_F(ModButtonsTest, APipeInAnotherModNeitherHoldsTheScanNorTheClosingWindow) {
    const QString other = mods + QStringLiteral("/Zzz/data/config/export/main/asset");
    QDir().mkpath(other);
    const QByteArray pipe = QFile::encodeName(other + QStringLiteral("/assets.xml"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);

    QSignalSpy scanned(form.get(), &ui::MainWindow::foreignModsScanned);
    form->show();
    const bool ended = scanned.wait(20000);
    if (!ended) {
        if (const int writer = ::open(pipe.constData(), O_RDWR | O_NONBLOCK); writer >= 0)
            ::close(writer);
    }
    ASSERT_TRUE(ended) << "the scan waits on the pipe";
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].contains(QStringLiteral("\u201EZzz\u201C")))
        << dialogs.shown[0].toStdString();
    EXPECT_TRUE(dialogs.shown[0].contains(QStringLiteral("keine gewöhnliche Datei")));
    form->close();
    form.reset();
}

} // namespace

namespace {

// "Alle aktivieren" writes the one changed building's mod and "Alle deaktivieren" removes it,
// each ending with its summary; the list shows the export mark in between.
TEST_F(ModButtonsTest, AllAtOnceWritesAndRemovesWithASummary) {
    get<QPushButton>("ActivateAllBtn")->click();
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/modinfo.json")));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0], QStringLiteral("Alle aktivieren|Geschrieben: 1 von 1 Gebäuden."));
    expectShown("true");

    get<QPushButton>("DeactivateAllBtn")->click();
    EXPECT_FALSE(QFileInfo::exists(folder()));
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1], QStringLiteral("Alle deaktivieren|Entfernt: 1 von 1 Mods."));
    expectShown("false");
}

// The fishery's mod written, then its output amount changed: once the window has been drawn, its
// row marks the mod as stale beside the export mark, for the eye and for a screen reader, and the
// detail pane says it, until "Alle aktivieren" writes it anew; a second run leaves it as it is.
TEST_F(ModButtonsTest, AStaleModIsMarkedUntilAlleAktivierenWritesItAnew) {
    const auto staleMarks = [&] {
        QStringList marked;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list()->topLevelItem(i);
            if (!item->icon(4).isNull() || !item->text(4).isEmpty())
                marked << item->text(0) + u'|' + item->text(4);
        }
        return marked;
    };
    get<QPushButton>("ActivateBtn")->click();
    data::ProductionSettings s = data::LoadProductionSettings(data, fishery);
    s.current.outputAmount = QStringLiteral("3");
    data::ApplyProductionSettings(data, fishery, s);
    form->RefreshAfterChange(row, false);
    EXPECT_TRUE(staleMarks().isEmpty()); // not before the window's first paint

    form->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !staleMarks().isEmpty(); }, 5000));
    EXPECT_EQ(staleMarks(), QStringList{fishery + QStringLiteral("|Mod veraltet")});
    const QTreeWidgetItem* fisheryRow = list()->topLevelItem(row);
    EXPECT_FALSE(fisheryRow->icon(4).isNull());
    EXPECT_TRUE(fisheryRow->toolTip(4).startsWith(
        QStringLiteral("Der aktive Mod dieses Gebäudes ist veraltet")));
    auto* label = get<QLabel>("StaleModLabel");
    EXPECT_EQ(label->text(), QStringLiteral("Aktiver Mod veraltet"));
    EXPECT_EQ(label->accessibleName(), QStringLiteral("Mod veraltet"));

    get<QPushButton>("ActivateAllBtn")->click();
    EXPECT_TRUE(staleMarks().isEmpty());
    EXPECT_TRUE(label->text().isEmpty());
    get<QPushButton>("ActivateAllBtn")->click();
    EXPECT_EQ(dialogs.shown,
              QStringList({QStringLiteral("Alle aktivieren|Geschrieben: 1 von 1 Gebäuden."),
                           QStringLiteral("Alle aktivieren|Alle 1 aktiven Mods sind bereits "
                                          "aktuell; es wurde nichts geschrieben.")}));

    // As after new game data: the mod differs and the building is no longer changed. "Aktivieren"
    // is offered all the same and writes it anew.
    s.current.outputAmount = QStringLiteral("2");
    data::ApplyProductionSettings(data, fishery, s);
    data::SetBuildingFlag(data, fishery, data::kBuildingIsChanged, false);
    form->RefreshAfterChange(row, false);
    EXPECT_EQ(staleMarks(), QStringList{fishery + QStringLiteral("|Mod veraltet")});
    EXPECT_TRUE(get<QPushButton>("ActivateBtn")->isEnabled());
    get<QPushButton>("ActivateBtn")->click();
    EXPECT_TRUE(staleMarks().isEmpty());
    EXPECT_FALSE(get<QPushButton>("ActivateBtn")->isEnabled());
}

// The game moved since the start: every button that writes or removes a mod refuses with the
// same message and the mod stays where the moved game still loads it.
TEST_F(ModButtonsTest, AGameThatHasMovedIsRefusedByEveryModButton) {
    const QString game = dir.file(QStringLiteral("game"));
    writeBytes(game + QStringLiteral("/Bin/Win64/Velmora.exe"), "MZ");
    ui::MainWindowSetup setup = mainWindowSetup(data, mods, dir.path());
    setup.gameDir = game;
    form = std::make_unique<ui::MainWindow>(setup, dialogs);
    for (int i = 0; i < list()->topLevelItemCount(); ++i)
        if (list()->topLevelItem(i)->text(0) == fishery)
            list()->setCurrentItem(list()->topLevelItem(i));
    get<QPushButton>("ActivateBtn")->click();
    ASSERT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/modinfo.json")));
    ASSERT_TRUE(QDir().rename(game, dir.file(QStringLiteral("moved"))));
    const auto modsBefore = snapshot(mods);
    for (const char* button :
         {"ActivateBtn", "DeactivateBtn", "ResetBtn", "ActivateAllBtn", "DeactivateAllBtn"}) {
        SCOPED_TRACE(button);
        dialogs.shown.clear();
        if (std::string(button) == "ResetBtn") // asked first
            whenModalShows(
                [] { widget<QPushButton>(*QApplication::activeModalWidget(), "OKBtn")->click(); });
        get<QPushButton>(button)->click();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_TRUE(dialogs.shown[0].contains(
            QStringLiteral("|Das Spiel ist nicht mehr installiert, wo es beim Start war:")))
            << dialogs.shown[0].toStdString();
        EXPECT_EQ(snapshot(mods), modsBefore);
        EXPECT_EQ(data::FindBuilding(data, fishery)->isExported, QStringLiteral("true"));
    }
}

TEST(BulkProgressWindow, AbortStopsAfterTheBuildingAtHandAndOnlyFinishCloses) {
    ui::BulkProgressWindow progress(QStringLiteral("Alle aktivieren"),
                                    QStringLiteral("geschrieben"));
    EXPECT_TRUE(progress.report(0, 3, QStringLiteral("Fischerei")));
    EXPECT_EQ(widget<QLabel>(progress, "ProgressLabel")->text(),
              QStringLiteral("\u201EFischerei\u201C wird geschrieben \u2026 (0 von 3 fertig)"));
    EXPECT_FALSE(progress.close()); // the system's close request
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
    widget<QPushButton>(progress, "AbortBtn")->click();
    EXPECT_FALSE(progress.report(1, 3, QStringLiteral("Getreidefarm")));
    progress.finish();
    EXPECT_FALSE(progress.isVisible());
}

} // namespace
