// Wave files as the player reads them, and the player's cut: through its
// output, and through a real sound server, where the newest effect ends the
// stream still playing.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <fstream>
#include <qtestsupport_core.h>

#include "ui/sound/Sound.h"
#include "ui/sound/Wave.h"

namespace tumblara {
namespace {

// Wave files built byte by byte, apart from the code under test; numbers low
// byte first, in four bytes unless told.
QByteArray Le(std::uint64_t value, int bytes = 4) {
    value = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&value), bytes);
}
QByteArray Chunk(const char* tag, const QByteArray& body) {
    return tag + Le(body.size()) + body + QByteArray(body.size() & 1, '\0');
}
QByteArray Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const std::uint32_t frame = channels * bits / 8U;
    return Chunk("fmt ", Le(tag, 2) + Le(channels, 2) + Le(rate) + Le(rate * frame) + Le(frame, 2) + Le(bits, 2));
}
QByteArray Riff(const QByteArray& chunks) { return "RIFF" + Le(chunks.size() + 4) + "WAVE" + chunks; }
QByteArray Data(int bytes) { return Chunk("data", QByteArray(bytes, '\x11')); }
std::optional<WaveLayout> Parse(const QByteArray& file) { return ParseWave(std::as_bytes(std::span(file))); }
void Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    std::ofstream(dir.filePath(name).toStdString(), std::ios::binary) << bytes.toStdString();
}

TEST(WaveFile, PlayableLayoutsAreReadAsTheyLieAndAnythingElseIsRefused) {
    const QByteArray mono = Fmt(1, 1, 44100, 16);
    const std::tuple<QByteArray, std::size_t, std::size_t> cases[] = {  // file, data offset and size; 0 0: refused
        {Riff(mono + Data(200)), 44, 200},
        {Riff(Chunk("LIST", "a") + Fmt(1, 1, 22050, 8) + Chunk("fact", "123") + Data(10)), 66, 10},
        {Riff(Fmt(1, 2, 44100, 16) + "data" + Le(4000) + QByteArray(103, 'x')), 44, 100},  // whole frames only
        {"RIFF" + Le(0xFFFFFF00) + "WAVE" + mono + Data(8) + "junk", 44, 8},
        {"", 0, 0}, {Riff(mono).left(30), 0, 0}, {Riff(mono), 0, 0}, {Riff(Data(8) + mono), 0, 0},
        {Riff(Fmt(2, 1, 44100, 16) + Data(64)), 0, 0}, {Riff(Fmt(1, 9, 44100, 16) + Data(72)), 0, 0},
        {Riff("LIST" + Le(0xFFFFFFF0) + QByteArray(16, 'x')), 0, 0},
        {Riff(QByteArray(mono).replace(20, 2, Le(4, 2)) + Data(64)), 0, 0},  // frame size unlike the format
    };
    for (const auto& [file, offset, size] : cases) {
        const WaveLayout got = Parse(file).value_or(WaveLayout());
        EXPECT_EQ(std::pair(got.dataOffset, got.dataSize), std::pair(offset, size)) << file.toHex().toStdString();
    }
    EXPECT_EQ(Parse(Riff(Fmt(1, 2, 8000, 8) + Data(4)))->format, (WaveFormat{SampleEncoding::U8, 2, 8000}));
}

// Each call reaches the output, made once, and a file that cannot be played
// only cuts; nothing playable yet makes no output at all.
TEST(Player, EveryCallCutsThroughTheOutputAndAMissingFileOnlyCuts) {
    using Events = std::vector<std::string>;  // "made" an output; "wave" or "cut" started on it
    struct Recording : WaveOutput {
        Events* events;
        explicit Recording(Events* e) : events(e) {}
        void Start(std::shared_ptr<const Wave> wave) override { events->push_back(wave ? "wave" : "cut"); }
    };
    QTemporaryDir dir;
    Write(dir, "Bonus2.wav", Riff(Fmt(1, 1, 44100, 16) + Data(64)));
    Events events;
    SoundPlayer player(dir.path(), [&] {
        events.push_back("made");
        return std::make_unique<Recording>(&events);
    });
    player.Play("Manca.wav");
    EXPECT_EQ(events, Events());
    for (const char* name : {"Bonus2.wav", "Bonus2.wav", "Manca.wav"}) player.Play(name);
    EXPECT_EQ(events, (Events{"made", "wave", "wave", "cut"}));
}

// A private PulseAudio server with a null sink. The wave lasts a minute, so a
// stream is still there unless the next call cut it.
TEST(Player, ThroughASoundServerEachCallEndsTheStreamStillPlaying) {
    QTemporaryDir dir;
    Write(dir, "Lungo.wav", Riff(Fmt(1, 1, 8000, 16) + Data(60 * 16000)));
    const QString socket = dir.filePath("native");
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) ::setenv(name, dir.path().toUtf8().constData(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + socket).toUtf8().constData(), 1);
    QProcess server;
    server.start("pulseaudio", {"-n", "--daemonize=no", "--disable-shm=yes", "-L", "module-null-sink", "-L",
                                "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (!server.waitForStarted()) GTEST_SKIP() << "no pulseaudio";
    // The streams playing, a line each (its number first), as the server last
    // listed them; `listed` waits until `done` holds of them.
    QString streams;
    const auto listed = [&streams](const auto& done) {
        return QTest::qWaitFor([&] {
            QProcess pactl;
            pactl.start("pactl", {"list", "short", "sink-inputs"});
            if (!pactl.waitForFinished() || pactl.exitCode() != 0) return false;
            streams = QString::fromUtf8(pactl.readAll());
            return done(streams);
        }, 10000);
    };
    ASSERT_TRUE(listed([](const QString& s) { return s.isEmpty(); })) << "no sound server";
    SoundPlayer player(dir.path());
    player.Play("Lungo.wav");
    ASSERT_TRUE(listed([](const QString& s) { return !s.isEmpty(); }));
    const QString first = streams;
    EXPECT_EQ(first.count('\n'), 1);
    player.Play("Lungo.wav");
    EXPECT_TRUE(listed([&](const QString& s) { return !s.isEmpty() && s != first; })) << "no new stream";
    EXPECT_EQ(streams.count('\n'), 1);
    player.Play("Manca.wav");
    EXPECT_TRUE(listed([](const QString& s) { return s.isEmpty(); })) << "a missing file cuts too";
    server.terminate();
    server.waitForFinished();
}

}  // namespace
}  // namespace tumblara
