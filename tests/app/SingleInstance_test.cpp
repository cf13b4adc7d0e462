#include "app/platform/portable/PortablePlatform.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace velmora::test;

namespace {

const QString kProbe = QStringLiteral(VELMORA_BIN_DIR "/velmora_instance_probe");

// Starts the probe and waits until it holds the guard or has ended.
void startProbe(QProcess& probe, const QString& registryDir) {
    probe.start(kProbe, {registryDir});
    ASSERT_TRUE(probe.waitForStarted());
    while (probe.state() == QProcess::Running && !probe.canReadLine())
        probe.waitForReadyRead(100);
}

TEST(SingleInstance, ASecondProcessIsRefusedWhileTheFirstKeepsRunning) {
    TempDir dir;
    QProcess first;
    startProbe(first, dir.path());
    ASSERT_EQ(first.readLine().trimmed(), QByteArray("l\xC3\xA4uft"));

    QProcess second;
    startProbe(second, dir.path());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 2);
    EXPECT_EQ(second.readAllStandardOutput().trimmed(),
              QStringLiteral("Programmstartfehler|Das Programm <Velmora Cindral> läuft bereits!")
                  .toUtf8());
    EXPECT_EQ(first.state(), QProcess::Running);

    first.closeWriteChannel(); // the first copy ends normally
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);

    QProcess third;
    startProbe(third, dir.path());
    EXPECT_EQ(third.readLine().trimmed(), QByteArray("l\xC3\xA4uft"));
    third.closeWriteChannel();
    EXPECT_TRUE(third.waitForFinished(10000));
}

TEST(SingleInstance, ACrashedProcessDoesNotBlockTheNextStart) {
    TempDir dir;
    QProcess crashed;
    startProbe(crashed, dir.path());
    ASSERT_EQ(crashed.readLine().trimmed(), QByteArray("l\xC3\xA4uft"));
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(10000));

    velmora::app::PortablePlatform next(dir.path());
    EXPECT_TRUE(next.holdSingleInstance(L"VelmoraProduction"));
    EXPECT_TRUE(next.holdSingleInstance(L"VelmoraProduction")); // held already by this process
}

// The system's reason is given in German.
TEST(SingleInstance, AGuardThatCanNotBeCreatedIsReportedInGerman) {
    TempDir dir;
    QDir().mkpath(dir.file(QStringLiteral("VelmoraProduction.lock")));
    velmora::app::PortablePlatform platform(dir.path());
    try {
        platform.holdSingleInstance(L"VelmoraProduction");
        ADD_FAILURE() << "no error";
    } catch (const velmora::app::PlatformError& e) {
        EXPECT_EQ(QString::fromStdWString(e.message()),
                  QStringLiteral("Die Programmsperre \u201E%1\u201C kann nicht angelegt werden: An "
                                 "ihrer Stelle steht ein Ordner.")
                      .arg(dir.file(QStringLiteral("VelmoraProduction.lock"))));
    }
}

} // namespace
