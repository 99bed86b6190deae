// The wave-file parser, the only code that reads files from outside: any
// input must give no sanitizer report and a layout inside the file.

#include <cstdlib>
#include <vector>

#include "ui/sound/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that a read past it is a heap overflow.
    const auto* bytes = reinterpret_cast<const std::byte*>(data);
    const std::vector<std::byte> file(bytes, bytes + size);
    const auto layout = tumblara::ParseWave(file);
    if (layout && (layout->dataSize == 0 || layout->dataOffset + layout->dataSize > size ||
                   layout->dataSize % layout->format.BytesPerFrame() != 0))
        std::abort();
    return 0;
}
