// CheckEnvironment: the single-instance guard, the game and mods directories, the settings.
#include "app/PathText.h"
#include "app/Settings.h"
#include "app/Startup.h"

#include "data/DataError.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <utility>
#include <vector>

namespace velmora::app {

namespace {

QString readString(Platform& platform, RegistryHive hive, const QString& key, const QString& name) {
    return QString::fromStdWString(
        platform.readRegistryString(hive, key.toStdWString(), name.toStdWString()));
}

bool holdsGame(const QString& gameDir) {
    // An empty directory would name the drive's root.
    return !gameDir.isEmpty() && QFileInfo(joinPath(gameDir, kGameExecutable)).isFile();
}

QString modsDirOf(const QString& gameDir) {
    return joinPath(gameDir, kModsFolder) + QLatin1Char('/');
}

// Creates the game's mods folder when missing. A failure is shown; start-up goes on, and the
// mod writer reports it again when it needs the folder.
void ensureModsFolder(const QString& gameDir, UserDialogs& dialogs) {
    const QString mods = joinPath(gameDir, kModsFolder);
    if (!QDir().mkpath(mods))
        dialogs.showError(kStartErrorTitle,
                          QStringLiteral("Der Ordner \u201E%1\u201C kann nicht angelegt werden.")
                              .arg(QDir::toNativeSeparators(mods)));
}

// The game directory a machine-wide key names, "" when none. dropLast removes the launcher's
// trailing character.
QString installDirOf(Platform& platform, const QString& key, bool dropLast) {
    QString dir = readString(platform, RegistryHive::LocalMachine, key, kInstallDirValue);
    if (dropLast)
        dir.chop(1);
    return internalPath(dir);
}

// Steps B and C: the stored game and mods directories, valid while the game executable is in
// the game directory. An empty mods directory would put mod folders at the root of the drive:
// the game's own mods folder stands in for it.
bool readStoredDirectories(Platform& platform, Directories& dirs) {
    dirs.game = internalPath(
        readString(platform, RegistryHive::CurrentUser, kSettingsKey, kGameLocationValue));
    dirs.mods = internalPath(
        readString(platform, RegistryHive::CurrentUser, kSettingsKey, kModLocationValue));
    if (!holdsGame(dirs.game))
        return false;
    dirs.mods = dirs.mods.isEmpty() ? modsDirOf(dirs.game) : withTrailingSlash(dirs.mods);
    return true;
}

// Steps E and F: a machine-wide key names the game directory; accepted without looking for
// the game executable.
bool takeInstallDir(Platform& platform, const QString& key, bool dropLast, Directories& dirs,
                    UserDialogs& dialogs) {
    dirs.game = installDirOf(platform, key, dropLast);
    if (dirs.game.isEmpty())
        return false;
    ensureModsFolder(dirs.game, dialogs);
    dirs.mods = modsDirOf(dirs.game);
    return true;
}

// Shows each failure of the registry once: a settings file that can not be read fails the
// deletion of step D and the writing of step H with the same message.
class RegistryFailures {
public:
    explicit RegistryFailures(UserDialogs& dialogs) : dialogs_(dialogs) {}
    void show(const PlatformError& error) {
        const QString text = QString::fromStdWString(error.message());
        if (shown_.contains(text))
            return;
        shown_ << text;
        dialogs_.showError(kStartErrorTitle, text);
    }

private:
    UserDialogs& dialogs_;
    QStringList shown_;
};

// The version is part of the settings; when the system can not tell it, the program ends
// before anything is written to the registry.
QString versionOrAbort(Platform& platform, UserDialogs& dialogs) {
    try {
        return GetVersionString(platform);
    } catch (const data::DataError& e) {
        dialogs.showError(kStartErrorTitle, e.message());
        throw StartupAbort();
    }
}

// Step H: the eight values in their order, in one write.
void writeSettings(Platform& platform, RegistryFailures& failures, const Directories& dirs,
                   const QString& version) {
    const QStringList texts = {
        platformPath(platform, dirs.game),
        platformPath(platform, dirs.mods),
        kModLoaderVersion,
        platformPath(platform, dirs.program),
        QStringLiteral("0"),
        version,
        kCompanyText,
        QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)};
    std::vector<RegistryValue> values;
    for (qsizetype i = 0; i < kSettingsValueOrder.size(); ++i)
        values.push_back({kSettingsValueOrder[i].toStdWString(), texts[i].toStdWString()});
    try {
        platform.writeRegistryStrings(RegistryHive::CurrentUser, kSettingsKey.toStdWString(),
                                      values);
    } catch (const PlatformError& e) {
        // Unsaved settings cost nothing but a new search at the next start.
        failures.show(e);
    }
}

} // namespace

