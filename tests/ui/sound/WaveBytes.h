#pragma once
// Wave files built byte by byte, independently of the code under test, and
// the broken files a player may meet.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <string_view>

namespace tumblara::testing {

class WaveBytes {
public:
    WaveBytes& Tag(std::string_view tag);
    WaveBytes& U16(std::uint16_t v);
    WaveBytes& U32(std::uint32_t v);
    WaveBytes& Fill(int count, char byte);
    // A chunk with a body of `size` bytes of `byte` (and its pad byte).
    WaveBytes& Chunk(std::string_view tag, std::uint32_t size, char byte = '\0');
    // "fmt " with the common 16-byte body.
    WaveBytes& Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
    // A 40-byte extensible "fmt " whose sub-format starts with `subTag`.
    WaveBytes& ExtensibleFormat(std::uint16_t subTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
    // The "data" chunk header announcing `size` bytes, followed by `present` of them.
    WaveBytes& Data(std::uint32_t size, std::uint32_t present, char byte = '\x11');
    QByteArray Bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// "RIFF" <size> "WAVE": the start of every wave file.
WaveBytes Riff();
// A 16-bit mono 44.1 kHz wave holding `frames` frames of `byte`.
QByteArray SmallWave(std::uint32_t frames = 441, char byte = '\x11');

// The kinds of broken file, each with the bytes it holds.
struct BrokenFile {
    const char* kind;
    QByteArray bytes;
};
const std::array<BrokenFile, 5>& BrokenFiles();

void WriteFile(const QString& path, const QByteArray& bytes);

}  // namespace tumblara::testing
