// The other mods of the mods directory: which buildings they change too, under which names, and
// the ones that can not be read.
#include "mod/ForeignMods.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const char* const kAssets = "data/config/export/main/asset/assets.xml";

// A mod folder with an assets.xml of the given ModOps (nullptr: none) and a modinfo.json
// (nullptr: none).
void makeMod(const QString& modsDir, const QString& folder, const char* modOps,
             const char* modinfo) {
    const QString root = QDir(modsDir).filePath(folder);
    QDir().mkpath(root + QStringLiteral("/data/config/export/main/asset"));
    if (modOps)
        writeBytes(root + QLatin1Char('/') + QLatin1String(kAssets),
                   QByteArray("<ModOps>") + modOps + "</ModOps>");
    if (modinfo)
        writeBytes(root + QStringLiteral("/modinfo.json"), modinfo);
}

TEST(ForeignMods, WhoChangesWhichBuilding) {
    TempDir dir;
    const QString mods = dir.path();
    struct Mod {
        const char* folder;
        const char* modOps;  // content of <ModOps>, nullptr: no assets.xml
        const char* modinfo; // nullptr: no modinfo.json
    };
    const Mod folders[] = {
        {"Bessere Fischer",
         "<ModOp Type=\"merge\" Path=\"//Asset[Values/Standard/GUID='1010278']/Values\"/>",
         "{\"ModName\": {\"German\": \"Bessere Fischer\", \"English\": \"Better Fishers\"}}"},
        {"balance", // by GUID attribute, a list, and a buff asset; the English name only
         "<ModOp Type=\"add\" GUID=\"1010262, 2000502800\"><Item/></ModOp>"
         "<ModOp Type=\"replace\" Path=\"//Asset[Values/Standard/GUID = &quot;1010314&quot;]\"/>",
         "{\"ModName\": {\"German\": \"\", \"English\": \"Big Balance\"}}"},
        {"Ohne Info", // no modinfo.json: the folder's name
         "<ModOp Path=\"//Asset[Values/Standard/GUID=1010278 or Values/Standard/GUID=7]\"/>",
         nullptr},
        {"Kaputt", "<ModOp Path=\"//x\"", "{}"},                  // damaged: skipped, named
        {"Nur Bilder", nullptr, "{\"ModName\": \"Nur Bilder\"}"}, // no assets: nothing changed
        {"[Cindral] (1010278) Fischerei",                         // this program's own
         "<ModOp Path=\"//Asset[Values/Standard/GUID='1010278']\"/>", "{}"},
        {"[cindral] (1010262) getreidefarm", // its own, renamed by the player (same on Windows)
         "<ModOp Path=\"//Asset[Values/Standard/GUID='1010262']\"/>", "{}"},
        {"-Abgeschaltet", // switched off by the player
         "<ModOp Path=\"//Asset[Values/Standard/GUID='1010278']\"/>", "{}"},
    };
    for (const Mod& m : folders)
        makeMod(mods, QString::fromUtf8(m.folder), m.modOps, m.modinfo);

    const mod::ForeignMods scan = mod::ScanForeignMods(mods);
    struct Case {
        const char* building;
        const char* buff;
        QStringList names;
    };
    const Case cases[] = {
        {"1010278", "2000502801", {QStringLiteral("Bessere Fischer"), QStringLiteral("Ohne Info")}},
        {"1010262", "2000502908", {QStringLiteral("Big Balance")}},
        {"1010314", "0", {QStringLiteral("Big Balance")}},
        {"4711", "2000502800", {QStringLiteral("Big Balance")}}, // by its buff asset only
        {"7", "0", {QStringLiteral("Ohne Info")}},
        {"1010196", "0", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.building);
        EXPECT_EQ(mod::ConflictingMods(scan, QString::fromLatin1(c.building),
                                       QString::fromLatin1(c.buff)),
                  c.names);
    }
    EXPECT_EQ(scan.modCount, 3); // those with an assets.xml that could be read
    ASSERT_EQ(scan.skipped.size(), 1);
    EXPECT_TRUE(scan.skipped[0].startsWith(QStringLiteral("\u201EKaputt\u201C")))
        << scan.skipped[0].toStdString();
    EXPECT_TRUE(mod::SkippedModsNote(scan).contains(QStringLiteral("Kaputt")));
    EXPECT_EQ(mod::ConflictText({QStringLiteral("A"), QStringLiteral("B")}),
              QStringLiteral("Wird auch geändert von: A, B"));
    EXPECT_EQ(mod::ConflictText({}), QString());
    EXPECT_EQ(mod::ConflictQuestion({QStringLiteral("A")}),
              QStringLiteral("Der Mod \u201EA\u201C ändert dieses Gebäude ebenfalls. Der Mod, den "
                             "das Spiel zuletzt lädt, gewinnt. Trotzdem aktivieren?"));
    EXPECT_TRUE(
        mod::ConflictQuestion({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
            .startsWith(QStringLiteral("Die Mods \u201EA\u201C, \u201EB\u201C und "
                                       "\u201EC\u201C ändern dieses Gebäude")));
}

// The scan on a thread of its own, watched: when it has not ended within half a minute (it takes
// well under a second), the test program ends with a failure instead of hanging. The scan runs
// as an ordinary user, since the root user the tests run as may enter any folder.
mod::ForeignMods scanWatched(const QString& mods) {
    std::future<mod::ForeignMods> scan = std::async(std::launch::async, [mods] {
        const bool root = ::geteuid() == 0;
        if (root && ::seteuid(65534) != 0)
            ADD_FAILURE() << "could not scan as an ordinary user";
        mod::ForeignMods found = mod::ScanForeignMods(mods);
        if (root && ::seteuid(0) != 0)
            ADD_FAILURE() << "could not return to the root user";
        return found;
    });
    if (scan.wait_for(std::chrono::seconds(30)) == std::future_status::timeout) {
        std::fprintf(stderr, "FAILED: the scan of the other mods hangs\n");
        std::_Exit(1);
    }
    return scan.get();
}

// Entries of other mods that are no file to read, or too large to: each mod is skipped and named
// with the reason in the note, the scan ends, and the mods beside them are read as usual.
TEST(ForeignMods, EntriesThatAreNoReadableFilesAreSkippedAndNamed) {
    TempDir dir;
    const QString mods = dir.file(QStringLiteral("mods"));
    const char* const changesFishery =
        "<ModOp Path=\"//Asset[Values/Standard/GUID='1010278']/Values\"/>";
    const auto pipe = [](const QString& path) {
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0) << path.toStdString();
    };
    const auto linkToZero = [](const QString& path) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path)) << path.toStdString();
    };
    const auto sparse = [](qint64 size) {
        return [size](const QString& path) { // cheap: no block of it is written
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
        };
    };
    const struct Case {
        const char* folder;
        const char* file; // below the mod folder
        std::function<void(const QString&)> make;
        const char* reason;
    } cases[] = {
        {"Pipe statt assets", kAssets, pipe, "keine gewöhnliche Datei"},
        {"Pipe statt modinfo", "modinfo.json", pipe, "keine gewöhnliche Datei"},
        {"Null statt assets", kAssets, linkToZero, "keine gewöhnliche Datei"},
        {"Null statt modinfo", "modinfo.json", linkToZero, "keine gewöhnliche Datei"},
        {"Riesige assets", kAssets, sparse(mod::kModAssetsSizeLimit + 1), "größer als 64 MiB"},
        {"Riesige modinfo", "modinfo.json", sparse(600'000'000), "größer als 1 MiB"},
        {"Gesperrt", "", [](const QString& path) { ::chmod(QFile::encodeName(path), 0); },
         "Berechtigung"},
    };
    makeMod(mods, QStringLiteral("Gut"), changesFishery, "{\"ModName\": \"Gut\"}");
    for (const Case& c : cases) {
        const QString folder = QString::fromUtf8(c.folder);
        makeMod(mods, folder, changesFishery, "{\"ModName\": \"Sollte fehlen\"}");
        const QString path = QDir(QDir(mods).filePath(folder)).filePath(QString::fromUtf8(c.file));
        c.make(path);
    }
    ::chmod(QFile::encodeName(dir.path()), 0755); // the ordinary user may look inside

    const mod::ForeignMods scan = scanWatched(mods);
    EXPECT_EQ(mod::ConflictingMods(scan, QStringLiteral("1010278"), QString()),
              QStringList{QStringLiteral("Gut")});
    ASSERT_EQ(scan.skipped.size(), qsizetype(std::size(cases)));
    const QString note = mod::SkippedModsNote(scan);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const QString named = QStringLiteral("\u201E%1\u201C: ").arg(QString::fromUtf8(c.folder));
        const auto line = std::find_if(scan.skipped.begin(), scan.skipped.end(),
                                       [&](const QString& l) { return l.startsWith(named); });
        ASSERT_NE(line, scan.skipped.end()) << note.toStdString();
        EXPECT_TRUE(line->contains(QString::fromUtf8(c.reason))) << line->toStdString();
        EXPECT_TRUE(note.contains(*line));
    }
}

