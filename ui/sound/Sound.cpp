#include "ui/sound/Sound.h"

#include "ui/sound/BackgroundOutput.h"
#include "ui/sound/PulseOutput.h"
#include "ui/sound/WaveLibrary.h"

namespace tumblara {

struct SoundPlayer::Impl {
    WaveLibrary library;
    WaveOutputFactory makeOutput;
    std::unique_ptr<WaveOutput> output;
    bool outputMade = false;
};

SoundPlayer::SoundPlayer(QString folder)
    : SoundPlayer(std::move(folder), [] {
          return std::make_unique<BackgroundOutput>([] { return std::unique_ptr<WaveOutput>(PulseOutput::Open()); });
      }) {}

SoundPlayer::SoundPlayer(QString folder, WaveOutputFactory makeOutput)
    : impl_(std::make_unique<Impl>(Impl{WaveLibrary(std::move(folder)), std::move(makeOutput), nullptr, false})) {}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Play(std::string_view fileName) {
    auto wave = impl_->library.Get(fileName);
    if (!impl_->outputMade) {
        // Nothing plays yet, so a file that cannot be played has nothing to
        // cut, and the sound server is not worth connecting to for it.
        if (!wave) return;
        impl_->outputMade = true;
        impl_->output = impl_->makeOutput();
    }
    // Even a failed file cuts the effect still playing.
    if (impl_->output) impl_->output->Start(std::move(wave));
}

}  // namespace tumblara
