#pragma once
// An output made on a thread of its own, so the first sound never waits for
// a sound library to load or a sound server to answer. Waves started before
// the output exists wait for it; only the newest is kept, and only if it is
// still fresh when the output arrives.

#include "ui/sound/Wave.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tumblara {

class BackgroundOutput final : public WaveOutput {
public:
    using Maker = std::function<std::unique_ptr<WaveOutput>()>;

    explicit BackgroundOutput(Maker make, std::chrono::milliseconds staleAfter = std::chrono::milliseconds(250));
    // Waits for the maker to finish.
    ~BackgroundOutput() override = default;
    BackgroundOutput(const BackgroundOutput&) = delete;
    BackgroundOutput& operator=(const BackgroundOutput&) = delete;

    void Start(std::shared_ptr<const Wave> wave) override;

private:
    using Clock = std::chrono::steady_clock;

    void Make(const Maker& make);

    const std::chrono::milliseconds staleAfter_;
    std::mutex mutex_;
    bool made_ = false;
    std::unique_ptr<WaveOutput> output_;
    std::shared_ptr<const Wave> pending_;
    Clock::time_point pendingSince_{};
    // Last, so it starts once everything it touches exists.
    std::jthread maker_;
};

}  // namespace tumblara
