// The media commands the game sends: the verb in any case, the file taken
// from beside the program, everything else ignored.

#include "platform/sound/MediaCommand.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::MediaCommand;
using platform::parseMediaCommand;
using Verb = MediaCommand::Verb;

const QString ProgramDir = QStringLiteral("/opt/zigwalk");

struct Case {
    const char* command;
    Verb verb;
    const char* path;
};

std::ostream& operator<<(std::ostream& out, const Case& c)
{
    return out << '[' << c.command << ']';
}

class MediaCommandTest : public ::testing::TestWithParam<Case> {};

TEST_P(MediaCommandTest, ReadsTheVerbAndTheFile)
{
    const MediaCommand parsed = parseMediaCommand(QString::fromUtf8(GetParam().command), ProgramDir);
    EXPECT_EQ(parsed.verb, GetParam().verb);
    EXPECT_EQ(parsed.path.toStdString(), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MediaCommandTest,
    ::testing::Values(
        // what the game sends
        Case{"Play music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"Stop music.mid", Verb::Stop, "/opt/zigwalk/music.mid"},
        // the verb in any case, blanks around and between
        Case{"play music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"PLAY music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"sToP music.mid", Verb::Stop, "/opt/zigwalk/music.mid"},
        Case{"  Play \t music.mid  ", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"Play\tmusic.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        // names with blanks, folders, or a full path
        Case{"Play \"my tune.mid\"", Verb::Play, "/opt/zigwalk/my tune.mid"},
        Case{"Play tunes/../music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"Play tunes/night.mid", Verb::Play, "/opt/zigwalk/tunes/night.mid"},
        Case{"Play /srv/music/night.mid", Verb::Play, "/srv/music/night.mid"},
        // anything else
        Case{"", Verb::Ignored, ""},
        Case{"Play", Verb::Ignored, ""},
        Case{"Play   ", Verb::Ignored, ""},
        Case{"Play \"\"", Verb::Ignored, ""},
        Case{"Playmusic.mid", Verb::Ignored, ""},
        Case{"Pause music.mid", Verb::Ignored, ""},
        Case{"Open music.mid", Verb::Ignored, ""},
        Case{"Close music.mid", Verb::Ignored, ""}));

// Started from elsewhere, the game still finds and plays the tune beside it.
TEST(MediaCommandDirectory, TheCurrentDirectoryDoesNotMatter)
{
    const QString before = QDir::currentPath();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    const MediaCommand parsed = parseMediaCommand(QStringLiteral("Play music.mid"), ProgramDir);
    QDir::setCurrent(before);
    EXPECT_EQ(parsed.path, QStringLiteral("/opt/zigwalk/music.mid"));
}

} // namespace
} // namespace zw::test
