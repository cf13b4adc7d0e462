// Kills a writing operation at random moments and checks what it leaves behind.
//
//   velmora_kill_driver --operation NAME --source XMLP_DIR [--kills N] [--seed S]
//                       [--fail-writes]
//   velmora_kill_driver --list          (the operations' names, one a line)
//
// The operation runs in a child process (no window) on a copy of the data; the driver sends it
// SIGKILL after a random delay: half of the kills within the time an undisturbed run takes,
// counted from the child's start; half within the span an undisturbed run wrote (from its first
// write to its last), counted from the moment the child's own first write begins. The round
// says how many of the latter found the child still writing, and warns when fewer than half
// did. After every kill:
//   - every data file is there, loads, and holds exactly its old or its new content; for an
//     operation on the whole data directory ("Aktualisieren"), after the next start has
//     finished or undone its step, the directory is exactly the old or the new one;
//   - every mod folder is exactly the old folder, exactly the new one, or absent;
//   - nothing the game loads lies in the mods directory besides the active mod folders;
//   - after the next start's repair of the flags, IsExported is "true" exactly when the game
//     loads the building's mod (a failed run, not killed, must keep that without the repair);
//   - the next run of the operation succeeds and leaves exactly the state of an undisturbed
//     run: what the killed run left (files beside their targets, staging folders) is cleaned.
// --fail-writes runs the operation instead with a file layer that fails the n-th write for
// every n, and each replace in turn: each ends in a German message and the same guarantees.
// The seed is printed first; the same seed and count replay the same kill moments.
#include "kill/KillOperations.h"

#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "mod/ExportFlags.h"
#include "mod/ModFolder.h"
#include "support/ScriptedWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

// Every file (bytes) and folder (no bytes) below the workspace, by relative path.
using Snapshot = std::map<QString, std::optional<QByteArray>>;

Snapshot takeSnapshot(const QString& root) {
    Snapshot s;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            s[relative] = std::nullopt;
        } else {
            QFile file(path);
            s[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
    }
    return s;
}

void restoreSnapshot(const QString& root, const Snapshot& s) {
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    for (const auto& [relative, bytes] : s) {
        const QString path = root + QLatin1Char('/') + relative;
        if (!bytes) {
            QDir().mkpath(path);
            continue;
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size()) {
            std::fprintf(stderr, "cannot restore %s\n", qPrintable(path));
            std::exit(2);
        }
    }
}

// The part of a snapshot below one folder, with paths relative to it.
Snapshot below(const Snapshot& s, const QString& folder) {
    Snapshot part;
    const QString prefix = folder + QLatin1Char('/');
    for (const auto& [path, bytes] : s)
        if (path.startsWith(prefix))
            part[path.mid(prefix.size())] = bytes;
    return part;
}

// The first element of a relative path ("mods/[Cindral] x/a.xml" below "mods" -> "[Cindral] x").
QString topEntry(const QString& path, const QString& folder) {
    return path.mid(folder.size() + 1).section(QLatin1Char('/'), 0, 0);
}

struct Run {
    QString root;
    killtest::Workspace workspace;
    const killtest::Operation* operation = nullptr;
    Snapshot before, after;
};

// The data files of a snapshot that do not load from the disk, one message each.
QStringList unloadableDataFiles(const QString& root, const Snapshot& s) {
    QStringList faults;
    for (const auto& [path, bytes] : s) {
        if (!bytes || !path.startsWith(QLatin1String("data/")) ||
            !path.endsWith(QLatin1String(".xml")))
            continue;
        try {
            data::XmlDocument::load(root + QLatin1Char('/') + path).root();
        } catch (const data::DataError& e) {
            faults << e.message();
        }
    }
    return faults;
}

