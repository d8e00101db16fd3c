#include "platform/Sound.h"

#include "platform/FluidLibrary.h"
#include "platform/MediaCommand.h"
#include "platform/Synth.h"
#include "platform/TuneFile.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace zw::platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto BeepLength = std::chrono::milliseconds(150);
// Nothing is set up before the game has run this long: loading the
// synthesiser's library and soundfont takes tens of milliseconds of
// processor time, which would otherwise be taken from the window while it
// opens its first frame. A tune that starts half a second late is not
// missed; a late window is.
constexpr auto SetUpDelay = std::chrono::milliseconds(500);
// How long closing the game waits for the sound to wind down before it
// leaves the worker behind; a sound server that hangs must not hang the game.
constexpr auto ShutdownWait = std::chrono::milliseconds(1500);

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
    std::condition_variable wake;     // a job or the request to quit
    std::condition_variable finished; // the worker has let go of the sound card
    std::deque<Job> jobs;
    bool quit = false;
    bool done = false;
};

// The synthesiser wired to the sound card, as the worker drives it.
class Speaker {
public:
    // The sound card comes first, so a machine without one never waits for
    // the soundfont to load.
    Speaker()
    {
        const QString soundfont = findSoundfont();
        if (soundfont.isEmpty())
            return;
        synth_.emplace();
        if (!openAudio() || !synth_->loadSoundfont(soundfont))
            goSilent();
    }

    ~Speaker() { closeAudio(); }

    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // Whatever plays stops; then the named tune starts from its beginning.
    void play(const QString& path)
    {
        if (!synth_)
            return;
        synth_->stopTune();
        const std::optional<QByteArray> tune = readTune(path);
        if (!tune)
            return;
        closeAudio();
        const bool loaded = synth_->loadTune(*tune);
        if (!openAudio()) {
            goSilent();
            return;
        }
        if (loaded)
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
        for (const char* name : AudioDrivers) {
            if (fluidLibrary()->fluid_settings_setstr(synth_->settings(), "audio.driver", name) != FLUID_OK)
                continue;
            driver_ = fluidLibrary()->new_fluid_audio_driver(synth_->settings(), synth_->synth());
            if (driver_)
                return true;
        }
        return false;
    }

    void closeAudio()
    {
        if (driver_)
            fluidLibrary()->delete_fluid_audio_driver(driver_);
        driver_ = nullptr;
    }

    void goSilent()
    {
        closeAudio();
        synth_.reset();
        beepEnds_.reset();
    }

    std::optional<Synth> synth_;
    fluid_audio_driver_t* driver_ = nullptr;
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
    {
        // Made by the first sound the game asks for, not when the game
        // starts: a game without music may never need the synthesiser, and
        // the window should not share its start with it.
        std::optional<Speaker> speaker;
        const Clock::time_point setUpFrom = Clock::now() + SetUpDelay;
        std::unique_lock lock(box->mutex);
        while (!box->quit) {
            if (!box->jobs.empty() && !speaker && Clock::now() < setUpFrom) {
                box->wake.wait_until(lock, setUpFrom); // the jobs wait their turn
            } else if (!box->jobs.empty()) {
                const Job job = std::move(box->jobs.front());
                box->jobs.pop_front();
                lock.unlock();
                if (!speaker && job.kind != Job::Kind::Stop)
                    speaker.emplace();
                if (speaker) // before any sound there is nothing to stop
                    carryOut(*speaker, job);
                lock.lock();
            } else if (const auto ends = speaker ? speaker->beepEnds() : std::nullopt) {
                if (Clock::now() >= *ends) {
                    lock.unlock();
                    speaker->endBeep();
                    lock.lock();
                } else {
                    box->wake.wait_until(lock, *ends);
                }
            } else {
                box->wake.wait(lock);
            }
        }
    } // the speaker lets go of the sound card here, outside the lock

    std::lock_guard lock(box->mutex);
    box->done = true;
    box->finished.notify_all();
}

} // namespace

struct Sound::Worker {
    QString programDirectory;
    std::shared_ptr<Mailbox> box = std::make_shared<Mailbox>();
    std::thread thread;

    void post(Job job)
    {
        {
            std::lock_guard lock(box->mutex);
            if (!thread.joinable())
                return; // no worker: the game is silent
            box->jobs.push_back(std::move(job));
        }
        box->wake.notify_one();
    }
};

Sound::Sound(const QString& programDirectory)
    : worker_(std::make_unique<Worker>())
{
    worker_->programDirectory = programDirectory;
    try {
        worker_->thread = std::thread(runWorker, worker_->box);
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
    const bool done = worker_->box->finished.wait_for(lock, ShutdownWait,
                                                      [this] { return worker_->box->done; });
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
        worker_->post({Job::Kind::Play, parsed.path});
        break;
    case MediaCommand::Verb::Stop:
        worker_->post({Job::Kind::Stop, {}});
        break;
    case MediaCommand::Verb::Ignored:
        break;
    }
}

void Sound::beep()
{
    worker_->post({Job::Kind::Beep, {}});
}

} // namespace zw::platform
