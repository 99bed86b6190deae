#pragma once
// The game's three sound effects, synthesised from a few decaying tones, and
// the writing of 16-bit mono PCM as a wave file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tumblara {

inline constexpr std::uint32_t kEffectRate = 44100;

// A soft wooden tap for every step down; short, since it repeats every
// 20 ms during a fast drop.
std::vector<std::int16_t> ImpactEffect();
// A bright two-note chime for a removed row.
std::vector<std::int16_t> RowEffect();
// A rising four-note arpeggio for a new level.
std::vector<std::int16_t> LevelEffect();

// A canonical 44-byte-header wave file holding `samples`.
std::vector<std::byte> EncodeWave(std::span<const std::int16_t> samples, std::uint32_t sampleRate);

}  // namespace tumblara
