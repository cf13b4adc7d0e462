#include "data/DataError.h"
#include "data/FileAccess.h"
#include "data/system/FileSystem.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

// The common causes of a failed system call read in German, alike from an error code and from
// errno; the system's text is kept only for a cause without a German wording.
TEST(FileAccess, CommonFileErrorsReadInGerman) {
    const struct {
        int error;          // errno of the failed call
        const char* reason; // the German reason ("" = the system's text)
    } cases[] = {
        {ENOENT, "fehlt"},
        {ENOTDIR, "fehlt"},
        {EACCES, "Berechtigung"},
        {EPERM, "Berechtigung"},
        {EROFS, "schreibgeschützt"},
        {ENOSPC, "voll"},
        {EDQUOT, "voll"},
        {EBUSY, "anderen Programm"},
        {ETXTBSY, "anderen Programm"},
        {EISDIR, "Ordner"},
        {ENAMETOOLONG, "Pfad ist zu lang"},
        {ENOMEM, "Arbeitsspeicher"},
        {EEXIST, "steht bereits"},
        {ENOTEMPTY, "nicht leer"},
        {EXDEV, "verschiedenen Datenträgern"},
        {ELOOP, "Verknüpfungen"},
        {EIO, "Lese- oder Schreibfehler"},
        {EMFILE, "zu viele Dateien"},
        {EINVAL, "Name ist ungültig"},
        {EILSEQ, ""},
    };
    for (const auto& c : cases) {
        const std::error_code error(c.error, std::generic_category());
        const QString reason = fileErrorReason(error, QStringLiteral("Systemtext"));
        if (*c.reason) {
            EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reason)))
                << c.error << " " << reason.toStdString();
            EXPECT_EQ(fileErrorReason(c.error), reason) << c.error;
        } else {
            EXPECT_EQ(reason, QStringLiteral("Systemtext")) << c.error;
            // Without a text of its own the error code's text names it.
            EXPECT_EQ(fileErrorReason(c.error), QString::fromLocal8Bit(error.message().c_str()));
        }
    }
}

// Windows' own numbers (GetLastError()) read in German on every system: the C library would have
// turned most of them into EIO, and a message would have carried its English text.
TEST(FileAccess, WindowsErrorsReadInGerman) {
    const struct {
        int error;          // GetLastError() of the failed call
        const char* reason; // the whole German reason
    } cases[] = {
        {2, "Die Datei oder ihr Ordner fehlt."},
        {3, "Die Datei oder ihr Ordner fehlt."},
        {5, "Die Berechtigung dazu fehlt."},
        {19, "Der Datenträger ist schreibgeschützt."},
        {32, "Die Datei wird von einem anderen Programm verwendet."},
        {33, "Die Datei wird von einem anderen Programm verwendet."},
        {112, "Der Datenträger ist voll."},
        {206, "Der Pfad ist zu lang."},
        {80, "Unter dem Namen steht bereits eine Datei oder ein Ordner."},
        {183, "Unter dem Namen steht bereits eine Datei oder ein Ordner."},
        {145, "Der Ordner ist nicht leer."},
        {17, "Quelle und Ziel liegen auf verschiedenen Datenträgern."},
        {1117, "Der Datenträger meldet einen Lese- oder Schreibfehler."},
        {4390, "Das System erreicht hier nur das Ziel der Verknüpfung, nicht sie selbst."},
        // A number without a text of its own is named, never given in English.
        {1234567, "Windows meldet den Fehler 1234567."},
    };
    for (const auto& c : cases) {
        const std::error_code error(c.error, windowsErrorCategory());
        EXPECT_EQ(fileErrorReason(error, QStringLiteral("English system text")),
                  QString::fromUtf8(c.reason))
            << c.error;
    }
}

