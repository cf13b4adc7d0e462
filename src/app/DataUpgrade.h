#pragma once
// A new program version on the data directory of an older one, and a game that was updated since
// the program's data was made.
//
// The data directory keeps the version file of the archive it was unpacked from
// (data/DataVersion.h). The start-up runs, after the environment is settled:
//   1. FinishDataUpgrade: a step stopped by a kill is finished when its marker is there (the new
//      directory is complete) and undone otherwise (the staging folder is deleted);
//   2. UpgradeDataDirectory when DataUpgradeNeeded: the archive's version file differs from the
//      data directory's (or the directory has none);
//   3. RefreshProgramFiles: the files without player data come from the running program's
//      archive;
//   4. GameUpdateNotice: the installed game's executable is not the one the data was made from.
//
// The upgrade, all or nothing: the new archive is unpacked into "<dir>/.<name>-upgrade/<name>"
// beside the data directory <dir>/<name>; the old directory's edits are exported as the edits
// file does and imported there (the import's rules; its preview is shown through
// UserDialogs::reviewUpgrade when a row is a conflict or not applicable, and cancelling it keeps
// the old directory for this run); the marker "<dir>/.<name>-upgrade/fertig", naming the backup,
// says the new directory is complete; then the old directory is renamed to the backup
// "<name>-<its program version>-<date>" and the new one into its place.
#include "app/Startup.h"
#include "data/DataVersion.h"
#include "data/FileWriter.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::app {

// The entries of archive bytes with the given file names (below "XMLP/"); a name the archive
// does not hold is left out. A damaged archive raises DataError.
QHash<QString, QByteArray> ReadArchiveEntries(const QByteArray& archive, const QStringList& names);

// Unpacks every entry of archive bytes into folder (created; it must not exist) through writer.
void ExtractArchiveInto(const QByteArray& archive, const QString& folder,
                        data::FileWriter& writer = data::diskWriter());

// Step 1. Raises DataError when a rename fails; nothing is lost then, and the next start tries
// again.
void FinishDataUpgrade(const QString& dataDir, data::FileWriter& writer = data::diskWriter());

// True when the archive's version file differs from the data directory's.
bool DataUpgradeNeeded(const QByteArray& archive, const QString& dataDir);

struct DataUpgradeResult {
    bool upgraded = false; // false: the player cancelled the preview; nothing changed
    QString backup;        // the old directory's new path
    int fields = 0;        // fields carried over
    QStringList buildings; // "<name> (<GUID>)" of each building carried over
    bool reviewed = false; // the preview was shown
};

// Step 2. A failure raises DataError with a German message and leaves the old directory as it
// was (the staging folder is deleted, or by the next start).
DataUpgradeResult UpgradeDataDirectory(const QByteArray& archive, const QString& dataDir,
                                       UserDialogs& dialogs, const QDate& today,
                                       data::FileWriter& writer = data::diskWriter());

// The one notice after an upgrade that needed no choice (or the player's choices), in German.
QString DataUpgradeText(const DataUpgradeResult& result);
inline const QString kDataUpgradeTitle = QStringLiteral("Neue Programmversion");

// Step 3: each of data::kProgramOwnedFiles that differs from the archive's is written anew
// (atomically). Returns the names written. Raises DataError naming the file.
QStringList RefreshProgramFiles(const QByteArray& archive, const QString& dataDir,
                                data::FileWriter& writer = data::diskWriter());

// Step 4: the notice when the game's executable (gameDir + kGameExecutable) differs from the one
// the data directory's version file names; nothing when it is the same, when the version file
// names none, or when the notice was shown for this executable already (the settings remember
// its SHA-256 as kGameNoticeValue). Showing it remembers the executable.
std::optional<QString> GameUpdateNotice(Platform& platform, const Directories& dirs);
inline const QString kGameUpdateTitle = QStringLiteral("Spiel aktualisiert");
inline const QString kGameNoticeValue = QStringLiteral("GameNoticeShown");

} // namespace velmora::app
