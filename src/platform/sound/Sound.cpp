#include "platform/sound/Sound.h"

#include "platform/sound/FluidLibrary.h"
#include "platform/sound/MediaCommand.h"
#include "platform/sound/SoundfontTrim.h"
#include "platform/sound/Synth.h"
#include "platform/sound/TuneFile.h"

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace zw::platform {

// The worker thread's own parts. Named, not anonymous: Sound::Worker holds a
// Mailbox, and a class of the header holding a type of an anonymous
// namespace draws the compiler's subobject-linkage warning once sources are
// compiled together.
namespace sound_worker {

using Clock = std::chrono::steady_clock;

constexpr auto BeepLength = std::chrono::milliseconds(150);
// Without word from the window that its first frame is on screen, the sound
// sets itself up this long after the game started, and only when a sound is
// wanted: loading the synthesiser's library and soundfont takes tens of
// milliseconds of processor time, which must not be taken from the window
// while it opens.
constexpr auto SetUpDelay = std::chrono::milliseconds(500);
// How long closing the game waits for the sound to wind down before it
// leaves the worker behind; a sound server that hangs must not hang the game.
constexpr auto ShutdownWait = std::chrono::milliseconds(1500);
// A game without a sound server at its start tries again at a beep, but not
// more often than this: a beep must not wait on a search for sound every time.
constexpr auto AudioRetryInterval = std::chrono::seconds(2);

// PulseAudio also covers PipeWire desktops; plain ALSA is the fallback.
constexpr const char* AudioDrivers[] = {"pulseaudio", "alsa"};

struct Job {
    enum class Kind { Play, Stop, Beep };
    Kind kind;
    QString path;
};

// What the window's thread and the worker share. Both hold it, so a worker
// that is left behind at shutdown still has it to finish with.
struct Mailbox {
    std::mutex mutex;
    std::condition_variable wake;     // a job, the go-ahead or the request to quit
    std::condition_variable finished; // the worker has let go of the sound card
    std::deque<Job> jobs;
    bool setUpNow = false; // the window is on screen: set up without waiting
    std::uint64_t posted = 0, carriedOut = 0; // jobs, for Sound::caughtUp
    // ZIGWALK_TRACE_SOUND: the worker says on stderr when it has set up (or
    // found it cannot), so a test of the whole program can wait for that.
    bool traceSetUp = false;
    bool quit = false;
    bool done = false;
    // Closing the game gave up waiting: the worker is on its own. From the
    // moment it gets back from the sound server it touches nothing more,
    // not even its own synthesiser, because the process may be tearing down
    // around it (static objects, Qt, the libraries); it sleeps until the
    // process ends.
    bool abandoned = false;
};

// Where a worker that was left behind stays until the process ends.
[[noreturn]] void sleepForever()
{
    for (;;)
        pause();
}

// The synthesiser wired to the sound server or card, as the worker drives
// it. Every step may fail (no library, no soundfont, no server, a server
// that goes away); each failure leaves it silent, never broken.
class Speaker {
public:
    // tune names the tune that is about to play, if one is: the soundfont
    // is cut to the presets of the beep and of that tune.
    explicit Speaker(const QString& tune)
    {
        const QString soundfont = findSoundfont();
        if (!fluidLibrary() || soundfont.isEmpty())
            return; // silent for good
        synth_.emplace();
        std::vector<PresetRequest> presets{Synth::beepPreset()};
        if (!tune.isEmpty()) {
            if (const std::optional<QByteArray> midi = readTune(tune)) {
                const std::vector<PresetRequest> tunes = presetsOfTune(*midi);
                presets.insert(presets.end(), tunes.begin(), tunes.end());
            }
        }
        if (!synth_->ready() || !synth_->loadSoundfont(soundfont, presets)) {
            synth_.reset();
            return;
        }
        synth_->prepareBeep();
        // Reading the soundfont leaves a few megabytes of parsing scraps
        // behind in the allocator; they go back to the system here.
        malloc_trim(0);
        openAudio();
    }

    ~Speaker() { closeAudio(); }

    // Lets go of the sound server or card; this is what hangs when the
    // server does.
    void closeAudio()
    {
        if (driver_)
            fluidLibrary()->delete_fluid_audio_driver(driver_);
        driver_ = nullptr;
    }

    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // Whatever plays stops; then the named tune starts from its beginning.
    // The sound output is opened afresh every time, so a sound server that
    // went away, or came only after the game, is found again here.
    void play(const QString& path)
    {
        if (!synth_)
            return;
        synth_->stopTune();
        const std::optional<QByteArray> tune = readTune(path);
        if (!tune)
            return;
        // FluidSynth takes a new player, or soundfont, only while no audio is rendered.
        closeAudio();
        synth_->usePresets(presetsOfTune(*tune));
        const bool loaded = synth_->loadTune(*tune);
        if (openAudio() && loaded)
            synth_->startTune();
    }

    // There is only ever one tune, so a stop stops it whatever name it gives.
    void stop()
    {
        if (synth_)
            synth_->stopTune();
    }

    void beep()
    {
        if (!synth_)
            return;
        if (!driver_ && Clock::now() >= nextAudioTry_)
            openAudio();
        synth_->beepOn();
        beepEnds_ = Clock::now() + BeepLength;
    }

    std::optional<Clock::time_point> beepEnds() const { return beepEnds_; }

    void endBeep()
    {
        if (synth_)
            synth_->beepOff();
        beepEnds_.reset();
    }

private:
    bool openAudio()
    {
        const FluidLibrary& fluid = *fluidLibrary(); // there is a synth_, so there is a library
        for (const char* name : AudioDrivers) {
            if (fluid.fluid_settings_setstr(synth_->settings(), "audio.driver", name) != FLUID_OK)
                continue;
            driver_ = fluid.new_fluid_audio_driver(synth_->settings(), synth_->synth());
            if (driver_)
                return true;
        }
        nextAudioTry_ = Clock::now() + AudioRetryInterval;
        return false;
    }

    std::optional<Synth> synth_;
    fluid_audio_driver_t* driver_ = nullptr;
    Clock::time_point nextAudioTry_{};
    std::optional<Clock::time_point> beepEnds_;
};

void carryOut(Speaker& speaker, const Job& job)
{
    switch (job.kind) {
    case Job::Kind::Play:
        speaker.play(job.path);
        break;
    case Job::Kind::Stop:
        speaker.stop();
        break;
    case Job::Kind::Beep:
        speaker.beep();
        break;
    }
}

void runWorker(const std::shared_ptr<Mailbox>& box)
{
    // Set up as soon as the window has shown its first frame, so that the
    // tune starts at once and even the first death beeps on time. Without
    // that word (a game whose window never paints), the first sound
    // wanted sets it up once the start is safely over.
    std::optional<Speaker> speaker;
    // Every step that may wait on the sound server ends here: a worker that
    // was given up meanwhile goes no further.
    const auto backFromServer = [&box](std::unique_lock<std::mutex>& lock) {
        lock.lock();
        if (box->abandoned) {
            lock.unlock();
            sleepForever();
        }
    };
    const Clock::time_point setUpFrom = Clock::now() + SetUpDelay;
    std::unique_lock lock(box->mutex);
    while (!box->quit) {
        if (!speaker && !box->jobs.empty() && box->jobs.front().kind == Job::Kind::Stop) {
            box->jobs.pop_front(); // before any sound there is nothing to stop
            ++box->carriedOut;
        } else if (!speaker && (box->setUpNow || (!box->jobs.empty() && Clock::now() >= setUpFrom))) {
            QString tune; // the last tune asked for is the one that will play
            for (const Job& job : box->jobs) {
                if (job.kind == Job::Kind::Play)
                    tune = job.path;
            }
            lock.unlock();
            speaker.emplace(tune);
            if (box->traceSetUp) {
                std::fprintf(stderr, "zigwalk-sound set up\n");
                std::fflush(stderr);
            }
            backFromServer(lock);
        } else if (!speaker && !box->jobs.empty()) {
            box->wake.wait_until(lock, setUpFrom); // the jobs wait their turn
        } else if (!box->jobs.empty()) {
            const Job job = std::move(box->jobs.front());
            box->jobs.pop_front();
            lock.unlock();
            carryOut(*speaker, job);
            backFromServer(lock);
            ++box->carriedOut;
        } else if (const auto ends = speaker ? speaker->beepEnds() : std::nullopt) {
            if (Clock::now() >= *ends) {
                lock.unlock();
                speaker->endBeep();
                backFromServer(lock);
            } else {
                box->wake.wait_until(lock, *ends);
            }
        } else {
            box->wake.wait(lock);
        }
    }
    // The speaker lets go of the sound card outside the lock; only a worker
    // that is still waited for goes on to free the synthesiser.
    lock.unlock();
    if (speaker)
        speaker->closeAudio();
    backFromServer(lock);
    lock.unlock();
    speaker.reset();

    lock.lock();
    box->done = true;
    box->finished.notify_all();
}

} // namespace sound_worker

struct Sound::Worker {
    QString programDirectory;
    std::shared_ptr<sound_worker::Mailbox> box = std::make_shared<sound_worker::Mailbox>();
    std::thread thread;

    void post(sound_worker::Job job)
    {
        {
            std::lock_guard lock(box->mutex);
            if (!thread.joinable())
                return; // no worker: the game is silent
            box->jobs.push_back(std::move(job));
            ++box->posted;
        }
        box->wake.notify_one();
    }
};

Sound::Sound(const QString& programDirectory)
    : worker_(std::make_unique<Worker>())
{
    worker_->programDirectory = programDirectory;
    worker_->box->traceSetUp = qEnvironmentVariableIsSet("ZIGWALK_TRACE_SOUND");
    try {
        worker_->thread = std::thread(sound_worker::runWorker, worker_->box);
    } catch (const std::system_error&) {
        // No thread to spare: the game plays on without sound.
    }
}

Sound::~Sound()
{
    {
        std::lock_guard lock(worker_->box->mutex);
        worker_->box->quit = true;
    }
    worker_->box->wake.notify_one();
    if (!worker_->thread.joinable())
        return;

    std::unique_lock lock(worker_->box->mutex);
    const bool done = worker_->box->finished.wait_for(lock, sound_worker::ShutdownWait,
                                                      [this] { return worker_->box->done; });
    if (!done)
        worker_->box->abandoned = true; // under the lock: the worker sees it when it is back
    lock.unlock();
    if (done)
        worker_->thread.join();
    else
        worker_->thread.detach();
}

void Sound::mciExecute(const QString& command)
{
    const MediaCommand parsed = parseMediaCommand(command, worker_->programDirectory);
    switch (parsed.verb) {
    case MediaCommand::Verb::Play:
        worker_->post({sound_worker::Job::Kind::Play, parsed.path});
        break;
    case MediaCommand::Verb::Stop:
        worker_->post({sound_worker::Job::Kind::Stop, {}});
        break;
    case MediaCommand::Verb::Ignored:
        break;
    }
}

void Sound::beep()
{
    worker_->post({sound_worker::Job::Kind::Beep, {}});
}

bool Sound::caughtUp() const
{
    std::lock_guard lock(worker_->box->mutex);
    return worker_->box->carriedOut == worker_->box->posted;
}

void Sound::setUpNow()
{
    {
        std::lock_guard lock(worker_->box->mutex);
        worker_->box->setUpNow = true;
    }
    worker_->box->wake.notify_one();
}

} // namespace zw::platform
