// The real game on a desktop where the sound cannot work: the synthesiser's
// library or the soundfont is missing (hidden from the game in a private
// mount namespace), or there is no sound server. Each time the game must
// play as ever: a level won, a death, and a clean end, silent throughout.

#include "PlaySteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

enum class Missing { Library, Soundfont, SoundServer };

struct Desktop {
    const char* name;
    Missing missing;
    bool tune; // music.mid beside the program
};

std::ostream& operator<<(std::ostream& out, const Desktop& desktop)
{
    return out << desktop.name;
}

// The file behind the synthesiser's library, as the loader finds it; empty
// when it is not installed.
QString synthesiserLibraryFile()
{
    void* library = dlopen("libfluidsynth.so.3", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return {};
    link_map* map = nullptr;
    QString file;
    if (dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
        file = QFileInfo(QFile::decodeName(map->l_name)).canonicalFilePath();
    return file;
}

// A command that runs the rest of the command line in a mount namespace of
// its own, with `shell` run there first. As root (CI) a mount namespace is
// enough; otherwise a user namespace gives the rights to mount in it.
QStringList insideNamespace(const QString& shell)
{
    QStringList command = {QStringLiteral("unshare"), geteuid() == 0 ? QStringLiteral("-m") : QStringLiteral("-rm"),
                           QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"),
                           shell + QStringLiteral(" && exec \"$@\""), QStringLiteral("sh")};
    return command;
}

bool works(const QStringList& command)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(command.value(0), command.mid(1) + QStringList{QStringLiteral("true")});
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

bool mapsSynthesiser(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libfluidsynth");
}

class WithoutSynthesiser : public PlayingTest, public ::testing::WithParamInterface<Desktop> {
protected:
    void SetUp() override
    {
        PlayingTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(x.started()) << "Xvfb did not start";
    }
};

TEST_P(WithoutSynthesiser, PlaysALevelDiesAndEndsCleanly)
{
    const Desktop desktop = GetParam();
    QStringList command;
    switch (desktop.missing) {
    case Missing::Library: {
        const QString library = synthesiserLibraryFile();
        if (library.isEmpty())
            GTEST_SKIP() << "the synthesiser's library is not installed, so nothing is there to hide";
        command = insideNamespace(QStringLiteral("mount --bind /dev/null '%1'").arg(library));
        break;
    }
    case Missing::Soundfont:
        command = insideNamespace(QStringLiteral("mount -t tmpfs none /usr/share/sounds/sf2"));
        break;
    case Missing::SoundServer:
        break; // the game's home has no server, and no client starts one
    }
    if (!command.isEmpty() && !works(command))
        GTEST_SKIP() << (::geteuid() != 0 ? "this machine gives a user no mount namespace: "
                                          : "this machine refuses root a mount namespace: ")
                     << command.join(QLatin1Char(' ')).toStdString();

    QTemporaryDir alone;
    QString program = gameProgram();
    if (!desktop.tune) {
        program = alone.filePath(QStringLiteral("zigwalk"));
        ASSERT_TRUE(QFile::copy(gameProgram(), program));
    } else {
        ASSERT_TRUE(QFileInfo::exists(QFileInfo(program).dir().filePath(QStringLiteral("music.mid"))));
    }
    command << program;

    GameHome home;
    // The game's errors go to a file, where the sound says when it is set up.
    const QString errors = home.path() + QStringLiteral("/errors");
    QProcessEnvironment traced;
    traced.insert(QStringLiteral("ZIGWALK_TRACE_SOUND"), QStringLiteral("1"));
    RunningGame game(x, home,
                     QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                 QStringLiteral("errors=$1; shift; exec \"$@\" 2>\"$errors\""), QStringLiteral("sh"),
                                 errors}
                         + command,
                     traced);
    ASSERT_TRUE(menuShown()) << "the menu did not show";
    // The sound sets itself up after the first frame; before the fix the
    // game died then, half a second after its start, or at the first death.
    const auto errorText = [&errors] {
        QFile file(errors);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_TRUE(waitUntil([&] { return errorText().contains(QStringLiteral("zigwalk-sound set up")); }, StepTimeoutMs))
        << "the sound never set itself up: " << errorText().toStdString();
    ASSERT_TRUE(game.alive()) << "the game died as its sound set up: " << errorText().toStdString();
    ASSERT_TRUE(newGame()) << "level 1 did not show";
    ASSERT_TRUE(walkToGoal(1)) << "level 2 did not show";
    ASSERT_TRUE(dieOn(2)) << "the death was not counted";
    ASSERT_TRUE(game.alive());
    // Hidden means hidden: only where the library is there does the game load it.
    EXPECT_EQ(mapsSynthesiser(game.process().processId()), desktop.missing != Missing::Library);
    EXPECT_TRUE(quitFromLevel(2, game)) << "the game did not end cleanly";
}

INSTANTIATE_TEST_SUITE_P(Desktops, WithoutSynthesiser,
                         ::testing::Values(Desktop{"NoLibraryWithATune", Missing::Library, true},
                                           Desktop{"NoLibraryWithoutATune", Missing::Library, false},
                                           Desktop{"NoSoundfontWithATune", Missing::Soundfont, true},
                                           Desktop{"NoSoundServerWithATune", Missing::SoundServer, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::e2e
