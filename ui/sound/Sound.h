#pragma once
// The game's sound call: starts a wave file from one folder and returns at
// once. A new call cuts the effect still playing. A missing or broken file,
// or a machine without sound, is silent and never slows or stops the game.

#include <QString>
#include <memory>
#include <string_view>

namespace tumblara {

class SoundPlayer {
public:
    // `folder` holds the wave files, without a trailing separator.
    explicit SoundPlayer(QString folder);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // `fileName` is a bare name such as "Bonus1.wav".
    void Play(std::string_view fileName);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tumblara