// Faults of the state on the disk, one line each; empty when every guarantee holds.
QStringList checkGuarantees(const Run& run, const Snapshot& now) {
    QStringList faults;

    // Data files: each there, loading, old or new.
    for (const auto& [path, bytes] : run.before) {
        if (!path.startsWith(QLatin1String("data/")) || !bytes)
            continue;
        const auto found = now.find(path);
        if (found == now.end() || !found->second) {
            faults << QStringLiteral("%1 fehlt").arg(path);
            continue;
        }
        // The old and the new content both load (checked once before the round), so only a
        // file holding neither needs loading.
        const auto newBytes = run.after.find(path);
        if (found->second == bytes ||
            (newBytes != run.after.end() && found->second == newBytes->second))
            continue;
        // The flags may follow the mod folders instead: a failed run that could not put an old
        // mod back clears its flag.
        const auto withoutFlags = [](QByteArray bytes) {
            return QString::fromUtf8(bytes).remove(
                QRegularExpression(QStringLiteral(" IsExported=\"[a-z]*\"")));
        };
        if (path.endsWith(data::kBuildingIndexFile) &&
            (withoutFlags(*found->second) == withoutFlags(*bytes) ||
             (newBytes != run.after.end() &&
              withoutFlags(*found->second) == withoutFlags(*newBytes->second))))
            continue;
        faults << QStringLiteral("%1 ist weder alt noch neu").arg(path);
        faults << unloadableDataFiles(run.root, {{path, found->second}});
    }

    // A whole data directory, after the next start: exactly the old one or the new one.
    if (run.operation->nextStart &&
        below(now, QStringLiteral("data")) != below(run.before, QStringLiteral("data")) &&
        below(now, QStringLiteral("data")) != below(run.after, QStringLiteral("data")))
        faults << QStringLiteral("das Datenverzeichnis ist weder das alte noch das neue");

    // Mod folders: old, new or absent, never in between.
    QStringList folders;
    for (const Snapshot* s : {&run.before, &run.after, &now})
        for (const auto& [path, bytes] : *s)
            if (path.startsWith(QLatin1String("mods/")) &&
                !folders.contains(topEntry(path, QStringLiteral("mods"))))
                folders << topEntry(path, QStringLiteral("mods"));
    const auto complete = [&](const QString& folder) {
        const QString path = QStringLiteral("mods/") + folder;
        const Snapshot content = below(now, path);
        const bool there = now.count(path) > 0;
        const auto same = [&](const Snapshot& s) {
            return s.count(path) > 0 && below(s, path) == content;
        };
        return there && (same(run.before) || same(run.after));
    };
    for (const QString& folder : folders) {
        const QString path = QStringLiteral("mods/") + folder;
        if (now.count(path) == 0)
            continue; // absent
        const bool known = run.before.count(path) || run.after.count(path);
        if (known && !complete(folder))
            faults << QStringLiteral("Mod-Ordner %1 ist unvollständig").arg(folder);
    }

    // No copy of a mod that the game loads besides the active ones: every entry of the mods
    // directory without the leading hyphen was there before or is there after an undisturbed run.
    for (const QString& folder : folders) {
        const QString path = QStringLiteral("mods/") + folder;
        if (now.count(path) && !folder.startsWith(QLatin1Char('-')) && !run.before.count(path) &&
            !run.after.count(path))
            faults << QStringLiteral("%1 wird vom Spiel geladen, ist aber kein aktiver Mod")
                          .arg(folder);
    }
    return faults;
}

// IsExported is "true" exactly when the game loads the building's mod, in both directions.
QStringList checkExportInvariant(const Run& run) {
    QStringList faults;
    try {
        const data::XmlDocument index =
            data::XmlDocument::load(run.workspace.data + data::kBuildingIndexFile);
        for (const pugi::xml_node& e : data::selectNodes(index.root(), "Building")) {
            const auto b = data::BuildingEntry::fromElement(e);
            const bool loaded =
                mod::GameLoadsMod(mod::ActiveModFolder(run.workspace.mods, b.guid, b.local));
            const bool flagged = b.isExported == QLatin1String("true");
            if (loaded && !flagged)
                faults << QStringLiteral("%1: das Spiel lädt den Mod, IsExported ist nicht gesetzt")
                              .arg(b.guid);
            if (flagged && !loaded)
                faults << QStringLiteral("%1: IsExported ist gesetzt, das Spiel lädt keinen Mod")
                              .arg(b.guid);
        }
    } catch (const data::DataError& e) {
        faults << e.message();
    }
    return faults;
}

// What the next start does before anything else: the flags follow the mod folders. Then the
// invariant must hold.
QStringList checkAfterNextStart(const Run& run) {
    try {
        mod::SyncExportFlags(run.workspace.data, run.workspace.mods);
    } catch (const data::DataError& e) {
        return {QStringLiteral("der nächste Start scheitert: ") + e.message()};
    }
    return checkExportInvariant(run);
}

// Writes through the disk writer and notes when the operation's writes began and ended; with a
// signal descriptor it also sends one byte there as the first write begins, so that a kill can
// be aimed from that moment.
class WriteClock final : public data::FileWriter {
public:
    explicit WriteClock(int signal = -1) : signal_(signal) {}
    std::optional<std::chrono::steady_clock::time_point> first, last;