// Names as other mods give them, in modinfo.json or as the folder's name: line breaks, NUL and
// the characters that turn text around are left out wherever the name is shown; other
// characters, also those beyond 16 bits, stay.
TEST(ForeignMods, NamesAreShownWithoutControlAndDirectionCharacters) {
    TempDir dir;
    const QString mods = dir.path();
    const struct Case {
        QString folder;
        const char* modinfo; // nullptr: none, the folder's name is shown
        QString shown;
    } cases[] = {
        {QStringLiteral("a"), "{\"ModName\": \"Zwei\\r\\nZeilen\"}", QStringLiteral("ZweiZeilen")},
        {QStringLiteral("b"), "{\"ModName\": {\"German\": \"\\u202Egnalhcs.exe\"}}",
         QStringLiteral("gnalhcs.exe")},
        {QStringLiteral("c"), "{\"ModName\": \"\\u200FRechts\\u2067Isoliert\\u2069\"}",
         QStringLiteral("RechtsIsoliert")},
        {QStringLiteral("d"), "{\"ModName\": \"Nul\\u0000l\\u2028\\ud83d\"}",
         QStringLiteral("Null")},
        {QStringLiteral("e"), "{\"ModName\": \"Fisch \\ud83d\\udc1f\"}",
         QStringLiteral("Fisch \U0001F41F")},
        // Nothing left of the German name: the English one; nothing of either: the folder's.
        {QStringLiteral("f"),
         "{\"ModName\": {\"German\": \"\\u202E\\r\", \"English\": \"English\"}}",
         QStringLiteral("English")},
        {QStringLiteral("Ordner\r\n\u202Eneu"), "{\"ModName\": \"\\u0000\"}",
         QStringLiteral("Ordnerneu")},
        {QStringLiteral("Ohne\tInfo"), nullptr, QStringLiteral("OhneInfo")},
    };
    for (const Case& c : cases)
        makeMod(mods, c.folder, "<ModOp Path=\"//Asset[Values/Standard/GUID='1010278']/Values\"/>",
                c.modinfo);
    makeMod(mods, QStringLiteral("Kaputt\u202E\r\n"), "<ModOp", nullptr);

    const mod::ForeignMods scan = mod::ScanForeignMods(mods);
    QStringList expected;
    for (const Case& c : cases)
        expected << c.shown;
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(mod::ConflictingMods(scan, QStringLiteral("1010278"), QString()), expected);
    ASSERT_EQ(scan.skipped.size(), 1);
    EXPECT_TRUE(scan.skipped[0].startsWith(QStringLiteral("\u201EKaputt\u201C: ")))
        << scan.skipped[0].toStdString();
    EXPECT_FALSE(scan.skipped[0].contains(QChar(0x202E)));
}

TEST(ForeignMods, AMissingOrEmptyModsDirectoryHasNone) {
    TempDir dir;
    for (const QString& mods : {dir.path(), dir.file(QStringLiteral("fehlt"))}) {
        const mod::ForeignMods scan = mod::ScanForeignMods(mods);
        EXPECT_TRUE(scan.changes.empty());
        EXPECT_TRUE(scan.skipped.isEmpty());
        EXPECT_EQ(mod::SkippedModsNote(scan), QString());
    }
}

} // namespace
