#include "data/FileTree.h"

#include "data/DataError.h"
#include "data/FileAccess.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace velmora::data {

namespace {

namespace fs = std::filesystem;

fs::path fsPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

QString fromFsPath(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

} // namespace

EntryKind entryKindOf(const QString& path) {
    return system::entryKind(fsPath(path));
}

bool removeEntry(const QString& path, FileWriter& writer, QString* reason) {
    system::clearLastError();
    if (writer.remove(path))
        return true;
    if (reason) {
        const std::error_code error = system::lastError();
        *reason = error ? fileErrorReason(error) : QString();
    }
    return false;
}

bool removeTree(const QString& path, FileWriter& writer, QString* fault) {
    // Walked with an explicit stack: a folder nested deeper than the call stack allows must not
    // crash the deletion. A folder is removed after everything in it.
    struct Pending {
        fs::path path;
        bool opened = false;
    };
    std::vector<Pending> stack{{fsPath(path)}};
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (!top.opened && system::entryKind(top.path) == EntryKind::Folder) {
            top.opened = true;
            std::vector<fs::path> children;
            std::error_code ec;
            for (fs::directory_iterator it(top.path, ec), end; !ec && it != end; it.increment(ec))
                children.push_back(it->path());
            for (fs::path& child : children)
                stack.push_back({std::move(child)});
            continue;
        }
        const fs::path entry = top.path;
        stack.pop_back();
        if (system::entryKind(entry) == EntryKind::Absent)
            continue;
        QString reason;
        // The first entry that stays is named with the reason; the folders above it stay too.
        if (!removeEntry(fromFsPath(entry), writer, &reason) && fault && fault->isEmpty())
            *fault = QStringLiteral("%1 kann nicht gelöscht werden. %2")
                         .arg(quotedPath(fromFsPath(entry)), reason)
                         .trimmed();
    }
    return system::entryKind(fsPath(path)) == EntryKind::Absent;
}

} // namespace velmora::data
