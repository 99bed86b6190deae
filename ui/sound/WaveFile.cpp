#include "ui/sound/WaveFile.h"

#include <algorithm>
#include <string_view>

namespace tumblara {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatALaw = 6;
constexpr std::uint16_t kFormatMuLaw = 7;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// The sound server's own limits on a stream.
constexpr std::uint16_t kMaxChannels = 8;
constexpr std::uint32_t kMaxSampleRate = 384000;

std::uint16_t U16(std::span<const std::byte> b, std::size_t at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(b[at]) |
                                      std::to_integer<unsigned>(b[at + 1]) << 8);
}

std::uint32_t U32(std::span<const std::byte> b, std::size_t at) {
    return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

bool HasTag(std::span<const std::byte> b, std::size_t at, std::string_view tag) {
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (std::to_integer<char>(b[at + i]) != tag[i]) return false;
    return true;
}

std::optional<SampleEncoding> EncodingOf(std::uint16_t tag, std::uint16_t bits) {
    switch (tag) {
    case kFormatPcm:
        switch (bits) {
        case 8: return SampleEncoding::U8;
        case 16: return SampleEncoding::S16LE;
        case 24: return SampleEncoding::S24LE;
        case 32: return SampleEncoding::S32LE;
        default: return std::nullopt;
        }
    case kFormatFloat: return bits == 32 ? std::optional(SampleEncoding::F32LE) : std::nullopt;
    case kFormatALaw: return bits == 8 ? std::optional(SampleEncoding::ALaw) : std::nullopt;
    case kFormatMuLaw: return bits == 8 ? std::optional(SampleEncoding::MuLaw) : std::nullopt;
    default: return std::nullopt;
    }
}

// `fmt` is the body of the "fmt " chunk.
std::optional<WaveFormat> ParseFormat(std::span<const std::byte> fmt) {
    if (fmt.size() < 16) return std::nullopt;
    std::uint16_t tag = U16(fmt, 0);
    const std::uint16_t channels = U16(fmt, 2);
    const std::uint32_t rate = U32(fmt, 4);
    const std::uint16_t blockAlign = U16(fmt, 12);
    const std::uint16_t bits = U16(fmt, 14);
    if (tag == kFormatExtensible) {
        // The real format tag opens the sub-format GUID.
        if (fmt.size() < 40) return std::nullopt;
        tag = U16(fmt, 24);
    }
    const auto encoding = EncodingOf(tag, bits);
    if (!encoding || channels == 0 || channels > kMaxChannels || rate == 0 || rate > kMaxSampleRate)
        return std::nullopt;
    WaveFormat format{*encoding, channels, rate};
    if (blockAlign != format.BytesPerFrame()) return std::nullopt;
    return format;
}

}  // namespace

std::size_t WaveFormat::BytesPerFrame() const {
    std::size_t bytes = 1;
    switch (encoding) {
    case SampleEncoding::U8:
    case SampleEncoding::ALaw:
    case SampleEncoding::MuLaw: bytes = 1; break;
    case SampleEncoding::S16LE: bytes = 2; break;
    case SampleEncoding::S24LE: bytes = 3; break;
    case SampleEncoding::S32LE:
    case SampleEncoding::F32LE: bytes = 4; break;
    }
    return bytes * channels;
}

std::optional<WaveLayout> ParseWave(std::span<const std::byte> file) {
    if (file.size() < 12 || !HasTag(file, 0, "RIFF") || !HasTag(file, 8, "WAVE")) return std::nullopt;
    std::optional<WaveFormat> format;
    std::size_t at = 12;
    while (at + 8 <= file.size()) {
        const std::size_t length = U32(file, at + 4);
        const std::size_t body = at + 8;
        const std::size_t present = std::min(length, file.size() - body);
        if (HasTag(file, at, "fmt ")) {
            if (present < length) return std::nullopt;
            format = ParseFormat(file.subspan(body, length));
            if (!format) return std::nullopt;
        } else if (HasTag(file, at, "data")) {
            // The format must come first; samples before it cannot be read.
            if (!format) return std::nullopt;
            const std::size_t frame = format->BytesPerFrame();
            const std::size_t whole = present / frame * frame;
            if (whole == 0) return std::nullopt;
            return WaveLayout{*format, body, whole};
        }
        // Chunks are padded to an even length.
        at = body + length + (length & 1U);
    }
    return std::nullopt;
}

}  // namespace tumblara
