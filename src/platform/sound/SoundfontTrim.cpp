#include "platform/sound/SoundfontTrim.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

namespace zw::platform {

namespace {

// ---- The tune -------------------------------------------------------------

constexpr int DrumChannel = 9;
constexpr int DrumBank = 128;

struct ChannelUse {
    std::set<int> programs;
    std::set<int> banks{0};
    long firstNote = -1;
    long firstProgram = -1;
};

// Reads a MIDI variable-length number; false past the end.
bool readNumber(const unsigned char*& at, const unsigned char* end, quint32& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end)
            return false;
        const unsigned char byte = *at++;
        value = (value << 7) | (byte & 0x7f);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

quint32 bigEndian32(const unsigned char* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

// One track's channel events, into use. A track that breaks off early
// keeps what it had up to there, as the player plays it.
void scanTrack(const unsigned char* at, const unsigned char* end, std::array<ChannelUse, 16>& use)
{
    long tick = 0;
    unsigned char status = 0;
    while (at < end) {
        quint32 delta = 0;
        if (!readNumber(at, end, delta) || at >= end)
            return;
        tick += long(delta);
        unsigned char byte = *at;
        if (byte & 0x80) {
            ++at;
            // A meta event or a system exclusive message: skipped by its length.
            if (byte == 0xff || byte == 0xf0 || byte == 0xf7) {
                if (byte == 0xff) { // a meta event's type comes before its length
                    if (at >= end)
                        return;
                    ++at;
                }
                quint32 length = 0;
                if (!readNumber(at, end, length) || length > quint32(end - at))
                    return;
                at += length;
                continue;
            }
            if (byte >= 0xf0)
                return; // no other system message belongs in a file
            status = byte;
        } else if (!status) {
            return; // data without a status
        }
        const int kind = status >> 4;
        const int dataBytes = (kind == 0xc || kind == 0xd) ? 1 : 2;
        if (end - at < dataBytes)
            return;
        const int first = at[0] & 0x7f;
        const int second = dataBytes == 2 ? (at[1] & 0x7f) : 0;
        at += dataBytes;
        ChannelUse& channel = use[status & 0x0f];
        if (kind == 0x9 && second > 0) {
            if (channel.firstNote < 0 || tick < channel.firstNote)
                channel.firstNote = tick;
        } else if (kind == 0xc) {
            channel.programs.insert(first);
            if (channel.firstProgram < 0 || tick < channel.firstProgram)
                channel.firstProgram = tick;
        } else if (kind == 0xb && (first == 0 || first == 32)) {
            // FluidSynth takes the bank from the high byte; the low byte is
            // kept too, for a synthesiser set to read banks the other way.
            channel.banks.insert(second);
        }
    }
}

// ---- The soundfont --------------------------------------------------------

quint16 le16(const char* p)
{
    return quint16(quint8(p[0]) | quint8(p[1]) << 8);
}

quint32 le32(const char* p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8 | quint32(quint8(p[2])) << 16
        | quint32(quint8(p[3])) << 24;
}

void put16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, quint16(value & 0xffff));
    put16(out, quint16(value >> 16));
}

void set16(QByteArray& out, qsizetype at, quint16 value)
{
    out[at] = char(value & 0xff);
    out[at + 1] = char(value >> 8);
}

// Record sizes of the preset data's sub-chunks, in the order they must come.
constexpr const char* ListIds[] = {"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"};
constexpr int RecordSizes[] = {38, 4, 10, 4, 22, 4, 10, 4, 46};
enum { Phdr, Pbag, Pmod, Pgen, Inst, Ibag, Imod, Igen, Shdr, ListCount };

constexpr quint16 InstrumentGenerator = 41;
constexpr quint16 SampleGenerator = 53;

// The preset data split into its nine record lists, each checked against
// the others so that rebuilding can trust every index in it.
struct PresetData {
    std::array<QByteArray, ListCount> lists;

    int count(int list) const { return int(lists[list].size() / RecordSizes[list]); }
    const char* record(int list, int index) const { return lists[list].constData() + index * RecordSizes[list]; }

