// Any bytes as the data archive: the extraction ends in a data folder or a message, and
// whatever happens, nothing lands outside the program directory's data folder and neither the
// archive nor the staging folder is left behind.
#include "FuzzSupport.h"

#include "app/Startup.h"

#include <QDirIterator>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

using namespace velmora;

namespace {

class QuietDialogs final : public app::UserDialogs {
public:
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showError(const QString&, const QString&) override {}
    void showNotice(const QString&, const QString&) override {}
};

[[noreturn]] void fail(const QString& what) {
    std::fprintf(stderr, "archive extraction left %s\n", qPrintable(what));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString root = fuzz::scratchDir() + QStringLiteral("run/");
    QDir(root).removeRecursively();
    app::Directories dirs;
    dirs.program = root + QStringLiteral("program/");
    if (!QDir().mkpath(dirs.program))
        std::abort();
    QuietDialogs dialogs;
    const bool unpacked = app::UnpackArchive(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), dirs,
        dialogs);

    // Everything below the scratch root must be the program directory or inside its data folder.
    const QString dataDir = dirs.program + QStringLiteral("XMLP");
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        if (info.isSymLink())
            fail(QStringLiteral("a link: ") + path);
        if (path + QLatin1Char('/') == dirs.program)
            continue;
        if (path != dataDir && !path.startsWith(dataDir + QLatin1Char('/')))
            fail(path);
    }
    if (unpacked != QFileInfo(dataDir).isDir())
        fail(QStringLiteral("a data folder that does not match the result"));
    QDir(root).removeRecursively();
    return 0;
}
