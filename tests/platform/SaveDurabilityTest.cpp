// A save killed at any moment leaves the store holding one whole,
// consistent save: the one before or the one it was writing.

#include "ConfigHome.h"
#include "FreshProcess.h"
#include "SaveSet.h"

#include <QProcess>

#include <chrono>
#include <random>
#include <thread>

#include <gtest/gtest.h>
#include <signal.h>

namespace zw::test {
namespace {

TEST(SaveDurability, AKilledSaveLeavesOneWholeConsistentSave)
{
    ConfigHome home;
    // A fixed seed, so that a failure comes back with the same kills.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> lifeMs(5, 100);
    const int kills = 60;

    int lastDeaths = 0; // nothing saved yet
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        QProcess saver;
        saver.start(QStringLiteral(SAVE_LOOP_PATH), {"loop"});
        ASSERT_TRUE(saver.waitForStarted(30000));
        ASSERT_TRUE(saver.waitForReadyRead(30000)) << "the saver made no first save";
        std::this_thread::sleep_for(std::chrono::milliseconds(lifeMs(random)));
        ASSERT_EQ(::kill(pid_t(saver.processId()), SIGKILL), 0);
        ASSERT_TRUE(saver.waitForFinished(30000));
        // Killed in its loop, not stopped early by a failed save.
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << saver.readAllStandardError().toStdString();

        const QMap<QString, QString> saved = readInFreshProcess();
        if (saved.isEmpty()) {
            ASSERT_EQ(lastDeaths, 0) << "a finished save was lost";
            continue;
        }
        ASSERT_EQ(saved.keys(), SaveKeys) << "only part of a save is there";
        bool ok[4];
        const int level = saved["Saw1"].toInt(&ok[0]);
        const int deaths = saved["Saw2"].toInt(&ok[1]);
        const int sum = saved["Saw3"].toInt(&ok[2]);
        const int remainder = saved["Saw4"].toInt(&ok[3]);
        ASSERT_TRUE(ok[0] && ok[1] && ok[2] && ok[3]) << "a value is not a number";
        ASSERT_GE(level, 1);
        EXPECT_EQ(sum, level + deaths);
        EXPECT_EQ(remainder, deaths % level);
        // Each saver carries on from the stored deaths, so going back would
        // mean a finished save was lost.
        ASSERT_GE(deaths, lastDeaths);
        lastDeaths = deaths;
    }
    EXPECT_GT(lastDeaths, 0) << "the saver never got to save";
}

} // namespace
} // namespace zw::test
