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

} // namespace velmora::tools
