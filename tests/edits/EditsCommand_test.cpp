// velmora-edits from outside: its exit codes and messages, and carrying a player's edits over
// to the data of a new game version made by velmora-dataprep from changed stand-in tables.
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "data/AdditionalProducts.h"
#include "data/BuildCosts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"
#include "data/ProductionSettings.h"
#include "mod/ModTestSupport.h"
#include "support/ShippedData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using namespace velmora::data;
using namespace velmora::test;

namespace {

const QString kBakery = QStringLiteral("1010402");        // production edited
const QString kGrainFarm = QStringLiteral("1010262");     // additional products edited
const QString kLobsterFishery = QStringLiteral("118729"); // costs edited; gone in the new data
const QString kBeer = QStringLiteral("1010214");

struct Outcome {
    int exitCode = -1;
    QString out, err;
};

class EditsCommandTest : public ::testing::Test {
protected:
    TempDir dir;
    QString registry = dir.file(QStringLiteral("registry"));

    Outcome run(const QString& tool, const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELMORA_REGISTRY_DIR"), registry);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELMORA_BIN_DIR "/") + tool, arguments);
        if (!process.waitForFinished(600000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    Outcome edits(const QStringList& arguments) const {
        return run(QStringLiteral("velmora-edits"), arguments);
    }
    QString data(const char* name) const {
        return copyShippedData(dir.file(QString::fromLatin1(name)));
    }
};

// The player's three edits, made as the windows apply them.
void editByHand(const QString& dataDir, bool withLobsterFishery) {
    ProductionSettings bakery = LoadProductionSettings(dataDir, kBakery);
    bakery.current.outputAmount = QStringLiteral("2");
    bakery.current.moneyAmount = QStringLiteral("90");
    ApplyProductionSettings(dataDir, kBakery, bakery);

    AdditionalProducts extra = LoadAdditionalProducts(dataDir, kGrainFarm);
    // Beer as an additional product, and the fertility the farm needs.
    extra.goods[0] = {kBeer, QStringLiteral("Bier"), QStringLiteral("icon_beer"),
                      QStringLiteral("2"), QStringLiteral("5")};
    const BuffApplyResult buff =
        ApplyAdditionalProducts(dataDir, kGrainFarm, extra.goods, extra.fertilityGuid);
    ProductionSettings farm = LoadProductionSettings(dataDir, kGrainFarm);
    farm.hasBuff = buff.hasBuff;
    ApplyProductionSettings(dataDir, kGrainFarm, farm);

    if (withLobsterFishery) {
        CostSlots costs = LoadCosts(dataDir, kLobsterFishery).current;
        costs[1].amount = QStringLiteral("7");
        ApplyCosts(dataDir, kLobsterFishery, costs);
    }
}

QMap<QString, QByteArray> editedFiles(const QString& dataDir) {
    QMap<QString, QByteArray> files;
    for (const QString& name : {kWorkingAssetsFile, kBuildingIndexFile, kBuffTableFile})
        files[name] = readBytes(dataFilePath(dataDir, name));
    return files;
}

TEST_F(EditsCommandTest, WrongArgumentsEndWithTwoAndRefusalsWithOneChangingNothing) {
    const QString d = data("XMLP");
    const QString file = dir.file(QStringLiteral("edits.json"));
    writeBytes(file, "{\"format\": \"velmora-cindral-edits\", \"version\": 9, \"buildings\": []}");
    // Files that are no edits file to read: a pipe no program writes to, a link to an endless
    // device, a file beyond the size limit (sparse, so that it costs no disk).
    const QString pipe = dir.file(QStringLiteral("pipe.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString endless = dir.file(QStringLiteral("zero.json"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), endless));
    QFile large(dir.file(QStringLiteral("large.json")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(data::kEditsFileSizeLimit + 1));
    large.close();
    struct Case {
        const char* what;
        QStringList arguments;
        int exitCode;
        const char* message; // part of standard error
    };
    const Case cases[] = {
        {"no command", {}, 2, "Aufruf:"},
        {"unknown command", {"merge", "--data-dir", d, file}, 2, "Unbekannter Befehl „merge“"},
        {"no data directory", {"import", file}, 2, "--data-dir fehlt."},
        {"prefer without apply",
         {"import", "--data-dir", d, file, "--prefer", "game"},
         2,
         "--prefer gilt nur mit --apply."},
        {"prefer something else",
         {"import", "--data-dir", d, file, "--apply", "--prefer", "x"},
         2,
         "--prefer nimmt"},
        {"unknown option", {"export", "--data-dir", d, file, "--all"}, 2, "Unbekanntes Argument"},
        {"newer file", {"import", "--data-dir", d, file, "--apply"}, 1, "Formatversion 9"},
        {"missing file", {"import", "--data-dir", d, dir.file("none.json")}, 1, "fehlt"},
        {"pipe", {"import", "--data-dir", d, pipe, "--apply"}, 1, "keine gewöhnliche Datei"},
        {"endless", {"import", "--data-dir", d, endless, "--apply"}, 1, "keine gewöhnliche Datei"},
        {"too large",
         {"import", "--data-dir", d, large.fileName(), "--apply"},
         1,
         "größer als 16 MiB"},
        {"missing data directory",
         {"export", "--data-dir", dir.file("none"), file},
         1,
         "Das Datenverzeichnis"},
    };
    const auto before = snapshot(d);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = edits(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(snapshot(d), before);
    }
}

// The data directory's guard is the folder's, whatever path leads to it: a running editor or a
// running command refuses the command on the same folder, also given through a link or with
// "..", and the refusal names who holds it. Another folder is free.
TEST_F(EditsCommandTest, ARunningEditorOrCommandOnTheSameDataDirectoryRefusesTheRun) {
    const QString d = data("XMLP");
    const QString other = data("other");
    editByHand(other, true);
    const QString file = dir.file(QStringLiteral("edits.json"));
    ASSERT_EQ(edits({"export", "--data-dir", other, file}).exitCode, 0);
    const QString link = dir.file(QStringLiteral("XMLP-link"));
    ASSERT_TRUE(QFile::link(d, link));

    using User = app::DataDirectoryUser;
    const struct Case {
        const char* what;
        User holder;
        QString held;  // the path the holder took the guard by
        QString given; // the path the command is given
        const char* message;
    } cases[] = {
        {"editor, same path", User::Editor, d, d, "Der Editor läuft"},
        {"editor, through a link", User::Editor, d, link, "Der Editor läuft"},
        {"editor by the link, the folder", User::Editor, link, d + QStringLiteral("/../XMLP/"),
         "Der Editor läuft"},
        {"command, through a link", User::EditsCommand, d, link, "\u201Evelmora-edits\u201C"},
    };
    const auto before = snapshot(d);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app::PortablePlatform holder(registry); // holds the guard as a running process does
        ASSERT_TRUE(app::HoldDataDirectory(holder, c.held, c.holder));
        const Outcome r = edits({"import", "--data-dir", c.given, file, "--apply"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(snapshot(d), before);
        // Another data directory is free.
        EXPECT_EQ(edits({"export", "--data-dir", other, file}).exitCode, 0);
    }
    EXPECT_EQ(edits({"import", "--data-dir", data("third"), file, "--apply"}).exitCode, 0);
}

// Export, new game data from changed tables, import: the untouched edits apply, the field the
// game changed is a conflict, the building the game dropped is not applicable, and the result
// equals editing the new data by hand.
TEST_F(EditsCommandTest, EditsCarryOverToNewGameData) {
    const QString old = data("old");
    editByHand(old, true);
    const QString file = dir.file(QStringLiteral("edits.json"));
    const Outcome exported = edits({"export", "--data-dir", old, file});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out.trimmed(),
              QStringLiteral("Exportiert: 3 Gebäude, 7 Felder nach „%1“.").arg(file));

    // The new game: the bakery's upkeep is 70 instead of 60, the lobster fishery is gone.
    const QString tables = dir.file(QStringLiteral("tables"));
    QDir().mkpath(tables);
    for (const QString& name :
         QDir(sourcePath(QStringLiteral("sample-game/tables"))).entryList(QDir::Files))
        QFile::copy(sourcePath(QStringLiteral("sample-game/tables/")) + name,
                    tables + QLatin1Char('/') + name);
    QString buildings = QString::fromUtf8(readBytes(tables + QStringLiteral("/buildings.tsv")));
    const QString bakeryRow = QStringLiteral("150,2,5\t60,Arbeiter:50");
    ASSERT_TRUE(buildings.contains(bakeryRow));
    buildings.replace(bakeryRow, QStringLiteral("150,2,5\t70,Arbeiter:50"));
    const qsizetype lobster = buildings.indexOf(QStringLiteral("\n118729\t"));
    ASSERT_GT(lobster, 0);
    buildings.remove(lobster, buildings.indexOf(u'\n', lobster + 1) - lobster);
    writeBytes(tables + QStringLiteral("/buildings.tsv"), buildings.toUtf8());
    const QString program = dir.file(QStringLiteral("program"));
    Outcome made = run(QStringLiteral("velmora-standin"),
                       {QStringLiteral("--tables"), tables, QStringLiteral("--out"),
                        program + QStringLiteral("/ORG")});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    made = run(QStringLiteral("velmora-dataprep"),
               {QStringLiteral("all"), QStringLiteral("--program-dir"), program,
                QStringLiteral("--icon-source"), sourcePath(QStringLiteral("sample-game/icons"))});
    ASSERT_EQ(made.exitCode, 0) << made.out.toStdString() << made.err.toStdString();
    const QString fresh = program + QStringLiteral("/XMLP");
    ASSERT_FALSE(FindBuilding(fresh, kLobsterFishery));

    const Outcome preview = edits({"import", "--data-dir", fresh, file});
    ASSERT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QStringList lines = preview.out.split(u'\n', Qt::SkipEmptyParts);
    // In index order, named as the new index names them.
    const QStringList expected = {
        "Hummerfischerei (118729), Baukosten Ware 1 Menge: nicht anwendbar: Das Gebäude 118729 "
        "gibt es in diesen Spieldaten nicht.",
        "Baeckerei (1010402), Ausgabemenge: übernehmen (1 → 2)",
        "Baeckerei (1010402), Betriebskosten: Konflikt (Spielwert beim Export 60, Spielwert jetzt "
        "70, aktuell 70, bearbeitet 90)",
        "Getreidefarm (1010262), Zusatzware 1: übernehmen (keine → Bier)",
        "Getreidefarm (1010262), Zusatzware 1 Menge: übernehmen (0 → 2)",
        "Getreidefarm (1010262), Zusatzware 1 pro Zyklus: übernehmen (0 → 5)",
        "Getreidefarm (1010262), erforderliche Fruchtbarkeit: übernehmen (nein → ja)",
        "5 Felder übernehmen, 1 Konflikt, 0 bereits so, 1 nicht anwendbar.",
        "Vorschau: nichts wurde geändert.",
    };
    EXPECT_EQ(lines, expected);

    const QString byHand = copyShippedData(dir.file(QStringLiteral("byhand")));
    for (const QString& name : {kWorkingAssetsFile, kOriginalAssetsFile, kBuildingIndexFile,
                                kBuffTableFile, kProductCatalogueFile, kFieldTableFile}) {
        QFile::remove(dataFilePath(byHand, name));
        QFile::copy(dataFilePath(fresh, name), dataFilePath(byHand, name));
    }
    editByHand(byHand, false);
    // The conflict is skipped: the bakery's upkeep stays the new game's.
    ProductionSettings bakery = LoadProductionSettings(byHand, kBakery);
    bakery.current.moneyAmount = QStringLiteral("70");
    ApplyProductionSettings(byHand, kBakery, bakery);

    const Outcome applied = edits({"import", "--data-dir", fresh, file, "--apply"});
    ASSERT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.contains(QStringLiteral("\n5 Felder in 2 Gebäuden übernommen.\n")))
        << applied.out.toStdString();
    EXPECT_EQ(editedFiles(fresh), editedFiles(byHand));

    // Keeping the edited value with --prefer edited sets the conflict too; a second run then
    // finds everything done.
    ASSERT_EQ(
        edits({"import", "--data-dir", fresh, file, "--apply", "--prefer", "edited"}).exitCode, 0);
    EXPECT_EQ(LoadProductionSettings(fresh, kBakery).current.moneyAmount, QStringLiteral("90"));
    const auto before = snapshot(fresh);
    const Outcome again =
        edits({"import", "--data-dir", fresh, file, "--apply", "--prefer", "edited"});
    EXPECT_TRUE(again.out.contains(NothingToSetText()));
    EXPECT_EQ(snapshot(fresh), before);
}

// After --apply the last line names the active mods the import made stale, in the mods
// directory the editor uses (here the game's, from its machine-wide key); the grain farm's mod,
// which the import left alone, stays unnamed. Without a known game the line says where to look.
TEST_F(EditsCommandTest, TheImportsLastLineNamesTheActiveModsItMadeStale) {
    const QString game = dir.file(QStringLiteral("game"));
    const QString mods = game + QStringLiteral("/mods");
    QDir().mkpath(mods);
    const QString file = dir.file(QStringLiteral("workers.json"));
    EditsFile workers;
    workers.buildings.push_back(
        {kBakery, QStringLiteral("Baeckerei"), {{"workforceAmount", "50", "30"}}});
    const struct Case {
        const char* what;
        bool gameKnown;
        const char* lastLine;
    } cases[] = {
        {"game unknown", false,
         "Das Spiel ist nicht eingetragen; welche aktiven Mods nun veraltet sind, zeigt der Editor "
         "unter „Änderungen“."},
        {"game known", true,
         "1 aktiver Mod ist nun veraltet: Baeckerei (1010402). Aktivieren Sie das Gebäude erneut, "
         "damit das Spiel die neuen Werte lädt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString d = data(c.what);
        editByHand(d, false);
        PlainPictures pictures;
        for (const auto& [guid, name] :
             {std::pair{kBakery, "Baeckerei"}, std::pair{kGrainFarm, "Getreidefarm"}})
            mod::WriteMod({d, mods, guid, QString::fromLatin1(name), QStringLiteral("1.0.0.0"),
                           QStringLiteral("tester")},
                          pictures);
        if (c.gameKnown)
            app::PortablePlatform(registry).writeRegistryString(
                app::RegistryHive::LocalMachine, app::kGameKey.toStdWString(),
                app::kInstallDirValue.toStdWString(), game.toStdWString());
        {
            EditorFiles files(d);
            writeBytes(file, WriteEditsFile(workers, files.catalogue()));
        }
        const Outcome applied = edits({"import", "--data-dir", d, file, "--apply"});
        ASSERT_EQ(applied.exitCode, 0) << applied.err.toStdString();
        EXPECT_EQ(applied.out.split(u'\n', Qt::SkipEmptyParts).last(),
                  QString::fromUtf8(c.lastLine));
    }
}

} // namespace
