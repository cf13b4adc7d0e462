// Measures one activation ("Aktivieren") and one deactivation ("Deaktivieren") of the fishery on
// the shipped data files, each beside its floor measured in the same run:
//
// - ActivationFloor: the five data files the activation reads, read and parsed plainly (no
//   query), and the same six files it writes (assets.xml, the marked icon, "Buff.png",
//   "Active.png", modinfo.json, the building index) written plainly with the same bytes into a
//   fresh folder: no record preparation, no re-format, no pictures drawn or encoded, no
//   temporary folder, no read-back, no swap.
// - DeactivationFloor: the building index read and parsed plainly, the mod folder deleted, the
//   index written plainly.
//
// Usage: mod_bench [google benchmark flags]
#include "data/DataFiles.h"
#include "mod/ModFolder.h"
#include "mod/ModWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

namespace {

using namespace velmora;

const QString kFishery = QStringLiteral("1010278");
const QString kName = QStringLiteral("Fischerei");

// The program's own pictures, read from the folder the executable embeds them from and kept once
// read, as the program's picture store keeps them.
class FolderPictures final : public mod::NamedPictures {
public:
    explicit FolderPictures(const QString& folder) {
        QDirIterator files(folder, {QStringLiteral("*.png")}, QDir::Files);
        while (files.hasNext()) {
            const QString path = files.next();
            files_.insert(QFileInfo(path).completeBaseName().toLower(), path);
        }
    }
    QImage picture(const QString& name, QSize size) const override {
        const QString path = files_.value(name.toLower());
        if (path.isEmpty())
            return {};
        auto loaded = loaded_.constFind(path);
        if (loaded == loaded_.constEnd())
            loaded = loaded_.insert(path, QImage(path));
        return loaded->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

private:
    QHash<QString, QString> files_;
    mutable QHash<QString, QImage> loaded_;
};

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
    FolderPictures pictures{QStringLiteral(VELMORA_SOURCE_DIR "/resources/pictures")};

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

void ActivationFloor(benchmark::State& state) {
    Workplace w;
    // The bytes of one real activation, written plainly on every iteration.
    const mod::WrittenMod written = mod::WriteMod(w.request(), w.pictures);
    struct Out {
        QString path;
        QByteArray bytes;
    };
    std::vector<Out> outputs;
    for (const char* relative :
         {"data/config/export/main/asset/assets.xml", "data/icon/icon_1010278.png",
          "data/icon/Buff.png", "modinfo.json"}) {
        const QString path = written.folder + QLatin1Char('/') + QString::fromLatin1(relative);
        outputs.push_back(
            {w.mods + QStringLiteral("/plain/") + QString::fromLatin1(relative), readAll(path)});
    }
    outputs.push_back(
        {w.file(data::kActivePictureFile), readAll(w.file(data::kActivePictureFile))});
    outputs.push_back(
        {w.file(data::kBuildingIndexFile), readAll(w.file(data::kBuildingIndexFile))});
    const QStringList inputs = {data::kWorkingAssetsFile, data::kProductCatalogueFile,
                                data::kBuildingIndexFile, data::kBuffTableFile,
                                data::kFieldTableFile};
    for (auto _ : state) {
        for (const QString& name : inputs) {
            const QByteArray bytes = readAll(w.file(name));
            pugi::xml_document doc;
            benchmark::DoNotOptimize(doc.load_buffer(bytes.constData(), size_t(bytes.size())));
        }
        QDir(w.mods + QStringLiteral("/plain")).removeRecursively();
        QDir().mkpath(w.mods + QStringLiteral("/plain/data/config/export/main/asset"));
        QDir().mkpath(w.mods + QStringLiteral("/plain/data/icon"));
        for (const Out& o : outputs)
            writePlain(o.path, o.bytes);
    }
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
