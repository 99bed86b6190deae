// Runs a fuzz target over saved inputs, one file per argument, without
// libFuzzer, so that the corpus also runs in the ordinary build. A broken
// rule aborts just after the input's name is printed.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::fprintf(stderr, "%s\n", argv[i]);
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    return argc > 1 ? 0 : 2;  // no input is a mistake
}
