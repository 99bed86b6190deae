// Runs a fuzz target over saved inputs (files, or every file of a folder)
// without libFuzzer, so that the corpus also runs in the ordinary build.
// A broken rule aborts, naming the input on the line before.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i])) inputs.emplace_back(argv[i]);
        else for (const auto& e : std::filesystem::directory_iterator(argv[i])) inputs.push_back(e.path());
    }
    for (const auto& p : inputs) {
        std::fprintf(stderr, "%s\n", p.c_str());
        std::ifstream in(p, std::ios::binary);
        const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%zu inputs, no rule broken\n", inputs.size());
    return inputs.empty() ? 2 : 0;
}