    void writeNew(const QString& path, const QByteArray& bytes) override {
        begin();
        data::diskWriter().writeNew(path, bytes);
        last = std::chrono::steady_clock::now();
    }
    void replace(const QString& from, const QString& to) override {
        begin();
        data::diskWriter().replace(from, to);
        last = std::chrono::steady_clock::now();
    }
    bool remove(const QString& path) override {
        begin();
        const bool removed = data::diskWriter().remove(path);
        last = std::chrono::steady_clock::now();
        return removed;
    }

private:
    int signal_;
    void begin() {
        if (first)
            return;
        first = std::chrono::steady_clock::now();
        if (signal_ >= 0 && write(signal_, "w", 1) != 1)
            _exit(2);
    }
};

// When an undisturbed run wrote, counted from its start.
struct WriteSpan {
    std::chrono::microseconds first{0}, last{0};
};

// How a kill's delay is counted: from the child's start, or from the moment its first write
// begins (the child says so through a pipe), which aims the kill at the writes whatever the
// start of the child took.
enum class KillFrom { Start, FirstWrite };

bool runChild(const Run& run, std::optional<std::chrono::microseconds> delay,
              std::optional<WriteSpan>* span = nullptr, KillFrom from = KillFrom::Start,
              bool* killedWhileWriting = nullptr);

// The next run after a disturbed one: succeeds and leaves exactly the undisturbed result. The
// kill round runs it in a child as well: the painting of the mod writer starts worker threads,
// and a process that forks must not have any.
QStringList checkNextRun(const Run& run, bool inChild) {
    if (inChild) {
        if (!runChild(run, std::nullopt))
            return {QStringLiteral("der nächste Lauf scheitert (Meldung oben)")};
    } else {
        try {
            run.operation->run(run.workspace, data::diskWriter());
        } catch (const data::DataError& e) {
            return {QStringLiteral("der nächste Lauf scheitert: ") + e.message()};
        }
    }
    QStringList faults;
    const Snapshot now = takeSnapshot(run.root);
    for (const auto& [path, bytes] : now)
        if (!run.after.count(path))
            faults << QStringLiteral("nach dem nächsten Lauf liegt noch %1 herum").arg(path);
    for (const auto& [path, bytes] : run.after)
        if (!now.count(path) || now.at(path) != bytes)
            faults << QStringLiteral("nach dem nächsten Lauf ist %1 nicht wie nach einem "
                                     "ungestörten Lauf")
                          .arg(path);
    return faults;
}

