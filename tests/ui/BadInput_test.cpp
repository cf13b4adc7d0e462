// The bad-input catalogue of the main window: the building index damaged while the window is
// open, then a click on another group refills the list. The window shows one German message
// naming the file through the program's dialogs, stays usable and changes no file.
#include "support/BadInput.h"
#include "support/DataDirBuilder.h"
#include "support/ScriptedDialogs.h"
#include "ui/MainWindow.h"
#include "ui/UiTestSupport.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

class MainWindowInputTest : public ::testing::TestWithParam<Damage> {};

TEST_P(MainWindowInputTest, ADamagedIndexIsReportedNamingItAndChangesNothing) {
    TempDir dir;
    const QString data = dir.file(QStringLiteral("XMLP"));
    const QString mods = dir.file(QStringLiteral("mods"));
    QDir().mkpath(mods);
    writeDataDir(data, {{QStringLiteral("1010278"), QStringLiteral("Fischerei")},
                        {QStringLiteral("1010290"), QStringLiteral("Bäckerei"), QStringLiteral("1"),
                         QStringLiteral("Produktion")}});
    ScriptedDialogs dialogs;
    ui::MainWindow form(mainWindowSetup(data, mods, dir.path()), dialogs);
    form.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(QLatin1Char('\n')).toStdString();

    ASSERT_NO_FATAL_FAILURE(damageFile(data + QStringLiteral("/BuildingsShort.xml"), GetParam()));
    const auto before = snapshot(dir.path());
    widget<QListWidget>(form, "GroupView")->setCurrentRow(3); // Farmen to Produktion
    QCoreApplication::processEvents();

    ASSERT_EQ(dialogs.shown.size(), 1) << dialogs.shown.join(QLatin1Char('\n')).toStdString();
    expectGermanMessageNaming(dialogs.shown[0], QStringLiteral("BuildingsShort.xml"));
    EXPECT_TRUE(form.isVisible());
    expectSameFiles(before, snapshot(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, MainWindowInputTest,
                         ::testing::Values(Damage::Missing, Damage::Empty, Damage::Truncated,
                                           Damage::Binary, Damage::Utf16Cut, Damage::Windows1252,
                                           Damage::WrongRoot),
                         [](const auto& info) { return std::string(damageName(info.param)); });

} // namespace
