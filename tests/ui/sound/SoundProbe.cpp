// A tiny program around SoundPlayer, so tests can play sounds in a process
// of their own, with the sound server they choose.
//
//   sound_probe <folder> <name>@<ms>[x<count>] ... [tail=<ms>]
//
// Plays each name <count> times in a row, <ms> after start, and prints one
// line per call: "play <name> <steady clock ns at the call> <ns the call took>".

#include "ui/sound/Sound.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    tumblara::SoundPlayer player(QString::fromLocal8Bit(argv[1]));
    int tail = 300;
    std::vector<std::string> plays;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("tail="))
            tail = std::stoi(arg.substr(5));
        else
            plays.push_back(arg);
    }
    // Quits `tail` ms after the last call, however late the timers fire.
    int remaining = static_cast<int>(plays.size());
    const auto done = [&app, &remaining, tail] {
        if (--remaining <= 0) QTimer::singleShot(tail, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    };
    if (plays.empty()) QTimer::singleShot(tail, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    for (const std::string& arg : plays) {
        const auto at = arg.find('@');
        if (at == std::string::npos) return 2;
        const auto times = arg.find('x', at);
        const std::string name = arg.substr(0, at);
        const int ms = std::stoi(arg.substr(at + 1, times - at - 1));
        const int count = times == std::string::npos ? 1 : std::stoi(arg.substr(times + 1));
        QTimer::singleShot(ms, Qt::PreciseTimer, &app, [&player, name, count, done] {
            for (int k = 0; k < count; ++k) {
                const std::int64_t before = Now();
                player.Play(name);
                const std::int64_t took = Now() - before;
                std::printf("play %s %lld %lld\n", name.c_str(), static_cast<long long>(before),
                            static_cast<long long>(took));
            }
            std::fflush(stdout);
            done();
        });
    }
    return app.exec();
}
