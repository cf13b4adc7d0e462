#include "tools/CreateBuildingsUnit.h"

#include "data/DataError.h"
#include "data/FileTree.h"
#include "data/FileWriter.h"
#include "tools/BuildingExtraction.h"
#include "tools/CostsAndUpkeep.h"
#include "tools/CreateProductsUnit.h"
#include "tools/IndexAndTables.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

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

namespace {

const QString kLockFileName = QStringLiteral(".velmora-dataprep.lock");
const QString kOldFolderSuffix = QStringLiteral(".cindral-alt");

// Removes what stands at path. A link there is removed as a link: the folder it points to is
// not the run's, and what it holds stays.
void removeFolder(const QString& path) {
    if (!data::removeTree(path))
        throw data::DataError(QStringLiteral("Der Ordner %1 kann nicht gelöscht werden.")
                                  .arg(data::quotedPath(path)));
}

void renameFolder(const QString& from, const QString& to) {
    if (!QDir().rename(from, to))
        throw data::DataError(QStringLiteral("Der Ordner %1 kann nicht in %2 umbenannt werden.")
                                  .arg(data::quotedPath(from), data::quotedPath(to)));
}

// Copies every file below from to the same place below to, keeping its modification time, so
// that a file the run does not write looks untouched afterwards.
void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString target = to + QDir(from).relativeFilePath(source.filePath());
        QFile copy(target);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source.filePath(), target) ||
            !copy.open(QIODevice::ReadWrite) ||
            !copy.setFileTime(source.lastModified(), QFileDevice::FileModificationTime))
            throw data::DataError(
                QStringLiteral("Die Datei %1 kann nicht in den Ordner %2 kopiert werden.")
                    .arg(data::quotedPath(source.filePath()), data::quotedPath(to)));
    }
}

} // namespace

ProgramDirLock::ProgramDirLock(const PrepDirectories& dirs)
    : lock_(std::make_unique<QLockFile>(dirs.programDir + kLockFileName)) {
    // Only a holder that died frees the lock early, never the age of a long run.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return;
    if (lock_->error() == QLockFile::LockFailedError)
        throw data::DataError(
            QStringLiteral("Im Programmverzeichnis %1 läuft bereits eine Datenaufbereitung. "
                           "Warten Sie, bis sie beendet ist, und starten Sie diese dann erneut.")
                .arg(data::quotedPath(dirs.programDir)));
    throw data::DataError(
        QStringLiteral("Das Programmverzeichnis %1 kann nicht gesperrt werden (Sperrdatei %2).")
            .arg(data::quotedPath(dirs.programDir), kLockFileName));
}

ProgramDirLock::~ProgramDirLock() = default;

void RunWithStagedDataDirectory(const PrepDirectories& dirs,
                                const std::function<void(const PrepDirectories&)>& run) {
    QString dataDir = dirs.xmlp();
    dataDir.chop(1); // without the trailing separator
    const QString staging = dataDir + data::kNewFileSuffix;
    const QString old = dataDir + kOldFolderSuffix;

    // A run killed between the two renames below left XMLP aside: it is put back. One killed
    // after them left the old folder behind.
    if (!QFileInfo::exists(dataDir) && QFileInfo(old).isDir())
        renameFolder(old, dataDir);
    removeFolder(old);
    removeFolder(staging);

    if (!QDir().mkpath(staging))
        throw data::DataError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                                  .arg(data::quotedPath(staging)));
    PrepDirectories staged = dirs;
    staged.dataDir = staging + u'/';
    try {
        copyFolder(dirs.xmlp(), staged.dataDir);
        run(staged);
    } catch (...) {
        data::removeTree(staging);
        throw;
    }

    renameFolder(dataDir, old);
    try {
        renameFolder(staging, dataDir);
    } catch (...) {
        QDir().rename(old, dataDir);
        throw;
    }
    data::removeTree(old); // what stays is removed by the next run
}

} // namespace velmora::tools
