// Measures both data-preparation pipelines on a large generated game database against one
// plain parse of the same input files: wall time and peak resident memory of each, each run in
// a child process of its own so that the peaks do not mix.
//
// Usage: pipelines_bench [--work DIR] [google benchmark flags]
// The large stand-in (about 250 MB of assets) is generated once into DIR (default:
// build/bench-data) by velmora-standin --large.
#include "tools/CreateBuildingsUnit.h"
#include "tools/PrepCommon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string selfPath;
std::string workDir;

struct ChildResult {
    double seconds = 0;
    double cpuSeconds = 0; // user + system: steadier than wall time on a shared machine
    double peakMiB = 0;
    int status = -1;
};

// Runs this executable in the given mode as a child and measures it.
ChildResult runChild(const char* mode) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(selfPath.c_str(), selfPath.c_str(), "--child", mode, workDir.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ChildResult r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakMiB = usage.ru_maxrss / 1024.0;
    const auto secondsOf = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
    };
    r.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
    r.status = status;
    return r;
}

double inputMiB() {
    const QString org = QString::fromStdString(workDir) + QStringLiteral("/ORG/");
    double bytes = 0;
    for (const char* name : {"Assets.xml", "texts_german.xml", "ProductionChain.xml"})
        bytes += static_cast<double>(QFileInfo(org + QString::fromUtf8(name)).size());
    return bytes / (1024.0 * 1024.0);
}

void report(benchmark::State& state, const char* mode) {
    for (auto _ : state) {
        const ChildResult r = runChild(mode);
        if (r.status != 0) {
            state.SkipWithError("child run failed");
            return;
        }
        state.SetIterationTime(r.seconds);
        state.counters["cpu_s"] = r.cpuSeconds;
        state.counters["peak_MiB"] = r.peakMiB;
        state.counters["input_MiB"] = inputMiB();
        state.counters["peak_per_input"] = r.peakMiB / inputMiB();
    }
}

void BM_PlainParse(benchmark::State& state) {
    report(state, "parse");
}
void BM_BothPipelines(benchmark::State& state) {
    report(state, "pipelines");
}

int childParse(const std::string& dir) {
    // The plain reference: every game input file parsed once into a DOM.
    for (const char* name : {"Assets.xml", "texts_german.xml", "ProductionChain.xml"}) {
        pugi::xml_document doc;
        if (!doc.load_file((dir + "/ORG/" + name).c_str()))
            return 1;
    }
    return 0;
}

int childPipelines(int argc, char** argv, const std::string& dir) {
    QCoreApplication app(argc, argv);
    const auto dirs = velmora::tools::PrepDirectories::forProgramDir(
        QString::fromStdString(dir), QString::fromStdString(dir) + QStringLiteral("/icons"));
    try {
        QDir().mkpath(dirs.iconSourceDir);
        velmora::tools::RunAllPipelines(dirs, [](const QString&, const QString&) {});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) {
        const std::string mode = argv[2];
        return mode == "parse" ? childParse(argv[3]) : childPipelines(argc, argv, argv[3]);
    }
    selfPath = argv[0];
    workDir = VELMORA_BENCH_DATA;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--work") == 0)
            workDir = argv[i + 1];
    if (!QFileInfo::exists(QString::fromStdString(workDir) + QStringLiteral("/ORG/Assets.xml"))) {
        const std::string cmd = std::string(VELMORA_STANDIN) + " --large --out " + workDir + "/ORG";
        std::printf("generating the large game database: %s\n", cmd.c_str());
        if (std::system(cmd.c_str()) != 0)
            return 1;
    }
    benchmark::RegisterBenchmark("PlainParse", BM_PlainParse)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("BothPipelines", BM_BothPipelines)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
