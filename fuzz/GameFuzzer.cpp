// libFuzzer entry: every input is a whole run of the game; a broken rule
// aborts at once so that libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

#include "fuzz/Match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tumblara::fuzz::PlayMatch({data, size}, [](const std::string& what) {
        std::fprintf(stderr, "game rule broken: %s\n", what.c_str());
        std::abort();
    });
    return 0;
}
