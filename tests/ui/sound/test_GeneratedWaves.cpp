// The three effects the build writes beside the program: valid files, the
// lengths they were designed to, loud enough, never clipping, and fading in
// and out so that starting and cutting them does not click.

#include "ui/sound/WaveFile.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace tumblara {
namespace {

struct Design {
    const char* name;
    double minSeconds;
    double maxSeconds;
};

void PrintTo(const Design& design, std::ostream* out) { *out << design.name; }

class GeneratedWave : public ::testing::TestWithParam<Design> {
protected:
    void SetUp() override {
        QFile file(QStringLiteral(TUMBLARA_WAVE_DIR "/") + QString::fromLatin1(GetParam().name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        bytes_ = file.readAll();
        ASSERT_GE(bytes_.size(), 44);
        for (qsizetype at = 44; at + 1 < bytes_.size(); at += 2)
            samples_.push_back(static_cast<std::int16_t>(Le(at, 2)));
        ASSERT_FALSE(samples_.empty());
        peak_ = 0;
        for (int s : samples_) peak_ = std::max(peak_, std::abs(s));
    }

    std::uint32_t Le(qsizetype at, int bytes) const {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(bytes_[at + i]);
        return v;
    }
    int PeakBetween(double from, double to) const {
        const auto first = static_cast<std::size_t>(from * 44100);
        const auto last = std::min(samples_.size(), static_cast<std::size_t>(to * 44100));
        int peak = 0;
        for (std::size_t i = first; i < last; ++i) peak = std::max(peak, std::abs(int{samples_[i]}));
        return peak;
    }
    double Seconds() const { return static_cast<double>(samples_.size()) / 44100.0; }

    QByteArray bytes_;
    std::vector<std::int16_t> samples_;
    int peak_ = 0;
};

TEST_P(GeneratedWave, HasACanonicalSixteenBitMonoHeaderThatMatchesTheFileSize) {
    EXPECT_EQ(bytes_.left(4), "RIFF");
    EXPECT_EQ(Le(4, 4), static_cast<std::uint32_t>(bytes_.size() - 8));
    EXPECT_EQ(bytes_.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le(16, 4), 16U);       // format body
    EXPECT_EQ(Le(20, 2), 1U);        // PCM
    EXPECT_EQ(Le(22, 2), 1U);        // mono
    EXPECT_EQ(Le(24, 4), 44100U);    // frames per second
    EXPECT_EQ(Le(28, 4), 88200U);    // bytes per second
    EXPECT_EQ(Le(32, 2), 2U);        // bytes per frame
    EXPECT_EQ(Le(34, 2), 16U);       // bits per sample
    EXPECT_EQ(bytes_.mid(36, 4), "data");
    EXPECT_EQ(Le(40, 4), static_cast<std::uint32_t>(bytes_.size() - 44));

    // The player reads it the same way.
    const auto layout = ParseWave(std::span(reinterpret_cast<const std::byte*>(bytes_.constData()),
                                            static_cast<std::size_t>(bytes_.size())));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->format, (WaveFormat{SampleEncoding::S16LE, 1, 44100}));
    EXPECT_EQ(layout->dataSize, static_cast<std::size_t>(bytes_.size() - 44));
}

TEST_P(GeneratedWave, LastsAsLongAsDesigned) {
    EXPECT_GE(Seconds(), GetParam().minSeconds);
    EXPECT_LE(Seconds(), GetParam().maxSeconds);
}

TEST_P(GeneratedWave, IsAudibleWithHeadroomAndNeverClips) {
    EXPECT_GT(peak_, 32767 / 5);
    EXPECT_LT(peak_, 32767 / 2);
}

TEST_P(GeneratedWave, FadesInAndOutToSilence) {
    EXPECT_LE(std::abs(int{samples_.front()}), 2);
    EXPECT_LE(std::abs(int{samples_.back()}), 2);
    // The first half millisecond rises gently; the last millisecond is nearly silent.
    EXPECT_LT(PeakBetween(0.0, 0.0005), peak_ * 3 / 10);
    EXPECT_LT(PeakBetween(Seconds() - 0.001, Seconds()), peak_ / 10);
}

INSTANTIATE_TEST_SUITE_P(Effects, GeneratedWave,
                         ::testing::Values(Design{"Impact02.wav", 0.030, 0.060}, Design{"Bonus1.wav", 0.150, 0.250},
                                           Design{"Bonus2.wav", 0.500, 0.800}),
                         [](const auto& info) {
                             const std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(GeneratedImpact, HasDiedAwayBeforeTheNextStepOfAFastDrop) {
    // During a fast drop a new step cuts the tap every 20 ms; cut that late it
    // must already be quiet, or the cuts would crackle.
    QFile file(QStringLiteral(TUMBLARA_WAVE_DIR "/Impact02.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    int peak = 0;
    int late = 0;
    for (qsizetype at = 44; at + 1 < bytes.size(); at += 2) {
        const int s = std::abs(int{static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                                             static_cast<std::uint8_t>(bytes[at + 1]) << 8)});
        peak = std::max(peak, s);
        if ((at - 44) / 2 >= 882) late = std::max(late, s);  // from 20 ms on
    }
    EXPECT_LT(late, peak * 15 / 100);
}

}  // namespace
}  // namespace tumblara
