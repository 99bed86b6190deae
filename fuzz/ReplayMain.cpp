// Runs a fuzz target over saved inputs (files, or every file of a folder)
// without libFuzzer, so that the corpus also runs in the ordinary build.
// A broken rule aborts just after the input's name is printed.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i)
        for (const auto& p : std::filesystem::is_directory(argv[i]) ? std::vector(std::filesystem::directory_iterator(argv[i]), {})
                                                                     : std::vector{std::filesystem::directory_entry(argv[i])}) {
            std::fprintf(stderr, "%s\n", p.path().c_str());
            std::ifstream in(p.path(), std::ios::binary);
            const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(data.data(), data.size()), ++count;
        }
    std::printf("%d inputs, no rule broken\n", count);
    return count == 0 ? 2 : 0;
}
