// A building's edit as a list of fields, the edits file and its import, on the shipped data.
#include "data/BuildingEdits.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"
#include "support/ScriptedWriter.h"
#include "support/ShippedData.h"

#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

const QString kBakery = QStringLiteral("1010402");    // Mehl -> Brot, Arbeiter, uses electricity
const QString kGrainFarm = QStringLiteral("1010262"); // modules, needs the fertility Getreide
const QString kFishery = QStringLiteral("1010278");   // needs no fertility
const QString kBoards = QStringLiteral("1010196");    // Bretter, a building material
const QString kBeer = QStringLiteral("1010214");      // Bier, a market good
const QString kFarmers = QStringLiteral("1010052");   // Bauern, a workforce
const QString kHunter = QStringLiteral("112680");     // a free-area farm: influence radius
const QString kOreMine = QStringLiteral("1010311");   // no group: no side panels at all
const QString kGlasses = QStringLiteral("1010280");   // needs electricity

// The files an edit changes.
const QStringList kEditedFiles = {kWorkingAssetsFile, kBuildingIndexFile, kBuffTableFile};

// Sets fields as the editors would and applies them as their "Annehmen" does.
void edit(const QString& dataDir, const QString& guid,
          const std::vector<std::pair<QString, QString>>& values) {
    std::vector<ImportRow> rows;
    for (const auto& [key, value] : values) {
        ImportRow row;
        row.guid = guid;
        row.key = key;
        row.edited = value;
        row.status = ImportStatus::Apply;
        rows.push_back(row);
    }
    ApplyImport(dataDir, rows, std::vector<ImportChoice>(rows.size(), ImportChoice::Edited));
}

QByteArray utf16(const QByteArray& text) {
    const QString wide = QString::fromUtf8(text);
    return QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
}

// The default choices of the preview's rows.
std::vector<ImportChoice> defaults(const std::vector<ImportRow>& rows) {
    std::vector<ImportChoice> choices;
    for (const ImportRow& row : rows)
        choices.push_back(DefaultChoice(row));
    return choices;
}

std::vector<FieldEdit> changedFields(const QString& dataDir, const QString& guid) {
    EditorFiles files(dataDir);
    return ChangedFields(LoadBuildingState(files, guid));
}

QMap<QString, QByteArray> editedFiles(const QString& dataDir) {
    QMap<QString, QByteArray> files;
    for (const QString& name : kEditedFiles)
        files[name] = readBytes(dataFilePath(dataDir, name));
    return files;
}

class BuildingEditsTest : public ::testing::Test {
protected:
    TempDir dir;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));

    QString fresh(const char* name) const {
        return copyShippedData(dir.file(QString::fromLatin1(name)));
    }
    std::vector<ImportRow> preview(const QString& dataDir, const EditsFile& file) const {
        EditorFiles files(dataDir);
        return PreviewImport(files, file);
    }
    EditsFile exported(const QString& dataDir) const {
        EditorFiles files(dataDir);
        return EditsFileOf(ListEdits(files), QStringLiteral("1.0.0.0"),
                           QStringLiteral("2026-12-11T09:30:00"));
    }
};

