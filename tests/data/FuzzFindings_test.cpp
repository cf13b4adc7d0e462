// Inputs the fuzz targets of fuzz/ found harmful, each kept as a small fixture: every reader
// ends in a German message naming the file. Run under ./test.sh --sanitize, a read of freed or
// foreign memory fails here too.
#include "data/DataError.h"
#include "data/XmlDocument.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

TEST(FuzzFindings, DamagedInputEndsInAMessageNamingTheFile) {
    struct Case {
        const char* fixture; // below tests/fixtures
        const char* found;   // what went wrong before the fix
        std::function<void(const QString&)> read;
    };
    const Case cases[] = {
        {"data/TruncatedUtf16.xml",
         "the fault line was counted in the file's bytes after the parser had freed them "
         "(any damaged file that is not UTF-8)",
         [](const QString& path) { data::XmlDocument::load(path); }},
        {"data/NulAfterRoot.xml",
         "the parser took the NUL for the end of the text and dropped what followed without a "
         "word; a save would have lost it",
         [](const QString& path) { data::XmlDocument::load(path); }},
        {"data/Utf16NulAfterRoot.xml", "the same for a NUL character in a UTF-16 file",
         [](const QString& path) { data::XmlDocument::load(path); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + ": " + c.found);
        const QString path = fixture(QString::fromUtf8(c.fixture));
        try {
            c.read(path);
            ADD_FAILURE() << "no error";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.message().contains(QFileInfo(path).fileName()))
                << e.message().toStdString();
        }
    }
}

} // namespace
