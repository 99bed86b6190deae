// Reading the layout of wave files: what the player hands to the sound
// server must match the file, and anything else must be refused, never read
// past its end.

#include "tests/ui/sound/WaveBytes.h"
#include "ui/sound/WaveFile.h"

#include <gtest/gtest.h>

namespace tumblara {
namespace {

using testing::Riff;

std::optional<WaveLayout> Parse(const QByteArray& bytes) {
    return ParseWave(std::span(reinterpret_cast<const std::byte*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
}

TEST(WaveFile, CanonicalSixteenBitMonoIsReadWithItsSamplesAfterTheHeader) {
    const auto layout = Parse(Riff().Format(1, 1, 44100, 16).Data(200, 200).Bytes());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->format, (WaveFormat{SampleEncoding::S16LE, 1, 44100}));
    EXPECT_EQ(layout->dataOffset, 44U);
    EXPECT_EQ(layout->dataSize, 200U);
}

struct EncodingCase {
    std::uint16_t tag;
    std::uint16_t bits;
    bool extensible;
    SampleEncoding expected;
};

TEST(WaveFile, EveryEncodingTheServerTakesAsItIsIsRecognised) {
    const EncodingCase cases[] = {
        {1, 8, false, SampleEncoding::U8},       {1, 16, false, SampleEncoding::S16LE},
        {1, 24, false, SampleEncoding::S24LE},   {1, 32, false, SampleEncoding::S32LE},
        {3, 32, false, SampleEncoding::F32LE},   {6, 8, false, SampleEncoding::ALaw},
        {7, 8, false, SampleEncoding::MuLaw},    {1, 16, true, SampleEncoding::S16LE},
        {1, 24, true, SampleEncoding::S24LE},    {3, 32, true, SampleEncoding::F32LE},
    };
    for (const auto& c : cases) {
        auto w = Riff();
        if (c.extensible)
            w.ExtensibleFormat(c.tag, 2, 48000, c.bits);
        else
            w.Format(c.tag, 2, 48000, c.bits);
        const auto layout = Parse(w.Data(c.bits * 3U, c.bits * 3U).Bytes());
        ASSERT_TRUE(layout) << "tag " << c.tag << " bits " << c.bits << " extensible " << c.extensible;
        EXPECT_EQ(layout->format, (WaveFormat{c.expected, 2, 48000})) << "tag " << c.tag << " bits " << c.bits;
        EXPECT_EQ(layout->dataOffset, c.extensible ? 68U : 44U);
    }
}

TEST(WaveFile, EncodingsTheServerCannotTakeAreRefused) {
    // ADPCM, 64-bit float, 12-bit PCM, 16-bit A-law, an extensible ADPCM.
    EXPECT_FALSE(Parse(Riff().Format(2, 1, 44100, 16).Data(64, 64).Bytes()));
    EXPECT_FALSE(Parse(Riff().Format(3, 1, 44100, 64).Data(64, 64).Bytes()));
    EXPECT_FALSE(Parse(Riff().Format(1, 1, 44100, 12).Data(64, 64).Bytes()));
    EXPECT_FALSE(Parse(Riff().Format(6, 1, 44100, 16).Data(64, 64).Bytes()));
    EXPECT_FALSE(Parse(Riff().ExtensibleFormat(2, 1, 44100, 16).Data(64, 64).Bytes()));
}

TEST(WaveFile, ChannelCountsAndRatesOutsideTheServersLimitsAreRefused) {
    EXPECT_FALSE(Parse(Riff().Format(1, 0, 44100, 16).Data(64, 64).Bytes()));
    EXPECT_FALSE(Parse(Riff().Format(1, 9, 44100, 16).Data(72, 72).Bytes()));
    EXPECT_FALSE(Parse(Riff().Format(1, 1, 0, 16).Data(64, 64).Bytes()));
    EXPECT_FALSE(Parse(Riff().Format(1, 1, 384001, 16).Data(64, 64).Bytes()));
    EXPECT_TRUE(Parse(Riff().Format(1, 8, 384000, 16).Data(64, 64).Bytes()));
}

TEST(WaveFile, AFrameSizeThatDisagreesWithTheFormatIsRefused) {
    // Block align 4 for 16-bit mono: the samples could not be told apart.
    const auto bytes = Riff().Tag("fmt ").U32(16).U16(1).U16(1).U32(44100).U32(176400).U16(4).U16(16).Data(64, 64);
    EXPECT_FALSE(Parse(bytes.Bytes()));
}

TEST(WaveFile, ChunksBeforeTheSamplesAreSkippedWithTheirPadByte) {
    // An odd-sized LIST chunk is followed by one pad byte.
    const auto layout =
        Parse(Riff().Chunk("LIST", 5, 'x').Format(1, 1, 22050, 8).Chunk("fact", 4).Data(10, 10).Bytes());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->format, (WaveFormat{SampleEncoding::U8, 1, 22050}));
    EXPECT_EQ(layout->dataOffset, 12U + 14U + 24U + 12U + 8U);
    EXPECT_EQ(layout->dataSize, 10U);
}

TEST(WaveFile, SamplesCutShortByTheEndOfTheFileKeepTheWholeFramesPresent) {
    // 16-bit stereo frames are four bytes: 103 bytes hold 25 whole frames.
    const auto layout = Parse(Riff().Format(1, 2, 44100, 16).Data(4000, 103).Bytes());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataSize, 100U);
}

TEST(WaveFile, AnOversizedRiffLengthOrTrailingBytesDoNotMatter) {
    auto bytes = Riff().Format(1, 1, 44100, 16).Data(8, 8).Tag("junk").Bytes();
    bytes[4] = '\xFF';
    const auto layout = Parse(bytes);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataSize, 8U);
}

TEST(WaveFile, FilesThatAreNotPlayableWavesAreRefused) {
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"only the RIFF tag", QByteArray("RIFF")},
        {"text", QByteArray("RIFF is a container format, WAVE one of its kinds.")},
        {"big-endian RIFX", Riff().Format(1, 1, 44100, 16).Data(8, 8).Bytes().replace(0, 4, "RIFX")},
        {"another RIFF kind", Riff().Bytes().replace(8, 4, "AVI ") + Riff().Format(1, 1, 44100, 16).Data(8, 8).Bytes().mid(12)},
        {"no data chunk", Riff().Format(1, 1, 44100, 16).Bytes()},
        {"samples before the format", Riff().Data(8, 8).Format(1, 1, 44100, 16).Bytes()},
        {"empty data chunk", Riff().Format(1, 1, 44100, 16).Data(0, 0).Bytes()},
        {"less than one frame", Riff().Format(1, 2, 44100, 16).Data(8, 3).Bytes()},
        {"format body too short", Riff().Tag("fmt ").U32(14).U16(1).U16(1).U32(44100).U32(88200).U16(2).Data(8, 8).Bytes()},
        {"format cut by the end", Riff().Format(1, 1, 44100, 16).Bytes().left(30)},
        {"extensible body too short", Riff().Tag("fmt ").U32(18).U16(0xFFFE).U16(1).U32(44100).U32(88200).U16(2).U16(16).U16(0).Data(8, 8).Bytes()},
        {"a chunk claiming 4 GiB", Riff().Tag("LIST").U32(0xFFFFFFF0).Fill(16, 'x').Bytes()},
    };
    for (const auto& [what, bytes] : cases) EXPECT_FALSE(Parse(bytes)) << what;
}

}  // namespace
}  // namespace tumblara
