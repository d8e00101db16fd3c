// Odd machines: no sound card, no soundfont, a tune that is garbage, empty or
// huge, a program folder nobody may write, a home without a settings folder,
// locales with an 8-bit charset or a decimal comma. The game starts, plays,
// saves, and the next start loads the same values.

#include "ConfigFolder.h"
#include "GameProcess.h"
#include "support/ProgramCopy.h"

#include "platform/sound/Sound.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <thread>

#include <unistd.h>
#include <random>

#include <gtest/gtest.h>

namespace zw::reliability {
namespace {

// How and where one run of the game happens.
struct Surroundings {
    QProcessEnvironment environment;
    QString program;               // empty: the game as built
    QStringList playArgs;
    std::function<void()> inChild; // in the new process, before the game starts
};

QStringList playArgs(const Surroundings& where)
{
    return QStringList{QStringLiteral("play"), QStringLiteral("--rounds"), QStringLiteral("100")} + where.playArgs;
}

// Plays in one place, continues in another (or the same): the save comes back the same.
GameRun expectPlaysSavesAndLoads(const Surroundings& play, const Surroundings& load)
{
    const GameRun run = runGame(playArgs(play), play.environment, play.program, play.inChild);
    EXPECT_EQ(run.exitCode, 0) << run.lines.join('\n').right(600).toStdString() << run.errors.toStdString();
    EXPECT_FALSE(run.crashed) << run.errors.toStdString();
    EXPECT_GT(run.summary(QStringLiteral("saves")), 20);
    EXPECT_EQ(run.summary(QStringLiteral("failed")), 0);
    EXPECT_EQ(run.summary(QStringLiteral("boxes")), 0);
    const std::optional<SaveSet> saved = run.lastSave();
    if (!saved) {
        ADD_FAILURE() << "no save was written";
        return run;
    }

    const LoadReport report = loadInNewStart(load.environment, load.program, load.inChild);
    EXPECT_EQ(report.run.exitCode, 0) << report.run.lines.join('\n').toStdString();
    EXPECT_TRUE(report.accepted);
    EXPECT_TRUE(report.stored && *report.stored == *saved) << "stored differs from the last save";
    EXPECT_EQ(report.level, saved->level);
    EXPECT_EQ(report.deaths, saved->deaths);
    return run;
}

class OddEnvironment : public ::testing::Test {
protected:
    ConfigFolder folder;

    Surroundings plain() const { return {gameEnvironment(folder.path()), {}, {}, {}}; }

    Surroundings withLocale(const QString& name) const
    {
        Surroundings where = plain();
        where.environment.insert(QStringLiteral("LANG"), name);
        where.environment.insert(QStringLiteral("LC_ALL"), name);
        return where;
    }
};

TEST_F(OddEnvironment, ThePlainCLocale)
{
    const GameRun run = expectPlaysSavesAndLoads(withLocale(QStringLiteral("C")), withLocale(QStringLiteral("C")));
    EXPECT_EQ(run.summaryText(QStringLiteral("decimal")), QStringLiteral("."));
}

TEST_F(OddEnvironment, ACzechLocaleWithAnEightBitCharsetAndADecimalComma)
{
    const Surroundings czech = withLocale(QStringLiteral("cs_CZ.ISO-8859-2"));
    const GameRun run = expectPlaysSavesAndLoads(czech, czech);
    EXPECT_EQ(run.summaryText(QStringLiteral("decimal")), QStringLiteral(","));
}

TEST_F(OddEnvironment, ADecimalCommaChosenInsideTheProgram)
{
    Surroundings german = withLocale(QStringLiteral("C"));
    german.playArgs = {QStringLiteral("--locale"), QStringLiteral("de_DE")};
    const GameRun run = expectPlaysSavesAndLoads(german, german);
    EXPECT_EQ(run.summaryText(QStringLiteral("decimal")), QStringLiteral(","));
}

TEST_F(OddEnvironment, SavedUnderOneLocaleAndLoadedUnderTheOther)
{
    const Surroundings comma = withLocale(QStringLiteral("cs_CZ.UTF-8"));
    const Surroundings point = withLocale(QStringLiteral("C"));
    expectPlaysSavesAndLoads(comma, point);
    expectPlaysSavesAndLoads(point, comma);
}

TEST_F(OddEnvironment, AHomeWithoutASettingsFolder)
{
    QTemporaryDir home;
    Surroundings where = plain();
    where.environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    where.environment.insert(QStringLiteral("HOME"), home.path());
    ASSERT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/.config")));
    expectPlaysSavesAndLoads(where, where);
    EXPECT_TRUE(QFileInfo(home.path() + QStringLiteral("/.config/Zigwalk_Korvel.conf")).isFile());
}

// A copy of the game in a folder of its own, with whatever lies beside it.
class ProgramFolder {
public:
    QString path() const { return copy_.folder(); }
    QString program() const { return copy_.program(); }
    void putTune(const QByteArray& bytes) const { writeFile(path() + QStringLiteral("/music.mid"), bytes); }

private:
    test::ProgramCopy copy_{scriptedGamePath()};
};

// The smallest tune: one note, then the end of the track.
QByteArray tinyTune()
{
    const unsigned char bytes[] = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
        'M', 'T', 'r', 'k', 0, 0, 0, 12,
        0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00,
    };
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

TEST_F(OddEnvironment, AProgramFolderNobodyMayWrite)
{
    const ProgramFolder programFolder;
    ASSERT_FALSE(programFolder.program().isEmpty());
    ASSERT_EQ(::chmod(QFile::encodeName(programFolder.path()).constData(), 0555), 0);
    // Root writes anywhere; the player is "nobody", who owns only the settings folder.
    if (runningAsRoot()) {
        ASSERT_EQ(::chown(QFile::encodeName(folder.path()).constData(), NobodyUid, NobodyUid), 0);
    }
    Surroundings where = plain();
    where.program = programFolder.program();
    where.inChild = [] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(NobodyUid) != 0))
            ::_exit(99);
    };
    expectPlaysSavesAndLoads(where, where);
}

