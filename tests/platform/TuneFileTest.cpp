// Which files are taken as the tune: only a MIDI file of sensible size.

#include "ConfigHome.h"
#include "TinyTune.h"
#include "platform/sound/TuneFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::MaxTuneBytes;
using platform::readTune;

QByteArray midiHeaderPaddedTo(qint64 size)
{
    QByteArray bytes = tinyTune();
    bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

TEST(TuneFile, AMidiFileIsReadWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("music.mid");
    writeBytes(path, tinyTune());

    const auto tune = readTune(path);
    ASSERT_TRUE(tune.has_value());
    EXPECT_EQ(*tune, tinyTune());
}

TEST(TuneFile, ATuneOfTheLargestSizeIsStillTaken)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("music.mid");
    writeBytes(path, midiHeaderPaddedTo(MaxTuneBytes));

    const auto tune = readTune(path);
    ASSERT_TRUE(tune.has_value());
    EXPECT_EQ(tune->size(), MaxTuneBytes);
}

struct Refused {
    const char* name;
    void (*make)(const QString& path);
};

std::ostream& operator<<(std::ostream& out, const Refused& refused)
{
    return out << refused.name;
}

class RefusedTuneTest : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedTuneTest, IsNotTaken)
{
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                          | QFile::ReadOther | QFile::ExeOther);
    const QString path = dir.filePath("music.mid");
    GetParam().make(path);
    AsPlayer player; // root could read even the unreadable file
    EXPECT_FALSE(readTune(path).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedTuneTest,
    ::testing::Values(
        Refused{"Missing", [](const QString&) {}},
        Refused{"Empty", [](const QString& path) { writeBytes(path, ""); }},
        Refused{"Text", [](const QString& path) { writeBytes(path, "Play music.mid\n"); }},
        Refused{"Garbage", [](const QString& path) { writeBytes(path, QByteArray(2048, '\xA7')); }},
        Refused{"AFolder", [](const QString& path) { QDir().mkpath(path); }},
        Refused{"OneByteTooLarge", [](const QString& path) { writeBytes(path, midiHeaderPaddedTo(MaxTuneBytes + 1)); }},
        Refused{"Unreadable", [](const QString& path) {
            writeBytes(path, tinyTune());
            QFile::setPermissions(path, {});
        }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::test
