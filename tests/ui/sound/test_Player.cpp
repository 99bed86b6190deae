// The player short of the sound server: what it reads from wave files must
// match them, anything else is refused without reading past its end; which
// waves are kept and which reach the output, if there is one; and the effects
// the build writes start and end without a click.

#include "tests/ui/sound/SoundFiles.h"
#include "ui/sound/BackgroundOutput.h"
#include "ui/sound/Sound.h"
#include "ui/sound/WaveLibrary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace tumblara {
namespace {

using namespace testing;
using namespace std::chrono_literals;
using E = SampleEncoding;
using Waves = std::vector<std::shared_ptr<const Wave>>;

auto Parse(const QByteArray& b) { return ParseWave(std::as_bytes(std::span(b.constData(), b.size()))); }

TEST(WaveFile, PlayableLayoutsAreReadAsTheyLie) {
    struct Case { const char* what; QByteArray file; WaveLayout layout; };
    const Case cases[] = {
        {"16-bit mono", Riff(Fmt(1, 1, 44100, 16) + Data(200)), {{E::S16LE, 1, 44100}, 44, 200}},
        {"extensible float", Riff(Ext(3, 2, 48000, 32) + Data(16)), {{E::F32LE, 2, 48000}, 68, 16}},
        {"the server's limits", Riff(Fmt(1, 8, 384000, 16) + Data(32)), {{E::S16LE, 8, 384000}, 44, 32}},
        {"odd chunks and their pad bytes",
         Riff(Chunk("LIST", "a") + Fmt(1, 1, 22050, 8) + Chunk("fact", "123") + Data(10)), {{E::U8, 1, 22050}, 66, 10}},
        // 16-bit stereo frames are 4 bytes: 103 bytes hold 25 whole frames.
        {"samples cut by the end", Riff(Fmt(1, 2, 44100, 16) + "data" + Le(4000, 4) + QByteArray(103, 'x')),
         {{E::S16LE, 2, 44100}, 44, 100}},
        {"oversized RIFF length, trailing bytes",
         "RIFF" + Le(0xFFFFFF00, 4) + "WAVE" + Fmt(1, 1, 44100, 16) + Data(8) + "junk", {{E::S16LE, 1, 44100}, 44, 8}},
    };
    for (const Case& c : cases) {
        const auto got = Parse(c.file);
        ASSERT_TRUE(got) << c.what;
        EXPECT_EQ(got->format, c.layout.format) << c.what;
        EXPECT_EQ(got->dataOffset, c.layout.dataOffset) << c.what;
        EXPECT_EQ(got->dataSize, c.layout.dataSize) << c.what;
    }
}

TEST(GeneratedWaves, AreCanonicalAudibleAndStartAndEndWithoutAClick) {
    // A fast drop cuts the tap at every 20 ms step: quiet by then, or the cuts crackle.
    struct Design { const char* name; double minSeconds, maxSeconds; bool cutEvery20Ms; };
    for (const Design& d : {Design{"Impact02.wav", 0.030, 0.060, true}, Design{"Bonus1.wav", 0.150, 0.250, false},
                            Design{"Bonus2.wav", 0.500, 0.800, false}}) {
        QFile file(QStringLiteral(TUMBLARA_WAVE_DIR "/") + d.name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << d.name;
        const QByteArray bytes = file.readAll();
        const int frames = static_cast<int>(bytes.size() - 44) / 2;
        // The one header every player reads, with the sizes of this file.
        ASSERT_EQ(bytes.left(44), SmallWave(frames).left(44)) << d.name;
        const std::vector<int> s = Samples16(bytes.mid(44));
        const auto peak = [&s](double from, double to) {
            int most = 0;
            const auto end = std::min(s.size(), static_cast<std::size_t>(to * 44100));
            for (auto i = static_cast<std::size_t>(from * 44100); i < end; ++i) most = std::max(most, std::abs(s[i]));
            return most;
        };
        const double seconds = frames / 44100.0;
        const int loudest = peak(0, seconds);
        EXPECT_TRUE(seconds >= d.minSeconds && seconds <= d.maxSeconds) << d.name << " lasts " << seconds << " s";
        EXPECT_GT(loudest, 32767 / 5) << d.name << " is too quiet";
        EXPECT_LT(loudest, 32767 / 2) << d.name << " leaves no headroom";
        EXPECT_LT(peak(0, 0.0005), loudest * 3 / 10) << d.name << " starts abruptly";
        EXPECT_LT(peak(seconds - 0.001, seconds), loudest / 10) << d.name << " ends abruptly";
        if (d.cutEvery20Ms) {
            EXPECT_LT(peak(0.020, seconds), loudest * 15 / 100) << d.name << " still rings at 20 ms";
        }
    }
}

// Keeps the waves it was asked to start; null is a cut.
struct Recording final : WaveOutput {
    explicit Recording(std::shared_ptr<Waves> log) : started(std::move(log)) {}
    void Start(std::shared_ptr<const Wave> wave) override { started->push_back(std::move(wave)); }
    std::shared_ptr<Waves> started;
};

class Playback : public ::testing::Test {
protected:
    QString Path(const std::string& name) const { return folder_ + '/' + QString::fromStdString(name); }

    QTemporaryDir dir_;
    // Spaces, marks and an accent in the path, as a player's home may have.
    QString folder_ = dir_.filePath(QString::fromUtf8("Giochi #1 % più"));
    std::shared_ptr<Waves> started_ = std::make_shared<Waves>();
};

// Every broken file and every format the server cannot play as it is is refused.
TEST_F(Playback, ABrokenFileIsOpenedAtMostOnceWhileItStaysTheSameAndPlaysOnceMadeGood) {
    ASSERT_TRUE(PlaceBrokenFiles(folder_));
    WaveLibrary library(folder_);
    int reads = 0;
    for (const Broken& broken : BrokenFiles()) {
        for (int i = 0; i < 20; ++i) EXPECT_FALSE(library.Get(FileName(broken))) << broken.what;
        // Never opened: no such file, or one too large to be an effect.
        EXPECT_EQ(library.Reads(), reads += broken.lay == Lay::File) << broken.what;
        ASSERT_TRUE(Place(Path(FileName(broken)), SmallWave()));
        EXPECT_TRUE(library.Get(FileName(broken))) << broken.what << " made good";
        ++reads;
    }
}

TEST_F(Playback, OnlyAPlayableFileMakesTheOutputAndAfterItEveryCallCutsEvenForABrokenFile) {
    ASSERT_TRUE(PlaceBrokenFiles(folder_) && Place(Path("Bonus1.wav"), SmallWave(300)));
    int made = 0;
    SoundPlayer player(folder_, [&] { ++made; return std::make_unique<Recording>(started_); });
    const auto playBroken = [&] { for (const Broken& broken : BrokenFiles()) player.Play(FileName(broken)); };
    playBroken();
    EXPECT_EQ(made, 0) << "no sound server is worth connecting to for nothing";
    player.Play("Bonus1.wav");
    playBroken();
    player.Play("Bonus1.wav");
    EXPECT_EQ(made, 1);
    const Waves& started = *started_;
    ASSERT_EQ(started.size(), BrokenFiles().size() + 2);
    ASSERT_TRUE(started.front());
    EXPECT_EQ(started.front()->format, (WaveFormat{SampleEncoding::S16LE, 1, 44100}));
    EXPECT_EQ(started.front()->samples, std::vector(600, std::byte{0x11}));
    EXPECT_EQ(started.back(), started.front());
    for (std::size_t i = 1; i + 1 < started.size(); ++i) EXPECT_FALSE(started[i]) << BrokenFiles()[i - 1].what;

    // Without a sound library there is no output, whether made at once or on a thread of its own.
    SoundPlayer none(folder_, [] { return nullptr; });
    SoundPlayer late(folder_, [] { return std::make_unique<BackgroundOutput>([] { return nullptr; }); });
    for (int i = 0; i < 50; ++i, std::this_thread::sleep_for(100us)) none.Play("Bonus1.wav"), late.Play("Bonus1.wav");
}

}  // namespace
}  // namespace tumblara
