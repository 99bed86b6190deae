// The output made on its own thread: waves started before it exists wait for
// it, the newest only, and only while still fresh.

#include "tests/ui/sound/RecordingOutput.h"
#include "ui/sound/BackgroundOutput.h"

#include <future>
#include <gtest/gtest.h>

namespace tumblara {
namespace {

using namespace std::chrono_literals;
using testing::RecordingOutput;

std::shared_ptr<const Wave> AWave(std::uint32_t rate) {
    auto wave = std::make_shared<Wave>();
    wave->format = WaveFormat{SampleEncoding::S16LE, 1, rate};
    wave->samples.resize(2);
    return wave;
}

class BackgroundOutputTest : public ::testing::Test {
protected:
    // A maker that waits until the test lets it finish.
    BackgroundOutput::Maker HeldMaker(bool giveOutput = true) {
        return [this, giveOutput]() -> std::unique_ptr<WaveOutput> {
            release_.get_future().wait();
            if (!giveOutput) return nullptr;
            return std::make_unique<RecordingOutput>(log_);
        };
    }
    void Release() { release_.set_value(); }

    std::promise<void> release_;
    std::shared_ptr<RecordingOutput::Log> log_ = std::make_shared<RecordingOutput::Log>();
};

TEST_F(BackgroundOutputTest, OnlyTheNewestWaveAskedForWhileMakingIsPlayedOnceReady) {
    const auto first = AWave(8000);
    const auto second = AWave(11025);
    {
        BackgroundOutput output(HeldMaker());
        output.Start(first);
        output.Start(second);
        Release();
    }
    EXPECT_EQ(log_->Started(), std::vector<std::shared_ptr<const Wave>>{second});
}

TEST_F(BackgroundOutputTest, ACutWhileMakingLeavesNothingToPlay) {
    {
        BackgroundOutput output(HeldMaker());
        output.Start(AWave(8000));
        output.Start(nullptr);
        Release();
    }
    EXPECT_TRUE(log_->Started().empty());
}

TEST_F(BackgroundOutputTest, AWaveThatWaitedTooLongIsDropped) {
    {
        BackgroundOutput output(HeldMaker(), 1ms);
        output.Start(AWave(8000));
        std::this_thread::sleep_for(20ms);
        Release();
    }
    EXPECT_TRUE(log_->Started().empty());
}

TEST_F(BackgroundOutputTest, OnceMadeEveryStartAndCutGoesThroughInOrder) {
    const auto a = AWave(8000);
    const auto b = AWave(11025);
    {
        BackgroundOutput output(HeldMaker());
        Release();
        // Whether the output is ready yet or not, these arrive in this order.
        while (log_->Started().empty()) output.Start(a);
        output.Start(nullptr);
        output.Start(b);
    }
    const auto started = log_->Started();
    ASSERT_GE(started.size(), 3U);
    EXPECT_EQ(started[started.size() - 3], a);
    EXPECT_EQ(started[started.size() - 2], nullptr);
    EXPECT_EQ(started.back(), b);
}

TEST_F(BackgroundOutputTest, AnOutputThatCouldNotBeMadeIsNotTriedAgain) {
    int makes = 0;
    {
        BackgroundOutput output([&makes]() -> std::unique_ptr<WaveOutput> {
            ++makes;
            return nullptr;
        });
        for (int i = 0; i < 100; ++i) output.Start(AWave(8000));
    }
    EXPECT_EQ(makes, 1);
}

TEST_F(BackgroundOutputTest, DestroyingItWaitsForTheMakerToFinish) {
    std::atomic<bool> finished = false;
    {
        BackgroundOutput output([&finished]() -> std::unique_ptr<WaveOutput> {
            std::this_thread::sleep_for(30ms);
            finished = true;
            return nullptr;
        });
    }
    EXPECT_TRUE(finished);
}

}  // namespace
}  // namespace tumblara