// A building changed in one field shows exactly that field, and the editors' own change
// detection agrees that it changed.
TEST_F(BuildingEditsTest, OneChangedFieldShowsAsExactlyThatField) {
    struct Case {
        QString building;
        QString key;
        QString value;
        std::vector<FieldEdit> expected; // key, game value, current value
    };
    const Case cases[] = {
        {kBakery, "outputAmount", "2", {{"outputAmount", "1", "2"}}},
        {kBakery, "upkeep", "75", {{"upkeep", "60", "75"}}},
        {kBakery, "input1", kBoards, {{"input1", "1010235", kBoards}}},
        {kBakery, "input2", kBeer, {{"input2", "0", kBeer}}},
        {kBakery, "output", kBeer, {{"output", "1010213", kBeer}}},
        {kBakery, "workforce", kFarmers, {{"workforce", "1010115", kFarmers}}},
        {kBakery, "workforceAmount", "25", {{"workforceAmount", "50", "25"}}},
        {kBakery, "electricityUsed", "0", {{"electricityUsed", "1", "0"}}},
        {kBakery, "incidents", "0", {{"incidents", "1", "0"}}},
        {kGrainFarm, "moduleLimit", "10", {{"moduleLimit", "4", "10"}}},
        {kBakery, "coins", "200", {{"coins", "150", "200"}}},
        {kBakery, "cost1", kBeer, {{"cost1", kBoards, kBeer}}},
        {kBakery, "cost1Amount", "7", {{"cost1Amount", "2", "7"}}},
        {kBakery, "cost2", "0", {{"cost2", "1010205", "0"}}},
        // A new good keeps the amount its slot had, written at least as 1.
        {kBakery, "cost3", kBeer, {{"cost3", "0", kBeer}, {"cost3Amount", "0", "1"}}},
        // A filled additional-product slot starts at 1 and 1, as the editor's boxes do.
        {kFishery,
         "extra1",
         kBeer,
         {{"extra1", "0", kBeer}, {"extra1Amount", "0", "1"}, {"extra1Cycle", "0", "1"}}},
        {kGrainFarm, "fertility", "1", {{"fertility", "0", "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        const QString d = fresh("one-field");
        edit(d, c.building, {{c.key, c.value}});
        EXPECT_EQ(changedFields(d, c.building), c.expected);
        EXPECT_EQ(FindBuilding(d, c.building)->isChanged, QStringLiteral("true"));
        QDir(d).removeRecursively();
    }
}

TEST_F(BuildingEditsTest, FieldsSetBackToTheGameValuesLeaveNoField) {
    edit(data, kBakery, {{"outputAmount", "3"}, {"cost1Amount", "9"}});
    ASSERT_EQ(changedFields(data, kBakery).size(), 2u);
    edit(data, kBakery, {{"outputAmount", "1"}, {"cost1Amount", "2"}});
    EXPECT_TRUE(changedFields(data, kBakery).empty());
}

TEST_F(BuildingEditsTest, ValuesOutsideTheEditorsAreRefusedWithAReason) {
    struct Case {
        QString building, key, value;
        QString reason; // the German reason; "" for a value the editor takes
    };
    const Case cases[] = {
        {kBakery, "outputAmount", "3", ""},
        {kBakery, "outputAmount", "4", "Der Wert „4“ liegt nicht zwischen 1 und 3."},
        {kBakery, "outputAmount", "0", "Der Wert „0“ liegt nicht zwischen 1 und 3."},
        {kBakery, "upkeep", "-5", "Der Wert „-5“ liegt nicht zwischen 0 und 5000."},
        {kBakery, "upkeep", "99999999999",
         "Der Wert „99999999999“ liegt nicht zwischen 0 und 5000."},
        {kGrainFarm, "moduleRadius", "3", "Ein Modulradius von 1 bis 4 ist nicht erlaubt."},
        {kGrainFarm, "moduleRadius", "5", ""},
        {kBakery, "incidents", "ja", "„ja“ ist kein Schalterwert (0 oder 1)."},
        {kBakery, "input1", "0", ""},
        {kBakery, "output", "0", "„Ausgabeprodukt“ kann nicht leer sein."},
        {kBakery, "input1", "999999", "Die Ware 999999 ist hier unbekannt."},
        {kBakery, "input1", kFarmers, "Die Ware „Bauern“ kann hier nicht gewählt werden."},
        {kBakery, "workforce", kBeer, "Die Ware „Bier“ kann hier nicht gewählt werden."},
        {kBakery, "cost1", "abc", "„abc“ ist keine Waren-GUID."},
        // Goods that are no GUID are refused before any look-up.
        {kBakery, "input1", " ", "„ “ ist keine Waren-GUID."},
        {kBakery, "input1", QString(QChar(0)), QString("„%1“ ist keine Waren-GUID.").arg(QChar(0))},
        {kBakery, "input1", "1 10200", "„1 10200“ ist keine Waren-GUID."},
        {kBakery, "input1", "\"]|//*[\"", "„\"]|//*[\"“ ist keine Waren-GUID."},
        // Leading zeros: the value the editor's box would hold.
        {kBakery, "input1", "0" + kBoards, ""},
        {kBakery, "outputAmount", "0002", ""},
        {kFishery, "fertility", "1", "Dieses Gebäude hat kein Feld „erforderliche Fruchtbarkeit“."},
        {kFishery, "extra9Cycle", "26", "Der Wert „26“ liegt nicht zwischen 0 und 25."},
    };
    EditorFiles files(data);
    for (const Case& c : cases) {
        SCOPED_TRACE((c.key + " " + c.value).toStdString());
        const BuildingState state = LoadBuildingState(files, c.building);
        EXPECT_EQ(FieldValueFault(state, *FindEditField(c.key), c.value, files.catalogue()),
                  c.reason);
    }
}

TEST_F(BuildingEditsTest, TheEditsFileReadsBackAsWritten) {
    edit(data, kBakery, {{"input1", kBoards}, {"outputAmount", "2"}});
    edit(data, kFishery, {{"extra1", kBeer}, {"extra1Amount", "5"}});
    const EditsFile file = exported(data);
    EditorFiles files(data);
    const QByteArray text = WriteEditsFile(file, files.catalogue());
    EXPECT_TRUE(text.contains("\"gameText\": \"Mehl\", \"editedText\": \"Bretter\""));
    const EditsFile back = ReadEditsFile(text, QStringLiteral("a.json"));
    EXPECT_EQ(back.program, QStringLiteral("1.0.0.0"));
    EXPECT_EQ(back.created, QStringLiteral("2026-12-11T09:30:00"));
    ASSERT_EQ(back.buildings.size(), 2u);
    EXPECT_EQ(back.buildings[0].guid, kFishery); // index order
    EXPECT_EQ(back.buildings[0].name, QStringLiteral("Fischerei"));
    EXPECT_EQ(back.buildings[1].fields.size(), 2u);
    EXPECT_EQ(WriteEditsFile(back, files.catalogue()), text);
}

TEST_F(BuildingEditsTest, DamagedForeignAndNewerFilesAreRefused) {
    const QByteArray good = R"({"format": "velmora-cindral-edits", "version": 1, "buildings": [
        {"guid": "1010402", "name": "Baeckerei", "fields": [
            {"field": "outputAmount", "game": "1", "edited": "2"}]}]})";
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* message; // a part of the German message
    };
    const Case cases[] = {
        {"cut", good.left(good.size() / 2), "kein gültiges JSON"},
        {"empty", "", "kein gültiges JSON"},
        {"array", "[1, 2]", "keine Datei der Änderungen."},
        {"other format", QByteArray(good).replace("velmora-cindral-edits", "other"),
         "dieses Programms"},
        {"newer version", QByteArray(good).replace("\"version\": 1", "\"version\": 2"),
         "Formatversion 2"},
        {"no version", QByteArray(good).replace("\"version\": 1,", ""), "Formatversion fehlt"},
        {"version as text", QByteArray(good).replace("\"version\": 1", "\"version\": \"1\""),
         "Formatversion fehlt"},
        {"no buildings", QByteArray(good).replace("buildings", "b"), "„buildings“ fehlt"},
        {"GUID no number", QByteArray(good).replace("\"1010402\"", "\"x'1\""), "keine Zahl"},
        {"duplicate GUID",
         QByteArray(good).replace("\"buildings\": [",
                                  "\"buildings\": [{\"guid\": \"1010402\", \"fields\": []},"),
         "zweimal"},
        {"duplicate field",
         QByteArray(good).replace("\"fields\": [", "\"fields\": [{\"field\": \"outputAmount\", "
                                                   "\"game\": \"1\", \"edited\": \"3\"},"),
         "zweimal"},
        {"value no text", QByteArray(good).replace("\"edited\": \"2\"", "\"edited\": 2"),
         "„edited“ als Text"},
        // The parser's faults in German, with line and character.
        {"illegal value", QByteArray(good).replace("\"version\": 1", "\"version\": nope"),
         "(Zeile 1, Zeichen 50: ein Wert ist ungültig)"},
        {"garbage at the end", good + "\n\n x", "(Zeile 5, Zeichen 2: nach dem Ende des Dokuments"},
        {"unterminated text", "{\"format\": \"vel", "ein Text ist nicht mit „\"“ abgeschlossen"},
        {"no UTF-8", "{\"format\": \"\xff\"}", "ein Text ist kein gültiges UTF-8"},
        {"UTF-16 with mark", "\xff\xfe" + utf16(good), "Sie ist in UTF-16 gespeichert"},
        {"UTF-16 without mark", utf16(good), "Sie ist in UTF-16 gespeichert"},
        // The version's range is checked before it becomes a whole number.
        {"version 1e300", QByteArray(good).replace("\"version\": 1", "\"version\": 1e300"),
         "Formatversion fehlt oder ist ungültig"},
        {"version -1e300", QByteArray(good).replace("\"version\": 1", "\"version\": -1e300"),
         "Formatversion fehlt oder ist ungültig"},
        // A text that would not write back as itself.
        {"half surrogate pair", QByteArray(good).replace("\"Baeckerei\"", "\"B\\ud83d\""),
         "Beim Gebäude Nr. 1 steht in „name“ ein halbes Unicode-Ersatzzeichen"},
        {"half surrogate pair in a value",
         QByteArray(good).replace("\"edited\": \"2\"", "\"edited\": \"\\udc00\""),
         "in „edited“ ein halbes Unicode-Ersatzzeichen"},
    };
    EXPECT_NO_THROW(ReadEditsFile(good, QStringLiteral("a.json")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ReadEditsFile(c.bytes, QStringLiteral("a.json"));
            ADD_FAILURE() << "read";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.message)))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("„a.json“")));
            for (const char* english : {"illegal", "garbage", "unterminated", "value"})
                EXPECT_FALSE(e.message().contains(QLatin1String(english), Qt::CaseInsensitive))
                    << e.message().toStdString();
        }
    }
}

