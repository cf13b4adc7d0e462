#include "data/BuildingIndex.h"
#include "mod/ModFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/UiTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

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
