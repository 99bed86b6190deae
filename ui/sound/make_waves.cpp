// Writes the game's three wave files into the folder given as the only
// argument. Run by the build, so the files always sit beside the program.

#include "ui/sound/WaveSynth.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool Write(const std::string& path, const std::vector<std::int16_t>& samples) {
    const auto bytes = tumblara::EncodeWave(samples, tumblara::kEffectRate);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "make_waves: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_waves <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = Write(folder + "/Impact02.wav", tumblara::ImpactEffect()) &&
                    Write(folder + "/Bonus1.wav", tumblara::RowEffect()) &&
                    Write(folder + "/Bonus2.wav", tumblara::LevelEffect());
    return ok ? 0 : 1;
}