// Real failures of the disk name the file and read in German.
TEST(FileAccess, FailedReadsAndSavesNameTheFileInGerman) {
    TempDir dir;
    QDir().mkpath(dir.file(QStringLiteral("Ordner.xml")));
    const QString noFolder = dir.file(QStringLiteral("fehlt/Neu.xml"));
    const QString folder = dir.file(QStringLiteral("Ordner.xml"));
    const struct {
        const char* what;
        std::function<void()> run;
        QString named;
        const char* reason;
    } cases[] = {
        {"save into a missing folder", [&] { writeFileAtomically(noFolder, "x"); }, noFolder,
         "fehlt"},
        {"write where a folder stands", [&] { diskWriter().writeNew(folder, "x"); }, folder,
         "Ordner"},
        {"replace from a missing file",
         [&] { diskWriter().replace(dir.file(QStringLiteral("weg.xml")), noFolder); }, noFolder,
         "fehlt"},
        {"read a missing file", [&] { readFileBytes(noFolder); }, noFolder, "fehlt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.run();
            ADD_FAILURE() << "no error raised";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(quotedPath(c.named))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << e.what();
        }
    }
    EXPECT_TRUE(QFileInfo(folder).isDir()); // a failed write leaves what stood there
}

namespace {

// Writes to the disk but fails the n-th replace with an error that is no DataError, as a
// writer running out of memory would.
class ThrowingWriter final : public FileWriter {
public:
    int failReplaceNumber = 0;
    void writeNew(const QString& path, const QByteArray& bytes) override {
        diskWriter().writeNew(path, bytes);
    }
    void replace(const QString& from, const QString& to) override {
        if (++replaces_ == failReplaceNumber)
            throw std::bad_alloc();
        diskWriter().replace(from, to);
    }
    bool remove(const QString& path) override { return diskWriter().remove(path); }

private:
    int replaces_ = 0;
};

} // namespace

// Whatever stops a save of several files half-way, the files replaced are put back; a file
// named twice is refused before anything is written.
TEST(FileAccess, SaveOfSeveralFilesPutsBackWhateverStopsIt) {
    TempDir dir;
    const QString a = dir.file(QStringLiteral("Buildings.xml"));
    const QString b = dir.file(QStringLiteral("BuffsShort.xml"));
    writeBytes(a, "old a");
    writeBytes(b, "old b");
    ThrowingWriter writer;
    writer.failReplaceNumber = 2;
    EXPECT_THROW(writeFilesAllOrNothing({{a, "new a"}, {b, "new b"}}, writer), std::bad_alloc);
    EXPECT_EQ(readBytes(a), "old a");
    EXPECT_EQ(readBytes(b), "old b");

    EXPECT_THROW(writeFilesAllOrNothing({{a, "new a"}, {b, "new b"}, {a, "other a"}}), DataError);
    EXPECT_EQ(readBytes(a), "old a");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

// A save never writes through a link: neither one a stopped run left at the temporary name nor
// a target that is itself a link. The link's target, a file of the player's, stays as it was.
TEST(FileAccess, SavesNeverWriteThroughALink) {
    struct Case {
        const char* what;
        bool linkAtNewFile; // else the target itself is the link
    };
    for (const Case c : {Case{"link at the temporary name", true}, Case{"target a link", false}}) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const QString users = dir.file(QStringLiteral("Eigene Datei.txt"));
        writeBytes(users, "gehört dem Spieler");
        const QString target = dir.file(QStringLiteral("XMLP/BuildingsShort.xml"));
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (c.linkAtNewFile) {
            writeBytes(target, "alt");
            ASSERT_TRUE(QFile::link(users, target + kNewFileSuffix));
        } else {
            ASSERT_TRUE(QFile::link(users, target));
        }
        writeFileAtomically(target, "neu");
        EXPECT_EQ(readBytes(users), QByteArray("gehört dem Spieler"));
        EXPECT_EQ(readBytes(target), QByteArray("neu"));
        EXPECT_FALSE(QFileInfo(target).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(target + kNewFileSuffix));
    }
}
