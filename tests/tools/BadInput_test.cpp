// The bad-input catalogue of the data preparation: the stand-in game's files in ORG, a copy of
// the shipped data files in XMLP, one game file damaged in one way, and "velmora-dataprep all"
// run as the developer runs it. Every case ends with exit code 1 and a German message naming
// the damaged file, without a crash, and XMLP stays as it was.
#include "support/BadInput.h"
#include "support/ShippedData.h"
#include "tools/PrepTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora::test;

namespace {

struct PrepCase {
    const char* file; // the game file in ORG that is damaged
    Damage damage;
};

std::string caseName(const PrepCase& c) {
    QString file = QString::fromUtf8(c.file);
    file.remove(QStringLiteral(".xml"));
    return file.toStdString() + "_" + damageName(c.damage);
}

void PrintTo(const PrepCase& c, std::ostream* os) {
    *os << caseName(c);
}

std::vector<PrepCase> everyCase() {
    std::vector<PrepCase> cases;
    // The three files the pipelines read; their records are looked up by many steps, so
    // "MissingRecord" is left to the step tests (PrepStepFailures).
    for (const char* file : {"Assets.xml", "texts_german.xml", "ProductionChain.xml"})
        for (Damage d : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Binary,
                         Damage::DeepNesting, Damage::NulAfterRoot})
            cases.push_back({file, d});
    return cases;
}

class BadGameFileTest : public ::testing::TestWithParam<PrepCase> {};

TEST_P(BadGameFileTest, EndsWithExitCodeOneAndAGermanMessageAndLeavesXmlpAsItWas) {
    const PrepCase& c = GetParam();
    GameProgramDir program;
    const QString xmlp = copyShippedData(program.dir + QStringLiteral("/XMLP"));
    ASSERT_NO_FATAL_FAILURE(
        damageFile(program.dir + QStringLiteral("/ORG/") + QString::fromUtf8(c.file), c.damage));
    const auto before = snapshot(xmlp);
    const auto [exitCode, output] = program.runAll();
    EXPECT_EQ(exitCode, 1) << output.toStdString();
    // The last line is the step that stopped and the reason.
    const QString message = output.trimmed().section(QLatin1Char('\n'), -1);
    expectGermanMessageNaming(message, QString::fromUtf8(c.file));
    expectSameFiles(before, snapshot(xmlp));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadGameFileTest, ::testing::ValuesIn(everyCase()),
                         [](const auto& info) { return caseName(info.param); });

} // namespace
