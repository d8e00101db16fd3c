// A store that cannot be written: the game plays on, says so once (not on
// every death), and the save already stored stays as it was.

#include "ConfigFolder.h"
#include "GameProcess.h"
#include "support/ProgramCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <sys/mount.h>

namespace zw::reliability {
namespace {

// Plays a few hundred moves on a store that refuses every write, after a
// save of level 9 with 4 deaths was stored while it still worked. Unseeded,
// the store is no file at all (a folder): it cannot be read either, and
// every continue answers with the bad-data box.
void expectPlaysOnAndKeepsTheSave(const QString& configHome, const QStringList& extraArgs = {},
                                  std::function<void()> inChild = {}, bool seeded = true,
                                  const QString& program = QString())
{
    const QString storeFile = configHome + QStringLiteral("/Zigwalk_Korvel.conf");
    const QByteArray before = fileBytes(storeFile);
    const QProcessEnvironment environment = gameEnvironment(configHome);

    const GameRun run = runGame(QStringList{QStringLiteral("play"), QStringLiteral("--rounds"), QStringLiteral("300")}
                                    + extraArgs,
                                environment, program, inChild);
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').right(600).toStdString() << run.errors.toStdString();
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.summary(QStringLiteral("saves")), 0) << "no write may go through";
    EXPECT_GT(run.summary(QStringLiteral("failed")), 10) << "the game kept trying at every save";
    EXPECT_EQ(run.summary(QStringLiteral("saveboxes")), 1) << "told once";
    const int badData = run.summary(QStringLiteral("baddata"));
    if (seeded)
        EXPECT_EQ(badData, 0) << "the stored save is read";
    else
        EXPECT_GT(badData, 0) << "continue answers with the bad-data box";
    EXPECT_EQ(run.summary(QStringLiteral("boxes")), 1 + badData) << "and nothing else";
    EXPECT_GT(run.summary(QStringLiteral("deaths")), 10) << "the deaths still count";
    EXPECT_GE(run.summary(QStringLiteral("highest")), 5) << "the levels still change";

    EXPECT_EQ(fileBytes(storeFile), before) << "the stored save is intact";
    if (seeded) {
        const LoadReport next = loadInNewStart(environment);
        EXPECT_TRUE(next.accepted);
        EXPECT_EQ(next.level, 9);
        EXPECT_EQ(next.deaths, 4);
    }
}

void seedSave(const QString& configHome)
{
    const GameRun seeded = runGame({QStringLiteral("seed"), QStringLiteral("9"), QStringLiteral("4")},
                                   gameEnvironment(configHome));
    ASSERT_EQ(seeded.exitCode, 0) << seeded.lines.join('\n').toStdString();
}

TEST(UnwritableStore, AReadOnlySettingsFolder)
{
    ConfigFolder folder;
    seedSave(folder.path());
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    // Root writes through any permission: the player is "nobody" here, the
    // store is theirs, in a folder they may not write, and they run a copy of
    // the game that they can reach wherever the build is.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(folder.path() + QStringLiteral("/Zigwalk_Korvel.conf")).constData(),
                          NobodyUid, 65534), 0);
    }
    const test::ProgramCopy game(scriptedGamePath());
    ASSERT_FALSE(game.program().isEmpty());
    expectPlaysOnAndKeepsTheSave(folder.path(), {}, [] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(NobodyUid) != 0))
            ::_exit(99);
    }, true, game.program());
}

TEST(UnwritableStore, ADirectoryWhereTheFileShouldBe)
{
    ConfigFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.storeFile()));
    expectPlaysOnAndKeepsTheSave(folder.path(), {}, {}, false);
    EXPECT_TRUE(QFileInfo(folder.storeFile()).isDir());
}

TEST(UnwritableStore, AFileSizeLimitThatNoSaveFitsIn)
{
    ConfigFolder folder;
    seedSave(folder.path());
    expectPlaysOnAndKeepsTheSave(folder.path(), {QStringLiteral("--fsize-limit"), QStringLiteral("16")});
}

// A small filesystem of its own, unmounted again however the test ends.
class SmallDisk {
public:
    SmallDisk()
    {
        mounted_ = ::mount("tmpfs", QFile::encodeName(place_.path()).constData(), "tmpfs", 0, "size=128k,mode=0755") == 0;
        if (!mounted_)
            why_ = ::geteuid() != 0 ? std::string("needs root to mount a small filesystem")
                                    : std::string("this machine refuses root a mount (mount tmpfs: ")
                                          + std::strerror(errno) + ")";
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(place_.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return why_; }
    QString path() const { return place_.path(); }

    // Fills every byte that is left.
    void fill() const
    {
        QFile filler(place_.path() + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        // The last bytes of a page.
        while (filler.write("x", 1) == 1 && filler.flush()) {
        }
    }

private:
    QTemporaryDir place_;
    bool mounted_ = false;
    std::string why_;
};

TEST(UnwritableStore, AFullDisk)
{
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.whyNot();
    const QString configHome = disk.path() + QStringLiteral("/config");
    ASSERT_TRUE(QDir().mkpath(configHome));
    seedSave(configHome);
    disk.fill();
    expectPlaysOnAndKeepsTheSave(configHome);
}

} // namespace
} // namespace zw::reliability
