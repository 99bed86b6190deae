// The real player against no sound server at all, and against a PulseAudio
// server started here with a null sink, whose monitor shows what was mixed.

#include "tests/ui/sound/SoundFiles.h"
#include "ui/sound/Sound.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <thread>

namespace tumblara {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A private home and runtime folder: the desktop's own sound server is never reached.
class Sandbox : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"PULSE_SERVER", "PULSE_SINK", "PULSE_COOKIE", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH",
                                 "DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"})
            ::unsetenv(name);
        for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"}) ::setenv(name, Path("").c_str(), 1);
    }
    std::string Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }

    QTemporaryDir dir_;
};

TEST_F(Sandbox, WithoutASoundServerPlayReturnsAtOnceAndPrintsNothingEvenForBrokenFiles) {
    const QString folder = dir_.filePath("game");
    ASSERT_TRUE(testing::PlaceBrokenFiles(folder) && testing::Place(folder + "/Bonus1.wav", testing::SmallWave()));
    std::vector<std::string> names{"Bonus1.wav"};
    for (const auto& broken : testing::BrokenFiles()) names.push_back(testing::FileName(broken));
    for (const std::string& server : {"unix:" + Path("no-such-socket"), std::string()}) {
        ::setenv("PULSE_SERVER", server.c_str(), 1);
        if (server.empty()) ::unsetenv("PULSE_SERVER");
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        Clock::duration spent{};
        {
            SoundPlayer player(folder);
            // Good and broken files at the pace of a fast drop; again once a new
            // connection is due.
            for (const auto pause : {2100ms, 100ms}) {
                const auto before = Clock::now();
                for (int step = 0; step < 100; ++step)
                    for (const auto& name : names) player.Play(name);
                spent += Clock::now() - before;
                std::this_thread::sleep_for(pause);
            }
        }
        const std::string printed = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(printed, "") << "server: " << server;
        EXPECT_LT(spent / (200 * names.size()), 5ms) << "server: " << server;
    }
}

constexpr char kInput[] = "Sink Input #";

// What pactl prints; nothing when the server does not answer.
QByteArray Pactl(const QStringList& args) {
    QProcess pactl;
    pactl.start("pactl", args);
    return pactl.waitForFinished(10000) ? pactl.readAllStandardOutput() : QByteArray();
}

// Loud passages in mono at 44.1 kHz, in ms from its start; 40 ms of quiet ends one.
std::vector<std::pair<int, int>> Passages(const std::vector<int>& samples) {
    std::vector<std::pair<int, int>> passages;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto ms = static_cast<int>(i * 1000 / 44100);
        if (std::abs(samples[i]) <= 300) continue;
        if (passages.empty() || ms - passages.back().second > 40) passages.emplace_back(ms, ms);
        passages.back().second = ms;
    }
    return passages;
}

TEST_F(Sandbox, WithASoundServerEachEffectIsMixedWholeANewOneCutsTheLastAndARestartedServerIsFoundAgain) {
    for (const char* tool : {"pulseaudio", "pactl", "parec"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    ::setenv("PULSE_SERVER", ("unix:" + Path("native")).c_str(), 1);
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    // Should the test die, the server goes with it, or at the latest once idle.
    server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    const QString socket = QString::fromStdString(Path("native"));
    const auto startServer = [&] {
        server.start("pulseaudio", {"-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=30",
                                    "--disallow-exit", "--disable-shm=yes", "-L",
                                    "module-null-sink sink_name=effects rate=44100", "-L",
                                    "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
        for (int i = 0; i < 200 && server.waitForStarted(5000) && Pactl({"info"}).isEmpty(); ++i)
            std::this_thread::sleep_for(50ms);
    };
    startServer();
    if (Pactl({"info"}).isEmpty()) GTEST_SKIP() << "pulseaudio did not start here: " << server.readAll().toStdString();

    const QString monitor = dir_.filePath("monitor.raw");
    QProcess parec;
    parec.setStandardOutputFile(monitor);
    parec.start("parec", {"-d", "effects.monitor", "--raw", "--format=s16le", "--rate=44100", "--channels=1",
                          "--latency-msec=2"});
    for (int i = 0; i < 200 && QFileInfo(monitor).size() < 8820; ++i) std::this_thread::sleep_for(50ms);
    ASSERT_GE(QFileInfo(monitor).size(), 8820) << "the null sink's monitor gives nothing";

    SoundPlayer player(TUMBLARA_WAVE_DIR);
    // The newest of two asked for while connecting, each alone, the row sound 100 ms into the level sound, and
    // the level sound 100 ms into itself, for a look at the streams while it plays.
    for (const auto& [name, gap] : {std::pair{"Impact02.wav", 0ms}, {"Bonus1.wav", 500ms}, {"Bonus2.wav", 1000ms},
                                    {"Impact02.wav", 300ms}, {"Bonus2.wav", 100ms}, {"Bonus1.wav", 600ms},
                                    {"Bonus2.wav", 100ms}, {"Bonus2.wav", 0ms}}) {
        player.Play(name);
        std::this_thread::sleep_for(gap);
    }
    QByteArray busiest;  // the sink inputs listed while the most streams were open
    for (const auto until = Clock::now() + 300ms; Clock::now() < until;)
        if (const auto inputs = Pactl({"list", "sink-inputs"}); inputs.count(kInput) > busiest.count(kInput))
            busiest = inputs;
    EXPECT_EQ(busiest.count(kInput), 1);
    EXPECT_TRUE(busiest.contains("application.name = \"Tumblara\"") && busiest.contains("media.role = \"game\""))
        << busiest.toStdString();
    std::this_thread::sleep_for(700ms);
    EXPECT_FALSE(Pactl({"list", "sink-inputs"}).contains(kInput)) << "a stream outlived its wave";

    parec.kill();
    parec.waitForFinished();
    QFile raw(monitor);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const auto passages = Passages(testing::Samples16(raw.readAll()));
    // Loud lengths: the files less their quiet tails, with room for a busy
    // machine; a wave played twice, cut short or joined by another falls outside.
    const std::pair<int, int> lengths[] = {{150, 360}, {550, 820}, {10, 100}, {250, 540}, {650, 920}};
    ASSERT_EQ(passages.size(), std::size(lengths)) << ::testing::PrintToString(passages);
    for (std::size_t i = 0; i < passages.size(); ++i) {
        const int length = passages[i].second - passages[i].first;
        EXPECT_TRUE(length >= lengths[i].first && length <= lengths[i].second) << ::testing::PrintToString(passages);
    }

    // The server goes and comes back (a desktop session restarting its sound):
    // after the pause between attempts, the effects are heard again.
    server.terminate();
    server.waitForFinished();
    player.Play("Impact02.wav");
    startServer();
    std::this_thread::sleep_for(2100ms);
    player.Play("Bonus2.wav");
    bool streamed = false;
    for (const auto until = Clock::now() + 2s; Clock::now() < until && !streamed;)
        streamed = Pactl({"list", "sink-inputs"}).contains(kInput);
    EXPECT_TRUE(streamed) << "no effect reached the server once it was back";
}

}  // namespace
}  // namespace tumblara
