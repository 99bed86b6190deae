// The player in a process of its own, against no sound server at all and
// against a real PulseAudio server started here with a null sink, whose
// monitor tells when each effect is actually mixed.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iostream>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <vector>

#include <sys/prctl.h>

namespace tumblara {
namespace {

using namespace std::chrono_literals;
using Ns = std::int64_t;

Ns Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr Ns kMs = 1'000'000;

struct Call {
    std::string name;
    Ns at;
    Ns took;
};

struct ProbeRun {
    int exitCode = -1;
    bool crashed = true;
    std::vector<Call> calls;
    QByteArray output;  // stderr, and stdout lines that are not calls
};

// A private home and runtime folder, so no desktop sound server is reached.
class Sandbox {
public:
    Sandbox() { QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    QString Path(const QString& name = {}) const { return name.isEmpty() ? dir_.path() : dir_.filePath(name); }

    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"PULSE_SERVER", "PULSE_SINK", "PULSE_COOKIE", "PULSE_RUNTIME_PATH", "DISPLAY",
                                 "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"})
            env.remove(name);
        env.insert("HOME", Path());
        env.insert("XDG_RUNTIME_DIR", Path());
        env.insert("XDG_CONFIG_HOME", Path("config"));
        return env;
    }

private:
    QTemporaryDir dir_;
};

// Runs the probe: `script` as its SoundProbe.cpp usage says.
ProbeRun RunProbe(const QProcessEnvironment& env, const QString& folder, const QStringList& script) {
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(TUMBLARA_SOUND_PROBE, QStringList{folder} + script);
    ProbeRun run;
    if (!probe.waitForStarted(10000) || !probe.waitForFinished(30000)) {
        probe.kill();
        probe.waitForFinished();
        return run;
    }
    run.crashed = probe.exitStatus() != QProcess::NormalExit;
    run.exitCode = probe.exitCode();
    run.output = probe.readAllStandardError();
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const auto words = line.split(' ');
        if (words.size() == 4 && words[0] == "play")
            run.calls.push_back(Call{words[1].toStdString(), words[2].toLongLong(), words[3].toLongLong()});
        else if (!line.isEmpty())
            run.output += line + '\n';
    }
    return run;
}

Ns AverageCallTime(const std::vector<Call>& calls) {
    Ns sum = 0;
    for (const Call& c : calls) sum += c.took;
    return calls.empty() ? 0 : sum / static_cast<Ns>(calls.size());
}

// ---------------------------------------------------------------------------
// Without a sound server.

struct NoServer {
    const char* name;
    bool pointedNowhere;  // PULSE_SERVER names a socket that does not exist
};

void PrintTo(const NoServer& setting, std::ostream* out) { *out << setting.name; }

class WithoutSoundServer : public ::testing::TestWithParam<NoServer> {};

TEST_P(WithoutSoundServer, PlayReturnsAtOnceNeverCrashesAndPrintsNothing) {
    Sandbox sandbox;
    QProcessEnvironment env = sandbox.Environment();
    if (GetParam().pointedNowhere) env.insert("PULSE_SERVER", "unix:" + sandbox.Path("no-such-socket"));
    // A fast drop's worth of steps, rows, levels and a missing file; then
    // more after the pause that allows a new connection attempt.
    const auto run = RunProbe(env, TUMBLARA_WAVE_DIR,
                              {"Bonus2.wav@0", "Bonus1.wav@5x20", "Missing.wav@10x20", "Impact02.wav@20x100",
                               "Impact02.wav@2300x50", "Bonus1.wav@2400", "tail=100"});
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.calls.size(), 192U);
    EXPECT_TRUE(run.output.isEmpty()) << "the player printed: " << run.output.toStdString();
    EXPECT_LT(AverageCallTime(run.calls), 5 * kMs);
}

