#include "data/FileTree.h"

#include <filesystem>
#include <system_error>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velmora::data {

namespace {

namespace fs = std::filesystem;

fs::path fsPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

QString fromFsPath(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

EntryKind kindOf(const fs::path& path) {
#ifdef Q_OS_WIN
    // Junctions and other reparse points are not always reported as links by the standard
    // library; the attribute tells every one of them.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::Absent;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return EntryKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::Other;
#else
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || status.type() == fs::file_type::not_found)
        return EntryKind::Absent;
    if (status.type() == fs::file_type::symlink)
        return EntryKind::Link;
    return status.type() == fs::file_type::directory ? EntryKind::Folder : EntryKind::Other;
#endif
}

} // namespace

EntryKind entryKindOf(const QString& path) {
    return kindOf(fsPath(path));
}

bool removeTree(const QString& path, FileWriter& writer) {
    // Walked with an explicit stack: a folder nested deeper than the call stack allows must not
    // crash the deletion. A folder is removed after everything in it.
    struct Pending {
        fs::path path;
        bool opened = false;
    };
    std::vector<Pending> stack{{fsPath(path)}};
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (!top.opened && kindOf(top.path) == EntryKind::Folder) {
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
        if (kindOf(entry) != EntryKind::Absent)
            writer.remove(fromFsPath(entry));
    }
    return kindOf(fsPath(path)) == EntryKind::Absent;
}

} // namespace velmora::data