// A good's GUID in the file's game value that is no GUID is shown as given, never looked up.
TEST_F(BuildingEditsTest, AFileGameValueThatIsNoGuidIsShownAsGiven) {
    EditsFile file;
    file.buildings.push_back({kBakery, QStringLiteral("X"), {{"input1", "1 10200", kBoards}}});
    EditorFiles files(data);
    const std::vector<ImportRow> rows = PreviewImport(files, file);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].status, ImportStatus::Conflict);
    EXPECT_EQ(RowText(rows[0], files.catalogue()),
              QStringLiteral("Baeckerei (1010402), Eingangsprodukt 1: Konflikt (Spielwert beim "
                             "Export 1 10200, Spielwert jetzt Mehl, aktuell Mehl, bearbeitet "
                             "Bretter)"));
}

// Each row of the preview against a data directory whose game values changed in places.
TEST_F(BuildingEditsTest, ThePreviewSortsEveryFieldIntoItsCase) {
    // Here the game's bakery makes 2 bread and has 10 coins upkeep; the user's upkeep is 90.
    edit(data, kBakery, {{"upkeep", "90"}});
    {
        XmlDocument original = loadDataFile(data, kOriginalAssetsFile);
        const pugi::xml_node record =
            selectNode(original.root(), "//Asset[Values/Standard/GUID=\"1010402\"]");
        setElementText(selectNode(record, "Values/FactoryBase/FactoryOutputs/Item/Amount"), "2");
        setElementText(selectNode(record, "Values/Maintenance/Maintenances/Item/Amount"), "10");
        original.save();
    }
    struct Case {
        QString building, key, fileGame, edited;
        ImportStatus status;
        QString reason;
    };
    using S = ImportStatus;
    const Case cases[] = {
        {kBakery, "workforceAmount", "50", "30", S::Apply, ""}, // same game value
        {kBakery, "upkeep", "60", "90", S::AlreadySo, ""},      // edited here too
        {kBakery, "outputAmount", "1", "3", S::Conflict, ""},   // the game changed
        // The file's value is the game's now, but the value here (1) is not the game's: it is
        // kept unless the user chooses otherwise.
        {kBakery, "outputAmount", "1", "2", S::Conflict, ""},
        {"999", "outputAmount", "1", "2", S::NotApplicable,
         "Das Gebäude 999 gibt es in diesen Spieldaten nicht."}, // unknown building
        {kBakery, "input1", "1010235", "4242", S::NotApplicable,
         "Die Ware 4242 ist hier unbekannt."}, // unknown good
        {kBakery, "workforceAmount", "50", "2000", S::NotApplicable,
         "Der Wert „2000“ liegt nicht zwischen 0 und 1000."}, // out of range
        {kBakery, "speed", "1", "2", S::NotApplicable, "Das Feld „speed“ ist unbekannt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.key + " " + c.edited).toStdString());
        EditsFile file;
        file.buildings.push_back(
            {c.building, QStringLiteral("X"), {{c.key, c.fileGame, c.edited}}});
        const std::vector<ImportRow> rows = preview(data, file);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].status, c.status);
        EXPECT_EQ(rows[0].reason, c.reason);
    }
}

