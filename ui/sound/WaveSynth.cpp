#include "ui/sound/WaveSynth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace tumblara {
namespace {

// One overtone of a note: frequency ratio, loudness, and how much faster
// than the fundamental it dies away.
struct Partial {
    double ratio;
    double weight;
    double decayScale;
};

struct Note {
    double start;     // seconds
    double pitch;     // Hz at the onset
    double settle;    // Hz the pitch falls to, for a knock; equal to pitch for a tone
    double decay;     // seconds for the level to fall to 1/e
    double level;
};

struct Effect {
    double length;    // seconds
    double attack;    // seconds of the onset ramp of every note
    double release;   // seconds of the final fade to silence
    double peak;      // loudest sample, as a share of full scale
};

constexpr double kGlide = 0.010;  // seconds for a knock's pitch to settle

// A little inharmonic ring: wood, not a beep.
constexpr std::array kWood{Partial{1.0, 1.0, 1.0}, Partial{2.76, 0.35, 0.35}, Partial{5.4, 0.12, 0.2}};
// Octave and twelfth, dying early: a soft bell.
constexpr std::array kBell{Partial{1.0, 1.0, 1.0}, Partial{2.0, 0.25, 0.6}, Partial{3.0, 0.08, 0.4}};

std::vector<std::int16_t> Render(const Effect& fx, std::span<const Note> notes, std::span<const Partial> partials) {
    const auto frames = static_cast<std::size_t>(std::lround(fx.length * kEffectRate));
    std::vector<double> mix(frames, 0.0);
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    for (const Note& note : notes) {
        const auto first = static_cast<std::size_t>(std::lround(note.start * kEffectRate));
        double phase = 0.0;
        for (std::size_t i = first; i < frames; ++i) {
            const double t = static_cast<double>(i - first) / kEffectRate;
            const double onset = t < fx.attack ? 0.5 - 0.5 * std::cos(std::numbers::pi * t / fx.attack) : 1.0;
            double sum = 0.0;
            for (const Partial& p : partials)
                sum += p.weight * std::exp(-t / (note.decay * p.decayScale)) * std::sin(phase * p.ratio);
            mix[i] += note.level * onset * sum;
            const double pitch = note.settle + (note.pitch - note.settle) * std::exp(-t / kGlide);
            phase += kTwoPi * pitch / kEffectRate;
        }
    }
    double loudest = 0.0;
    for (double x : mix) loudest = std::max(loudest, std::abs(x));
    const double gain = loudest > 0.0 ? fx.peak / loudest : 0.0;
    // Cosine fade so the last sample is exactly silent.
    const auto fade = std::min(frames, static_cast<std::size_t>(std::lround(fx.release * kEffectRate)));
    std::vector<std::int16_t> out(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        double x = mix[i] * gain;
        const std::size_t fromEnd = frames - 1 - i;
        if (fade > 1 && fromEnd < fade)
            x *= 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(fromEnd) / static_cast<double>(fade - 1));
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767.0));
    }
    return out;
}

void PutTag(std::vector<std::byte>& out, std::string_view tag) {
    for (char c : tag) out.push_back(static_cast<std::byte>(c));
}

void PutLE(std::vector<std::byte>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::byte>(value >> (8 * i) & 0xFFU));
}

}  // namespace

std::vector<std::int16_t> ImpactEffect() {
    constexpr Effect fx{.length = 0.045, .attack = 0.0015, .release = 0.006, .peak = 0.28};
    constexpr std::array notes{Note{0.0, 440.0, 300.0, 0.008, 1.0}};
    return Render(fx, notes, kWood);
}

std::vector<std::int16_t> RowEffect() {
    constexpr Effect fx{.length = 0.21, .attack = 0.003, .release = 0.02, .peak = 0.42};
    // C6 then G6.
    constexpr std::array notes{Note{0.0, 1046.5, 1046.5, 0.060, 0.8}, Note{0.07, 1568.0, 1568.0, 0.070, 1.0}};
    return Render(fx, notes, kBell);
}

std::vector<std::int16_t> LevelEffect() {
    constexpr Effect fx{.length = 0.68, .attack = 0.004, .release = 0.06, .peak = 0.45};
    // C5 E5 G5 C6, the last one left to ring.
    constexpr std::array notes{Note{0.000, 523.25, 523.25, 0.14, 0.8}, Note{0.105, 659.26, 659.26, 0.14, 0.8},
                               Note{0.210, 783.99, 783.99, 0.14, 0.8}, Note{0.315, 1046.5, 1046.5, 0.18, 1.0}};
    return Render(fx, notes, kBell);
}

std::vector<std::byte> EncodeWave(std::span<const std::int16_t> samples, std::uint32_t sampleRate) {
    constexpr std::uint32_t kHeader = 44;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::byte> out;
    out.reserve(kHeader + dataBytes);
    PutTag(out, "RIFF");
    PutLE(out, kHeader - 8 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);               // PCM
    PutLE(out, 1, 2);               // mono
    PutLE(out, sampleRate, 4);
    PutLE(out, sampleRate * 2, 4);  // bytes per second
    PutLE(out, 2, 2);               // bytes per frame
    PutLE(out, 16, 2);              // bits per sample
    PutTag(out, "data");
    PutLE(out, dataBytes, 4);
    for (std::int16_t s : samples) PutLE(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace tumblara
