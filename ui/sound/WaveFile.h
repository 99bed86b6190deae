#pragma once
// Reading the layout of a RIFF/WAVE file: where its samples lie and how they
// are encoded. Only encodings the sound server takes as they are qualify, so
// playing needs no conversion.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tumblara {

enum class SampleEncoding { U8, S16LE, S24LE, S32LE, F32LE, ALaw, MuLaw };

struct WaveFormat {
    SampleEncoding encoding = SampleEncoding::S16LE;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;

    std::size_t BytesPerFrame() const;
    bool operator==(const WaveFormat&) const = default;
};

struct WaveLayout {
    WaveFormat format;
    std::size_t dataOffset = 0;  // first sample byte, from the start of the file
    std::size_t dataSize = 0;    // whole frames present in the file
};

// The layout of `file`, or nothing when it is not a playable wave: not RIFF,
// an unsupported encoding, no sound data. A data chunk cut short by the end
// of the file keeps the whole frames that are there.
std::optional<WaveLayout> ParseWave(std::span<const std::byte> file);

}  // namespace tumblara
