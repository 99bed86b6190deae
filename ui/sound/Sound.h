#pragma once
// The game's sound call: starts a wave file from one folder and returns at
// once. A new call cuts the effect still playing. A missing or broken file,
// or a machine without sound, is silent and never slows or stops the game.

#include <QString>
#include <functional>
#include <memory>
#include <string_view>

namespace tumblara {

class WaveOutput;
// Makes the output on the first call that has something to play; it may
// give nothing, and the player stays silent.
using WaveOutputFactory = std::function<std::unique_ptr<WaveOutput>()>;

class SoundPlayer {
public:
    // `folder` holds the wave files, without a trailing separator. Sound goes
    // to the desktop's sound server, connected on the first call.
    explicit SoundPlayer(QString folder);
    // The same with another output, for tests.
    SoundPlayer(QString folder, WaveOutputFactory makeOutput);
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
