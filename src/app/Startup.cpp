#include "app/Startup.h"

#include "app/PathText.h"
#include "app/Settings.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <string_view>

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

// The help table and the group list must load with the root the windows expect.
void checkStartupFile(const Directories& dirs, const QString& fileName, const char* rootName) {
    const data::XmlDocument doc = data::XmlDocument::load(dirs.data + fileName);
    if (std::string_view(doc.root().name()) != rootName)
        throw data::DataError(
            QStringLiteral("Die Datei \u201E%1\u201C hat nicht den erwarteten Aufbau.")
                .arg(QDir::toNativeSeparators(dirs.data + fileName)));
}

} // namespace

QString GetVersionString(Platform& platform) {
    return queried([&] { return platform.versionString(); });
}

QString GetWindowsUserName(Platform& platform) {
    return queried([&] { return platform.userName(); });
}

Directories RunStartup(Platform& platform, UserDialogs& dialogs, const QString& programDir) {
    Directories dirs = SettleDirectories(programDir);
    CheckEnvironment(platform, dialogs, dirs);
    if (!QFileInfo::exists(dirs.data))
        UnpackDataArchive(dirs, dialogs);
    LoadEmbeddedFont();
    try {
        checkStartupFile(dirs, data::kHelpFile, "TextExport");
        checkStartupFile(dirs, data::kGroupListFile, "Groups");
    } catch (const data::DataError& e) {
        dialogs.showError(kStartErrorTitle, e.message());
        throw StartupAbort();
    }
    return dirs;
}

} // namespace velmora::app
