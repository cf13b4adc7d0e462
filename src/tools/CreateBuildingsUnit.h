#pragma once
// The runners of the data-preparation pipelines.
//
// Buildings pipeline, in this order: B2 to B6 (record extraction, merge and cleaning),
// B7 ResolveCostSlots, B8 InheritDerivedCosts, B9 InheritDerivedUpkeep, B10 NumberDefaultBuffs,
// B11 WriteBuildingIndex, B12 WriteNameComments, B1 WriteBuffTable, B13 WriteFieldTable,
// B14 CopyBuildingIcons, B15 WriteGroupList, B16 WriteChainList. The buff table comes after
// the asset lists are complete so that it always belongs to the lists of the same run.
//
// Whole data directory: "empty.xml" first (the products pipeline collects into it), then the
// products pipeline (the name comments need its catalogue), then the buildings pipeline.
#include "tools/CreateProductsUnit.h"
#include "tools/PrepCommon.h"

#include <functional>
#include <memory>

class QLockFile;

namespace velmora::tools {

void RunBuildingsPipeline(const PrepDirectories& dirs, const StepReporter& report);
// The buildings pipeline after the extraction: B7 to B16 with B1 after B12.
void RunAssetListSteps(const PrepDirectories& dirs, const StepReporter& report);
// Regenerates the whole data directory from ORG and the icon source; creates missing
// TMP, XMLP, PNG and WOR directories.
void RunAllPipelines(const PrepDirectories& dirs, const StepReporter& report);

// Makes sure the directories of a run exist: the program directory, ORG and the icon source
// always; TMP, XMLP, PNG and WOR (the hand-made icons, possibly empty) are created when
// createWorkDirectories is set, otherwise their absence is an error. Raises DataError naming the
// first missing directory.
void PrepareRunDirectories(const PrepDirectories& dirs, bool createWorkDirectories);

// A run's hold on its program directory: a lock file there, so that two runs never work in one
// directory at once. Taken at once or refused with a German message (DataError); released when
// the holder ends, and by the next run when the process that held it has died.
class ProgramDirLock {
public:
    explicit ProgramDirLock(const PrepDirectories& dirs);
    ~ProgramDirLock();
    ProgramDirLock(const ProgramDirLock&) = delete;
    ProgramDirLock& operator=(const ProgramDirLock&) = delete;

private:
    std::unique_ptr<QLockFile> lock_;
};

// Runs a pipeline whose data files go to a staging folder beside XMLP, filled first with a copy
// of XMLP; the staging folder replaces XMLP only when run returns. A run that stops leaves XMLP
// as it was, and a run killed while the folders are exchanged is put right by the next one.
void RunWithStagedDataDirectory(const PrepDirectories& dirs,
                                const std::function<void(const PrepDirectories&)>& run);

} // namespace velmora::tools
