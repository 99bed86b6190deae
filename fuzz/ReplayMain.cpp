// Plays saved fuzz inputs (files, or every file of a folder) without
// libFuzzer, so that the corpus also runs in the ordinary and sanitizer
// builds. Exit status 1 when any input breaks a rule.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/Match.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    bool trace = false;  // --trace: every step with the state before it
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--trace") {
            trace = true;
            continue;
        }
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const auto& e : fs::directory_iterator(p))
                if (e.is_regular_file()) inputs.push_back(e.path());
        } else {
            inputs.push_back(p);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s <input file or folder>...\n", argv[0]);
        return 2;
    }

    int broken = 0;
    long events = 0;
    for (const fs::path& p : inputs) {
        std::ifstream in(p, std::ios::binary);
        const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        std::string first;
        const auto report = tumblara::fuzz::PlayMatch(
            data,
            [&](const std::string& what) {
                if (trace) std::printf("!! %s\n", what.c_str());
                if (first.empty()) first = what;
            },
            trace ? [](const std::string& line) { std::fputs(line.c_str(), stdout); }
                  : std::function<void(const std::string&)>{});
        events += report.events;
        if (!first.empty()) {
            ++broken;
            std::fprintf(stderr, "%s: %s\n", p.filename().c_str(), first.c_str());
        }
    }
    std::printf("%zu inputs, %ld events, %d broke a rule\n", inputs.size(), events, broken);
    return broken == 0 ? 0 : 1;
}