TEST_F(BuildingEditsTest, AConflictKeepsTheEditedOrTakesTheNewGameValue) {
    {
        XmlDocument original = loadDataFile(data, kOriginalAssetsFile);
        setElementText(selectNode(original.root(), "//Asset[Values/Standard/GUID=\"1010402\"]"
                                                   "/Values/Maintenance/Maintenances/Item/Amount"),
                       "10");
        original.save();
    }
    EditsFile file;
    file.buildings.push_back({kBakery, QStringLiteral("Baeckerei"), {{"upkeep", "60", "90"}}});
    for (const auto& [choice, expected] :
         {std::pair{ImportChoice::Skip, "60"}, std::pair{ImportChoice::Edited, "90"},
          std::pair{ImportChoice::Game, "10"}}) {
        const QString d = fresh("conflict");
        QFile::remove(dataFilePath(d, kOriginalAssetsFile));
        QFile::copy(dataFilePath(data, kOriginalAssetsFile), dataFilePath(d, kOriginalAssetsFile));
        const std::vector<ImportRow> rows = preview(d, file);
        ASSERT_EQ(rows[0].status, ImportStatus::Conflict);
        EXPECT_EQ(DefaultChoice(rows[0]), ImportChoice::Skip);
        ApplyImport(d, rows, {choice});
        EXPECT_EQ(LoadProductionSettings(d, kBakery).current.moneyAmount,
                  QString::fromLatin1(expected));
        QDir(d).removeRecursively();
    }
}

