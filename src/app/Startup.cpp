#include "app/Startup.h"

#include "app/PathText.h"
#include "app/Settings.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/XmlDocument.h"

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
    if (!QFileInfo::exists(result.dirs.data)) {
        UnpackDataArchive(result.dirs, dialogs);
        GuardDataDirectory(platform, dialogs, result.dirs.data);
    }
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
