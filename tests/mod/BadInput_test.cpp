// The bad-input catalogue of the mod operations: the fishery activated on a copy of the shipped
// data, then one data file damaged in one way, or the data or mods directory made unwritable,
// and "Aktivieren", "Deaktivieren" or "Reset" run again. Every case ends in a German message
// naming the damaged file or folder and leaves the data and mods directories as they were.
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "mod/BuildingReset.h"
#include "mod/ModTestSupport.h"
#include "support/BadInput.h"

#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString& kGuid = kCatalogueGuid;
const QString& kBuffGuid = kCatalogueBuffGuid;

struct ModOperation {
    const char* name;
    // Runs the operation; returns the German message it ends in ("" when it ends without one).
    std::function<QString(const ShippedData&)> run;
};

// The name the building list showed before the damage.
const QString kName = QStringLiteral("Fischerei");

const ModOperation kActivate{
    "Aktivieren", [](const ShippedData& d) {
        mod::ModRequest request{
            d.data, d.mods, kGuid, kName, QStringLiteral("20.1.3.0"), QStringLiteral("tester")};
        const mod::WrittenMod written = mod::WriteMod(request, d.pictures);
        return written.leftFolders.join(QLatin1Char(' '));
    }};
const ModOperation kDeactivate{"Deaktivieren", [](const ShippedData& d) {
                                   mod::RemoveMod(d.data, d.mods, kGuid, kName);
                                   return QString();
                               }};
const ModOperation kReset{
    "Reset", [](const ShippedData& d) {
        return mod::ResetBuilding(d.data, d.mods, kGuid, kName).join(QLatin1Char(' '));
    }};

using D = Damage;
// UTF-16 is left out: the file is still valid XML and the operation writes as usual.
const std::vector<Damage> kEveryDamage = {D::Missing,   D::Empty,         D::Truncated,
                                          D::Binary,    D::Utf16Cut,      D::Windows1252,
                                          D::WrongRoot, D::MissingRecord, D::NulAfterRoot};

struct FileRow {
    const ModOperation* operation; // what the user does
    QString file;                  // the data file damaged
    std::vector<Damage> skip;      // kinds that can not apply to the file
};

// "BuffsShort.xml" holds no umlaut; the catalogue and the field table have no record of the
// building (a product they lack is named "unbekannt" by design).
const std::vector<Damage> kNoRecord = {D::MissingRecord};
const std::vector<Damage> kAscii = {D::Windows1252};

const FileRow kRows[] = {
    {&kActivate, data::kWorkingAssetsFile, {}},
    {&kActivate, data::kBuildingIndexFile, {}},
    {&kActivate, data::kBuffTableFile, kAscii},
    {&kActivate, data::kProductCatalogueFile, kNoRecord},
    {&kActivate, data::kFieldTableFile, kNoRecord},
    {&kDeactivate, data::kBuildingIndexFile, {}},
    {&kReset, data::kWorkingAssetsFile, {}},
    {&kReset, data::kOriginalAssetsFile, {}},
    {&kReset, data::kBuildingIndexFile, {}},
    {&kReset, data::kBuffTableFile, kAscii},
};

using BadModCase = DamageCase<FileRow>;

QString runCatching(const ModOperation& op, const ShippedData& d) {
    try {
        return op.run(d);
    } catch (const data::DataError& e) {
        return e.message();
    }
}

class BadModInputTest : public ::testing::TestWithParam<BadModCase> {};

TEST_P(BadModInputTest, EndsInAGermanMessageNamingTheFileAndChangesNothing) {
    const BadModCase& c = GetParam();
    ShippedData d;
    d.activate(kGuid); // an active mod for every operation to replace or remove
    ASSERT_NO_FATAL_FAILURE(
        damageFile(d.file(c.row->file), c.damage, recordXPath(c.row->file, kGuid, kBuffGuid)));
    const auto before = snapshot(d.dir.path());
    expectGermanMessageNaming(runCatching(*c.row->operation, d), c.row->file);
    expectSameFiles(before, snapshot(d.dir.path()));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadModInputTest,
                         ::testing::ValuesIn(damageCases(kRows, kEveryDamage)),
                         [](const auto& info) { return damageCaseName(info.param); });

// A data or mods directory the disk refuses to change (chattr +i stops even the root user the
// tests run as): each operation ends in a German message naming the folder, and nothing is
// changed.
struct LockedFolderCase {
    const char* name;
    const ModOperation* operation;
    bool lockMods; // the mods directory is locked, else the data directory
};

const LockedFolderCase kLockedCases[] = {
    {"AktivierenDataDir", &kActivate, false},
    {"AktivierenModsDir", &kActivate, true},
    {"DeaktivierenDataDir", &kDeactivate, false},
    {"DeaktivierenModsDir", &kDeactivate, true},
    {"ResetDataDir", &kReset, false},
    {"ResetModsDir", &kReset, true},
};

void PrintTo(const LockedFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class LockedFolderTest : public ::testing::TestWithParam<LockedFolderCase> {};

TEST_P(LockedFolderTest, EndsInAGermanMessageNamingTheFolderAndChangesNothing) {
    const LockedFolderCase& c = GetParam();
    ShippedData d;
    d.activate(kGuid);
    const auto before = snapshot(d.dir.path());
    QString message;
    {
        const Immutable locked(c.lockMods ? d.mods : d.data);
        if (!locked.held()) {
            GTEST_SKIP() << "chattr +i is not permitted here: read-only folders not tested";
        }
        message = runCatching(*c.operation, d);
    }
    expectGermanMessageNaming(message,
                              c.lockMods ? QStringLiteral("mods") : QStringLiteral("XMLP"));
    expectSameFiles(before, snapshot(d.dir.path()));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, LockedFolderTest, ::testing::ValuesIn(kLockedCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
