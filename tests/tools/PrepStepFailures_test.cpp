#include "tools/BuildingExtraction.h"
#include "tools/CreateProductsUnit.h"
#include "tools/PrepTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;

// A step that stops names the step's file and the reason; no step crashes.
TEST(PrepStepFailures, StopWithAMessageNamingTheFile) {
    const struct {
        const char* assets; // fixture in prep-failures used as Assets.xml; nullptr: none
        const char* missingDirectory;
        bool products;
        const char* step;     // the last step that started
        const char* fileName; // named by the message
        const char* reason;
    } cases[] = {
        {"TemplateBuildingWithoutGuid.xml", nullptr, false, "B3", "Assets.xml", "keine GUID"},
        {"TemplateBuildingWithoutStandard.xml", nullptr, false, "B3", "Assets.xml",
         "Values/Standard"},
        {"TextOverrideWithoutText.xml", nullptr, false, "B3", "texts_german.xml", "777"},
        {"DerivedBuildingWithoutGuid.xml", nullptr, false, "B4", "BaseAsset_Buildings.xml",
         "keine GUID"},
        {"NoDerivedBuilding.xml", nullptr, false, "B5", "Buildings_Standard_UnCleaned.xml",
         "mindestens ein Gebäude"},
        {"ProductWithoutGuid.xml", nullptr, true, "P2", "Products.xml", "keine GUID"},
        {"TemplateBuildingWithLetterInGuid.xml", nullptr, false, "B3", "Assets.xml",
         "\u201E10103a5\u201C"},
        {"DerivedBuildingWithQuoteInGuid.xml", nullptr, false, "B4", "BaseAsset_Buildings.xml",
         "\u201E10\"01\u201C"},
        {"ProductWithQuoteInGuid.xml", nullptr, true, "P2", "Products.xml", "\u201E1010'17\u201C"},
        {nullptr, nullptr, false, "B2", "Assets.xml", "fehlt"},
        {nullptr, nullptr, true, "P1", "Assets.xml", "fehlt"},
        {"NoDerivedBuilding.xml", "TMP", false, "B2", "TMP", "Verzeichnis"},
        {"NoDerivedBuilding.xml", "XMLP", true, "P3", "XMLP", "Verzeichnis"},
        {"NoDerivedBuilding.xml", "WOR", true, "P4", "WOR", "Verzeichnis"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.assets ? c.assets : "no assets") + " / " + c.step);
        const PrepRunDir run(c.missingDirectory ? QStringList{QString::fromUtf8(c.missingDirectory)}
                                                : QStringList{});
        const PrepDirectories& dirs = run.dirs;
        writeBytes(dirs.org() + QStringLiteral("texts_german.xml"),
                   readBytes(fixture(QStringLiteral("prep-failures/texts_german.xml"))));
        writeBytes(dirs.org() + QStringLiteral("empty.xml"), "\xEF\xBB\xBF<AssetList/>\r\n");
        if (c.assets)
            writeBytes(
                dirs.org() + QStringLiteral("Assets.xml"),
                readBytes(fixture(QStringLiteral("prep-failures/") + QString::fromUtf8(c.assets))));
        QString lastStep;
        const StepReporter report = [&](const QString& step, const QString&) { lastStep = step; };
        try {
            if (c.products)
                RunProductsPipeline(dirs, report);
            else
                RunExtractionSteps(dirs, report);
            ADD_FAILURE() << "the run did not stop";
        } catch (const data::DataError& e) {
            EXPECT_EQ(lastStep, QString::fromUtf8(c.step));
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fileName)))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason)))
                << e.message().toStdString();
        }
    }
}

// A record nested far deeper than any game file stops the run at its first step with a message
// naming the file, never a crash.
TEST(PrepStepFailures, DeeplyNestedRecordStopsTheRunWithAMessage) {
    QByteArray assets = "<AssetList><Asset><Template>FactoryBuilding7</Template><Values>"
                        "<Standard><GUID>1010278</GUID><Name>mill</Name></Standard>";
    constexpr int kDepth = 50000;
    for (int i = 0; i < kDepth; ++i)
        assets += "<Item>";
    for (int i = 0; i < kDepth; ++i)
        assets += "</Item>";
    assets += "</Values></Asset></AssetList>";
    const PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    writeBytes(dirs.org() + QStringLiteral("texts_german.xml"),
               readBytes(fixture(QStringLiteral("prep-failures/texts_german.xml"))));
    writeBytes(dirs.org() + QStringLiteral("empty.xml"), "\xEF\xBB\xBF<AssetList/>\r\n");
    writeBytes(dirs.org() + QStringLiteral("Assets.xml"), assets);
    try {
        RunExtractionSteps(dirs, {});
        ADD_FAILURE() << "the run did not stop";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Assets.xml"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("verschachtelt"))) << e.what();
    }
}
