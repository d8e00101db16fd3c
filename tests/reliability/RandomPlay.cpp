#include "RandomPlay.h"

#include "Invariants.h"
#include "OddTexts.h"

#include "base/RuntimeError.h"

#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <sstream>

namespace zw::reliability {

namespace {

// Button states as they come: mostly none or the left alone, but every
// combination of the three buttons turns up.
constexpr std::int16_t MoveButtons[] = {0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 3, 4, 5, 6, 7};
constexpr std::int16_t PressButtons[] = {1, 1, 1, 1, 1, 1, 2, 4, 0, 3, 5, 6, 7};

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// Points off the picture: outside the window, on the strip below the
// picture, on the very edges, and coordinates no mouse reports.
const QPointF OddPoints[] = {
    {-1, -1},   {-0.25, 5},  {640, 5},    {639.75, 479.75}, {100, 480}, {100, 495.5},
    {100, 496}, {5, -0.01},  {1e9, 1e9},  {-1e9, 3},        {NaN, NaN}, {Inf, 0},
    {0, -Inf},  {1e-45, 0},  {-0.0, -0.0}, {320, 240},
};

template <typename T, std::size_t N>
const T& pick(Choices& choices, const T (&table)[N])
{
    return table[choices.below(std::uint32_t(N))];
}

std::string quoted(const QString& text)
{
    std::ostringstream out;
    out << '"';
    for (qsizetype i = 0; i < text.size() && i < 32; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F)
            out << char(c);
        else
            out << "\\u" << std::hex << std::setw(4) << std::setfill('0') << int(c) << std::dec;
    }
    out << '"';
    if (text.size() > 32)
        out << " (" << text.size() << " characters)";
    return out.str();
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= 1099511628211ull; // FNV-1a
    }
    return hash;
}