void GuardSingleInstance(Platform& platform, UserDialogs& dialogs) {
    bool held = false;
    try {
        held = platform.holdSingleInstance(kSingleInstanceName.toStdWString());
    } catch (const PlatformError& e) {
        dialogs.showError(kStartErrorTitle, QString::fromStdWString(e.message()));
        throw StartupAbort();
    }
    if (!held) {
        dialogs.showError(kStartErrorTitle, kAlreadyRunningText);
        throw StartupAbort();
    }
}

namespace {

QString dataDirectoryGuard(Platform& platform, const QString& dataDir) {
    const std::wstring identity = platform.folderIdentity(
        QDir::cleanPath(QFileInfo(dataDir).absoluteFilePath()).toStdWString());
    const QByteArray hash =
        QCryptographicHash::hash(QString::fromStdWString(identity).toLower().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QStringLiteral("VelmoraCindralDaten-") + QString::fromLatin1(hash);
}

const QString kEditorMark = QStringLiteral("-Editor");
const QString kEditsCommandMark = QStringLiteral("-Befehl");

} // namespace

bool HoldDataDirectory(Platform& platform, const QString& dataDir, DataDirectoryUser user) {
    const QString guard = dataDirectoryGuard(platform, dataDir);
    if (!platform.holdSingleInstance(guard.toStdWString()))
        return false;
    platform.holdSingleInstance(
        (guard + (user == DataDirectoryUser::Editor ? kEditorMark : kEditsCommandMark))
            .toStdWString());
    return true;
}

DataDirectoryUser DataDirectoryHolder(Platform& platform, const QString& dataDir) {
    // Only an editor holding the guard keeps the editor's mark.
    return platform.holdSingleInstance(
               (dataDirectoryGuard(platform, dataDir) + kEditorMark).toStdWString())
               ? DataDirectoryUser::EditsCommand
               : DataDirectoryUser::Editor;
}

void GuardDataDirectory(Platform& platform, UserDialogs& dialogs, const QString& dataDir) {
    try {
        if (!HoldDataDirectory(platform, dataDir, DataDirectoryUser::Editor)) {
            dialogs.showError(kStartErrorTitle,
                              kDataDirectoryBusyText.arg(data::quotedPath(dataDir)));
            throw StartupAbort();
        }
    } catch (const PlatformError& e) {
        dialogs.showError(kStartErrorTitle, QString::fromStdWString(e.message()));
        throw StartupAbort();
    }
}

QString KnownModsDirectory(Platform& platform) {
    Directories dirs;
    if (readStoredDirectories(platform, dirs))
        return dirs.mods;
    for (const auto& [key, dropLast] : {std::pair{kGameKey, false}, std::pair{kLauncherKey, true}})
        if (const QString game = installDirOf(platform, key, dropLast); !game.isEmpty())
            return modsDirOf(game);
    return {};
}

bool CheckEnvironment(Platform& platform, UserDialogs& dialogs, Directories& dirs) {
    // A. Only one copy runs, and the edits command is not changing the data directory.
    GuardSingleInstance(platform, dialogs);
    GuardDataDirectory(platform, dialogs, dirs.data);
    const QString version = versionOrAbort(platform, dialogs);
    RegistryFailures failures(dialogs);

    // B and C. The stored locations, valid while the game executable is there.
    bool valid = readStoredDirectories(platform, dirs);

    // D. Stale settings are removed as a whole.
    if (!valid) {
        try {
            platform.deleteRegistryKey(RegistryHive::CurrentUser, kSettingsKey.toStdWString());
        } catch (const PlatformError& e) {
            failures.show(e);
        }
    }

    // E and F. The game's own key, then the launcher's entry.
    if (!valid)
        valid = takeInstallDir(platform, kGameKey, false, dirs, dialogs);
    if (!valid)
        valid = takeInstallDir(platform, kLauncherKey, true, dirs, dialogs);

    // G. Ask the user.
    if (!valid) {
        const QString preselect =
            !dirs.game.isEmpty() && QFileInfo(dirs.game).isDir() ? dirs.game : QString();
        const QString chosen = dialogs.chooseFolder(kChooseGameText, preselect);
        if (!chosen.isEmpty())
            dirs.game = internalPath(chosen);
        if (!holdsGame(dirs.game)) {
            dialogs.showError(kStartErrorTitle, kNotGameDirText);
            throw StartupAbort();
        }
        ensureModsFolder(dirs.game, dialogs);
        dirs.mods = modsDirOf(dirs.game);
    }

    // H. The settings of this start.
    writeSettings(platform, failures, dirs, version);
    return true;
}

} // namespace velmora::app
