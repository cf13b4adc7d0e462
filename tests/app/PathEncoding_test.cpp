// File names reach the C libraries the program calls (the ZIP library, the XML library, the C
// and C++ standard libraries, the system) as UTF-8 or as wide text. Windows' ANSI code page can
// not hold every name ("C:\Users\Jürgen ß" fails in many of them), and on this machine the
// local 8-bit encoding is UTF-8, so no test that runs here can tell the two apart. The sources
// of the program are therefore searched for the calls that convert to or from the local 8-bit
// encoding, or hand a narrow name to a library that reads it in that encoding.
#include "support/TestSupport.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

using namespace velmora::test;

namespace {

struct LocalEncodingCall {
    const char* pattern; // a regular expression over one line of source
    const char* why;
};

const LocalEncodingCall kLocalEncodingCalls[] = {
    {R"(QFile::(encode|decode)Name\s*\()", "the ANSI code page on Windows"},
    {R"(toLocal8Bit\s*\()", "the ANSI code page on Windows"},
    // The system's own messages come in the local encoding; anything else read so is a name.
    {R"(fromLocal8Bit\s*\((?!.*\b(message|what)\s*\())", "the ANSI code page on Windows"},
    {R"(\b(load|save)_file\s*\()", "the XML library opens narrow names with fopen"},
    {R"(\b_?fopen\s*\()", "narrow names are ANSI on Windows"},
    {R"(filesystem::path\s*\([^;]*toStdString\s*\()", "a narrow std::string is ANSI on Windows"},
};

TEST(PathEncoding, NoProgramSourceHandsAPathToALibraryInTheLocalEncoding) {
    std::vector<QRegularExpression> patterns;
    for (const LocalEncodingCall& call : kLocalEncodingCalls)
        patterns.emplace_back(QString::fromLatin1(call.pattern));
    QStringList found;
    for (const char* layer : {"src/app", "src/data", "src/mod", "src/ui"}) {
        QDirIterator it(sourcePath(QString::fromLatin1(layer)),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QStringList lines = QString::fromUtf8(readBytes(path)).split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (lines[i].trimmed().startsWith(QLatin1String("//")))
                    continue;
                for (std::size_t p = 0; p < patterns.size(); ++p) {
                    if (patterns[p].match(lines[i]).hasMatch())
                        found << QStringLiteral("%1:%2: %3 (%4)")
                                     .arg(path.mid(sourcePath(QString()).size()))
                                     .arg(i + 1)
                                     .arg(lines[i].trimmed(),
                                          QString::fromLatin1(kLocalEncodingCalls[p].why));
                }
            }
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}

} // namespace