std::uint64_t bitsOf(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

RandomPlay::Event RandomPlay::Event::leftPress(QPointF at)
{
    Event event(Kind::Press);
    event.button = 1;
    event.x = float(at.x());
    event.y = float(at.y());
    return event;
}

RandomPlay::Event RandomPlay::Event::code(const QString& typed)
{
    Event event(Kind::Code);
    event.text = typed;
    return event;
}

std::string RandomPlay::Event::describe() const
{
    std::ostringstream out;
    switch (kind) {
    case Kind::Move:
    case Kind::Press:
        out << (kind == Kind::Move ? "move" : "press") << " button " << button << " shift " << shift << " at ("
            << x << ", " << y << ")";
        break;
    case Kind::Tick: out << "tick"; break;
    case Kind::Language: out << "click Label1"; break;
    case Kind::Music: out << "click Label2"; break;
    case Kind::Code: out << "type " << quoted(text) << " and Enter"; break;
    case Kind::Close: out << "close the window"; break;
    case Kind::Kill: out << "kill the program"; break;
    }
    return out.str();
}

RandomPlay::RandomPlay(Choices& choices, const PictureStore& pictures, const SampleAtlas& atlas)
    : choices_(choices)
    , pictures_(pictures)
    , atlas_(atlas)
    , continueSpot_(continueSpot(atlas, pictures))
{
    // Counted, not logged: a session of a million events ends as small as it starts.
    platform_.recordCalls = false;
    platform_.afterSave = [this](const SavedValues& values, bool written) {
        if (written)
            checkSavedSet(values);
    };
}

RandomPlay::~RandomPlay() = default;

void RandomPlay::startProgram()
{
    game_.reset();
    queued_.clear();
    pendingTicks_ = 0;
    saveFailureShown_ = false;
    ++counts_.programStarts;

    std::string how = "start the program";
    if (choices_.oneIn(8)) {
        // The store was damaged while the game was not running.
        const StoredTexts set = damagedSet(choices_);
        platform_.settings.clear();
        for (std::size_t i = 0; i < set.size(); ++i)
            if (set[i])
                platform_.settings[QStringLiteral("SaveGame/Saw%1").arg(i + 1)] = *set[i];
        ++counts_.damagedStores;
        how += " on a damaged store: " + describe(set);
    }
    platform_.failSaves = choices_.oneIn(8);
    if (platform_.failSaves) {
        ++counts_.unwritableRuns;
        how += " with a store that cannot be written";
    }
    history_[historyNext_++ % history_.size()] = how;

    game_ = gameOn(platform_, pictures_);
    game_->Form_Load();
}

QPointF RandomPlay::aim(Colour colour)
{
    const PictureSamples* shown = atlas_.of(game_->controls().Picture);
    if (!shown)
        return {-1, -1};
    const std::vector<QPoint>& points = shown->points[std::size_t(slotOf(colour))];
    if (points.empty())
        return {-1, -1};
    const QPoint p = points[choices_.below(std::uint32_t(points.size()))];
    // Anywhere inside the pixel: the window reports fractions of a pixel.
    return {p.x() + 0.25 * choices_.below(4), p.y() + 0.25 * choices_.below(4)};
}

QPointF RandomPlay::anyPoint()
{
    const std::uint32_t where = choices_.below(20);
    const PictureSamples* samples = atlas_.of(game_->controls().Picture);
    if (where >= 14 || !samples) {
        if (where >= 17)
            return pick(choices_, OddPoints);
        // A point of some colour of some other picture.
        const auto& all = atlas_.all();
        samples = all[choices_.below(std::uint32_t(all.size()))];
    }
    const int slot = samples->present[choices_.below(std::uint32_t(samples->present.size()))];
    const std::vector<QPoint>& points = samples->points[std::size_t(slot)];
    const QPoint p = points[choices_.below(std::uint32_t(points.size()))];
    return {p.x() + 0.25 * choices_.below(4), p.y() + 0.25 * choices_.below(4)};
}

RandomPlay::Event RandomPlay::randomMouse(Event::Kind kind)
{
    Event event(kind);
    event.button = kind == Event::Kind::Move ? pick(choices_, MoveButtons) : pick(choices_, PressButtons);
    event.shift = std::int16_t(choices_.below(8));
    const QPointF at = anyPoint();
    event.x = float(at.x());
    event.y = float(at.y());
    return event;
}

// A run as a quick player makes it: the start spot, then straight to the goal.
void RandomPlay::queueWin()
{
    for (Colour colour : {ColorStart, ColorGoal})
        queued_.push_back(Event::leftPress(aim(colour)));
}

// The hidden way to the code box: on the menu, the start spot, then the link.
void RandomPlay::queueSecretBox()
{
    for (Colour colour : {ColorStart, ColorLink})
        queued_.push_back(Event::leftPress(aim(colour)));
    queued_.push_back(Event(Event::Kind::Code));
}

RandomPlay::Event RandomPlay::nextEvent()
{
    if (game_->controls().Frame1Visible && choices_.oneIn(2))
        return Event::code(typedCode(choices_));
    if (!queued_.empty()) {
        Event event = queued_.front();
        queued_.pop_front();
        if (event.kind == Event::Kind::Code)
            event.text = typedCode(choices_);
        return event;
    }
    if (pendingTicks_ > 0) {
        --pendingTicks_;
        return Event(Event::Kind::Tick);
    }

    const std::uint32_t roll = choices_.below(1000);
    if (roll < 330)
        return randomMouse(Event::Kind::Move);
    if (roll < 560)
        return randomMouse(Event::Kind::Press);
    if (roll < 820) {
        // Ten ticks make one cycle of the frame; a level change takes two or three.
        pendingTicks_ = choices_.below(30);
        return Event(Event::Kind::Tick);
    }
    if (roll < 850)
        return Event(Event::Kind::Language);
    if (roll < 865)
        return Event(Event::Kind::Music);
    if (roll < 895) {
        queueWin();
        return nextEvent();
    }
    if (roll < 915) {
        queueSecretBox();
        return nextEvent();
    }
    if (roll < 940)
        return Event::leftPress(aim(ColorContinue));
    if (roll < 944)
        return Event(Event::Kind::Close);
    if (roll < 948)
        return Event(Event::Kind::Kill);
    return randomMouse(Event::Kind::Move);
}

void RandomPlay::deliver(const Event& event)
{
    switch (event.kind) {
    case Event::Kind::Move:
        ++counts_.moves;
        game_->Form_MouseMove(event.button, event.shift, event.x, event.y);
        break;
    case Event::Kind::Press:
        ++counts_.presses;
        game_->Form_MouseDown(event.button, event.shift, event.x, event.y);
        break;
    case Event::Kind::Tick:
        // The window's timer only ticks while it is enabled.
        if (game_->controls().Timer1Enabled) {
            ++counts_.ticks;
            game_->Timer1_Timer();
        }
        break;
    case Event::Kind::Language:
        ++counts_.languageSwitches;
        game_->Label1_Click();
        break;
    case Event::Kind::Music:
        ++counts_.musicClicks;
        game_->Label2_Click();
        break;
    case Event::Kind::Code:
        // Only a shown box takes typing.
        if (game_->controls().Frame1Visible) {
            ++counts_.codesTyped;
            game_->controls().Text1Text = event.text;
            game_->Command1_Click();
        }
        break;
    case Event::Kind::Close:
        ++counts_.closes;
        game_->Form_Unload();
        break;
    case Event::Kind::Kill:
        ++counts_.kills;
        game_.reset();
        break;
    }
}

void RandomPlay::checkSavedSet(const SavedValues& values)
{
    lastSave_ = values;
    ++counts_.setsChecked;
    const StoredTexts set = storedTexts(values);
    const LoadOutcome outcome = continueFromMenu(set, pictures_, continueSpot_);
    std::optional<std::string> complaint = judgeLoad(set, outcome);
    if (!complaint && !outcome.boxes.empty())
        complaint = "the next start rejects it";
    const GameState& s = game_->state();
    if (!complaint && (outcome.level != s.SawLevel || outcome.deaths != s.SawDeaths))
        complaint = "it does not hold the level and deaths the game meant to save";
    if (complaint && !saveComplaint_)
        saveComplaint_ = "the game saved " + describe(set) + ": " + *complaint;
}

std::optional<std::string> RandomPlay::step()
{
    ++counts_.events;
    try {
        if (!game_ || game_->ended()) {
            platform_.boxes.clear();
            startProgram();
            if (!platform_.boxes.empty())
                return "the program opened a box while starting";
            return brokenInvariant(*game_);
        }

        const Event event = nextEvent();
        history_[historyNext_++ % history_.size()] = event.describe();
        const bool mouse = event.kind == Event::Kind::Move || event.kind == Event::Kind::Press;
        const bool isLoad = mouse && event.button == 1 && game_->Point(event.x, event.y) == ColorContinue;
        const StoredTexts storedBefore = isLoad ? storedTexts(platform_) : StoredTexts{};
        const float levelBefore = game_->state().Level;
        const float deathsBefore = game_->state().Deaths;
        const std::uint64_t beepsBefore = platform_.beeps;
        const bool boxWasOpen = game_->controls().Frame1Visible;
        platform_.boxes.clear();
        lastSave_.reset();

        deliver(event);

        counts_.deaths += platform_.beeps - beepsBefore;
        if (!game_)
            return std::nullopt; // killed: the next step starts the program again
        if (game_->controls().Frame1Visible && !boxWasOpen)
            ++counts_.codeBoxOpenings;
        if (mouse && game_->ended())
            ++counts_.quits;
        return afterEvent(event, isLoad, storedBefore, levelBefore, deathsBefore);
    } catch (const RuntimeError& error) {
        return std::string("run-time error ") + std::to_string(error.number()) + ": " + error.what();
    }
}

std::optional<std::string> RandomPlay::afterEvent(const Event& event, bool isLoad, const StoredTexts& storedBefore,
                                                  float levelBefore, float deathsBefore)
{
    const GameState& s = game_->state();
    counts_.saves = platform_.saves;
    counts_.failedSaves = platform_.failedSaves;
    if (s.Level != levelBefore)
        ++counts_.levelChanges;
    counts_.highestLevel = std::max(counts_.highestLevel, int(s.Level));

    if (saveComplaint_)
        return saveComplaint_;
    if (platform_.wrongAddress)
        return platform_.wrongAddress;

    QList<TestPlatform::Box> loadBoxes;
    for (const TestPlatform::Box& box : platform_.boxes) {
        if (box.style == 16) {
            // A save that fails is told once per run, not on every death.
            if (saveFailureShown_)
                return std::string("a failing save was reported a second time in one run");
            if (!platform_.failSaves)
                return std::string("a save failure was reported although the store works");
            saveFailureShown_ = true;
        } else if (isLoad && (box.style == 0 || box.style == 48)) {
            loadBoxes.push_back(box);
        } else {
            return "a box with style " + std::to_string(box.style) + " after " + event.describe() + ": "
                + box.prompt.toStdString();
        }
    }

    if (isLoad) {
        ++counts_.loads;
        if (!loadBoxes.empty())
            ++counts_.rejectedLoads;
        LoadOutcome outcome;
        outcome.boxes = loadBoxes;
        outcome.levelBefore = levelBefore;
        outcome.deathsBefore = deathsBefore;
        outcome.level = s.Level;
        outcome.deaths = s.Deaths;
        if (lastSave_)
            outcome.savedBack = storedTexts(*lastSave_);
        if (auto complaint = judgeLoad(storedBefore, outcome, !platform_.failSaves))
            return "continuing from " + describe(storedBefore) + ": " + *complaint;
    }
    return brokenInvariant(*game_);
}

std::string RandomPlay::recentEvents() const
{
    std::string out;
    const std::size_t n = history_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& line = history_[(historyNext_ + i) % n];
        if (!line.empty())
            out += "  " + line + "\n";
    }
    return out;
}

