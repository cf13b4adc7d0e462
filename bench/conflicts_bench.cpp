// The scan of the other mods on a mods directory of 5,000 generated mod folders, each with an
// assets.xml of 1 to 200 ModOps (merge, replace and add by Path or GUID, as mods write them) and
// a modinfo.json, beside reading the same files plainly; and the listing of the program's names
// there. The folders are generated once into VELMORA_BENCH_DATA/mods-5000.
#include "mod/ForeignMods.h"
#include "mod/ModFolder.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <random>
#include <sys/resource.h>

namespace {

constexpr int kMods = 5000;

QString modsDir() {
    const QString dir = QStringLiteral(VELMORA_BENCH_DATA "/mods-5000");
    if (QFileInfo::exists(dir + QStringLiteral("/.complete")))
        return dir;
    QDir(dir).removeRecursively();
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> ops(1, 200), guid(1000, 2000000), kind(0, 3);
    for (int m = 0; m < kMods; ++m) {
        const QString folder = dir + QStringLiteral("/Mod %1").arg(m, 4, 10, QLatin1Char('0'));
        QDir().mkpath(folder + QStringLiteral("/data/config/export/main/asset"));
        QByteArray xml = "<ModOps>\n";
        for (int k = ops(random); k > 0; --k) {
            const QByteArray g = QByteArray::number(guid(random));
            switch (kind(random)) {
            case 0:
                xml += "  <ModOp Type=\"merge\" Path=\"//Asset[Values/Standard/GUID='" + g +
                       "']/Values/FactoryBase\">\n    <FactoryBase><CycleTime>30</CycleTime>"
                       "</FactoryBase>\n  </ModOp>\n";
                break;
            case 1:
                xml += "  <ModOp Type=\"replace\" Path=\"//Asset[Values/Standard/GUID='" + g +
                       "']/Values/Maintenance/Maintenances/Item[Product='1010017']/Amount\">\n"
                       "    <Amount>15</Amount>\n  </ModOp>\n";
                break;
            case 2:
                xml += "  <ModOp Type=\"add\" GUID=\"" + g +
                       "\" Path=\"/Values/Cost/Costs\">\n    <Item><Ingredient>1010196</Ingredient>"
                       "<Amount>4</Amount></Item>\n  </ModOp>\n";
                break;
            default:
                xml += "  <ModOp Type=\"addNextSibling\" GUID=\"" + g +
                       "\">\n    <Asset><Template>GuildhouseBuff</Template><Values><Standard>"
                       "<GUID>" +
                       QByteArray::number(guid(random)) +
                       "</GUID><Name>Buff</Name></Standard></Values></Asset>\n  </ModOp>\n";
            }
        }
        xml += "</ModOps>\n";
        QFile assets(folder + QStringLiteral("/data/config/export/main/asset/assets.xml"));
        assets.open(QIODevice::WriteOnly);
        assets.write(xml);
        QFile info(folder + QStringLiteral("/modinfo.json"));
        info.open(QIODevice::WriteOnly);
        info.write("{\"Version\": \"1.0\", \"ModName\": {\"German\": \"Mod " +
                   QByteArray::number(m) + "\", \"English\": \"Mod " + QByteArray::number(m) +
                   "\"}}\n");
    }
    QFile(dir + QStringLiteral("/.complete")).open(QIODevice::WriteOnly);
    return dir;
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ScanForeignMods(benchmark::State& state) {
    const QString dir = modsDir();
    const long before = peakKiB();
    for (auto _ : state) {
        const velmora::mod::ForeignMods mods = velmora::mod::ScanForeignMods(dir);
        benchmark::DoNotOptimize(mods.changes.size());
        state.counters["mods"] = mods.modCount;
        state.counters["changes"] = double(mods.changes.size());
    }
    state.counters["peak_rss_MiB"] = double(peakKiB()) / 1024.0;
    state.counters["peak_growth_MiB"] = double(peakKiB() - before) / 1024.0;
}
BENCHMARK(BM_ScanForeignMods)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor: the same files, found by the same folder listing, read into memory and not parsed.
void BM_ReadSameBytesPlainly(benchmark::State& state) {
    const QString dir = modsDir();
    for (auto _ : state) {
        qint64 bytes = 0;
        const QDir mods(dir);
        for (const QString& folder : mods.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            for (const char* name : {"data/config/export/main/asset/assets.xml", "modinfo.json"}) {
                QFile file(mods.filePath(folder) + QLatin1Char('/') + QLatin1String(name));
                if (file.open(QIODevice::ReadOnly))
                    bytes += file.readAll().size();
            }
        }
        state.counters["MiB"] = double(bytes) / 1048576.0;
    }
}
BENCHMARK(BM_ReadSameBytesPlainly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The listing the flag repair makes at the start and at every refill of the list, to find each
// building's folder in any letter case: every entry read, only the program's names kept.
void BM_ModsDirectoryListing(benchmark::State& state) {
    const QString dir = modsDir();
    for (auto _ : state) {
        const velmora::mod::ModsDirectoryListing listing(dir);
        benchmark::DoNotOptimize(listing.names().size());
    }
}
BENCHMARK(BM_ModsDirectoryListing)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
