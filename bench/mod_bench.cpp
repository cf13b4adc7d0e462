// Measures one activation ("Aktivieren") and one deactivation ("Deaktivieren") of the fishery on
// the shipped data files, each beside its floor measured in the same run, and "Alle aktivieren"
// of all 208 buildings beside 208 times the floor. The pictures come from the program's own
// picture store (resources/pictures), as in the program.
//
// - ActivationFloor: the five data files the activation reads, read and parsed plainly (no
//   query), and the same five files it writes (assets.xml, the marked icon, "Buff.png",
//   modinfo.json into a fresh folder, "Active.png" beside the data) with the same bytes and the
//   same durability: each written anew and flushed to the disk by the program's file writer,
//   "Active.png" renamed over the old one. The previous folder is deleted first, as the
//   activation deletes the old mod. No record preparation, no re-format, no pictures drawn or
//   encoded, no read-back, no swap. The index is not written: a repeated activation leaves its
//   flag as it is.
// - DeactivationFloor: the building index read and parsed plainly, the mod folder deleted, the
//   index written plainly.
// - ActivateAll: every building of the index marked changed, then "Alle aktivieren" over all of
//   them (their old mods replaced from the second round on; before each round every mod is made
//   stale outside the timing, since a current mod is left as it is); ActivateAllFloor: the floor
//   above for each of them, with each building's own bytes.
// - StaleMarks: the main window's stale marks of one list (StaleRows), every building of it with
//   an active, current mod: the list of the start (the farms of the first region, 15 buildings)
//   and the list "exportierte Gebäude" of all 208.
//
// Usage: mod_bench [google benchmark flags]
#include "data/BuildingBrowser.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/FileAccess.h"
#include "data/FileWriter.h"
#include "mod/BulkActivation.h"
#include "mod/ModFolder.h"
#include "mod/ModWriter.h"
#include "ui/ImageCollection.h"
#include "ui/ModPictures.h"
#include "ui/StaleModMarks.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

namespace {

using namespace velmora;

const QString kFishery = QStringLiteral("1010278");
const QString kName = QStringLiteral("Fischerei");

QByteArray readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writePlain(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// A data directory copied from the shipped files, with the fishery's buff entry set so that the
// activation writes the buff block too.
struct Workplace {
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("XMLP"));
    QString mods = dir.filePath(QStringLiteral("mods"));
    ui::ImageCollection collection{QStringLiteral(VELMORA_SOURCE_DIR "/resources/pictures")};
    ui::CollectionPictures pictures{collection};

    Workplace() {
        QDir().mkpath(data);
        QDir().mkpath(mods);
        const QDir shipped(QStringLiteral(VELMORA_SOURCE_DIR "/resources/data/XMLP"));
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), data + QLatin1Char('/') + name);
        const QString buffs = data + QStringLiteral("/BuffsShort.xml");
        QByteArray bytes = readAll(buffs);
        bytes.replace("<Buff GUID=\"2000502800\" P0=\"0\"",
                      "<Buff GUID=\"2000502800\" P0=\"1010196\"");
        const qsizetype entry = bytes.indexOf("GUID=\"2000502800\"");
        const qsizetype set = bytes.indexOf("Set=\"0\"", entry);
        bytes.replace(set, 7, "Set=\"1\"");
        writePlain(buffs, bytes);
    }
    mod::ModRequest request() const {
        return {data, mods, kFishery, kName, QStringLiteral("20.1.3.0"), QStringLiteral("bench")};
    }
    QString file(const QString& name) const { return data + QLatin1Char('/') + name; }
};

void Activation(benchmark::State& state) {
    Workplace w;
    for (auto _ : state)
        benchmark::DoNotOptimize(mod::WriteMod(w.request(), w.pictures));
}

// The files one activation of the building writes, taken from a real activation.
struct Output {
    QString path;
    QByteArray bytes;
};
std::vector<Output> activationOutputs(const Workplace& w, const mod::WrittenMod& written,
                                      const QString& guid, const QString& plain) {
    std::vector<Output> outputs;
    for (const QString& relative :
         {QStringLiteral("data/config/export/main/asset/assets.xml"),
          QStringLiteral("data/icon/icon_") + guid + QStringLiteral(".png"),
          QStringLiteral("data/icon/Buff.png"), QStringLiteral("modinfo.json")})
        outputs.push_back({plain + QLatin1Char('/') + relative,
                           readAll(written.folder + QLatin1Char('/') + relative)});
    return outputs;
}

// The floor of one activation: the inputs read and parsed, the old folder deleted, the outputs
// written with the durability of the file layer.
void floorOnce(const Workplace& w, const QString& plain, const std::vector<Output>& outputs,
               const QByteArray& activePicture) {
    static const QStringList inputs = {data::kWorkingAssetsFile, data::kProductCatalogueFile,
                                       data::kBuildingIndexFile, data::kBuffTableFile,
                                       data::kFieldTableFile};
    for (const QString& name : inputs) {
        const QByteArray bytes = readAll(w.file(name));
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(bytes.constData(), size_t(bytes.size())));
    }
    QDir(plain).removeRecursively();
    QDir().mkpath(plain + QStringLiteral("/data/config/export/main/asset"));
    QDir().mkpath(plain + QStringLiteral("/data/icon"));
    for (const Output& o : outputs)
        data::diskWriter().writeNew(o.path, o.bytes);
    data::writeFileAtomically(w.file(data::kActivePictureFile), activePicture);
}

