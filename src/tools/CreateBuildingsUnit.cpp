#include "tools/CreateBuildingsUnit.h"

#include "data/DataError.h"
#include "tools/BuildingExtraction.h"
#include "tools/CostsAndUpkeep.h"
#include "tools/CreateProductsUnit.h"
#include "tools/IndexAndTables.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::tools {

namespace {

struct Step {
    const char* id;
    const char* operation;
    void (*run)(const PrepDirectories&);
};

// The steps after the extraction, in the order they run.
constexpr Step kAssetListSteps[] = {
    {"B7", "ResolveCostSlots", ResolveCostSlots},
    {"B8", "InheritDerivedCosts", InheritDerivedCosts},
    {"B9", "InheritDerivedUpkeep", InheritDerivedUpkeep},
    {"B10", "NumberDefaultBuffs", NumberDefaultBuffs},
    {"B11", "WriteBuildingIndex", WriteBuildingIndex},
    {"B12", "WriteNameComments", WriteNameComments},
    {"B1", "WriteBuffTable", WriteBuffTable},
    {"B13", "WriteFieldTable", WriteFieldTable},
    {"B14", "CopyBuildingIcons", CopyBuildingIcons},
    {"B15", "WriteGroupList", WriteGroupList},
    {"B16", "WriteChainList", WriteChainList},
};

} // namespace

void RunBuildingsPipeline(const PrepDirectories& dirs, const StepReporter& report) {
    RunExtractionSteps(dirs, report);
    RunAssetListSteps(dirs, report);
}

void RunAssetListSteps(const PrepDirectories& dirs, const StepReporter& report) {
    for (const Step& step : kAssetListSteps) {
        reportStep(report, step.id, step.operation);
        step.run(dirs);
    }
}

void RunAllPipelines(const PrepDirectories& dirs, const StepReporter& report) {
    PrepareRunDirectories(dirs, true);
    WriteEmptyAssetList(dirs);
    RunProductsPipeline(dirs, report);
    RunBuildingsPipeline(dirs, report);
}

void PrepareRunDirectories(const PrepDirectories& dirs, bool createWorkDirectories) {
    requireDirectories({dirs.programDir, dirs.org(), dirs.iconSourceDir});
    for (const QString& dir : {dirs.tmp(), dirs.xmlp(), dirs.png(), dirs.wor()}) {
        if (createWorkDirectories && !QFileInfo(dir).isDir() && !QDir().mkpath(dir))
            throw data::DataError(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.")
                                      .arg(data::quotedPath(dir)));
        requireDirectories({dir});
    }
}

} // namespace velmora::tools
