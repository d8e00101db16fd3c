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
    const char* name;
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
        Case{"TheGamesPlay", "Play music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"TheGamesStop", "Stop music.mid", Verb::Stop, "/opt/zigwalk/music.mid"},
        // the verb in any case, blanks around and between
        Case{"PlayInLowerCase", "play music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"PlayInCapitals", "PLAY music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"StopInMixedCase", "sToP music.mid", Verb::Stop, "/opt/zigwalk/music.mid"},
        Case{"BlanksAroundAndBetween", "  Play \t music.mid  ", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"ATabBetween", "Play\tmusic.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        // names with blanks, folders, or a full path
        Case{"AQuotedNameWithABlank", "Play \"my tune.mid\"", Verb::Play, "/opt/zigwalk/my tune.mid"},
        Case{"AFolderAndBack", "Play tunes/../music.mid", Verb::Play, "/opt/zigwalk/music.mid"},
        Case{"ANameInAFolder", "Play tunes/night.mid", Verb::Play, "/opt/zigwalk/tunes/night.mid"},
        Case{"AFullPath", "Play /srv/music/night.mid", Verb::Play, "/srv/music/night.mid"},
        // anything else
        Case{"Nothing", "", Verb::Ignored, ""},
        Case{"PlayAlone", "Play", Verb::Ignored, ""},
        Case{"PlayAndBlanks", "Play   ", Verb::Ignored, ""},
        Case{"PlayAnEmptyQuote", "Play \"\"", Verb::Ignored, ""},
        Case{"NoBlankAfterTheVerb", "Playmusic.mid", Verb::Ignored, ""},
        Case{"Pause", "Pause music.mid", Verb::Ignored, ""},
        Case{"Open", "Open music.mid", Verb::Ignored, ""},
        Case{"Close", "Close music.mid", Verb::Ignored, ""}),
    [](const auto& info) { return std::string(info.param.name); });

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