INSTANTIATE_TEST_SUITE_P(Environments, WithoutSoundServer,
                         ::testing::Values(NoServer{"ServerSocketMissing", true}, NoServer{"NothingConfigured", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// With a PulseAudio server of our own.

class PulseServer {
public:
    explicit PulseServer(const Sandbox& sandbox) : sandbox_(sandbox) {}
    ~PulseServer() { Stop(); }
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    static bool Installed() {
        return !QStandardPaths::findExecutable("pulseaudio").isEmpty() &&
               !QStandardPaths::findExecutable("pactl").isEmpty() &&
               !QStandardPaths::findExecutable("parec").isEmpty();
    }

    QString Address() const { return "unix:" + sandbox_.Path("native"); }
    QProcessEnvironment ClientEnvironment() const {
        QProcessEnvironment env = sandbox_.Environment();
        env.insert("PULSE_SERVER", Address());
        return env;
    }

    bool Start() {
        QProcessEnvironment env = sandbox_.Environment();
        env.insert("PULSE_RUNTIME_PATH", sandbox_.Path("runtime"));
        env.insert("PULSE_STATE_PATH", sandbox_.Path("state"));
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        // Should this test die, the server goes with it, or at the latest
        // once no client is left.
        server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        server_.start("pulseaudio",
                      {"-n", "--daemonize=no", "--use-pid-file=no", "--system=no", "--exit-idle-time=30",
                       "--disallow-exit", "--disable-shm=yes", "--log-target=stderr", "-L",
                       "module-native-protocol-unix auth-anonymous=1 socket=" + sandbox_.Path("native"), "-L",
                       "module-null-sink sink_name=effects rate=44100"});
        if (!server_.waitForStarted(5000)) return false;
        const auto deadline = Now() + 10'000 * kMs;
        while (Now() < deadline && server_.state() == QProcess::Running) {
            if (Pactl({"info"}).has_value()) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    void Stop() {
        if (server_.state() == QProcess::NotRunning) return;
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished();
        }
    }

    QByteArray Log() { return server_.readAll(); }

    std::optional<QByteArray> Pactl(const QStringList& args) const {
        QProcess pactl;
        pactl.setProcessEnvironment(ClientEnvironment());
        pactl.start("pactl", args);
        if (!pactl.waitForFinished(10000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0)
            return std::nullopt;
        return pactl.readAllStandardOutput();
    }

private:
    const Sandbox& sandbox_;
    QProcess server_;
};

// Records the null sink's monitor and notes when loud passages start and end.
class MonitorRecorder {
public:
    struct Passage {
        Ns begin;
        Ns end;
    };

    bool Start(const QProcessEnvironment& env) {
        parec_.setProcessEnvironment(env);
        parec_.start("parec", {"-d", "effects.monitor", "--raw", "--format=s16le", "--rate=44100", "--channels=1",
                               "--latency-msec=2"});
        if (!parec_.waitForStarted(5000)) return false;
        // Recording for real once a tenth of a second has come through.
        const auto deadline = Now() + 10'000 * kMs;
        while (samples_ < 4410 && Now() < deadline) Pump(50);
        return samples_ >= 4410;
    }

    ~MonitorRecorder() {
        parec_.kill();
        parec_.waitForFinished();
    }
    MonitorRecorder() = default;
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Reads what arrives for up to `ms` milliseconds.
    void Pump(int ms) {
        if (!parec_.waitForReadyRead(ms)) return;
        const Ns arrived = Now();
        pendingBytes_ += parec_.readAll();
        const qsizetype count = pendingBytes_.size() / 2;
        for (qsizetype i = 0; i < count; ++i) {
            const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(pendingBytes_[2 * i]) |
                                                          static_cast<std::uint8_t>(pendingBytes_[2 * i + 1]) << 8);
            if (std::abs(int{sample}) > kLoud) loud_.push_back(samples_ + i);
        }
        pendingBytes_.remove(0, count * 2);
        samples_ += count;
        // Data can only arrive late, never before it was mixed: the earliest
        // arrival, less the samples before it, dates sample 0 best.
        const Ns start = arrived - SampleTime(samples_ - 1);
        firstSample_ = std::min(firstSample_.value_or(start), start);
    }

    void PumpWhile(const std::function<bool()>& condition) {
        while (condition()) Pump(20);
    }

    // Loud passages; a silence of 40 ms ends one.
    std::vector<Passage> Passages() const {
        std::vector<Passage> passages;
        for (qsizetype k : loud_) {
            const Ns t = *firstSample_ + SampleTime(k);
            if (passages.empty() || t - passages.back().end > 40 * kMs)
                passages.push_back({t, t});
            else
                passages.back().end = t;
        }
        return passages;
    }

private:
    static constexpr int kLoud = 300;
    QProcess parec_;
    static Ns SampleTime(qsizetype k) { return static_cast<Ns>(k) * 1'000'000'000 / 44100; }

    QByteArray pendingBytes_;
    qsizetype samples_ = 0;
    std::optional<Ns> firstSample_;
    std::vector<qsizetype> loud_;
};

// For failure messages: calls and passages in milliseconds from the first call.
std::string Describe(const std::vector<MonitorRecorder::Passage>& passages, const std::vector<Call>& calls) {
    if (calls.empty()) return {};
    const Ns origin = calls.front().at;
    std::string text = "\ncalls at:";
    for (const Call& c : calls) text += " " + std::to_string((c.at - origin) / kMs);
    text += "\nheard:";
    for (const auto& p : passages)
        text += " " + std::to_string((p.begin - origin) / kMs) + ".." + std::to_string((p.end - origin) / kMs);
    return text;
}

class WithSoundServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PulseServer::Installed()) GTEST_SKIP() << "pulseaudio, pactl or parec is not installed";
        if (!server_.Start()) GTEST_SKIP() << "pulseaudio did not start here: " << server_.Log().toStdString();
        ASSERT_TRUE(recorder_.Start(server_.ClientEnvironment())) << "the null sink's monitor gave nothing";
    }

    // Runs the probe while recording.
    ProbeRun PlayAndRecord(const QStringList& script) {
        ProbeRun run;
        std::atomic<bool> done = false;
        std::thread child([&] {
            run = RunProbe(server_.ClientEnvironment(), TUMBLARA_WAVE_DIR, script);
            done = true;
        });
        recorder_.PumpWhile([&] { return !done; });
        child.join();
        recorder_.Pump(100);
        return run;
    }

    // The first loud passage that begins after the call. The null sink mixes
    // a little ahead of its clock, so a passage may seem to start just before.
    std::optional<MonitorRecorder::Passage> HeardAfter(const Call& call) const {
        for (const auto& p : recorder_.Passages())
            if (p.begin >= call.at - 10 * kMs) return p;
        return std::nullopt;
    }

    Sandbox sandbox_;
    PulseServer server_{sandbox_};
    MonitorRecorder recorder_;
};

TEST_F(WithSoundServer, EveryEffectIsMixedWholeSoonAfterTheCall) {
    const auto run = PlayAndRecord({"Bonus1.wav@300", "Bonus2.wav@800", "Impact02.wav@1800", "Bonus1.wav@2100",
                                    "Impact02.wav@2600", "tail=400"});
    ASSERT_FALSE(run.crashed);
    ASSERT_EQ(run.calls.size(), 5U);
    EXPECT_TRUE(run.output.isEmpty()) << "the player printed: " << run.output.toStdString();
    // Loud lengths: the files less their quiet tails, with room for a busy
    // machine; a wave played twice or cut short falls outside.
    const std::pair<Ns, Ns> lengths[] = {{150, 360}, {550, 820}, {10, 100}, {150, 360}, {10, 100}};
    std::string delays;
    for (std::size_t i = 0; i < run.calls.size(); ++i) {
        const Call& call = run.calls[i];
        const auto heard = HeardAfter(call);
        ASSERT_TRUE(heard) << call.name << " was never heard";
        const Ns delay = heard->begin - call.at;
        delays += call.name + " " + std::to_string(static_cast<double>(delay) / 1e6).substr(0, 5) + " ms; ";
        // The first call loads the client library and connects. Typical
        // delays are far below these bounds, which allow for a busy machine.
        EXPECT_LT(delay, (i == 0 ? 1000 : 300) * kMs) << call.name << Describe(recorder_.Passages(), run.calls);
        const Ns length = (heard->end - heard->begin) / kMs;
        EXPECT_GE(length, lengths[i].first) << call.name << Describe(recorder_.Passages(), run.calls);
        EXPECT_LE(length, lengths[i].second) << call.name << Describe(recorder_.Passages(), run.calls);
    }
    RecordProperty("delays", delays);
    std::cout << "call to mixed: " << delays << '\n';
}

TEST_F(WithSoundServer, ANewEffectCutsTheOneStillPlaying) {
    // The level sound lasts 680 ms; the row sound started 200 ms into it
    // must replace it, not join it.
    const auto run = PlayAndRecord({"Bonus2.wav@300", "Bonus1.wav@500", "tail=1000"});
    ASSERT_EQ(run.calls.size(), 2U);
    const auto passages = recorder_.Passages();
    ASSERT_FALSE(passages.empty());
    const Ns rowEnd = run.calls[1].at + 210 * kMs;
    EXPECT_LT(passages.back().end, rowEnd + 100 * kMs)
        << "sound went on past the row sound's end" << Describe(passages, run.calls);
    EXPECT_GE(passages.back().end, rowEnd - 100 * kMs)
        << "the row sound was not played to its end" << Describe(passages, run.calls);
}

TEST_F(WithSoundServer, OneStreamAtATimeNamedForTheGame) {
    QStringList script;
    for (int i = 0; i < 8; ++i) script << QString("Bonus2.wav@%1").arg(300 + 350 * i);
    script << "tail=300";
    std::atomic<bool> done = false;
    ProbeRun run;
    std::thread child([&] {
        run = RunProbe(server_.ClientEnvironment(), TUMBLARA_WAVE_DIR, script);
        done = true;
    });
    int mostStreams = 0;
    QByteArray listing;
    while (!done) {
        const auto inputs = server_.Pactl({"list", "sink-inputs"});
        if (inputs) {
            const int streams = static_cast<int>(inputs->count("Sink Input #"));
            mostStreams = std::max(mostStreams, streams);
            if (streams == 1) listing = *inputs;
        }
        std::this_thread::sleep_for(40ms);
    }
    child.join();
    EXPECT_EQ(run.calls.size(), 8U);
    EXPECT_EQ(mostStreams, 1);
    EXPECT_TRUE(listing.contains("application.name = \"Tumblara\"")) << listing.toStdString();
    EXPECT_TRUE(listing.contains("media.role = \"game\"")) << listing.toStdString();
}

TEST_F(WithSoundServer, SoundComesBackAfterTheServerRestarts) {
    std::atomic<bool> done = false;
    ProbeRun run;
    std::thread child([&] {
        run = RunProbe(server_.ClientEnvironment(), TUMBLARA_WAVE_DIR,
                       {"Bonus1.wav@300", "Bonus1.wav@4000", "Bonus1.wav@4500", "tail=500"});
        done = true;
    });
    std::this_thread::sleep_for(1000ms);
    server_.Stop();
    const bool restarted = server_.Start();
    MonitorRecorder recorder;
    const bool recording = restarted && recorder.Start(server_.ClientEnvironment());
    if (recording) recorder.PumpWhile([&] { return !done; });
    child.join();
    ASSERT_TRUE(restarted) << server_.Log().toStdString();
    ASSERT_TRUE(recording);
    ASSERT_EQ(run.calls.size(), 3U);
    recorder.Pump(100);
    bool heard = false;
    for (const auto& p : recorder.Passages()) heard = heard || p.begin >= run.calls[1].at - 10 * kMs;
    EXPECT_TRUE(heard) << "nothing was heard after the server came back";
}

}  // namespace
}  // namespace tumblara
