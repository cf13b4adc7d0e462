// Measures the start-up's settings on a settings file that holds a whole exported hive: 40,000
// keys of other programs besides the program's own key.
//
// - LoadSettingsFile: one load of the file (decoding, parsing, indexing keys and values);
// - CheckEnvironmentStoredGame: the environment check of a start whose stored game directory
//   is valid (two values read, eight written in one save);
// - CheckEnvironmentMovedGame: the same when the stored game has moved (the settings key is
//   deleted and the game's machine-wide key read before the eight values are written).
//
// Usage: settings_bench [google benchmark flags]
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"
#include "app/platform/portable/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace velmora::app;

constexpr int kKeys = 40000;

class SilentDialogs final : public UserDialogs {
public:
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showError(const QString&, const QString&) override {}
    void showNotice(const QString&, const QString&) override {}
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A settings file as the registry editor exports it (UTF-16LE with byte-order mark).
QByteArray settingsFile(const QString& storedGame) {
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (int i = 0; i < kKeys; ++i)
        text +=
            QStringLiteral("[HKEY_CURRENT_USER\\Software\\Firma %1\\Programm\\Einstellungen]\r\n"
                           "\"Name\"=\"Wert Nummer %1\"\r\n\"Zahl\"=dword:%2\r\n\r\n")
                .arg(i)
                .arg(i, 8, 16, QLatin1Char('0'));
    text +=
        QStringLiteral("[HKEY_CURRENT_USER") + kSettingsKey + QStringLiteral("]\r\n") +
        QStringLiteral("\"GameLocation\"=\"%1\"\r\n\"ModLocation\"=\"\"\r\n\r\n").arg(storedGame);
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return QByteArray("\xFF\xFE") + utf16;
}

struct Setup {
    QTemporaryDir root;
    QString game = root.filePath(QStringLiteral("Spiel"));
    QString registryDir = root.filePath(QStringLiteral("registry"));
    Setup() {
        QDir().mkpath(game + QStringLiteral("/Bin/Win64"));
        QDir().mkpath(game + QStringLiteral("/mods"));
        writeFile(game + QStringLiteral("/Bin/Win64/Velmora.exe"), "stand-in");
        QDir().mkpath(registryDir);
    }
};

void LoadSettingsFile(benchmark::State& state) {
    Setup setup;
    const QString path = setup.registryDir + QStringLiteral("/HKEY_CURRENT_USER.reg");
    const QByteArray bytes = settingsFile(setup.game);
    writeFile(path, bytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(RegistryFile::load(path));
    state.counters["file_MiB"] = bytes.size() / 1048576.0;
}

void checkEnvironment(benchmark::State& state, bool gameMoved) {
    Setup setup;
    PortablePlatform platform(setup.registryDir);
    platform.writeRegistryString(RegistryHive::LocalMachine, kGameKey.toStdWString(),
                                 kInstallDirValue.toStdWString(), setup.game.toStdWString());
    const QByteArray bytes =
        settingsFile(gameMoved ? setup.root.filePath(QStringLiteral("Fort")) : setup.game);
    const QString path = platform.registryFilePath(RegistryHive::CurrentUser);
    SilentDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(path, bytes);
        Directories dirs = SettleDirectories(setup.root.filePath(QStringLiteral("Programm")));
        state.ResumeTiming();
        CheckEnvironment(platform, dialogs, dirs);
    }
}

void CheckEnvironmentStoredGame(benchmark::State& state) {
    checkEnvironment(state, false);
}
void CheckEnvironmentMovedGame(benchmark::State& state) {
    checkEnvironment(state, true);
}

BENCHMARK(LoadSettingsFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(CheckEnvironmentStoredGame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(CheckEnvironmentMovedGame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