    bool parse(const QByteArray& pdta)
    {
        qsizetype at = 0;
        for (int list = 0; list < ListCount; ++list) {
            if (pdta.size() - at < 8 || std::memcmp(pdta.constData() + at, ListIds[list], 4) != 0)
                return false;
            const quint32 size = le32(pdta.constData() + at + 4);
            at += 8;
            if (size > quint32(pdta.size() - at) || size % RecordSizes[list] != 0 || size < quint32(RecordSizes[list]))
                return false;
            lists[list] = pdta.mid(at, size);
            at += size;
        }
        // A header list's bag indices climb to the last (terminal) bag;
        // a bag list's generator and modulator indices climb to the end of theirs.
        return headersValid(Phdr, 24, Pbag) && headersValid(Inst, 20, Ibag) && bagsValid(Pbag, Pgen, Pmod)
            && bagsValid(Ibag, Igen, Imod) && generatorsValid(Pgen, InstrumentGenerator, count(Inst) - 1)
            && generatorsValid(Igen, SampleGenerator, count(Shdr) - 1);
    }

    bool headersValid(int list, int bagField, int bags) const
    {
        int previous = 0;
        for (int i = 0; i < count(list); ++i) {
            const int bag = le16(record(list, i) + bagField);
            if (bag < previous)
                return false;
            previous = bag;
        }
        return previous == count(bags) - 1;
    }

    bool bagsValid(int bags, int generators, int modulators) const
    {
        int previousGen = 0;
        int previousMod = 0;
        for (int i = 0; i < count(bags); ++i) {
            const int gen = le16(record(bags, i));
            const int mod = le16(record(bags, i) + 2);
            if (gen < previousGen || mod < previousMod)
                return false;
            previousGen = gen;
            previousMod = mod;
        }
        return previousGen == count(generators) - 1 && previousMod == count(modulators) - 1;
    }

    bool generatorsValid(int list, quint16 reference, int limit) const
    {
        for (int i = 0; i < count(list) - 1; ++i) {
            if (le16(record(list, i)) == reference && le16(record(list, i) + 2) >= limit)
                return false;
        }
        return true;
    }

