#pragma once
// Helpers shared by the test executables.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace velmora::test {

// A fresh temporary directory, removed at the end of the test.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// Path of a file below tests/fixtures.
QString fixture(const QString& relative);
// Path below the repository's source tree.
QString sourcePath(const QString& relative);
// Every file below dir (relative path -> bytes), to show that nothing changed; folders are
// listed too, as path + "/" with no bytes, and an entry that is no regular file (a pipe, a link
// to a device) by what it is.
QMap<QString, QByteArray> snapshot(const QString& dir);
// Drops the guards a start takes (the program's and its data directory's lock files) from a
// snapshot of the registry folder or a folder above it.
inline void dropStartLocks(QMap<QString, QByteArray>& files) {
    for (auto it = files.begin(); it != files.end();)
        it = it.key().endsWith(QStringLiteral(".lock")) ? files.erase(it) : std::next(it);
}

} // namespace velmora::test
