#include "ui/sound/BackgroundOutput.h"

namespace tumblara {

BackgroundOutput::BackgroundOutput(Maker make, std::chrono::milliseconds staleAfter)
    : staleAfter_(staleAfter), maker_([this, make = std::move(make)] { Make(make); }) {}

void BackgroundOutput::Start(std::shared_ptr<const Wave> wave) {
    std::lock_guard lock(mutex_);
    if (made_) {
        if (output_) output_->Start(std::move(wave));
        return;
    }
    pending_ = std::move(wave);
    pendingSince_ = Clock::now();
}

void BackgroundOutput::Make(const Maker& make) {
    auto output = make();
    std::lock_guard lock(mutex_);
    made_ = true;
    output_ = std::move(output);
    if (output_ && pending_ && Clock::now() - pendingSince_ <= staleAfter_) output_->Start(std::move(pending_));
    pending_.reset();
}

}  // namespace tumblara
