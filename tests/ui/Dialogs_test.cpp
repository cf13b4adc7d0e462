#include "app/Settings.h"
#include "app/platform/portable/PortablePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "ui/Dialogs.h"

#include <QFileInfo>
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

} // namespace
