#include "tests/ui/sound/WaveBytes.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tumblara::testing {

WaveBytes& WaveBytes::Tag(std::string_view tag) {
    bytes_.append(tag.data(), static_cast<qsizetype>(tag.size()));
    return *this;
}

WaveBytes& WaveBytes::U16(std::uint16_t v) {
    bytes_.append(static_cast<char>(v & 0xFF)).append(static_cast<char>(v >> 8));
    return *this;
}

WaveBytes& WaveBytes::U32(std::uint32_t v) {
    return U16(static_cast<std::uint16_t>(v & 0xFFFF)).U16(static_cast<std::uint16_t>(v >> 16));
}

WaveBytes& WaveBytes::Fill(int count, char byte) {
    bytes_.append(count, byte);
    return *this;
}

WaveBytes& WaveBytes::Chunk(std::string_view tag, std::uint32_t size, char byte) {
    return Tag(tag).U32(size).Fill(static_cast<int>(size + (size & 1U)), byte);
}

WaveBytes& WaveBytes::Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const auto frame = static_cast<std::uint16_t>(channels * (bits / 8));
    return Tag("fmt ").U32(16).U16(tag).U16(channels).U32(rate).U32(rate * frame).U16(frame).U16(bits);
}

WaveBytes& WaveBytes::ExtensibleFormat(std::uint16_t subTag, std::uint16_t channels, std::uint32_t rate,
                                       std::uint16_t bits) {
    const auto frame = static_cast<std::uint16_t>(channels * (bits / 8));
    Tag("fmt ").U32(40).U16(0xFFFE).U16(channels).U32(rate).U32(rate * frame).U16(frame).U16(bits);
    // cbSize, valid bits, channel mask, then the GUID 0000xxxx-0000-0010-8000-00AA00389B71.
    U16(22).U16(bits).U32(channels == 1 ? 0x4 : 0x3);
    U16(subTag).U16(0).U16(0).U16(0x10);
    for (int b : {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) bytes_.append(static_cast<char>(b));
    return *this;
}

WaveBytes& WaveBytes::Data(std::uint32_t size, std::uint32_t present, char byte) {
    return Tag("data").U32(size).Fill(static_cast<int>(present), byte);
}

WaveBytes Riff() {
    WaveBytes w;
    w.Tag("RIFF").U32(0).Tag("WAVE");
    return w;
}

QByteArray SmallWave(std::uint32_t frames, char byte) {
    return Riff().Format(1, 1, 44100, 16).Data(frames * 2, frames * 2, byte).Bytes();
}

const std::array<BrokenFile, 5>& BrokenFiles() {
    static const std::array<BrokenFile, 5> files{{
        {"empty", QByteArray()},
        {"text", QByteArray("This is not a sound.\n")},
        {"header cut inside the format", SmallWave().left(30)},
        {"header without samples", SmallWave().left(44)},
        {"another RIFF kind", QByteArray("RIFF\x10\0\0\0AVI LIST\x04\0\0\0hdrl", 24)},
    }};
    return files;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace tumblara::testing
