#include "fuzz/Script.h"

namespace tumblara::fuzz {

int CellaOf(std::uint8_t byte) { return 1 + byte % 255; }

double TimeOfDayOf(std::uint16_t value) { return static_cast<double>(value) * 86400.0 / 65536.0; }

int DelayMs(std::uint8_t byte) { return byte < 160 ? byte : (byte - 159) * 100; }

std::uint8_t DelayByte(int ms) {
    if (ms < 160) return static_cast<std::uint8_t>(ms < 0 ? 0 : ms);
    const int tenths = ms / 100;
    return static_cast<std::uint8_t>(tenths >= 96 ? 255 : 159 + tenths);
}

std::vector<std::uint8_t> Encode(const Header& header, const std::vector<Step>& steps) {
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(header.cella - 1));
    out.push_back(static_cast<std::uint8_t>(header.timeOfDay >> 8));
    out.push_back(static_cast<std::uint8_t>(header.timeOfDay & 0xFF));
    out.push_back(0);
    for (const Step& s : steps) {
        out.push_back(static_cast<std::uint8_t>(s.op));
        out.push_back(s.delay);
        out.push_back(s.a);
        out.push_back(s.b);
    }
    return out;
}

Decoded Decode(std::span<const std::uint8_t> data) {
    Decoded d;
    if (data.size() >= kHeaderBytes) {
        d.header.cella = static_cast<std::uint8_t>(CellaOf(data[0]));
        d.header.timeOfDay = static_cast<std::uint16_t>(data[1] << 8 | data[2]);
        data = data.subspan(kHeaderBytes);
    }
    constexpr auto kOps = static_cast<std::uint8_t>(Op::Count);
    while (data.size() >= kStepBytes && d.steps.size() < kMaxSteps) {
        d.steps.push_back({static_cast<Op>(data[0] % kOps), data[1], data[2], data[3]});
        data = data.subspan(kStepBytes);
    }
    return d;
}

}  // namespace tumblara::fuzz
