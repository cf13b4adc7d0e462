// Any bytes as the building index and as the group list: every reader ends in a result or
// DataError.
#include "FuzzSupport.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString dir = fuzz::scratchDir();
    fuzz::writeScratchFile(data::kBuildingIndexFile, data, size);
    fuzz::writeScratchFile(data::kGroupListFile, data, size);
    const auto attempt = [](const auto& read) {
        try {
            read();
        } catch (const data::DataError&) {
        }
    };
    attempt([&] {
        const QStringList groups = data::ReadGroupNames(dir);
        for (qsizetype i = 0; i < groups.size() && i < 8; ++i)
            data::ListBuildings(dir, 0, static_cast<int>(i), groups[i]);
    });
    attempt([&] { data::ListBuildings(dir, -1, data::kChangedPseudoGroup, QString()); });
    attempt([&] { data::ListBuildings(dir, 2, data::kExportedPseudoGroup, QString()); });
    attempt([&] { data::ListBuildings(dir, 0, 3, QStringLiteral("Farm's \"Haus\"")); });
    attempt([&] { data::FindBuilding(dir, QStringLiteral("1010343")); });
    attempt([&] { data::FindBuilding(dir, QStringLiteral("a'b")); });
    return 0;
}
