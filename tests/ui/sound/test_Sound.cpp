// Wave files as the player reads them, and the player's cut: through its
// output, and through a real sound server, where the newest effect ends the
// stream still playing.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <qtestsupport_core.h>

#include "ui/sound/Sound.h"
#include "ui/sound/Wave.h"

namespace tumblara {
namespace {

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
    return Chunk("fmt ", Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * frame, 4) + Le(frame, 2) +
                             Le(bits, 2));
}
QByteArray Riff(const QByteArray& chunks) {
    return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}
QByteArray Data(int bytes) { return Chunk("data", QByteArray(bytes, '\x11')); }
std::optional<WaveLayout> Parse(const QByteArray& f) {
    return ParseWave(std::as_bytes(std::span(f.data(), f.size())));
}
void Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
        const WaveLayout got = Parse(file).value_or(WaveLayout());
        EXPECT_EQ(std::pair(got.dataOffset, got.dataSize), std::pair(offset, size)) << file.toHex().toStdString();
    }
    EXPECT_EQ(Parse(Riff(Fmt(1, 2, 8000, 8) + Data(4)))->format, (WaveFormat{SampleEncoding::U8, 2, 8000}));
}

// Each call reaches the output, and a file that cannot be played only cuts;
// nothing playable yet makes no output at all.
TEST(Player, EveryCallCutsThroughTheOutputAndAMissingFileOnlyCuts) {
    struct Recording : WaveOutput {
        std::vector<bool>* starts;  // true: a wave, false: only a cut
        explicit Recording(std::vector<bool>* s) : starts(s) {}
        void Start(std::shared_ptr<const Wave> wave) override { starts->push_back(wave != nullptr); }
    };
    QTemporaryDir dir;
    Write(dir, "Bonus2.wav", Riff(Fmt(1, 1, 44100, 16) + Data(64)));
    std::vector<bool> starts;
    int made = 0;
    SoundPlayer player(dir.path(), [&] {
        ++made;
        return std::make_unique<Recording>(&starts);
    });
    player.Play("Manca.wav");
    EXPECT_EQ(made, 0);
    for (const char* name : {"Bonus2.wav", "Bonus2.wav", "Manca.wav"}) player.Play(name);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(starts, (std::vector<bool>{true, true, false}));
}

// A private PulseAudio server with a null sink. The wave lasts a minute, so a
// stream is still there unless the next call cut it.
TEST(Player, ThroughASoundServerEachCallEndsTheStreamStillPlaying) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) GTEST_SKIP() << "no pulseaudio";
    QTemporaryDir dir;
    Write(dir, "Lungo.wav", Riff(Fmt(1, 1, 8000, 16) + Data(60 * 16000)));
    const QString socket = dir.filePath("native");
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) ::setenv(name, dir.path().toUtf8().constData(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + socket).toUtf8().constData(), 1);
    QProcess server;
    server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=30", "--disable-shm=yes", "-L",
                                "module-null-sink", "-L",
                                "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    // The streams playing, a line each (its number first), once `done` holds of
    // them; nothing if it never does.
    const auto waitFor = [](const auto& done) {
        std::optional<QString> streams;
        const bool held = QTest::qWaitFor([&] {
            QProcess pactl;
            pactl.start("pactl", {"list", "short", "sink-inputs"});
            if (!pactl.waitForFinished() || pactl.exitCode() != 0) return false;
            streams = QString::fromUtf8(pactl.readAll());
            return done(*streams);
        }, 10000);
        return held ? streams : std::nullopt;
    };
    ASSERT_TRUE(waitFor([](const QString& s) { return s.isEmpty(); })) << "no sound server";
    SoundPlayer player(dir.path());
    player.Play("Lungo.wav");
    const QString first = waitFor([](const QString& s) { return !s.isEmpty(); }).value_or(QString());
    ASSERT_EQ(first.count('\n'), 1);
    player.Play("Lungo.wav");
    const auto second = waitFor([&](const QString& s) { return !s.isEmpty() && s != first; });
    EXPECT_EQ(second.value_or(QString()).count('\n'), 1);
    player.Play("Manca.wav");
    const auto cut = waitFor([](const QString& s) { return s.isEmpty(); });
    EXPECT_EQ(cut.value_or(first), QString()) << "a missing file cuts too";
    server.terminate();
    server.waitForFinished();
}

}  // namespace
}  // namespace tumblara
