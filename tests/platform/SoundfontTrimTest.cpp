// Cutting a soundfont down to the presets the game plays: which presets a
// tune asks for, that the kept presets sound exactly as in the whole
// soundfont, that the others are gone, and that a soundfont the cutter does
// not understand is loaded whole.

#include "AudioCapture.h"
#include "MidiWriter.h"
#include "TinyTune.h"
#include "platform/sound/SoundfontTrim.h"
#include "platform/sound/Synth.h"
#include "platform/sound/TuneFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <set>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::PresetRequest;
using platform::Synth;

std::set<PresetRequest> requested(const QByteArray& midi)
{
    const auto list = platform::presetsOfTune(midi);
    return {list.begin(), list.end()};
}

// The largest difference between two renderings of the same length.
double largestDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    double largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, double(std::abs(a[i] - b[i])));
    return largest;
}

// ---- Which presets a tune asks for -----------------------------------------

TEST(PresetsOfTune, ProgramChangesBankSelectsAndStartingPresets)
{
    struct Case {
        const char* what;
        std::function<std::vector<midi::Track>()> tune;
        std::set<PresetRequest> expected;
    };
    const Case cases[] = {
        {"a program change before the notes",
         [] {
             midi::Track t;
             t.program(0, 2, 40);
             t.note(0, 2, 60, 90, 100);
             return std::vector{t};
         },
         {{0, 40, false}}},
        {"notes without a program change play the starting preset; drums the drum kit",
         [] {
             midi::Track t;
             t.note(0, 0, 60, 90, 100);
             t.note(0, 9, 36, 90, 100);
             return std::vector{t};
         },
         {{0, 0, false}, {128, 0, true}}},
        {"a note before the first program change, in another track",
         [] {
             midi::Track a;
             a.program(480, 1, 73);
             midi::Track b;
             b.note(0, 1, 70, 90, 100);
             b.note(960, 1, 72, 90, 100);
             return std::vector{a, b};
         },
         {{0, 0, false}, {0, 73, false}}},
        {"a bank select names the bank; drum kits are changed by program",
         [] {
             midi::Track t;
             t.controller(0, 3, 0, 8);
             t.program(0, 3, 4);
             t.note(10, 3, 60, 90, 100);
             t.program(0, 9, 25);
             t.note(10, 9, 38, 90, 100);
             return std::vector{t};
         },
         {{0, 4, false}, {8, 4, false}, {128, 25, true}}},
        {"a channel that only changes program still asks for it; a silent one asks nothing",
         [] {
             midi::Track t;
             t.program(0, 5, 19);
             t.controller(0, 6, 7, 100);
             return std::vector{t};
         },
         {{0, 19, false}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(requested(midiFile(c.tune())), c.expected) << c.what;
}

TEST(PresetsOfTune, NotMidiOrBrokenOffAsksForWhatItCanRead)
{
    EXPECT_TRUE(platform::presetsOfTune(QByteArray("not a tune at all")).empty());
    EXPECT_TRUE(platform::presetsOfTune(QByteArray()).empty());

    midi::Track t;
    t.program(0, 0, 30);
    t.note(0, 0, 60, 90, 100);
    t.program(960, 0, 50);
    QByteArray whole = midiFile({t});
    // Cut off inside the second program change's track data: the first is read.
    const auto cut = requested(whole.left(whole.indexOf(char(0xc0), whole.indexOf(char(0xc0)) + 1)));
    EXPECT_EQ(cut, (std::set<PresetRequest>{{0, 30, false}}));
    // Junk after a valid header never crashes or invents presets beyond 0..127.
    QByteArray junk = whole.left(22);
    junk.append(QByteArray(500, char(0xc5)));
    for (const PresetRequest& p : platform::presetsOfTune(junk))
        EXPECT_LT(p.program, 128);
}

// ---- A small soundfont the test writes itself --------------------------------

void put16(QByteArray& out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}
void put32(QByteArray& out, quint32 v)
{
    put16(out, int(v & 0xffff));
    put16(out, int(v >> 16));
}
QByteArray chunk(const char* id, const QByteArray& body)
{
    QByteArray out(id, 4);
    put32(out, quint32(body.size()));
    out.append(body);
    if (body.size() & 1)
        out.append('\0');
    return out;
}
QByteArray list(const char* type, const QByteArray& body)
{
    return chunk("LIST", QByteArray(type, 4) + body);
}
QByteArray name20(const char* name)
{
    QByteArray out(name);
    out.resize(20, '\0');
    return out;
}

// Presets (bank, program) -> one instrument each -> one looped sample each,
// every sample a tone of its own pitch and shape, so any mix-up is heard.
struct TinyPreset {
    int bank;
    int program;
};
const TinyPreset TinyPresets[] = {{0, 0}, {0, 5}, {0, 80}, {8, 5}, {128, 0}};
constexpr int Points = 4000;

QByteArray tinySoundfont()
{
    const int count = int(std::size(TinyPresets));
    QByteArray samples;
    QByteArray shdr;
    for (int s = 0; s < count; ++s) {
        const int start = int(samples.size() / 2);
        const double period = 40.0 + 17 * s;
        for (int i = 0; i < Points; ++i) {
            const double phase = std::fmod(i / period, 1.0);
            const double value = s % 2 ? std::sin(2 * M_PI * phase) : (phase < 0.3 ? 1.0 : -1.0);
            put16(samples, int(std::lround(value * (8000 + 3000 * s))));
        }
        samples.append(QByteArray(46 * 2, '\0'));
        shdr += name20(("tone" + std::to_string(s)).c_str());
        put32(shdr, quint32(start));
        put32(shdr, quint32(start + Points));
        put32(shdr, quint32(start + 200));
        put32(shdr, quint32(start + Points - 200));
        put32(shdr, 22050);
        shdr.append(char(60));
        shdr.append('\0');
        put16(shdr, 0);
        put16(shdr, 1); // mono
    }
    shdr += name20("EOS");
    shdr.append(QByteArray(26, '\0'));

    QByteArray phdr, pbag, pmod, pgen, inst, ibag, imod, igen;
    for (int i = 0; i < count; ++i) {
        phdr += name20(("preset" + std::to_string(i)).c_str());
        put16(phdr, TinyPresets[i].program);
        put16(phdr, TinyPresets[i].bank);
        put16(phdr, i);
        put32(phdr, 0);
        put32(phdr, 0);
        put32(phdr, 0);
        put16(pbag, 2 * i);
        put16(pbag, 0);
        put16(pgen, 51); // coarse tune: the preset level has its say too
        put16(pgen, i);
        put16(pgen, 41); // instrument
        put16(pgen, count - 1 - i);
        inst += name20(("instrument" + std::to_string(i)).c_str());
        put16(inst, i);
        put16(ibag, 2 * i);
        put16(ibag, 0);
        put16(igen, 54); // sample modes: loop while the key is held
        put16(igen, 1);
        put16(igen, 53); // sample
        put16(igen, i);
    }
    phdr += name20("EOP");
    put16(phdr, 0);
    put16(phdr, 0);
    put16(phdr, count);
    put32(phdr, 0);
    put32(phdr, 0);
    put32(phdr, 0);
    put16(pbag, 2 * count);
    put16(pbag, 0);
    pmod.append(QByteArray(10, '\0'));
    pgen.append(QByteArray(4, '\0'));
    inst += name20("EOI");
    put16(inst, count);
    put16(ibag, 2 * count);
    put16(ibag, 0);
    imod.append(QByteArray(10, '\0'));
    igen.append(QByteArray(4, '\0'));

    QByteArray version;
    put16(version, 2);
    put16(version, 1);
    const QByteArray info = list("INFO", chunk("ifil", version) + chunk("isng", QByteArray("EMU8000", 8))
                                             + chunk("INAM", QByteArray("tiny test set", 14)));
    const QByteArray sdta = list("sdta", chunk("smpl", samples));
    const QByteArray pdta = list("pdta", chunk("phdr", phdr) + chunk("pbag", pbag) + chunk("pmod", pmod)
                                             + chunk("pgen", pgen) + chunk("inst", inst) + chunk("ibag", ibag)
                                             + chunk("imod", imod) + chunk("igen", igen) + chunk("shdr", shdr));
    return chunk("RIFF", QByteArray("sfbk") + info + sdta + pdta);
}

class TrimmedSoundfont : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes, const char* name = "tiny.sf2")
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // The presets the synthesiser's (only) soundfont holds.
    static std::set<std::pair<int, int>> presetsIn(Synth& synth)
    {
        std::set<std::pair<int, int>> out;
        fluid_sfont_t* sfont = fluid_synth_get_sfont(synth.synth(), 0);
        if (!sfont)
            return out;
        fluid_sfont_iteration_start(sfont);
        while (fluid_preset_t* preset = fluid_sfont_iteration_next(sfont))
            out.insert({fluid_preset_get_banknum(preset), fluid_preset_get_num(preset)});
        return out;
    }

    // A chord of notes on channels set to these presets, rendered.
    static std::vector<float> render(Synth& synth, const std::vector<PresetRequest>& play)
    {
        AudioCapture capture(synth);
        int channel = 0;
        for (const PresetRequest& p : play) {
            const int ch = p.drum ? 9 : channel++;
            if (!p.drum)
                fluid_synth_bank_select(synth.synth(), ch, unsigned(p.bank));
            fluid_synth_program_change(synth.synth(), ch, p.program);
            fluid_synth_noteon(synth.synth(), ch, 60 + 3 * ch, 100);
        }
        capture.renderSeconds(0.4);
        for (int ch = 0; ch < 16; ++ch)
            fluid_synth_all_notes_off(synth.synth(), ch);
        capture.renderSeconds(0.3);
        return capture.samples();
    }

    QTemporaryDir dir;
};

TEST_F(TrimmedSoundfont, KeepsOnlyTheWantedPresetsAndTheySoundAsInTheWholeSet)
{
    const QString path = write(tinySoundfont());
    // (8, 5) is there; (3, 80) is not and falls back to (0, 80); (0, 77) is
    // not and falls back to (0, 0); drum kit 40 falls back to kit 0.
    const std::vector<PresetRequest> wanted{{8, 5, false}, {3, 80, false}, {0, 77, false}, {128, 40, true}};

    Synth whole;
    ASSERT_TRUE(whole.loadSoundfont(path));
    EXPECT_EQ(presetsIn(whole).size(), std::size(TinyPresets));
    Synth cut;
    ASSERT_TRUE(cut.loadSoundfont(path, wanted));
    EXPECT_EQ(cut.presetsKept(), 4);
    EXPECT_EQ(presetsIn(cut), (std::set<std::pair<int, int>>{{0, 0}, {0, 80}, {8, 5}, {128, 0}}));

    const std::vector<float> expected = render(whole, wanted);
    const std::vector<float> heard = render(cut, wanted);
    ASSERT_EQ(heard.size(), expected.size());
    EXPECT_GT(AudioCapture::rms(expected, 0, long(expected.size() / 2)), 0.01);
    EXPECT_LT(largestDifference(heard, expected), 1e-6) << "the kept presets do not play the same samples";
}

TEST_F(TrimmedSoundfont, MorePresetsWantedLaterAreLoadedThen)
{
    const QString path = write(tinySoundfont());
    Synth cut;
    ASSERT_TRUE(cut.loadSoundfont(path, {Synth::beepPreset()}));
    EXPECT_EQ(presetsIn(cut), (std::set<std::pair<int, int>>{{0, 80}}));
    cut.usePresets({{0, 80, false}});
    EXPECT_EQ(presetsIn(cut).size(), 1u);
    cut.usePresets({{0, 5, false}, {128, 0, true}});
    EXPECT_EQ(presetsIn(cut), (std::set<std::pair<int, int>>{{0, 5}, {0, 80}, {128, 0}}));
}

// Every kind of damage the cutter meets leaves the soundfont loaded whole
// (when FluidSynth can read it) and never crashes.
TEST_F(TrimmedSoundfont, ADamagedOrOddSoundfontIsLoadedWhole)
{
    const QByteArray good = tinySoundfont();
    const qsizetype pbag = good.indexOf("pbag");
    const qsizetype pgen = good.indexOf("pgen");
    struct Case {
        const char* what;
        std::function<QByteArray()> bytes;
    };
    const Case cases[] = {
        {"a preset's bag index past the bag list",
         [&] {
             QByteArray b = good;
             b[good.indexOf("preset1") + 24] = char(60);
             return b;
         }},
        {"an instrument number past the instrument list",
         [&] {
             QByteArray b = good;
             b[pgen + 8 + 6] = char(99);
             return b;
         }},
        {"a bag list that is not a whole number of records",
         [&] {
             QByteArray b = good;
             b[pbag + 4] = char(b[pbag + 4] + 2);
             return b;
         }},
        {"no preset data list",
         [&] {
             QByteArray b = good;
             b.replace(good.indexOf("pdta"), 4, "xdta");
             return b;
         }},
        {"cut off in the middle", [&] { return good.left(good.size() - 100); }},
        {"not a soundfont", [] { return QByteArray(2000, 'x'); }},
    };
    for (const Case& c : cases) {
        const QString path = write(c.bytes(), "damaged.sf2");
        EXPECT_FALSE(platform::trimSoundfont(path, {{0, 5, false}})) << c.what;
        Synth synth;
        synth.loadSoundfont(path, {{0, 5, false}}); // whatever FluidSynth makes of it
        EXPECT_EQ(synth.presetsKept(), 0) << c.what;
    }
    // No wanted preset in the soundfont at all: the whole set, too.
    const QString path = write(good);
    Synth synth;
    ASSERT_TRUE(synth.loadSoundfont(path, {{128, 7, true}}));
    // The drum request falls back to kit 0, which is there; a bank the
    // soundfont has no drums in would leave nothing, then all is loaded.
    EXPECT_EQ(synth.presetsKept(), 1);
}

// ---- The installed General MIDI set and the game's tune ---------------------

TEST(TrimmedGeneralMidi, TheGamesTuneSoundsTheSameFromTheCutSoundfont)
{
    const QString soundfont = platform::findSoundfont();
    ASSERT_FALSE(soundfont.isEmpty()) << "no General MIDI soundfont installed";
    const auto tune = platform::readTune(QStringLiteral(GAME_TUNE_PATH));
    ASSERT_TRUE(tune.has_value()) << "the build did not write " GAME_TUNE_PATH;
    std::vector<PresetRequest> wanted = platform::presetsOfTune(*tune);
    ASSERT_FALSE(wanted.empty());
    wanted.push_back(Synth::beepPreset());

    auto render = [&](Synth& synth) {
        AudioCapture capture(synth);
        EXPECT_TRUE(synth.loadTune(*tune));
        synth.startTune();
        capture.renderSeconds(12);
        return capture.samples();
    };
    Synth whole;
    ASSERT_TRUE(whole.loadSoundfont(soundfont));
    Synth cut;
    ASSERT_TRUE(cut.loadSoundfont(soundfont, wanted));
    EXPECT_GT(cut.presetsKept(), 0);
    EXPECT_LT(cut.presetsKept(), 20);

    const std::vector<float> expected = render(whole);
    const std::vector<float> heard = render(cut);
    ASSERT_EQ(heard.size(), expected.size());
    EXPECT_GT(AudioCapture::rms(expected, 0, long(expected.size() / 2)), 0.01);
    EXPECT_LT(largestDifference(heard, expected), 1e-6);
}

} // namespace
} // namespace zw::test