// One field in every relation of the value here, the game's value at the export, the file's
// value and the game's value here: what the row is, which choices it offers (the default first)
// and what each leaves. A value here that is not the game's is the player's own and is never
// overwritten unasked; a choice that would change nothing is not offered, and is not counted.
TEST_F(BuildingEditsTest, TheImportNeverOverwritesAValueUnasked) {
    struct Case {
        QString building, key;
        QString values; // the value here, the game's at the export, the file's, the game's here
        ImportStatus status;
        std::vector<std::pair<QString, QString>> choices; // text, the value it leaves
        QString value(int k) const { return values.split(u' ')[k]; }
        QString current() const { return value(0); }
        QString newGame() const { return value(3); }
    };
    using S = ImportStatus;
    const QString mine = QStringLiteral("meinen Wert behalten");
    const QString file = QStringLiteral("Wert aus der Datei übernehmen");
    const QString game = QStringLiteral("neuen Spielwert übernehmen");
    const QString keepGame = QStringLiteral("neuen Spielwert behalten");
    const QString skip = QStringLiteral("überspringen");
    const QString upkeep = QStringLiteral("upkeep");
    const Case cases[] = {
        // An untouched field takes the file's value.
        {kBakery, upkeep, "60 60 90 60", S::Apply, {{file, "90"}}},
        // A friend's file sets the fishery's output amount to 3; the player's own edit is 2.
        {kFishery, "outputAmount", "2 1 3 1", S::Conflict, {{mine, "2"}, {file, "3"}}},
        // The player's edit and a file that sets the game's value.
        {kBakery, upkeep, "75 60 60 60", S::Conflict, {{mine, "75"}, {file, "60"}}},
        // The player's edit, and the game changed the field.
        {kBakery, upkeep, "75 60 90 10", S::Conflict, {{mine, "75"}, {file, "90"}, {game, "10"}}},
        // The same, but the file holds the new game value: taking it is taking the file's.
        {kBakery, upkeep, "75 60 10 10", S::Conflict, {{mine, "75"}, {file, "10"}}},
        // The game changed the field and the value here is its new one: taking the new game
        // value would change nothing.
        {kBakery, upkeep, "10 60 90 10", S::Conflict, {{keepGame, "10"}, {file, "90"}}},
        {kBakery, upkeep, "90 60 90 10", S::AlreadySo, {{skip, "90"}}},
    };
    const auto setUp = [](const QString& d, const Case& c) {
        const char* amount = c.key == QStringLiteral("upkeep")
                                 ? "Values/Maintenance/Maintenances/Item/Amount"
                                 : "Values/FactoryBase/FactoryOutputs/Item/Amount";
        XmlDocument original = loadDataFile(d, kOriginalAssetsFile);
        setElementText(
            selectNode(original.root(), QStringLiteral("//Asset[Values/Standard/GUID=\"%1\"]/%2")
                                            .arg(c.building, QString::fromLatin1(amount))
                                            .toUtf8()
                                            .constData()),
            c.newGame().toUtf8().constData());
        original.save();
        edit(d, c.building, {{c.key, c.current()}});
    };
    const auto valueIn = [](const QString& d, const Case& c) {
        EditorFiles files(d);
        return FieldValue(LoadBuildingState(files, c.building), *FindEditField(c.key))->current;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.key + u' ' + c.values).toStdString());
        const QString d = fresh("three-way");
        setUp(d, c);
        EditsFile edits;
        edits.buildings.push_back(
            {c.building, QStringLiteral("X"), {{c.key, c.value(1), c.value(2)}}});
        const std::vector<ImportRow> rows = preview(d, edits);
        ASSERT_EQ(rows.size(), 1u);
        const ImportRow& row = rows[0];
        ASSERT_EQ(row.current, c.current());
        EXPECT_EQ(row.status, c.status);
        const std::vector<ImportChoice> offered = OfferedChoices(row);
        ASSERT_EQ(offered.size(), c.choices.size());
        EXPECT_EQ(DefaultChoice(row), offered.front());
        QDir(d).removeRecursively();

        // Each offered choice in a data directory of its own: the value it leaves, counted
        // only where it changed; the same rows applied again change and count nothing.
        for (std::size_t k = 0; k < c.choices.size(); ++k) {
            const ImportChoice choice = offered[k];
            EXPECT_EQ(ChoiceText(row, choice), c.choices[k].first);
            const QString e = fresh("choice");
            setUp(e, c);
            const ImportOutcome outcome = ApplyImport(e, rows, {choice});
            EXPECT_EQ(valueIn(e, c), c.choices[k].second) << c.choices[k].first.toStdString();
            EXPECT_EQ(outcome.fields, c.choices[k].second == c.current() ? 0 : 1);
            const auto before = snapshot(e);
            EXPECT_EQ(ApplyImport(e, rows, {choice}).fields, 0);
            EXPECT_EQ(snapshot(e), before);
            QDir(e).removeRecursively();
        }
        // A choice the row does not offer is refused; a conflict takes a preferred choice only
        // where it offers it.
        for (const ImportChoice choice : {ImportChoice::Edited, ImportChoice::Game}) {
            const bool isOffered =
                std::find(offered.begin(), offered.end(), choice) != offered.end();
            if (!isOffered) {
                EXPECT_THROW(ApplyImport(data, rows, {choice}), DataError);
            }
            if (row.status == S::Conflict) {
                EXPECT_EQ(DefaultChoice(row, choice), isOffered ? choice : ImportChoice::Skip);
            }
        }
    }
}

