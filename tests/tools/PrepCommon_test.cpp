#include "support/TestSupport.h"
#include "tools/PrepCommon.h"

#include <gtest/gtest.h>

using namespace velmora::tools;
using namespace velmora::test;

TEST(PrepCommon, SortUniqueSortsAsTextIgnoringCaseAndDropsRepeats) {
    EXPECT_EQ(SortUnique({"99", "100", "100"}), QStringList({"100", "99"}));
    EXPECT_EQ(SortUnique({"icon_b", "Icon_A", "icon_a"}).size(), 2);
}

TEST(PrepCommon, IconNameOfPath) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"data/ui/2kimages/main/3dicons/icon_fish.png", "icon_fish"},
        {"No Iconfile", "No Iconfile"},
        {"C:\\icons\\icon_a.b.png", "icon_a.b"},
        {"x:icon_c.dds", "icon_c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iconNameOfPath(QString::fromUtf8(c.path)), QString::fromUtf8(c.name)) << c.path;
}

TEST(PrepCommon, LineFilesInTheirThreeEncodingsRoundTrip) {
    TempDir dir;
    const QStringList lines = {QStringLiteral("Gänse € \u201EZitat\u201C"), QString(),
                               QStringLiteral("B")};
    const struct {
        LineEncoding enc;
        QByteArray prefix;
    } cases[] = {
        {LineEncoding::Utf8WithBom, "\xEF\xBB\xBFG\xC3\xA4nse"},
        {LineEncoding::Utf8, "G\xC3\xA4nse"},
        {LineEncoding::Windows1252, "G\xE4nse \x80 \x84Zitat\x93\r\n\r\nB\r\n"},
    };
    for (const auto& c : cases) {
        writeLineFile(dir.file("l.txt"), lines, c.enc);
        EXPECT_TRUE(readBytes(dir.file("l.txt")).startsWith(c.prefix));
        EXPECT_TRUE(readBytes(dir.file("l.txt")).endsWith("B\r\n"));
        EXPECT_EQ(readLineFile(dir.file("l.txt"), c.enc), lines);
    }
    EXPECT_EQ(toWindows1252(QStringLiteral("\u0394")), QByteArray("?")); // not in the code page
}