std::uint64_t RandomPlay::fingerprint() const
{
    std::uint64_t hash = 14695981039346656037ull;
    if (game_) {
        const GameState& s = game_->state();
        for (float value : {s.Level, s.Deaths, s.Tick, s.StepX1, s.StepY2})
            hash = mix(hash, bitsOf(value));
        for (int value : {int(s.Lang), int(s.FrameMode), int(s.Running), int(s.Live), int(s.InGame), int(s.MusicOn)})
            hash = mix(hash, std::uint64_t(value));
        const Controls& c = game_->controls();
        for (const LineShape& line : c.Line)
            for (float value : {line.X1, line.Y1, line.X2, line.Y2})
                hash = mix(hash, bitsOf(value));
        hash = mix(hash, qHash(c.Label1Caption));
        hash = mix(hash, qHash(c.Label2Caption));
    }
    for (const auto& [key, text] : platform_.settings.asKeyValueRange())
        hash = mix(mix(hash, qHash(key)), qHash(text));
    for (std::uint64_t value : {counts_.events, counts_.levelChanges, counts_.deaths, counts_.saves, counts_.loads,
                                counts_.rejectedLoads, counts_.codesTyped, counts_.programStarts})
        hash = mix(hash, value);
    return hash;
}

} // namespace zw::reliability