// Runs the operation in a child; kills it after delay (none: lets it finish). True when the
// child ended by itself with success. With span, the child writes through a WriteClock and
// the times of its first and last write land there (the steady clock is the same in both
// processes); a run that wrote nothing leaves it empty. With KillFrom::FirstWrite the delay
// counts from the child's first write, and killedWhileWriting tells whether the kill found the
// child after that write began and before it ended (a run that writes nothing is let finish).
bool runChild(const Run& run, std::optional<std::chrono::microseconds> delay,
              std::optional<WriteSpan>* span, KillFrom from, bool* killedWhileWriting) {
    int channel[2] = {-1, -1};
    if (span && pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const bool aimed = delay && from == KillFrom::FirstWrite;
    int started[2] = {-1, -1};
    if (aimed && pipe(started) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (child == 0) {
        int status = 0;
        WriteClock clock(started[1]);
        try {
            run.operation->run(run.workspace, span || aimed ? static_cast<data::FileWriter&>(clock)
                                                            : data::diskWriter());
        } catch (const data::DataError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            status = 1;
        }
        if (span) {
            const auto since = [&](const auto& t) {
                return t ? std::chrono::duration_cast<std::chrono::microseconds>(*t - start).count()
                         : -1LL;
            };
            const long long times[2] = {since(clock.first), since(clock.last)};
            if (write(channel[1], times, sizeof times) != sizeof times)
                status = 2;
        }
        std::fflush(nullptr);
        _exit(status);
    }
    bool wrote = false;
    if (aimed) {
        close(started[1]);
        char byte = 0;
        wrote = read(started[0], &byte, 1) == 1; // end of file: the child ended without writing
        close(started[0]);
    }
    if (delay && (!aimed || wrote)) {
        std::this_thread::sleep_for(*delay);
        ::kill(child, SIGKILL);
    }
    if (span) {
        close(channel[1]);
        long long times[2] = {-1, -1};
        span->reset();
        if (read(channel[0], times, sizeof times) == sizeof times && times[0] >= 0)
            *span =
                WriteSpan{std::chrono::microseconds(times[0]), std::chrono::microseconds(times[1])};
        close(channel[0]);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (killedWhileWriting)
        *killedWhileWriting = wrote && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void report(const QString& what, const QStringList& faults) {
    std::printf("FEHLER %s:\n", qPrintable(what));
    for (const QString& f : faults)
        std::printf("  %s\n", qPrintable(f));
}

int killRound(Run& run, int kills, std::uint64_t seed) {
    // How long an undisturbed run takes and when it writes: the medians of five.
    std::vector<std::chrono::microseconds> durations, firsts, lasts;
    for (int i = 0; i < 5; ++i) {
        restoreSnapshot(run.root, run.before);
        std::optional<WriteSpan> span;
        const auto start = std::chrono::steady_clock::now();
        if (!runChild(run, std::nullopt, &span)) {
            std::printf("FEHLER: der ungestörte Lauf scheitert\n");
            return 1;
        }
        durations.push_back(std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start));
        firsts.push_back(span ? span->first : std::chrono::microseconds(0));
        lasts.push_back(span ? span->last : durations.back());
    }
    for (auto* times : {&durations, &firsts, &lasts})
        std::sort(times->begin(), times->end());
    const std::chrono::microseconds longest = durations[2];
    const std::chrono::microseconds writeFrom = std::min(firsts[2], longest);
    const std::chrono::microseconds writeTo = std::clamp(lasts[2], writeFrom, longest);
    // Half of the kills fall anywhere in the run, half while it writes: most of a run is
    // reading, and the moments that matter are those while it changes files. The latter are
    // aimed from the child's first write into the span its writes took, so that the time a
    // child takes to start does not move them out of it.
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<long long> anywhere(0, longest.count());
    std::uniform_int_distribution<long long> whileWriting(0, (writeTo - writeFrom).count());
    std::bernoulli_distribution inWrites(0.5);
    int unchanged = 0, between = 0, finished = 0, faultCount = 0, aimed = 0, inside = 0;
    for (int k = 1; k <= kills; ++k) {
        const bool aim = inWrites(random);
        const std::chrono::microseconds delay(aim ? whileWriting(random) : anywhere(random));
        restoreSnapshot(run.root, run.before);
        bool whileItWrote = false;
        runChild(run, delay, nullptr, aim ? KillFrom::FirstWrite : KillFrom::Start, &whileItWrote);
        aimed += aim ? 1 : 0;
        inside += aim && whileItWrote ? 1 : 0;
        QStringList faults;
        if (run.operation->nextStart) {
            try {
                run.operation->nextStart(run.workspace);
            } catch (const data::DataError& e) {
                faults << QStringLiteral("der nächste Start scheitert: ") + e.message();
            }
        }
        const Snapshot now = takeSnapshot(run.root);
        faults << checkGuarantees(run, now);
        faults << checkAfterNextStart(run);
        if (now == run.before)
            ++unchanged;
        else if (now == run.after)
            ++finished;
        else
            ++between;
        faults << checkNextRun(run, true);
        if (!faults.isEmpty()) {
            ++faultCount;
            report(QStringLiteral("Kill %1 nach %2 µs%3")
                       .arg(k)
                       .arg(delay.count())
                       .arg(aim ? QStringLiteral(" ab dem ersten Schreiben") : QString()),
                   faults);
        }
    }
    std::printf("%d Kills in %lld µs je Lauf (Schreiben von %lld bis %lld µs): %d vorher, %d "
                "dazwischen, %d fertig; %d Fehler\n",
                kills, static_cast<long long>(longest.count()),
                static_cast<long long>(writeFrom.count()), static_cast<long long>(writeTo.count()),
                unchanged, between, finished, faultCount);
    std::printf("%d von %d auf das Schreiben gezielten Kills trafen es\n", inside, aimed);
    // A kill that finds the run finished tests nothing of its writes: say when that is most.
    if (aimed > 0 && inside * 2 < aimed)
        std::printf("WARNUNG: nur %d von %d gezielten Kills fielen in das Schreiben; die "
                    "Maschine ist zu beschäftigt oder das Schreiben zu kurz für diese Runde\n",
                    inside, aimed);
    return faultCount == 0 ? 0 : 1;
}

int failRound(Run& run) {
    // Which writes and replaces an undisturbed run makes.
    restoreSnapshot(run.root, run.before);
    test::ScriptedWriter counter;
    run.operation->run(run.workspace, counter);
    int writes = 0;
    QStringList replaced;
    for (const QString& call : counter.calls) {
        if (call.startsWith(QLatin1String("write ")))
            ++writes;
        else if (call.startsWith(QLatin1String("replace ")))
            replaced << call.mid(8);
    }
    int faultCount = 0, cases = 0;
    const auto attempt = [&](const QString& what, test::ScriptedWriter& writer) {
        ++cases;
        restoreSnapshot(run.root, run.before);
        QStringList faults;
        try {
            run.operation->run(run.workspace, writer);
            faults << QStringLiteral("kein Fehler gemeldet");
        } catch (const data::DataError& e) {
            if (e.message().isEmpty())
                faults << QStringLiteral("leere Meldung");
        }
        // A failed run keeps the invariant by itself, without the repair of the next start; only
        // an operation on the whole data directory may leave a swap that failed both ways to it.
        if (run.operation->nextStart) {
            try {
                run.operation->nextStart(run.workspace);
            } catch (const data::DataError& e) {
                faults << QStringLiteral("der nächste Start scheitert: ") + e.message();
            }
        }
        faults << checkGuarantees(run, takeSnapshot(run.root)) << checkExportInvariant(run)
               << checkNextRun(run, false);
        if (!faults.isEmpty()) {
            ++faultCount;
            report(what, faults);
        }
    };
    for (int n = 1; n <= writes; ++n) {
        test::ScriptedWriter writer;
        writer.failWriteNumber = n;
        attempt(QStringLiteral("Schreiben %1 von %2 scheitert").arg(n).arg(writes), writer);
    }
    for (const QString& name : replaced) {
        test::ScriptedWriter writer;
        writer.failReplaceOf = name;
        attempt(QStringLiteral("Ersetzen von %1 scheitert").arg(name), writer);
    }
    std::printf("%d Schreibfehler-Fälle (%d Schreibvorgänge, %lld Ersetzungen); %d Fehler\n", cases,
                writes, static_cast<long long>(replaced.size()), faultCount);
    return faultCount == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QString operationName, source;
    int kills = 100;
    std::optional<std::uint64_t> seed;
    bool failWrites = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--operation" && hasValue)
            operationName = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--source" && hasValue)
            source = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--kills" && hasValue)
            kills = std::atoi(argv[++i]);
        else if (arg == "--seed" && hasValue)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--fail-writes")
            failWrites = true;
        else if (arg == "--list") {
            for (const auto& [name, operation] : killtest::operationTable())
                std::printf("%s\n", qPrintable(name));
            return 0;
        } else {
            std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
            return 64;
        }
    }
    const auto& table = killtest::operationTable();
    const auto found = table.find(operationName);
    if (found == table.end() || source.isEmpty()) {
        std::fprintf(stderr, "usage: --operation NAME --source XMLP_DIR [--kills N] [--seed S] "
                             "[--fail-writes]\noperations:");
        for (const auto& [name, operation] : table)
            std::fprintf(stderr, " %s", qPrintable(name));
        std::fprintf(stderr, "\n");
        return 64;
    }
    if (!seed)
        seed = std::random_device()();

    QTemporaryDir temp;
    Run run;
    run.root = temp.path() + QStringLiteral("/workspace");
    run.workspace = {run.root + QStringLiteral("/data/"), run.root + QStringLiteral("/mods/")};
    run.operation = &found->second;
    QDir().mkpath(run.workspace.mods);
    QDir().mkpath(run.workspace.data);
    for (const QString& name : QDir(source).entryList(QDir::Files))
        QFile::copy(QDir(source).filePath(name), run.workspace.data + name);
    try {
        run.operation->prepare(run.workspace);
        run.before = takeSnapshot(run.root);
    } catch (const data::DataError& e) {
        std::printf("FEHLER beim Vorbereiten: %s\n", qPrintable(e.message()));
        return 1;
    }
    // The undisturbed run, in a child like every run the kill round makes. The data files
    // before and after it must load: the checks after a kill rely on that.
    QStringList faults = unloadableDataFiles(run.root, run.before);
    if (!runChild(run, std::nullopt)) {
        std::printf("FEHLER: der ungestörte Lauf scheitert\n");
        return 1;
    }
    run.after = takeSnapshot(run.root);
    faults << unloadableDataFiles(run.root, run.after);
    if (!faults.isEmpty()) {
        report(QStringLiteral("Daten vor oder nach dem ungestörten Lauf"), faults);
        return 1;
    }
    std::printf("%s: Seed %llu (wiederholen mit --seed %llu --kills %d)\n",
                qPrintable(operationName), static_cast<unsigned long long>(*seed),
                static_cast<unsigned long long>(*seed), kills);
    return failWrites ? failRound(run) : killRound(run, kills, *seed);
}
