#pragma once
// The start-up sequence, run when the main window is created:
//   1. program directory: the executable's directory, with a trailing separator;
//   2. data directory and work directories below it;
//   3. CheckEnvironment: single-instance guard, game and mods directory, registry settings;
//   4. UnpackDataArchive when the data directory does not exist; a stopped upgrade is finished
//      or undone first, and a data directory of another archive is upgraded (DataUpgrade.h);
//      the files without player data are refreshed from the archive, and a game updated since
//      the data was made is named once;
//   5. LoadEmbeddedFont;
//   6. "Help.xml" is loaded once as the help table of the run;
//   7. "BuildingGroups.xml" is loaded once and its group names are handed to the main window.
// CheckEnvironment (step 3) runs steps A to H:
//   A. GuardSingleInstance: only one copy runs; then the data directory's guard
//      (HoldDataDirectory): the edits command is not changing it;
//   B. the stored game and mods directories are read from the settings;
//   C. they are valid while the game executable is in the game directory (an empty mods
//      directory becomes the game's mods folder);
//   D. invalid settings are deleted as a whole;
//   E. the game's machine-wide key names the game directory;
//   F. failing that, the launcher's entry does (its last character dropped);
//   G. failing that, the user chooses the game folder; a folder without the game ends the
//      program, a missing mods folder is created;
//   H. the settings of this start are written.
// The main window does the rest (version label, group list, first selection).
//
// Paths are held with "/" internally and end with "/" where a directory is meant (all but the
// game directory). They are written to the registry with the platform's separator.
#include "app/platform/Platform.h"
#include "data/EditsImport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <exception>
#include <optional>
#include <vector>

namespace velmora::app {

struct Directories {
    QString program, data, org, tmp, txt, png, dds, wor, game, mods;
};

// The questions and messages of the start-up sequence; the windows layer implements them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // The system folder chooser; "" when cancelled.
    virtual QString chooseFolder(const QString& instruction, const QString& preselect) = 0;
    // A modal message box with the error icon and an OK button.
    virtual void showError(const QString& title, const QString& text) = 0;
    // A modal message box with the information icon and an OK button.
    virtual void showNotice(const QString& title, const QString& text) = 0;
    // The system's file chooser, to save (a new or existing file) or to open (an existing one);
    // filter as "Änderungen (*.json)", suggested a file name or path. "" when cancelled; a set
    // of dialogs without one (the start-up needs none) always cancels.
    enum class FileUse { Save, Open };
    virtual QString chooseFile(FileUse use, const QString& title, const QString& filter,
                               const QString& suggested) {
        (void)use, (void)title, (void)filter, (void)suggested;
        return {};
    }
    // The import preview of carrying the old data directory's edits onto the data of a new
    // program version, shown when a row is a conflict or not applicable: the choice of every
    // row (parallel to rows), or nothing when the player cancels. A set of dialogs without one
    // takes the default choices.
    virtual std::optional<std::vector<data::ImportChoice>>
    reviewUpgrade(const data::EditsFile& edits, const std::vector<data::ImportRow>& rows,
                  const data::ProductCatalogue& catalogue) {
        (void)edits, (void)catalogue;
        std::vector<data::ImportChoice> choices;
        for (const data::ImportRow& row : rows)
            choices.push_back(data::DefaultChoice(row));
        return choices;
    }
};

// The program must end now; its message has been shown already.
class StartupAbort : public std::exception {
public:
    const char* what() const noexcept override { return "start-up aborted"; }
};

// Steps 1 and 2: the directories derived from the program directory.
Directories SettleDirectories(const QString& programDir);

// Step A alone: takes the single-instance guard, or shows the message and throws StartupAbort.
void GuardSingleInstance(Platform& platform, UserDialogs& dialogs);

// The guard of one data directory, so that the editor and the edits command never change the
// same data directory at once. It is keyed on the folder itself (Platform::folderIdentity,
// letter case ignored, as on Windows), so every path to it, also through a link, meets the same
// guard; beside it the holder keeps a mark of who it is (DataDirectoryHolder). False when
// another process holds it; raises PlatformError when the system refuses the guard.
enum class DataDirectoryUser { Editor, EditsCommand };
bool HoldDataDirectory(Platform& platform, const QString& dataDir, DataDirectoryUser user);
// Who holds the guard of a data directory that HoldDataDirectory found taken. The answer is
// kept by this process until it ends, so it is asked only by a process about to end.
DataDirectoryUser DataDirectoryHolder(Platform& platform, const QString& dataDir);
inline const QString kDataDirectoryBusyText =
    QStringLiteral("Das Datenverzeichnis %1 wird gerade von „velmora-edits“ bearbeitet. "
                   "Bitte starten Sie das Programm danach erneut.");
// The second half of step A: takes the data directory's guard for the editor, or shows the
// message and throws StartupAbort. Taken again once a missing data directory has been
// unpacked, since the guard is then keyed on the folder itself.
void GuardDataDirectory(Platform& platform, UserDialogs& dialogs, const QString& dataDir);

// Steps A to H: settles dirs.game and dirs.mods and writes the registry settings.
// Returns true; throws StartupAbort when the program must end.
bool CheckEnvironment(Platform& platform, UserDialogs& dialogs, Directories& dirs);

// The mods directory the editor would use, found as steps B to F find it but without asking,
// creating or writing anything: "" when neither the settings nor the game's keys name the game.
QString KnownModsDirectory(Platform& platform);

// Writes the embedded data archive as program directory + "xmlp.zip", extracts it into the
// program directory and deletes it. True when both steps succeeded; failures are shown.
bool UnpackDataArchive(const Directories& dirs, UserDialogs& dialogs);
// The same for archive bytes given by the caller.
bool UnpackArchive(const QByteArray& archive, const Directories& dirs, UserDialogs& dialogs);
// The data archive carried by the executable.
QByteArray EmbeddedDataArchive();

// Registers the embedded Heuristica fonts for this process. True when the system accepted
// them; otherwise the windows fall back to another family. Needs a QGuiApplication.
bool LoadEmbeddedFont();

// The program's file version "major.minor.release.build" and the logged-on user's name.
// A failing system query raises data::DataError with a German message.
QString GetVersionString(Platform& platform);
QString GetWindowsUserName(Platform& platform);

// What the start-up hands on to the main window: the directories and the group names.
struct StartupResult {
    Directories dirs;
    QStringList groupNames;
};

// Steps 1 to 7: a missing or damaged "Help.xml" or "BuildingGroups.xml" is shown with a German
// message naming the file, then StartupAbort is thrown.
StartupResult RunStartup(Platform& platform, UserDialogs& dialogs, const QString& programDir);

} // namespace velmora::app
