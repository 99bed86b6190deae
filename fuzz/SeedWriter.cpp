// Writes the seed corpus: short scripted runs that reach every state of the
// program (idle, level banner, play, pause, game over, the end) and the
// moves that matter in each, so that the fuzzer starts from inputs that
// already remove rows, change levels and end games.
//
//   seed_writer <folder>     writes the seeds and prints what each one reached

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/Match.h"
#include "fuzz/Script.h"

namespace tumblara::fuzz {
namespace {

constexpr std::uint8_t kRight = 0;
constexpr std::uint8_t kLeft = 1;
constexpr std::uint8_t kDrop = 2;
constexpr std::uint8_t kTurn = 3;

class Seed {
public:
    Seed(std::string name, std::uint8_t cella = 20, std::uint16_t timeOfDay = 0x8000)
        : name_(std::move(name)) {
        header_.cella = cella;
        header_.timeOfDay = timeOfDay;
    }

    const std::string& Name() const { return name_; }
    std::vector<std::uint8_t> Bytes() const { return Encode(header_, steps_); }

    Seed& Wait(int ms) {
        wait_ += ms;
        return *this;
    }
    Seed& Do(Op op, std::uint8_t a = 0, std::uint8_t b = 0) {
        // Waits longer than one step can carry become idle steps.
        while (DelayMs(DelayByte(wait_)) < wait_ && wait_ >= 9600) {
            steps_.push_back({Op::Idle, 255, 0, 0});
            wait_ -= 9600;
        }
        const std::uint8_t delay = DelayByte(wait_);
        steps_.push_back({op, delay, a, b});
        wait_ = 0;
        return *this;
    }
    Seed& Press(std::uint8_t key, int holdMs = 30) {
        Do(Op::KeyDown, key);
        Wait(holdMs);
        return Do(Op::KeyUp, key);
    }
    // The values the random source gives next, in order.
    Seed& Random(std::initializer_list<double> values) {
        for (double u : values) {
            const auto v = static_cast<std::uint16_t>(u * 65536.0);
            Do(Op::Random, static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8));
        }
        return *this;
    }
    // The draws of one piece choice followed by the column of the piece that
    // enters: shape, rotation and picture of the new next piece, then the
    // column (1..13) of the entering piece.
    Seed& NextPieces(int type, int rotation, int picture, int column) {
        return Random({(type - 0.5) / 7.0, (rotation + 0.5) / 4.0, (picture - 0.5) / 7.0, (column - 0.5) / 13.0});
    }
    // A new game whose banner runs out.
    Seed& NewGame() {
        Do(Op::NewGame);
        return Wait(2600);
    }
    Seed& PileUp(int fromRow, int toRow, int holeColumn) {
        for (int r = toRow; r >= fromRow; --r)  // from the bottom: blocks rest on blocks
            Do(Op::PileUp, static_cast<std::uint8_t>(r - 4), static_cast<std::uint8_t>(holeColumn - 1));
        return *this;
    }
    Seed& DropPiece() {
        Press(kDrop);
        return Wait(900);
    }

private:
    std::string name_;
    Header header_;
    std::vector<Step> steps_;
    int wait_ = 0;
};

std::vector<Seed> Seeds() {
    std::vector<Seed> seeds;

    seeds.push_back(Seed("idle-game-over-blinks").Wait(5000).Do(Op::Idle));

    seeds.push_back(Seed("play-without-keys").NewGame().Wait(120000).Do(Op::Idle));

    {
        Seed s("fast-drops-until-game-over");
        s.NewGame();
        for (int i = 0; i < 40; ++i) s.DropPiece();
        seeds.push_back(s);
    }
    {
        // An upright I dropped into a four-row shaft, then a three-row one:
        // seven rows, 112 points, the change to level 1.
        Seed s("rows-and-a-level");
        s.Random({0.0, 0.3, 0.0, 9.5 / 13.0});  // first piece: flat I in column 10; next: upright
        s.NewGame().PileUp(28, 31, 5);
        s.NextPieces(1, 1, 3, 5).DropPiece();          // the flat I lands on the pile
        s.NextPieces(1, 1, 4, 5).Wait(300).DropPiece();  // an upright I clears rows 28..31
        s.PileUp(29, 31, 5).NextPieces(1, 1, 5, 5);
        s.Wait(300).DropPiece().Wait(3000).Do(Op::Idle);  // three more rows: level 1
        seeds.push_back(s);
    }
    // The level banner a landing starts, with each menu entry clicked in it.
    for (const char* click : {"exit", "pause", "new-game"}) {
        Seed s(std::string(click) + "-in-a-landing-banner");
        s.Random({0.0, 0.3, 0.0, 9.5 / 13.0}).NewGame().PileUp(28, 31, 5);
        s.NextPieces(1, 1, 3, 5).DropPiece();
        s.NextPieces(1, 1, 4, 5).Wait(300).DropPiece();
        s.PileUp(29, 31, 5).NextPieces(1, 1, 5, 5);
        s.Wait(300).Do(Op::KeyDown, kDrop).Wait(700);  // the seventh row goes: level 1
        const std::string c = click;
        if (c == "exit") s.Do(Op::Exit, 'X');
        if (c == "pause") s.Do(Op::Pause).Wait(1000).Do(Op::Pause);
        if (c == "new-game") s.Do(Op::NewGame);
        s.Wait(3000).Do(Op::Idle);
        seeds.push_back(s);
    }
    {
        Seed s("many-levels");
        s.Random({0.0, 0.3, 0.0, 9.5 / 13.0}).NewGame();
        // Each round an upright I clears four piled rows. A pause and resume
        // right after the landing cuts a level banner short, which leaves the
        // well as it is, so the rounds keep their pace at every level.
        for (int i = 0; i < 60; ++i) {
            s.PileUp(28, 31, 5).NextPieces(1, 1, 1 + i % 7, 5).DropPiece();
            s.Do(Op::Pause).Wait(10).Do(Op::Pause);
        }
        seeds.push_back(s);
    }
    {
        Seed s("pause-and-resume-in-every-state");
        s.Do(Op::Pause).Wait(500).Do(Op::Pause);          // before the first game: ignored
        s.Do(Op::NewGame).Wait(500).Do(Op::Pause).Wait(3000).Do(Op::Pause);  // inside the banner
        s.Wait(2600).Do(Op::Pause).Wait(1000).Press(kRight).Do(Op::Pause);   // in play
        for (int i = 0; i < 30; ++i) s.DropPiece();                          // to the game over
        s.Do(Op::Pause).Wait(1000).Do(Op::Pause).Wait(2000);                  // resume the ended game
        s.Do(Op::NewGame).Wait(2000);
        seeds.push_back(s);
    }
    {
        Seed s("new-game-inside-every-wait");
        s.Do(Op::NewGame).Wait(700).Do(Op::NewGame).Wait(2600);   // inside the banner
        s.Do(Op::Pause).Wait(400).Do(Op::NewGame).Wait(2600);     // inside the pause
        for (int i = 0; i < 30; ++i) s.DropPiece();
        s.Do(Op::NewGame).Wait(3000);                              // inside the game over
        seeds.push_back(s);
    }
    for (const char* state : {"idle", "banner", "play", "pause", "game-over"}) {
        Seed s(std::string("exit-in-") + state);
        const std::string st = state;
        if (st != "idle") s.Do(Op::NewGame).Wait(st == "banner" ? 800 : 2600);
        if (st == "pause") s.Do(Op::Pause).Wait(500);
        if (st == "game-over")
            for (int i = 0; i < 30; ++i) s.DropPiece();
        s.Do(Op::Exit, 'X').Wait(1000).Do(Op::NewGame).Wait(3000).Do(Op::Idle);
        seeds.push_back(s);
    }
    {
        Seed s("steering-against-walls-and-floor");
        s.Random({0.0, 0.0, 0.0, 12.5 / 13.0}).NewGame();  // flat I in columns 13..16
        s.Press(kRight).Press(kTurn).Wait(200).Press(kTurn);
        for (int i = 0; i < 12; ++i) s.Press(kLeft);
        s.Wait(9000);                                      // down to the floor
        for (int i = 0; i < 4; ++i) s.Press(kTurn).Wait(10);
        s.Wait(2000);
        for (int type = 1; type <= 7; ++type) {
            s.NextPieces(type, type % 4, type, 13);
            for (int i = 0; i < 8; ++i) s.Press(kRight).Press(kTurn);
            s.DropPiece();
        }
        seeds.push_back(s);
    }
    {
        Seed s("held-keys-with-and-without-repetition");
        s.NewGame();
        s.Do(Op::KeyDown, kRight);
        for (int i = 0; i < 20; ++i) s.Wait(30).Do(Op::KeyDown, kRight);  // auto-repeat
        s.Do(Op::KeyDown, kLeft).Do(Op::KeyDown, kTurn).Do(Op::KeyUp, kRight);
        s.Do(Op::Repetition, 1);
        for (int i = 0; i < 20; ++i) s.Wait(30).Do(Op::KeyDown, kLeft);
        s.Do(Op::KeyDown, kDrop).Do(Op::KeyDown, kTurn).Wait(500).Do(Op::KeyUp, kDrop);
        s.Do(Op::KeyDownCode, 0x41).Do(Op::KeyDown, kTurn).Do(Op::Deactivate).Do(Op::KeyDown, kTurn);
        s.Do(Op::Repetition, 2).Do(Op::Repetition, 0).Do(Op::Repetition, 0xFF, 0xFF).Wait(3000);
        seeds.push_back(s);
    }
    {
        Seed s("rebound-keys");
        s.Do(Op::SetKey, 1, 0x41).Do(Op::SetKey, 2, 0x41).Do(Op::SetKey, 0, 7).Do(Op::SetKey, 5, 9);
        s.Do(Op::SetKey, 3, 32).Do(Op::SetKey, 4, 32).NewGame();
        for (int i = 0; i < 10; ++i) s.Do(Op::KeyDownCode, 0x41).Wait(20).Do(Op::KeyUpCode, 0x41);
        for (int i = 0; i < 10; ++i) s.Do(Op::KeyDownCode, 32).Wait(20).Do(Op::KeyUpCode, 32);
        s.Wait(3000);
        seeds.push_back(s);
    }
    {
        Seed s("key-flood");
        s.NewGame();
        for (int i = 0; i < 400; ++i) {
            s.Do(Op::KeyDown, static_cast<std::uint8_t>(i % 4), static_cast<std::uint8_t>(i % 8));
            s.Do(Op::KeyUp, static_cast<std::uint8_t>(i % 4));
            if (i % 10 == 0) s.Wait(1);
        }
        seeds.push_back(s);
    }
    {
        Seed s("stray-ticks-blinks-and-activations");
        s.Do(Op::Tick).Do(Op::Blink).Do(Op::Activate).Wait(100).Do(Op::Activate);
        s.Do(Op::NewGame).Wait(300).Do(Op::Tick).Do(Op::Activate).Wait(2500);
        for (int i = 0; i < 50; ++i) s.Do(Op::Tick).Do(Op::Blink).Wait(5);
        s.Do(Op::Activate).Do(Op::Info).Wait(2000);
        seeds.push_back(s);
    }
    seeds.push_back(Seed("banner-across-midnight", 20, 0xFFFF).Wait(1000).NewGame().Wait(5000).Do(Op::Idle));
    {
        Seed tiny("one-pixel-cells", 1);
        tiny.NewGame();
        for (int i = 0; i < 20; ++i) tiny.Press(kTurn).Press(kRight).DropPiece();
        seeds.push_back(tiny);
        Seed huge("largest-cells", 255);
        huge.NewGame();
        for (int i = 0; i < 20; ++i) huge.Press(kTurn).Press(kLeft).DropPiece();
        seeds.push_back(huge);
    }
    return seeds;
}

}  // namespace
}  // namespace tumblara::fuzz

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    int broken = 0;
    for (const auto& seed : tumblara::fuzz::Seeds()) {
        const auto bytes = seed.Bytes();
        std::ofstream(folder / seed.Name(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const auto r = tumblara::fuzz::PlayMatch(bytes);
        std::printf("%-40s %5zu bytes %7ld events %4lld s  rows %3d  levels %2d  games over %d%s%s\n",
                    seed.Name().c_str(), bytes.size(), r.events, r.virtualMs / 1000, r.rowsRemoved,
                    r.levelChanges, r.gamesOver, r.ended ? "  ended" : "",
                    r.violation.empty() ? "" : ("  BROKEN: " + r.violation).c_str());
        if (!r.violation.empty()) ++broken;
    }
    return broken == 0 ? 0 : 1;
}
