#pragma once
// Plays waves through the desktop's sound server (PulseAudio, or PipeWire's
// PulseAudio service), one at a time: each wave is a short stream, fed from
// memory by the client library's own thread; a new wave ends the stream
// still playing. Without a server, or when it goes away, waves are dropped
// and the connection is tried again now and then.

#include "ui/sound/PulseApi.h"
#include "ui/sound/Wave.h"

#include <chrono>
#include <memory>

namespace tumblara {

class PulseOutput final : public WaveOutput {
    // Only Open() makes one.
    struct Key {
        explicit Key() = default;
    };

public:
    // Nothing when libpulse cannot be loaded.
    static std::unique_ptr<PulseOutput> Open();
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    PulseOutput(Key, PulseApi api, pa_threaded_mainloop* loop);

    void Start(std::shared_ptr<const Wave> wave) override;

private:
    struct Playback;
    using Clock = std::chrono::steady_clock;

    // These run with the loop's lock held.
    void Connect();
    void Play(std::shared_ptr<const Wave> wave);
    void Cut();
    void PlayPending();

    static void OnContextState(pa_context* context, void* self);
    static void OnWritable(pa_stream* stream, std::size_t bytes, void* playback);
    static void OnDrained(pa_stream* stream, int success, void* playback);

    PulseApi api_;
    pa_threaded_mainloop* loop_;
    pa_context* context_ = nullptr;
    Clock::time_point lastConnect_{};
    std::unique_ptr<Playback> current_;
    // A wave asked for while the connection was being made.
    std::shared_ptr<const Wave> pending_;
    Clock::time_point pendingSince_{};
};

}  // namespace tumblara
