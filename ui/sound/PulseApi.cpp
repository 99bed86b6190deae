#include "ui/sound/PulseApi.h"

#include <dlfcn.h>

namespace tumblara {

std::optional<PulseApi> PulseApi::Load() {
    void* library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return std::nullopt;
    PulseApi api;
    bool complete = true;
#define TUMBLARA_PULSE_RESOLVE(name)                                          \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, #name)); \
    complete = complete && api.name != nullptr;
    TUMBLARA_PULSE_CALLS(TUMBLARA_PULSE_RESOLVE)
#undef TUMBLARA_PULSE_RESOLVE
    if (!complete) return std::nullopt;
    return api;
}

}  // namespace tumblara
