// The game's sound call: what reaches the output, and what it costs the
// caller when files are missing or broken.

#include "tests/ui/sound/RecordingOutput.h"
#include "tests/ui/sound/WaveBytes.h"
#include "ui/sound/Sound.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>

namespace tumblara {
namespace {

using testing::BrokenFiles;
using testing::RecordingOutput;
using testing::SmallWave;
using testing::WriteFile;

class SoundPlayerTest : public ::testing::Test {
protected:
    SoundPlayer Player() {
        return SoundPlayer(dir_.path(), [this] {
            ++outputsMade_;
            return std::make_unique<RecordingOutput>(log_);
        });
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    int outputsMade_ = 0;
    std::shared_ptr<RecordingOutput::Log> log_ = std::make_shared<RecordingOutput::Log>();
};

TEST_F(SoundPlayerTest, NoOutputIsMadeUntilAFileCanBePlayed) {
    WriteFile(Path("Bonus1.wav"), BrokenFiles()[1].bytes);
    auto player = Player();
    player.Play("Impact02.wav");
    player.Play("Bonus1.wav");
    EXPECT_EQ(outputsMade_, 0);
    WriteFile(Path("Bonus2.wav"), SmallWave(100));
    player.Play("Bonus2.wav");
    player.Play("Bonus2.wav");
    EXPECT_EQ(outputsMade_, 1);
}

TEST_F(SoundPlayerTest, EveryCallAfterTheFirstSoundCutsEvenForABrokenOrMissingFile) {
    WriteFile(Path("Bonus2.wav"), SmallWave(100));
    WriteFile(Path("Bonus1.wav"), BrokenFiles()[0].bytes);
    auto player = Player();
    player.Play("Bonus2.wav");
    player.Play("Bonus1.wav");
    player.Play("Impact02.wav");
    player.Play("Bonus2.wav");
    const auto started = log_->Started();
    ASSERT_EQ(started.size(), 4U);
    ASSERT_TRUE(started[0]);
    EXPECT_EQ(started[0]->samples.size(), 200U);
    EXPECT_FALSE(started[1]);
    EXPECT_FALSE(started[2]);
    EXPECT_EQ(started[3], started[0]);
}

TEST_F(SoundPlayerTest, AValidFileStillPlaysAfterEveryKindOfBrokenOneInTheSameFolder) {
    auto player = Player();
    player.Play("Missing.wav");
    for (std::size_t i = 0; i < BrokenFiles().size(); ++i) {
        const QString name = QString("Broken%1.wav").arg(i);
        WriteFile(dir_.filePath(name), BrokenFiles()[i].bytes);
        player.Play(name.toStdString());
    }
    WriteFile(Path("Bonus1.wav"), SmallWave(300));
    player.Play("Bonus1.wav");
    const auto started = log_->Started();
    ASSERT_FALSE(started.empty());
    ASSERT_TRUE(started.back());
    EXPECT_EQ(started.back()->samples.size(), 600U);
}

// With the real output: a broken file never gets as far as the sound server,
// and its cost is one look at the file.
TEST_F(SoundPlayerTest, BrokenAndMissingFilesAndFoldersReturnAtOnce) {
    for (std::size_t i = 0; i < BrokenFiles().size(); ++i)
        WriteFile(dir_.filePath(QString("Broken%1.wav").arg(i)), BrokenFiles()[i].bytes);
    SoundPlayer player(dir_.path());
    SoundPlayer nowhere(dir_.filePath("no such folder"));
    constexpr int kRounds = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < BrokenFiles().size(); ++i) player.Play(QString("Broken%1.wav").arg(i).toStdString());
        player.Play("Missing.wav");
        nowhere.Play("Bonus1.wav");
    }
    const auto calls = kRounds * static_cast<int>(BrokenFiles().size() + 2);
    const auto average = (std::chrono::steady_clock::now() - start) / calls;
    // Generous for a busy machine; a read or a connection per call would be
    // far slower than a look at the file.
    EXPECT_LT(average, std::chrono::milliseconds(1));
}

}  // namespace
}  // namespace tumblara
