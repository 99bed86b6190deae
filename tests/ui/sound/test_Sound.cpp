// Wave files as the player reads them, and the player's cut: the newest
// effect ends the one still playing, also through a real sound server.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <thread>

#include "ui/sound/Sound.h"
#include "ui/sound/Wave.h"

namespace tumblara {
namespace {

QByteArray Le(std::uint32_t value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFFU);
    return out;
}
QByteArray Chunk(const char* tag, const QByteArray& body) {
    return tag + Le(static_cast<std::uint32_t>(body.size()), 4) + body + QByteArray(body.size() & 1, '\0');
}
QByteArray Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const std::uint32_t frame = channels * bits / 8U;
    return Chunk("fmt ", Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * frame, 4) + Le(frame, 2) + Le(bits, 2));
}
QByteArray Riff(const QByteArray& chunks) { return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks; }
QByteArray Data(int bytes) { return Chunk("data", QByteArray(bytes, '\x11')); }

std::optional<WaveLayout> Parse(const QByteArray& file) {
    return ParseWave(std::as_bytes(std::span(file.constData(), static_cast<std::size_t>(file.size()))));
}

TEST(WaveFile, PlayableLayoutsAreReadAsTheyLieAndAnythingElseIsRefused) {
    const QByteArray mono = Fmt(1, 1, 44100, 16);
    const std::tuple<QByteArray, std::size_t, std::size_t> cases[] = {  // file, data offset and size; 0 0: refused
        {Riff(mono + Data(200)), 44, 200},
        {Riff(Chunk("LIST", "a") + Fmt(1, 1, 22050, 8) + Chunk("fact", "123") + Data(10)), 66, 10},
        {Riff(Fmt(1, 2, 44100, 16) + "data" + Le(4000, 4) + QByteArray(103, 'x')), 44, 100},  // whole frames only
        {"RIFF" + Le(0xFFFFFF00, 4) + "WAVE" + mono + Data(8) + "junk", 44, 8},
        {"", 0, 0}, {Riff(mono).left(30), 0, 0}, {Riff(mono), 0, 0}, {Riff(Data(8) + mono), 0, 0},
        {Riff(Fmt(2, 1, 44100, 16) + Data(64)), 0, 0}, {Riff(Fmt(1, 9, 44100, 16) + Data(72)), 0, 0},
        {Riff("LIST" + Le(0xFFFFFFF0, 4) + QByteArray(16, 'x')), 0, 0},
        {Riff(QByteArray(mono).replace(20, 2, Le(4, 2)) + Data(64)), 0, 0},  // frame size unlike the format
    };
    for (const auto& [file, offset, size] : cases) {
        const auto got = Parse(file);
        EXPECT_EQ(got.value_or(WaveLayout()).dataOffset, offset) << file.toHex().toStdString();
        EXPECT_EQ(got.value_or(WaveLayout()).dataSize, size) << file.toHex().toStdString();
    }
    EXPECT_EQ(Parse(Riff(Fmt(1, 2, 8000, 8) + Data(4)))->format, (WaveFormat{SampleEncoding::U8, 2, 8000}));
}

struct Recording final : WaveOutput {
    explicit Recording(std::vector<std::shared_ptr<const Wave>>& log) : started(log) {}
    void Start(std::shared_ptr<const Wave> wave) override { started.push_back(std::move(wave)); }
    std::vector<std::shared_ptr<const Wave>>& started;
};

TEST(Player, EveryEffectCutsTheLastOnceOneCouldPlayEvenABrokenOne) {
    QTemporaryDir dir;
    for (const auto& [name, bytes] : {std::pair{"Bonus1.wav", Riff(Fmt(1, 1, 44100, 16) + Data(600))}, {"Rotto.wav", Riff({})}}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    std::vector<std::shared_ptr<const Wave>> started;
    int made = 0;
    SoundPlayer player(dir.path(), [&] { return ++made, std::make_unique<Recording>(started); });
    player.Play("Rotto.wav");
    player.Play("Manca.wav");
    EXPECT_EQ(made, 0) << "nothing to play, nothing to cut: no output yet";
    for (const char* name : {"Bonus1.wav", "Rotto.wav", "Manca.wav", "Bonus1.wav"}) player.Play(name);
    EXPECT_EQ(made, 1);
    ASSERT_EQ(started.size(), 4U);
    EXPECT_TRUE(started[0] && !started[1] && !started[2] && started[3] == started[0]);
    EXPECT_EQ(started[0]->samples.size(), 600U);
}

// A private PulseAudio server with a null sink: never two effects' streams at once.
TEST(Player, ThroughASoundServerTheNewestEffectCutsTheOlder) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) GTEST_SKIP() << "no pulseaudio";
    QTemporaryDir dir;
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) ::setenv(name, dir.path().toUtf8().constData(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + dir.filePath("native")).toUtf8().constData(), 1);
    QProcess server;
    server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=30", "--disable-shm=yes", "-L",
                                "module-null-sink", "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + dir.filePath("native")});
    const auto streams = [] {
        QProcess pactl;
        pactl.start("pactl", {"list", "short", "sink-inputs"});
        return pactl.waitForFinished() && pactl.exitCode() == 0 ? static_cast<int>(pactl.readAll().count('\n')) : -1;
    };
    for (int i = 0; i < 200 && streams() < 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(streams(), 0) << "pulseaudio did not start";
    SoundPlayer player(TUMBLARA_WAVE_DIR);
    int most = 0;
    for (const char* name : {"Bonus2.wav", "Bonus2.wav", "Bonus1.wav"}) {
        player.Play(name);
        for (const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300); std::chrono::steady_clock::now() < until;)
            most = std::max(most, streams());
    }
    EXPECT_EQ(most, 1);
    server.terminate();
    server.waitForFinished();
}

}  // namespace
}  // namespace tumblara
