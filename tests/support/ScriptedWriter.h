#pragma once
// A file writer for tests: writes to the disk like the program's, but fails the calls a test
// names, as a full disk, a locked file or a crash before the rename would.
#include "data/DataError.h"
#include "data/FileWriter.h"

#include <QFileInfo>
#include <QStringList>
#include <functional>

namespace velmora::test {

class ScriptedWriter final : public data::FileWriter {
public:
    // Fails the n-th writeNew (counted from 1, 0 = never).
    int failWriteNumber = 0;
    // Fails every replace whose target has this file name ("" = never).
    QString failReplaceOf;
    // Renames what a link points to instead of the link, as Wine does with a Unix link.
    bool renameMovesLinkTarget = false;
    // How many replace calls had a link as their source.
    int linkRenames = 0;
    // Every call, in order: "write <file name>", "replace <file name>", "remove <file name>".
    QStringList calls;

    void writeNew(const QString& path, const QByteArray& bytes) override {
        calls << QStringLiteral("write ") + QFileInfo(path).fileName();
        if (++writes_ == failWriteNumber)
            throw data::DataError(QStringLiteral("Der Datenträger ist voll."));
        data::diskWriter().writeNew(path, bytes);
    }
    void replace(const QString& from, const QString& to) override {
        calls << QStringLiteral("replace ") + QFileInfo(to).fileName();
        if (!failReplaceOf.isEmpty() && QFileInfo(to).fileName() == failReplaceOf)
            throw data::DataError(
                QStringLiteral("Die Datei wird von einem anderen Programm verwendet."));
        if (QFileInfo(from).isSymLink()) {
            ++linkRenames;
            if (renameMovesLinkTarget)
                return data::diskWriter().replace(QFileInfo(from).symLinkTarget(), to);
        }
        data::diskWriter().replace(from, to);
    }
    bool remove(const QString& path) override {
        calls << QStringLiteral("remove ") + QFileInfo(path).fileName();
        return data::diskWriter().remove(path);
    }

private:
    int writes_ = 0;
};

} // namespace velmora::test
