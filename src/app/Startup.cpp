#include "app/Startup.h"

#include "app/DataUpgrade.h"
#include "app/PathText.h"
#include "app/Settings.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/XmlDocument.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <functional>

namespace velmora::app {

Directories SettleDirectories(const QString& programDir) {
    Directories dirs;
    dirs.program = withTrailingSlash(internalPath(programDir));
    const auto below = [&](const char* name) {
        return dirs.program + QLatin1String(name) + QLatin1Char('/');
    };
    dirs.data = dirs.program + kDataFolder + QLatin1Char('/');
    dirs.org = below("ORG");
    dirs.tmp = below("TMP");
    dirs.txt = below("TXT");
    dirs.png = below("PNG");
    dirs.dds = below("DDS");
    dirs.wor = below("WOR");
    return dirs;
}

namespace {

QString queried(const std::function<std::wstring()>& query) {
    try {
        return QString::fromStdWString(query());
    } catch (const PlatformError& e) {
        throw data::DataError(QString::fromStdWString(e.message()));
    }
}

// Step 4: the data directory of the running program's archive.
void SettleDataDirectory(Platform& platform, UserDialogs& dialogs, const Directories& dirs) {
    const QByteArray archive = EmbeddedDataArchive();
    try {
        FinishDataUpgrade(dirs.data);
    } catch (const data::DataError& e) {
        dialogs.showError(kStartErrorTitle, e.message());
        throw StartupAbort();
    }
    // A finished swap put another folder under the name: the guard is keyed on the folder
    // itself, so it is taken again (holding it already is no fault).
    if (QFileInfo::exists(dirs.data))
        GuardDataDirectory(platform, dialogs, dirs.data);
    if (!QFileInfo::exists(dirs.data)) {
        UnpackArchive(archive, dirs, dialogs);
        GuardDataDirectory(platform, dialogs, dirs.data);
    } else {
        try {
            if (DataUpgradeNeeded(archive, dirs.data)) {
                const DataUpgradeResult upgrade =
                    UpgradeDataDirectory(archive, dirs.data, dialogs, QDate::currentDate());
                if (upgrade.upgraded) {
                    GuardDataDirectory(platform, dialogs, dirs.data);
                    dialogs.showNotice(kDataUpgradeTitle, DataUpgradeText(upgrade));
                } else {
                    dialogs.showNotice(kDataUpgradeTitle,
                                       QStringLiteral("Die Daten der neuen Programmversion wurden "
                                                      "nicht übernommen; Sie arbeiten weiter mit "
                                                      "den bisherigen Daten. Beim nächsten Start "
                                                      "werden sie erneut angeboten."));
                }
            }
        } catch (const data::DataError& e) {
            dialogs.showError(kStartErrorTitle, e.message());
        }
    }
    try {
        if (QFileInfo::exists(dirs.data))
            RefreshProgramFiles(archive, dirs.data);
    } catch (const data::DataError& e) {
        dialogs.showError(kStartErrorTitle, e.message());
    }
    if (const std::optional<QString> notice = GameUpdateNotice(platform, dirs))
        dialogs.showNotice(kGameUpdateTitle, *notice);
}

} // namespace

QString GetVersionString(Platform& platform) {
    return queried([&] { return platform.versionString(); });
}

QString GetWindowsUserName(Platform& platform) {
    return queried([&] { return platform.userName(); });
}

StartupResult RunStartup(Platform& platform, UserDialogs& dialogs, const QString& programDir) {
    StartupResult result;
    result.dirs = SettleDirectories(programDir);
    CheckEnvironment(platform, dialogs, result.dirs);
    SettleDataDirectory(platform, dialogs, result.dirs);
    LoadEmbeddedFont();
    try {
        data::XmlDocument help =
            data::loadDataFile(result.dirs.data, data::kHelpFile, data::LoneBlanks::Keep);
        const data::XmlDocument groups = data::loadDataFile(result.dirs.data, data::kGroupListFile);
        data::SetHelpTable(data::HelpTable::fromDocument(std::move(help)));
        result.groupNames = data::GroupNames(groups);
    } catch (const data::DataError& e) {
        dialogs.showError(kStartErrorTitle, e.message());
        throw StartupAbort();
    }
    return result;
}

} // namespace velmora::app