// Export, then import into a fresh data directory: the same bytes as editing by hand; a second
// import changes nothing.
TEST_F(BuildingEditsTest, ExportThenImportGivesTheEditedFilesAgainAndOnlyOnce) {
    // By hand, as the windows apply: the bakery's production and costs, ...
    ProductionSettings bakery = LoadProductionSettings(data, kBakery);
    bakery.current.inputs[0] = {kBoards, QStringLiteral("Bretter"), QStringLiteral("icon_planks")};
    bakery.current.outputAmount = QStringLiteral("2");
    bakery.current.electricMandatory = bakery.current.electricBoosted = QStringLiteral("1");
    ApplyProductionSettings(data, kBakery, bakery);
    CostSlots bakeryCosts = LoadCosts(data, kBakery).current;
    bakeryCosts[0].amount = QStringLiteral("500");
    bakeryCosts[2] = {QStringLiteral("9"), QStringLiteral("Bier"), kBeer,
                      QStringLiteral("icon_beer")};
    ApplyCosts(data, kBakery, bakeryCosts);
    // ... the grain farm's additional products, then its production window's "Annehmen", ...
    AdditionalProducts extra = LoadAdditionalProducts(data, kGrainFarm);
    extra.goods[1] = {kBeer, QStringLiteral("Bier"), QStringLiteral("icon_beer"),
                      QStringLiteral("1"), QStringLiteral("5")};
    const BuffApplyResult buff =
        ApplyAdditionalProducts(data, kGrainFarm, extra.goods, extra.fertilityGuid);
    ProductionSettings farm = LoadProductionSettings(data, kGrainFarm);
    farm.current.moduleRadius = QStringLiteral("20");
    farm.hasBuff = buff.hasBuff;
    ApplyProductionSettings(data, kGrainFarm, farm);
    // ... and the fishery's costs.
    CostSlots fisheryCosts = LoadCosts(data, kFishery).current;
    fisheryCosts[1].amount = QStringLiteral("150");
    ApplyCosts(data, kFishery, fisheryCosts);
    const EditsFile file = exported(data);
    ASSERT_EQ(file.buildings.size(), 3u);

    const QString other = fresh("other");
    const std::vector<ImportRow> rows = preview(other, file);
    std::vector<ImportChoice> choices;
    for (const ImportRow& row : rows) {
        EXPECT_EQ(row.status, ImportStatus::Apply) << row.key.toStdString();
        choices.push_back(DefaultChoice(row));
    }
    const ImportOutcome outcome = ApplyImport(other, rows, choices);
    EXPECT_EQ(outcome.buildings.size(), 3);
    EXPECT_EQ(editedFiles(other), editedFiles(data));

    const std::vector<ImportRow> again = preview(other, file);
    for (const ImportRow& row : again)
        EXPECT_EQ(row.status, ImportStatus::AlreadySo) << row.key.toStdString();
    const auto before = snapshot(other);
    std::vector<ImportChoice> none;
    for (const ImportRow& row : again)
        none.push_back(DefaultChoice(row, ImportChoice::Edited));
    EXPECT_EQ(ApplyImport(other, again, none).fields, 0);
    EXPECT_EQ(snapshot(other), before);
}

TEST_F(BuildingEditsTest, AFailingSaveLeavesEveryFileAsItWas) {
    edit(data, kBakery, {{"outputAmount", "2"}});
    edit(data, kFishery, {{"extra1", kBeer}});
    const EditsFile file = exported(data);
    const QString other = fresh("other");
    const std::vector<ImportRow> rows = preview(other, file);
    std::vector<ImportChoice> choices;
    for (const ImportRow& row : rows)
        choices.push_back(DefaultChoice(row));
    for (int failing = 1; failing <= 3; ++failing) {
        SCOPED_TRACE(failing);
        const auto before = snapshot(other);
        ScriptedWriter writer;
        writer.failWriteNumber = failing;
        EXPECT_THROW(ApplyImport(other, rows, choices, writer), DataError);
        EXPECT_EQ(snapshot(other), before);
    }
}

