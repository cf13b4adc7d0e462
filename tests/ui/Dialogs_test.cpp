#include "app/Settings.h"
#include "app/platform/portable/PortablePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "ui/Dialogs.h"
#include "ui/UiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

TEST(Dialogs, TheStartUpAsksAndReportsThroughTheDialogsItIsGiven) {
    TempDir root;
    writeBytes(root.file(QStringLiteral("Spiel/Bin/Win64/Velmora.exe")), "stand-in");
    app::PortablePlatform platform(root.file(QStringLiteral("registry")));
    ScriptedDialogs dialogs;
    dialogs.directories << root.file(QStringLiteral("Spiel"));
    app::Directories dirs = app::SettleDirectories(root.path());
    ASSERT_TRUE(app::CheckEnvironment(platform, dialogs, dirs));
    EXPECT_EQ(dirs.mods, root.file(QStringLiteral("Spiel/mods/")));
    EXPECT_TRUE(QFileInfo(dirs.mods).isDir());

    // A second copy: the message box is answered by the script.
    app::PortablePlatform second(root.file(QStringLiteral("registry")));
    EXPECT_THROW(app::CheckEnvironment(second, dialogs, dirs), app::StartupAbort);
    EXPECT_EQ(dialogs.shown,
              QStringList({QStringLiteral("chooser|") + app::kChooseGameText,
                           app::kStartErrorTitle + QLatin1Char('|') + app::kAlreadyRunningText}));
}

TEST(Dialogs, CarriageReturnsBecomeLineFeeds) {
    EXPECT_EQ(ui::withLineFeeds(app::kNotGameDirText),
              QStringLiteral("Das angegebene Verzeichnis ist nicht das "
                             "Spieleverzeichnis.\n\nStarten Sie das Programm "
                             "erneut und wählen Sie\neinen anderen Pfad aus"));
}

// Selects folder in the chooser's tree as a click would.
void selectInTree(QWidget& chooser, const QString& folder) {
    auto* tree = widget<QTreeView>(chooser, "FolderTree");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_TRUE(model);
    const QModelIndex index = model->index(folder);
    ASSERT_TRUE(index.isValid()) << folder.toStdString();
    tree->setCurrentIndex(index);
}

// The chooser of the start-up: the instruction inside the dialog as written, German buttons,
// a tree of folders only, and nothing to type a path into or to create a folder with.
TEST(FolderChooser, ShowsTheInstructionAndOnlyAFolderTree) {
    TempDir root;
    const QString game = root.file(QStringLiteral("Jürgen ß/Spiel"));
    QDir().mkpath(game + QStringLiteral("/Bin"));
    QDir().mkpath(game + QStringLiteral("/mods"));
    writeBytes(game + QStringLiteral("/Liesmich.txt"), "keine Ordner");

    ui::FolderChooser chooser(app::kChooseGameText, game);
    chooser.show();
    EXPECT_EQ(chooser.objectName(), QStringLiteral("FolderChooser"));
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Ordner suchen"));
    EXPECT_EQ(widget<QLabel>(chooser, "InstructionLabel")->text(),
              QStringLiteral("Das Spiel Velmora kann nicht gefunden werden\nWählen Sie aus der "
                             "Liste das Hauptverzeichnis des Spiels Velmora aus.\n"));
    EXPECT_EQ(widget<QAbstractButton>(chooser, "OKBtn")->text(), QStringLiteral("OK"));
    EXPECT_EQ(widget<QAbstractButton>(chooser, "CancelBtn")->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(chooser.findChildren<QAbstractButton*>().size(), 2); // no "new folder" button
    EXPECT_TRUE(chooser.findChildren<QLineEdit*>().isEmpty());     // no field to type a path
    for (QWidget* w : {static_cast<QWidget*>(widget<QTreeView>(chooser, "FolderTree")),
                       static_cast<QWidget*>(widget<QAbstractButton>(chooser, "OKBtn")),
                       static_cast<QWidget*>(widget<QAbstractButton>(chooser, "CancelBtn"))})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();

    // The preselected folder is selected; below it only folders are listed.
    EXPECT_EQ(chooser.selectedFolder(), game);
    auto* tree = widget<QTreeView>(chooser, "FolderTree");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_TRUE(model);
    const QModelIndex gameIndex = model->index(game);
    model->fetchMore(gameIndex);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(gameIndex) == 2; }, 5000));
    QStringList listed;
    for (int row = 0; row < model->rowCount(gameIndex); ++row)
        listed << model->fileName(model->index(row, 0, gameIndex));
    listed.sort();
    EXPECT_EQ(listed, QStringList({QStringLiteral("Bin"), QStringLiteral("mods")}));
    EXPECT_TRUE(model->isReadOnly());
}

// The start-up's chooser through the program's dialogs: "OK" hands back the folder picked in
// the tree, "Abbrechen" an empty text.
TEST(FolderChooser, HandsBackThePickedFolderOrNothing) {
    TempDir root;
    const QString picked = root.file(QStringLiteral("Jürgen ß/Velmora"));
    QDir().mkpath(picked);
    ui::Dialogs dialogs;

    for (const bool accept : {true, false}) {
        bool shown = false;
        whenModalShows([&] {
            auto* chooser = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(chooser);
            shown = chooser->objectName() == QStringLiteral("FolderChooser");
            if (!shown) {
                chooser->reject();
                return;
            }
            selectInTree(*chooser, picked);
            QTest::mouseClick(widget<QAbstractButton>(*chooser, accept ? "OKBtn" : "CancelBtn"),
                              Qt::LeftButton);
            if (chooser->isVisible())
                chooser->reject(); // never leave the test hanging
        });
        const QString answer = dialogs.chooseFolder(app::kChooseGameText, root.path());
        EXPECT_TRUE(shown);
        EXPECT_EQ(answer, accept ? picked : QString());
    }
}

} // namespace