    int bagOf(int list, int bagField, int index) const { return le16(record(list, index) + bagField); }
};

// Appends headers [from, to) of one level (presets or instruments) with
// their bags, modulators and generators, rebased onto what out holds already.
// The generator that names the level below (instrument or sample) is
// renumbered by renumber.
struct Level {
    int headers, bagField, bags, modulators, generators;
    quint16 reference;
};

struct Built {
    QByteArray headers, bags, modulators, generators;
};

template <typename Renumber>
void copyHeader(const PresetData& data, const Level& level, int index, Built& out, Renumber renumber)
{
    const int bagSize = RecordSizes[level.bags];
    QByteArray header(data.record(level.headers, index), RecordSizes[level.headers]);
    set16(header, level.bagField, quint16(out.bags.size() / bagSize));
    out.headers.append(header);
    const int firstBag = data.bagOf(level.headers, level.bagField, index);
    const int endBag = data.bagOf(level.headers, level.bagField, index + 1);
    for (int bag = firstBag; bag < endBag; ++bag) {
        const int gen = le16(data.record(level.bags, bag));
        const int genEnd = le16(data.record(level.bags, bag + 1));
        const int mod = le16(data.record(level.bags, bag) + 2);
        const int modEnd = le16(data.record(level.bags, bag + 1) + 2);
        put16(out.bags, quint16(out.generators.size() / 4));
        put16(out.bags, quint16(out.modulators.size() / 10));
        for (int g = gen; g < genEnd; ++g) {
            QByteArray record(data.record(level.generators, g), 4);
            if (le16(record.constData()) == level.reference)
                set16(record, 2, renumber(le16(record.constData() + 2)));
            out.generators.append(record);
        }
        out.modulators.append(data.record(level.modulators, mod), (modEnd - mod) * 10);
    }
}

// The records that close each list, as the format asks.
void terminate(const PresetData& data, const Level& level, Built& out)
{
    QByteArray header(data.record(level.headers, data.count(level.headers) - 1), RecordSizes[level.headers]);
    set16(header, level.bagField, quint16(out.bags.size() / 4));
    out.headers.append(header);
    put16(out.bags, quint16(out.generators.size() / 4));
    put16(out.bags, quint16(out.modulators.size() / 10));
    out.modulators.append(QByteArray(10, '\0'));
    out.generators.append(QByteArray(4, '\0'));
}

void appendChunk(QByteArray& out, const char* id, const QByteArray& body)
{
    out.append(id, 4);
    put32(out, quint32(body.size()));
    out.append(body);
}

// The presets of the soundfont, by (bank, program), with their index.
std::map<std::pair<int, int>, int> presetIndex(const PresetData& data)
{
    std::map<std::pair<int, int>, int> index;
    for (int i = 0; i < data.count(Phdr) - 1; ++i) {
        const char* header = data.record(Phdr, i);
        index.emplace(std::pair{int(le16(header + 22)), int(le16(header + 20))}, i);
    }
    return index;
}

// The preset FluidSynth plays for a request: the one asked for; failing
// that, a melodic channel tries the program in bank 0 and then bank 0's
// first program, a drum channel the drum bank's first program.
std::optional<int> presetFor(const std::map<std::pair<int, int>, int>& index, const PresetRequest& request)
{
    const int bank = request.drum ? DrumBank : request.bank;
    std::vector<std::pair<int, int>> tries{{bank, request.program}};
    if (request.drum || bank == DrumBank) {
        tries.push_back({bank, 0});
    } else {
        tries.push_back({0, request.program});
        tries.push_back({0, 0});
    }
    for (const auto& key : tries) {
        if (const auto found = index.find(key); found != index.end())
            return found->second;
    }
    return std::nullopt;
}

std::optional<QByteArray> rebuild(const PresetData& data, const std::vector<PresetRequest>& wanted, int& kept)
{
    const auto index = presetIndex(data);
    std::set<int> presets;
    for (const PresetRequest& request : wanted) {
        if (const auto preset = presetFor(index, request))
            presets.insert(*preset);
    }
    if (presets.empty())
        return std::nullopt;

    // The instruments those presets use, renumbered in their old order.
    std::map<int, int> instruments;
    for (int preset : presets) {
        for (int bag = data.bagOf(Phdr, 24, preset); bag < data.bagOf(Phdr, 24, preset + 1); ++bag) {
            for (int g = le16(data.record(Pbag, bag)); g < le16(data.record(Pbag, bag + 1)); ++g) {
                if (le16(data.record(Pgen, g)) == InstrumentGenerator)
                    instruments.emplace(le16(data.record(Pgen, g) + 2), 0);
            }
        }
    }
    int next = 0;
    for (auto& [old, renumbered] : instruments)
        renumbered = next++;

    const Level presetLevel{Phdr, 24, Pbag, Pmod, Pgen, InstrumentGenerator};
    const Level instrumentLevel{Inst, 20, Ibag, Imod, Igen, SampleGenerator};
    Built p;
    for (int preset : presets)
        copyHeader(data, presetLevel, preset, p, [&](quint16 old) { return quint16(instruments.at(old)); });
    terminate(data, presetLevel, p);
    Built i;
    for (const auto& [old, renumbered] : instruments)
        copyHeader(data, instrumentLevel, old, i, [](quint16 sample) { return sample; });
    terminate(data, instrumentLevel, i);
    if (i.bags.size() / 4 > 0xffff || i.generators.size() / 4 > 0xffff || p.generators.size() / 4 > 0xffff)
        return std::nullopt;

    // In the order of ListIds; the samples' headers are kept as they are.
    const std::array<const QByteArray*, ListCount> rebuilt{
        &p.headers, &p.bags, &p.modulators, &p.generators,
        &i.headers, &i.bags, &i.modulators, &i.generators, &data.lists[Shdr]};
    QByteArray body("pdta");
    for (int n = 0; n < ListCount; ++n)
        appendChunk(body, ListIds[n], *rebuilt[n]);
    QByteArray list;
    appendChunk(list, "LIST", body);
    kept = int(presets.size());
    return list;
}

} // namespace