// A field the building's editor does not offer is not applicable, whatever its value; the import
// then writes nothing and marks nothing, the first time and the second.
TEST_F(BuildingEditsTest, FieldsTheBuildingsEditorDoesNotOfferAreNotApplicable) {
    struct Case {
        QString building, key, edited, reason;
    };
    const Case cases[] = {
        // The fishery's production window shows incidents only.
        {kFishery, "electricityRequired", "1",
         "Dieses Gebäude hat kein Feld „Elektrizität erforderlich“."},
        {kFishery, "electricityUsed", "1",
         "Dieses Gebäude hat kein Feld „Elektrizität verwenden“."},
        {kFishery, "moduleLimit", "10", "Dieses Gebäude hat kein Feld „Anzahl der Module“."},
        // A production building has no modules and no influence radius.
        {kBakery, "influenceRadius", "7", "Dieses Gebäude hat kein Feld „Nutzungsradius“."},
        {kBakery, "moduleLimit", "10", "Dieses Gebäude hat kein Feld „Anzahl der Module“."},
        {kBakery, "moduleRadius", "20", "Dieses Gebäude hat kein Feld „Modulradius“."},
        // A farm with modules has no influence radius, a free-area farm no modules.
        {kGrainFarm, "influenceRadius", "7", "Dieses Gebäude hat kein Feld „Nutzungsradius“."},
        {kHunter, "moduleLimit", "10", "Dieses Gebäude hat kein Feld „Anzahl der Module“."},
        {kHunter, "moduleRadius", "20", "Dieses Gebäude hat kein Feld „Modulradius“."},
        // A building without a group shows no side panel.
        {kOreMine, "incidents", "0", "Dieses Gebäude hat kein Feld „Zwischenfälle möglich“."},
        // The amount of an empty cost slot.
        {kBakery, "cost3Amount", "5",
         "„Baukosten Ware 3“ ist leer; ein Platz ohne Ware hat keine "
         "Menge."},
        {kFishery, "extra2Cycle", "5",
         "„Zusatzware 2“ ist leer; ein Platz ohne Ware hat keine "
         "Menge."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.building + " " + c.key).toStdString());
        EditsFile file;
        file.buildings.push_back({c.building, QStringLiteral("X"), {{c.key, "0", c.edited}}});
        const auto before = snapshot(data);
        for (int round = 0; round < 2; ++round) {
            const std::vector<ImportRow> rows = preview(data, file);
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(rows[0].status, ImportStatus::NotApplicable);
            EXPECT_EQ(rows[0].reason, c.reason);
            EXPECT_EQ(ApplyImport(data, rows, defaults(rows)).fields, 0);
            EXPECT_EQ(snapshot(data), before);
        }
    }
}

