#pragma once
// The writes of the file layer, behind one interface. The program writes through diskWriter();
// a test hands an operation a writer that fails where it wants (a full disk, a file in use).
//
// Every save of the system is built from these three steps: a new file is written beside its
// target under the target's name + kNewFileSuffix, then renamed over the target, so the target
// always holds either its old or its new content, complete.
#include <QByteArray>
#include <QString>

namespace velmora::data {

// The suffix of a file written beside its target before it replaces it. A run that was killed
// may leave one behind; the next save of the same target overwrites it.
inline const QString kNewFileSuffix = QStringLiteral(".cindral-neu");

class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Creates the file at path anew (whatever file or link was there is removed first, never
    // written through), writes bytes and flushes them to the disk. A failure raises DataError
    // with a German message naming the file.
    virtual void writeNew(const QString& path, const QByteArray& bytes) = 0;
    // Renames from to to, replacing an existing to in one step. Raises DataError on failure.
    virtual void replace(const QString& from, const QString& to) = 0;
    // Removes a file; false when it exists and could not be removed.
    virtual bool remove(const QString& path) = 0;
};

// The writer of the program: the disk as it is.
FileWriter& diskWriter();

} // namespace velmora::data
