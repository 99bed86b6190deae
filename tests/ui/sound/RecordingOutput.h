#pragma once
// An output that keeps the waves it was asked to start, from any thread.

#include "ui/sound/Wave.h"

#include <mutex>
#include <vector>

namespace tumblara::testing {

class RecordingOutput final : public WaveOutput {
public:
    struct Log {
        std::mutex mutex;
        std::vector<std::shared_ptr<const Wave>> started;  // null: a cut with nothing new

        std::vector<std::shared_ptr<const Wave>> Started() {
            std::lock_guard lock(mutex);
            return started;
        }
    };

    explicit RecordingOutput(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    void Start(std::shared_ptr<const Wave> wave) override {
        std::lock_guard lock(log_->mutex);
        log_->started.push_back(std::move(wave));
    }

private:
    std::shared_ptr<Log> log_;
};

}  // namespace tumblara::testing