std::vector<PresetRequest> presetsOfTune(const QByteArray& midi)
{
    const auto* at = reinterpret_cast<const unsigned char*>(midi.constData());
    const auto* end = at + midi.size();
    if (midi.size() < 14 || std::memcmp(at, "MThd", 4) != 0)
        return {};
    const quint32 headerLength = bigEndian32(at + 4);
    if (headerLength > quint32(end - at - 8))
        return {};
    at += 8 + headerLength;

    std::array<ChannelUse, 16> use;
    while (end - at >= 8) {
        const quint32 length = bigEndian32(at + 4);
        const bool track = std::memcmp(at, "MTrk", 4) == 0;
        at += 8;
        const auto* chunkEnd = length > quint32(end - at) ? end : at + length;
        if (track)
            scanTrack(at, chunkEnd, use);
        at = chunkEnd;
    }

    std::set<PresetRequest> requests;
    for (int channel = 0; channel < 16; ++channel) {
        const ChannelUse& c = use[channel];
        std::set<int> programs = c.programs;
        // A channel that sounds before any program change plays its starting preset.
        if (c.firstNote >= 0 && (c.firstProgram < 0 || c.firstNote < c.firstProgram))
            programs.insert(0);
        for (int program : programs) {
            if (channel == DrumChannel) {
                requests.insert({DrumBank, program, true});
                continue;
            }
            for (int bank : c.banks)
                requests.insert({bank, program, false});
        }
    }
    return {requests.begin(), requests.end()};
}

std::optional<TrimmedSoundfont> trimSoundfont(const QString& path, const std::vector<PresetRequest>& wanted)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "sfbk")
        return std::nullopt;
    const qint64 riffEnd = 8 + qint64(le32(riff.constData() + 4));
    if (riffEnd > file.size())
        return std::nullopt;

    // The top-level lists: header, sample data, preset data, in any order.
    qint64 at = 12;
    qint64 pdtaStart = -1;
    qint64 pdtaEnd = -1;
    while (at + 12 <= riffEnd) {
        if (!file.seek(at))
            return std::nullopt;
        const QByteArray head = file.read(12);
        if (head.size() != 12 || !head.startsWith("LIST"))
            return std::nullopt;
        const qint64 end = at + 8 + le32(head.constData() + 4);
        if (end > riffEnd)
            return std::nullopt;
        if (head.mid(8, 4) == "pdta") {
            if (pdtaStart >= 0)
                return std::nullopt;
            pdtaStart = at;
            pdtaEnd = end;
        }
        at = end + (end & 1); // chunks are padded to an even length
    }
    if (pdtaStart < 0)
        return std::nullopt;

    PresetData data;
    file.seek(pdtaStart + 12);
    if (!data.parse(file.read(pdtaEnd - pdtaStart - 12)))
        return std::nullopt;
    int kept = 0;
    const std::optional<QByteArray> pdta = rebuild(data, wanted, kept);
    if (!pdta)
        return std::nullopt;

    TrimmedSoundfont trimmed;
    const qint64 tail = riffEnd - pdtaEnd;
    const qint64 size = pdtaStart + pdta->size() + tail;
    if (size - 8 > 0xffffffffLL)
        return std::nullopt;
    QByteArray header = riff;
    header.truncate(4);
    put32(header, quint32(size - 8));
    header.append("sfbk");
    auto add = [&trimmed](qint64 length, qint64 fileOffset, QByteArray bytes) {
        if (length > 0)
            trimmed.pieces.push_back({trimmed.size, length, fileOffset, std::move(bytes)});
        trimmed.size += length;
    };
    add(12, -1, header);
    add(pdtaStart - 12, 12, {});
    add(pdta->size(), -1, *pdta);
    add(tail, pdtaEnd, {});
    trimmed.presetsKept = kept;
    return trimmed;
}

} // namespace zw::platform
