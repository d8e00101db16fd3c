#pragma once
// Renders a synthesiser into memory through FluidSynth's file renderer, the
// same path the sound card takes, so tests can listen to what would play.

#include "platform/sound/Synth.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace zw::test {

class AudioCapture {
public:
    explicit AudioCapture(platform::Synth& synth)
        : synth_(synth)
    {
        fluid_settings_t* settings = synth.settings();
        fluid_settings_setstr(settings, "audio.file.name", QFile::encodeName(file()).constData());
        fluid_settings_setstr(settings, "audio.file.type", "raw");
        fluid_settings_setstr(settings, "audio.file.format", "float");
        fluid_settings_setstr(settings, "audio.file.endian", "cpu");
        fluid_settings_getint(settings, "audio.period-size", &periodFrames_);
        fluid_settings_getnum(settings, "synth.sample-rate", &sampleRate_);
        renderer_ = new_fluid_file_renderer(synth.synth());
        EXPECT_NE(renderer_, nullptr) << "no file renderer";
    }

    ~AudioCapture()
    {
        if (renderer_)
            delete_fluid_file_renderer(renderer_);
    }

    AudioCapture(const AudioCapture&) = delete;
    AudioCapture& operator=(const AudioCapture&) = delete;

    double sampleRate() const { return sampleRate_; }

    // Renders about this many seconds; returns the frames rendered so far.
    long renderSeconds(double seconds)
    {
        const long blocks = long(std::ceil(seconds * sampleRate_ / periodFrames_));
        for (long i = 0; i < blocks && renderer_; ++i)
            renderBlock();
        return frames_;
    }

    // Renders while the tune plays, but no longer than maxSeconds; returns
    // the seconds the tune played.
    double renderTune(double maxSeconds)
    {
        const long start = frames_;
        const long limit = long(maxSeconds * sampleRate_);
        while (renderer_ && synth_.tunePlaying() && frames_ - start < limit)
            renderBlock();
        return (frames_ - start) / sampleRate_;
    }

    // The rendering so far, left and right interleaved, from -1 to 1.
    std::vector<float> samples()
    {
        if (renderer_) {
            delete_fluid_file_renderer(renderer_); // flushes the file
            renderer_ = nullptr;
        }
        QFile file(this->file());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        std::vector<float> out(size_t(bytes.size()) / sizeof(float));
        std::memcpy(out.data(), bytes.constData(), out.size() * sizeof(float));
        return out;
    }

    // Root mean square of the frames in [from, to).
    static double rms(const std::vector<float>& samples, long fromFrame, long toFrame)
    {
        fromFrame = std::max(0L, fromFrame);
        toFrame = std::min(long(samples.size() / 2), toFrame);
        double sum = 0;
        for (long i = 2 * fromFrame; i < 2 * toFrame; ++i)
            sum += double(samples[size_t(i)]) * samples[size_t(i)];
        const long count = 2 * (toFrame - fromFrame);
        return count > 0 ? std::sqrt(sum / count) : 0.0;
    }

private:
    QString file() const { return dir_.filePath(QStringLiteral("capture.raw")); }

    void renderBlock()
    {
        if (fluid_file_renderer_process_block(renderer_) != FLUID_OK) {
            ADD_FAILURE() << "rendering failed";
            delete_fluid_file_renderer(renderer_);
            renderer_ = nullptr;
            return;
        }
        frames_ += periodFrames_;
    }

    platform::Synth& synth_;
    QTemporaryDir dir_;
    fluid_file_renderer_t* renderer_ = nullptr;
    int periodFrames_ = 64;
    double sampleRate_ = 44100;
    long frames_ = 0;
};

} // namespace zw::test
