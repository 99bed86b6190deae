// Wave files as the player reads them, and the player's cut through a real
// sound server: the newest effect ends the one still playing.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <thread>

#include "ui/sound/Sound.h"
#include "ui/sound/Wave.h"

namespace tumblara {
namespace {

using std::chrono::milliseconds;

// Wave files built byte by byte, apart from the code under test.
QByteArray Le(std::uint32_t value, int bytes) {
    value = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&value), bytes);
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
std::optional<WaveLayout> Parse(const QByteArray& f) { return ParseWave(std::as_bytes(std::span(f.data(), f.size()))); }

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
        const WaveLayout got = Parse(file).value_or(WaveLayout());
        EXPECT_EQ(std::pair(got.dataOffset, got.dataSize), std::pair(offset, size)) << file.toHex().toStdString();
    }
    EXPECT_EQ(Parse(Riff(Fmt(1, 2, 8000, 8) + Data(4)))->format, (WaveFormat{SampleEncoding::U8, 2, 8000}));
}

// A private PulseAudio server with a null sink: never two effects' streams at once.
TEST(Player, ThroughASoundServerTheNewestEffectCutsTheOlderEvenAMissingOne) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) GTEST_SKIP() << "no pulseaudio";
    QTemporaryDir dir;
    const QString socket = dir.filePath("native");
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) ::setenv(name, dir.path().toUtf8().constData(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + socket).toUtf8().constData(), 1);
    QProcess server;
    server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=30", "--disable-shm=yes", "-L", "module-null-sink",
                                "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    const auto streams = [] {
        QProcess pactl;
        pactl.start("pactl", {"list", "short", "sink-inputs"});
        return pactl.waitForFinished() && pactl.exitCode() == 0 ? static_cast<int>(pactl.readAll().count('\n')) : -1;
    };
    for (int i = 0; i < 200 && streams() < 0; ++i) std::this_thread::sleep_for(milliseconds(50));
    ASSERT_EQ(streams(), 0) << "pulseaudio did not start";
    SoundPlayer player(TUMBLARA_WAVE_DIR);
    for (int i = 0; i < 50 && streams() < 1; ++i) player.Play("Bonus2.wav"), std::this_thread::sleep_for(milliseconds(100));
    player.Play("Bonus2.wav");  // while the first one still plays
    int most = 0;
    for (auto end = std::chrono::steady_clock::now() + milliseconds(250); std::chrono::steady_clock::now() < end;)
        most = std::max(most, streams());
    player.Play("Manca.wav");  // long before the level sound would end by itself
    int left = 1;
    for (int i = 0; i < 15 && (left = streams()) != 0; ++i) std::this_thread::sleep_for(milliseconds(10));
    EXPECT_EQ(most, 1);
    EXPECT_EQ(left, 0) << "a missing file cuts too";
    server.terminate();
    server.waitForFinished();
}

}  // namespace
}  // namespace tumblara
