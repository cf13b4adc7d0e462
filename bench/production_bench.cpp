// Measures the production window on the shipped data, each beside its floor in the same run:
//
//   OpenFloor:    one load of every file the window reads (both asset lists, building index,
//                 product catalogue, field table, buff table);
//   OpenWindow:   the window loaded for a building: all documents loaded, every loader run,
//                 every control filled;
//   AcceptFloor:  one load of the files "Annehmen" reads (both asset lists, building index,
//                 product catalogue) and one atomic save of the two it writes;
//   Accept:       "Annehmen": the record rebuilt, both files saved all or nothing, the main
//                 window's list refreshed.
//
// Usage: production_bench [google benchmark flags]; runs offscreen unless a platform is set.
#include "app/Startup.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/XmlDocument.h"
#include "ui/BasicForm.h"
#include "ui/MainForm.h"
#include "ui/ProductForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace velmora;

namespace {

// The building of the runs: an industry building with inputs and electricity.
const QString kBuilding = QStringLiteral("1010280");

class NoDialogs final : public app::UserDialogs {
public:
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showError(const QString&, const QString& text) override {
        qFatal("%s", qPrintable(text)); // a benchmark of a failing operation measures nothing
    }
};

struct Setup {
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("XMLP"));
    NoDialogs dialogs;
    std::unique_ptr<ui::MainForm> main;
    std::unique_ptr<ui::ProductForm> picker;
    std::unique_ptr<ui::BasicForm> form;

    Setup() {
        const QDir shipped(QStringLiteral(VELMORA_SHIPPED_DATA));
        QDir().mkpath(data);
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), QDir(data).filePath(name));
        main = std::make_unique<ui::MainForm>(
            ui::MainFormSetup{data, dir.filePath(QStringLiteral("mods/")),
                              QStringLiteral("1.0.0.0"), dir.path()},
            dialogs);
        picker = std::make_unique<ui::ProductForm>(dialogs);
        form = std::make_unique<ui::BasicForm>(dialogs, *picker);
    }

    ui::EditorContext context() {
        const data::BuildingEntry b = *data::FindBuilding(data, kBuilding);
        // The main window's refresh after "Annehmen", as "Produktion" hands it over.
        const auto refresh = [this](int row) { main->RefreshAfterChange(row, true); };
        return {data, {b.guid, b.local, b.icon, b.region, 0, 1}, refresh};
    }
    QString file(const QString& name) const { return data::dataFilePath(data, name); }
};

Setup& setup() {
    static Setup s;
    return s;
}

void BM_OpenFloor(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state)
        for (const QString& name :
             {data::kOriginalAssetsFile, data::kWorkingAssetsFile, data::kBuildingIndexFile,
              data::kProductCatalogueFile, data::kFieldTableFile, data::kBuffTableFile})
            benchmark::DoNotOptimize(data::XmlDocument::load(s.file(name)));
}

void BM_OpenWindow(benchmark::State& state) {
    Setup& s = setup();
    const ui::EditorContext context = s.context();
    for (auto _ : state)
        if (!s.form->load(nullptr, context))
            state.SkipWithError("loading failed");
}

void BM_AcceptFloor(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        data::XmlDocument working = data::XmlDocument::load(s.file(data::kWorkingAssetsFile));
        data::XmlDocument index = data::XmlDocument::load(s.file(data::kBuildingIndexFile));
        benchmark::DoNotOptimize(data::XmlDocument::load(s.file(data::kOriginalAssetsFile)));
        benchmark::DoNotOptimize(data::XmlDocument::load(s.file(data::kProductCatalogueFile)));
        data::saveAllOrNothing({&working, &index});
    }
}

void BM_Accept(benchmark::State& state) {
    Setup& s = setup();
    const ui::EditorContext context = s.context();
    for (auto _ : state) {
        state.PauseTiming();
        s.form->load(nullptr, context);
        state.ResumeTiming();
        s.form->AcceptBtnClick();
    }
}

void BM_LoadSettings(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state)
        benchmark::DoNotOptimize(data::LoadProductionSettings(s.data, kBuilding));
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AcceptFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Accept)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data::LoadHelpTable(QStringLiteral(VELMORA_SHIPPED_DATA "/Help.xml"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
