// The real synthesiser with the installed soundfont, rendered to memory:
// tunes and the beep are heard, a broken tune is not, a stopped tune falls
// silent, and the game's own tune plays for about a minute.

#include "AudioCapture.h"
#include "ConfigHome.h"
#include "TinyTune.h"
#include "platform/sound/Synth.h"
#include "platform/sound/TuneFile.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::Synth;

// Levels as root mean square of samples from -1 to 1: the tunes here sit
// around 0.05 to 0.2; digital silence is 0.
constexpr double Audible = 0.01;
constexpr double Silent = 1e-4;

class SynthTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString soundfont = platform::findSoundfont();
        ASSERT_FALSE(soundfont.isEmpty()) << "no General MIDI soundfont installed";
        ASSERT_TRUE(synth.loadSoundfont(soundfont));
    }

    Synth synth;
};

TEST(Soundfont, TheInstalledGeneralMidiSetIsFound)
{
    const QString soundfont = platform::findSoundfont();
    EXPECT_TRUE(QFileInfo(soundfont).isFile()) << soundfont.toStdString();
    EXPECT_TRUE(soundfont.startsWith("/usr/share/sounds/sf2/")) << soundfont.toStdString();
}

TEST_F(SynthTest, AFewNotesAreHeard)
{
    AudioCapture capture(synth);
    ASSERT_TRUE(synth.loadTune(tinyTune()));
    synth.startTune();
    const double played = capture.renderTune(10);

    // Four notes of half a second; the player then gives the last one a few
    // seconds to ring out before it calls the tune done.
    EXPECT_GT(played, 1.9);
    EXPECT_LT(played, 6.0);
    const std::vector<float> audio = capture.samples();
    EXPECT_GT(AudioCapture::rms(audio, 0, long(played * capture.sampleRate())), Audible);
}

// A file can begin like MIDI and still be nothing but junk after that.
TEST_F(SynthTest, ATuneThatIsJunkAfterItsHeaderIsNotHeard)
{
    QByteArray junk = tinyTune().left(14);
    junk.append(QByteArray(3000, '\x93'));
    AudioCapture capture(synth);
    synth.loadTune(junk);
    synth.startTune();
    capture.renderTune(5);
    capture.renderSeconds(1);

    const std::vector<float> audio = capture.samples();
    EXPECT_LT(AudioCapture::rms(audio, 0, long(audio.size())), Silent);
    EXPECT_FALSE(synth.tunePlaying());
}

TEST_F(SynthTest, AStoppedTuneFallsSilent)
{
    AudioCapture capture(synth);
    ASSERT_TRUE(synth.loadTune(tinyTune()));
    synth.startTune();
    const long stopped = capture.renderSeconds(0.8);
    synth.stopTune();
    EXPECT_FALSE(synth.tunePlaying());
    const long end = capture.renderSeconds(2.5);

    const std::vector<float> audio = capture.samples();
    const double playing = AudioCapture::rms(audio, 0, stopped);
    // Only the room's echo may linger, and not for long.
    const double afterwards = AudioCapture::rms(audio, end - long(0.5 * capture.sampleRate()), end);
    EXPECT_GT(playing, Audible);
    EXPECT_LT(afterwards, playing / 100);
}

TEST_F(SynthTest, TheBeepIsHeardAndEnds)
{
    AudioCapture capture(synth);
    synth.beepOn();
    const long beeped = capture.renderSeconds(0.15);
    synth.beepOff();
    const long end = capture.renderSeconds(3);

    const std::vector<float> audio = capture.samples();
    EXPECT_GT(AudioCapture::rms(audio, 0, beeped), Audible);
    EXPECT_LT(AudioCapture::rms(audio, end - long(0.5 * capture.sampleRate()), end), Silent * 10);
}

// The time of the last tenth of a second in which anything is heard.
double heardFor(const std::vector<float>& audio, double sampleRate)
{
    const long window = long(sampleRate / 10);
    for (long end = long(audio.size() / 2); end > 0; end -= window) {
        if (AudioCapture::rms(audio, end - window, end) > Audible / 10)
            return end / sampleRate;
    }
    return 0;
}

TEST_F(SynthTest, TheGamesTuneIsAMinuteOrLessOfMusic)
{
    const auto tune = platform::readTune(QStringLiteral(GAME_TUNE_PATH));
    ASSERT_TRUE(tune.has_value()) << "the build did not write " GAME_TUNE_PATH;
    AudioCapture capture(synth);
    ASSERT_TRUE(synth.loadTune(*tune));
    synth.startTune();
    capture.renderTune(120);
    ASSERT_FALSE(synth.tunePlaying()) << "the tune does not come to an end";

    const std::vector<float> audio = capture.samples();
    const double length = heardFor(audio, capture.sampleRate());
    EXPECT_GE(length, 30.0);
    EXPECT_LE(length, 60.0);
    // Heard all the way through: every ten seconds hold music.
    for (double from = 0; from + 10 <= length; from += 10) {
        const long start = long(from * capture.sampleRate());
        EXPECT_GT(AudioCapture::rms(audio, start, start + long(10 * capture.sampleRate())), Audible)
            << "from " << from << " s";
    }
    // Loud enough, but never so loud that the sound card would clip it.
    float peak = 0;
    for (float sample : audio)
        peak = std::max(peak, std::abs(sample));
    EXPECT_LT(peak, 1.0f);
}

// The samples of the presets the cut soundfont keeps are read when it is
// loaded; a tune that changes instruments as it plays, and a beep in the
// middle of it, never make the audio thread open the file again.
TEST(SynthSamples, NoSoundfontFileIsReadOnceTheTunePlays)
{
    const auto tune = platform::readTune(QStringLiteral(GAME_TUNE_PATH));
    ASSERT_TRUE(tune.has_value()) << "the build did not write " GAME_TUNE_PATH;
    const QString soundfont = platform::findSoundfont();
    ASSERT_FALSE(soundfont.isEmpty()) << "no General MIDI soundfont installed";
    std::vector<platform::PresetRequest> presets = platform::presetsOfTune(*tune);
    ASSERT_GE(presets.size(), 2u) << "the game's tune changes instruments";
    presets.push_back(Synth::beepPreset());

    Synth synth;
    ASSERT_TRUE(synth.loadSoundfont(soundfont, presets));
    ASSERT_GT(synth.presetsKept(), 0) << "the soundfont was not cut";
    AudioCapture capture(synth);
    synth.prepareBeep();
    ASSERT_TRUE(synth.loadTune(*tune));
    synth.startTune();

    const int opensBefore = platform::Synth::soundfontFileOpens();
    capture.renderSeconds(5);
    synth.beepOn();
    capture.renderSeconds(0.2);
    synth.beepOff();
    capture.renderTune(120);
    EXPECT_EQ(platform::Synth::soundfontFileOpens(), opensBefore) << "the soundfont was read while the tune played";
    EXPECT_GT(AudioCapture::rms(capture.samples(), 0, long(capture.samples().size())), Audible)
        << "the tune was not heard";
}

} // namespace
} // namespace zw::test
