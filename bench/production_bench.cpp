// Measures the production window on the shipped data, each operation beside its floor, the two
// run back to back in every iteration:
//
//   OpenWindow: the window loaded for a building (all documents loaded, every loader run, every
//               control filled); floor: one load of every file it reads (both asset lists,
//               building index, product catalogue, field table, buff table).
//   Accept:     "Annehmen" (the record rebuilt, both files saved all or nothing, the main
//               window's list refreshed); floor: one load of the files it reads (both asset
//               lists, building index, product catalogue) and one atomic save of the two it
//               writes.
//
// Usage: production_bench [google benchmark flags]; runs offscreen unless a platform is set.
#include "app/Startup.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/XmlDocument.h"
#include "ui/MainWindow.h"
#include "ui/ProductPickerWindow.h"
#include "ui/ProductionWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
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
    void showNotice(const QString&, const QString&) override {}
};

struct Setup {
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("XMLP"));
    NoDialogs dialogs;
    std::unique_ptr<ui::MainWindow> main;
    std::unique_ptr<ui::ProductPickerWindow> picker;
    std::unique_ptr<ui::ProductionWindow> form;

    Setup() {
        const QDir shipped(QStringLiteral(VELMORA_SHIPPED_DATA));
        QDir().mkpath(data);
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), QDir(data).filePath(name));
        main = std::make_unique<ui::MainWindow>(
            ui::MainWindowSetup{data, dir.filePath(QStringLiteral("mods/")),
                                QStringLiteral("1.0.0.0"), dir.path(), data::ReadGroupNames(data)},
            dialogs);
        picker = std::make_unique<ui::ProductPickerWindow>(dialogs);
        form = std::make_unique<ui::ProductionWindow>(dialogs, *picker);
    }

    ui::EditorContext context() {
        const data::BuildingEntry b = *data::FindBuilding(data, kBuilding);
        // The main window's refresh after "Annehmen", as "Produktion" hands it over.
        const auto refresh = [this](int row) { main->RefreshAfterChange(row, true); };
        return {data, {b.guid, b.local, b.icon, b.region, 0, 1}, refresh};
    }
    QString file(const QString& name) const { return data::dataFilePath(data, name); }
};

Setup* current = nullptr;
Setup& setup() {
    return *current;
}

// The loads of the production window's show step, and nothing else.
void openFloor(Setup& s) {
    for (const QString& name :
         {data::kOriginalAssetsFile, data::kWorkingAssetsFile, data::kBuildingIndexFile,
          data::kProductCatalogueFile, data::kFieldTableFile, data::kBuffTableFile})
        benchmark::DoNotOptimize(data::XmlDocument::load(s.file(name)));
}

// The loads of "Annehmen" and one atomic save of the two files it writes.
void acceptFloor(Setup& s) {
    data::XmlDocument working = data::XmlDocument::load(s.file(data::kWorkingAssetsFile));
    data::XmlDocument index = data::XmlDocument::load(s.file(data::kBuildingIndexFile));
    benchmark::DoNotOptimize(data::XmlDocument::load(s.file(data::kOriginalAssetsFile)));
    benchmark::DoNotOptimize(data::XmlDocument::load(s.file(data::kProductCatalogueFile)));
    data::saveAllOrNothing({&working, &index});
}

// Wall and CPU time of one call.
struct Timing {
    double wall = 0, cpu = 0;
};
template <class F> Timing timed(F&& f) {
    timespec c0{}, c1{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c0);
    const auto w0 = std::chrono::steady_clock::now();
    f();
    const auto w1 = std::chrono::steady_clock::now();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c1);
    return {std::chrono::duration<double>(w1 - w0).count(),
            (c1.tv_sec - c0.tv_sec) + (c1.tv_nsec - c0.tv_nsec) / 1e9};
}

// Each iteration runs the floor and the operation back to back, so that both see the same load
// of the machine; the iteration time is the operation's, the counters give the floor and the
// ratios (wall and CPU time).
template <class Floor, class Operation, class Prepare>
void beside(benchmark::State& state, Floor floor, Operation operation, Prepare prepare) {
    Timing floorSum, opSum;
    for (auto _ : state) {
        const Timing f = timed(floor);
        prepare();
        const Timing o = timed(operation);
        floorSum.wall += f.wall;
        floorSum.cpu += f.cpu;
        opSum.wall += o.wall;
        opSum.cpu += o.cpu;
        state.SetIterationTime(o.wall);
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = 1000 * floorSum.wall / n;
    state.counters["floor_cpu_ms"] = 1000 * floorSum.cpu / n;
    state.counters["op_cpu_ms"] = 1000 * opSum.cpu / n;
    state.counters["ratio"] = opSum.wall / floorSum.wall;
    state.counters["cpu_ratio"] = opSum.cpu / floorSum.cpu;
}

void BM_OpenWindow(benchmark::State& state) {
    Setup& s = setup();
    const ui::EditorContext context = s.context();
    beside(
        state, [&] { openFloor(s); },
        [&] {
            if (!s.form->load(nullptr, context))
                state.SkipWithError("loading failed");
        },
        [] {});
}

void BM_Accept(benchmark::State& state) {
    Setup& s = setup();
    const ui::EditorContext context = s.context();
    beside(
        state, [&] { acceptFloor(s); }, [&] { s.form->AcceptBtnClick(); },
        [&] { s.form->load(nullptr, context); });
}

BENCHMARK(BM_OpenWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Accept)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data::LoadHelpTable(QStringLiteral(VELMORA_SHIPPED_DATA "/Help.xml"));
    {
        Setup s; // the windows go before the application does
        current = &s;
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        current = nullptr;
    }
    return 0;
}