// Values the editor's controls can not produce together: each row shows what the field will
// hold or why it is not applicable; the import then holds what the preview said, a second
// import of the same file changes nothing, and import -> export -> import is a fixed point.
TEST_F(BuildingEditsTest, CombinationsTheEditorsCanNotProduceAreShownAsTheyWillBe) {
    using S = ImportStatus;
    struct Row {
        QString key, edited;
        S status;
        QString shown; // the row's edited value: what the field will hold
        QString reason;
    };
    struct Case {
        const char* what;
        QString building;
        std::vector<Row> rows; // in the file's order
    };
    const QString filledSlot = QStringLiteral("Ein Platz mit Ware hat mindestens 1; 0 wird zu 1.");
    const Case cases[] = {
        {"additional product with amount 0",
         kFishery,
         {{"extra1", kBeer, S::Apply, kBeer, ""},
          {"extra1Amount", "0", S::Apply, "1", filledSlot}}},
        {"additional product with cycle 0, the cycle first",
         kFishery,
         {{"extra1Cycle", "0", S::Apply, "1", filledSlot},
          {"extra1Amount", "4", S::Apply, "4", ""},
          {"extra1", kBeer, S::Apply, kBeer, ""}}},
        {"electricity required but not used",
         kBakery,
         {{"electricityUsed", "0", S::NotApplicable, "0",
           "„Elektrizität verwenden“ bleibt eingeschaltet, solange „Elektrizität erforderlich“ "
           "eingeschaltet ist."},
          {"electricityRequired", "1", S::Apply, "1", ""}}},
        {"electricity no longer required and not used, the use first",
         kGlasses,
         {{"electricityUsed", "0", S::Apply, "0", ""},
          {"electricityRequired", "0", S::Apply, "0", ""}}},
        {"cost good with amount 0",
         kBakery,
         {{"cost3Amount", "0", S::Apply, "1", filledSlot}, {"cost3", kBeer, S::Apply, kBeer, ""}}},
        {"leading zeros",
         kBakery,
         {{"upkeep", "0075", S::Apply, "75", ""},
          {"input1", "0" + kBoards, S::Apply, kBoards, ""},
          {"outputAmount", "002", S::Apply, "2", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString d = fresh("combination");
        EditsFile file;
        file.buildings.push_back({c.building, QStringLiteral("X"), {}});
        {
            EditorFiles files(d);
            const BuildingState state = LoadBuildingState(files, c.building);
            for (const Row& r : c.rows)
                file.buildings[0].fields.push_back(
                    {r.key, FieldValue(state, *FindEditField(r.key))->game, r.edited});
        }
        const std::vector<ImportRow> rows = preview(d, file);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(rows[i].key.toStdString());
            EXPECT_EQ(rows[i].status, c.rows[i].status);
            EXPECT_EQ(rows[i].edited, c.rows[i].shown);
            EXPECT_EQ(rows[i].reason, c.rows[i].reason);
        }
        ApplyImport(d, rows, defaults(rows));
        EditorFiles files(d);
        const BuildingState state = LoadBuildingState(files, c.building);
        for (const ImportRow& row : rows)
            if (row.status != S::NotApplicable)
                EXPECT_EQ(FieldValue(state, *FindEditField(row.key))->current, row.edited)
                    << row.key.toStdString();

        // The same file again changes nothing.
        for (const ImportRow& row : preview(d, file))
            EXPECT_TRUE(row.status == S::AlreadySo || row.status == S::NotApplicable)
                << row.key.toStdString();
        // Exported and imported into the game's data: the same files; and again: nothing.
        const EditsFile again = exported(d);
        const QString other = fresh("combination-again");
        const std::vector<ImportRow> againRows = preview(other, again);
        ApplyImport(other, againRows, defaults(againRows));
        EXPECT_EQ(editedFiles(other), editedFiles(d));
        for (const ImportRow& row : preview(other, again))
            EXPECT_EQ(row.status, S::AlreadySo) << row.key.toStdString();
        QDir(d).removeRecursively();
        QDir(other).removeRecursively();
    }
}

// Every building, every field its editor offers, set to another value the editor allows: the
// files then hold exactly what the preview said, and the same file again changes nothing.
TEST_F(BuildingEditsTest, EveryOfferedFieldOfEveryBuildingHoldsWhatThePreviewSaid) {
    EditsFile file;
    {
        EditorFiles files(data);
        for (const pugi::xml_node& e : files.index().root().children("Building")) {
            const BuildingEntry entry = BuildingEntry::fromElement(e);
            const BuildingState state = LoadBuildingState(files, entry.guid);
            EditedBuilding building{entry.guid, entry.local, {}};
            for (const EditField& field : EditFields()) {
                const std::optional<FieldValues> v = FieldValue(state, field);
                if (!v)
                    continue;
                QString value;
                switch (field.kind) {
                case FieldKind::Switch:
                    value = v->current == "1" ? "0" : "1";
                    break;
                case FieldKind::Number: {
                    const int n = v->current.toInt();
                    value = QString::number(n + 5 <= field.maximum ? n + 5 : field.minimum + 5);
                    break;
                }
                case FieldKind::Good:
                    value = field.key == "workforce" ? kFarmers
                            : field.key == "output"  ? kBeer
                                                     : kBoards;
                    if (value == v->current)
                        value = field.key == "workforce" ? QStringLiteral("1010115") : kBeer;
                    break;
                }
                building.fields.push_back({field.key, v->game, value});
            }
            file.buildings.push_back(std::move(building));
        }
    }
    const std::vector<ImportRow> rows = preview(data, file);
    ApplyImport(data, rows, defaults(rows));
    EditorFiles files(data);
    std::size_t set = 0;
    for (const ImportRow& row : rows) {
        if (row.status == ImportStatus::NotApplicable)
            continue;
        ++set;
        const BuildingState state = LoadBuildingState(files, row.guid);
        EXPECT_EQ(FieldValue(state, *FindEditField(row.key))->current, row.edited)
            << row.guid.toStdString() << " " << row.key.toStdString();
    }
    EXPECT_GT(set, 208u * 20);
    for (const ImportRow& row : PreviewImport(files, file))
        EXPECT_TRUE(row.status == ImportStatus::AlreadySo ||
                    row.status == ImportStatus::NotApplicable)
            << row.guid.toStdString() << " " << row.key.toStdString();
}

// A run killed after the working asset list was replaced but before the index was: importing
// again must still mark the building changed and end with the undisturbed result.
TEST_F(BuildingEditsTest, AnImportStoppedBetweenItsSavesIsCompletedByTheNext) {
    EditsFile file;
    file.buildings.push_back({kBakery, QStringLiteral("Baeckerei"), {{"outputAmount", "1", "2"}}});
    const auto importAll = [&](const QString& d) {
        const std::vector<ImportRow> rows = preview(d, file);
        std::vector<ImportChoice> choices;
        for (const ImportRow& row : rows)
            choices.push_back(DefaultChoice(row));
        ApplyImport(d, rows, choices);
    };
    importAll(data); // undisturbed
    const QString stopped = fresh("stopped");
    QFile::remove(dataFilePath(stopped, kWorkingAssetsFile));
    QFile::copy(dataFilePath(data, kWorkingAssetsFile), dataFilePath(stopped, kWorkingAssetsFile));
    ASSERT_EQ(preview(stopped, file).at(0).status, ImportStatus::AlreadySo);
    importAll(stopped);
    EXPECT_EQ(editedFiles(stopped), editedFiles(data));
}

} // namespace
