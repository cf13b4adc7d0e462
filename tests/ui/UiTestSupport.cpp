#include "ui/UiTestSupport.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test {

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
        // The offscreen platform has no system fonts: the program's own font must be there.
        QFontDatabase::addApplicationFont(
            sourcePath(QStringLiteral("resources/fonts/Heuristica-Regular.ttf")));
        QFontDatabase::addApplicationFont(
            sourcePath(QStringLiteral("resources/fonts/Heuristica-Bold.ttf")));
    }

private:
    QApplication* app_ = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void whenModalShows(std::function<void()> action) {
    QTimer::singleShot(0, qApp, std::move(action));
}

} // namespace velmora::test
