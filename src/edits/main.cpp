// velmora-edits: exports the edits of a data directory into an edits file and imports one.
//
//   velmora-edits export --data-dir DIR FILE
//   velmora-edits import --data-dir DIR FILE [--apply [--prefer edited|game]]
//
// The import prints its preview, one German line per field, and its counts, and changes
// nothing; with --apply it sets what the preview marks "übernehmen" (conflicts only with
// --prefer, where the row offers that value) and saves all files all or nothing; its last line
// names every active mod in the editor's mods directory that is now stale. Exit status 0 on
// success, 1 when the file, the data directory or the run is refused (German message on
// standard error, nothing changed), 2 for wrong arguments.
//
// Order: the arguments are checked; the data directory's guard is taken, so the editor can not
// change the same data directory meanwhile (and a running editor refuses this run); then the
// files are read, and only then anything written.
#include "app/Startup.h"
#include "app/platform/Platform.h"
#include "data/BuildingEdits.h"
#include "data/ConsoleText.h"
#include "data/DataError.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"
#include "data/FileAccess.h"
#include "mod/StaleMods.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <cstdio>

using namespace velmora;

namespace {

const char* const kUsage =
    "Aufruf:\n"
    "  velmora-edits export --data-dir VERZEICHNIS DATEI\n"
    "  velmora-edits import --data-dir VERZEICHNIS DATEI [--apply [--prefer edited|game]]\n"
    "\n"
    "  export     schreibt die Änderungen aller geänderten Gebäude in DATEI (JSON)\n"
    "  import     zeigt, was DATEI ändern würde, Feld für Feld, und ändert nichts\n"
    "  --apply    übernimmt die Felder, die die Vorschau mit \"übernehmen\" zeigt, und nennt\n"
    "             danach die aktiven Mods, die nun veraltet sind\n"
    "  --prefer   bei Konflikten den Wert aus der Datei (edited) oder den neuen Spielwert\n"
    "             (game) übernehmen; ohne --prefer bleibt bei Konflikten der aktuelle Wert\n"
    "  --data-dir das Datenverzeichnis des Editors (XMLP)\n";

void print(FILE* stream, const QString& text) {
    data::printText(stream, text);
}

int wrongArguments(const QString& why) {
    print(stderr, why + QStringLiteral("\n\n") + QString::fromUtf8(kUsage));
    return 2;
}

struct Arguments {
    QString command, dataDir, file, prefer;
    bool apply = false;
};

int exportEdits(const Arguments& a, app::Platform& platform) {
    data::EditorFiles files(a.dataDir);
    const std::vector<data::BuildingEdit> edits = data::ListEdits(files);
    const data::EditsFile file = data::EditsFileOf(
        edits, app::GetVersionString(platform), QDateTime::currentDateTime().toString(Qt::ISODate));
    data::writeFileAtomically(a.file, data::WriteEditsFile(file, files.catalogue()));
    std::size_t fields = 0;
    for (const data::BuildingEdit& e : edits)
        fields += e.fields.size();
    print(stdout, QStringLiteral("Exportiert: %1 Gebäude, %2 Felder nach %3.\n")
                      .arg(edits.size())
                      .arg(fields)
                      .arg(data::quotedPath(a.file)));
    return 0;
}

// The import's last line: the active mods that are now stale, in the mods directory the editor
// uses.
QString staleModsLine(const QString& dataDir, app::Platform& platform) {
    const QString modsDir = app::KnownModsDirectory(platform);
    if (modsDir.isEmpty())
        return QStringLiteral("Das Spiel ist nicht eingetragen; welche aktiven Mods nun veraltet "
                              "sind, zeigt der Editor unter \u201EÄnderungen\u201C.");
    data::EditorFiles files(dataDir);
    return mod::StaleModsText(mod::LoadEditsOverview(files, modsDir));
}

// The same after the import was saved: a fault while looking at the mods is named, but the
// import stands, so the command still succeeds.
QString staleModsLineAfterImport(const QString& dataDir, app::Platform& platform) {
    QString reason;
    try {
        return staleModsLine(dataDir, platform);
    } catch (const data::DataError& e) {
        reason = e.message();
    } catch (const app::PlatformError& e) {
        reason = QString::fromStdWString(e.message());
    }
    return QStringLiteral("Welche aktiven Mods nun veraltet sind, lässt sich nicht feststellen: %1")
        .arg(reason);
}

int importEdits(const Arguments& a, app::Platform& platform) {
    const data::EditsFile edits = data::ReadEditsFile(
        data::readRegularFile(a.file, data::kEditsFileSizeLimit), QFileInfo(a.file).fileName());
    std::vector<data::ImportRow> rows;
    {
        data::EditorFiles files(a.dataDir);
        rows = data::PreviewImport(files, edits);
        for (const data::ImportRow& row : rows)
            print(stdout, data::RowText(row, files.catalogue()) + u'\n');
        print(stdout, data::PreviewSummaryText(rows) + u'\n');
    }
    if (!a.apply) {
        print(stdout, QStringLiteral("Vorschau: nichts wurde geändert.\n"));
        return 0;
    }
    const data::ImportChoice prefer =
        a.prefer == QStringLiteral("edited") ? data::ImportChoice::Edited
        : a.prefer == QStringLiteral("game") ? data::ImportChoice::Game
                                             : data::ImportChoice::Skip;
    std::vector<data::ImportChoice> choices;
    for (const data::ImportRow& row : rows)
        choices.push_back(data::DefaultChoice(row, prefer));
    const data::ImportOutcome outcome = data::ApplyImport(a.dataDir, rows, choices);
    print(stdout, data::OutcomeText(rows, outcome) + u'\n');
    print(stdout, staleModsLineAfterImport(a.dataDir, platform) + u'\n');
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    Arguments a;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            print(stdout, QString::fromUtf8(kUsage));
            return 0;
        }
        if (arg == QStringLiteral("--data-dir") || arg == QStringLiteral("--prefer")) {
            if (i + 1 >= args.size())
                return wrongArguments(
                    QStringLiteral("\u201E%1\u201C braucht einen Wert.").arg(arg));
            (arg == QStringLiteral("--data-dir") ? a.dataDir : a.prefer) = args[++i];
        } else if (arg == QStringLiteral("--apply")) {
            a.apply = true;
        } else if (arg.startsWith(QStringLiteral("--"))) {
            return wrongArguments(QStringLiteral("Unbekanntes Argument \u201E%1\u201C.").arg(arg));
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 2)
        return wrongArguments(QStringLiteral("Befehl und Datei fehlen oder sind zu viele."));
    a.command = positional[0];
    a.file = positional[1];
    const bool isImport = a.command == QStringLiteral("import");
    if (!isImport && a.command != QStringLiteral("export"))
        return wrongArguments(QStringLiteral("Unbekannter Befehl \u201E%1\u201C.").arg(a.command));
    if (a.dataDir.isEmpty())
        return wrongArguments(QStringLiteral("--data-dir fehlt."));
    if ((a.apply || !a.prefer.isEmpty()) && !isImport)
        return wrongArguments(QStringLiteral("--apply und --prefer gelten nur für import."));
    if (!a.prefer.isEmpty() && !a.apply)
        return wrongArguments(QStringLiteral("--prefer gilt nur mit --apply."));
    if (!a.prefer.isEmpty() && a.prefer != QStringLiteral("edited") &&
        a.prefer != QStringLiteral("game"))
        return wrongArguments(
            QStringLiteral("--prefer nimmt \u201Eedited\u201C oder \u201Egame\u201C."));

    app::Platform& platform = app::defaultPlatform();
    try {
        if (!QFileInfo(a.dataDir).isDir())
            throw data::DataError(QStringLiteral("Das Datenverzeichnis %1 gibt es nicht.")
                                      .arg(data::quotedPath(a.dataDir)));
        if (!app::HoldDataDirectory(platform, a.dataDir, app::DataDirectoryUser::EditsCommand))
            throw data::DataError(
                (app::DataDirectoryHolder(platform, a.dataDir) == app::DataDirectoryUser::Editor
                     ? QStringLiteral("Der Editor läuft mit dem Datenverzeichnis %1; bitte "
                                      "beenden Sie ihn zuerst.")
                     : QStringLiteral("Das Datenverzeichnis %1 wird gerade von einem anderen "
                                      "Aufruf von \u201Evelmora-edits\u201C bearbeitet; bitte "
                                      "warten Sie, bis er endet."))
                    .arg(data::quotedPath(a.dataDir)));
        return isImport ? importEdits(a, platform) : exportEdits(a, platform);
    } catch (const data::DataError& e) {
        print(stderr, e.message() + u'\n');
    } catch (const app::PlatformError& e) {
        print(stderr, QString::fromStdWString(e.message()) + u'\n');
    }
    return 1;
}
