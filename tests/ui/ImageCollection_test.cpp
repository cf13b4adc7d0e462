#include "support/TestSupport.h"
#include "ui/ImageCollection.h"
#include "ui/UiTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

void writePicture(const TempDir& dir, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(dir.file(name + QStringLiteral(".png")));
}

TEST(ImageCollection, NamesMatchWithoutAsciiCaseAtAnySize) {
    TempDir dir;
    writePicture(dir, QStringLiteral("delete"), {128, 128}, Qt::red);
    writePicture(dir, QStringLiteral("Älteste"), {128, 128}, Qt::green);
    writePicture(dir, QStringLiteral("Star"), {128, 128}, Qt::blue);
    writePicture(dir, QStringLiteral("star"), {128, 128}, Qt::yellow); // same name but for case
    writePicture(dir, QStringLiteral("Wide"), {128, 64}, Qt::black);
    const ui::ImageCollection pictures(dir.path());

    struct Case {
        const char* name;
        QSize size;
        QColor centre;
    }; // invalid colour: no picture
    const Case cases[] = {
        {"Delete", {64, 64}, Qt::red},
        {"DELETE", {44, 44}, Qt::red},
        {"ÄLTESTE", {48, 48}, Qt::green}, // only ASCII letters fold
        {"älteste", {48, 48}, QColor()},
        {"STAR", {128, 128}, Qt::blue}, // the first in name order wins
        {"Wide", {44, 44}, Qt::black},  // kept in proportion, centred
        {"missing", {128, 128}, QColor()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QPixmap p = pictures.picture(QString::fromUtf8(c.name), c.size);
        if (!c.centre.isValid()) {
            EXPECT_TRUE(p.isNull());
            EXPECT_TRUE(pictures.icon(QString::fromUtf8(c.name), c.size).isNull());
            continue;
        }
        ASSERT_EQ(p.size(), c.size);
        EXPECT_EQ(p.toImage().pixelColor(c.size.width() / 2, c.size.height() / 2), c.centre);
    }
    // The wide picture leaves transparent bands above and below.
    EXPECT_EQ(
        pictures.picture(QStringLiteral("wide"), {44, 44}).toImage().pixelColor(22, 1).alpha(), 0);
}

TEST(ImageCollection, ProgramCarriesTheNamedPictures) {
    const ui::ImageCollection& pictures = ui::ImageCollection::instance();
    for (const char* name : {"Empty", "IsChanged128", "IsExported128", "NoMainFormIcon", "1", "4",
                             "Background", "Group0", "Group5"})
        EXPECT_TRUE(pictures.contains(QString::fromLatin1(name))) << name;
}

// An icon decodes its picture when it is drawn, not when it is made: a list of hundreds of rows
// decodes the rows it shows.
TEST(ImageCollection, AnIconDecodesItsPictureWhenFirstDrawn) {
    TempDir dir;
    writePicture(dir, QStringLiteral("Star"), {128, 128}, Qt::blue);
    writePicture(dir, QStringLiteral("Moon"), {128, 128}, Qt::gray);
    const ui::ImageCollection pictures(dir.path());
    const QIcon star = pictures.icon(QStringLiteral("star"), {44, 44});
    const QIcon moon = pictures.icon(QStringLiteral("Moon"), {44, 44});
    EXPECT_FALSE(star.isNull());
    EXPECT_EQ(pictures.decodedCount(), 0);
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
        const QImage drawn = star.pixmap(QSize(44, 44), mode).toImage();
        ASSERT_EQ(drawn.size(), QSize(44, 44));
        EXPECT_EQ(drawn.pixelColor(22, 22), QColor(Qt::blue)); // selected rows stay as they are
    }
    EXPECT_EQ(pictures.decodedCount(), 1);
    EXPECT_EQ(moon.pixmap(QSize(22, 22)).size(), QSize(22, 22));
    EXPECT_EQ(pictures.decodedCount(), 2);
}

} // namespace
