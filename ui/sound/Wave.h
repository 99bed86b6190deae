#pragma once
// A wave file read into memory, and where such waves are played.

#include "ui/sound/WaveFile.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace tumblara {

struct Wave {
    WaveFormat format;
    std::vector<std::byte> samples;  // whole frames only
};

class WaveOutput {
public:
    virtual ~WaveOutput() = default;
    // Cuts the wave still playing and starts `wave` in the background; a null
    // wave only cuts. Returns at once and never reports a failure.
    virtual void Start(std::shared_ptr<const Wave> wave) = 0;
};

}  // namespace tumblara