TEST_F(OddEnvironment, NoSoundCardAndATuneThatIsGarbageEmptyHugeOrFine)
{
    const struct {
        const char* what;
        QByteArray bytes;
    } tunes[] = {
        {"garbage", randomBytes(3000, 1)},
        {"empty", {}},
        {"huge", tinyTune() + randomBytes(6 << 20, 2)},
        {"a MIDI header and nothing more", tinyTune().left(14)},
        {"a fine tune", tinyTune()},
    };
    for (const auto& tune : tunes) {
        SCOPED_TRACE(tune.what);
        const ProgramFolder programFolder;
        ASSERT_FALSE(programFolder.program().isEmpty());
        programFolder.putTune(tune.bytes);
        Surroundings where = plain();
        where.program = programFolder.program();
        // Neither a sound server nor a sound card to be found.
        where.environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/pulse"));
        where.environment.insert(QStringLiteral("ALSA_CONFIG_PATH"), QStringLiteral("/nonexistent/alsa.conf"));
        const GameRun run = expectPlaysSavesAndLoads(where, where);
        EXPECT_EQ(run.summary(QStringLiteral("music")), -1) << "the tune beside the game was found";
    }
}

TEST_F(OddEnvironment, NoSoundfont)
{
    // The soundfonts are hidden under an empty filesystem in a mount
    // namespace of the game's own; the rest of the machine keeps them.
    const GameRun probe = runGame({QStringLiteral("--mount"), QStringLiteral("true")}, plain().environment,
                                  QStringLiteral("unshare"));
    if (probe.exitCode != 0)
        GTEST_SKIP() << (::geteuid() != 0 ? "needs root to mount in a namespace of the game's own"
                                          : "this machine refuses root a mount namespace (unshare --mount: "
                                                + probe.errors.trimmed().toStdString() + ")");

    const ProgramFolder programFolder;
    programFolder.putTune(tinyTune());
    const QString hide = QStringLiteral(
        "mount -t tmpfs none /usr/share/sounds || exit 97; "
        "test ! -e /usr/share/sounds/sf2 || exit 98; "
        "exec \"$0\" \"$@\"");
    const QStringList playCommand = QStringList{QStringLiteral("--mount"), QStringLiteral("sh"), QStringLiteral("-c"),
                                                hide, programFolder.program()}
        + playArgs(plain());
    const GameRun run = runGame(playCommand, plain().environment, QStringLiteral("unshare"));
    EXPECT_EQ(run.exitCode, 0) << run.lines.join('\n').right(600).toStdString() << run.errors.toStdString();
    EXPECT_GT(run.summary(QStringLiteral("saves")), 20);
    EXPECT_EQ(run.summary(QStringLiteral("boxes")), 0);
    EXPECT_EQ(run.summary(QStringLiteral("music")), -1);
    const LoadReport next = loadInNewStart(plain().environment);
    ASSERT_TRUE(run.lastSave());
    EXPECT_TRUE(next.accepted);
    EXPECT_TRUE(next.stored && *next.stored == *run.lastSave());
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// In this process: the sound starts and ends without a sound card, whatever
// the tune, and whatever it is asked; each one winds down completely, with
// a tune perhaps still loading, and leaves no thread behind.
TEST(SoundWithoutHardware, StartsPlaysBeepsAndEndsSilently)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse");
    std::thread([] {}).join(); // a thread sanitizer's own helper thread comes with the first thread
    const int before = threadCount();
    const QByteArray tunes[] = {randomBytes(3000, 3), {}, tinyTune() + randomBytes(6 << 20, 4), tinyTune()};
    for (const QByteArray& tune : tunes) {
        QTemporaryDir folder;
        writeFile(folder.path() + QStringLiteral("/music.mid"), tune);
        {
            platform::Sound sound(folder.path());
            for (const char* command : {"Play music.mid", "Stop music.mid", "Play music.mid", "Play nothing.mid",
                                        "Stop music.mid", "", "Play", "Play music.mid"})
                sound.mciExecute(QString::fromLatin1(command));
            for (int i = 0; i < 20; ++i)
                sound.beep();
        }
        int after = threadCount();
        for (int i = 0; i < 200 && after != before; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            after = threadCount();
        }
        EXPECT_EQ(after, before) << "a thread of the sound outlived it, tune of " << tune.size() << " bytes";
    }
}

} // namespace
} // namespace zw::reliability