void ActivationFloor(benchmark::State& state) {
    Workplace w;
    const mod::WrittenMod written = mod::WriteMod(w.request(), w.pictures);
    const QString plain = w.mods + QStringLiteral("/plain");
    const std::vector<Output> outputs = activationOutputs(w, written, kFishery, plain);
    const QByteArray active = readAll(w.file(data::kActivePictureFile));
    for (auto _ : state)
        floorOnce(w, plain, outputs, active);
}

// Every building of the index, marked changed.
std::vector<data::BuildingEntry> markAllChanged(const Workplace& w) {
    std::vector<data::BuildingEntry> all;
    data::XmlDocument index = data::loadDataFile(w.data, data::kBuildingIndexFile);
    for (pugi::xml_node e : index.root().children("Building")) {
        data::setAttributeAt(e, data::kBuildingIsChanged, "true");
        all.push_back(data::BuildingEntry::fromElement(e));
    }
    index.save();
    return all;
}

mod::BulkRequest bulkRequest(const Workplace& w) {
    return {w.data, w.mods, QStringLiteral("20.1.3.0"), QStringLiteral("bench")};
}

// Every mod's assets.xml one comment longer, so that "Alle aktivieren" writes each anew.
void makeModsStale(const Workplace& w) {
    for (QDirIterator it(w.mods, {QStringLiteral("assets.xml")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile f(it.next());
        f.open(QIODevice::Append);
        f.write("<!-- alt -->\r\n");
    }
}

void ActivateAll(benchmark::State& state) {
    Workplace w;
    const std::size_t buildings = markAllChanged(w).size();
    for (auto _ : state) {
        state.PauseTiming();
        makeModsStale(w);
        state.ResumeTiming();
        const mod::BulkReport report = mod::ActivateAll(bulkRequest(w), w.pictures, {});
        for (const mod::BulkOutcome& o : report.outcomes)
            if (!o.done)
                state.SkipWithError(o.reason.toStdString().c_str());
    }
    state.counters["buildings"] = double(buildings);
}

void ActivateAllFloor(benchmark::State& state) {
    Workplace w;
    const std::vector<data::BuildingEntry> all = markAllChanged(w);
    mod::ActivateAll(bulkRequest(w), w.pictures, {});
    struct Building {
        QString plain;
        std::vector<Output> outputs;
    };
    std::vector<Building> buildings;
    for (const data::BuildingEntry& b : all) {
        const mod::WrittenMod written = mod::WriteMod(
            {w.data, w.mods, b.guid, b.local, QStringLiteral("20.1.3.0"), QStringLiteral("bench")},
            w.pictures);
        const QString plain = w.mods + QStringLiteral("/plain ") + b.guid;
        buildings.push_back({plain, activationOutputs(w, written, b.guid, plain)});
    }
    const QByteArray active = readAll(w.file(data::kActivePictureFile));
    for (auto _ : state)
        for (const Building& b : buildings)
            floorOnce(w, b.plain, b.outputs, active);
    state.counters["buildings"] = double(buildings.size());
}

void StaleMarks(benchmark::State& state) {
    Workplace w;
    markAllChanged(w);
    mod::ActivateAll(bulkRequest(w), w.pictures, {});
    const data::XmlDocument index = data::loadDataFile(w.data, data::kBuildingIndexFile);
    const std::vector<data::BuildingEntry> rows =
        state.range(0) == 0
            ? data::BrowseBuildings(index, 0, 2, QStringLiteral("Farmen"))
            : data::BrowseBuildings(index, 0, data::kExportedPseudoGroup, QString());
    for (auto _ : state)
        if (!ui::StaleRows(w.data, w.mods, rows).isEmpty())
            state.SkipWithError("a current mod was marked stale");
    state.counters["rows"] = double(rows.size());
}

void Deactivation(benchmark::State& state) {
    Workplace w;
    for (auto _ : state) {
        state.PauseTiming();
        mod::WriteMod(w.request(), w.pictures);
        state.ResumeTiming();
        mod::RemoveMod(w.data, w.mods, kFishery, kName);
    }
}

void DeactivationFloor(benchmark::State& state) {
    Workplace w;
    const QString folder = mod::ActiveModFolder(w.mods, kFishery, kName);
    for (auto _ : state) {
        state.PauseTiming();
        mod::WriteMod(w.request(), w.pictures); // the same fresh mod as the deactivation removes
        state.ResumeTiming();
        const QByteArray index = readAll(w.file(data::kBuildingIndexFile));
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(index.constData(), size_t(index.size())));
        QDir(folder).removeRecursively();
        writePlain(w.file(data::kBuildingIndexFile), index);
    }
}

// Fixed counts: the deactivations write a mod before each run, outside the timing, which would
// make an automatic count take minutes.
BENCHMARK(Activation)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(ActivationFloor)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(Deactivation)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(DeactivationFloor)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(ActivateAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ActivateAllFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(StaleMarks)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    // The picture store needs a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
